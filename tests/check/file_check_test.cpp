// The file check: every finding, its line and its severity.
#include "catalog/catalog_loader.h"
#include "check/file_check.h"
#include "document/file_kind.h"
#include "document/list_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

Catalog smallCatalog()
{
    Catalog catalog;
    catalog.arrItems[0][0] = clsItemPropertyCreate("Kris", 1, 3, 20);
    catalog.arrItems[0][1] = clsItemPropertyCreate("Wall", 8, 15, 20);
    catalog.arrItems[14][3] = clsItemPropertyCreate("Potion", 1, 1, 1);
    catalog.arrItems[1][2] = clsItemPropertyCreate("Huge", 9, 2, 1);
    return catalog;
}

// "line code" for every finding, in order.
std::vector<std::string> summary(const std::vector<Finding>& findings)
{
    std::vector<std::string> out;
    for (const Finding& f : findings)
        out.push_back(std::to_string(f.line) + " " + std::string(severityName(f.severity)) + " " + f.code);
    return out;
}

TEST(FileCheck, EveryFindingOnItsLine)
{
    const std::string shop =
        "// goods, with a comma\r\n"           // 1: the record after the comma is no comment
        "0 0 0 20 0 0 0 //Kris\r\n"             // 2: fine
        "0 0 14 20 0 0 0 //Kris+14\r\n"         // 3: level shown as 12
        "0 0 1.5 20 &H1 0 0\r\n"                // 4: two unusual numbers
        "0 0 0 20 0 0 0 9 9 //extra\r\n"        // 5: extra fields, read as the next item's
        "14 3 0\r\n"                            // 6: missing fields
        "14 x 0 1 0 0 0\r\n"                    // 7: not a number
        "16 3 0 1 0 0 0, 0 0 0 300 2 0 0\r\n"   // 8: class out of range; durability and skill out of range
        "5 5 0 0 0 0 0\r\n"                     // 9: unknown item
        "1 2 0 0 0 0 0\r\n"                     // 10: bad size
        "0 1 0 0 0 0 0\r\n"                     // 11: 8 x 15 does not fit beside the others
        "Price = 5\r\n"                         // 12: stray text
        "end\r\n";                              // 13: the closing line is no finding
    const std::vector<Finding> findings = checkFile(shop, 0, smallCatalog());
    EXPECT_EQ(summary(findings), (std::vector<std::string>{
                                     "1 warning stray-text",
                                     "3 warning level-shown-as-12",
                                     "4 warning number-notation",
                                     "4 warning number-notation",
                                     "5 error extra-fields",
                                     "6 error missing-fields",
                                     "7 error not-a-number",
                                     "8 error out-of-range",
                                     "8 error out-of-range",
                                     "8 error out-of-range",
                                     "9 error unknown-item",
                                     "10 error bad-size",
                                     "11 error not-sold",
                                     "12 warning stray-text",
                                 }));
    EXPECT_EQ(findings[0].message.find("neither an item nor a // comment: \"with a comma\""), 0u);
    EXPECT_EQ(findings[10].message, "the catalog has no item 5 in class 5");
    EXPECT_EQ(findings[12].message, "Wall (8 x 15) does not fit the shop's 8 x 15 grid and is not sold");
    EXPECT_NE(findings[13].message.find("\"Price = 5\""), std::string::npos);
}

TEST(FileCheck, ItemBagFieldsAndNoGrid)
{
    const std::string bag = "0 1 0 0 0 0\n14 3 0 1 2 5\n0 1 0 0 0 0 7\n";
    EXPECT_EQ(summary(checkFile(bag, 1, smallCatalog())),
              (std::vector<std::string>{"2 error out-of-range", "2 error out-of-range", "3 error extra-fields"}))
        << "a wall in an item bag is no overflow";
    const std::vector<Finding> findings = checkFile("14 3 0 1 2 0\n", 1, smallCatalog());
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].message, "field 5 (excellent) is 2, outside 0..1");
}

