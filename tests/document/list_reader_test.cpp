#include "document/file_kind.h"
#include "document/list_reader.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

EntryList shop(std::string_view bytes)
{
    return readListFile(bytes, 0);
}

TEST(FileKind, ShopBeforeBagAndOnlyAToZLowered)
{
    EXPECT_EQ(editModeForFileName("shop_bag.txt"), 0);
    EXPECT_EQ(editModeForFileName("bagshop.txt"), 0);
    EXPECT_EQ(editModeForFileName("SHOP.TXT"), 0);
    EXPECT_EQ(editModeForFileName("prices.bag"), 1);
    EXPECT_EQ(editModeForFileName("EventItemBag3.txt"), 1);
    EXPECT_EQ(editModeForFileName("items.txt"), std::nullopt);
    EXPECT_EQ(openRefusalMessage("items.txt"), "Open> \"items.txt\" is invalid.");
    EXPECT_EQ(luckCaption(0), "Luck");
    EXPECT_EQ(luckCaption(1), "Excellent");
}

TEST(ListReader, ItemLinesWithComments)
{
    EXPECT_EQ(shop("14 3 0 255 0 0 0 //Potion"), (EntryList{{"14,3,0,255,0,0,0,Potion", kItemEntry}}));
    EXPECT_EQ(shop("14 3 0 255 0 0 0 // Potion"), (EntryList{{"14,3,0,255,0,0,0, Potion", kItemEntry}}));
    EXPECT_EQ(shop("1 2 3 4 5 6 7 //a//b//c"), (EntryList{{"1,2,3,4,5,6,7,a", kItemEntry}}));
    EXPECT_EQ(shop("5//x"), (EntryList{{"5,,,,,,,x", kItemEntry}}));
    EXPECT_EQ(shop("1 2 3 4 5 6 7 //"), (EntryList{{"1,2,3,4,5,6,7,", kItemEntry}}));
}

TEST(ListReader, FieldsAreFittedButNotConverted)
{
    EXPECT_EQ(shop("14 3 0"), (EntryList{{"14,3,0,,,,", kItemEntry}}));
    EXPECT_EQ(shop("1 2 3 4 5 6 7 8 9"), (EntryList{{"1,2,3,4,5,6,7", kItemEntry}}));
    EXPECT_EQ(shop("014 x \"a b\""), (EntryList{{"014,x,\"a b\",,,,", kItemEntry}}));
    EXPECT_EQ(readListFile("14\t3\t0\t0\t1\t0\t//Jewel", 1), (EntryList{{"14,3,0,0,1,0,Jewel", kItemEntry}}));
}

TEST(ListReader, BlankCommentAndDroppedRecords)
{
    EXPECT_EQ(shop("   "), (EntryList{{"", kBlankEntry}}));
    EXPECT_EQ(shop("// Potions"), (EntryList{{"// Potions", kCommentEntry}}));
    EXPECT_EQ(shop("  abc // note"), (EntryList{{"abc // note", kCommentEntry}}));
    EXPECT_TRUE(shop("abc").empty());
    EXPECT_EQ(shop("// a, b"), (EntryList{{"// a", kCommentEntry}}));
    EXPECT_TRUE(shop("").empty());
}

TEST(ListReader, EndDropsNothingAfterIt)
{
    EXPECT_EQ(shop("1 1 1 1 1 1 1\r\nend\r\n// after\r\n2 2 2 2 2 2 2\r\n"),
              (EntryList{{"1,1,1,1,1,1,1", kItemEntry}, {"// after", kCommentEntry}, {"2,2,2,2,2,2,2", kItemEntry}}));
}

TEST(ListReader, LeadingTabsAreDroppedSoTabLayoutLinesComeBack)
{
    EXPECT_EQ(readListFile("\t14\t3\t0\t0\t1\t0\t//Jewel\r\n", 1),
              (EntryList{{"14,3,0,0,1,0,Jewel", kItemEntry}}));
}

TEST(ListReader, AllLineEndsAndEveryByteSurvive)
{
    std::string bytes = std::string("// \x01\xfe\0x", 7) + "\r1 2 3 4 5 6 7 //\xe9t\xe9\n\r\n";
    EntryList entries = shop(bytes);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, std::string("// \x01\xfe\0x", 7));
    EXPECT_EQ(entries[1].text, "1,2,3,4,5,6,7,\xe9t\xe9");
    EXPECT_EQ(entries[2], (ListEntry{"", kBlankEntry}));
}

TEST(ListReader, TrailingBlanksBelongToTheComment)
{
    EXPECT_EQ(shop("1 2 3 4 5 6 7 //Axe  \t"), (EntryList{{"1,2,3,4,5,6,7,Axe  \t", kItemEntry}}));
}

}  // namespace
}  // namespace vs
