// File layouts: told from real files and hand-made ones, read into the right
// columns, written back as read, and the sections and "end" the server keeps.
#include "catalog/catalog_loader.h"
#include "catalog/text_utils.h"
#include "document/file_kind.h"
#include "document/file_layout.h"
#include "document/list_reader.h"
#include "document/list_writer.h"
#include "grid/shop_grid.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <random>

namespace vs {
namespace {

std::string corpusFile(const std::string& name)
{
    return test::readBytes(test::corpusDir() / name);
}

TEST(FileLayout, RealFilesAreToldByTheirLines)
{
    VS_REQUIRE_CORPUS();
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusDir())) {
        const std::string name = entry.path().filename().string();
        const std::optional<int> mode = editModeForFileName(name);
        ASSERT_TRUE(mode) << name;
        const std::string expected = name.rfind("shop", 0) == 0           ? "shop-8"
                                     : name == "EventItemBag4.txt"         ? "bag-sections"
                                                                           : "bag-6";
        EXPECT_EQ(detectLayout(test::readBytes(entry.path()), *mode).name, expected) << name;
    }
}

TEST(FileLayout, HandMadeFilesAreToldByCountsSectionsAndHeadings)
{
    const struct {
        const char* bytes;
        int editMode;
        const char* layout;
    } cases[] = {
        {"1 2 3 4 5 6 7\n1 2 3 4 5 6 7 0\n1 2 3 4 5 6 7 0\n", 0, "shop-8"},  // most lines
        {"1 2 3 4 5 6 7\n1 2 3 4 5 6 7 0\n1 2 3 4 5 6 7\n", 0, "shop-7"},
        {"1 2 3 4 5 6 7 0 9 9\n", 0, "shop-7"},                               // no layout has 10
        {"//Type Index Level Durab Skill Luck Option EXC\n1 2 3 4 5 6 7 0\n1 2 3 4 5 6 7\n", 0, "shop-8"},  // a tie
        {"//Type Index Level Durab Skill Luck Option EXC\nend\n", 0, "shop-8"},  // a heading alone
        {"//  Type\tIndex\tLevel\tDurab\tSkill\tLuck\tOption\n", 0, "shop-7"},
        {"", 0, "shop-7"},
        {"", 1, "bag-6"},
        {"2\n0 1 0 9 1 1 1 0\nend\n", 1, "bag-sections"},
        {"2\n0 1 0 9 1 1 1 0\n", 1, "bag-6"},  // a number without an "end" makes no section
        {"2\n0 1 0 9 1 1 1 0\nend\n", 0, "shop-8"},  // a shop has no sections
    };
    for (const auto& c : cases)
        EXPECT_EQ(detectLayout(c.bytes, c.editMode).name, c.layout) << c.bytes;
    // A file that tells nothing takes the layout chosen for new documents of its kind.
    EXPECT_EQ(detectLayout("// nothing\n", 0, &layoutFor(LayoutId::Shop8)).name, "shop-8");
    EXPECT_EQ(detectLayout("// nothing\n", 1, &layoutFor(LayoutId::Shop8)).name, "bag-6");
    EXPECT_EQ(detectLayout("1 2 3 4 5 6 7\n", 0, &layoutFor(LayoutId::Shop8)).name, "shop-7");
}

