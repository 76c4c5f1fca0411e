// Writes the part library shipped beside the program (parts.dat, template.dat,
// an empty userblks.dat and the pictures some parts carry) from the shapes
// described here, with a painting
// order for each of the eight part octants.
//
// Usage: make_parts OUTPUT_FOLDER

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <vector>

#include <QGuiApplication>

#include "common/color.h"
#include "common/error.h"
#include "editor/shape_sort.h"
#include "part_pictures.h"
#include "partlib/part_file.h"
#include "platform/text_file.h"

namespace {

using TProfile = std::vector<std::pair<int32_t, int32_t>>;

// Edge flags of a quadrilateral whose two side edges (1 and 3) stay hidden, so
// a curved surface made of facets shows no seams.
constexpr int32_t kHideQuadSides = (1 << 2) | (1 << 4);
// Edge flags of a triangle that shows only its first edge.
constexpr int32_t kHideTriangleSides = (1 << 2) | (1 << 3);

void AddPolygon(TDrawClass& d, const std::vector<TPoint3D>& points, int32_t edgeFlags = 1, int32_t detail = 0,
                int32_t color = 0) {
    d.AddPolygon(points);
    int index = d.PolygonCount() - 1;
    d.SetEdgeFlags(index, edgeFlags);
    d.SetDetail(index, detail);
    d.SetColor(index, color);
}

// The faces of a box, as bits, for leaving out faces that lie against another
// solid of the same part and would only show as stray outlines there.
enum TBoxFace : unsigned {
    kBottom = 1,
    kTop = 2,
    kFront = 4, // y = y0
    kBack = 8,  // y = y1
    kLeft = 16, // x = x0
    kRight = 32 // x = x1
};

void AddBox(TDrawClass& d, int32_t x0, int32_t y0, int32_t z0, int32_t x1, int32_t y1, int32_t z1,
            int32_t color = 0, unsigned leaveOut = 0, int32_t detail = 0) {
    const std::vector<std::pair<TBoxFace, std::vector<TPoint3D>>> faces = {
        {kBottom, {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}}},
        {kTop, {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}},
        {kFront, {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}},
        {kBack, {{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}},
        {kLeft, {{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}}},
        {kRight, {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}},
    };
    for (const auto& [face, points] : faces)
        if (!(leaveOut & face))
            AddPolygon(d, points, 1, detail, color);
}

// A prism: the profile (u, v) lies in the plane across the extrusion axis and is
// swept from 0 to depth. `place` maps (u, v, w) to a part point. Side faces
// between profile points listed in `smooth` hide their seams.
template <class Place>
void AddPrism(TDrawClass& d, const TProfile& profile, int32_t depth, Place place,
              const std::vector<bool>& smooth = {}) {
    std::vector<TPoint3D> nearCap, farCap;
    for (auto [u, v] : profile) {
        nearCap.push_back(place(u, v, 0));
        farCap.push_back(place(u, v, depth));
    }
    AddPolygon(d, nearCap);
    AddPolygon(d, farCap);
    for (size_t i = 0; i < profile.size(); ++i) {
        size_t j = (i + 1) % profile.size();
        bool seamless = i < smooth.size() && smooth[i];
        AddPolygon(d, {nearCap[i], nearCap[j], farCap[j], farCap[i]}, seamless ? kHideQuadSides : 1);
    }
}

TPoint3D CirclePoint(int32_t cx, int32_t cy, int32_t r, int i, int n, int32_t z) {
    double a = 2.0 * M_PI * i / n;
    return {cx + static_cast<int32_t>(std::lround(r * std::cos(a))),
            cy + static_cast<int32_t>(std::lround(r * std::sin(a))), z};
}

std::vector<TPoint3D> Circle(int32_t cx, int32_t cy, int32_t r, int n, int32_t z) {
    std::vector<TPoint3D> points;
    for (int i = 0; i < n; ++i)
        points.push_back(CirclePoint(cx, cy, r, i, n, z));
    return points;
}

// An upright round solid of n facets from radius r0 at z0 to radius r1 at z1
// (a cone when r1 is 0). The facets hide the seams between them; either end
// disc may be left out where it lies against another solid.
void AddRound(TDrawClass& d, int32_t cx, int32_t cy, int32_t r0, int32_t r1, int32_t z0, int32_t z1, int n,
              int32_t color = 0, bool bottomDisc = true, bool topDisc = true) {
    std::vector<TPoint3D> bottom = Circle(cx, cy, r0, n, z0), top = Circle(cx, cy, r1, n, z1);
    if (bottomDisc)
        AddPolygon(d, bottom, 1, 0, color);
    if (topDisc && r1 > 0)
        AddPolygon(d, top, 1, 0, color);
    for (int i = 0; i < n; ++i) {
        size_t a = static_cast<size_t>(i), b = static_cast<size_t>((i + 1) % n);
        if (r1 > 0)
            AddPolygon(d, {bottom[a], bottom[b], top[b], top[a]}, kHideQuadSides, 0, color);
        else
            AddPolygon(d, {bottom[a], bottom[b], {cx, cy, z1}}, kHideTriangleSides, 0, color);
    }
}

// A line drawn in the edge colour, shown from the decoration level on.
void AddLine(TDrawClass& d, TPoint3D from, TPoint3D to, int32_t detail = 1) {
    AddPolygon(d, {from, to}, 1, detail);
}

// The profile of a wall with an opening: pillars from 0 to x0 and from x0 +
// span to the length, the opening rising straight to `spring` and closing in a
// half ellipse of height `rise` drawn with `steps` facets. `smooth` receives
// the seam flags of the profile's edges.
TProfile ArchProfile(int32_t length, int32_t height, int32_t x0, int32_t span, int32_t spring, int32_t rise,
                     int steps, std::vector<bool>& smooth) {
    TProfile profile = {{0, 0}, {x0, 0}, {x0, spring}};
    smooth = {false, false};
    const double cx = x0 + span / 2.0;
    for (int i = 1; i < steps; ++i) {
        double a = M_PI - M_PI * i / steps;
        profile.push_back({static_cast<int32_t>(std::lround(cx + span / 2.0 * std::cos(a))),
                           spring + static_cast<int32_t>(std::lround(rise * std::sin(a)))});
        smooth.push_back(true);
    }
    smooth.push_back(true);
    profile.insert(profile.end(),
                   {{x0 + span, spring}, {x0 + span, 0}, {length, 0}, {length, height}, {0, height}});
    smooth.insert(smooth.end(), {false, false, false, false, false});
    return profile;
}

// Places a profile (u along x, v up) swept along y.
TPoint3D AlongY(int32_t u, int32_t v, int32_t w) {
    return {u, w, v};
}
// Places a profile (u along y, v up) swept along x.
TPoint3D AlongX(int32_t u, int32_t v, int32_t w) {
    return {w, u, v};
}
// Places a profile (u along x, v along y) swept upward.
TPoint3D Upward(int32_t u, int32_t v, int32_t w) {
    return {u, v, w};
}

// Steps of the given depth along u and rise along v, climbing toward +u.
TProfile StairProfile(int steps, int32_t depth, int32_t rise) {
    TProfile profile = {{0, 0}, {steps * depth, 0}, {steps * depth, steps * rise}};
    for (int k = steps - 1; k >= 1; --k)
        profile.insert(profile.end(), {{k * depth, (k + 1) * rise}, {k * depth, k * rise}});
    profile.push_back({0, rise});
    return profile;
}

// Painting orders for all octants: polygons farther from the octant's viewer are
// painted first (by the centre of their points along the viewing direction),
// then the bounding-box sort settles polygons that lie wholly behind others.
void OrderAllOctants(TDrawClass& d) {
    for (int octant = 0; octant < kOctantCount; ++octant) {
        double turn = (45.0 + 90.0 * (octant % 4)) * M_PI / 180.0;
        double tilt = (octant >= 4 ? 135.0 : 45.0) * M_PI / 180.0;
        // Direction toward the viewer of this octant.
        double vx = -std::sin(tilt) * std::sin(turn), vy = std::sin(tilt) * std::cos(turn),
               vz = std::cos(tilt);
        std::vector<double> depth(static_cast<size_t>(d.PolygonCount()));
        for (int p = 0; p < d.PolygonCount(); ++p) {
            double sum = 0;
            for (int i = 0; i < d.GetPointCount(p); ++i) {
                TPoint3D q = d.GetPoint(p, i);
                sum += vx * q.X + vy * q.Y + vz * q.Z;
            }
            depth[static_cast<size_t>(p)] = sum / std::max(1, d.GetPointCount(p));
        }
        std::vector<int> order(depth.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return depth[static_cast<size_t>(a)] < depth[static_cast<size_t>(b)] - 1e-9;
        });
        d.SetDrawCount(octant, 0);
        for (size_t k = 0; k < order.size(); ++k)
            d.SetDrawOrder(octant, static_cast<int>(k), order[k]);
    }
    SortDrawOrders(d, 0, kOctantCount - 1);
}

