#pragma once
// The part editor's operations on a whole part definition or one of its
// polygons: side walls drawn out of a flat polygon, mirroring, exchanging two
// axes, scaling and stretching to new dimensions, and the small toggles of a
// polygon's colour and outline.

#include <cstdint>

#include "partlib/draw_class.h"

// The three extents of a part, in units.
struct TPartExtents {
    int32_t X = 0, Y = 0, Z = 0;
    bool operator==(const TPartExtents&) const = default;
};

// Mirror and rotate act on the selected polygon along x, y or z for tags 0 to
// 2, and on every polygon for tags 3 to 5.
constexpr int kShapeTagCount = 6;

// Adds, for each edge of a polygon whose points share one coordinate, a four-
// point wall reaching `distance` along that axis; no cap at the far end. False,
// adding nothing, when the points share no coordinate.
bool ExtrudePolygon(TDrawClass& definition, int polygon, int32_t distance);

// Reflects the range about the part's largest coordinate on the tag's axis
// (x rounded up to a whole module), then sorts every octant's order. False,
// changing nothing, for a polygon tag without a selected polygon.
bool MirrorPart(TDrawClass& definition, int tag, int selectedPolygon);

// Exchanges two axes of the range about its centre: y and z for the x tags,
// x and z for the y tags, x and y for the z tags. The whole part also has its
// extents exchanged, in `extents` and in the bounding box; a single polygon
// stays about its own centre. Sorts every octant's order after.
bool RotatePart(TDrawClass& definition, int tag, int selectedPolygon, TPartExtents& extents);

// Scales every point axis by axis from the old extents to the new ones,
// rounding to the nearest unit with halves to the even neighbour.
void ScalePart(TDrawClass& definition, const TPartExtents& from, const TPartExtents& to);

// Stretches the part: on each axis, coordinates beyond half the old extent
// move by the change of extent, the others stay.
void StretchPart(TDrawClass& definition, const TPartExtents& from, const TPartExtents& to);

// A polygon colour made see-through or solid again: the stone's own colour (0)
// becomes hatched white and back.
int32_t ToggledTransparency(int32_t color);
// Edge flags with every edge outlined, or none when any was.
int32_t ToggledBorder(int32_t flags);
// Edge flags with edge `row` (0 to 30) hidden or shown alone; other rows leave
// the flags as they are.
int32_t ToggledEdge(int32_t flags, int row);