TEST(FileLayout, ASectionedBagKeepsItsSettingsAndReadsSectionTwoAsItems)
{
    VS_REQUIRE_CORPUS();
    const FileLayout& layout = layoutFor(LayoutId::BagSections);
    const ListFile file = readListFile(corpusFile("EventItemBag4.txt"), layout);
    std::map<int, int> itemsByLine;
    for (const ListEntry& entry : file.entries) {
        const std::string_view line = file.source->content(file.source->lines[entry.origin.line]);
        if (entry.kind == kItemEntry) {
            itemsByLine[entry.origin.line + 1] = 1;
        } else if (entry.kind == kCommentEntry) {  // kept as it stands
            EXPECT_EQ(entry.text, std::string(stripLeadingBlanks(line)));
        }
    }
    // Lines 11-22 are drop places, 30-32 the event: none is an item. Section 2's rows from line 38 are.
    for (int line : {11, 12, 22, 23, 30, 31, 32, 37})
        EXPECT_EQ(itemsByLine.count(line), 0u) << line;
    EXPECT_EQ(itemsByLine.begin()->first, 38);
    EXPECT_GE(itemsByLine.size(), 50u);
    // Every item row is read into its own columns.
    const ListEntry& first = *std::find_if(file.entries.begin(), file.entries.end(),
                                           [](const ListEntry& e) { return e.kind == kItemEntry; });
    EXPECT_EQ(first.text, "0,11,0,9,1,1,1,0,Legendary Sword");
    const EntryItem item = readEntryItem(first.text, layout.items);
    EXPECT_EQ(std::vector<int>({item.classIndex, item.typeIndex, item.level, item.maxLevel, item.skill, item.luck,
                                item.optLevel, item.excellent, item.dur}),
              std::vector<int>({0, 11, 0, 9, 1, 1, 1, 0, 0}));
}

TEST(FileLayout, EveryRealFileComesBackByteForByteInItsLayoutAndWhenTidied)
{
    VS_REQUIRE_CORPUS();
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusDir())) {
        const std::string bytes = test::readBytes(entry.path());
        const FileLayout& layout = detectLayout(bytes, *editModeForFileName(entry.path().filename().string()));
        const ListFile file = readListFile(bytes, layout);
        EXPECT_EQ(writeListFile(file.entries, layout, file.source.get()), bytes) << entry.path();
        // Tidied, every item line holds the layout's columns, tab-separated in the real layouts.
        const std::string tidy = writeListFile(file.entries, layout, file.source.get(), SaveStyle::Tidy);
        const ListFile again = readListFile(tidy, layout);
        ASSERT_EQ(again.entries.size(), file.entries.size()) << entry.path();
        for (size_t e = 0; e < file.entries.size(); ++e)
            EXPECT_EQ(again.entries[e], file.entries[e]) << entry.path() << " entry " << e;
    }
}

TEST(FileLayout, ChangedLinesAreWrittenInTheLayoutsColumns)
{
    const FileLayout& shop8 = layoutFor(LayoutId::Shop8);
    ListFile file = readListFile("14\t3\t0\t255\t0\t0\t0\t0\t//Potion\r\nend\r\n", shop8);
    ASSERT_EQ(file.entries.size(), 2u);
    file.entries[0].text = "14,3,0,255,0,1,0,5,Potion+Luck";
    file.entries.insert(file.entries.begin() + 1, ListEntry("0,1,2,3,0,0,0,0,", kItemEntry));
    EXPECT_EQ(writeListFile(file.entries, shop8, file.source.get()),
              "14\t3\t0\t255\t0\t1\t0\t5\t//Potion+Luck\r\n0\t1\t2\t3\t0\t0\t0\t0\r\nend\r\n");
    // A settings row edited as text stays text; section lines are never items.
    const FileLayout& bag = layoutFor(LayoutId::BagSections);
    file = readListFile("0\n3 0 0 1000\nend\n2\n1 2 0 4 0 1 1 0 //Axe\nend\n", bag);
    std::vector<int> kinds;
    for (const ListEntry& entry : file.entries)
        kinds.push_back(entry.kind);
    EXPECT_EQ(kinds, std::vector<int>({2, 2, 2, 2, 1, 2}));
    file.entries[4].text = "1,2,0,4,1,1,1,0,Axe+Skill";
    EXPECT_EQ(writeListFile(file.entries, bag, file.source.get()),
              "0\n3 0 0 1000\nend\n2\n1\t2\t0\t4\t1\t1\t1\t0\t//Axe+Skill\nend\n");
}