TDrawClass NewPart(const std::string& file, const std::string& name, int32_t bx, int32_t by, int32_t bz) {
    TDrawClass d;
    d.FileName = file;
    d.PartName = name;
    d.SetBoundingBox(bx, by, bz);
    return d;
}

std::vector<TDrawClass> StandardParts() {
    std::vector<TDrawClass> parts;
    const std::string file = "parts.dat";

    // A plain 2 x 1 brick, the part every general stone falls back to.
    TDrawClass brick = NewPart(file, "stdblock", 40, 20, 20);
    AddBox(brick, 0, 0, 0, 40, 20, 20);
    parts.push_back(brick);

    // An arch four modules long and three high with a round-topped opening.
    TDrawClass arch = NewPart(file, "arch", 80, 20, 60);
    std::vector<bool> archSmooth;
    TProfile archProfile = ArchProfile(80, 60, 20, 40, 20, 20, 8, archSmooth);
    AddPrism(arch, archProfile, 20, AlongY, archSmooth);
    parts.push_back(arch);

    // A 45 degree slope rising one module over the front half, flat behind.
    TDrawClass slope = NewPart(file, "slope45", 40, 40, 20);
    AddPrism(slope, {{0, 0}, {40, 0}, {40, 20}, {20, 20}}, 40, AlongX);
    parts.push_back(slope);

    // A round stone two modules across, made of sixteen facets.
    const int facets = 16;
    TDrawClass cylinder = NewPart(file, "cylinder", 40, 40, 20);
    AddRound(cylinder, 20, 20, 20, 20, 0, 20, facets);
    parts.push_back(cylinder);

    // A cone on a round base two modules across, two modules high.
    TDrawClass cone = NewPart(file, "cone", 40, 40, 40);
    AddRound(cone, 20, 20, 20, 0, 0, 40, facets);
    parts.push_back(cone);

    // Three steps, one module each, climbing along y.
    TDrawClass stair = NewPart(file, "stair", 20, 60, 60);
    AddPrism(stair, StairProfile(3, 20, 20), 20, AlongX);
    parts.push_back(stair);

    // A beam three modules long that turns about its middle module.
    TDrawClass beam = NewPart(file, "beam3", 60, 20, 20);
    AddBox(beam, 0, 0, 0, 60, 20, 20);
    beam.SetTurnOffset(0, {1, -1});
    beam.SetTurnOffset(1, {-1, 1});
    beam.SetTurnOffset(2, {1, -1});
    beam.SetTurnOffset(3, {-1, 1});
    parts.push_back(beam);

    // A brick with a yellow sign on its front, shown from the decoration level on.
    TDrawClass sign = NewPart(file, "sign", 40, 20, 20);
    AddBox(sign, 0, 0, 0, 40, 20, 20);
    AddPolygon(sign, {{6, 0, 5}, {34, 0, 5}, {34, 0, 15}, {6, 0, 15}}, 1, 1,
               static_cast<int32_t>(RGB(255, 229, 0)));
    parts.push_back(sign);

    // A thin glass pane, drawn see-through in light blue.
    TDrawClass pane = NewPart(file, "glasspane", 40, 4, 40);
    AddBox(pane, 0, 0, 0, 40, 4, 40, -static_cast<int32_t>(RGB(128, 200, 255)));
    parts.push_back(pane);

    for (auto& part : parts)
        OrderAllOctants(part);
    return parts;
}

