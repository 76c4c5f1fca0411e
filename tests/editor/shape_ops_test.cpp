#include <gtest/gtest.h>

#include "editor/shape_ops.h"

namespace {

std::vector<TPoint3D> PointsOf(const TDrawClass& d, int polygon) {
    std::vector<TPoint3D> points;
    for (int i = 0; i < d.GetPointCount(polygon); ++i)
        points.push_back(d.GetPoint(polygon, i));
    return points;
}

} // namespace

TEST(ShapeOps, ExtrudeDrawsWallsOutOfAFlatPolygonOnly) {
    TDrawClass d;
    d.AddPolygon({{40, 0, 0}, {40, 20, 0}, {40, 0, 20}}); // in the plane x = 40
    d.AddPolygon({{0, 0, 0}, {20, 20, 0}, {0, 20, 20}});  // no shared coordinate
    ASSERT_TRUE(ExtrudePolygon(d, 0, 80));
    ASSERT_EQ(d.PolygonCount(), 5);
    EXPECT_EQ(PointsOf(d, 2), (std::vector<TPoint3D>{{40, 0, 0}, {40, 20, 0}, {120, 20, 0}, {120, 0, 0}}));
    EXPECT_EQ(PointsOf(d, 4), (std::vector<TPoint3D>{{40, 0, 20}, {40, 0, 0}, {120, 0, 0}, {120, 0, 20}}));
    EXPECT_EQ(d.GetEdgeFlags(4), 1);
    EXPECT_EQ(d.GetDrawOrder(3, d.GetDrawCount(3) - 1), 4); // painted last
    EXPECT_FALSE(ExtrudePolygon(d, 1, 80));
    EXPECT_EQ(d.PolygonCount(), 5);
    // A zero distance still adds its flat walls; a polygon in z = 0 grows upward or downward.
    TDrawClass flat;
    flat.AddPolygon({{0, 0, 0}, {20, 0, 0}, {20, 20, 0}, {0, 20, 0}});
    ASSERT_TRUE(ExtrudePolygon(flat, 0, 0));
    EXPECT_EQ(flat.PolygonCount(), 5);
    ASSERT_TRUE(ExtrudePolygon(flat, 0, -30));
    EXPECT_EQ(PointsOf(flat, 5)[2], (TPoint3D{20, 0, -30}));
}

TEST(ShapeOps, MirrorReflectsAboutTheLargestCoordinateAndSortsAgain) {
    TDrawClass d;
    d.AddPolygon({{0, 0, 0}, {41, 0, 0}, {41, 41, 10}, {0, 41, 10}});
    d.AddPolygon({{5, 3, 0}, {7, 3, 0}, {7, 9, 0}});
    const TDrawClass before = d;
    EXPECT_FALSE(MirrorPart(d, 0, -1)); // a polygon tag needs a selected polygon
    EXPECT_FALSE(MirrorPart(d, 6, 0));
    // x about 60 (41 rounded up to a module), only the selected polygon.
    ASSERT_TRUE(MirrorPart(d, 0, 1));
    EXPECT_EQ(PointsOf(d, 1), (std::vector<TPoint3D>{{55, 3, 0}, {53, 3, 0}, {53, 9, 0}}));
    EXPECT_EQ(PointsOf(d, 0), PointsOf(before, 0));
    // y about 41 as it is, every polygon.
    ASSERT_TRUE(MirrorPart(d, 4, -1));
    EXPECT_EQ(PointsOf(d, 0)[0], (TPoint3D{0, 41, 0}));
    EXPECT_EQ(PointsOf(d, 1)[0], (TPoint3D{55, 38, 0}));
    // Twice "all x" with the smallest x 0 gives the part back.
    TDrawClass twice = before;
    ASSERT_TRUE(MirrorPart(twice, 3, -1));
    EXPECT_EQ(PointsOf(twice, 0)[1], (TPoint3D{19, 0, 0}));
    ASSERT_TRUE(MirrorPart(twice, 3, -1));
    for (int p = 0; p < 2; ++p)
        EXPECT_EQ(PointsOf(twice, p), PointsOf(before, p));
}

