#include <gtest/gtest.h>

#include "common/strings.h"

TEST(Strings, TrimRemovesControlCharactersAndSpaces) {
    EXPECT_EQ(Trim(" \t\r a b \n\x01"), "a b");
    EXPECT_EQ(Trim("   "), "");
}

TEST(Strings, SplitKeepsEmptyFields) {
    EXPECT_EQ(SplitFields("a::b:", ':'), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(SplitFields("", ':'), (std::vector<std::string>{""}));
}

TEST(Strings, CaseInsensitiveComparison) {
    EXPECT_TRUE(SameText("Parts.DAT", "parts.dat"));
    EXPECT_FALSE(SameText("parts.dat", "parts.da"));
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_TRUE(EndsWithText("arch.DAT", ".dat"));
    EXPECT_EQ(ReplaceAll("a-b-c", "-", "_"), "a_b_c");
}
