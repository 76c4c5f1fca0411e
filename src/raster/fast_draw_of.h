#pragma once
// What the 16- and 32-bit rasterisers share: the pen and brush pixel values,
// the chosen span and pixel operations, and lines and chains of segments. The
// pixel type and the colour conversion come from the derived rasteriser, which
// also steps each clipped segment with its own pixel operations.

#include "raster/fast_draw.h"

template <class TPixel, class TDerived> class TFastDrawOf : public TFastDraw {
public:
    // Fills row[x1 .. x2] with a pixel value.
    using TSpanOp = void (*)(TPixel* row, int x1, int x2, TPixel pixel);
    // Puts a pixel value onto one pixel.
    using TPixelOp = void (*)(TPixel* target, TPixel pixel);

    void Segment(const TPoint& from, const TPoint& to) override {
        TakePenColor();
        TPoint end;
        Self().DrawSegment(from, to, end);
    }

    void Line(int x1, int y1, int x2, int y2) override {
        TakePenColor();
        TPoint end;
        Self().DrawSegment(TPoint{x1, y1}, TPoint{x2, y2}, end);
        FCanvas.PenPos = end;
    }

    void Polyline(const TPoint* points, int high) override {
        if (points == nullptr || high < 0)
            return;
        TakePenColor();
        DrawChain(points, high, false);
        FCanvas.PenPos = points[high];
    }

    void ClosedPolyline(const TPoint* points, int high) override {
        if (points == nullptr || high < 0)
            return;
        TakePenColor();
        DrawChain(points, high, true);
        FCanvas.PenPos = points[0];
    }

protected:
    TFastDrawOf(TBitmap& bitmap, const TPictureBand& held) : TFastDraw(bitmap, held) {}

    // The canvas's pen colour as a pixel value, converted once per call.
    void TakePenColor() { FPenPixel = Self().PixelOf(FCanvas.Pen.Color); }

    void DrawChain(const TPoint* points, int high, bool closed) {
        if (AllInside(points, high + 1)) {
            Self().DrawChainInside(points, high, closed);
            return;
        }
        TPoint end;
        for (int i = 0; i < high; ++i)
            Self().DrawSegment(points[i], points[i + 1], end);
        if (closed)
            Self().DrawSegment(points[high], points[0], end);
    }

    TPixel FPenPixel = 0;
    TPixel FBrushPixel = 0;
    TSpanOp FSpanOp = nullptr;
    TPixelOp FPixelOp = nullptr;

private:
    TDerived& Self() { return static_cast<TDerived&>(*this); }
};
