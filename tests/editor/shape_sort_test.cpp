#include <gtest/gtest.h>

#include "editor/shape_sort.h"

namespace {

// A flat square polygon spanning x0..x1, y0..y1 at height z.
std::vector<TPoint3D> Square(int x0, int x1, int y0, int y1, int z) {
    return {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
}

// A sloped polygon spanning x0..x1, y0..y1 and z 0..20.
std::vector<TPoint3D> Ramp(int x0, int x1, int y0, int y1) {
    return {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 20}, {x0, y1, 20}};
}

std::vector<int32_t> Order(const TDrawClass& d, int octant) {
    return d.DrawOrder(octant).Items();
}

} // namespace

TEST(ShapeSort, ExchangesOnlyPolygonsWhollyNearer) {
    TDrawClass d;
    d.AddPolygon(Ramp(0, 20, 0, 20));  // A: x 0..20
    d.AddPolygon(Ramp(40, 60, 0, 20)); // B: x 40..60, overlapping A in y and z
    SortDrawOrders(d, 0, 7);
    // x plus (octants 0, 1, 4, 5): A lies toward -x, nearer the viewer, so it moves later.
    for (int o : {0, 1, 4, 5})
        EXPECT_EQ(Order(d, o), (std::vector<int32_t>{1, 0})) << o;
    for (int o : {2, 3, 6, 7})
        EXPECT_EQ(Order(d, o), (std::vector<int32_t>{0, 1})) << o;

    // Two polygons in one horizontal plane do not overlap in height (touching
    // counts as lying on one side), so they are exchanged in every octant.
    TDrawClass flat;
    flat.AddPolygon(Square(0, 40, 0, 40, 0));
    flat.AddPolygon(Square(0, 40, 0, 40, 0));
    SortDrawOrders(flat, 0, 7);
    for (int o = 0; o < 8; ++o)
        EXPECT_EQ(Order(flat, o), (std::vector<int32_t>{1, 0})) << o;
}

TEST(ShapeSort, OverlappingBoxesAndShortOrdersStayAsTheyAre) {
    TDrawClass d;
    d.AddPolygon(Square(0, 40, 0, 40, 0));
    d.AddPolygon({{10, 10, -5}, {30, 10, 5}, {30, 30, 5}});
    SortDrawOrders(d, 0, 7);
    for (int o = 0; o < 8; ++o)
        EXPECT_EQ(Order(d, o), (std::vector<int32_t>{0, 1})) << o;
    // One entry: nothing to do.
    TDrawClass one;
    one.AddPolygon(Square(0, 1, 0, 1, 0));
    one.SetDrawOrder(2, 0, 0);
    SortDrawOrders(one, 2, 2);
    EXPECT_EQ(Order(one, 2), (std::vector<int32_t>{0}));
}

TEST(ShapeSort, StacksSortByHeightAndOnlyTheGivenOctants) {
    TDrawClass d;
    for (int z : {40, 0, 20})
        d.AddPolygon(Square(0, 20, 0, 20, z));
    SortDrawOrders(d, 3, 4);
    // From above (octant 3) lower polygons come first; from below (octant 4) higher ones.
    EXPECT_EQ(Order(d, 3), (std::vector<int32_t>{1, 2, 0}));
    EXPECT_EQ(Order(d, 4), (std::vector<int32_t>{0, 2, 1}));
    EXPECT_EQ(Order(d, 0), (std::vector<int32_t>{0, 1, 2})); // untouched
    EXPECT_EQ(Order(d, 5), (std::vector<int32_t>{0, 1, 2}));
}
