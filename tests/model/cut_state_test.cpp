#include <gtest/gtest.h>

#include <memory>

#include "model/block.h"
#include "model/block_factory.h"
#include "model/cut_state.h"
#include "test_stones.h"

namespace {
std::unique_ptr<TBlock> Box(int32_t x, int32_t y, int32_t z, int32_t l, int32_t w, int32_t h) {
    return StoneInUnits('B', x, y, z, l, w, h);
}
} // namespace

TEST(CutState, HiddenDialogTestsOnlyHeight) {
    TCutState cut;
    auto far = Box(-50000, 50000, -19999, 20, 20, 19999 + 19999);
    EXPECT_TRUE(InCut(*far, cut)); // open limits: everything passes
    // Open limits pass every stone the model can hold, however tall or far.
    auto tall = Box(0, 0, -19999, 20, 20, 39999);
    EXPECT_TRUE(InCut(*tall, cut));
    for (const int32_t place : {-kLargestCoordinate, 0, kLargestCoordinate}) {
        auto largest = Box(place, place, place, kLargestCoordinate, kLargestCoordinate, kLargestCoordinate);
        EXPECT_TRUE(InCut(*largest, cut)) << place;
    }
    cut.DialogShown = true;
    EXPECT_TRUE(InCut(*Box(kLargestCoordinate, -kLargestCoordinate, kLargestCoordinate, kLargestCoordinate,
                           kLargestCoordinate, kLargestCoordinate),
                      cut));
    cut.DialogShown = false;
    // Primed to a model's box at start-up: a stone above the top fails.
    cut.ZLow = 0;
    cut.ZHigh = 26;
    EXPECT_TRUE(InCut(*Box(0, 0, 6, 20, 20, 20), cut));
    EXPECT_FALSE(InCut(*Box(0, 0, 7, 20, 20, 20), cut));
    EXPECT_FALSE(InCut(*Box(0, 0, -1, 20, 20, 20), cut));
    auto s = Box(0, 0, 0, 20, 20, 40);
    s->Cut = true;
    InCut(*s, cut);
    EXPECT_FALSE(s->Cut); // the hidden dialog never sets the flag
}

TEST(CutState, ShownDialogContainmentAndOverlap) {
    TCutState cut;
    cut.DialogShown = true;
    cut.XLow = 0, cut.XHigh = 100, cut.YLow = 0, cut.YHigh = 100, cut.ZLow = 0, cut.ZHigh = 13;
    auto inside = Box(0, 0, 0, 100, 100, 13);
    auto touching = Box(-20, 0, 0, 20, 20, 13); // x + L = x low
    auto tall = Box(0, 0, 0, 20, 20, 20);
    EXPECT_TRUE(InCut(*inside, cut));
    EXPECT_FALSE(InCut(*touching, cut));
    EXPECT_FALSE(InCut(*tall, cut));
    EXPECT_FALSE(tall->Cut);

    cut.IncludeAll = true;
    EXPECT_FALSE(InCut(*touching, cut)); // touching is no overlap
    EXPECT_TRUE(InCut(*tall, cut));
    EXPECT_TRUE(tall->Cut);
    EXPECT_TRUE(InCut(*inside, cut));
    EXPECT_FALSE(inside->Cut);
    auto above = Box(0, 0, 13, 20, 20, 20); // above the box: fails, but is marked cut
    EXPECT_FALSE(InCut(*above, cut));
    EXPECT_TRUE(above->Cut);
    auto flat = Box(10, 10, 5, 20, 20, 0); // no volume, but inside the range
    EXPECT_TRUE(InCut(*flat, cut));
}
