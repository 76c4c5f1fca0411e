#pragma once
// The rasteriser for 32-bit bitmaps: pixels 0x00RRGGBB (bytes B, G, R, 0).

#include "platform/canvas.h"
#include "raster/fast_draw_of.h"

#include <cstdint>

class TFastDraw32 final : public TFastDrawOf<uint32_t, TFastDraw32> {
public:
    // Halving mask of the blend: the lowest bit of each channel is dropped so the
    // three channel sums cannot carry into each other.
    static constexpr uint32_t BlendMask = 0xFEFEFE;

    // Draws on the bitmap; or, given the band it holds, on the rows of a taller
    // picture that it holds, in the picture's coordinates.
    explicit TFastDraw32(TBitmap& bitmap, const TPictureBand& held = {});

    void PrepareRows() override;
    void Polygon(const TPoint* points, int high) override;

    // The pixel value of a colour: R shl 16 or G shl 8 or B.
    static uint32_t PixelValue(TColor color) {
        // 0x00BBGGRR byte-swapped is 0xRRGGBB00.
        return __builtin_bswap32(static_cast<uint32_t>(ColorToRGB(color))) >> 8;
    }

    // Drawing recorded operations again: the colours come as pixel values and
    // each call says whether it mixes; the canvas is not read.
    void FillWith(const TPoint* points, int count, uint32_t brush, bool blend);
    void StrokeWith(const TPoint& from, const TPoint& to, uint32_t pen, bool blend);
    // The segments from each of count points to the next, and back to the
    // first when closed.
    void StrokeChainWith(const TPoint* points, int count, bool closed, uint32_t pen, bool blend);

    // The canvas's ellipse in the box of the two corners (its right and bottom
    // bounds outside it), in the canvas's pen and brush, drawn with the same
    // pixels the canvas gives it; hatched ones are left to the canvas.
    void Ellipse(int x1, int y1, int x2, int y2);
    // The same in the given colours, written into the bitmap's columns and the
    // rows firstRow .. lastRow of those it holds. False, drawing nothing, for
    // a hatched brush or a box too large to step: the canvas must paint those.
    bool EllipseWith(int x1, int y1, int x2, int y2, TColor pen, TColor brush, TBrushStyle style, int firstRow,
                     int lastRow);
    // The rows the canvas paints while the rasteriser draws its band: all of
    // the bitmap's for the band that takes in the clip box's top or bottom.
    int CanvasTop() const { return BandTop <= Top ? HeldTop() : BandTop; }
    int CanvasBottom() const { return BandBottom >= Bottom ? HeldBottom() : BandBottom; }

    static void WriteSpan(uint32_t* row, int x1, int x2, uint32_t pixel);
    static void BlendSpan(uint32_t* row, int x1, int x2, uint32_t pixel);
    static void WritePixel(uint32_t* target, uint32_t pixel);
    static void BlendPixel(uint32_t* target, uint32_t pixel);

private:
    friend class TFastDrawOf<uint32_t, TFastDraw32>;
    uint32_t PixelOf(TColor color) const { return PixelValue(color); }
    void DrawSegment(const TPoint& from, const TPoint& to, TPoint& clippedEnd);
    // A chain whose points all lie in the clip box and the band.
    void DrawChainInside(const TPoint* points, int high, bool closed);
    template <class PlotFunction>
    void StepChainInside(const TPoint* points, int high, bool closed, PlotFunction plot);
};
