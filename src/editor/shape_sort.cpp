#include "editor/shape_sort.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

struct TBox {
    std::array<int32_t, 3> Min{9999, 9999, 9999};
    std::array<int32_t, 3> Max{-9999, -9999, -9999};
};

TBox BoxOf(const TDrawClass& definition, int polygon) {
    TBox box;
    for (int i = 0; i < definition.GetPointCount(polygon); ++i) {
        TPoint3D p = definition.GetPoint(polygon, i);
        const std::array<int32_t, 3> c = {p.X, p.Y, p.Z};
        for (size_t a = 0; a < 3; ++a) {
            box.Min[a] = std::min(box.Min[a], c[a]);
            box.Max[a] = std::max(box.Max[a], c[a]);
        }
    }
    return box;
}

// Per part octant and axis (x, y, z): true where polygons toward the negative
// end of the axis are nearer the viewer and so are painted later.
constexpr bool kPlusAxis[8][3] = {
    {true, false, false}, {true, true, false}, {false, true, false}, {false, false, false},
    {true, false, true},  {true, true, true},  {false, true, true},  {false, false, true},
};

// True when a may stay before b: on no axis does a lie wholly nearer the viewer.
bool InOrder(const TBox& a, const TBox& b, int octant) {
    for (size_t axis = 0; axis < 3; ++axis) {
        bool keep = kPlusAxis[octant][axis] ? a.Max[axis] > b.Min[axis] : a.Min[axis] < b.Max[axis];
        if (!keep)
            return false;
    }
    return true;
}

} // namespace

void SortDrawOrders(TDrawClass& definition, int firstOctant, int lastOctant) {
    for (int octant = std::max(firstOctant, 0); octant <= std::min(lastOctant, kOctantCount - 1); ++octant) {
        const int d = definition.GetDrawCount(octant);
        if (d < 2)
            continue;
        std::vector<int> order(static_cast<size_t>(d));
        std::vector<TBox> boxes(static_cast<size_t>(d));
        for (int k = 0; k < d; ++k) {
            order[static_cast<size_t>(k)] = definition.GetDrawOrder(octant, k);
            boxes[static_cast<size_t>(k)] = BoxOf(definition, order[static_cast<size_t>(k)]);
        }
        // d - 1 passes at most; a pass that exchanges nothing leaves every later
        // pass nothing to do, so stop there.
        for (int pass = 0; pass < d - 1; ++pass) {
            bool exchanged = false;
            for (size_t k = 0; k + 1 < order.size(); ++k) {
                if (!InOrder(boxes[k], boxes[k + 1], octant)) {
                    std::swap(order[k], order[k + 1]);
                    std::swap(boxes[k], boxes[k + 1]);
                    exchanged = true;
                }
            }
            if (!exchanged)
                break;
        }
        for (int k = 0; k < d; ++k)
            definition.SetDrawOrder(octant, k, order[static_cast<size_t>(k)]);
    }
}
