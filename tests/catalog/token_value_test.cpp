#include "catalog/token_value.h"
#include "catalog/vault_error.h"

#include <cmath>
#include <gtest/gtest.h>

namespace vs {
namespace {

TEST(TokenValue, DecimalForms)
{
    EXPECT_EQ(tokenValue("12"), 12);
    EXPECT_EQ(tokenValue("-7"), -7);
    EXPECT_EQ(tokenValue("+7"), 7);
    EXPECT_EQ(tokenValue("12.5"), 12.5);
    EXPECT_EQ(tokenValue(".5"), 0.5);
    EXPECT_EQ(tokenValue("5."), 5);
    EXPECT_EQ(tokenValue("1e2"), 100);
    EXPECT_EQ(tokenValue("1E-1"), 0.1);
    EXPECT_EQ(tokenValue("014"), 14);
}

TEST(TokenValue, StopsAtTheFirstCharacterThatCannotContinue)
{
    EXPECT_EQ(tokenValue("12abc"), 12);
    EXPECT_EQ(tokenValue("1e"), 1);
    EXPECT_EQ(tokenValue("1e+"), 1);
    EXPECT_EQ(tokenValue("3,4"), 3);
    EXPECT_EQ(tokenValue("1.2.3"), 1.2);
}

TEST(TokenValue, NoLeadingNumberReadsZero)
{
    EXPECT_EQ(tokenValue(""), 0);
    EXPECT_EQ(tokenValue("-"), 0);
    EXPECT_EQ(tokenValue("."), 0);
    EXPECT_EQ(tokenValue("word"), 0);
    EXPECT_EQ(tokenValue("\"12\""), 0);
}

TEST(TokenValue, SkipsSpaceTabAndLineFeedAnywhere)
{
    EXPECT_EQ(tokenValue("1 2"), 12);
    EXPECT_EQ(tokenValue(" \t-\n3 4"), -34);
    EXPECT_EQ(tokenValue("1\r2"), 1) << "a carriage return is not skipped";
}

TEST(TokenValue, HexAndOctalInEitherCase)
{
    EXPECT_EQ(tokenValue("&HFFFF"), 65535);
    EXPECT_EQ(tokenValue("&hff"), 255);
    EXPECT_EQ(tokenValue("&O17"), 15);
    EXPECT_EQ(tokenValue("&o19"), 1);
    EXPECT_EQ(tokenValue("&H"), 0);
    EXPECT_EQ(tokenValue("&X1"), 0);
}

TEST(TokenValue, BeyondADoubleIsInfinite)
{
    EXPECT_TRUE(std::isinf(tokenValue("1e400")));
    EXPECT_TRUE(std::isinf(tokenValue(std::string(400, '9'))));
    EXPECT_EQ(tokenValue("1e-400"), 0);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(-0.6), -1);
}

void expectTooLarge(double value, bool wide)
{
    try {
        if (wide)
            toInt32(value);
        else
            toInt16(value);
        FAIL() << "no failure for " << value;
    } catch (const VaultError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::NumberTooLarge);
        EXPECT_EQ(e.number(), 6);
    }
}

TEST(CheckedConversion, RoundsThenChecksTheRange)
{
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(-32768.5), -32768);
    expectTooLarge(32767.5, false);
    expectTooLarge(-32769, false);
    expectTooLarge(tokenValue("1e400"), false);
    EXPECT_EQ(toInt32(2147483647), 2147483647);
    EXPECT_EQ(toInt32(-2147483648.0), INT32_MIN);
    expectTooLarge(2147483648.0, true);
    expectTooLarge(-2147483649.0, true);
}

}  // namespace
}  // namespace vs