TEST(FileCheck, NamesOnlyWhenAsked)
{
    const std::string shop = "14 3 0 1 0 0 0 //Potion\r\n14 3 0 1 0 1 0 //Potion\r\n14 3 0 1 0 0 0\r\n";
    EXPECT_TRUE(checkFile(shop, 0, smallCatalog()).empty());
    CheckOptions names;
    names.names = true;
    const std::vector<Finding> findings = checkFile(shop, 0, smallCatalog(), names);
    EXPECT_EQ(summary(findings), (std::vector<std::string>{"2 warning comment-not-name"}));
    EXPECT_EQ(findings[0].message, "the comment \"Potion\" does not hold the name \"Potion+Luck\" that the fields describe");
}

TEST(FileCheck, AStoppedCheckReturnsWhatItFoundSoFar)
{
    // 20,000 unknown items, one a line: the check is asked about going on as it walks.
    std::string shop;
    for (int i = 0; i < 20000; ++i)
        shop += "15 9 0 0 0 0 0\n";
    const std::vector<Finding> all = checkFile(shop, 0, smallCatalog());
    std::vector<size_t> asked;
    CheckOptions stopLate;
    stopLate.keepGoing = [&](size_t done) {
        asked.push_back(done);
        return done < 10000;
    };
    const std::vector<Finding> some = checkFile(shop, 0, smallCatalog(), stopLate);
    ASSERT_GE(asked.size(), 2u);
    EXPECT_LT(some.size(), all.size());
    ASSERT_FALSE(some.empty());
    for (size_t i = 0; i < some.size(); ++i)
        EXPECT_EQ(some[i].line, all[i].line);
    EXPECT_LE(some.back().line, static_cast<int>(asked.back()));
    CheckOptions always;
    always.keepGoing = [](size_t) { return true; };
    EXPECT_EQ(checkFile(shop, 0, smallCatalog(), always).size(), all.size());
}

TEST(FileCheck, LineNumbersCountEveryKindOfLineEnd)
{
    const std::vector<Finding> findings = checkFile("// a\r5 5 0 0 0 0 0\n\r\n0 0 0 0 0 0 0, 5 5 0 0 0 0 0\r", 0,
                                                    smallCatalog());
    EXPECT_EQ(summary(findings), (std::vector<std::string>{"2 error unknown-item", "4 error unknown-item"}));
}

TEST(FileCheck, EveryCorpusFileIsChecked)
{
    VS_REQUIRE_CORPUS();
    const Catalog catalog = loadDataFolder(test::shippedDataDir());
    size_t findings = 0;
    for (const auto& file : std::filesystem::directory_iterator(test::corpusDir())) {
        const std::optional<int> mode = editModeForFileName(file.path().filename().string());
        if (!mode)
            continue;
        const std::string bytes = test::readBytes(file.path());
        int lines = 0;
        for (size_t i = 0; i < bytes.size(); ++i)
            lines += bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'));
        int last = 0;
        for (const Finding& f : checkFile(bytes, *mode, catalog)) {
            EXPECT_GE(f.line, last) << "in line order";
            EXPECT_GE(f.line, 1);
            EXPECT_LE(f.line, lines + 1);
            last = f.line;
            ++findings;
        }
    }
    EXPECT_GT(findings, 0u);
}

// One hand-made file in a layout and the findings it must give, "line severity code".
struct LayoutCase {
    const char* label;
    LayoutId layout;
    std::string file;
    std::vector<std::string> expected;
};

// Sections 0 and 1 as real files write them, each closed by "end"; the section
// of items is the caller's.
const std::string kSettings = "0\n0\t0\t0\t1000\t\t\n1\n\"Ev\"\t50000\t14\t11\t1\t200\t80\t0\nend\n";
const std::string kSettingsEnd = "0\n0\t0\t0\t1000\t\t\nend\n1\n\"Ev\"\t50000\t14\t11\t1\t200\t80\t0\nend\n";

