#pragma once
// Painting canvas shapes into a band of rows of a 32-bit bitmap, in the
// bitmap's coordinates: the same pixels as painting them on the whole
// bitmap's canvas, inside the band only. Bands of one bitmap may be painted
// on several threads at once.

#include <cstddef>
#include <memory>

#include "common/color.h"
#include "platform/canvas.h"

class TRowsCanvas {
public:
    // `rows` rows of `width` 32-bit pixels from `first`, `pitch` bytes apart,
    // which are the rows from `top` on of a bitmap that outlives this. The
    // addresses are taken beforehand, where the bitmap is not shared between
    // threads.
    TRowsCanvas(void* first, int width, int rows, std::ptrdiff_t pitch, int top);
    ~TRowsCanvas();
    TRowsCanvas(const TRowsCanvas&) = delete;
    TRowsCanvas& operator=(const TRowsCanvas&) = delete;

    // As TCanvas::Ellipse with the given pen colour and brush.
    void Ellipse(int x1, int y1, int x2, int y2, TColor pen, const TBrush& brush);

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
