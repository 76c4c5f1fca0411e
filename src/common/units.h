#pragma once
// Model units: one grid module is 20 units in x and y; heights are counted in
// thirds of a module and converted with truncating division (1 -> 6, 2 -> 13, 3 -> 20).

#include <cstdint>

constexpr int32_t kModuleUnits = 20;

constexpr int32_t ModulesToUnits(int32_t modules) {
    return modules * kModuleUnits;
}
constexpr int32_t ThirdsToUnits(int32_t thirds) {
    return thirds * kModuleUnits / 3;
}

// The positioning grid: "Normal" 80, "Half" 40, "Quarter" 20, "Eighth" 10 and
// "Fine" 1 unit.
enum TGridResolution { grNormal, grHalf, grQuarter, grEighth, grFine };

// Snaps a horizontal coordinate to the grid, every division truncating toward zero.
constexpr int32_t SnapToGrid(int32_t v, TGridResolution grid) {
    switch (grid) {
    case grNormal:
        return ((v / 20) / 4) * 80;
    case grHalf:
        return ((v / 20) / 2) * 40;
    case grQuarter:
        return (v / 20) * 20;
    case grEighth:
        return (2 * v / 20) * 10;
    default:
        return v;
    }
}

// Snaps a height to the grid's height steps (a third of a module and its
// multiples), every division truncating toward zero.
constexpr int32_t SnapHeightToGrid(int32_t z, TGridResolution grid) {
    switch (grid) {
    case grNormal:
        return ((3 * z / 20) / 4) * 26;
    case grHalf:
        return ((3 * z / 20) / 2) * 13;
    case grQuarter:
        return ((3 * z / 20) * 20) / 3;
    case grEighth:
        return (((6 * z / 20) * 20) / 3) / 2;
    default:
        return z;
    }
}
