#include "render/picture_rows.h"

#include <algorithm>

#include "common/error.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace {

// The memory of a band of converted rows.
constexpr int64_t kBandBytes = int64_t{16} << 20;

} // namespace

TBitmapRows::TBitmapRows(TBitmap& bitmap)
    : FBitmap(bitmap), FRect(Rect(0, 0, bitmap.Width(), bitmap.Height())), FWhole(true) {
    if (bitmap.PixelFormat() != pf32bit && bitmap.PixelFormat() != pfDevice)
        MakeBand();
}

TBitmapRows::TBitmapRows(TBitmap& bitmap, const TRect& rect) : FBitmap(bitmap), FRect(rect), FWhole(false) {
    MakeBand();
}

void TBitmapRows::MakeBand() {
    if (FRect.Width() <= 0 || FRect.Height() <= 0)
        return;
    const int64_t rows = kBandBytes / (int64_t{FRect.Width()} * 4);
    FBandRows = static_cast<int>(std::clamp<int64_t>(rows, 1, FRect.Height()));
    FBand = std::make_unique<TBitmap>(FRect.Width(), FBandRows, pf32bit);
}

TBitmapRows::~TBitmapRows() = default;

const uint32_t* TBitmapRows::Row(int y) {
    if (y < 0 || y >= Height())
        throw EError("Scan line index out of range");
    if (!FBand)
        return static_cast<const uint32_t*>(FBitmap.ScanLine(y));
    if (FBandTop < 0 || y < FBandTop || y >= FBandTop + FBandRows) {
        FBandTop = y / FBandRows * FBandRows;
        TCanvas& canvas = FBand->Canvas();
        if (FWhole) {
            canvas.Draw(0, -FBandTop, FBitmap);
        } else {
            // What the rectangle leaves out stays black, as in a new bitmap.
            for (int row = 0; row < FBand->Height(); ++row)
                std::fill_n(static_cast<uint32_t*>(FBand->ScanLine(row)), FBand->Width(), 0xFF000000u);
            const int top = FRect.Top + FBandTop;
            canvas.CopyRect(Rect(0, 0, FRect.Width(), FBandRows), FBitmap.Canvas(),
                            Rect(FRect.Left, top, FRect.Right, top + FBandRows));
        }
    }
    return static_cast<const uint32_t*>(FBand->ScanLine(y - FBandTop));
}
