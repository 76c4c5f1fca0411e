#include "raster/fast_draw_32.h"

#include "raster/ellipse_spans.h"
#include "raster/span_fill.h"

TFastDraw32::TFastDraw32(TBitmap& bitmap, const TPictureBand& held) : TFastDrawOf(bitmap, held) {
    FSpanOp = &WriteSpan;
    FPixelOp = &WritePixel;
    PrepareRows();
}

void TFastDraw32::PrepareRows() {
    PrepareRowsOf(sizeof(uint32_t));
}

void TFastDraw32::WriteSpan(uint32_t* row, int x1, int x2, uint32_t pixel) {
    FillPixels(row + x1, x2 - x1 + 1, pixel);
}

void TFastDraw32::BlendSpan(uint32_t* row, int x1, int x2, uint32_t pixel) {
    MixPixels(row + x1, x2 - x1 + 1, pixel, BlendMask);
}

void TFastDraw32::WritePixel(uint32_t* target, uint32_t pixel) {
    *target = pixel;
}

void TFastDraw32::BlendPixel(uint32_t* target, uint32_t pixel) {
    *target = ((pixel & BlendMask) + (*target & BlendMask)) >> 1;
}

void TFastDraw32::DrawSegment(const TPoint& from, const TPoint& to, TPoint& clippedEnd) {
    // The pixel operation picks the loop, so the loop itself makes no call per pixel.
    if (FPixelOp == &BlendPixel) {
        const uint32_t half = FPenPixel & BlendMask;
        StepSegment<uint32_t>(from, to, clippedEnd,
                              [half](uint32_t* p) { *p = (half + (*p & BlendMask)) >> 1; });
    } else {
        const uint32_t pixel = FPenPixel;
        StepSegment<uint32_t>(from, to, clippedEnd, [pixel](uint32_t* p) { *p = pixel; });
    }
}

template <class PlotFunction>
void TFastDraw32::StepChainInside(const TPoint* points, int high, bool closed, PlotFunction plot) {
    for (int i = 0; i < high; ++i)
        StepInside<uint32_t>(points[i], points[i + 1], plot);
    if (closed)
        StepInside<uint32_t>(points[high], points[0], plot);
}

void TFastDraw32::DrawChainInside(const TPoint* points, int high, bool closed) {
    if (FPixelOp == &BlendPixel) {
        const uint32_t half = FPenPixel & BlendMask;
        StepChainInside(points, high, closed, [half](uint32_t* p) { *p = (half + (*p & BlendMask)) >> 1; });
    } else {
        const uint32_t pixel = FPenPixel;
        StepChainInside(points, high, closed, [pixel](uint32_t* p) { *p = pixel; });
    }
}

void TFastDraw32::Polygon(const TPoint* points, int high) {
    TakePenColor();
    FBrushPixel = PixelValue(FCanvas.Brush.Color);
    const TBrushStyle style = FCanvas.Brush.Style;
    if (style == bsDiagCross) {
        FSpanOp = &BlendSpan;
        FPixelOp = &BlendPixel;
    } else {
        FSpanOp = &WriteSpan;
        FPixelOp = &WritePixel;
    }
    if (points == nullptr || high < 0)
        return;
    if (high >= 2 && style != bsClear) {
        // The span operation picks the fill loop, with the span code inlined into it.
        void* const* rows = FRows.data();
        const uint32_t brush = FBrushPixel;
        if (FSpanOp == &BlendSpan)
            Fill(points, high + 1, [rows, brush](int y, int x1, int x2) {
                MixPixels(static_cast<uint32_t*>(rows[y]) + x1, x2 - x1 + 1, brush, BlendMask);
            });
        else
            Fill(points, high + 1, [rows, brush](int y, int x1, int x2) {
                FillPixels(static_cast<uint32_t*>(rows[y]) + x1, x2 - x1 + 1, brush);
            });
    }
    DrawChain(points, high, true);
    FCanvas.PenPos = points[high];
}

