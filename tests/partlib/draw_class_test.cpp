#include <gtest/gtest.h>

#include "test_stones.h"

#include <functional>

#include "common/error.h"
#include "partlib/draw_class.h"

namespace {

std::vector<TPoint3D> Square() {
    return {{0, 0, 0}, {20, 0, 0}, {20, 20, 0}, {0, 20, 0}};
}

std::vector<int32_t> Order(const TDrawClass& d, int octant) {
    return d.DrawOrder(octant).Items();
}

} // namespace

TEST(DrawClass, AccessorsRaiseTheirMessagesAndChangeNothing) {
    TDrawClass d;
    d.AddPolygon(Square());
    d.Modified = false;
    EXPECT_EQ(ErrorOf([&] { d.GetPointCount(1); }), "Illegal polygon index");
    EXPECT_EQ(ErrorOf([&] { d.SetEdgeFlags(-1, 0); }), "Illegal polygon index");
    EXPECT_EQ(ErrorOf([&] { d.SetDetail(1, 1); }), "Illegal polygon index");
    EXPECT_EQ(ErrorOf([&] { d.GetColor(5); }), "Illegal polygon index");
    EXPECT_EQ(ErrorOf([&] { d.GetPoint(1, 0); }), "Illegal polygon index");
    EXPECT_EQ(ErrorOf([&] { d.SetPoint(0, 4, {}); }), "Illegal point index");
    EXPECT_EQ(ErrorOf([&] { d.GetDrawCount(8); }), "Illegal octant for GetDrawCount");
    EXPECT_EQ(ErrorOf([&] { d.SetDrawCount(-1, 0); }), "Illegal octant for SetDrawCount");
    EXPECT_EQ(ErrorOf([&] { d.GetDrawOrder(8, 0); }), "Illegal octant for GetDrawOrder");
    EXPECT_EQ(ErrorOf([&] { d.GetDrawOrder(0, 1); }), "Illegal face index for GetDrawOrder");
    EXPECT_EQ(ErrorOf([&] { d.SetDrawOrder(9, 0, 0); }), "Illegal octant for SetDrawOrder");
    EXPECT_EQ(ErrorOf([&] { d.SetDrawOrder(0, -1, 0); }), "Illegal face index for SetDrawOrder");
    EXPECT_EQ(ErrorOf([&] { d.InsertPoint(0, 4, {}); }), "Illegal point index");
    EXPECT_EQ(ErrorOf([&] { d.DeletePoint(2, 0); }), "Illegal polygon index");
    EXPECT_FALSE(d.Modified);
    EXPECT_EQ(d.GetPointCount(0), 4);

    d.SetColor(0, -255);
    EXPECT_TRUE(d.Modified);
    EXPECT_EQ(d.GetColor(0), -255);
}

TEST(DrawClass, DrawOrderEdits) {
    TDrawClass d;
    d.SetDrawOrder(3, 5, 7);
    EXPECT_EQ(Order(d, 3), (std::vector<int32_t>{0, 0, 0, 0, 0, 7}));
    d.SetDrawCount(3, 10); // never adds
    EXPECT_EQ(d.GetDrawCount(3), 6);
    d.SetDrawCount(3, 2);
    EXPECT_EQ(Order(d, 3), (std::vector<int32_t>{0, 0}));
    d.SetDrawCount(3, -4);
    EXPECT_EQ(d.GetDrawCount(3), 0);
}

