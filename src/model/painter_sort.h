#pragma once
// The bubble-pass sort of painter's order on compact boxes: each box turned for
// the view octant so that "a is behind b" reads: a's near side reaches b's far
// side along some axis, all in 32 bits.
//
// The passes run as in the plain method (each compares every adjacent pair
// from left to right and exchanges it when the right box is behind the left
// one), so the order is exactly the plain method's.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/progress.h"

struct TCompactBoxes {
    std::vector<int32_t> Near[3];
    std::vector<int32_t> Far[3];

    size_t Size() const { return Near[0].size(); }
    void Resize(size_t count) {
        for (int a = 0; a < 3; ++a) {
            Near[a].resize(count);
            Far[a].resize(count);
        }
    }
};

// How the sort lays out its work; every layout gives the same order.
struct TSortShape {
    // The narrowest numbers the search for stops runs on: 16 where the boxes
    // allow it, or 32.
    int Narrowest = 16;
    // Passes that go round the ring together, and the places of the ring they
    // share at a time (small enough to stay in the processor's first cache).
    size_t BundlePasses = 256;
    size_t BlockSlots = 2048;
    // Threads the passes run on.
    unsigned Threads = 1;
};

// Runs the passes over the boxes until a pass exchanges nothing, at most
// count - 1 of them, and gives for each place of the sorted order the index of
// the box that ends there. Progress, when given, is told the share of the
// count - 1 passes run now and then.
std::vector<uint32_t> SortCompactBoxes(const TCompactBoxes& boxes, const TSortShape& shape = {},
                                       const TShareProgress& progress = nullptr);
