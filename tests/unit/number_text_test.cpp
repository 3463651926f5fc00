// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cmath>

#include "base/number_text.h"
#include "base/rounding.h"

using namespace pelmora;

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{2.5, 2}, {3.5, 4},    {-2.5, -2},  {-3.5, -4}, {0.5, 0},
                                               {1.5, 2}, {2.4999, 2}, {2.5001, 3}, {-0.4, 0},  {7, 7}};
    for (const auto& [value, expected] : cases) EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

TEST(Rounding, IntegerConversionsReportOverflow) {
    EXPECT_EQ(ToInt16(32767.4), 32767);
    EXPECT_FALSE(ToInt16(32767.5));  // rounds to 32768
    EXPECT_EQ(ToInt16(-32768.5), -32768);
    EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
    EXPECT_FALSE(ToInt32(2147483648.0));
    EXPECT_FALSE(ToInt32(std::nan("")));
    EXPECT_EQ(ModKeepSign(-3, 8), -3);
    EXPECT_EQ(ModKeepSign(11, -8), 3);
}

TEST(ParseLeadingNumber, ReadsThePrefixThatFormsANumber) {
    const std::pair<const char*, double> cases[] = {
        {"123", 123}, {"  \t\r\n42", 42}, {"-7", -7},      {"+7", 7},        {"12.5abc", 12.5}, {"1.2.3", 1.2},
        {".5", 0.5},  {"1e3", 1000},      {"1E-2x", 0.01}, {"2E", 2},        {"3e+", 3},        {"abc", 0},
        {"", 0},      {"-", 0},           {"- 5", 0},      {"100,200", 100}, {"١٢", 0}};
    for (const auto& [text, expected] : cases) EXPECT_DOUBLE_EQ(ParseLeadingNumber(text), expected) << text;
}

TEST(StrictReads, AcceptOnlyWholeNumbers) {
    EXPECT_EQ(ParseStrictNumber(" 255 "), 255.0);
    EXPECT_EQ(ParseStrictNumber("255.5"), 255.5);
    EXPECT_FALSE(ParseStrictNumber(""));
    EXPECT_FALSE(ParseStrictNumber("   "));
    EXPECT_FALSE(ParseStrictNumber("12abc"));
    EXPECT_FALSE(ParseStrictNumber("abc"));
    EXPECT_FALSE(ParseStrictNumber("1e999"));  // does not fit a double

    EXPECT_EQ(ParseStrictInteger("255.5"), 256);
    EXPECT_EQ(ParseStrictInteger("254.5"), 254);
    EXPECT_EQ(ParseStrictInteger("-1"), -1);
    EXPECT_FALSE(ParseStrictInteger("4294967296"));
    EXPECT_FALSE(ParseStrictInteger("0x10"));
}

TEST(StrictReads, HexDigitsOneToEightEitherCase) {
    EXPECT_EQ(ParseHexDigits("FF"), 255u);
    EXPECT_EQ(ParseHexDigits("0000ff"), 255u);
    EXPECT_EQ(ParseHexDigits("FFFF"), 65535u);
    EXPECT_EQ(ParseHexDigits("FF0000"), 16711680u);
    EXPECT_EQ(ParseHexDigits("FFFFFFFF"), 4294967295u);
    EXPECT_FALSE(ParseHexDigits(""));
    EXPECT_FALSE(ParseHexDigits("123456789"));
    EXPECT_FALSE(ParseHexDigits("&HFF"));
    EXPECT_FALSE(ParseHexDigits("0xFF"));
    EXPECT_FALSE(ParseHexDigits("FG"));
    EXPECT_FALSE(ParseHexDigits(" FF"));
}

TEST(FormatPlainNumber, WholeNumbersWithoutFractionFractionsWithoutTrailingZeros) {
    EXPECT_EQ(FormatPlainNumber(100), "100");
    EXPECT_EQ(FormatPlainNumber(-50), "-50");
    EXPECT_EQ(FormatPlainNumber(0), "0");
    EXPECT_EQ(FormatPlainNumber(-0.0), "0");
    EXPECT_EQ(FormatPlainNumber(90.5), "90.5");
    EXPECT_EQ(FormatPlainNumber(-0.25), "-0.25");
    EXPECT_EQ(FormatPlainNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatPlainNumber(2147483647.0), "2147483647");
    // The largest double to fifteen digits would be past it.
    EXPECT_EQ(FormatPlainNumber(1.7976931348623157e308), "1.7976931348623157e+308");
    EXPECT_EQ(FormatPlainNumber(-1.7976931348623157e308), "-1.7976931348623157e+308");
    EXPECT_EQ(FormatPlainNumber(1.797693134862315e308), "1.79769313486231e+308");
}
