#include <gtest/gtest.h>

#include "files/caption_rule.h"
#include "files/palette_entry.h"
#include "model/block.h"

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

TEST(CaptionRule, StonesReadBackMeetTheEntriesTheyCameFromAndTheSets) {
    EXPECT_EQ(EntryStoneCaption("1x2x3|Brick 1x2"), "1x2x3");
    EXPECT_EQ(EntryStoneCaption("B 1x2x3"), "1x2x3"); // as the part editor writes it
    EXPECT_EQ(EntryStoneCaption("T 2x2x3|Roof"), "T2x2x3");
    EXPECT_EQ(EntryStoneCaption("G parts.dat, 17-arch|Arch"), "17");
    // A model file keeps no caption: a stone read back, turned any way, is
    // counted under its entry's caption again.
    for (const char* entry :
         {"1x2x3|Brick 1x2", "B 2x4x1", "R1x1x1", "W2x1x6", "D2x1x9", "T 2x2x4", "3x1x5"}) {
        std::unique_ptr<TBlock> stone = CreateEntryStone(entry);
        ASSERT_NE(stone, nullptr) << entry;
        for (int turn = 0; turn < 4; ++turn, stone->TurnQuarter())
            EXPECT_EQ(StoneCaption(*stone), EntryStoneCaption(entry)) << entry << " turned " << turn;
    }
    // Set files may write a size as entries do.
    EXPECT_EQ(SetCaption("B 2x4x3"), "2x4x3");
    EXPECT_EQ(SetCaption("T2x2x3"), "T2x2x3");
    EXPECT_EQ(SetCaption("arch"), "arch");
    EXPECT_EQ(SetCaption("Brick 1x2"), "Brick 1x2");
}
