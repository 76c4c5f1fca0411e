#pragma once
// Point-in-polygon test for hit testing, with the alternate (odd-even) rule.

#include "platform/point.h"

#include <vector>

// True when the pixel (x, y) lies inside the polygon under the odd-even rule.
// The pixel is sampled in the middle of its top edge, where the polygon filler
// samples its scan lines, so every pixel found inside is one a filled polygon
// paints. A polygon of fewer than three corners has no inside.
bool PtInPolygon(const std::vector<TPoint>& polygon, int x, int y);
