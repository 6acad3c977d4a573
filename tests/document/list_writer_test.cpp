#include "document/list_reader.h"
#include "document/list_writer.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

// Open then Save, as the editor does it.
std::string reopenAndSave(const std::string& bytes, int editMode, SaveStyle style = SaveStyle::KeepLines)
{
    const ListFile file = readListFile(bytes, editMode);
    return writeListFile(file.entries, editMode, file.source.get(), style);
}

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
              "14 3 0 255 0 0 0\r\n"
              "\r\n"
              "// Potions\r\n"
              "end\r\n");
}

// An empty comment is written as nothing, in every layout and separator; a
// remainder, or comment pieces after it, still follow.
TEST(ListWriter, AnEmptyCommentEndsTheLineWithoutASeparator)
{
    const struct {
        LayoutId layout;
        bool tabLayout;
        const char* text;
        ItemRemainder rest;
        const char* line;
    } cases[] = {
        {LayoutId::Shop7, false, "14,3,0,255,0,0,0,", {}, "14 3 0 255 0 0 0"},
        {LayoutId::Shop8, false, "14,3,0,255,0,0,0,5,", {}, "14\t3\t0\t255\t0\t0\t0\t5"},
        {LayoutId::Bag6, true, "1,2,3,4,1,0,", {}, "\t1\t2\t3\t4\t1\t0"},
        {LayoutId::Bag6, false, "1,2,3,4,0,0,", {}, "1 2 3 4 0 0"},
        {LayoutId::BagSections, false, "1,2,0,4,0,1,1,0,", {}, "1\t2\t0\t4\t0\t1\t1\t0"},
        {LayoutId::Shop7, false, "1,2,3,4,5,6,7,", {{"9"}, std::nullopt}, "1 2 3 4 5 6 7 9"},
        {LayoutId::Shop7, false, "1,2,3,4,5,6,7,", {{}, "x"}, "1 2 3 4 5 6 7 ////x"},
        {LayoutId::Shop7, false, "1,2,3,4,5,6,7,,b", {}, "1 2 3 4 5 6 7  b"},
    };
    for (const auto& c : cases) {
        const FileLayout& layout = layoutFor(c.layout);
        EXPECT_EQ(itemLine(c.text, layout, c.tabLayout, c.rest), c.line) << layout.name << " " << c.text;
    }
}

TEST(ListWriter, AnUntouchedLineKeepsItsEmptyCommentAndAnEditedOneDropsIt)
{
    const std::string source = "1 2 3 4 5 6 7 //\r\n8 2 3 4 5 6 7 //\r\n";
    ListFile file = readListFile(source, 0);
    ASSERT_EQ(file.entries.size(), 2u);
    EXPECT_EQ(writeListFile(file.entries, 0, file.source.get()), source + "end\r\n");
    // Save after the second row was edited, its comment still empty: only that line changes.
    file.entries[1].text = "9,2,3,4,5,6,7,";
    EXPECT_EQ(writeListFile(file.entries, 0, file.source.get()), "1 2 3 4 5 6 7 //\r\n9 2 3 4 5 6 7\r\nend\r\n");
    EXPECT_EQ(reopenAndSave(source, 0, SaveStyle::Tidy), "1 2 3 4 5 6 7\r\n8 2 3 4 5 6 7\r\nend\r\n");
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
    EXPECT_EQ(readListFile(bytes, 0).entries.front().kind, kItemEntry);
}

TEST(ListWriter, AnUnclosedQuoteDoesNotGrowAtEverySave)
{
    const std::string source = "5 \"x   //c\r\n";
    EXPECT_EQ(readListFile(source, 0).entries.front().text, "5,\"x,,,,,,c");
    const std::string once = reopenAndSave(source, 0, SaveStyle::Tidy);
    EXPECT_EQ(reopenAndSave(once, 0, SaveStyle::Tidy), once);
    EXPECT_EQ(readListFile("5 \"a b\" 6", 0).entries.front().text, "5,\"a b\",6,,,,")
        << "closed quotes keep their blanks";
}

TEST(ListWriter, TidyReachesAFixedPointAndKeepsEverything)
{
    const std::string source = "// head\r\n\r\n 14  3 0 255 0 0 0 9 // Potion//x\n5//x\r\nabc\r\nend\r\n";
    std::string once = reopenAndSave(source, 0, SaveStyle::Tidy);
    EXPECT_EQ(once, "// head\r\n\r\n14 3 0 255 0 0 0 9 // Potion//x\r\n5       //x\r\nabc\r\nend\r\n");
    EXPECT_EQ(reopenAndSave(once, 0, SaveStyle::Tidy), once);
}

TEST(ListWriter, AnUntouchedFileComesBackByteForByte)
{
    const std::string shopFile = "//head, with a comma\r\n 7\t0  5 0 0 0 0 0 \t//Helm//old\r\n\"Mode\" = 2\n\r  \r\nend\r\n";
    EXPECT_EQ(reopenAndSave(shopFile, 0), shopFile);
    const std::string bagFile = "13 \t8 \t2 \t0 \t0 \t2\t1\t//Ring\nend\n\n14 1 0 0 0 0//x,y\nend";
    EXPECT_EQ(reopenAndSave(bagFile, 1), bagFile) << "a last line without a line end stays so";
}

