// Exact pixels of the rasteriser on small bitmaps, for each of its formats.

#include "raster/draw_object.h"
#include "raster/fast_draw.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

using Rows = std::vector<std::string>;

// A 10 x 8 white bitmap (clip box 1 .. 9 across, 1 .. 6 down) with a draw object,
// a blue pen and a red brush.
class FastDrawTest : public ::testing::TestWithParam<TPixelFormat> {
protected:
    const TPixelFormat Pf = GetParam();
    TBitmap B{10, 8, GetParam()};
    std::unique_ptr<TDrawObject> D;
    const uint32_t White = PixelOf(Pf, clWhite);
    const uint32_t PenPixel = PixelOf(Pf, clBlue);
    const uint32_t BrushPixel = PixelOf(Pf, clRed);

    void SetUp() override {
        FillRaw(B, White);
        D = std::make_unique<TDrawObject>(B);
        C().Pen.Color = clBlue;
        C().Brush.Color = clRed;
        C().Brush.Style = bsSolid;
    }
    TCanvas& C() { return D->Canvas(); }
    TFastDraw& F() { return *D->FastDraw(); }
    Rows Pic() { return Picture(B, {{White, '.'}, {PenPixel, '#'}, {BrushPixel, 'o'}}); }
    // Pen and brush black, mixing: the picture then shows how often each pixel was drawn.
    void UseMixing() {
        C().Pen.Color = clBlack;
        C().Brush.Color = clBlack;
        C().Brush.Style = bsDiagCross;
    }
    Rows Mixes() { return MixCounts(B, PixelOf(Pf, clBlack), White); }
};

std::string FormatTestName(const ::testing::TestParamInfo<TPixelFormat>& info) {
    return FormatName(info.param);
}

INSTANTIATE_TEST_SUITE_P(Formats, FastDrawTest, ::testing::Values(pf15bit, pf16bit, pf32bit), FormatTestName);

} // namespace

TEST_P(FastDrawTest, ClipBoxLeavesOutFirstColumnFirstRowAndLastRow) {
    EXPECT_EQ(F().Left, 1);
    EXPECT_EQ(F().Top, 1);
    EXPECT_EQ(F().Right, 9);
    EXPECT_EQ(F().Bottom, 6);
    const auto* row0 = static_cast<const uint8_t*>(B.ScanLine(0));
    const auto* row1 = static_cast<const uint8_t*>(B.ScanLine(1));
    EXPECT_EQ(F().Pitch(), (row1 - row0) / BytesPerPixel(Pf));
    EXPECT_GE(F().Pitch(), 10);
}

TEST_P(FastDrawTest, HorizontalLinesAreClippedToTheBox) {
    D->Line(-5, 3, 20, 3);
    EXPECT_EQ(C().PenPos, Point(9, 3)); // the end as clipped
    D->Line(2, -3, 8, 0);               // wholly above
    D->Line(-4, 5, 0, 5);               // wholly left
    D->Line(3, 7, 9, 7);                // on the bottom row
    EXPECT_EQ(Pic(), (Rows{"..........", "..........", "..........", ".#########", "..........", "..........",
                           "..........", ".........."}));
}

TEST_P(FastDrawTest, LinesStepByBresenhamWithBothEndsIncluded) {
    D->Line(1, 1, 8, 4); // x-major
    D->Line(2, 6, 4, 1); // y-major, upwards
    EXPECT_EQ(C().PenPos, Point(4, 1));
    EXPECT_EQ(Pic(), (Rows{"..........", ".##.#.....", "...##.....", "...#.##...", "...#...##.", "..#.......",
                           "..#.......", ".........."}));
}

TEST_P(FastDrawTest, LineDirectionDecidesTheMiddlePixels) {
    UseMixing();
    const TPoint twoPoints[] = {{2, 2}, {6, 4}};
    D->Polygon(twoPoints, 1); // outlined there and back, not filled
    EXPECT_EQ(Mixes(), (Rows{"0000000000", "0000000000", "0021000000", "0001210000", "0000012000",
                             "0000000000", "0000000000", "0000000000"}));
    EXPECT_EQ(C().PenPos, Point(6, 4));
}

