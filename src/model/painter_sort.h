#pragma once
// The bubble-pass sort of painter's order on compact boxes: each box turned for
// the view octant so that "a is behind b" reads: a's near side reaches b's far
// side along some axis, all in 32 bits.

#include <cstddef>
#include <cstdint>
#include <vector>

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

// Runs the passes over the boxes (each compares every adjacent pair from left
// to right and exchanges it when the right box is behind the left one) until a
// pass exchanges nothing, at most count - 1 of them. The boxes end in sorted
// order; the result gives for each place the index the box there had before.
std::vector<uint32_t> SortCompactBoxes(TCompactBoxes& boxes);
