#include "catalog/record_reader.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

std::vector<std::string> texts(std::string_view bytes)
{
    std::vector<std::string> out;
    for (const Record& r : splitRecords(bytes))
        out.push_back(r.text);
    return out;
}

using Texts = std::vector<std::string>;

TEST(SplitRecords, EveryLineEndEndsARecord)
{
    EXPECT_EQ(texts("a\r\nb\nc\rd"), (Texts{"a", "b", "c", "d"}));
    EXPECT_EQ(texts("a\r\r\nb"), (Texts{"a", "", "b"}));
}

TEST(SplitRecords, CommasSplitAndQuotesDoNotProtect)
{
    EXPECT_EQ(texts("3,4\n"), (Texts{"3", "4"}));
    EXPECT_EQ(texts("\"a,b\"\n"), (Texts{"\"a", "b\""}));
    EXPECT_EQ(texts("abc,\n"), (Texts{"abc", ""}));
    EXPECT_EQ(texts("abc,"), (Texts{"abc", ""}));
}

TEST(SplitRecords, EmptyLinesAndTheEndOfTheFile)
{
    EXPECT_TRUE(texts("").empty());
    EXPECT_EQ(texts("\n"), (Texts{""}));
    EXPECT_EQ(texts("a\n\nb"), (Texts{"a", "", "b"}));
    EXPECT_EQ(texts("a\r\n"), (Texts{"a"}));
    EXPECT_EQ(texts("a  \t"), (Texts{"a  \t"})) << "trailing blanks belong to the record";
}

TEST(SplitRecords, KeepsEveryByteAndCountsLines)
{
    std::string bytes("x\0y\xff\n,z", 7);
    auto records = splitRecords(bytes);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].text, std::string("x\0y\xff", 4));
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[1].text, "");
    EXPECT_EQ(records[2].text, "z");
    EXPECT_EQ(records[2].line, 2);
}

}  // namespace
}  // namespace vs