TEST_P(FastDrawTest, LinesAreClippedAlongTheirSlope) {
    D->Line(-2, 0, 6, 8); // enters at the left edge, leaves through the bottom row
    EXPECT_EQ(C().PenPos, Point(4, 6));
    D->Line(9, 0, 9, 7); // the rightmost column is written
    D->Line(0, 0, 0, 7); // the first column is not
    D->Line(0, 0, 9, 0); // nor the first row
    D->Line(0, 7, 9, 7); // nor the last
    EXPECT_EQ(Pic(), (Rows{"..........", ".........#", ".........#", ".#.......#", "..#......#", "...#.....#",
                           "....#....#", ".........."}));
}

TEST_P(FastDrawTest, LineWhoseClippedEndFallsBehindItsStartStopsAtTheBox) {
    // Clipping the far end first to Right then to Top moves it far behind the
    // start; the line still ends at the box.
    D->Line(5, 1, 10000, 0);
    EXPECT_EQ(C().PenPos, Point(-9986, 1));
    EXPECT_EQ(Pic(), (Rows{"..........", ".....#####", "..........", "..........", "..........", "..........",
                           "..........", ".........."}));
}

TEST_P(FastDrawTest, PolygonIsFilledThenOutlined) {
    D->Rectangle(2, 2, 6, 5);
    EXPECT_EQ(C().PenPos, Point(6, 2));
    EXPECT_EQ(Pic(), (Rows{"..........", "..........", "..#####...", "..#ooo#...", "..#ooo#...", "..#####...",
                           "..........", ".........."}));
    // Each span includes both its ends; the bottom row is only outlined; the
    // outline's corners are drawn by both of their segments.
    SetUp();
    UseMixing();
    D->Rectangle(2, 2, 6, 5);
    EXPECT_EQ(Mixes(), (Rows{"0000000000", "0000000000", "0032223000", "0021112000", "0021112000",
                             "0021112000", "0000000000", "0000000000"}));
}

TEST_P(FastDrawTest, ClearBrushOnlyOutlines) {
    C().Brush.Style = bsClear;
    D->Rectangle(2, 2, 6, 5);
    const TPoint triangle[] = {{7, 1}, {9, 6}, {7, 6}};
    D->Polygon(triangle, 2);
    EXPECT_EQ(Pic(), (Rows{"..........", ".......#..", "..######..", "..#...###.", "..#...###.", "..######.#",
                           ".......###", ".........."}));
}

TEST_P(FastDrawTest, TriangleWithItsTopAboveTheBoxStartsAtTheFirstRow) {
    UseMixing();
    const TPoint triangle[] = {{5, -4}, {9, 6}, {1, 6}};
    D->Polygon(triangle, 2);
    EXPECT_EQ(Mixes(), (Rows{"0000000000", "0002111200", "0002111200", "0011111110", "0021111120",
                             "0111111111", "0211111112", "0000000000"}));
    EXPECT_EQ(C().PenPos, Point(1, 6));
}

TEST_P(FastDrawTest, PolygonsLeavingTheBoxOnEverySideAreClipped) {
    UseMixing();
    const TPoint diamond[] = {{5, -6}, {16, 3}, {5, 12}, {-6, 3}};
    D->Polygon(diamond, 3);
    EXPECT_EQ(Mixes(), (Rows{"0000000000", "0111111111", "0111111111", "0111111111", "0111111111",
                             "0111111111", "0111111111", "0000000000"}));
    SetUp();
    UseMixing();
    D->Rectangle(-3, 2, 14, 4); // out left and right
    D->Rectangle(3, -3, 6, 12); // out top and bottom
    EXPECT_EQ(Mixes(), (Rows{"0000000000", "0002112000", "0224334222", "0113223111", "0113223111",
                             "0002112000", "0002112000", "0000000000"}));
}

TEST_P(FastDrawTest, PolygonsSharingAnEdgeEachFillIt) {
    UseMixing();
    const TPoint left[] = {{-3, -3}, {5, -3}, {5, 12}, {-3, 12}};
    const TPoint right[] = {{5, -3}, {14, -3}, {14, 12}, {5, 12}};
    D->Polygon(left, 3);
    D->Polygon(right, 3);
    // The shared column: filled by both and outlined by both.
    EXPECT_EQ(Mixes(), (Rows{"0000000000", "0111141111", "0111141111", "0111141111", "0111141111",
                             "0111141111", "0111141111", "0000000000"}));
}

