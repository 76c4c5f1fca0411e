// Every stone kind and every part of the shipped library as a closed shell:
// wound outward, inside the stone's box, with the volume the shape has, and
// covering on the screen what the view draws of the stone.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <utility>

#include "export/polygon_triangulation.h"
#include "export/stone_mesh.h"
#include "model/block_factory.h"
#include "model/general_block.h"
#include "model/round_block.h"
#include "partlib/draw_class.h"
#include "partlib/part_registry.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/data_folders.h"
#include "raster/draw_object.h"
#include "temp_program_folder.h"
#include "test_stones.h"
#include "view/render_state.h"

namespace fs = std::filesystem;

namespace {

// Closed and consistently wound: every edge is walked once each way.
bool IsClosedShell(const TStoneMesh& mesh) {
    std::map<std::pair<uint32_t, uint32_t>, int> edges;
    for (const TMeshTriangle& t : mesh.Triangles)
        for (int k = 0; k < 3; ++k)
            ++edges[{t[k], t[(k + 1) % 3]}];
    for (const auto& [edge, count] : edges)
        if (count != 1 || edges.count({edge.second, edge.first}) != 1)
            return false;
    return !mesh.Triangles.empty();
}

// Positive when the triangles face outward.
double Volume(const TStoneMesh& mesh) {
    double volume = 0;
    for (const TMeshTriangle& t : mesh.Triangles) {
        const TMeshPoint &a = mesh.Points[t[0]], &b = mesh.Points[t[1]], &c = mesh.Points[t[2]];
        volume +=
            (a.X * (b.Y * c.Z - b.Z * c.Y) - a.Y * (b.X * c.Z - b.Z * c.X) + a.Z * (b.X * c.Y - b.Y * c.X)) /
            6;
    }
    return volume;
}

std::pair<TMeshPoint, TMeshPoint> Bounds(const TStoneMesh& mesh) {
    TMeshPoint low = mesh.Points.at(0), high = low;
    for (const TMeshPoint& p : mesh.Points) {
        low = {std::min(low.X, p.X), std::min(low.Y, p.Y), std::min(low.Z, p.Z)};
        high = {std::max(high.X, p.X), std::max(high.Y, p.Y), std::max(high.Z, p.Z)};
    }
    return {low, high};
}

// The part names of the shipped library, in file order.
std::vector<std::string> ShippedParts() {
    std::vector<std::string> names;
    std::ifstream in(SourceFolder() / "data" / "parts" / "parts.dat");
    for (std::string line; std::getline(in, line);)
        if (line.size() > 2 && line.front() == '[' && line.find(']') != std::string::npos)
            names.push_back(line.substr(1, line.find(']') - 1));
    return names;
}

// A stone of every built-in kind in the sizes the palette and the demo
// models use, and some too small for their pieces (in units: length,
// width, height).
struct TKindCase {
    char Kind;
    int32_t L, W, H;
};
const TKindCase kKinds[] = {
    {'B', 60, 20, 13}, {'R', 20, 20, 20}, {'R', 80, 60, 20}, {'R', 12, 12, 13}, {'T', 40, 40, 20},
    {'T', 80, 40, 20}, {'N', 40, 40, 20}, {'N', 80, 40, 20}, {'C', 40, 40, 20}, {'I', 40, 40, 20},
    {'I', 60, 40, 20}, {'E', 40, 40, 20}, {'W', 40, 20, 40}, {'W', 40, 20, 26}, {'W', 60, 20, 60},
    {'W', 20, 20, 10}, {'D', 40, 20, 60}, {'D', 80, 20, 80}, {'D', 20, 20, 60}, {'O', 40, 20, 40},
    {'O', 80, 40, 80},
};

// The volumes the shapes have, where a formula gives them.
double ExpectedVolume(const TKindCase& k) {
    const double l = k.L, w = k.W, h = k.H;
    switch (k.Kind) {
    case 'B':
        return l * w * h;
    case 'T':
    case 'N':
        return l * w * h / 2;
    case 'C':
        return l * w * h / 3;
    case 'R': {
        const int n = TRoundBlock::Sides(l / 2, w / 2);
        return n / 2.0 * (l / 2) * (w / 2) * std::sin(2 * 3.14159265358979323846 / n) * h;
    }
    case 'W':
        if (l <= 4 || h <= 10)
            return l * w * h;
        // The sides less the groove, the sill less the groove, the lintel and the pane.
        return 2 * 2 * (w * h - 6) + (l - 4) * (3 * 8 - 6 + 2 * w) + (l - 4) * (h - 10);
    case 'D':
        if (l < 30)
            return l * w * h;
        // The sides, the lintel, the leaves less the opening, and the threshold.
        return 4 * w * h + 2 * w * (l - 4) + 2 * (l - 4) * (h - 2) - 2 * 2 * 120 + 2 * (l - 4);
    default:
        return 0;
    }
}

class StoneMeshTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(BuiltProgramFolder());
        TPartRegistry::Instance().Clear();
    }
    void TearDown() override { TPartRegistry::Instance().Clear(); }

    static std::unique_ptr<TBlock> Part(const std::string& name, int32_t x, int32_t y, int32_t z) {
        auto stone = std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, clRed, false, false, false,
                                                     "parts.dat", name, "");
        stone->X = x, stone->Y = y, stone->Z = z;
        return stone;
    }

    // Every kind and every shipped part, at each of its turns, as a stone
    // at a place away from the origin.
    static std::vector<std::unique_ptr<TBlock>> EveryStone() {
        std::vector<std::unique_ptr<TBlock>> stones;
        for (int turn = 0; turn < 4; ++turn) {
            auto add = [&](std::unique_ptr<TBlock> stone) {
                for (int k = 0; k < turn; ++k)
                    stone->TurnQuarter();
                stones.push_back(std::move(stone));
            };
            for (const TKindCase& k : kKinds)
                add(StoneInUnits(k.Kind, 100, -40, 20, k.L, k.W, k.H, clRed));
            for (const std::string& name : ShippedParts())
                add(Part(name, 100, -40, 20));
        }
        return stones;
    }
};

