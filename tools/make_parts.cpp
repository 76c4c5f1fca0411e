// Writes the part library shipped beside the program (parts.dat, template.dat
// and an empty userblks.dat) from the shapes described here, with a painting
// order for each of the eight part octants.
//
// Usage: make_parts OUTPUT_FOLDER

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <vector>

#include "common/color.h"
#include "common/error.h"
#include "editor/shape_sort.h"
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

void AddBox(TDrawClass& d, int32_t x0, int32_t y0, int32_t z0, int32_t x1, int32_t y1, int32_t z1,
            int32_t color = 0) {
    AddPolygon(d, {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}}, 1, 0, color); // bottom
    AddPolygon(d, {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, 1, 0, color); // top
    AddPolygon(d, {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, 1, 0, color); // front
    AddPolygon(d, {{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}, 1, 0, color); // back
    AddPolygon(d, {{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}}, 1, 0, color); // left
    AddPolygon(d, {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}, 1, 0, color); // right
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
    TProfile archProfile = {{0, 0}, {20, 0}, {20, 20}};
    std::vector<bool> archSmooth = {false, false};
    const int archSteps = 8;
    for (int i = 1; i < archSteps; ++i) {
        double a = M_PI - M_PI * i / archSteps;
        archProfile.push_back({40 + static_cast<int32_t>(std::lround(20 * std::cos(a))),
                               20 + static_cast<int32_t>(std::lround(20 * std::sin(a)))});
        archSmooth.push_back(true);
    }
    archSmooth.push_back(true);
    archProfile.insert(archProfile.end(), {{60, 20}, {60, 0}, {80, 0}, {80, 60}, {0, 60}});
    archSmooth.insert(archSmooth.end(), {false, false, false, false, false});
    AddPrism(
        arch, archProfile, 20,
        [](int32_t u, int32_t v, int32_t w) {
            return TPoint3D{u, w, v};
        },
        archSmooth);
    parts.push_back(arch);

    // A 45 degree slope rising one module over the front half, flat behind.
    TDrawClass slope = NewPart(file, "slope45", 40, 40, 20);
    AddPrism(slope, {{0, 0}, {40, 0}, {40, 20}, {20, 20}}, 40, [](int32_t u, int32_t v, int32_t w) {
        return TPoint3D{w, u, v};
    });
    parts.push_back(slope);

    // A round stone two modules across, made of sixteen facets.
    const int facets = 16;
    TDrawClass cylinder = NewPart(file, "cylinder", 40, 40, 20);
    std::vector<TPoint3D> bottom, top;
    for (int i = 0; i < facets; ++i) {
        bottom.push_back(CirclePoint(20, 20, 20, i, facets, 0));
        top.push_back(CirclePoint(20, 20, 20, i, facets, 20));
    }
    AddPolygon(cylinder, bottom);
    AddPolygon(cylinder, top);
    for (int i = 0; i < facets; ++i) {
        int j = (i + 1) % facets;
        AddPolygon(cylinder, {bottom[i], bottom[j], top[j], top[i]}, kHideQuadSides);
    }
    parts.push_back(cylinder);

    // A cone on a round base two modules across, two modules high.
    TDrawClass cone = NewPart(file, "cone", 40, 40, 40);
    AddPolygon(cone, bottom);
    for (int i = 0; i < facets; ++i) {
        int j = (i + 1) % facets;
        AddPolygon(cone, {bottom[i], bottom[j], {20, 20, 40}}, kHideTriangleSides);
    }
    parts.push_back(cone);

    // Three steps, one module each, climbing along y.
    TDrawClass stair = NewPart(file, "stair", 20, 60, 60);
    AddPrism(stair, {{0, 0}, {60, 0}, {60, 60}, {40, 60}, {40, 40}, {20, 40}, {20, 20}, {0, 20}}, 20,
             [](int32_t u, int32_t v, int32_t w) {
                 return TPoint3D{w, u, v};
             });
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
    try {
        std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        SaveLines(folder / "parts.dat", LibraryLines(StandardParts()));

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
