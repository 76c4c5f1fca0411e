// Recorded drawing played back in bands against the same drawing done at
// once: random runs of the rasteriser's operations and the canvas's ellipses,
// recorded in parts cut at random places, linked, and drawn in random bands
// of rows.

#include "raster/display_list.h"
#include "raster/draw_object.h"
#include "raster/fast_draw_32.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>

namespace {

// One operation on a draw object, with its colours and style.
using TOperation = std::function<void(TDrawObject&)>;

TOperation RandomOperation(std::mt19937& random, int w, int h) {
    auto between = [&](int lo, int hi) {
        return lo + static_cast<int>(random() % static_cast<unsigned>(hi - lo + 1));
    };
    auto point = [&] {
        return between(0, 9) == 0 ? TPoint{between(-5000, 5000), between(-5000, 5000)}
                                  : TPoint{between(-8, w + 8), between(-8, h + 8)};
    };
    const TColor pen = RGB(between(0, 255), between(0, 255), between(0, 255));
    const TColor brush = RGB(between(0, 255), between(0, 255), between(0, 255));
    const TBrushStyle styles[] = {bsSolid, bsClear, bsDiagCross};
    const TBrushStyle style = styles[between(0, 2)];
    std::vector<TPoint> points(static_cast<size_t>(between(1, 6)));
    for (TPoint& p : points)
        p = point();
    const TPoint a = point(), b = point();
    const int kind = between(0, 7);
    return [=](TDrawObject& d) {
        TCanvas& c = d.Canvas();
        c.Pen.Color = pen;
        c.Brush.Color = brush;
        c.Brush.Style = style;
        const int high = static_cast<int>(points.size()) - 1;
        switch (kind) {
        case 0:
        case 1:
            d.Polygon(points.data(), high);
            break;
        case 2:
            d.Polyline(points.data(), high);
            break;
        case 3:
            d.Line(a.x, a.y, b.x, b.y);
            break;
        case 4:
            d.MoveTo(a.x, a.y);
            break;
        case 5:
            d.LineTo(a.x, a.y);
            break;
        case 6:
            d.Rectangle(a.x, a.y, b.x, b.y);
            break;
        default: // drawn by the canvas, also in the first and last rows
            d.Ellipse(a.x, a.y, b.x, b.y);
            break;
        }
    };
}

} // namespace

TEST(DisplayList, PartsLinkedAndBandsReplayedDrawThePictureDrawnAtOnce) {
    std::mt19937 random(909);
    for (int round = 0; round < 3000; ++round) {
        const int w = 5 + static_cast<int>(random() % 60), h = 5 + static_cast<int>(random() % 50);
        std::vector<TOperation> operations;
        for (int i = 0, n = 1 + static_cast<int>(random() % 40); i < n; ++i)
            operations.push_back(RandomOperation(random, w, h));
        const TPoint startPen{static_cast<int>(random() % 20), static_cast<int>(random() % 20)};

        TBitmap direct(w, h, pf32bit), replayed(w, h, pf32bit);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t pixel = random();
                SetRawPixel(direct, x, y, pixel);
                SetRawPixel(replayed, x, y, pixel);
            }
        {
            direct.Canvas().PenPos = startPen;
            TDrawObject d(direct);
            for (const TOperation& op : operations)
                op(d);
        }

        // The same operations recorded in parts cut at random places.
        const int partCount = 1 + static_cast<int>(random() % 4);
        std::vector<TDisplayList> lists(static_cast<size_t>(partCount));
        std::vector<size_t> cuts{0};
        for (int i = 1; i < partCount; ++i)
            cuts.push_back(random() % (operations.size() + 1));
        cuts.push_back(operations.size());
        std::sort(cuts.begin(), cuts.end());
        std::vector<TDisplayList*> parts;
        for (int part = 0; part < partCount; ++part) {
            TBitmap holder(1, 1, pf32bit);
            holder.Canvas().PenPos = TPoint{-77, 77}; // not the pen the part takes over
            TDisplayList& list = lists[static_cast<size_t>(part)];
            TDrawObject d(holder, std::make_unique<TDisplayRecorder>(holder, w, h, list));
            for (size_t i = cuts[static_cast<size_t>(part)]; i < cuts[static_cast<size_t>(part) + 1]; ++i)
                operations[i](d);
            parts.push_back(&list);
        }
        EXPECT_EQ(LinkParts(parts, false, startPen), direct.Canvas().PenPos) << "round " << round;

        // Replayed in bands of random heights, each on its own.
        int top = 1;
        while (top <= h - 2) {
            TFastDraw32 band(replayed);
            band.BandTop = top;
            band.BandBottom = std::min(h - 2, top + static_cast<int>(random() % 12));
            ReplayParts(parts, band);
            top = band.BandBottom + 1;
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(RawPixel(replayed, x, y), RawPixel(direct, x, y))
                    << "round " << round << " pixel " << x << "," << y;
    }
}

TEST(DisplayList, ABitmapHoldingABandOfAPictureGetsTheRowsOfThePictureDrawnWhole) {
    // Drawn there in the picture's coordinates, directly (the canvas's
    // ellipses through its origin) and from a recording.
    std::mt19937 random(2024);
    for (int round = 0; round < 1500; ++round) {
        const int w = 5 + static_cast<int>(random() % 60), h = 5 + static_cast<int>(random() % 50);
        std::vector<TOperation> operations;
        for (int i = 0, n = 1 + static_cast<int>(random() % 40); i < n; ++i)
            operations.push_back(RandomOperation(random, w, h));
        const TPoint startPen{static_cast<int>(random() % 20), static_cast<int>(random() % 20)};
        TBitmap whole(w, h, pf32bit);
        FillRaw(whole, 0x00FFFFFF);
        whole.Canvas().PenPos = startPen;
        {
            TDrawObject d(whole);
            for (const TOperation& op : operations)
                op(d);
        }
        TDisplayList list;
        {
            TBitmap holder(1, 1, pf32bit);
            TDrawObject d(holder, std::make_unique<TDisplayRecorder>(holder, w, h, list));
            for (const TOperation& op : operations)
                op(d);
        }
        LinkParts({&list}, false, startPen);

        for (int top = 0; top < h;) {
            const int rows = 2 + static_cast<int>(random() % 12);
            const TPictureBand held{top, h};
            TBitmap direct(w, rows, pf32bit), replayed(w, rows, pf32bit);
            FillRaw(direct, 0x00FFFFFF);
            FillRaw(replayed, 0x00FFFFFF);
            direct.Canvas().PenPos = startPen;
            {
                TDrawObject d(direct, held);
                for (const TOperation& op : operations)
                    op(d);
            }
            TFastDraw32 rasteriser(replayed, held);
            ReplayParts({&list}, rasteriser);
            for (int y = top; y < std::min(top + rows, h); ++y)
                for (int x = 0; x < w; ++x) {
                    ASSERT_EQ(RawPixel(direct, x, y - top), RawPixel(whole, x, y))
                        << "round " << round << " pixel " << x << "," << y << " of the band from " << top;
                    ASSERT_EQ(RawPixel(replayed, x, y - top), RawPixel(whole, x, y))
                        << "round " << round << " pixel " << x << "," << y << " replayed from " << top;
                }
            EXPECT_EQ(direct.Canvas().PenPos, whole.Canvas().PenPos) << "round " << round;
            top += rows;
        }
    }
}