std::string NameOf(const TBlock& stone) {
    std::string name = stone.Part ? stone.Part->PartName : std::string(1, stone.Kind);
    return name + " " + std::to_string(stone.Length) + "x" + std::to_string(stone.Width) + "x" +
           std::to_string(stone.Height) + " turn " + std::to_string(stone.Turn);
}

} // namespace

TEST_F(StoneMeshTest, EveryKindAndPartIsAClosedOutwardShellInItsBoxPlacedAsTheStoneLies) {
    const std::vector<std::unique_ptr<TBlock>> stones = EveryStone();
    ASSERT_GE(stones.size(), 4 * (std::size(kKinds) + 60));
    std::map<std::string, double> volumes;
    for (const auto& stone : stones) {
        const std::string name = NameOf(*stone);
        const TStoneMesh mesh = BuildStoneMesh(*stone);
        EXPECT_TRUE(IsClosedShell(mesh)) << name;
        EXPECT_EQ(mesh.Gaps, "") << name;
        const double volume = Volume(mesh);
        EXPECT_GT(volume, 0) << name;
        // Turned, a stone keeps its volume.
        const std::string shape = ShapeKeyOf(*stone);
        if (auto [known, added] = volumes.emplace(shape, volume); !added) {
            EXPECT_NEAR(known->second, volume, 1e-6 * volume) << name;
        }
        for (const TKindCase& k : kKinds) {
            if (stone->Kind == k.Kind && stone->OwnLength() == k.L && stone->OwnWidth() == k.W &&
                stone->Height == k.H && ExpectedVolume(k) > 0) {
                EXPECT_NEAR(volume, ExpectedVolume(k), 1e-6 * volume) << name;
            }
        }
        // Inside the stone's box, a built-in kind touching its sides. A
        // wheel is drawn inside its box's sides, about a fixed height above
        // its foot, so it may reach above or below the box.
        const auto [low, high] = Bounds(mesh);
        if (stone->Kind == 'G') {
            EXPECT_GE(low.X, stone->X) << name;
            EXPECT_GE(low.Y, stone->Y) << name;
            EXPECT_GE(low.Z, stone->Z) << name;
            EXPECT_LE(high.X, stone->X + stone->Length) << name;
            EXPECT_LE(high.Y, stone->Y + stone->Width) << name;
            EXPECT_LE(high.Z, stone->Z + stone->Height) << name;
        } else if (stone->Kind == 'O') {
            EXPECT_GT(low.X, stone->X) << name;
            EXPECT_GT(low.Y, stone->Y) << name;
            EXPECT_LT(high.X, stone->X + stone->Length) << name;
            EXPECT_LT(high.Y, stone->Y + stone->Width) << name;
        } else {
            EXPECT_EQ(low.X, stone->X) << name;
            EXPECT_EQ(low.Y, stone->Y) << name;
            EXPECT_EQ(high.X, stone->X + stone->Length) << name;
            EXPECT_EQ(high.Y, stone->Y + stone->Width) << name;
            EXPECT_GE(low.Z, stone->Z) << name;
            EXPECT_LE(high.Z, stone->Z + stone->Height) << name;
        }
    }

    // A part's picture face keeps where its picture lies: corners 0 to 1 on
    // the face, the picture named as the part names it.
    auto shop = Part("shopfront", 0, 0, 0);
    const TStoneMesh withPicture = BuildShapeMesh(*shop);
    ASSERT_EQ(withPicture.Pictures.size(), 1u);
    EXPECT_EQ(withPicture.Pictures[0].Picture, "shopsign.png");
    ASSERT_EQ(withPicture.TextureCoordinates.size(), withPicture.Points.size());
    float lowU = 1, highU = 0, lowV = 1, highV = 0;
    for (uint32_t t = 0; t < withPicture.Pictures[0].TriangleCount; ++t)
        for (uint32_t i : withPicture.Triangles[withPicture.Pictures[0].FirstTriangle + t]) {
            const auto [u, v] = withPicture.TextureCoordinates[i];
            lowU = std::min(lowU, u), highU = std::max(highU, u), lowV = std::min(lowV, v),
            highV = std::max(highV, v);
            // The sign runs along the stone's front, top at v = 0.
            EXPECT_NEAR(u, withPicture.Points[i].X / 80, 1e-6);
            EXPECT_NEAR(v, (60 - withPicture.Points[i].Z) / 18, 1e-6);
        }
    EXPECT_EQ(lowU, 0);
    EXPECT_EQ(highU, 1);
    EXPECT_EQ(lowV, 0);
    EXPECT_EQ(highV, 1);

    // Stones share a shape when, and only when, it is the same in their own axes.
    TShapeCatalogue shapes;
    auto roof = StoneInUnits('T', 0, 0, 0, 40, 60, 20);
    auto turnedRoof = StoneInUnits('T', 80, 0, 0, 40, 60, 20);
    turnedRoof->TurnQuarter();
    auto acrossRoof = StoneInUnits('T', 0, 0, 0, 60, 40, 20);
    auto ridge = StoneInUnits('N', 0, 0, 0, 40, 60, 20);
    EXPECT_EQ(&shapes.ShapeOf(*roof), &shapes.ShapeOf(*turnedRoof));
    EXPECT_NE(&shapes.ShapeOf(*roof), &shapes.ShapeOf(*acrossRoof));
    EXPECT_NE(&shapes.ShapeOf(*roof), &shapes.ShapeOf(*ridge));
    auto brick = Part("brick1x2", 0, 0, 0), stdblock = Part("stdblock", 0, 0, 0);
    EXPECT_NE(&shapes.ShapeOf(*brick), &shapes.ShapeOf(*stdblock));
    EXPECT_EQ(shapes.Count(), 5u);

    // A part of the user's left open on one flat side is closed over it; one
    // of two cubes, each told whole, is the solid of both; a part that is one
    // flat sheet encloses nothing, and says so.
    TTempProgramFolder folder;
    TPartRegistry::Instance().Clear();
    folder.WritePartFile("mine.dat", "[lid]\nNP=5\nBB=20,20,20\n"
                                     "P1=4, 1, 0,0,0, 20,0,0, 20,20,0, 0,20,0\n"
                                     "P2=4, 1, 0,0,0, 20,0,0, 20,0,20, 0,0,20\n"
                                     "P3=4, 1, 0,20,0, 20,20,0, 20,20,20, 0,20,20\n"
                                     "P4=4, 1, 0,0,0, 0,20,0, 0,20,20, 0,0,20\n"
                                     "P5=4, 1, 20,0,0, 20,20,0, 20,20,20, 20,0,20\n"
                                     "[sheet]\nNP=1\nBB=20,20,20\nP1=3, 1, 0,0,0, 20,0,0, 0,20,20\n"
                                     "[stack]\nNP=12\nBB=20,20,40\n"
                                     "P1=4, 1, 0,0,0, 20,0,0, 20,20,0, 0,20,0\n"
                                     "P2=4, 1, 0,0,20, 20,0,20, 20,20,20, 0,20,20\n"
                                     "P3=4, 1, 0,0,0, 20,0,0, 20,0,20, 0,0,20\n"
                                     "P4=4, 1, 0,20,0, 20,20,0, 20,20,20, 0,20,20\n"
                                     "P5=4, 1, 0,0,0, 0,20,0, 0,20,20, 0,0,20\n"
                                     "P6=4, 1, 20,0,0, 20,20,0, 20,20,20, 20,0,20\n"
                                     "P7=4, 1, 0,20,20, 20,20,20, 20,0,20, 0,0,20\n"
                                     "P8=4, 1, 0,0,40, 20,0,40, 20,20,40, 0,20,40\n"
                                     "P9=4, 1, 0,0,20, 20,0,20, 20,0,40, 0,0,40\n"
                                     "P10=4, 1, 0,20,20, 20,20,20, 20,20,40, 0,20,40\n"
                                     "P11=4, 1, 0,0,20, 0,20,20, 0,20,40, 0,0,40\n"
                                     "P12=4, 1, 20,0,20, 20,20,20, 20,20,40, 20,0,40\n");
    auto open =
        std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, clRed, false, false, false, "mine.dat", "lid", "");
    const TStoneMesh closed = BuildShapeMesh(*open);
    EXPECT_TRUE(IsClosedShell(closed));
    EXPECT_EQ(closed.Gaps, "");
    EXPECT_DOUBLE_EQ(Volume(closed), 8000);
    auto sheet = std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, clRed, false, false, false, "mine.dat",
                                                 "sheet", "");
    EXPECT_EQ(BuildShapeMesh(*sheet).Gaps, "the faces enclose no room");
    auto stack = std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, clRed, false, false, false, "mine.dat",
                                                 "stack", "");
    const TStoneMesh both = BuildShapeMesh(*stack);
    EXPECT_TRUE(IsClosedShell(both));
    EXPECT_EQ(both.Gaps, "");
    EXPECT_DOUBLE_EQ(Volume(both), 16000);
}

