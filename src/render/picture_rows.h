#pragma once
// A picture handed out row by row, as the picture files are written: the
// rows of a bitmap, or rows made as they are asked for, a band at a time, so
// that a picture far larger than the memory for it can be saved.

#include <cstdint>
#include <memory>

#include "platform/point.h"

class TBitmap;

class TPictureRows {
public:
    virtual ~TPictureRows() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Row y (0 = top) as Width() 32-bit pixels, 0x??RRGGBB (bytes B, G, R,
    // unused), valid until the next call. Rows may be asked for in any order;
    // in order, or in reverse, each band is made once.
    virtual const uint32_t* Row(int y) = 0;
};

// The rows of a bitmap, or of a rectangle of it, as copying them into a
// 32-bit bitmap gives them (pixels of the rectangle outside the bitmap are
// black): the rows of a whole 32-bit bitmap as they lie, any other a band of
// rows at a time.
class TBitmapRows final : public TPictureRows {
public:
    explicit TBitmapRows(TBitmap& bitmap);
    TBitmapRows(TBitmap& bitmap, const TRect& rect);
    ~TBitmapRows() override;

    int Width() const override { return FRect.Width(); }
    int Height() const override { return FRect.Height(); }
    const uint32_t* Row(int y) override;

private:
    void MakeBand();

    TBitmap& FBitmap;
    TRect FRect;
    bool FWhole;                    // the whole bitmap: copied with Draw, else with CopyRect
    std::unique_ptr<TBitmap> FBand; // the rows FBandTop .. converted, or none: taken as they lie
    int FBandTop = -1;
    int FBandRows = 0;
};