TEST(DrawClass, DeletePolygonRenumbersEveryOctant) {
    TDrawClass d;
    for (int i = 0; i < 4; ++i)
        d.AddPolygon(Square());
    EXPECT_EQ(Order(d, 7), (std::vector<int32_t>{0, 1, 2, 3}));
    // Octant 0 holds polygon 1 twice: only the first goes, the second is renumbered.
    d.SetDrawOrder(0, 0, 3);
    d.SetDrawOrder(0, 1, 1);
    d.SetDrawOrder(0, 2, 2);
    d.SetDrawOrder(0, 3, 1);
    d.SetPoint(2, 0, {5, 5, 5});
    d.DeletePolygon(1);
    EXPECT_EQ(d.PolygonCount(), 3);
    // {3, 1, 2, 1}: the first 1 goes, the second is not above 1 and stays.
    EXPECT_EQ(Order(d, 0), (std::vector<int32_t>{2, 1, 1}));
    EXPECT_EQ(Order(d, 5), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(d.GetPoint(1, 0), (TPoint3D{5, 5, 5}));
    EXPECT_THROW(d.DeletePolygon(3), EError);
}

TEST(DrawClass, StructuralOperations) {
    TDrawClass d;
    d.AddPolygon(Square());
    d.SetEdgeFlags(0, 6);
    d.SetDetail(0, 2);
    d.SetColor(0, 0x123456);
    d.DuplicatePolygon(0);
    EXPECT_EQ(d.Polygon(1), d.Polygon(0));
    EXPECT_EQ(Order(d, 4), (std::vector<int32_t>{0, 1}));
    d.SetPoint(1, 0, {1, 2, 3}); // the copy has points of its own
    EXPECT_EQ(d.GetPoint(0, 0), (TPoint3D{0, 0, 0}));

    d.InsertPoint(0, 0, {9, 9, 9});
    d.InsertPoint(0, 4, {8, 8, 8}); // before the last point
    EXPECT_EQ(d.GetPointCount(0), 6);
    EXPECT_EQ(d.GetPoint(0, 0), (TPoint3D{9, 9, 9}));
    EXPECT_EQ(d.GetPoint(0, 4), (TPoint3D{8, 8, 8}));
    EXPECT_EQ(d.GetPoint(0, 5), (TPoint3D{0, 20, 0}));
    d.DeletePoint(0, 0);
    EXPECT_EQ(d.GetPoint(0, 0), (TPoint3D{0, 0, 0}));
    EXPECT_THROW(d.InsertPoint(0, 5, {}), EError); // cannot append after the last point
}

TEST(DrawClass, AssignIsADeepCopy) {
    TDrawClass d;
    d.FileName = "parts.dat";
    d.PartName = "arch";
    d.AddPolygon(Square());
    d.SetBoundingBox(40, 20, 20);
    d.SetTurnOffset(2, {1, -1});
    d.KindValue = 3;
    d.BitmapPolygon = 0;
    d.BitmapFileName = "brick.bmp";
    d.HighlightedPolygon = 0;
    TDrawClass copy(d);
    EXPECT_EQ(copy.FileName, "parts.dat");
    EXPECT_EQ(copy.KindValue, 3);
    EXPECT_EQ(copy.GetTurnOffset(2), (TTurnOffset{1, -1}));
    EXPECT_EQ(copy.BitmapFileName, "brick.bmp");
    EXPECT_TRUE(copy.Modified);
    d.SetPoint(0, 0, {7, 7, 7});
    d.SetDrawOrder(0, 0, 5);
    EXPECT_EQ(copy.GetPoint(0, 0), (TPoint3D{0, 0, 0}));
    EXPECT_EQ(copy.GetDrawOrder(0, 0), 0);
}

TEST(DrawClass, TurnsAndOctants) {
    EXPECT_EQ(TurnPartPoint({0, 0, 0}, 1, 40, 20), (TPoint3D{0, 40, 0}));
    EXPECT_EQ(TurnPartPoint({40, 20, 0}, 1, 40, 20), (TPoint3D{20, 0, 0}));
    EXPECT_EQ(TurnPartPoint({5, 3, 7}, 2, 40, 20), (TPoint3D{35, 17, 7}));
    EXPECT_EQ(TurnPartPoint({5, 3, 7}, 3, 40, 20), (TPoint3D{17, 5, 7}));
    const int table[8][4] = {{0, 1, 2, 3}, {1, 2, 3, 0}, {2, 3, 0, 1}, {3, 0, 1, 2},
                             {4, 5, 6, 7}, {5, 6, 7, 4}, {6, 7, 4, 5}, {7, 4, 5, 6}};
    for (int o = 0; o < 8; ++o)
        for (int t = 0; t < 4; ++t)
            EXPECT_EQ(PartOctant(o, t), table[o][t]) << o << "," << t;
}