std::vector<LayoutCase> layoutCases()
{
    using L = LayoutId;
    return {
        {"eight columns are a shop-8 item", L::Shop8,
         "// Type Index Level Durab Skill Luck Option EXC\n0 0 0 20 0 0 0 63 //Kris\nend\n", {}},
        {"seven columns in an eight-column shop", L::Shop8, "0 0 0 20 0 0 0 0\n0 0 0 20 0 0 0\nend\n",
         {"2 error missing-fields"}},
        {"eight columns in a seven-column shop", L::Shop7, "0 0 0 20 0 0 0\n0 0 0 20 0 0 0 0\nend\n",
         {"2 error extra-fields"}},
        {"EXC 64", L::Shop8, "0 0 0 20 0 0 0 64\n", {"1 error out-of-range"}},
        {"an item after a shop's end is reported once, not also as unsold or unknown", L::Shop8,
         "0 0 0 20 0 0 0 0\nend\n0 1 0 0 0 0 0 0\n5 5 0 0 0 0 0 0\n// after\n",
         {"3 error after-end", "4 error after-end"}},
        {"an item after a seven-column shop's end", L::Shop7, "end\n14 3 0 1 0 0 0\n", {"2 error after-end"}},
        {"an item bag has no end to stop at", L::Bag6, "14 3 0 0 0 0\nend\n14 3 0 0 0 0\n", {}},
        {"sections as real files write them", L::BagSections,
         kSettingsEnd + "\t\t\t\n// Type Index MinLevel MaxLevel Skill Luck AddOption Exitemflag\n2\n"
                        "14 3 0 9 0 1 1 0 //Potion\n\n14 3 0 0 0 0 0 1\nend\n",
         {}},
        {"MinLevel above MaxLevel", L::BagSections, kSettingsEnd + "2\n14 3 9 3 0 0 0 0\nend\n", {"8 error level-range"}},
        {"MaxLevel 13 shows as 12", L::BagSections, kSettingsEnd + "2\n14 3 0 13 0 0 0 0\nend\n",
         {"8 warning level-shown-as-12"}},
        {"Exitemflag 2", L::BagSections, kSettingsEnd + "2\n14 3 0 0 0 0 0 2\nend\n", {"8 error out-of-range"}},
        {"an item after the section of items' end", L::BagSections,
         kSettingsEnd + "2\n14 3 0 0 0 0 0 0\nend\n14 3 0 0 0 0 0 0\n", {"10 error after-end"}},
        {"an item before any section", L::BagSections, "14 3 0 0 0 0 0 0\n" + kSettingsEnd,
         {"1 error no-items-section", "1 error outside-section"}},
        {"the section of items without end", L::BagSections, kSettingsEnd + "2\n14 3 0 0 0 0 0 0\n",
         {"7 error section-not-closed"}},
        {"a settings section without end takes the next number and the event as its rows", L::BagSections, kSettings,
         {"1 error no-items-section", "3 error settings-columns", "4 error settings-columns"}},
        {"a settings section open at the end of the file", L::BagSections, "\n0\n0 0 0 1000\n",
         {"1 error no-items-section", "2 error section-not-closed"}},
        {"an unknown section number; its rows are not checked", L::BagSections,
         "7\nanything at all\nend\n" + kSettingsEnd, {"1 error no-items-section", "1 error unknown-section"}},
        {"settings rows of the wrong column count", L::BagSections,
         "0\n0 0 0 1000 5 //five\n0 0 0\n// 0 0\nend\n1\n\"Ev\" 50000 14 11 1 200 80\nend\n",
         {"1 error no-items-section", "2 error settings-columns", "3 error settings-columns",
          "7 error settings-columns"}},
        {"Exc 2 in a six-column bag", L::Bag6, "14 3 0 0 2 0\n", {"1 error out-of-range"}},
    };
}