namespace {

// The pixels the stone covers: what is not the white background, together
// with what the stone encloses (a pane's hatching, a door's opening seen
// through), found as what the background cannot reach from the border.
std::vector<bool> Covered(const TBitmap& picture) {
    TBitmap& b = const_cast<TBitmap&>(picture);
    const int w = b.Width(), h = b.Height();
    std::vector<bool> outside(static_cast<size_t>(w * h), false);
    std::vector<std::pair<int, int>> todo;
    auto background = [&](int x, int y) {
        return (static_cast<const uint32_t*>(b.ScanLine(y))[x] & 0xFFFFFF) == 0xFFFFFF;
    };
    auto reach = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || outside[static_cast<size_t>(y * w + x)] ||
            !background(x, y))
            return;
        outside[static_cast<size_t>(y * w + x)] = true;
        todo.push_back({x, y});
    };
    for (int x = 0; x < w; ++x)
        reach(x, 0), reach(x, h - 1);
    for (int y = 0; y < h; ++y)
        reach(0, y), reach(w - 1, y);
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        reach(x + 1, y), reach(x - 1, y), reach(x, y + 1), reach(x, y - 1);
    }
    outside.flip();
    return outside;
}

// The pixels covered in one picture and not within a pixel of any covered in the other.
int Strays(const std::vector<bool>& a, const std::vector<bool>& b, int w, int h) {
    int strays = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!a[static_cast<size_t>(y * w + x)])
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    near = nx >= 0 && ny >= 0 && nx < w && ny < h && b[static_cast<size_t>(ny * w + nx)];
                }
            strays += !near;
        }
    return strays;
}

