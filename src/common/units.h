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
