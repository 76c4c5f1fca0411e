#pragma once
// Painter's order for a view octant: which of two stones is painted first, the
// sorted insertion of many stones at once, and the bubble-pass sort. Both work
// on compact copies of the stones' boxes and give exactly the order of the
// plain methods (one stone inserted after another, full passes of exchanges).

#include <vector>

#include "common/progress.h"
#include "model/block.h"
#include "model/painter_sort.h"

// Whether stone a is painted before stone b when seen from view octant 0..7:
// a lies wholly behind b horizontally, or, where their footprints overlap, below
// b from above (above b from below). Any other octant: false.
bool IsBehind(const TBlock& a, const TBlock& b, int octant);

// Inserts stone after stone into items, each after the last stone it is not
// behind (at the start when it is behind them all).
void InsertEachSorted(std::vector<TBlock*>& items, const std::vector<TBlock*>& stones, int octant);

// Bubble passes over items: each pass compares every adjacent pair (i - 1, i)
// from left to right and exchanges it when stone i is behind stone i - 1;
// n - 1 passes, or fewer when a pass exchanges nothing. Progress, when given,
// is told the share of the n - 1 passes run now and then.
void SortForOctant(std::vector<TBlock*>& items, int octant, const TShareProgress& progress = nullptr);

// The stones' boxes turned for the octant, in 32 bits, for lists whose every
// side fits; false when some side does not (stones far beyond anything a model
// file can hold).
bool CompactBoxes(const std::vector<TBlock*>& stones, int octant, TCompactBoxes& boxes);

// The plain forms of both, on 64-bit boxes, used for stones whose sides do not
// fit in 32 bits (and by the benchmarks for comparison): the backward walk per
// stone, and passes that exchange pair by pair.
void InsertOneByOne(std::vector<TBlock*>& items, const std::vector<TBlock*>& stones, int octant);
void SortWithExchanges(std::vector<TBlock*>& items, int octant);
