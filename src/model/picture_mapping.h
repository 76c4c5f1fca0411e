#pragma once
// Laying a picture onto a projected polygon: the picture is stretched onto the
// parallelogram spanned from P0 by P3 - P0 (picture x) and P1 - P0 (picture y),
// with its corner colour transparent and a light smoothing between neighbours.

#include <cstdint>

#include "platform/point.h"

// A 32-bit picture as rows of 0x00RRGGBB pixels.
struct TPixels32 {
    uint32_t* Pixels = nullptr;
    int Width = 0;
    int Height = 0;
    int Pitch = 0; // pixels from one row to the next
    uint32_t& At(int x, int y) const { return Pixels[static_cast<long>(y) * Pitch + x]; }
};

// Maps `picture` into `target`, whose pixel (0, 0) is screen pixel `origin`.
// Each pixel is worked out on its own, so any part of the screen gives the
// pixels it has in the whole.
void MapPicture(const TPixels32& target, TPoint origin, const TPixels32& picture, TPoint p0, TPoint p1,
                TPoint p3);
