#pragma once
// Sorting a part's painting orders so that, for each part octant, polygons
// nearer the viewer are painted after the ones they may cover.

#include "partlib/draw_class.h"

// Sorts the draw orders of part octants first..last (0..7) with a fixed bubble
// procedure over the polygons' bounding boxes: a neighbouring pair is exchanged
// when the first lies wholly on the viewer's side of the second along some axis
// (touching allowed). With overlapping boxes the result depends on the order the
// sort starts from.
void SortDrawOrders(TDrawClass& definition, int firstOctant, int lastOctant);