void TFastDraw32::FillWith(const TPoint* points, int count, uint32_t brush, bool blend) {
    void* const* rows = FRows.data();
    if (blend)
        Fill(points, count, [rows, brush](int y, int x1, int x2) {
            MixPixels(static_cast<uint32_t*>(rows[y]) + x1, x2 - x1 + 1, brush, BlendMask);
        });
    else
        Fill(points, count, [rows, brush](int y, int x1, int x2) {
            FillPixels(static_cast<uint32_t*>(rows[y]) + x1, x2 - x1 + 1, brush);
        });
}

void TFastDraw32::StrokeChainWith(const TPoint* points, int count, bool closed, uint32_t pen, bool blend) {
    if (count < 1)
        return;
    if (AllInside(points, count)) {
        if (blend) {
            const uint32_t half = pen & BlendMask;
            StepChainInside(points, count - 1, closed,
                            [half](uint32_t* p) { *p = (half + (*p & BlendMask)) >> 1; });
        } else {
            StepChainInside(points, count - 1, closed, [pen](uint32_t* p) { *p = pen; });
        }
        return;
    }
    for (int i = 0; i + 1 < count; ++i)
        StrokeWith(points[i], points[i + 1], pen, blend);
    if (closed)
        StrokeWith(points[count - 1], points[0], pen, blend);
}

void TFastDraw32::StrokeWith(const TPoint& from, const TPoint& to, uint32_t pen, bool blend) {
    TPoint end;
    if (blend) {
        const uint32_t half = pen & BlendMask;
        StepSegment<uint32_t>(from, to, end, [half](uint32_t* p) { *p = (half + (*p & BlendMask)) >> 1; });
    } else {
        StepSegment<uint32_t>(from, to, end, [pen](uint32_t* p) { *p = pen; });
    }
}

void TFastDraw32::Ellipse(int x1, int y1, int x2, int y2) {
    if (!EllipseWith(x1, y1, x2, y2, FCanvas.Pen.Color, FCanvas.Brush.Color, FCanvas.Brush.Style, CanvasTop(),
                     CanvasBottom()))
        FCanvas.Ellipse(x1, y1, x2, y2);
}

bool TFastDraw32::EllipseWith(int x1, int y1, int x2, int y2, TColor pen, TColor brush, TBrushStyle style,
                              int firstRow, int lastRow) {
    if (style == bsDiagCross)
        return false;
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    const int64_t width = static_cast<int64_t>(x2) - x1, height = static_cast<int64_t>(y2) - y1;
    if (width > kLargestSpanEllipse || height > kLargestSpanEllipse)
        return false;
    const int lastColumn = FBitmap.Width() - 1;
    firstRow = std::max(firstRow, HeldTop());
    lastRow = std::min(lastRow, HeldBottom());
    if (width < 1 || height < 1 || lastColumn < 0 || firstRow > lastRow)
        return true;
    // The canvas paints opaque pixels.
    const uint32_t penPixel = PixelValue(pen) | 0xFF000000u, brushPixel = PixelValue(brush) | 0xFF000000u;
    void* const* rows = FRows.data();
    auto span = [&](uint32_t pixel) {
        return [rows, pixel, firstRow, lastRow, lastColumn](int y, int from, int to) {
            if (y < firstRow || y > lastRow)
                return;
            from = std::max(from, 0);
            to = std::min(to, lastColumn);
            if (from <= to)
                FillPixels(static_cast<uint32_t*>(rows[y]) + from, to - from + 1, pixel);
        };
    };
    if (width <= 2 || height <= 2) {
        // Too small to have an inside: all outline.
        const auto row = span(penPixel);
        for (int y = std::max(y1, firstRow); y <= std::min(y2 - 1, lastRow); ++y)
            row(y, x1, x2 - 1);
        return true;
    }
    auto outline = span(penPixel);
    if (style == bsClear)
        EllipseSpans(x1, y1, x2 - x1 - 1, y2 - y1 - 1, [](int, int, int) {}, outline);
    else
        EllipseSpans(x1, y1, x2 - x1 - 1, y2 - y1 - 1, span(brushPixel), outline);
    return true;
}