// Fixed colours of the parts' decorations.
constexpr int32_t Fixed(int r, int g, int b) {
    return static_cast<int32_t>(RGB(r, g, b));
}
constexpr int32_t kGlass = -Fixed(128, 200, 255); // see-through, hatched
constexpr int32_t kDark = Fixed(40, 36, 34);
constexpr int32_t kLampGlass = Fixed(255, 236, 150);
constexpr int32_t kSoil = Fixed(90, 60, 35);
constexpr int32_t kLeaf = Fixed(40, 130, 50);
constexpr int32_t kDoor = Fixed(110, 70, 40);

// A brick or plate: a plain box of the given size.
TDrawClass Box(const std::string& name, int32_t x, int32_t y, int32_t z) {
    TDrawClass d = NewPart("parts.dat", name, x, y, z);
    AddBox(d, 0, 0, 0, x, y, z);
    return d;
}

// A slope rising over y 0..rise to the full height, flat behind.
TDrawClass Slope(const std::string& name, int32_t x, int32_t y, int32_t z, int32_t rise) {
    TDrawClass d = NewPart("parts.dat", name, x, y, z);
    AddPrism(d, {{0, 0}, {y, 0}, {y, z}, {rise, z}}, x, AlongX);
    return d;
}

// A slope whose top is full and whose underside rises from y = cut back to
// the top at y = 0.
TDrawClass InvertedSlope(const std::string& name, int32_t x, int32_t y, int32_t z, int32_t cut) {
    TDrawClass d = NewPart("parts.dat", name, x, y, z);
    AddPrism(d, {{cut, 0}, {y, 0}, {y, z}, {0, z}}, x, AlongX);
    return d;
}

