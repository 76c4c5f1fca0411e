#include "export/shell_builder.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "export/polygon_triangulation.h"

namespace {

TMeshPoint Minus(const TMeshPoint& a, const TMeshPoint& b) {
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

TMeshPoint Cross(const TMeshPoint& a, const TMeshPoint& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

double Dot(const TMeshPoint& a, const TMeshPoint& b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

// Twice the polygon's area, as the length of Newell's normal.
bool HasArea(const std::vector<uint32_t>& ring, const std::vector<TMeshPoint>& points) {
    TMeshPoint n;
    for (size_t k = 0; k < ring.size(); ++k) {
        const TMeshPoint &a = points[ring[k]], &b = points[ring[(k + 1) % ring.size()]];
        n = {n.X + (a.Y - b.Y) * (a.Z + b.Z), n.Y + (a.Z - b.Z) * (a.X + b.X),
             n.Z + (a.X - b.X) * (a.Y + b.Y)};
    }
    return n.X != 0 || n.Y != 0 || n.Z != 0;
}

// Where the picture's corner points put a point of its face: U along the
// picture's top (first to fourth corner), V down its left side (first to second).
std::array<float, 2> PictureCoordinates(const std::vector<TFacePoint>& corners, const TMeshPoint& p) {
    const TMeshPoint p0{corners[0].X, corners[0].Y, corners[0].Z};
    const TMeshPoint a = Minus({corners[3].X, corners[3].Y, corners[3].Z}, p0);
    const TMeshPoint b = Minus({corners[1].X, corners[1].Y, corners[1].Z}, p0);
    const TMeshPoint e = Minus(p, p0);
    const double aa = Dot(a, a), ab = Dot(a, b), bb = Dot(b, b), ae = Dot(a, e), be = Dot(b, e);
    const double d = aa * bb - ab * ab;
    if (d == 0)
        return {0, 0};
    return {static_cast<float>((ae * bb - be * ab) / d), static_cast<float>((be * aa - ae * ab) / d)};
}

// Whether the points lie in one plane.
bool IsFlat(const std::vector<TMeshPoint>& points) {
    TMeshPoint n;
    for (size_t k = 0; k < points.size(); ++k) {
        const TMeshPoint &a = points[k], &b = points[(k + 1) % points.size()];
        n = {n.X + (a.Y - b.Y) * (a.Z + b.Z), n.Y + (a.Z - b.Z) * (a.X + b.X),
             n.Z + (a.X - b.X) * (a.Y + b.Y)};
    }
    const double length = std::sqrt(Dot(n, n));
    if (length == 0)
        return false;
    double extent = 0;
    for (const TMeshPoint& p : points)
        extent = std::max({extent, std::fabs(p.X - points[0].X), std::fabs(p.Y - points[0].Y),
                           std::fabs(p.Z - points[0].Z)});
    for (const TMeshPoint& p : points)
        if (std::fabs(Dot(n, Minus(p, points[0]))) / length > 1e-9 * extent)
            return false;
    return true;
}

// Turns the triangles so that neighbours run along their shared side in
// opposite directions, and each connected part so that it encloses a
// positive volume. Returns false when a part encloses none (a flat sheet).
bool OrientOutward(std::vector<TMeshTriangle>& triangles, const std::vector<TMeshPoint>& points) {
    bool room = true;
    std::map<std::pair<uint32_t, uint32_t>, std::vector<uint32_t>> sides;
    for (uint32_t t = 0; t < triangles.size(); ++t)
        for (int k = 0; k < 3; ++k) {
            const uint32_t a = triangles[t][k], b = triangles[t][(k + 1) % 3];
            sides[{std::min(a, b), std::max(a, b)}].push_back(t);
        }
    auto runsForward = [&](uint32_t t, uint32_t a, uint32_t b) {
        for (int k = 0; k < 3; ++k)
            if (triangles[t][k] == a && triangles[t][(k + 1) % 3] == b)
                return true;
        return false;
    };
    std::vector<int> flip(triangles.size(), -1);
    for (uint32_t start = 0; start < triangles.size(); ++start) {
        if (flip[start] >= 0)
            continue;
        std::vector<uint32_t> part{start};
        flip[start] = 0;
        for (size_t next = 0; next < part.size(); ++next) {
            const uint32_t t = part[next];
            for (int k = 0; k < 3; ++k) {
                const uint32_t a = triangles[t][k], b = triangles[t][(k + 1) % 3];
                const auto& sharing = sides[{std::min(a, b), std::max(a, b)}];
                if (sharing.size() != 2)
                    continue;
                const uint32_t other = sharing[0] == t ? sharing[1] : sharing[0];
                if (flip[other] >= 0)
                    continue;
                flip[other] = flip[t] ^ (runsForward(other, a, b) ? 1 : 0);
                part.push_back(other);
            }
        }
        double volume = 0;
        const TMeshPoint& o = points[triangles[start][0]];
        for (uint32_t t : part) {
            const TMeshPoint a = Minus(points[triangles[t][0]], o), b = Minus(points[triangles[t][1]], o),
                             c = Minus(points[triangles[t][2]], o);
            volume += (flip[t] ? -1 : 1) * Dot(a, Cross(b, c));
        }
        if (volume < 0)
            for (uint32_t t : part)
                flip[t] ^= 1;
        // Room against the cube of the part's extent, as a measure of what
        // rounding could leave of none.
        double extent = 0;
        for (uint32_t t : part)
            for (uint32_t i : triangles[t])
                extent = std::max({extent, std::fabs(points[i].X - o.X), std::fabs(points[i].Y - o.Y),
                                   std::fabs(points[i].Z - o.Z)});
        room = room && std::fabs(volume) > 1e-9 * extent * extent * extent;
    }
    for (uint32_t t = 0; t < triangles.size(); ++t)
        if (flip[t])
            std::swap(triangles[t][1], triangles[t][2]);
    return room;
}

// The rings of sides that only one triangle has, each as the face that would
// close it (wound against the triangles beside it); a ring that branches is left.
std::vector<std::vector<uint32_t>> FlatGaps(const std::vector<TMeshTriangle>& triangles) {
    std::map<std::pair<uint32_t, uint32_t>, int> walked;
    for (const TMeshTriangle& t : triangles)
        for (int k = 0; k < 3; ++k)
            ++walked[{t[k], t[(k + 1) % 3]}];
    // The open sides, from the end each closing face starts at.
    std::multimap<uint32_t, uint32_t> open;
    for (const auto& [side, count] : walked)
        if (count == 1 && !walked.count({side.second, side.first}))
            open.emplace(side.second, side.first);
    std::vector<std::vector<uint32_t>> gaps;
    while (!open.empty()) {
        std::vector<uint32_t> ring{open.begin()->first};
        uint32_t at = open.begin()->second;
        open.erase(open.begin());
        bool closed = false;
        while (!closed) {
            const auto [from, to] = open.equal_range(at);
            if (at == ring.front()) {
                closed = true;
                break;
            }
            if (from == to || std::next(from) != to)
                break;
            ring.push_back(at);
            at = from->second;
            open.erase(from);
        }
        if (closed && ring.size() >= 3)
            gaps.push_back(std::move(ring));
    }
    return gaps;
}

// A face as a ring of welded points, with the corners and picture it was told with.
struct TRing {
    std::vector<uint32_t> Points;
    const std::vector<TFacePoint>* Corners = nullptr; // null for a face that closes a gap
    const std::string* Picture = nullptr;
};

bool ShowsPicture(const TRing& ring) {
    return ring.Picture && !ring.Picture->empty();
}

// Whether the segments a-b and c-d lie on one line and overlap for a length.
bool Overlap(const TMeshPoint& a, const TMeshPoint& b, const TMeshPoint& c, const TMeshPoint& d) {
    const TMeshPoint ab = Minus(b, a), ac = Minus(c, a), ad = Minus(d, a);
    const TMeshPoint c1 = Cross(ab, ac), c2 = Cross(ab, ad);
    if (c1.X != 0 || c1.Y != 0 || c1.Z != 0 || c2.X != 0 || c2.Y != 0 || c2.Z != 0)
        return false;
    const double length = Dot(ab, ab), tc = Dot(ac, ab), td = Dot(ad, ab);
    return std::max(0.0, std::min(tc, td)) < std::min(length, std::max(tc, td));
}

// The faces in groups that meet along their sides: pieces of a part that
// only touch (a boiler lying on its base along a line, a shaft standing on
// a plinth) are solids of their own.
std::vector<std::vector<TRing>> Pieces(const std::vector<TRing>& rings,
                                       const std::vector<TMeshPoint>& points) {
    std::vector<size_t> group(rings.size());
    for (size_t k = 0; k < group.size(); ++k)
        group[k] = k;
    auto find = [&](size_t k) {
        while (group[k] != k)
            k = group[k] = group[group[k]];
        return k;
    };
    for (size_t r = 0; r < rings.size(); ++r)
        for (size_t q = r + 1; q < rings.size(); ++q) {
            if (find(r) == find(q))
                continue;
            const auto &a = rings[r].Points, &b = rings[q].Points;
            bool meet = false;
            for (size_t i = 0; i < a.size() && !meet; ++i)
                for (size_t j = 0; j < b.size() && !meet; ++j)
                    meet = Overlap(points[a[i]], points[a[(i + 1) % a.size()]], points[b[j]],
                                   points[b[(j + 1) % b.size()]]);
            if (meet)
                group[find(q)] = find(r);
        }
    std::map<size_t, std::vector<TRing>> byGroup;
    for (size_t r = 0; r < rings.size(); ++r)
        byGroup[find(r)].push_back(rings[r]);
    std::vector<std::vector<TRing>> pieces;
    for (auto& [g, piece] : byGroup)
        pieces.push_back(std::move(piece));
    return pieces;
}

// One piece's faces as a closed shell in the mesh.
void BuildPiece(std::vector<TRing>& rings, const std::vector<TMeshPoint>& points, TStoneMesh& mesh) {
    auto gap = [&](const std::string& why) {
        if (mesh.Gaps.find(why) == std::string::npos)
            mesh.Gaps += (mesh.Gaps.empty() ? "" : "; ") + why;
    };
    std::vector<uint32_t> used;
    for (const TRing& ring : rings)
        used.insert(used.end(), ring.Points.begin(), ring.Points.end());
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());

    // Every side through the piece's points that lie on it.
    for (TRing& ring : rings) {
        std::vector<uint32_t> split;
        const size_t n = ring.Points.size();
        for (size_t k = 0; k < n; ++k) {
            const uint32_t ia = ring.Points[k], ib = ring.Points[(k + 1) % n];
            split.push_back(ia);
            const TMeshPoint &a = points[ia], d = Minus(points[ib], a);
            const double dd = Dot(d, d);
            std::vector<std::pair<double, uint32_t>> on;
            for (uint32_t ip : used) {
                if (ip == ia || ip == ib)
                    continue;
                const TMeshPoint e = Minus(points[ip], a);
                const double t = Dot(e, d);
                if (t <= 0 || t >= dd)
                    continue;
                const TMeshPoint c = Cross(d, e);
                if (c.X == 0 && c.Y == 0 && c.Z == 0)
                    on.push_back({t, ip});
            }
            std::sort(on.begin(), on.end());
            for (const auto& [t, ip] : on)
                split.push_back(ip);
        }
        ring.Points = std::move(split);
    }

    // Triangles, face by face.
    std::vector<TMeshTriangle> triangles;
    std::vector<size_t> ringOf;
    std::vector<TMeshPoint> corners;
    std::vector<TMeshTriangle> local;
    auto cut = [&](size_t r) {
        corners.clear();
        for (uint32_t i : rings[r].Points)
            corners.push_back(points[i]);
        local.clear();
        if (!TriangulatePolygon(corners, local))
            return false;
        for (const TMeshTriangle& t : local) {
            triangles.push_back({rings[r].Points[t[0]], rings[r].Points[t[1]], rings[r].Points[t[2]]});
            ringOf.push_back(r);
        }
        return true;
    };
    for (size_t r = 0; r < rings.size(); ++r)
        if (!cut(r))
            gap("a face crosses itself");
    OrientOutward(triangles, points);

    // A piece drawn open where it stands on the next (a post under a sign)
    // is closed by a face over each flat gap, so that it is a solid that
    // touches the next.
    std::vector<std::vector<uint32_t>> caps = FlatGaps(triangles);
    for (auto& cap : caps) {
        corners.clear();
        for (uint32_t i : cap)
            corners.push_back(points[i]);
        if (!IsFlat(corners))
            continue;
        rings.push_back({std::move(cap), nullptr, nullptr});
        if (!cut(rings.size() - 1))
            rings.pop_back();
    }
    if (!OrientOutward(triangles, points))
        gap("the faces enclose no room");

    // Closed: every side walked once each way.
    std::map<std::pair<uint32_t, uint32_t>, int> walked;
    for (const TMeshTriangle& t : triangles)
        for (int k = 0; k < 3; ++k)
            ++walked[{t[k], t[(k + 1) % 3]}];
    for (const auto& [side, count] : walked) {
        const auto back = walked.find({side.second, side.first});
        if (count != 1 || back == walked.end() || back->second != 1) {
            gap(count > 1 || (back != walked.end() && back->second > 1) ? "faces meet more than two at a side"
                                                                        : "the faces leave a gap");
            break;
        }
    }

    // Into the mesh, face after face, a picture's triangles together.
    std::map<uint32_t, uint32_t> at;
    for (uint32_t i : used)
        at[i] = mesh.AddPoint(points[i]);
    for (size_t t = 0; t < triangles.size(); ++t) {
        const TRing& ring = rings[ringOf[t]];
        if (ShowsPicture(ring)) {
            if (mesh.Pictures.empty() || mesh.Pictures.back().Picture != *ring.Picture ||
                mesh.Pictures.back().FirstTriangle + mesh.Pictures.back().TriangleCount !=
                    mesh.Triangles.size())
                mesh.Pictures.push_back({*ring.Picture, static_cast<uint32_t>(mesh.Triangles.size()), 0});
            ++mesh.Pictures.back().TriangleCount;
        }
        mesh.AddTriangle(at[triangles[t][0]], at[triangles[t][1]], at[triangles[t][2]]);
    }
    if (std::any_of(rings.begin(), rings.end(), ShowsPicture) || !mesh.TextureCoordinates.empty()) {
        mesh.TextureCoordinates.resize(mesh.Points.size(), {0, 0});
        for (const TRing& ring : rings)
            if (ShowsPicture(ring))
                for (uint32_t i : ring.Points)
                    mesh.TextureCoordinates[at[i]] = PictureCoordinates(*ring.Corners, points[i]);
    }
}

} // namespace

void TShellBuilder::Face(std::span<const TFacePoint> points) {
    AddPolygon(points, {});
}

void TShellBuilder::PictureFace(std::span<const TFacePoint> points, const std::string& picture) {
    AddPolygon(points, picture);
}

void TShellBuilder::NextSolid() {
    if (!FSolids.back().Polygons.empty())
        FSolids.emplace_back();
}

void TShellBuilder::AddPolygon(std::span<const TFacePoint> points, const std::string& picture) {
    FSolids.back().Polygons.push_back({std::vector<TFacePoint>(points.begin(), points.end()), picture});
}

TStoneMesh TShellBuilder::Build() {
    TStoneMesh mesh;
    for (const TSolid& solid : FSolids)
        if (!solid.Polygons.empty())
            BuildSolid(solid, mesh);
    return mesh;
}

void TShellBuilder::BuildSolid(const TSolid& solid, TStoneMesh& mesh) {
    // Welded points, and each face as a ring of them.
    std::vector<TMeshPoint> points;
    std::map<std::tuple<double, double, double>, uint32_t> index;
    std::vector<TRing> rings;
    std::map<std::vector<uint32_t>, std::vector<size_t>> told;
    for (const TPolygon& polygon : solid.Polygons) {
        std::vector<uint32_t> ring;
        for (const TFacePoint& c : polygon.Corners) {
            const auto [at, added] = index.try_emplace({c.X, c.Y, c.Z}, static_cast<uint32_t>(points.size()));
            if (added)
                points.push_back({c.X, c.Y, c.Z});
            if (ring.empty() || ring.back() != at->second)
                ring.push_back(at->second);
        }
        while (ring.size() > 1 && ring.front() == ring.back())
            ring.pop_back();
        if (ring.size() < 3 || !HasArea(ring, points))
            continue;
        std::vector<uint32_t> key = ring;
        std::sort(key.begin(), key.end());
        told[std::move(key)].push_back(rings.size());
        rings.push_back({std::move(ring), &polygon.Corners, &polygon.Picture});
    }
    // A face told twice lies where two pieces of a part meet, inside the
    // solid: it goes. A face told three times is a face told once more.
    std::vector<bool> keep(rings.size(), false);
    for (const auto& [key, which] : told)
        if (which.size() % 2 == 1)
            keep[which.front()] = true;
    std::vector<TRing> kept;
    for (size_t r = 0; r < rings.size(); ++r)
        if (keep[r])
            kept.push_back(std::move(rings[r]));
    rings = std::move(kept);
    for (std::vector<TRing>& piece : Pieces(rings, points))
        BuildPiece(piece, points, mesh);
}
