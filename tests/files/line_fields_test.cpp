#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/error.h"
#include "files/line_fields.h"
#include "files/view_line.h"

TEST(LineFields, NumbersAndWordsInTurn) {
    TLineFields f("12 -3 name 0 7");
    EXPECT_EQ(f.ReadNumber(), 12);
    EXPECT_EQ(f.ReadNumber(), -3);
    EXPECT_EQ(f.ReadWord(), "name");
    EXPECT_EQ(f.ReadNumber(), 0);
    EXPECT_EQ(f.ReadNumber(), 7);
    EXPECT_TRUE(f.AtEnd());
    // Past the end: 0 and the default.
    EXPECT_EQ(f.ReadNumber(), 0);
    EXPECT_EQ(f.ReadWord("parts.dat"), "parts.dat");
    EXPECT_EQ(f.ReadWord(), "");
}

TEST(LineFields, ANonNumberStopsNumbersUntilAWordTakesIt) {
    TLineFields f("1 x 2 y 3");
    EXPECT_EQ(f.ReadNumber(), 1);
    EXPECT_EQ(f.ReadNumber(), 0);
    EXPECT_EQ(f.ReadNumber(), 0); // still standing on "x"
    EXPECT_EQ(f.ReadWord(), "x");
    EXPECT_EQ(f.ReadNumber(), 2);
    // "+" is not a digit or "-": the number is 0 and nothing is consumed.
    TLineFields plus("+5 6");
    EXPECT_EQ(plus.ReadNumber(), 0);
    EXPECT_EQ(plus.ReadWord(), "+5");
    EXPECT_EQ(plus.ReadNumber(), 6);
}

TEST(LineFields, EmptyWordsBetweenDoubleSpaces) {
    TLineFields f("3  7");
    EXPECT_EQ(f.ReadNumber(), 3);
    EXPECT_EQ(f.ReadWord("default"), "");
    EXPECT_EQ(f.ReadNumber(), 7);
}

TEST(LineFields, MalformedNumbersAreConversionErrors) {
    auto message = [](const char* text) {
        try {
            TLineFields(text).ReadNumber();
        } catch (const EError& e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("12abc 4"), "'12abc' is not a valid integer value");
    EXPECT_EQ(message("- 4"), "'-' is not a valid integer value");
    EXPECT_EQ(message("2147483648"), "'2147483648' is not a valid integer value");
    EXPECT_EQ(message("-99999999999999999999"), "'-99999999999999999999' is not a valid integer value");
    EXPECT_EQ(TLineFields("-2147483648").ReadNumber(), std::numeric_limits<int32_t>::min());
}

TEST(ViewLine, WritesTheViewAndUnitsFlag) {
    TViewRecord view;
    view.RotX = 70;
    view.RotZ = 330;
    view.ZoomFactor = 0.5f;
    view.OffsetX = -120;
    view.OffsetY = 45;
    EXPECT_EQ(ViewLineText(view), "= 70 330 20 -120 45 0 1");
}

TEST(ViewLine, ZoomCodeRoundsHalvesToEven) {
    EXPECT_EQ(ZoomCode(0.5f), 20);
    EXPECT_EQ(ZoomCode(1.0f), 10);
    EXPECT_EQ(ZoomCode(4.0f), 2); // 2.5 goes to the even 2
    EXPECT_EQ(ZoomCode(0.4f), 25);
    EXPECT_EQ(ZoomCode(0.3f), 33);
    EXPECT_EQ(ZoomCode(1.5f), 7); // 6.67
}

TEST(ViewLine, ZoomCodeNeverWritesWhatCannotBeReadBack) {
    EXPECT_EQ(ZoomCode(20.0f), 1); // 0.5 would round to 0
    EXPECT_EQ(ZoomCode(1000.0f), 1);
    EXPECT_EQ(ZoomCode(0.0f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ZoomCode(1e-12f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ZoomCode(std::nanf("")), 20);
}

TEST(ViewLine, ReadsSevenNumbersAfterTheEqualsSign) {
    auto n = ReadViewLineNumbers("=  70 330 20 -120 45 0 1  ");
    EXPECT_EQ(n[0], 70);
    EXPECT_EQ(n[1], 330);
    EXPECT_EQ(n[2], 20);
    EXPECT_EQ(n[3], -120);
    EXPECT_EQ(n[4], 45);
    EXPECT_EQ(n[5], 0);
    EXPECT_EQ(n[kViewUnitsField], 1);
    auto shortLine = ReadViewLineNumbers("= 1 2");
    EXPECT_EQ(shortLine[1], 2);
    EXPECT_EQ(shortLine[2], 0);
    EXPECT_EQ(shortLine[kViewUnitsField], 0);
    EXPECT_THROW(ReadViewLineNumbers("= 1 2x 3"), EError);
}
