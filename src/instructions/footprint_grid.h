#pragma once
// A uniform grid over the footprints of a few stones of one layer, so that the
// stones near a rectangle are found without looking at every stone.

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

class TBlock;

class TFootprintGrid {
public:
    // Files the stones (indexes into `stones`) under every cell their closed
    // footprint touches.
    TFootprintGrid(const std::vector<const TBlock*>& stones, const std::vector<int>& members);

    // Calls visit once for each filed stone whose cells meet the closed
    // rectangle x..x+length, y..y+width: a superset of the stones that overlap
    // or touch it, which the caller tests exactly.
    void ForEachNear(int64_t x, int64_t y, int64_t length, int64_t width,
                     const std::function<void(int)>& visit) const;

private:
    // Cells are about two modules wide: a brick's footprint covers few of them.
    static constexpr int64_t kCell = 40;
    // A stone covering more cells than this (a large base plate) is kept
    // apart and offered to every query instead.
    static constexpr int64_t kMostCells = 1024;

    static int64_t CellOf(int64_t v);
    static uint64_t Key(int64_t cx, int64_t cy);

    std::unordered_map<uint64_t, std::vector<int>> FCells;
    std::vector<int> FLarge;
    // Which query last reported each stone, so each is reported once per query.
    mutable std::vector<uint32_t> FSeen;
    mutable uint32_t FQuery = 0;
};