TEST_P(FastDrawTest, DegeneratePolygonsAreOnlyOutlined) {
    UseMixing();
    const TPoint point[] = {{3, 3}};
    D->Polygon(point, 0);
    EXPECT_EQ(C().PenPos, Point(3, 3));
    D->Polygon(point, -1); // no points: nothing, the pen stays
    EXPECT_EQ(C().PenPos, Point(3, 3));
    const TPoint level[] = {{2, 5}, {5, 5}, {8, 5}};
    D->Polygon(level, 2);
    EXPECT_EQ(Mixes(), (Rows{"0000000000", "0000000000", "0000000000", "0001000000", "0000000000",
                             "0022232220", "0000000000", "0000000000"}));
    SetUp();
    UseMixing();
    const TPoint collinear[] = {{1, 1}, {4, 4}, {7, 7}};
    D->Polygon(collinear, 2);
    EXPECT_EQ(Mixes(), (Rows{"0000000000", "0300000000", "0030000000", "0003000000", "0000400000",
                             "0000030000", "0000003000", "0000000000"}));
}

TEST_P(FastDrawTest, MixingHalvesEveryChannelWithItsLowBitDropped) {
    const TColor c = RGB(100, 51, 200);
    uint32_t overWhite, overBlack, overColor;
    if (Pf == pf32bit) {
        overWhite = 0xB198E3; // (254 + 100) / 2, (254 + 50) / 2, (254 + 200) / 2
        overBlack = 0x321964;
        overColor = 0x3A2A86; // over RGB(17, 34, 68): (100 + 16) / 2, (50 + 34) / 2, (200 + 68) / 2
    } else if (Pf == pf16bit) {
        overWhite = 21 << 11 | 37 << 5 | 27; // 5-6-5: (30 + 12) / 2, (62 + 12) / 2, (30 + 24) / 2
        overBlack = 6 << 11 | 6 << 5 | 12;
        overColor = 7 << 11 | 10 << 5 | 16; // over (2, 8, 8): (12 + 2) / 2, (12 + 8) / 2, (24 + 8) / 2
    } else {
        overWhite = 21 << 10 | 18 << 5 | 27; // 5-5-5: (30 + 12) / 2, (30 + 6) / 2, (30 + 24) / 2
        overBlack = 6 << 10 | 3 << 5 | 12;
        overColor = 7 << 10 | 5 << 5 | 16; // over (2, 4, 8): (12 + 2) / 2, (6 + 4) / 2, (24 + 8) / 2
    }
    C().Brush.Color = c;
    C().Brush.Style = bsDiagCross;
    SetRawPixel(B, 4, 3, 0);
    SetRawPixel(B, 5, 3, PixelOf(Pf, RGB(17, 34, 68)));
    D->Rectangle(2, 2, 7, 6);
    EXPECT_EQ(RawPixel(B, 3, 3), overWhite);
    EXPECT_EQ(RawPixel(B, 4, 3), overBlack);
    EXPECT_EQ(RawPixel(B, 5, 3), overColor);
}

TEST_P(FastDrawTest, LinesUseThePixelOperationOfTheLastPolygon) {
    const TPoint outside[] = {{-5, -5}, {-2, -5}, {-2, -2}};
    C().Pen.Color = clBlack;
    D->Line(1, 1, 3, 1); // before any polygon: written
    C().Brush.Style = bsDiagCross;
    D->Polygon(outside, 2);
    D->Line(1, 2, 3, 2); // mixed
    D->MoveTo(1, 3);
    D->LineTo(3, 3); // mixed
    C().Brush.Style = bsClear;
    D->Polygon(outside, 2);
    D->Line(1, 4, 3, 4); // written
    C().Brush.Style = bsDiagCross;
    D->Polygon(outside, 2);
    C().Brush.Style = bsSolid; // the brush alone does not change the operation
    const TPoint chain[] = {{1, 5}, {3, 5}};
    D->Polyline(chain, 1);
    D->Polygon(outside, 2);
    D->Line(1, 6, 3, 6); // written
    const uint32_t black = PixelOf(Pf, clBlack), mixed = MixOf(Pf, black, White);
    EXPECT_EQ(Picture(B, {{White, '.'}, {black, '#'}, {mixed, 'x'}}),
              (Rows{"..........", ".###......", ".xxx......", ".xxx......", ".###......", ".xxx......",
                    ".###......", ".........."}));
}

