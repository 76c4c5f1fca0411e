#pragma once
// The search of a painter's-order pass for its next stop: the first box, from
// a place on, that is not behind the carried box, i.e. whose near sides fall
// short of the carried box's far sides along all three axes. The near sides
// lie in one array per axis, as 16- or 32-bit numbers, so that the search can
// compare 8 or 16 boxes at a time (AVX2) or 4 or 8 (SSE2), chosen when the
// program runs; the answer is the same in every form.

#include <cstddef>
#include <cstdint>
#include <vector>

template <class TLane>
using TStopScan = size_t (*)(const TLane* const near[3], size_t from, size_t to, const TLane far[3]);

// The fastest form this processor runs.
TStopScan<int16_t> BestStopScan16();
TStopScan<int32_t> BestStopScan32();

// Every form this processor runs, the plain one box at a time first.
std::vector<TStopScan<int16_t>> StopScans16();
std::vector<TStopScan<int32_t>> StopScans32();
