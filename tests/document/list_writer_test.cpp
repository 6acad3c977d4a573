#include "document/list_reader.h"
#include "document/list_writer.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

TEST(ListWriter, ShopLines)
{
    EntryList entries = {{"14,3,0,255,0,0,0", kItemEntry},
                         {"14,3,0,255,0,0,0,Potion", kItemEntry},
                         {"14,3,0,255,0,0,0,", kItemEntry},
                         {"", kBlankEntry},
                         {"// Potions", kCommentEntry}};
    EXPECT_EQ(writeListFile(entries, 0),
              "14 3 0 255 0 0 0\r\n"
              "14 3 0 255 0 0 0 //Potion\r\n"
              "14 3 0 255 0 0 0 \r\n"
              "\r\n"
              "// Potions\r\n"
              "end\r\n");
}

TEST(ListWriter, EmptyLists)
{
    EXPECT_EQ(writeListFile({}, 0), "end\r\n");
    EXPECT_EQ(writeListFile({}, 1), "");
}

TEST(ListWriter, CommaInACommentBecomesASeparator)
{
    EXPECT_EQ(itemLine("1,2,3,4,5,6,7,a,b", 0, false), "1 2 3 4 5 6 7 //a b");
}

TEST(ListWriter, BagLayoutFollowsTheFifthField)
{
    EntryList bag = {{"14,3,0,0,0,0,Jewel", kItemEntry}, {"// x,1", kCommentEntry}};
    EXPECT_FALSE(bagIsBoK(bag));
    EXPECT_EQ(writeListFile(bag, 1), "14 3 0 0 0 0 //Jewel\r\n// x,1\r\n");

    bag.push_back({"1,2,3,4,1.0,0", kItemEntry});
    EXPECT_TRUE(bagIsBoK(bag));
    EXPECT_EQ(writeListFile(bag, 1),
              "\t14\t3\t0\t0\t0\t0\t//Jewel\r\n"
              "// x,1\r\n"
              "\t1\t2\t3\t4\t1.0\t0\r\n");
}

TEST(ListWriter, FifthFieldIsReadWithoutRounding)
{
    EXPECT_FALSE(bagIsBoK({{"1,2,3,4,1.4,0", kItemEntry}}));
    EXPECT_TRUE(bagIsBoK({{"1,2,3,4,1x,0", kItemEntry}}));
    EXPECT_FALSE(bagIsBoK({{"1,2,3,4", kItemEntry}}));
    EXPECT_FALSE(bagIsBoK({{"1,2,3,4,1,0", kCommentEntry}}));
}

TEST(ListWriter, CommentEntryThatBeginsWithADigitIsWrittenUnchanged)
{
    EntryList entries = {{"7 edited comment", kCommentEntry}};
    std::string bytes = writeListFile(entries, 0);
    EXPECT_EQ(bytes, "7 edited comment\r\nend\r\n");
    EXPECT_EQ(readListFile(bytes, 0).front().kind, kItemEntry);
}

TEST(ListWriter, AnUnclosedQuoteDoesNotGrowAtEverySave)
{
    const std::string source = "5 \"x   //c\r\n";
    EXPECT_EQ(readListFile(source, 0).front().text, "5,\"x,,,,,,c");
    const std::string once = writeListFile(readListFile(source, 0), 0);
    EXPECT_EQ(writeListFile(readListFile(once, 0), 0), once);
    EXPECT_EQ(readListFile("5 \"a b\" 6", 0).front().text, "5,\"a b\",6,,,,") << "closed quotes keep their blanks";
}

TEST(ListWriter, ReadWriteReachesAFixedPoint)
{
    const std::string source = "// head\r\n\r\n 14  3 0 255 0 0 0 // Potion//x\r\n5//x\r\nabc\r\nend\r\n";
    std::string once = writeListFile(readListFile(source, 0), 0);
    EXPECT_EQ(once, "// head\r\n\r\n14 3 0 255 0 0 0 // Potion\r\n5       //x\r\nend\r\n");
    EXPECT_EQ(writeListFile(readListFile(once, 0), 0), once);
}

}  // namespace
}  // namespace vs