TEST(FileCheck, EachLayoutsFaultsOnTheirLines)
{
    for (const LayoutCase& c : layoutCases()) {
        std::vector<std::string> found = summary(checkFile(c.file, layoutFor(c.layout), smallCatalog()));
        std::vector<std::string> expected = c.expected;
        // Findings of one line in any order.
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected) << c.label;
    }
}

TEST(FileCheck, MessagesNameTheLayoutTheSectionAndTheEnd)
{
    auto only = [](const std::string& file, LayoutId layout) {
        const std::vector<Finding> findings = checkFile(file, layoutFor(layout), smallCatalog());
        EXPECT_EQ(findings.size(), 1u) << file << ::testing::PrintToString(summary(findings));
        return findings.empty() ? std::string() : findings[0].message;
    };
    EXPECT_EQ(only("14 3 0 1 0 0 0 0 9\n", LayoutId::Shop7),
              "the line has 2 more columns than the 7 of layout shop-7 (Type Index Level Durab Skill Luck Option); "
              "the server reads them as the next item's columns");
    EXPECT_EQ(only("// x\nend\n14 3 0 1 0 0 0\n", LayoutId::Shop7),
              "the server stops reading the shop at line 2's \"end\"; this item is never sold");
    EXPECT_EQ(only(kSettingsEnd + "2\nend\n14 3 0 0 0 0 0 0\n", LayoutId::BagSections),
              "the server stops reading items at line 8's \"end\"; this item stands outside section 2 and is never read");
    EXPECT_EQ(only("0\n0 0 0\nend\n2\nend\n", LayoutId::BagSections),
              "a row of section 0 holds 4 values (MapIndex DropFlag MinMonsterLevel MaxMonsterLevel), this one has 3");
    EXPECT_EQ(only("0\n0 0 0 1000\n1\nend\n2\nend\n", LayoutId::BagSections),
              "a row of section 0 holds 4 values (MapIndex DropFlag MinMonsterLevel MaxMonsterLevel), this one has 1; "
              "a number inside a section is one of its rows: if it is meant to open section 1, the section before it "
              "lacks its \"end\"");
    EXPECT_EQ(only(kSettingsEnd + "2\n14 3 0 0 0 0 0 0\n1\nend\n", LayoutId::BagSections),
              "an item line needs 8 fields, this one has 1; a number inside a section is one of its rows: if it is "
              "meant to open section 1, the section before it lacks its \"end\"");
    EXPECT_EQ(only("\n2\n14 3 0 0 0 0 0 0\n", LayoutId::BagSections),
              "section 2 has no \"end\" before the file ends; the server expects one");
    EXPECT_EQ(only("5\nend\n2\nend\n", LayoutId::BagSections),
              "section 5 is not one of the sections of layout bag-sections (0, 1, 2); the rows up to its \"end\" are "
              "kept but not checked");
    EXPECT_EQ(only("0\n0 0 0 1000\nend\n1\n\"Ev\" 0 14 11 1 200 80 0\nend\n", LayoutId::BagSections),
              "the file has no section of items (section 2); the server gives nothing from it");
}

TEST(FileCheck, EveryColumnIsCheckedAtBothEndsOfItsRange)
{
    for (const FileLayout& layout : builtInLayouts()) {
        const std::string prefix = layout.sectioned() ? "2\n" : "";
        const std::string suffix = layout.sectioned() ? "\nend\n" : "\n";
        const int line = layout.sectioned() ? 2 : 1;
        for (size_t c = 0; c < layout.items.count(); ++c) {
            const ItemColumn& column = layout.items.columns[c];
            for (int value : {column.low - 1, column.low, column.high, column.high + 1}) {
                if (c == 0 && value < 0)
                    continue;  // a line that starts with "-" is no item line
                // A Potion (class 14, index 3) at level 0 with the one column changed.
                RowValues row;
                row[ColumnRole::Class] = 14;
                row[ColumnRole::Index] = 3;
                row[column.role] = value;
                const std::string file = prefix + columnsText(layout.items, row, " ") + suffix;
                size_t outOfRange = 0;
                for (const Finding& f : checkFile(file, layout, smallCatalog()))
                    if (f.code == "out-of-range") {
                        ++outOfRange;
                        EXPECT_EQ(f.line, line);
                        EXPECT_NE(f.message.find("(" + std::string(column.what) + ")"), std::string::npos) << f.message;
                    }
                const bool inside = value >= column.low && value <= column.high;
                EXPECT_EQ(outOfRange, inside ? 0u : 1u) << layout.name << " " << column.name << " " << value;
            }
        }
    }
}

