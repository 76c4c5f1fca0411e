#pragma once
// Cuts a flat polygon into triangles of its own corners, convex or not: ear
// by ear, each ear a corner that turns the polygon's way and whose triangle
// holds no other corner, not even on its sides. Corners on a straight side
// are kept, so a neighbouring face that ends there meets the triangles
// corner to corner.

#include <span>
#include <vector>

#include "export/stone_mesh.h"

// Appends the triangles of the polygon through `points` (in order, not
// closed back on the first) as indices into `points`, each wound as the
// polygon. Returns false, appending nothing, when the polygon has no area
// or crosses itself so that no ear is left.
bool TriangulatePolygon(std::span<const TMeshPoint> points, std::vector<TMeshTriangle>& triangles);
