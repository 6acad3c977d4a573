#include "catalog/text_utils.h"
#include "catalog/vault_error.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

using Tokens = TokenList;

TEST(ReadData, BlankTextsGiveNoTokens)
{
    EXPECT_TRUE(readData("").empty());
    EXPECT_TRUE(readData(" \t  \t").empty());
}

TEST(ReadData, QuotedNameIsOneTokenWithItsQuotes)
{
    EXPECT_EQ(readData("0\t1 2   \"Short Sword\"\t10"),
              (Tokens{"0", "1", "2", "\"Short Sword\"", "10"}));
}

TEST(ReadData, QuotesInsideATokenDoNotSplitIt)
{
    EXPECT_EQ(readData("a\"b c\"d e"), (Tokens{"a\"b c\"d", "e"}));
}

TEST(ReadData, UnbalancedQuoteSwallowsTheRest)
{
    EXPECT_EQ(readData("5 \"open"), (Tokens{"5", "\"open"}));
    EXPECT_EQ(readData("5 \"open and  more\twords"), (Tokens{"5", "\"open and  more\twords"}));
}

TEST(ReadData, OnlySpaceAndTabSeparate)
{
    EXPECT_EQ(readData("a,b\rc\n d"), (Tokens{"a,b\rc\n", "d"}));
}

TEST(CutArrExcess, DropsEmptiesAndFitsToLength)
{
    Tokens arr{"a", "", "b"};
    cutArrExcess(arr, 2);
    EXPECT_EQ(arr, (Tokens{"a", "b"}));

    arr = {"a", "", "b"};
    cutArrExcess(arr, 4);
    EXPECT_EQ(arr, (Tokens{"a", "b", "", ""}));

    arr = {"a", "", "b"};
    cutArrExcess(arr, 1);
    EXPECT_EQ(arr, (Tokens{"a"}));

    arr = {};
    cutArrExcess(arr, 3);
    EXPECT_EQ(arr, (Tokens{"", "", ""}));
}

TEST(CutArrExcess, LengthBelowOneIsAnIndexFailure)
{
    Tokens arr{"a"};
    try {
        cutArrExcess(arr, 0);
        FAIL() << "no failure";
    } catch (const VaultError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::IndexOutOfTable);
    }
}

TEST(StrGetUntil, ScansForwardAndBackward)
{
    EXPECT_EQ(strGetUntil("data\\shop.txt", "\\", -1), "shop.txt");
    EXPECT_EQ(strGetUntil("a\\b\\c.txt", "\\", -1), "c.txt");
    EXPECT_EQ(strGetUntil("abc", "\\", -1), "abc");
    EXPECT_EQ(strGetUntil("ab-cd-e", "-", 1), "ab");
    EXPECT_EQ(strGetUntil("", "-", 1), "");
    EXPECT_EQ(strGetUntil("ab-cd", "", 1), "ab-cd");
    EXPECT_EQ(strGetUntil("ab-cd", "-c", 1), "ab-cd");
}

TEST(StrPadPattern, PadsCyclicallyReversedOnTheLeft)
{
    EXPECT_EQ(strPadPattern("7", "ab", 4, 0), "aba7");
    EXPECT_EQ(strPadPattern("7", "ab", 4, 1), "7aba");
    EXPECT_EQ(strPadLeft("7", "abc", 5), "acba7");
    EXPECT_EQ(strPadRight("7", "abc", 5), "7abca");
    EXPECT_EQ(strPadPattern("7", "ab", 4, 2), "7");
    EXPECT_EQ(padHexLeft("A", 2), "0A");
    EXPECT_EQ(padHexLeft("1F2", 2), "1F2");
    EXPECT_EQ(padHexRight("A", 3), "A00");
}

TEST(StrPadPattern, EmptyPatternFailsOnlyWhenPaddingIsNeeded)
{
    EXPECT_EQ(strPadPattern("abc", "", 3, 0), "abc");
    try {
        strPadPattern("a", "", 3, 0);
        FAIL() << "no failure";
    } catch (const VaultError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::DivisionByZero);
    }
}

TEST(StrRight, PositiveAndNegativeLengths)
{
    EXPECT_EQ(strRight("-sword", -1), "sword");
    EXPECT_EQ(strRight("abc", 5), "abc");
    EXPECT_EQ(strRight("abc", 2), "bc");
    EXPECT_EQ(strRight("abc", -3), "");
    EXPECT_THROW(strRight("ab", -3), VaultError);
}

TEST(StrAreEqual, IsExactAndCaseSensitive)
{
    EXPECT_TRUE(strAreEqual("Abc", "Abc"));
    EXPECT_FALSE(strAreEqual("Abc", "abc"));
    EXPECT_FALSE(strAreEqual("ab", "abc"));
}

TEST(MakeId, SixteenBitArithmetic)
{
    EXPECT_EQ(makeId(15, 31), 511);
    EXPECT_EQ(makeId(0, 0), 0);
    EXPECT_EQ(makeId(-1, 0), -32);
    EXPECT_EQ(makeId(1023, 31), 32767);
    EXPECT_THROW(makeId(1024, 0), VaultError);
}

TEST(ToLowerAscii, MapsOnlyAToZ)
{
    EXPECT_EQ(toLowerAscii("SHOP\xC4.TXT"), "shop\xC4.txt");
}

}  // namespace
}  // namespace vs
