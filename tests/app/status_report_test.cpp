#include <gtest/gtest.h>

#include "app/hand.h"
#include "app/status_report.h"
#include "files/palette_entry.h"
#include "model/block_list.h"
#include "test_stones.h"

// The status bar's words for an empty hand, a palette stone, a stone of odd
// size and place, and a subassembly; and how stones name themselves.
TEST(StatusReport, HandModeSelectionAndModelInWords) {
    // A stone as taken from the palette, with its caption.
    auto taken = [](const char* entry) {
        std::unique_ptr<TBlock> stone = CreateEntryStone(entry);
        stone->Caption = EntryStoneCaption(entry);
        return stone;
    };
    THand hand;
    TOwnedBlockList model;
    TStatusReport report = ReportStatus(hand, model, 0);
    EXPECT_EQ(report.Hand, "");
    EXPECT_EQ(report.Position, "");
    EXPECT_EQ(report.Mode, "Pointer");
    EXPECT_EQ(report.Grid, "Grid: Quarter");
    EXPECT_EQ(report.Stones, "0 stones");

    hand.Make(taken("4x2x3|Brick"));
    hand.Stone()->X = 30;
    hand.Stone()->Z = 26;
    hand.Grid = grFine;
    model.Add(StoneInUnits('B', 0, 0, 0, 20, 20, 20));
    report = ReportStatus(hand, model, 1);
    EXPECT_EQ(report.Hand, "Brick (4x2x3), 4 x 2 x 3");
    EXPECT_EQ(report.Position, "At 1.5, 0, 3.9");
    EXPECT_EQ(report.Mode, "Placing");
    EXPECT_EQ(report.Grid, "Grid: Fine");
    EXPECT_EQ(report.Selected, "1 selected");
    EXPECT_EQ(report.Stones, "1 stone");

    hand.Pending().Add(StoneInUnits('B', 0, 0, 0, 20, 20, 20));
    hand.Pending().Add(StoneInUnits('B', 20, 0, 0, 20, 20, 20));
    hand.MakeProxy(TSubassemblyBox{0, 0, 0, 40, 20, 20, false});
    hand.Mode = THandMode::hmMove;
    report = ReportStatus(hand, model, 0);
    EXPECT_EQ(report.Hand, "2 stones, 2 x 1 x 3");
    EXPECT_EQ(report.Mode, "Moving");

    EXPECT_EQ(DescribeStone(*taken("4x2x3|Brick")), "Brick (4x2x3)");
    EXPECT_EQ(DescribeStone(*taken("4x2x3")), "4x2x3");
}
