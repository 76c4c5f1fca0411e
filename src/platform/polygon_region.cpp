#include "platform/polygon_region.h"

#include <cstddef>

bool PtInPolygon(const std::vector<TPoint>& polygon, int x, int y) {
    const std::size_t n = polygon.size();
    if (n < 3)
        return false;
    // Work in doubled coordinates so the sample point (x + 0.5, y) is integral.
    const long long px = 2LL * x + 1;
    const long long py = 2LL * y;
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        long long xi = 2LL * polygon[i].x, yi = 2LL * polygon[i].y;
        long long xj = 2LL * polygon[j].x, yj = 2LL * polygon[j].y;
        if ((yi > py) == (yj > py))
            continue;
        // x of the edge at height py, compared without division: px < xi + (py - yi) * (xj - xi) / (yj - yi)
        long long lhs = (px - xi) * (yj - yi);
        long long rhs = (py - yi) * (xj - xi);
        bool left = (yj - yi) > 0 ? lhs < rhs : lhs > rhs;
        if (left)
            inside = !inside;
    }
    return inside;
}
