#include "editor/shape_ops.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "editor/shape_sort.h"

namespace {

using TCoords = std::array<int64_t, 3>;

TCoords CoordsOf(const TPoint3D& p) {
    return {p.X, p.Y, p.Z};
}

// Coordinates come from files: sums beyond 32 bits stop at the nearest end.
int32_t Clamped(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

TPoint3D PointOf(const TCoords& c) {
    return {Clamped(c[0]), Clamped(c[1]), Clamped(c[2])};
}

std::vector<int> AllPolygons(const TDrawClass& definition) {
    std::vector<int> all;
    for (int p = 0; p < definition.PolygonCount(); ++p)
        all.push_back(p);
    return all;
}

// The polygons a mirror or rotate tag acts on; none for a polygon tag without
// a valid selected polygon.
std::vector<int> RangeOf(const TDrawClass& definition, int tag, int selectedPolygon) {
    std::vector<int> range;
    if (tag >= 3) {
        range = AllPolygons(definition);
    } else if (selectedPolygon >= 0 && selectedPolygon < definition.PolygonCount()) {
        range.push_back(selectedPolygon);
    }
    return range;
}

template <class Change> void ChangeEveryPoint(TDrawClass& definition, const std::vector<int>& range, Change change) {
    for (int polygon : range)
        for (int i = 0; i < definition.GetPointCount(polygon); ++i)
            definition.SetPoint(polygon, i, PointOf(change(CoordsOf(definition.GetPoint(polygon, i)))));
}

// n / d rounded to the nearest whole number, halves to the even one (d > 0).
int64_t RoundedQuotient(int64_t n, int64_t d) {
    int64_t q = n / d, r = n % d;
    if (r < 0) {
        --q;
        r += d;
    }
    if (2 * r > d || (2 * r == d && q % 2 != 0))
        ++q;
    return q;
}

} // namespace

bool ExtrudePolygon(TDrawClass& definition, int polygon, int32_t distance) {
    const int n = definition.GetPointCount(polygon);
    std::vector<TCoords> points;
    for (int i = 0; i < n; ++i)
        points.push_back(CoordsOf(definition.GetPoint(polygon, i)));
    int axis = -1;
    for (int a = 0; a < 3 && axis < 0; ++a)
        if (std::all_of(points.begin(), points.end(), [&](const TCoords& p) { return p[a] == points[0][a]; }))
            axis = a;
    if (axis < 0)
        return false;
    for (int i = 0; i < n; ++i) {
        const TCoords& from = points[static_cast<size_t>(i)];
        const TCoords& to = points[static_cast<size_t>(i + 1 == n ? 0 : i + 1)];
        TCoords farFrom = from, farTo = to;
        farFrom[static_cast<size_t>(axis)] += distance;
        farTo[static_cast<size_t>(axis)] += distance;
        definition.AddPolygon({PointOf(from), PointOf(to), PointOf(farTo), PointOf(farFrom)});
    }
    return true;
}

bool MirrorPart(TDrawClass& definition, int tag, int selectedPolygon) {
    const std::vector<int> range = RangeOf(definition, tag, selectedPolygon);
    if (tag < 0 || tag >= kShapeTagCount || (range.empty() && tag < 3))
        return false;
    // The largest coordinates of the whole part, not only of the range.
    TCoords largest{-9999, -9999, -9999};
    for (int polygon = 0; polygon < definition.PolygonCount(); ++polygon)
        for (int i = 0; i < definition.GetPointCount(polygon); ++i) {
            const TCoords p = CoordsOf(definition.GetPoint(polygon, i));
            for (size_t a = 0; a < 3; ++a)
                largest[a] = std::max(largest[a], p[a]);
        }
    largest[0] = (largest[0] + 19) / 20 * 20;
    const size_t axis = static_cast<size_t>(tag % 3);
    ChangeEveryPoint(definition, range, [&](TCoords p) {
        p[axis] = largest[axis] - p[axis];
        return p;
    });
    SortDrawOrders(definition, 0, kOctantCount - 1);
    return true;
}

bool RotatePart(TDrawClass& definition, int tag, int selectedPolygon, TPartExtents& extents) {
    const std::vector<int> range = RangeOf(definition, tag, selectedPolygon);
    if (tag < 0 || tag >= kShapeTagCount || (range.empty() && tag < 3))
        return false;
    TCoords low{32000, 32000, 32000}, high{-32000, -32000, -32000};
    for (int polygon : range)
        for (int i = 0; i < definition.GetPointCount(polygon); ++i) {
            const TCoords p = CoordsOf(definition.GetPoint(polygon, i));
            for (size_t a = 0; a < 3; ++a) {
                low[a] = std::min(low[a], p[a]);
                high[a] = std::max(high[a], p[a]);
            }
        }
    TCoords centre;
    for (size_t a = 0; a < 3; ++a)
        centre[a] = low[a] + (high[a] - low[a]) / 2;
    // The two axes exchanged: y and z, x and z, or x and y.
    const int kind = tag % 3;
    auto exchanged = [kind](TCoords c) {
        if (kind == 0)
            std::swap(c[1], c[2]);
        else if (kind == 1)
            std::swap(c[0], c[2]);
        else
            std::swap(c[0], c[1]);
        return c;
    };
    // A single polygon turns about its own centre and stays there; the whole
    // part lands with its extents exchanged.
    TCoords shift = centre;
    if (tag >= 3) {
        shift = exchanged(centre);
        const TCoords turned = exchanged({extents.X, extents.Y, extents.Z});
        extents = {Clamped(turned[0]), Clamped(turned[1]), Clamped(turned[2])};
        definition.SetBoundingBox(extents.X, extents.Y, extents.Z);
    }
    ChangeEveryPoint(definition, range, [&](const TCoords& p) {
        TCoords w = exchanged({p[0] - centre[0], p[1] - centre[1], p[2] - centre[2]});
        for (size_t a = 0; a < 3; ++a)
            w[a] += shift[a];
        return w;
    });
    SortDrawOrders(definition, 0, kOctantCount - 1);
    return true;
}

void ScalePart(TDrawClass& definition, const TPartExtents& from, const TPartExtents& to) {
    const TCoords oldSize{from.X, from.Y, from.Z}, newSize{to.X, to.Y, to.Z};
    ChangeEveryPoint(definition, AllPolygons(definition), [&](TCoords p) {
        for (size_t a = 0; a < 3; ++a)
            if (oldSize[a] > 0) // an axis without extent has nothing to scale from
                p[a] = RoundedQuotient(p[a] * newSize[a], oldSize[a]);
        return p;
    });
}

void StretchPart(TDrawClass& definition, const TPartExtents& from, const TPartExtents& to) {
    const TCoords oldSize{from.X, from.Y, from.Z}, newSize{to.X, to.Y, to.Z};
    ChangeEveryPoint(definition, AllPolygons(definition), [&](TCoords p) {
        for (size_t a = 0; a < 3; ++a)
            if (p[a] > oldSize[a] / 2)
                p[a] += newSize[a] - oldSize[a];
        return p;
    });
}

int32_t ToggledTransparency(int32_t color) {
    constexpr int32_t kHatchedWhite = -16777215;
    if (color == 0)
        return kHatchedWhite;
    const int32_t toggled = Clamped(-static_cast<int64_t>(color));
    return toggled == 16777215 ? 0 : toggled;
}

int32_t ToggledBorder(int32_t flags) {
    return (flags & 1) != 0 ? -2 : 1;
}

int32_t ToggledEdge(int32_t flags, int row) {
    if (row < 0 || row > 30)
        return flags;
    const uint32_t toggled = (static_cast<uint32_t>(flags) & ~1u) ^ (1u << (row + 1));
    return toggled == 0 ? 1 : static_cast<int32_t>(toggled);
}
