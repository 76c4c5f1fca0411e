#include <gtest/gtest.h>

#include "files/caption_rule.h"

TEST(CaptionRule, KeepsTheTextBeforeTheFirstDash) {
    EXPECT_EQ(CaptionOf("17-arch"), "17");
    EXPECT_EQ(CaptionOf("a-b-c"), "a");
    EXPECT_EQ(CaptionOf("-lead"), "");
    EXPECT_EQ(CaptionOf("stdblock"), "stdblock");
    EXPECT_EQ(CaptionOf(""), "");
}

TEST(CaptionRule, CommaThenBackslashThenDash) {
    EXPECT_EQ(CaptionOf("parts.dat, 17-arch"), "17");
    EXPECT_EQ(CaptionOf("a,b,c"), "b,c");
    EXPECT_EQ(CaptionOf("lib\\door-left"), "door");
    EXPECT_EQ(CaptionOf("x,y\\z"), "z");
    // The comma is looked at first: a backslash before it is gone with it.
    EXPECT_EQ(CaptionOf("a\\b,c-d"), "c");
    // A dash before the comma is gone too.
    EXPECT_EQ(CaptionOf("a-b,c"), "c");
}

TEST(CaptionRule, TrimsSpacesAndControlCharacters) {
    EXPECT_EQ(CaptionOf("  2x4x3  "), "2x4x3");
    EXPECT_EQ(CaptionOf("G parts.dat,\t slope45 -x"), "slope45");
}