TEST_P(FastDrawTest, PenPositionAfterEachOperation) {
    const TPoint three[] = {{2, 2}, {5, 3}, {3, 6}};
    D->MoveTo(7, 7);
    EXPECT_EQ(C().PenPos, Point(7, 7));
    F().Segment(three[0], three[1]);
    EXPECT_EQ(C().PenPos, Point(7, 7));
    D->Polyline(three, 2);
    EXPECT_EQ(C().PenPos, Point(3, 6));
    F().ClosedPolyline(three, 2);
    EXPECT_EQ(C().PenPos, Point(2, 2));
    D->Polygon(three, 2);
    EXPECT_EQ(C().PenPos, Point(3, 6));
    D->LineTo(8, 1);
    EXPECT_EQ(C().PenPos, Point(8, 1));
    D->Line(3, 3, 3, 30);
    EXPECT_EQ(C().PenPos, Point(3, 6));
    D->Rectangle(1, 2, 3, 4);
    EXPECT_EQ(C().PenPos, Point(3, 2));
}

TEST_P(FastDrawTest, ColoursComeFromTheCanvasEachCall) {
    SetSystemColor(clBtnShadow, RGB(0, 0, 255));
    C().Pen.Color = clBtnShadow;
    D->Line(1, 1, 4, 1);
    C().Pen.Color = clRed;
    const TPoint chain[] = {{1, 2}, {4, 2}};
    D->Polyline(chain, 1);
    EXPECT_EQ(Pic()[1], ".####.....");
    EXPECT_EQ(Pic()[2], ".oooo.....");
}

TEST_P(FastDrawTest, HugeCoordinatesAreClippedWithoutHarm) {
    const TPoint huge[] = {{-2000000000, -2000000000},
                           {2000000000, -1999999999},
                           {2000000000, 2000000000},
                           {-1999999993, 2000000000}};
    D->Polygon(huge, 3);
    EXPECT_EQ(Pic(), (Rows{"..........", ".ooooooooo", ".ooooooooo", ".ooooooooo", ".ooooooooo", ".ooooooooo",
                           ".ooooooooo", ".........."}));
    SetUp();
    D->Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(C().PenPos, Point(6, 6));
    const TPoint spike[] = {{3, 3}, {INT_MAX, 4}, {INT_MIN, 5}};
    C().Pen.Color = clRed;
    D->Polygon(spike, 2);
    const Rows pic = Pic();
    EXPECT_EQ(pic[0], "..........");
    EXPECT_EQ(pic[7], "..........");
    EXPECT_EQ(pic[1], ".#........");
    EXPECT_EQ(pic[2], "..#.......");
    EXPECT_EQ(pic[4], ".ooooooooo");
    EXPECT_EQ(pic[6], "......#...");
}

TEST(FastDrawSmall, BitmapsWithoutRoomInTheBoxAreNeverWritten) {
    const int sizes[][2] = {{1, 1}, {2, 2}, {10, 2}, {1, 10}, {10, 1}};
    const TPoint all[] = {{-50, -50}, {50, -50}, {50, 50}, {-50, 50}};
    for (TPixelFormat pf : {pf15bit, pf16bit, pf32bit}) {
        for (const auto& size : sizes) {
            TBitmap b(size[0], size[1], pf);
            FillRaw(b, 0x1234);
            TDrawObject d(b);
            d.Canvas().Brush.Color = clWhite;
            d.Canvas().Pen.Color = clWhite;
            d.Polygon(all, 3);
            d.Line(-5, -5, 20, 20);
            d.Line(0, 0, 0, 9);
            d.Line(1, 0, 1, 9);
            d.Line(0, 1, 9, 1);
            for (int y = 0; y < b.Height(); ++y)
                for (int x = 0; x < b.Width(); ++x)
                    ASSERT_EQ(RawPixel(b, x, y), 0x1234u)
                        << size[0] << "x" << size[1] << " at " << x << "," << y;
        }
    }
}
