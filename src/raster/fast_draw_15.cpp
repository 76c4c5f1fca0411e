#include "raster/fast_draw_15.h"

#include "raster/span_fill.h"

namespace {

template <uint16_t Mask> inline uint16_t Blend(uint16_t half, uint16_t old) {
    return static_cast<uint16_t>((half + (old & Mask)) >> 1);
}

} // namespace

TFastDraw15::TFastDraw15(TBitmap& bitmap, bool layout565, const TPictureBand& held)
    : TFastDrawOf(bitmap, held) {
    FLayout565 = layout565;
    FSpanOp = &WriteSpan;
    FPixelOp = &WritePixel;
    PrepareRows();
}

void TFastDraw15::PrepareRows() {
    PrepareRowsOf(sizeof(uint16_t));
}

uint16_t TFastDraw15::PixelValue(TColor color, bool layout565) {
    const TColor rgb = ColorToRGB(color);
    const unsigned r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
    if (layout565)
        return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
    return static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
}

void TFastDraw15::WriteSpan(uint16_t* row, int x1, int x2, uint16_t pixel) {
    FillPixels(row + x1, x2 - x1 + 1, pixel);
}

void TFastDraw15::BlendSpan555(uint16_t* row, int x1, int x2, uint16_t pixel) {
    MixPixels(row + x1, x2 - x1 + 1, pixel, BlendMask555);
}

void TFastDraw15::BlendSpan565(uint16_t* row, int x1, int x2, uint16_t pixel) {
    MixPixels(row + x1, x2 - x1 + 1, pixel, BlendMask565);
}

void TFastDraw15::WritePixel(uint16_t* target, uint16_t pixel) {
    *target = pixel;
}

void TFastDraw15::BlendPixel555(uint16_t* target, uint16_t pixel) {
    *target = Blend<BlendMask555>(pixel & BlendMask555, *target);
}

void TFastDraw15::BlendPixel565(uint16_t* target, uint16_t pixel) {
    *target = Blend<BlendMask565>(pixel & BlendMask565, *target);
}

void TFastDraw15::DrawSegment(const TPoint& from, const TPoint& to, TPoint& clippedEnd) {
    // The pixel operation picks the loop, so the loop itself makes no call per pixel.
    if (FPixelOp == &BlendPixel555) {
        const uint16_t half = FPenPixel & BlendMask555;
        StepSegment<uint16_t>(from, to, clippedEnd,
                              [half](uint16_t* p) { *p = Blend<BlendMask555>(half, *p); });
    } else if (FPixelOp == &BlendPixel565) {
        const uint16_t half = FPenPixel & BlendMask565;
        StepSegment<uint16_t>(from, to, clippedEnd,
                              [half](uint16_t* p) { *p = Blend<BlendMask565>(half, *p); });
    } else {
        const uint16_t pixel = FPenPixel;
        StepSegment<uint16_t>(from, to, clippedEnd, [pixel](uint16_t* p) { *p = pixel; });
    }
}

void TFastDraw15::DrawChainInside(const TPoint* points, int high, bool closed) {
    auto chain = [&](auto plot) {
        for (int i = 0; i < high; ++i)
            StepInside<uint16_t>(points[i], points[i + 1], plot);
        if (closed)
            StepInside<uint16_t>(points[high], points[0], plot);
    };
    if (FPixelOp == &BlendPixel555) {
        const uint16_t half = FPenPixel & BlendMask555;
        chain([half](uint16_t* p) { *p = Blend<BlendMask555>(half, *p); });
    } else if (FPixelOp == &BlendPixel565) {
        const uint16_t half = FPenPixel & BlendMask565;
        chain([half](uint16_t* p) { *p = Blend<BlendMask565>(half, *p); });
    } else {
        const uint16_t pixel = FPenPixel;
        chain([pixel](uint16_t* p) { *p = pixel; });
    }
}

void TFastDraw15::Polygon(const TPoint* points, int high) {
    TakePenColor();
    FBrushPixel = PixelValue(FCanvas.Brush.Color, FLayout565);
    const TBrushStyle style = FCanvas.Brush.Style;
    if (style == bsDiagCross) {
        FSpanOp = FLayout565 ? &BlendSpan565 : &BlendSpan555;
        FPixelOp = FLayout565 ? &BlendPixel565 : &BlendPixel555;
    } else {
        FSpanOp = &WriteSpan;
        FPixelOp = &WritePixel;
    }
    if (points == nullptr || high < 0)
        return;
    if (high >= 2 && style != bsClear) {
        // The span operation picks the fill loop, with the span code inlined into it.
        void* const* rows = FRows.data();
        const uint16_t brush = FBrushPixel;
        if (FSpanOp == &WriteSpan) {
            Fill(points, high + 1, [rows, brush](int y, int x1, int x2) {
                FillPixels(static_cast<uint16_t*>(rows[y]) + x1, x2 - x1 + 1, brush);
            });
        } else {
            const uint16_t mask = FSpanOp == &BlendSpan565 ? BlendMask565 : BlendMask555;
            Fill(points, high + 1, [rows, brush, mask](int y, int x1, int x2) {
                MixPixels(static_cast<uint16_t*>(rows[y]) + x1, x2 - x1 + 1, brush, mask);
            });
        }
    }
    DrawChain(points, high, true);
    FCanvas.PenPos = points[high];
}