void Clear(TBitmap& picture) {
    picture.Canvas().Brush.Color = clWhite;
    picture.Canvas().Brush.Style = bsSolid;
    picture.Canvas().FillRect(Rect(0, 0, picture.Width(), picture.Height()));
}

} // namespace

TEST_F(StoneMeshTest, TheMeshCoversOnTheScreenWhatTheViewDrawsOfEveryKindAndPart) {
    constexpr int kSide = 200;
    TBitmap drawn(kSide, kSide, pf32bit), meshed(kSide, kSide, pf32bit);
    const fs::path failures = fs::current_path() / "stone_mesh_failures";
    int compared = 0;
    for (const auto& stone : EveryStone()) {
        // The view draws round stones as ellipses on the screen, which are
        // the round sides' outline only for a round footprint.
        if (stone->Kind == 'R' && stone->Length != stone->Width)
            continue;
        const TStoneMesh mesh = BuildStoneMesh(*stone);
        // A window or door too small for its pieces is built as its box;
        // the view draws its pieces overlapping.
        if ((stone->Kind == 'W' || stone->Kind == 'D') && mesh.Points.size() == 8)
            continue;
        const auto [low, high] = Bounds(mesh);
        const double size = std::max({high.X - low.X, high.Y - low.Y, high.Z - low.Z});
        for (int octant = 0; octant < 8; ++octant) {
            TRenderState view;
            view.Shading = false;
            view.DetailLevel = 0;
            view.ViewScale = static_cast<float>(120 / size);
            view.SetRotation(octant < 4 ? 55 : 125, 0, 30 + 90 * (octant & 3));
            // The stone's middle in the picture's middle.
            view.ViewOffsetX = view.ViewOffsetY = 0;
            const TPoint middle = view.ProjectPoint(static_cast<int>((low.X + high.X) / 2),
                                                    static_cast<int>((low.Y + high.Y) / 2),
                                                    static_cast<int>((low.Z + high.Z) / 2));
            view.ViewOffsetX = static_cast<float>(kSide / 2 - middle.x);
            view.ViewOffsetY = static_cast<float>(kSide / 2 - middle.y);
            view.ComputePassValues();
            // The mesh's points, which may lie between whole units, are
            // projected at a 64th of a unit: 64 times as far out at a 64th of
            // the scale.
            TRenderState fine;
            fine.SetRotation(view.RotX(), view.RotY(), view.RotZ());
            fine.ViewScale = view.ViewScale / 64;
            fine.ViewOffsetX = view.ViewOffsetX;
            fine.ViewOffsetY = view.ViewOffsetY;

            Clear(drawn);
            {
                TDrawObject d(drawn);
                stone->Draw(d, view);
            }
            Clear(meshed);
            {
                TDrawObject d(meshed);
                d.Canvas().Brush.Color = clBlack;
                d.Canvas().Pen.Color = clBlack;
                for (const TMeshTriangle& t : mesh.Triangles) {
                    TPoint corners[3];
                    for (int k = 0; k < 3; ++k) {
                        const TMeshPoint& p = mesh.Points[t[k]];
                        corners[k] = fine.ProjectPoint(static_cast<int>(std::lround(p.X * 64)),
                                                       static_cast<int>(std::lround(p.Y * 64)),
                                                       static_cast<int>(std::lround(p.Z * 64)));
                    }
                    d.Polygon(corners, 2);
                }
            }
            const std::vector<bool> a = Covered(drawn), b = Covered(meshed);
            const int drawnOnly = Strays(a, b, kSide, kSide), meshOnly = Strays(b, a, kSide, kSide);
            ++compared;
            // The view's ellipses reach a pixel further right and down than
            // left and up of their centre: where the rim runs steep, that can
            // leave a pixel or two beyond the band.
            const int allowed = stone->Kind == 'R' ? 2 : 0;
            EXPECT_LE(drawnOnly + meshOnly, allowed)
                << NameOf(*stone) << " octant " << octant << ": " << drawnOnly
                << " pixels drawn and not covered, " << meshOnly << " covered and not drawn";
            if (drawnOnly + meshOnly > allowed) {
                fs::create_directories(failures);
                std::string file = NameOf(*stone) + " octant " + std::to_string(octant);
                std::replace(file.begin(), file.end(), ' ', '_');
                drawn.ToImage().save(QString::fromStdString((failures / (file + "_drawn.png")).string()));
                meshed.ToImage().save(QString::fromStdString((failures / (file + "_mesh.png")).string()));
            }
        }
    }
    EXPECT_GT(compared, 8 * 4 * 60);
}

