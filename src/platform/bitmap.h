#pragma once
// An off-screen picture with a pixel format, direct access to its pixel rows and
// a canvas to draw on it.
//
// Row layouts (rows run top to bottom, each row starts at ScanLine(row)):
//   pf15bit          16 bits per pixel, 0RRRRRGG GGGBBBBB (5-5-5)
//   pf16bit          16 bits per pixel, RRRRRGGG GGGBBBBB (5-6-5)
//   pf24bit          3 bytes per pixel in the order R, G, B
//   pf32bit/pfDevice 32 bits per pixel, 0x??RRGGBB (bytes B, G, R, unused); the top
//                    byte is never read
//   pf8bit           one byte per pixel, an index into the fixed 256-colour palette
//                    (FixedPaletteColor). The canvas draws on a 32-bit copy, which
//                    is reduced to the palette when rows are read or the picture is
//                    copied out.
// A new or enlarged picture is black; resizing keeps the top-left part.

#include "platform/canvas.h"

#include <memory>

class QImage;

enum TPixelFormat { pfDevice, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// The colour (0x00BBGGRR) of an entry of the 8-bit palette, index 0 .. 255.
TColor FixedPaletteColor(int index);

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat pixelFormat = pfDevice);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const;
    int Height() const;
    void SetWidth(int width);
    void SetHeight(int height);
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const;
    // Changes the format, converting the picture.
    void SetPixelFormat(TPixelFormat pixelFormat);

    // Address of the first pixel of a row (0 = top). Drawing on the canvas first
    // finishes, so the row holds everything drawn so far. The address stays valid
    // while the size and the format stay; for pf8bit call ScanLine again after
    // drawing on the canvas. Raises EError for a row outside the picture.
    void* ScanLine(int row);

    TCanvas& Canvas();

    // The picture as Qt sees it when it is copied out (for pf8bit the indexed,
    // reduced picture), and loading a picture, which takes its size and converts
    // it to this bitmap's pixel format. For the desktop layer and tests.
    QImage ToImage() const;
    // The same picture without a copy, for showing it; it stays valid until
    // the bitmap is next changed.
    const QImage& Image() const { return SourcePicture(); }
    void LoadFromImage(const QImage& image);

private:
    friend class TCanvas;
    // The image the canvas paints on, brought up to date with rows written
    // directly (pf8bit); null for an empty picture.
    QImage* BeginCanvasChange();
    void CanvasChanged();
    // The finished picture to copy from.
    const QImage& SourcePicture() const;

    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
