#pragma once
// Point-in-polygon test for hit testing, with the alternate (odd-even) rule.

#include "platform/point.h"

#include <vector>

// True when the pixel (x, y) lies inside the polygon under the odd-even rule.
// The pixel is sampled at its centre, so a pixel belongs to the polygon when the
// polygon covers the middle of it, the same pixels a filled polygon would paint.
// A polygon of fewer than three corners has no inside.
bool PtInPolygon(const std::vector<TPoint>& polygon, int x, int y);