TEST_F(StoneMeshTest, ConcavePolygonsOfTheShippedPartsAreCutIntoTrianglesCoveringExactlyThem) {
    int concave = 0;
    for (const std::string& name : ShippedParts()) {
        const TDrawClass* part = FindPart("parts.dat", name);
        for (int i = 0; i < part->PolygonCount(); ++i) {
            const auto& source = part->Polygon(i).Points;
            if (source.size() < 4)
                continue;
            std::vector<TMeshPoint> points;
            for (const TPoint3D& p : source)
                points.push_back({double(p.X), double(p.Y), double(p.Z)});
            // Laid flat across the polygon's largest extent through its normal.
            const size_t n = points.size();
            TMeshPoint normal;
            for (size_t k = 0; k < n; ++k) {
                const TMeshPoint &a = points[k], &b = points[(k + 1) % n];
                normal.X += (a.Y - b.Y) * (a.Z + b.Z);
                normal.Y += (a.Z - b.Z) * (a.X + b.X);
                normal.Z += (a.X - b.X) * (a.Y + b.Y);
            }
            auto flat = [&](const TMeshPoint& p) {
                const double ax = std::fabs(normal.X), ay = std::fabs(normal.Y), az = std::fabs(normal.Z);
                if (az >= ax && az >= ay)
                    return std::pair{p.X, p.Y};
                return ax >= ay ? std::pair{p.Y, p.Z} : std::pair{p.Z, p.X};
            };
            auto turn = [&](const TMeshPoint& a, const TMeshPoint& b, const TMeshPoint& c) {
                const auto [au, av] = flat(a);
                const auto [bu, bv] = flat(b);
                const auto [cu, cv] = flat(c);
                return (bu - au) * (cv - av) - (bv - av) * (cu - au);
            };
            double area = 0;
            for (size_t k = 1; k + 1 < n; ++k)
                area += turn(points[0], points[k], points[k + 1]);
            bool isConcave = false;
            for (size_t k = 0; k < n; ++k)
                isConcave =
                    isConcave || turn(points[(k + n - 1) % n], points[k], points[(k + 1) % n]) * area < 0;
            if (!isConcave)
                continue;
            ++concave;
            std::vector<TMeshTriangle> triangles;
            ASSERT_TRUE(TriangulatePolygon(points, triangles)) << name << " polygon " << i + 1;
            EXPECT_EQ(triangles.size(), n - 2) << name << " polygon " << i + 1;
            double sum = 0;
            for (const TMeshTriangle& t : triangles) {
                const double a = turn(points[t[0]], points[t[1]], points[t[2]]);
                // Each wound as the polygon, so none covers another...
                EXPECT_GT(a * area, 0) << name << " polygon " << i + 1;
                sum += a;
                // ...and each lies inside it: its middle inside, no side crossing the polygon's.
                const TMeshPoint m{(points[t[0]].X + points[t[1]].X + points[t[2]].X) / 3,
                                   (points[t[0]].Y + points[t[1]].Y + points[t[2]].Y) / 3,
                                   (points[t[0]].Z + points[t[1]].Z + points[t[2]].Z) / 3};
                const auto [mu, mv] = flat(m);
                bool inside = false;
                for (size_t k = 0, j = n - 1; k < n; j = k++) {
                    const auto [ku, kv] = flat(points[k]);
                    const auto [ju, jv] = flat(points[j]);
                    if ((kv > mv) != (jv > mv) && mu < (ju - ku) * (mv - kv) / (jv - kv) + ku)
                        inside = !inside;
                }
                EXPECT_TRUE(inside) << name << " polygon " << i + 1;
            }
            // Together they cover the polygon's area, no more.
            EXPECT_NEAR(sum, area, 1e-9 * std::fabs(area)) << name << " polygon " << i + 1;
        }
    }
    // The arches, stairs, battlements and more.
    EXPECT_GE(concave, 10);
}
