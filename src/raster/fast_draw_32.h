#pragma once
// The rasteriser for 32-bit bitmaps: pixels 0x00RRGGBB (bytes B, G, R, 0).

#include "raster/fast_draw.h"

#include <cstdint>

class TFastDraw32 final : public TFastDraw {
public:
    // Fills row[x1 .. x2] with a pixel value.
    using TSpanOp = void (*)(uint32_t* row, int x1, int x2, uint32_t pixel);
    // Puts a pixel value onto one pixel.
    using TPixelOp = void (*)(uint32_t* target, uint32_t pixel);

    // Halving mask of the blend: the lowest bit of each channel is dropped so the
    // three channel sums cannot carry into each other.
    static constexpr uint32_t BlendMask = 0xFEFEFE;

    explicit TFastDraw32(TBitmap& bitmap);

    void PrepareRows() override;
    void Segment(const TPoint& from, const TPoint& to) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void Polygon(const TPoint* points, int high) override;
    void Polyline(const TPoint* points, int high) override;
    void ClosedPolyline(const TPoint* points, int high) override;

    // The pixel value of a colour: R shl 16 or G shl 8 or B.
    static uint32_t PixelValue(TColor color);

    static void WriteSpan(uint32_t* row, int x1, int x2, uint32_t pixel);
    static void BlendSpan(uint32_t* row, int x1, int x2, uint32_t pixel);
    static void WritePixel(uint32_t* target, uint32_t pixel);
    static void BlendPixel(uint32_t* target, uint32_t pixel);

private:
    void DrawSegment(const TPoint& from, const TPoint& to, TPoint& clippedEnd);
    void DrawChain(const TPoint* points, int high, bool closed);

    uint32_t FPenPixel = 0;
    uint32_t FBrushPixel = 0;
    TSpanOp FSpanOp = &WriteSpan;
    TPixelOp FPixelOp = &WritePixel;
};
