#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "export/stone_mesh.h"
#include "test_stones.h"

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

} // namespace

TEST(StoneMesh, ABoxIsAClosedOutwardShellPlacedAsTheStoneLies) {
    auto stone = StoneInUnits('B', 100, -40, 20, 60, 20, 13);
    for (int turn = 0; turn < 4; ++turn) {
        if (turn > 0)
            stone->TurnQuarter();
        const TStoneMesh mesh = BuildStoneMesh(*stone);
        EXPECT_TRUE(IsClosedShell(mesh)) << turn;
        EXPECT_DOUBLE_EQ(Volume(mesh), 60.0 * 20 * 13) << turn;
        // Within the stone's box, touching all six of its sides.
        TMeshPoint low = mesh.Points[0], high = low;
        for (const TMeshPoint& p : mesh.Points) {
            low = {std::min(low.X, p.X), std::min(low.Y, p.Y), std::min(low.Z, p.Z)};
            high = {std::max(high.X, p.X), std::max(high.Y, p.Y), std::max(high.Z, p.Z)};
        }
        EXPECT_EQ(low, (TMeshPoint{100, -40, 20})) << turn;
        EXPECT_EQ(high, (TMeshPoint{100.0 + stone->Length, -40.0 + stone->Width, 33})) << turn;
    }
    // Turned or not, stones of one shape share it.
    TShapeCatalogue shapes;
    auto other = StoneInUnits('B', 0, 0, 0, 60, 20, 13);
    EXPECT_EQ(&shapes.ShapeOf(*stone), &shapes.ShapeOf(*other));
    auto taller = StoneInUnits('B', 0, 0, 0, 60, 20, 20);
    EXPECT_EQ(shapes.ShapeOf(*taller).Index, 1);
    EXPECT_EQ(shapes.Count(), 2u);
}
