// The rasteriser's ellipses against the canvas's, byte for byte: every small
// size, boxes crossing each edge of the picture, huge boxes mostly outside it,
// empty and see-through brushes, and a band drawn on its own.

#include "raster/draw_object.h"
#include "raster/fast_draw_32.h"
#include "raster_test_support.h"

#include <cstring>
#include <gtest/gtest.h>
#include <random>

namespace {

bool SameBytes(TBitmap& a, TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<size_t>(a.Width()) * 4) != 0)
            return false;
    return true;
}

struct TEllipseCase {
    int X1, Y1, X2, Y2;
    TBrushStyle Style;
};

// Draws the case on a fresh picture through the canvas and through the rasteriser.
void ExpectLikeTheCanvas(const TEllipseCase& e, int width, int height) {
    TBitmap byCanvas(width, height, pf32bit), byRasteriser(width, height, pf32bit);
    for (TBitmap* b : {&byCanvas, &byRasteriser}) {
        FillRaw(*b, 0x00FFFFFF);
        b->Canvas().Pen.Color = RGB(16, 32, 48);
        b->Canvas().Brush.Color = RGB(64, 80, 96);
        b->Canvas().Brush.Style = e.Style;
    }
    byCanvas.Canvas().Ellipse(e.X1, e.Y1, e.X2, e.Y2);
    byCanvas.Canvas().Refresh();
    {
        TDrawObject d(byRasteriser);
        d.Ellipse(e.X1, e.Y1, e.X2, e.Y2);
    }
    byRasteriser.Canvas().Refresh();
    EXPECT_TRUE(SameBytes(byCanvas, byRasteriser))
        << "box " << e.X1 << "," << e.Y1 << " - " << e.X2 << "," << e.Y2 << " style " << e.Style;
}

} // namespace

TEST(Ellipse, TheRasteriserPaintsTheCanvasPixels) {
    // Every box up to 40 by 40, inside and across the top left and bottom right corners.
    for (int w = 0; w <= 40; ++w)
        for (int h = 0; h <= 40; ++h) {
            ExpectLikeTheCanvas({3, 2, 3 + w, 2 + h, bsSolid}, 48, 46);
            ExpectLikeTheCanvas({-w / 2, 30 - h / 3, w / 2, 30 + 2 * h / 3, bsSolid}, 40, 36);
            ExpectLikeTheCanvas({40 - w / 3, -h / 2, 40 + 2 * w / 3, h / 2, bsClear}, 44, 30);
            if (::testing::Test::HasFailure())
                return;
        }
    // Corners in either order, hatched brushes (left to the canvas), and
    // boxes of every size up to beyond the largest stepped, placed at random
    // so that some part lies in the picture.
    ExpectLikeTheCanvas({30, 25, 4, 3, bsSolid}, 40, 30);
    ExpectLikeTheCanvas({2, 3, 30, 25, bsDiagCross}, 40, 30);
    std::mt19937 random(11);
    for (int limit : {300, 5000, 70000, 100000}) {
        for (int round = 0; round < 60; ++round) {
            const int w = static_cast<int>(random() % static_cast<unsigned>(limit));
            const int h = static_cast<int>(random() % static_cast<unsigned>(limit));
            const int x = static_cast<int>(random() % 90) - static_cast<int>(random() % static_cast<unsigned>(w + 1));
            const int y = static_cast<int>(random() % 70) - static_cast<int>(random() % static_cast<unsigned>(h + 1));
            ExpectLikeTheCanvas({x, y, x + w, y + h, random() % 4 == 0 ? bsClear : bsSolid}, 90, 70);
        }
    }
}

TEST(Ellipse, ABandGetsTheRowsOfTheWholePicture) {
    TBitmap whole(60, 50, pf32bit), banded(60, 50, pf32bit);
    FillRaw(whole, 0x00FFFFFF);
    FillRaw(banded, 0x00FFFFFF);
    TFastDraw32 all(whole), band(banded);
    EXPECT_TRUE(all.EllipseWith(-5, 4, 50, 47, RGB(1, 2, 3), RGB(200, 100, 50), bsSolid, all.CanvasTop(),
                                all.CanvasBottom()));
    // Three bands: the first and the last take in the picture's top and bottom rows.
    for (auto [top, bottom] : {std::pair{1, 17}, std::pair{18, 30}, std::pair{31, 48}}) {
        band.BandTop = top;
        band.BandBottom = bottom;
        EXPECT_TRUE(band.EllipseWith(-5, 4, 50, 47, RGB(1, 2, 3), RGB(200, 100, 50), bsSolid, band.CanvasTop(),
                                     band.CanvasBottom()));
    }
    EXPECT_TRUE(SameBytes(whole, banded));
    EXPECT_FALSE(all.EllipseWith(0, 0, 20, 20, 0, 0, bsDiagCross, 0, 49));
}
