#include "document/file_kind.h"
#include "document/list_reader.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

EntryList shop(std::string_view bytes)
{
    return readListFile(std::string(bytes), 0).entries;
}

EntryList bag(std::string_view bytes)
{
    return readListFile(std::string(bytes), 1).entries;
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
    EXPECT_EQ(shop("1 2 3 4 5 6 7 //a//b//c"), (EntryList{{"1,2,3,4,5,6,7,a", kItemEntry, {{}, "b//c"}}}));
    EXPECT_EQ(shop("5//x"), (EntryList{{"5,,,,,,,x", kItemEntry}}));
    EXPECT_EQ(shop("1 2 3 4 5 6 7 //"), (EntryList{{"1,2,3,4,5,6,7,", kItemEntry}}));
}

TEST(ListReader, FieldsAreFittedButNotConverted)
{
    EXPECT_EQ(shop("14 3 0"), (EntryList{{"14,3,0,,,,", kItemEntry}}));
    EXPECT_EQ(shop("1 2 3 4 5 6 7 8 9"), (EntryList{{"1,2,3,4,5,6,7", kItemEntry, {{"8", "9"}, {}}}}));
    EXPECT_EQ(shop("014 x \"a b\""), (EntryList{{"014,x,\"a b\",,,,", kItemEntry}}));
    EXPECT_EQ(bag("14\t3\t0\t0\t1\t0\t//Jewel"), (EntryList{{"14,3,0,0,1,0,Jewel", kItemEntry}}));
}

TEST(ListReader, EveryRecordIsKept)
{
    EXPECT_EQ(shop("   "), (EntryList{{"", kBlankEntry}}));
    EXPECT_EQ(shop("// Potions"), (EntryList{{"// Potions", kCommentEntry}}));
    EXPECT_EQ(shop("  abc // note"), (EntryList{{"abc // note", kCommentEntry}}));
    EXPECT_EQ(shop("abc"), (EntryList{{"abc", kCommentEntry}})) << "a heading without // is kept";
    EXPECT_EQ(shop("\t\"Setting\" = 5"), (EntryList{{"\"Setting\" = 5", kCommentEntry}}));
    EXPECT_EQ(shop("// a, b"), (EntryList{{"// a", kCommentEntry}, {"b", kCommentEntry}}));
    EXPECT_TRUE(shop("").empty());
}

TEST(ListReader, EndLinesAreKeptAndReadingGoesOn)
{
    EXPECT_EQ(bag("1 1 1 1 1 1\r\nend\r\n// after\r\n2 2 2 2 2 2\r\nEND\r\n"),
              (EntryList{{"1,1,1,1,1,1", kItemEntry},
                         {"end", kCommentEntry},
                         {"// after", kCommentEntry},
                         {"2,2,2,2,2,2", kItemEntry},
                         {"END", kCommentEntry}}));
}

TEST(ListReader, LeadingTabsAreDroppedSoTabLayoutLinesComeBack)
{
    EXPECT_EQ(bag("\t14\t3\t0\t0\t1\t0\t//Jewel\r\n"), (EntryList{{"14,3,0,0,1,0,Jewel", kItemEntry}}));
}

TEST(ListReader, ItemRemainderHoldsExtraFieldsAndTheSecondComment)
{
    // The seventh column of an item-bag line and the text after a second "//".
    const EntryList entries = bag("13 8 2 0 0 2 1 0x5 //Ring//kept // too");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "13,8,2,0,0,2,Ring") << "the row text is as the editor reads it";
    EXPECT_EQ(entries[0].rest.fields, (std::vector<std::string>{"1", "0x5"}));
    EXPECT_EQ(entries[0].rest.tail, "kept // too");
    EXPECT_TRUE(bag("13 8 2 0 0 2 //Ring")[0].rest.empty());
    EXPECT_EQ(bag("1 2 3 4 5 6 7 //")[0].rest.tail, std::nullopt) << "one // is no tail";
    EXPECT_EQ(bag("1 2 3 4 5 6 7 ////")[0].rest.tail, "");
}

TEST(ListReader, EntriesRememberTheirLineAndPlace)
{
    const ListFile file = readListFile("// a, b\n\n1 2 3 4 5 6 7\r\nlast", 0);
    ASSERT_EQ(file.entries.size(), 5u);
    const EntryOrigin expected[] = {{0, 0}, {0, 1}, {1, 0}, {2, 0}, {3, 0}};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(file.entries[i].origin, expected[i]) << "entry " << i;
    ASSERT_EQ(file.source->lines.size(), 4u);
    EXPECT_EQ(file.source->lines[0].entryCount, 2u);
    EXPECT_EQ(file.source->lines[2].endLength, 2);
    EXPECT_EQ(file.source->lines[3].endLength, 0);
    EXPECT_EQ(file.source->lineEnd, "\n") << "two LF lines against one CRLF";
    EXPECT_EQ(readListFile("a\rb\r\nc\r\nd\r", 0).source->lineEnd, "\r\n");
    EXPECT_EQ(readListFile("a\rb\r", 0).source->lineEnd, "\r");
    EXPECT_EQ(readListFile("", 0).source->lineEnd, "\r\n") << "a file without lines gets CRLF";
}

TEST(ListReader, AllLineEndsAndEveryByteSurvive)
{
    std::string bytes = std::string("// \x01\xfe\0x", 7) + "\r1 2 3 4 5 6 7 //\xe9t\xe9\n\r\n";
    EntryList entries = shop(bytes);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, std::string("// \x01\xfe\0x", 7));
    EXPECT_EQ(entries[1].text, "1,2,3,4,5,6,7,\xe9t\xe9");
    EXPECT_EQ(entries[2], (ListEntry{"", kBlankEntry, {}, {}}));
}

TEST(ListReader, TrailingBlanksBelongToTheComment)
{
    EXPECT_EQ(shop("1 2 3 4 5 6 7 //Axe  \t"), (EntryList{{"1,2,3,4,5,6,7,Axe  \t", kItemEntry}}));
}

}  // namespace
}  // namespace vs
