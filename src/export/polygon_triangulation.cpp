#include "export/polygon_triangulation.h"

#include <cmath>

namespace {

struct TFlat {
    double U = 0, V = 0;
};

// Twice the signed area of the triangle a, b, c: positive when it turns left.
double Turn(const TFlat& a, const TFlat& b, const TFlat& c) {
    return (b.U - a.U) * (c.V - a.V) - (b.V - a.V) * (c.U - a.U);
}

// Whether p lies inside the left-turning triangle a, b, c or on its sides.
bool InTriangle(const TFlat& p, const TFlat& a, const TFlat& b, const TFlat& c) {
    return Turn(a, b, p) >= 0 && Turn(b, c, p) >= 0 && Turn(c, a, p) >= 0;
}

bool Same(const TFlat& a, const TFlat& b) {
    return a.U == b.U && a.V == b.V;
}

} // namespace

bool TriangulatePolygon(std::span<const TMeshPoint> points, std::vector<TMeshTriangle>& triangles) {
    const size_t n = points.size();
    if (n < 3)
        return false;
    // The polygon's normal (Newell's sum) picks the plane to lay it flat in:
    // the one across its largest part keeps the shape's turns.
    double nx = 0, ny = 0, nz = 0;
    for (size_t k = 0; k < n; ++k) {
        const TMeshPoint &a = points[k], &b = points[(k + 1) % n];
        nx += (a.Y - b.Y) * (a.Z + b.Z);
        ny += (a.Z - b.Z) * (a.X + b.X);
        nz += (a.X - b.X) * (a.Y + b.Y);
    }
    const double ax = std::fabs(nx), ay = std::fabs(ny), az = std::fabs(nz);
    if (ax == 0 && ay == 0 && az == 0)
        return false;
    std::vector<TFlat> flat(n);
    for (size_t k = 0; k < n; ++k) {
        const TMeshPoint& p = points[k];
        // Each projection keeps the polygon's turn when seen from the side
        // its normal points to.
        if (az >= ax && az >= ay)
            flat[k] = nz > 0 ? TFlat{p.X, p.Y} : TFlat{p.Y, p.X};
        else if (ax >= ay)
            flat[k] = nx > 0 ? TFlat{p.Y, p.Z} : TFlat{p.Z, p.Y};
        else
            flat[k] = ny > 0 ? TFlat{p.Z, p.X} : TFlat{p.X, p.Z};
    }
    std::vector<uint32_t> ring(n);
    for (size_t k = 0; k < n; ++k)
        ring[k] = static_cast<uint32_t>(k);
    const size_t first = triangles.size();

    // A polygon whose every corner turns its way is cut as a fan.
    bool convex = true;
    for (size_t k = 0; k < n && convex; ++k)
        convex = Turn(flat[(k + n - 1) % n], flat[k], flat[(k + 1) % n]) > 0;
    if (convex) {
        for (size_t k = 1; k + 1 < n; ++k)
            triangles.push_back({0, static_cast<uint32_t>(k), static_cast<uint32_t>(k + 1)});
        return true;
    }

    while (ring.size() > 3) {
        const size_t m = ring.size();
        bool cut = false;
        for (size_t k = 0; k < m && !cut; ++k) {
            const uint32_t ia = ring[(k + m - 1) % m], ib = ring[k], ic = ring[(k + 1) % m];
            const TFlat &a = flat[ia], &b = flat[ib], &c = flat[ic];
            if (Turn(a, b, c) <= 0)
                continue;
            bool empty = true;
            for (size_t j = 0; j < m && empty; ++j) {
                const uint32_t ip = ring[j];
                if (ip == ia || ip == ib || ip == ic)
                    continue;
                const TFlat& p = flat[ip];
                // A corner at the same place as one of the ear's (where the
                // polygon touches itself) does not block it.
                if (Same(p, a) || Same(p, b) || Same(p, c))
                    continue;
                empty = !InTriangle(p, a, b, c);
            }
            if (!empty)
                continue;
            triangles.push_back({ia, ib, ic});
            ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(k));
            cut = true;
        }
        if (!cut) {
            triangles.resize(first);
            return false;
        }
    }
    if (Turn(flat[ring[0]], flat[ring[1]], flat[ring[2]]) <= 0) {
        triangles.resize(first);
        return false;
    }
    triangles.push_back({ring[0], ring[1], ring[2]});
    return true;
}
