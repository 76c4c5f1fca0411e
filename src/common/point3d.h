#pragma once
// An integer point in model units.

#include <cstdint>

struct TPoint3D {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Z = 0;
    bool operator==(const TPoint3D&) const = default;
};