TEST(ListWriter, AShopFileGetsEndOnlyWhenNoEndFollowsTheLastItem)
{
    EXPECT_EQ(reopenAndSave("1 2 3 4 5 6 7\n", 0), "1 2 3 4 5 6 7\nend\n");
    EXPECT_EQ(reopenAndSave("1 2 3 4 5 6 7", 0), "1 2 3 4 5 6 7\r\nend\r\n")
        << "the missing line end comes first; a file of one line end has CRLF";
    EXPECT_EQ(reopenAndSave("1 2 3 4 5 6 7\r\n  End \t\r\n// tail\r\n", 0), "1 2 3 4 5 6 7\r\n  End \t\r\n// tail\r\n");
    EXPECT_EQ(reopenAndSave("end\r\n1 2 3 4 5 6 7\r\n", 0), "end\r\n1 2 3 4 5 6 7\r\nend\r\n")
        << "an end before the last item does not close the file";
    EXPECT_EQ(reopenAndSave("// only\r\nend\r\n", 0), "// only\r\nend\r\n");
    EXPECT_EQ(reopenAndSave("1 2 3 4 5 6\r\n", 1), "1 2 3 4 5 6\r\n") << "an item-bag file gets no end";
}

TEST(ListWriter, OnlyTheChangedLineIsRewrittenAndItKeepsItsRemainder)
{
    const std::string source = "// head\n13 \t8 \t2 \t0 \t0 \t2\t1\t//Ring//note\n13  9 2 0 0 2 0 //Other\n";
    ListFile file = readListFile(source, 1);
    ASSERT_EQ(file.entries.size(), 3u);
    file.entries[1].text = "13,8,3,0,0,2,Ring +3";
    EXPECT_EQ(writeListFile(file.entries, 1, file.source.get()),
              "// head\n13 8 3 0 0 2 1 //Ring +3//note\n13  9 2 0 0 2 0 //Other\n");
    // In the tab layout the remainder follows the layout too.
    file.entries[2].text = "13,9,2,0,1,2,Other";
    EXPECT_EQ(writeListFile(file.entries, 1, file.source.get()),
              "// head\n\t13\t8\t3\t0\t0\t2\t1\t//Ring +3//note\n\t13\t9\t2\t0\t1\t2\t0\t//Other\n");
}

TEST(ListWriter, MovedLinesKeepTheirBytesButSplitLinesAreRewritten)
{
    const std::string source = "1  1 1 1 1 1 1\r\n2  2 2 2 2 2 2 //a, b\r\n";
    ListFile file = readListFile(source, 0);
    ASSERT_EQ(file.entries.size(), 3u);
    std::swap(file.entries[0], file.entries[1]);  // "2...//a" now stands apart from " b"
    EXPECT_EQ(writeListFile(file.entries, 0, file.source.get()),
              "2 2 2 2 2 2 2 //a\r\n1  1 1 1 1 1 1\r\nb\r\nend\r\n");
    // Moving the whole line keeps it as it was.
    file = readListFile(source, 0);
    std::rotate(file.entries.begin(), file.entries.begin() + 1, file.entries.end());
    EXPECT_EQ(writeListFile(file.entries, 0, file.source.get()),
              "2  2 2 2 2 2 2 //a, b\r\n1  1 1 1 1 1 1\r\nend\r\n");
}

TEST(ListWriter, AnEditedAndRestoredEntryCountsAsUnchanged)
{
    const std::string source = "1  1 1 1 1 1 1 //x\r\n";
    ListFile file = readListFile(source, 0);
    file.entries[0].text = "1,1,1,1,1,1,1,y";
    file.entries[0].text = "1,1,1,1,1,1,1,x";
    EXPECT_EQ(writeListFile(file.entries, 0, file.source.get()), source + "end\r\n");
    file.entries[0].rest.fields.push_back("9");
    EXPECT_EQ(writeListFile(file.entries, 0, file.source.get()), "1 1 1 1 1 1 1 9 //x\r\nend\r\n");
}

TEST(ListWriter, NewEntriesTakeTheLineEndTheFileMostlyUses)
{
    ListFile file = readListFile("// a\n// b\n// c\r\n", 1);
    file.entries.insert(file.entries.begin() + 1, ListEntry{"// new", kCommentEntry, {}, {}});
    EXPECT_EQ(writeListFile(file.entries, 1, file.source.get()), "// a\n// new\n// b\n// c\r\n");
}

TEST(ListWriter, AnEmptyLineAfterALoneCarriageReturnStaysALine)
{
    // Most lines end with LF; the blank entry moved below a line ended by CR.
    ListFile file = readListFile("// a\r// b\n\n// c\n", 1);
    ASSERT_EQ(file.entries.size(), 4u);
    std::swap(file.entries[1], file.entries[2]);
    const std::string saved = writeListFile(file.entries, 1, file.source.get());
    EXPECT_EQ(saved, "// a\r\r// b\n// c\n");
    EXPECT_EQ(readListFile(saved, 1).entries, file.entries);
}

TEST(ListWriter, RowsHoldingALineBreakAreFound)
{
    EXPECT_EQ(firstRowWithLineBreak({{"a", kCommentEntry}, {"b", kCommentEntry}}), -1);
    EXPECT_EQ(firstRowWithLineBreak({{"a", kCommentEntry}, {"b\rc", kBlankEntry}, {"\n", kItemEntry}}), 1);
}

}  // namespace
}  // namespace vs