// A wall along x, one module thick, with a round-topped opening.
TDrawClass Arch(const std::string& name, int32_t length, int32_t height, int32_t span, int32_t spring,
                int32_t rise, int steps) {
    TDrawClass d = NewPart("parts.dat", name, length, 20, height);
    std::vector<bool> smooth;
    TProfile profile = ArchProfile(length, height, (length - span) / 2, span, spring, rise, steps, smooth);
    AddPrism(d, profile, 20, AlongY, smooth);
    return d;
}

// A box beam of odd length that turns about its middle module.
TDrawClass Beam(const std::string& name, int modules) {
    TDrawClass d = Box(name, modules * 20, 20, 20);
    const int32_t half = (modules - 1) / 2;
    for (int turn = 0; turn < 4; ++turn)
        d.SetTurnOffset(turn, turn % 2 == 0 ? TTurnOffset{half, -half} : TTurnOffset{-half, half});
    return d;
}

// A fence along x: posts every 40 units, two rails between them and, from the
// decoration level on, a diagonal lattice between the rails.
TDrawClass Fence(const std::string& name, int32_t length) {
    TDrawClass d = NewPart("parts.dat", name, length, 20, 20);
    for (int32_t x = 0; x <= length; x += 40) {
        const int32_t x0 = std::clamp(x - 2, 0, length - 4);
        AddBox(d, x0, 8, 0, x0 + 4, 12, 20);
        if (x + 40 > length)
            break;
        for (int32_t z : {5, 14})
            AddBox(d, x0 + 4, 9, z, std::min(x + 38, length - 4), 11, z + 3, 0, kLeft | kRight);
        const int32_t a = x0 + 4, b = std::min(x + 38, length - 4), m = (a + b) / 2;
        AddLine(d, {a, 10, 8}, {m, 10, 14});
        AddLine(d, {m, 10, 8}, {b, 10, 14});
        AddLine(d, {a, 10, 14}, {m, 10, 8});
        AddLine(d, {m, 10, 14}, {b, 10, 8});
    }
    return d;
}

// Upright pickets on two rails, with pointed tops from the decoration level on.
TDrawClass Picket(const std::string& name, int32_t length) {
    TDrawClass d = NewPart("parts.dat", name, length, 20, 20);
    for (int32_t z : {4, 12})
        AddBox(d, 0, 11, z, length, 13, z + 3);
    for (int32_t x = 2; x + 6 <= length; x += 10) {
        AddBox(d, x, 8, 0, x + 6, 11, 16);
        AddPolygon(d, {{x, 8, 16}, {x + 6, 8, 16}, {x + 3, 8, 20}}, 1, 1);
    }
    return d;
}

// A half sphere of facets on its round base.
void AddDome(TDrawClass& d, int32_t cx, int32_t cy, int32_t r, int32_t h, int n, int rings) {
    std::vector<std::vector<TPoint3D>> ring;
    for (int k = 0; k < rings; ++k) {
        const double a = M_PI / 2 * k / rings;
        ring.push_back(Circle(cx, cy, static_cast<int32_t>(std::lround(r * std::cos(a))), n,
                              static_cast<int32_t>(std::lround(h * std::sin(a)))));
    }
    AddPolygon(d, ring[0]);
    constexpr int32_t kShowBaseOnly = (1 << 2) | (1 << 3) | (1 << 4);
    constexpr int32_t kHideAll = (1 << 1) | kShowBaseOnly;
    for (int k = 0; k < rings; ++k) {
        for (int i = 0; i < n; ++i) {
            size_t a = static_cast<size_t>(i), b = static_cast<size_t>((i + 1) % n);
            const int32_t flags = k == 0 ? kShowBaseOnly : kHideAll;
            const auto& low = ring[static_cast<size_t>(k)];
            if (k + 1 < rings)
                AddPolygon(d,
                           {low[a], low[b], ring[static_cast<size_t>(k + 1)][b],
                            ring[static_cast<size_t>(k + 1)][a]},
                           flags);
            else
                AddPolygon(d, {low[a], low[b], {cx, cy, h}}, k == 0 ? kHideTriangleSides : kHideAll);
        }
    }
}

// A face at y carrying the picture, seen from the side of smaller y. The
// picture's rows run from the first corner toward the second and its columns
// from the first toward the fourth; on the screen the viewer of that side has
// x growing to the left, so the first corner is the face's top corner at x1.
void AddPictureFront(TDrawClass& d, int32_t x0, int32_t x1, int32_t z0, int32_t z1, int32_t y,
                     const std::string& picture) {
    AddPolygon(d, {{x1, y, z1}, {x1, y, z0}, {x0, y, z0}, {x0, y, z1}});
    d.BitmapPolygon = d.PolygonCount() - 1;
    d.BitmapFileName = picture;
}