TEST(FileCheck, BytesThatAreNoTextGiveOneFinding)
{
    std::string garbage = "0 0 0 20 0 0 0";
    for (int i = 0; i < 5000; ++i)
        garbage += static_cast<char>((i * 37) % 256);  // NUL bytes and control bytes among items and commas
    const std::string controls = "0 0\x01\x02\x03\x04\x05\x06\x07\x08\x0B\x0C\x0E\x0F\x10\x11\n";
    for (const FileLayout& layout : builtInLayouts()) {
        for (const std::string& bytes : {garbage, controls}) {
            const std::vector<Finding> findings = checkFile(bytes, layout, smallCatalog());
            ASSERT_EQ(summary(findings), std::vector<std::string>{"1 error not-text"}) << layout.name;
            EXPECT_NE(findings[0].message.find(bytes == garbage ? "NUL" : "control bytes"), std::string::npos)
                << findings[0].message;
            EXPECT_NE(findings[0].message.find("its bytes are kept as they are"), std::string::npos)
                << findings[0].message;
            EXPECT_EQ(summary(checkListFile(readListFile(bytes, layout), layout, smallCatalog())),
                      summary(findings));
        }
    }
}

// The lines of the first section numbered `number` in a file's bytes: from its
// number to its "end", both included (1-based).
std::pair<int, int> sectionLines(const std::string& bytes, int number)
{
    int first = 0, line = 0;
    for (size_t start = 0; start < bytes.size();) {
        size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end;
        const std::string_view text(bytes.data() + start, end - start);
        ++line;
        if (!first && loneNumber(text) == number)
            first = line;
        else if (first && readsEnd(text.substr(0, text.find('\r'))))
            return {first, line};
        start = end + 1;
    }
    return {first, 0};
}

TEST(FileCheck, CorpusFilesInTheirDetectedLayoutsGiveOnlyRealFindings)
{
    VS_REQUIRE_CORPUS();
    const Catalog catalog = loadDataFolder(test::shippedDataDir());
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusDir())) {
        const std::string name = entry.path().filename().string();
        const std::optional<int> mode = editModeForFileName(name);
        if (!mode)
            continue;
        ++files;
        const std::string bytes = test::readBytes(entry.path());
        const FileLayout& layout = detectLayout(bytes, *mode);
        if (name.rfind("shop", 0) == 0) {
            EXPECT_EQ(layout.name, "shop-8") << name;
        }
        if (name == "EventItemBag4.txt") {
            EXPECT_EQ(layout.name, "bag-sections");
        }
        const std::vector<Finding> findings = checkFile(bytes, layout, catalog);
        size_t extra = 0;
        for (const Finding& f : findings) {
            if (f.code == "extra-fields" && name == "EventItemBag3.txt")
                ++extra;
            else
                EXPECT_EQ(f.code, "unknown-item") << name << ":" << f.line << ": " << f.message;
        }
        if (name == "EventItemBag3.txt") {
            EXPECT_EQ(extra, 3u) << "its three 7-value lines against bag-6";
        }
        if (layout.sectioned())
            for (int section : {0, 1}) {
                const auto [first, last] = sectionLines(bytes, section);
                ASSERT_GT(last, first) << name << " section " << section;
                for (const Finding& f : findings)
                    EXPECT_FALSE(f.line >= first && f.line <= last) << name << ":" << f.line << ": " << f.message;
            }
    }
    EXPECT_GE(files, 15u);
}

}  // namespace
}  // namespace vs
