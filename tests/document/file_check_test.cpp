// The file check: every finding, its line and its severity.
#include "catalog/catalog_loader.h"
#include "document/file_check.h"
#include "document/file_kind.h"
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
        "0 0 0 20 0 0 0 9 9 //extra\r\n"        // 5: extra fields
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
                                     "5 warning extra-fields",
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
              (std::vector<std::string>{"2 error out-of-range", "2 error out-of-range", "3 warning extra-fields"}))
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

}  // namespace
}  // namespace vs
