#include <gtest/gtest.h>

#include "common/convert.h"
#include "common/error.h"

TEST(StrToInt, AcceptsSignAndDigitsOnly) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("-17"), -17);
    EXPECT_EQ(StrToInt("+42"), 42);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "-", "+", " 1", "1 ", "1.0", "0x10", "12a", "2147483648", "-2147483649",
                            "99999999999999999999"}) {
        EXPECT_THROW(StrToInt(bad), EError) << bad;
    }
    try {
        StrToInt("abc");
        FAIL();
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
}

TEST(NumberScanner, SkipsSeparatorsAndReadsMissingNumbersAsZero) {
    TNumberScanner s(" 3,\t-1; ;7,,");
    EXPECT_EQ(s.Next(), 3);
    EXPECT_EQ(s.Next(), -1);
    EXPECT_EQ(s.Next(), 7);
    EXPECT_EQ(s.Next(), 0);
    EXPECT_EQ(s.Next(), 0);
}

TEST(NumberScanner, StrayCharacterStopsTheScan) {
    TNumberScanner s("1, 2 x 3");
    EXPECT_EQ(s.Next(), 1);
    EXPECT_EQ(s.Next(), 2);
    EXPECT_EQ(s.Next(), 0);
    EXPECT_EQ(s.Next(), 0);
    EXPECT_EQ(s.Rest(), "x 3");
}

TEST(NumberScanner, DashWithoutDigitAndOverflowAreConversionErrors) {
    TNumberScanner dash("1, -, 2");
    EXPECT_EQ(dash.Next(), 1);
    EXPECT_THROW(dash.Next(), EError);
    TNumberScanner dashLetter("-a");
    EXPECT_THROW(dashLetter.Next(), EError);
    TNumberScanner big("4294967296");
    EXPECT_THROW(big.Next(), EError);
    TNumberScanner edge("-2147483648 2147483647");
    EXPECT_EQ(edge.Next(), -2147483647 - 1);
    EXPECT_EQ(edge.Next(), 2147483647);
}