// Turns a part whose front was built at y = 0 round to face +y: the side the
// palette and a newly placed stone show the viewer. The picture's corners are
// taken in reverse, so that it still reads from left to right on that side,
// where x grows to the right.
void FaceTowardLargerY(TDrawClass& d) {
    const int32_t depth = d.BoundingY();
    for (int p = 0; p < d.PolygonCount(); ++p)
        for (int i = 0; i < d.GetPointCount(p); ++i) {
            const TPoint3D q = d.GetPoint(p, i);
            d.SetPoint(p, i, {q.X, depth - q.Y, q.Z});
        }
    if (d.BitmapPolygon >= 0) {
        const int p = d.BitmapPolygon, n = d.GetPointCount(p);
        std::vector<TPoint3D> corners;
        for (int i = 0; i < n; ++i)
            corners.push_back(d.GetPoint(p, n - 1 - i));
        for (int i = 0; i < n; ++i)
            d.SetPoint(p, i, corners[static_cast<size_t>(i)]);
    }
}

// A board on its own: a thin box whose front face is the picture.
TDrawClass Board(const std::string& name, int32_t x, int32_t y, int32_t z, const std::string& picture) {
    TDrawClass d = NewPart("parts.dat", name, x, y, z);
    AddBox(d, 0, 0, 0, x, y, z, 0, kFront);
    AddPictureFront(d, 0, x, 0, z, 0, picture);
    return d;
}

