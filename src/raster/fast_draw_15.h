#pragma once
// The rasteriser for 16-bit bitmaps, in the 5-5-5 layout (pf15bit) or the 5-6-5
// layout (pf16bit).

#include "raster/fast_draw_of.h"

#include <cstdint>

class TFastDraw15 final : public TFastDrawOf<uint16_t, TFastDraw15> {
public:
    // Halving masks of the blend: the lowest bit of each channel is dropped.
    static constexpr uint16_t BlendMask555 = 0x7BDE;
    static constexpr uint16_t BlendMask565 = 0xF7DE;

    // As TFastDraw32, on a whole bitmap or on the band of a picture it holds.
    TFastDraw15(TBitmap& bitmap, bool layout565, const TPictureBand& held = {});

    void PrepareRows() override;
    void Polygon(const TPoint* points, int high) override;

    bool Layout565() const { return FLayout565; }

    // The pixel value of a colour: (R shr 3) shl 10 or (G shr 3) shl 5 or (B shr 3)
    // in 5-5-5, (R shr 3) shl 11 or (G shr 2) shl 5 or (B shr 3) in 5-6-5.
    static uint16_t PixelValue(TColor color, bool layout565);

    static void WriteSpan(uint16_t* row, int x1, int x2, uint16_t pixel);
    static void BlendSpan555(uint16_t* row, int x1, int x2, uint16_t pixel);
    static void BlendSpan565(uint16_t* row, int x1, int x2, uint16_t pixel);
    static void WritePixel(uint16_t* target, uint16_t pixel);
    static void BlendPixel555(uint16_t* target, uint16_t pixel);
    static void BlendPixel565(uint16_t* target, uint16_t pixel);

private:
    friend class TFastDrawOf<uint16_t, TFastDraw15>;
    uint16_t PixelOf(TColor color) const { return PixelValue(color, FLayout565); }
    void DrawSegment(const TPoint& from, const TPoint& to, TPoint& clippedEnd);
    // A chain whose points all lie in the clip box and the band.
    void DrawChainInside(const TPoint* points, int high, bool closed);
};