TEST(FileLayout, SectionsAndEndAreFollowedRecordByRecord)
{
    const FileLayout& bag = layoutFor(LayoutId::BagSections);
    SectionTracker sections(bag);
    const struct {
        const char* record;
        SectionMark mark;
        SectionPlace after;
    } steps[] = {
        {"0 1 2", SectionMark::Row, SectionPlace::Outside},  {" 0 \t", SectionMark::Opens, SectionPlace::Settings},
        {"7", SectionMark::Row, SectionPlace::Settings},     {"End\t", SectionMark::Closes, SectionPlace::Outside},
        {"end", SectionMark::Row, SectionPlace::Outside},    {"9", SectionMark::Opens, SectionPlace::Settings},
        {"eNd", SectionMark::Closes, SectionPlace::Outside}, {"2", SectionMark::Opens, SectionPlace::Items},
        {"2", SectionMark::Row, SectionPlace::Items},        {"end", SectionMark::Closes, SectionPlace::Outside},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(sections.step(s.record), s.mark) << s.record;
        EXPECT_EQ(sections.place(), s.after) << s.record;
    }
    // A shop is read up to its end; an item bag without sections has none.
    SectionTracker shop(layoutFor(LayoutId::Shop8));
    EXPECT_EQ(shop.place(), SectionPlace::Items);
    EXPECT_EQ(shop.step("2"), SectionMark::Row);
    EXPECT_EQ(shop.step(" END "), SectionMark::Closes);
    EXPECT_EQ(shop.place(), SectionPlace::Outside);
    SectionTracker oldBag(layoutFor(LayoutId::Bag6));
    EXPECT_EQ(oldBag.step("end"), SectionMark::Row);
    EXPECT_EQ(oldBag.place(), SectionPlace::Items);
}

TEST(FileLayout, AnItemAfterTheShopsEndIsNotSold)
{
    Catalog catalog;
    loadItemCatalog("14\n3 1 1 0 0 255 \"Potion\"\n", catalog, "items");
    const FileLayout& shop8 = layoutFor(LayoutId::Shop8);
    const ListFile file = readListFile("14 3 0 0 0 0 0 0\nend\n14 3 0 0 0 0 0 0\n", shop8);
    const ShopGrid grid = layOutShop(file.entries, catalog, shop8);
    ASSERT_EQ(grid.items.size(), 2u);
    EXPECT_EQ(grid.items[0].fate, GridItem::Fate::Placed);
    EXPECT_EQ(grid.items[1].fate, GridItem::Fate::AfterEnd);
    EXPECT_EQ(grid.at(1, 0), -1);
    EXPECT_NE(gridMap(grid, catalog, shop8).find("not placed: 2 Potion (after the shop's end, not sold)"),
              std::string::npos);
}

TEST(FileLayout, InexactColumnsAreNamed)
{
    const ItemLayout& shop8 = layoutFor(LayoutId::Shop8).items;
    const ItemLayout& bag = layoutFor(LayoutId::BagSections).items;
    const struct {
        const ItemLayout* layout;
        const char* text;
        const char* why;
    } cases[] = {
        {&shop8, "14,3,0,255,0,0,0,0,x", ""},
        {&shop8, "14,3,12,255,1,1,4,63", ""},
        {&shop8, "14,3,13,255,0,0,0,0", "its level 13 is outside the editor's 0..12"},
        {&shop8, "14,3,0,255,0,0,0,64", "its excellent options 64 is outside the editor's 0..63"},
        {&shop8, "14,3,0,255,0,0,0", "its excellent options is missing"},
        {&shop8, "14,3,0,1.5,0,0,0,0", "its durability \"1.5\" is not a whole number"},
        {&shop8, "14,3,0,&H1,0,0,0,0", "its durability \"&H1\" is not a whole number"},
        {&bag, "0,11,0,9,1,1,1,0,Sword", ""},
        {&bag, "0,11,0,9,1,1,1,2", "its excellent flag 2 is outside the editor's 0..1"},
        {&bag, "0,11,0,14,1,1,1,0", "its highest level 14 is outside the editor's 0..12"},
        {&bag, "0,11,0,9,2,1,1,0", "its skill 2 is outside the editor's 0..1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(inexactColumn(c.text, *c.layout), c.why) << c.text;
}

}  // namespace
}  // namespace vs