std::vector<TDrawClass> MoreParts() {
    std::vector<TDrawClass> parts;
    const std::string file = "parts.dat";

    // Bricks and plates.
    for (int n : {1, 2, 3, 4, 6, 8})
        parts.push_back(Box("brick1x" + std::to_string(n), n * 20, 20, 20));
    parts.push_back(Box("brick2x2", 40, 40, 20));
    parts.push_back(Box("brick2x4", 80, 40, 20));
    for (int n : {1, 2, 4})
        parts.push_back(Box("plate1x" + std::to_string(n), n * 20, 20, 6));
    parts.push_back(Box("plate2x2", 40, 40, 6));
    parts.push_back(Box("plate2x4", 80, 40, 6));
    parts.push_back(Box("plate4x4", 80, 80, 6));

    // Slopes rising toward +y, and inverted slopes cut away underneath toward y = 0.
    parts.push_back(Slope("slope45_1x2", 20, 40, 20, 20));
    parts.push_back(Slope("slope45_4x2", 80, 40, 20, 20));
    parts.push_back(Slope("slope30_2x3", 40, 60, 20, 40));
    parts.push_back(Slope("slope65_2x2", 40, 40, 40, 20));
    parts.push_back(InvertedSlope("invslope45", 40, 40, 20, 20));
    parts.push_back(InvertedSlope("invslope45_1x2", 20, 40, 20, 20));
    parts.push_back(InvertedSlope("invslope30_2x3", 40, 60, 20, 40));

    // Arches spanning along x, the opening passing through y.
    parts.push_back(Arch("arch1x3", 60, 20, 20, 6, 10, 6));
    parts.push_back(Arch("arch1x6", 120, 40, 80, 4, 26, 12));
    parts.push_back(Arch("arch1x8", 160, 60, 120, 4, 40, 14));

    // Round stones.
    TDrawClass round = NewPart(file, "round1x1", 20, 20, 20);
    AddRound(round, 10, 10, 10, 10, 0, 20, 12);
    parts.push_back(round);
    TDrawClass roundPlate = NewPart(file, "roundplate2x2", 40, 40, 6);
    AddRound(roundPlate, 20, 20, 20, 20, 0, 6, 16);
    parts.push_back(roundPlate);
    TDrawClass smallCone = NewPart(file, "cone1x1", 20, 20, 20);
    AddRound(smallCone, 10, 10, 10, 0, 0, 20, 12);
    parts.push_back(smallCone);
    TDrawClass dome = NewPart(file, "dome2x2", 40, 40, 20);
    AddDome(dome, 20, 20, 20, 20, 16, 4);
    parts.push_back(dome);
    TDrawClass tower = NewPart(file, "cylinder4x4", 80, 80, 20);
    AddRound(tower, 40, 40, 40, 40, 0, 20, 24);
    parts.push_back(tower);
    // A quarter of a round stone two modules in radius, its centre at x = 0, y = 0.
    TDrawClass quarter = NewPart(file, "quarterround", 40, 40, 20);
    TProfile quarterProfile = {{0, 0}};
    std::vector<bool> quarterSmooth = {false};
    for (int i = 0; i <= 6; ++i) {
        TPoint3D p = CirclePoint(0, 0, 40, i, 24, 0);
        quarterProfile.push_back({p.X, p.Y});
        quarterSmooth.push_back(i < 6);
    }
    AddPrism(quarter, quarterProfile, 20, Upward, quarterSmooth);
    parts.push_back(quarter);

    // Stairs climbing toward +y.
    TDrawClass wideStair = NewPart(file, "stair2x3", 40, 60, 60);
    AddPrism(wideStair, StairProfile(3, 20, 20), 40, AlongX);
    parts.push_back(wideStair);
    TDrawClass stair4 = NewPart(file, "stair4", 20, 80, 80);
    AddPrism(stair4, StairProfile(4, 20, 20), 20, AlongX);
    parts.push_back(stair4);

    // Fences along x.
    parts.push_back(Fence("fence1x4", 80));
    parts.push_back(Picket("picket1x4", 80));
    parts.push_back(Fence("fence1x6", 120));

    // A round column with a square base and capital.
    TDrawClass column = NewPart(file, "column1x1", 20, 20, 120);
    AddBox(column, 0, 0, 0, 20, 20, 10);
    AddRound(column, 10, 10, 7, 7, 10, 110, 12, 0, false, false);
    AddBox(column, 0, 0, 110, 20, 20, 120);
    parts.push_back(column);
    // A square pillar with base, capital and fluting lines on its four sides.
    TDrawClass pillar = NewPart(file, "pillar2x2", 40, 40, 120);
    AddBox(pillar, 0, 0, 0, 40, 40, 10);
    AddBox(pillar, 4, 4, 10, 36, 36, 110, 0, kBottom | kTop);
    AddBox(pillar, 0, 0, 110, 40, 40, 120);
    for (int32_t s : {12, 20, 28}) {
        AddLine(pillar, {s, 3, 14}, {s, 3, 106});
        AddLine(pillar, {s, 37, 14}, {s, 37, 106});
        AddLine(pillar, {3, s, 14}, {3, s, 106});
        AddLine(pillar, {37, s, 14}, {37, s, 106});
    }
    parts.push_back(pillar);

    // Beams that turn about their middle module.
    parts.push_back(Beam("beam5", 5));
    parts.push_back(Beam("beam7", 7));

    // A pair of merlons with the gap between them, for the top of a castle wall.
    TDrawClass battlement = NewPart(file, "battlement", 40, 20, 20);
    AddPrism(battlement, {{0, 0}, {40, 0}, {40, 20}, {26, 20}, {26, 8}, {14, 8}, {14, 20}, {0, 20}}, 20,
             AlongY);
    parts.push_back(battlement);

    // A chimney: the stack, a wider cap and the dark flue opening in the cap's top.
    TDrawClass chimney = NewPart(file, "chimney", 40, 40, 60);
    AddBox(chimney, 6, 6, 0, 34, 34, 50, 0, kTop);
    AddBox(chimney, 2, 2, 50, 38, 38, 60, 0, kTop);
    AddPolygon(chimney, {{2, 2, 60}, {38, 2, 60}, {28, 12, 60}, {12, 12, 60}});
    AddPolygon(chimney, {{38, 2, 60}, {38, 38, 60}, {28, 28, 60}, {28, 12, 60}});
    AddPolygon(chimney, {{38, 38, 60}, {2, 38, 60}, {12, 28, 60}, {28, 28, 60}});
    AddPolygon(chimney, {{2, 38, 60}, {2, 2, 60}, {12, 12, 60}, {12, 28, 60}});
    AddPolygon(chimney, {{12, 12, 60}, {28, 12, 60}, {28, 28, 60}, {12, 28, 60}}, 1, 0, kDark);
    parts.push_back(chimney);

    // A street lamp: a base, a pole, a lantern with lit panes and a pointed roof.
    TDrawClass lamp = NewPart(file, "lamppost", 20, 20, 100);
    AddBox(lamp, 5, 5, 0, 15, 15, 8);
    AddRound(lamp, 10, 10, 2, 2, 8, 78, 8, 0, false, false);
    AddBox(lamp, 5, 5, 78, 15, 15, 92);
    AddPolygon(lamp, {{6, 4, 80}, {14, 4, 80}, {14, 4, 90}, {6, 4, 90}}, 1, 1, kLampGlass);
    AddPolygon(lamp, {{6, 16, 80}, {14, 16, 80}, {14, 16, 90}, {6, 16, 90}}, 1, 1, kLampGlass);
    AddPolygon(lamp, {{4, 6, 80}, {4, 14, 80}, {4, 14, 90}, {4, 6, 90}}, 1, 1, kLampGlass);
    AddPolygon(lamp, {{16, 6, 80}, {16, 14, 80}, {16, 14, 90}, {16, 6, 90}}, 1, 1, kLampGlass);
    AddPolygon(lamp, {{3, 3, 92}, {17, 3, 92}, {17, 17, 92}, {3, 17, 92}});
    AddPolygon(lamp, {{3, 3, 92}, {17, 3, 92}, {10, 10, 100}});
    AddPolygon(lamp, {{17, 3, 92}, {17, 17, 92}, {10, 10, 100}});
    AddPolygon(lamp, {{17, 17, 92}, {3, 17, 92}, {10, 10, 100}});
    AddPolygon(lamp, {{3, 17, 92}, {3, 3, 92}, {10, 10, 100}});
    parts.push_back(lamp);

    // A flower box: the box with soil on top and, as decoration, flowers on leaves.
    TDrawClass flowers = NewPart(file, "flowerbox", 40, 20, 13);
    AddBox(flowers, 0, 0, 0, 40, 20, 8, 0, kTop);
    AddPolygon(flowers, {{0, 0, 8}, {40, 0, 8}, {40, 20, 8}, {0, 20, 8}}, 1, 0, kSoil);
    const int32_t blossoms[] = {Fixed(220, 30, 40), Fixed(250, 210, 40), Fixed(230, 80, 160),
                                Fixed(220, 30, 40), Fixed(250, 210, 40)};
    for (int i = 0; i < 5; ++i) {
        const int32_t x = 4 + 8 * i;
        AddPolygon(flowers, {{x - 3, 10, 8}, {x + 3, 10, 8}, {x, 10, 9}}, 1, 1, kLeaf);
        AddPolygon(flowers, {{x, 10, 9}, {x + 2, 10, 11}, {x, 10, 13}, {x - 2, 10, 11}}, 1, 1, blossoms[i]);
    }
    parts.push_back(flowers);

    // A brick whose front and back show the mortar lines of smaller bricks.
    TDrawClass wall = NewPart(file, "brickwall", 80, 20, 20);
    AddBox(wall, 0, 0, 0, 80, 20, 20);
    for (int32_t y : {-1, 21}) {
        AddLine(wall, {0, y, 7}, {80, y, 7});
        AddLine(wall, {0, y, 13}, {80, y, 13});
        for (int32_t x = 20; x < 80; x += 20) {
            AddLine(wall, {x, y, 0}, {x, y, 7});
            AddLine(wall, {x, y, 13}, {x, y, 20});
        }
        for (int32_t x = 10; x < 80; x += 20)
            AddLine(wall, {x, y, 7}, {x, y, 13});
    }
    parts.push_back(wall);

    // A locomotive boiler: a cylinder lying along x on its saddle.
    TDrawClass boiler = NewPart(file, "boiler", 80, 40, 40);
    AddBox(boiler, 0, 6, 0, 80, 34, 10);
    {
        TProfile ring;
        std::vector<bool> smooth;
        for (int i = 0; i < 16; ++i) {
            TPoint3D p = CirclePoint(20, 25, 15, i, 16, 0);
            ring.push_back({p.X, p.Y});
            smooth.push_back(true);
        }
        AddPrism(boiler, ring, 80, AlongX, smooth);
    }
    parts.push_back(boiler);

    // A boat hull, the deck at the top, narrowing to the keel, the bow pointing to +x.
    TDrawClass hull = NewPart(file, "hull", 120, 60, 40);
    const std::vector<TPoint3D> deck = {{0, 0, 40}, {80, 0, 40}, {120, 30, 40}, {80, 60, 40}, {0, 60, 40}};
    const std::vector<TPoint3D> keel = {{8, 15, 0}, {76, 15, 0}, {96, 30, 0}, {76, 45, 0}, {8, 45, 0}};
    AddPolygon(hull, keel);
    AddPolygon(hull, deck);
    for (size_t i = 0; i < deck.size(); ++i) {
        size_t j = (i + 1) % deck.size();
        AddPolygon(hull, {keel[i], keel[j], deck[j], deck[i]});
    }
    parts.push_back(hull);

    // A windmill sail: the whip along z, the frame's side bars and, as
    // decoration, the lattice bars between them.
    TDrawClass sail = NewPart(file, "sail", 20, 4, 120);
    AddBox(sail, 8, 0, 0, 12, 4, 120);
    AddBox(sail, 0, 1, 30, 2, 3, 120);
    AddBox(sail, 18, 1, 30, 20, 3, 120);
    for (int32_t z = 30; z <= 120; z += 10) {
        AddLine(sail, {2, 2, z}, {8, 2, z});
        AddLine(sail, {12, 2, z}, {18, 2, z});
    }
    AddLine(sail, {5, 2, 30}, {5, 2, 120});
    AddLine(sail, {15, 2, 30}, {15, 2, 120});
    parts.push_back(sail);

    // A carriage roof curved across y.
    TDrawClass roof = NewPart(file, "curvedroof", 80, 40, 13);
    {
        TProfile profile = {{0, 0}, {40, 0}, {40, 3}};
        std::vector<bool> smooth = {false, false, true};
        for (int i = 1; i < 8; ++i) {
            const double a = M_PI * i / 8;
            profile.push_back({static_cast<int32_t>(std::lround(20 + 20 * std::cos(a))),
                               3 + static_cast<int32_t>(std::lround(10 * std::sin(a)))});
            smooth.push_back(true);
        }
        profile.push_back({0, 3});
        smooth.push_back(false);
        AddPrism(roof, profile, 80, AlongX, smooth);
    }
    parts.push_back(roof);

    // A car nose: full height at x = 0, sloping down toward +x.
    TDrawClass wedge = NewPart(file, "wedge", 40, 40, 20);
    AddPrism(wedge, {{0, 0}, {40, 0}, {40, 6}, {0, 20}}, 40, AlongY);
    parts.push_back(wedge);

    // Parts with pictures, shown at the highest detail level.
    TDrawClass shop = NewPart(file, "shopfront", 80, 20, 60);
    AddBox(shop, 0, 0, 0, 80, 20, 60, 0, kFront);
    AddPolygon(shop, {{0, 0, 0}, {6, 0, 0}, {6, 0, 42}, {0, 0, 42}});
    AddPolygon(shop, {{6, 0, 0}, {50, 0, 0}, {50, 0, 8}, {6, 0, 8}});
    AddPolygon(shop, {{6, 0, 8}, {50, 0, 8}, {50, 0, 38}, {6, 0, 38}}, 1, 0, kGlass);
    AddPolygon(shop, {{6, 0, 38}, {50, 0, 38}, {50, 0, 42}, {6, 0, 42}});
    AddPolygon(shop, {{50, 0, 0}, {56, 0, 0}, {56, 0, 42}, {50, 0, 42}});
    AddPolygon(shop, {{56, 0, 0}, {74, 0, 0}, {74, 0, 38}, {56, 0, 38}}, 1, 0, kDoor);
    AddPolygon(shop, {{56, 0, 38}, {74, 0, 38}, {74, 0, 42}, {56, 0, 42}});
    AddPolygon(shop, {{74, 0, 0}, {80, 0, 0}, {80, 0, 42}, {74, 0, 42}});
    AddPictureFront(shop, 0, 80, 42, 60, 0, "shopsign.png");
    parts.push_back(shop);

    parts.push_back(Board("clock", 40, 20, 40, "clockface.png"));
    parts.push_back(Board("stationsign", 80, 4, 20, "stationsign.png"));
    parts.push_back(Board("poster", 40, 4, 40, "poster.png"));

    TDrawClass roadSign = NewPart(file, "roadsign", 20, 20, 80);
    AddRound(roadSign, 10, 10, 2, 2, 0, 60, 8, 0, true, false);
    AddBox(roadSign, 0, 8, 60, 20, 12, 80, 0, kFront);
    AddPictureFront(roadSign, 0, 20, 60, 80, 8, "roadsign.png");
    parts.push_back(roadSign);

    parts.push_back(Board("nameplate", 40, 4, 13, "nameplate.png"));
    for (auto& part : parts)
        if (part.BitmapPolygon >= 0)
            FaceTowardLargerY(part);

    for (auto& part : parts)
        OrderAllOctants(part);
    return parts;
}

TStringList LibraryLines(std::vector<TDrawClass> parts) {
    TStringList lines;
    for (auto& part : parts) {
        if (!lines.empty())
            lines.push_back("");
        WritePart(part, lines);
    }
    return lines;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make_parts OUTPUT_FOLDER\n");
        return 2;
    }
    // The pictures' text needs the fonts, which need an application; no display is used.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    try {
        std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        std::vector<TDrawClass> parts = StandardParts();
        for (TDrawClass& part : MoreParts())
            parts.push_back(std::move(part));
        SaveLines(folder / "parts.dat", LibraryLines(parts));
        WritePartPictures(folder);

        TDrawClass templ = NewPart("template.dat", "template", 20, 20, 20);
        AddBox(templ, 0, 0, 0, 20, 20, 20);
        OrderAllOctants(templ);
        SaveLines(folder / "template.dat", LibraryLines({templ}));
        SaveLines(folder / "userblks.dat", {});
    } catch (const EError& e) {
        std::fprintf(stderr, "make_parts: %s\n", e.what());
        return 1;
    }
    return 0;
}