TEST(ShapeOps, RotateExchangesAxesAboutTheCentre) {
    TDrawClass d;
    d.AddPolygon({{0, 0, 0}, {40, 0, 0}, {40, 20, 20}, {0, 20, 20}});
    d.AddPolygon({{10, 4, 2}, {30, 4, 2}, {30, 8, 6}});
    d.SetBoundingBox(40, 20, 20);
    TPartExtents extents{40, 20, 20};
    // "All Z": x and y exchanged; centre (20, 10, 10) lands on (10, 20, 10).
    ASSERT_TRUE(RotatePart(d, 5, -1, extents));
    EXPECT_EQ(extents, (TPartExtents{20, 40, 20}));
    EXPECT_EQ(d.BoundingX(), 20);
    EXPECT_EQ(d.BoundingY(), 40);
    EXPECT_EQ(PointsOf(d, 0), (std::vector<TPoint3D>{{0, 0, 0}, {0, 40, 0}, {20, 40, 20}, {20, 0, 20}}));
    EXPECT_EQ(PointsOf(d, 1)[0], (TPoint3D{4, 10, 2}));
    // One polygon turns about its own centre; the extents stay.
    // Now (4, 10, 2), (4, 30, 2), (8, 30, 6): y and z exchanged about (6, 20, 4).
    ASSERT_TRUE(RotatePart(d, 0, 1, extents));
    EXPECT_EQ(PointsOf(d, 1), (std::vector<TPoint3D>{{4, 18, -6}, {4, 18, 14}, {8, 22, 14}}));
    EXPECT_EQ(extents, (TPartExtents{20, 40, 20}));
    EXPECT_FALSE(RotatePart(d, 1, -1, extents));
}

TEST(ShapeOps, ScaleRoundsHalvesToEvenAndStretchMovesTheFarHalf) {
    TDrawClass d;
    d.AddPolygon({{20, 0, 0}, {7, 10, 20}, {9, 5, 11}, {-7, 0, 10}});
    ScalePart(d, {40, 20, 20}, {60, 20, 20});
    EXPECT_EQ(PointsOf(d, 0), (std::vector<TPoint3D>{{30, 0, 0}, {10, 10, 20}, {14, 5, 11}, {-10, 0, 10}}));
    StretchPart(d, {60, 20, 20}, {60, 20, 21}); // z above 10 moves up by one
    EXPECT_EQ(PointsOf(d, 0), (std::vector<TPoint3D>{{30, 0, 0}, {10, 10, 21}, {14, 5, 12}, {-10, 0, 10}}));
    ScalePart(d, {0, 20, 20}, {60, 40, 20}); // no extent to scale x from: x stays
    EXPECT_EQ(PointsOf(d, 0)[0], (TPoint3D{30, 0, 0}));
    EXPECT_EQ(PointsOf(d, 0)[1], (TPoint3D{10, 20, 21}));
}

TEST(ShapeOps, ColourAndOutlineToggles) {
    EXPECT_EQ(ToggledTransparency(255), -255);
    EXPECT_EQ(ToggledTransparency(-255), 255);
    EXPECT_EQ(ToggledTransparency(0), -16777215);
    EXPECT_EQ(ToggledTransparency(-16777215), 0);
    EXPECT_EQ(ToggledTransparency(INT32_MIN), INT32_MAX); // no overflow from a hand-made file
    EXPECT_EQ(ToggledBorder(1), -2);
    EXPECT_EQ(ToggledBorder(-2), 1);
    EXPECT_EQ(ToggledEdge(1, 2), 8);
    EXPECT_EQ(ToggledEdge(8, 2), 1);
    EXPECT_EQ(ToggledEdge(1, 30), INT32_MIN);
    EXPECT_EQ(ToggledEdge(8, 31), 8);
}
