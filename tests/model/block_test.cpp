#include <gtest/gtest.h>

#include "test_stones.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <typeinfo>

#include "common/error.h"
#include "model/block.h"
#include "model/block_factory.h"
#include "model/general_block.h"
#include "model/roof.h"
#include "model/round_block.h"
#include "model/window.h"
#include "partlib/part_registry.h"
#include "temp_program_folder.h"
#include "view/projector.h"

namespace {

using Stone = std::unique_ptr<TBlock>;

Stone Make(char kind, int x, int y, int z, int l, int w, int h) {
    return Stone(TBlockFactory::Create(kind, x, y, z, l, w, h, 0xFFFFFF, true, false, false, "n"));
}

// The view's orthographic projection for a turn and tilt chosen inside the
// given octant, so that outlines can be checked against the true silhouette.
class TOctantView : public TProjector {
public:
    explicit TOctantView(int octant) : FOctant(octant) {
        double turn = (45.0 + 90.0 * (octant % 4) + 10.0) * M_PI / 180.0;
        double tilt = (octant >= 4 ? 125.0 : 55.0) * M_PI / 180.0;
        FRowX = {std::cos(turn), std::sin(turn), 0.0};
        FRowY = {std::sin(turn) * std::cos(tilt), -std::cos(turn) * std::cos(tilt), std::sin(tilt)};
    }
    TPoint ProjectPoint(int x, int y, int z, int) const override {
        return {static_cast<int>(std::lround(300 + 2 * (FRowX[0] * x + FRowX[1] * y + FRowX[2] * z))),
                static_cast<int>(std::lround(300 - 2 * (FRowY[0] * x + FRowY[1] * y + FRowY[2] * z)))};
    }
    int ViewOctant() const override { return FOctant; }

private:
    int FOctant;
    std::array<double, 3> FRowX, FRowY;
};

// Signed distance of p from the inside of the convex hull of the points:
// positive inside, negative outside.
double HullDepth(std::vector<TPoint> points, double px, double py) {
    std::sort(points.begin(), points.end(),
              [](TPoint a, TPoint b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    auto cross = [](TPoint o, TPoint a, TPoint b) {
        return double(a.x - o.x) * (b.y - o.y) - double(a.y - o.y) * (b.x - o.x);
    };
    std::vector<TPoint> hull(2 * points.size());
    size_t k = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (size_t i = points.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    double depth = 1e9;
    for (size_t i = 0; i < hull.size(); ++i) {
        TPoint a = hull[i], b = hull[(i + 1) % hull.size()];
        double len = std::hypot(b.x - a.x, b.y - a.y);
        depth = std::min(depth, ((b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x)) / len);
    }
    return depth;
}

class BlockTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.WritePartFile("parts.dat", "[stdblock]\nNP=0\nBB=40,20,20\n\n"
                                          "[offset]\nNP=0\nBB=40,20,13\nRO=1,0, 0,1, -1,0, 0,-1\n");
    }
    TTempProgramFolder folder;
};

} // namespace

TEST_F(BlockTest, ConstructorConvertsModulesAndThirds) {
    Stone s = Make('B', 1, 2, 1, 2, 4, 3);
    EXPECT_EQ(s->X, 20);
    EXPECT_EQ(s->Y, 40);
    EXPECT_EQ(s->Z, 6);
    EXPECT_EQ(s->Length, 40);
    EXPECT_EQ(s->Width, 80);
    EXPECT_EQ(s->Height, 20);
    EXPECT_EQ(Make('B', 0, 0, 4, 1, 1, 2)->Z, 26);
    EXPECT_EQ(Make('B', 0, 0, 4, 1, 1, 2)->Height, 13);
    EXPECT_EQ(s->Kind, 'B');
    EXPECT_EQ(s->Group, 0);
    EXPECT_EQ(s->Turn, 0);
    EXPECT_EQ(s->Part, nullptr);
}

TEST_F(BlockTest, StringFormsRoundTripForEveryKind) {
    for (char kind : std::string("BRTNCIEWDOQ")) {
        Stone s = Make(kind, 1, 2, 3, 2, 1, 3);
        s->Color = 0x123456;
        s->Tag = false;
        s->BasePlate = true;
        s->Transparent = true;
        s->Group = 7;
        s->ExtraNumber = -3;
        s->Caption = "2x1 block";
        s->Turn = 2;
        std::string text = s->ToString();
        Stone back(CreateFromString(text));
        EXPECT_EQ(back->ToString(), text);
        EXPECT_EQ(back->Kind, kind);
    }
    Stone plain = Make('B', 0, 0, 0, 2, 4, 3);
    EXPECT_EQ(plain->ToString(), "B:0:0:0:40:80:20:16777215:1:0:0:0:0:n:0:");
    Stone back(CreateFromString(plain->ToString())); // empty caption: the string ends in ":"
    EXPECT_EQ(back->Caption, "");
    EXPECT_EQ(back->Name, "n");
}

TEST_F(BlockTest, RebuiltStonesHaveTheClassOfTheirLetter) {
    auto cls = [](const std::string& text) { return Stone(CreateFromString(text)); };
    EXPECT_NE(dynamic_cast<TRoundBlock*>(cls("R:0:0:0:20:20:20:0:0:0:0:0:0::0:").get()), nullptr);
    Stone roof = cls("T:0:0:0:20:20:20:0:0:0:0:0:0::0:");
    EXPECT_NE(dynamic_cast<TRoof*>(roof.get()), nullptr);
    EXPECT_EQ(dynamic_cast<TRoofTop*>(roof.get()), nullptr);
    EXPECT_NE(dynamic_cast<TRoofTop*>(cls("E:0:0:0:20:20:20:0:0:0:0:0:0::0:").get()), nullptr);
    EXPECT_NE(dynamic_cast<TRoofTopEnd*>(cls("E:0:0:0:20:20:20:0:0:0:0:0:0::0:").get()), nullptr);
    EXPECT_NE(dynamic_cast<TRoofCorner*>(cls("I:0:0:0:20:20:20:0:0:0:0:0:0::0:").get()), nullptr);
    EXPECT_NE(dynamic_cast<TRoofCorner*>(cls("C:0:0:0:20:20:20:0:0:0:0:0:0::0:").get()), nullptr);
    EXPECT_NE(dynamic_cast<TWindow*>(cls("D:0:0:0:20:20:20:0:0:0:0:0:0::0:").get()), nullptr);
    EXPECT_NE(dynamic_cast<TDoor*>(cls("D:0:0:0:20:20:20:0:0:0:0:0:0::0:").get()), nullptr);
    EXPECT_NE(dynamic_cast<TWheel*>(cls("O:0:0:0:20:20:20:0:0:0:0:0:0::0:").get()), nullptr);
    Stone other = cls("Z:0:0:0:20:20:20:0:0:0:0:0:0::0:");
    EXPECT_EQ(typeid(*other), typeid(TBlock));
    EXPECT_EQ(other->Kind, 'Z');
}

TEST_F(BlockTest, MalformedStringsAreRefused) {
    const std::string illegal = "Illegal string to CreateFromString: ";
    EXPECT_EQ(ErrorOf([] { CreateFromString("B:0:0:0:20:20:20:0:0:0:0:0:0:a:b:0:"); }),
              illegal + "B:0:0:0:20:20:20:0:0:0:0:0:0:a:b:0:");
    EXPECT_EQ(ErrorOf([] { CreateFromString(""); }), illegal);
    EXPECT_EQ(ErrorOf([] { CreateFromString(":0:0:0:20:20:20:0:0:0:0:0:0::0:"); }),
              illegal + ":0:0:0:20:20:20:0:0:0:0:0:0::0:");
    EXPECT_EQ(ErrorOf([] { CreateFromString("G:0:0:0:20:20:20:0:0:0:0:0:0::0:"); }),
              illegal + "G:0:0:0:20:20:20:0:0:0:0:0:0::0:");
    EXPECT_EQ(ErrorOf([] { CreateFromString("B:0:0:x:20:20:20:0:0:0:0:0:0::0:"); }),
              "'x' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { CreateFromString("B:0:0:0:20:20:20:0:0:0:0:0: 1::0:"); }),
              "' 1' is not a valid integer value");

    // A name holding ":" makes the string unreadable.
    Stone s = Make('B', 0, 0, 0, 1, 1, 1);
    s->Name = "a:b";
    EXPECT_EQ(ErrorOf([&] { CreateFromString(s->ToString()); }), illegal + s->ToString());

    // Flags are set only by the exact text "1".
    Stone f(CreateFromString("B:0:0:0:20:20:20:0:01:true:0:1 :0::0:"));
    EXPECT_FALSE(f->Tag);
    EXPECT_FALSE(f->BasePlate);
    EXPECT_FALSE(f->Transparent);
}

TEST_F(BlockTest, GeneralStonesTakeTheirShapeFromThePart) {
    Stone g(new TGeneralBlock(1, 1, 0, 9, 9, 9, 0xFF, true, false, false, "parts.dat", "stdblock", "lbl"));
    EXPECT_EQ(g->Kind, 'G');
    EXPECT_EQ(g->Length, 40);
    EXPECT_EQ(g->Width, 20);
    EXPECT_EQ(g->Height, 20);
    EXPECT_EQ(g->Part, FindPart("PARTS.DAT", "StdBlock"));
    EXPECT_EQ(g->ToString(), "G:20:20:0:40:20:20:255:1:0:0:0:parts.dat:stdblock:0:lbl:0:");

    // Rebuilt with an odd turn, the extents come from the part, swapped.
    Stone t(CreateFromString("G:0:0:0:1:1:1:0:1:0:1:0:parts.dat:stdblock:4:nm:2:cap"));
    EXPECT_EQ(t->Length, 20);
    EXPECT_EQ(t->Width, 40);
    EXPECT_EQ(t->Group, 4);
    EXPECT_EQ(t->Name, "nm");
    EXPECT_EQ(t->ExtraNumber, 2);
    EXPECT_EQ(t->Caption, "cap");
    EXPECT_EQ(Stone(CreateFromString(t->ToString()))->ToString(), t->ToString());

    EXPECT_EQ(ErrorOf([] { CreateFromString("G:0:0:0:1:1:1:0:1:0:1:0:parts.dat:nothing:4:nm:2:cap"); }),
              "Could not find part nothing in file parts.dat");
    EXPECT_EQ(ErrorOf([] { CreateFromString("G:0:0:0:1:1:1:0:1:0:1:0:gone.dat:x:4:nm:2:cap"); }),
              "Could not find part/file x/gone.dat");

    // A general stone whose kind letter is no longer "G" writes the plain form.
    g->Kind = 'B';
    EXPECT_EQ(g->ToString(), "B:20:20:0:40:20:20:255:1:0:0:0:0:lbl:0:");
}

TEST_F(BlockTest, Turning) {
    Stone s = Make('B', 0, 0, 0, 2, 4, 3);
    s->TurnQuarter();
    EXPECT_EQ(s->Length, 80);
    EXPECT_EQ(s->Width, 40);
    EXPECT_EQ(s->Turn, 1);
    EXPECT_EQ(s->X, 0);
    for (int i = 0; i < 3; ++i)
        s->TurnQuarter();
    EXPECT_EQ(s->ToString(), Make('B', 0, 0, 0, 2, 4, 3)->ToString());

    Stone round = Make('R', 1, 1, 0, 2, 4, 3);
    round->TurnQuarter();
    EXPECT_EQ(round->Turn, 0);
    EXPECT_EQ(round->Length, 40);

    // The part's offsets for the current turn move a general stone before it turns.
    Stone g(new TGeneralBlock(2, 2, 0, 0, 0, 0, 0, true, false, false, "parts.dat", "offset", ""));
    g->TurnQuarter();
    EXPECT_EQ(g->X, 60);
    EXPECT_EQ(g->Y, 40);
    EXPECT_EQ(g->Length, 20);
    EXPECT_EQ(g->Width, 40);
    g->TurnQuarter();
    EXPECT_EQ(g->Y, 60);
    g->TurnQuarter();
    g->TurnQuarter();
    EXPECT_EQ(g->X, 40);
    EXPECT_EQ(g->Y, 40);
    EXPECT_EQ(g->Turn, 0);
}

TEST_F(BlockTest, HeightAtAndCopies) {
    Stone s = Make('B', 0, 0, 0, 2, 2, 3);
    EXPECT_EQ(s->HeightAt(20, 20, 40, 40), 20);
    EXPECT_EQ(s->HeightAt(40, 0, 20, 20), 0); // touching edges do not overlap
    EXPECT_EQ(s->HeightAt(-20, 0, 20, 20), 0);
    EXPECT_EQ(s->HeightAt(-20, 39, 21, 20), 20);
    s->Z = 26;
    EXPECT_EQ(s->HeightAt(0, 0, 1, 1), 46);

    Stone d = Make('D', 1, 2, 3, 1, 2, 3);
    d->Group = 5;
    d->Selected = true;
    d->Cut = true;
    d->ExtraNumber = 9;
    d->Caption = "door";
    d->TurnQuarter();
    Stone copy(CreateCopy(*d));
    EXPECT_NE(dynamic_cast<TDoor*>(copy.get()), nullptr);
    EXPECT_EQ(copy->Group, 0);
    EXPECT_FALSE(copy->Selected);
    EXPECT_FALSE(copy->Cut);
    d->Group = 0;
    EXPECT_EQ(copy->ToString(), d->ToString());

    Stone g(new TGeneralBlock(0, 0, 0, 0, 0, 0, 0, true, false, false, "parts.dat", "stdblock", ""));
    Stone gc(CreateCopy(*g));
    EXPECT_EQ(gc->Part, g->Part);
    EXPECT_EQ(gc->ToString(), g->ToString());
}

TEST_F(BlockTest, HitTestCoversTheSilhouetteInEveryOctant) {
    Stone s = Make('B', 1, -1, 2, 3, 2, 3);
    for (int octant = 0; octant < 8; ++octant) {
        TOctantView view(octant);
        std::vector<TPoint> corners;
        for (int i = 0; i < 8; ++i)
            corners.push_back(view.ProjectPoint(s->X + (i & 1 ? s->Length : 0), s->Y + (i & 2 ? s->Width : 0),
                                                s->Z + (i & 4 ? s->Height : 0), 0));
        int inside = 0;
        for (int y = 0; y < 600; y += 3) {
            for (int x = 0; x < 600; x += 3) {
                double depth = HullDepth(corners, x + 0.5, y + 0.5);
                if (std::abs(depth) < 1.5)
                    continue; // too close to the outline to call
                EXPECT_EQ(s->HitTest(view, x, y), depth > 0)
                    << "octant " << octant << " at " << x << "," << y;
                inside += depth > 0;
            }
        }
        EXPECT_GT(inside, 100) << octant;
    }
    // A stone without extent has no area to hit.
    Stone point = Make('B', 1, 1, 0, 0, 0, 0);
    TOctantView view(0);
    TPoint p = view.ProjectPoint(20, 20, 0, 0);
    EXPECT_FALSE(point->HitTest(view, p.x, p.y));
}
