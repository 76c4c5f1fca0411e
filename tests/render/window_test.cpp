#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "golden.h"
#include "model/block_list.h"
#include "model/window.h"
#include "platform/bitmap.h"
#include "raster/draw_object.h"
#include "render/scene_pass.h"
#include "view/render_state.h"

namespace {

// What one Polygon call drew: its screen points and the canvas it drew with.
struct TDrawnPolygon {
    std::vector<TPoint> Points;
    TColor Brush;
    TBrushStyle Style;
    TColor Pen;
};

// Takes the place of the rasteriser's Polygon and records every call.
class TRecorder {
public:
    explicit TRecorder(TCanvas& canvas) : FCanvas(canvas) {}
    void Polygon(const TPoint* points, int high) {
        Drawn.push_back({std::vector<TPoint>(points, points + high + 1), FCanvas.Brush.Color,
                         FCanvas.Brush.Style, FCanvas.Pen.Color});
    }
    std::vector<TDrawnPolygon> Drawn;

private:
    TCanvas& FCanvas;
};

struct TRecording {
    TBitmap Bitmap{4, 4, pf32bit};
    TDrawObject Draw{Bitmap};
    TRecorder Recorder{Draw.Canvas()};
    TRecording() { Draw.Polygon = TBoundMethod<void(const TPoint*, int)>::To<&TRecorder::Polygon>(Recorder); }
    const std::vector<TDrawnPolygon>& Drawn() const { return Recorder.Drawn; }
};

// A stone of the class with its box given in model units.
template <class T>
std::unique_ptr<T> Stone(int x, int y, int z, int l, int w, int h, TColor color, int turn = 0) {
    auto s = std::make_unique<T>(0, 0, 0, 0, 0, 0, color, false, false, false, "");
    s->X = x, s->Y = y, s->Z = z, s->Length = l, s->Width = w, s->Height = h, s->Turn = turn;
    return s;
}

// A model of one stone, drawn into a 32-bit picture over a background.
QImage RenderOne(std::unique_ptr<TBlock> stone, TRenderState& view, int width, int height,
                 TColor background = clWhite) {
    TBlockList model;
    model.InsertSorted(stone.get());
    TBitmap picture(width, height, pf32bit);
    DrawScenePlain(picture, model, view, TBackground{background, nullptr});
    model.Clear();
    return picture.ToImage();
}

uint32_t Pixel(const QImage& image, TPoint p) {
    return image.pixel(p.x, p.y) & 0xFFFFFF;
}

// A view seen from a viewing octant: above for 0 .. 3, below for 4 .. 7.
void AimAtOctant(TRenderState& view, int octant, float scale = 1.0f) {
    view.ViewScale = scale;
    view.SetRotation(octant < 4 ? 60 : 120, 0, 45 + 90 * (octant & 3));
    ASSERT_EQ(view.Octant(), octant);
}

std::vector<TPoint> Projected(const TRenderState& view, std::vector<TPoint3D> points, int turn) {
    std::vector<TPoint> out;
    for (const TPoint3D& p : points)
        out.push_back(view.ProjectPoint(p.X, p.Y, p.Z, turn));
    return out;
}

// Records the pieces an octant routine draws, and lets a single piece be drawn.
template <class TBase> class TTracing : public TBase {
public:
    using TBase::TBase;
    mutable std::vector<int> Pieces;
    void DrawOnePiece(int piece, const TWindowPainter& p) const { this->DrawPiece(piece, p); }

#define STONEMILL_TRACE(Name, Number)                                                                        \
    void Name(const TWindowPainter& p) const override {                                                      \
        Pieces.push_back(Number);                                                                            \
        TBase::Name(p);                                                                                      \
    }
    STONEMILL_TRACE(FrameFaceY0, 17)
    STONEMILL_TRACE(SideX0, 18)
    STONEMILL_TRACE(InnerSideX0, 19)
    STONEMILL_TRACE(BottomFace, 20)
    STONEMILL_TRACE(SillSlope, 21)
    STONEMILL_TRACE(ExtraPiece, 22)
    STONEMILL_TRACE(SillStepTop, 23)
    STONEMILL_TRACE(SillTop, 24)
    STONEMILL_TRACE(SillStepFace, 25)
    STONEMILL_TRACE(SideX1, 26)
    STONEMILL_TRACE(InnerSideX1, 27)
    STONEMILL_TRACE(TopFace, 28)
    STONEMILL_TRACE(LintelUnderside, 29)
    STONEMILL_TRACE(LeafBacks, 30)
    STONEMILL_TRACE(SillFace, 31)
    STONEMILL_TRACE(FaceY1, 32)
    STONEMILL_TRACE(GlassPane, 33)
#undef STONEMILL_TRACE
};

const TWindowFrame kFrame{0, 40, 0, 20, 0, 40};

} // namespace

TEST(WindowTest, ZeroXExtentDrawsNothingAndLeavesTheCanvas) {
    TRenderState view;
    TRecording r;
    r.Draw.Canvas().Brush.Color = clRed;
    Stone<TWindow>(0, 0, 0, 0, 20, 40, clBlue)->Draw(r.Draw, view);
    Stone<TWheel>(0, 0, 0, 0, 20, 40, clBlue)->Draw(r.Draw, view);
    EXPECT_TRUE(r.Drawn().empty());
    EXPECT_EQ(r.Draw.Canvas().Brush.Color, clRed);
}

TEST(WindowTest, OwnFrameAndOctantRoutine) {
    // Turned stones keep their minimum corner; the own frame is the unturned box.
    EXPECT_EQ(TWindow::OwnFrame(*Stone<TWindow>(20, 40, 6, 60, 20, 40, 0, 0)),
              (TWindowFrame{20, 80, 40, 60, 6, 46}));
    EXPECT_EQ(TWindow::OwnFrame(*Stone<TWindow>(20, 40, 6, 20, 60, 40, 0, 1)),
              (TWindowFrame{-100, -40, 20, 40, 6, 46}));
    EXPECT_EQ(TWindow::OwnFrame(*Stone<TWindow>(20, 40, 6, 60, 20, 40, 0, 2)),
              (TWindowFrame{-80, -20, -60, -40, 6, 46}));
    EXPECT_EQ(TWindow::OwnFrame(*Stone<TWindow>(20, 40, 6, 20, 60, 40, 0, 3)),
              (TWindowFrame{40, 100, -40, -20, 6, 46}));
    EXPECT_EQ(TWindow::OctantRoutine(0, 1), 1);
    EXPECT_EQ(TWindow::OctantRoutine(3, 1), 0);
    EXPECT_EQ(TWindow::OctantRoutine(2, 3), 1);
    EXPECT_EQ(TWindow::OctantRoutine(5, 2), 7);
    EXPECT_EQ(TWindow::OctantRoutine(7, 3), 6);
    EXPECT_EQ(TWindow::OctantRoutine(4, 0), 4);
}

TEST(WindowTest, TurnedStonesLandWhereTheyStand) {
    // The top face, drawn in the own frame, covers the stone's top corners.
    for (int octant : {0, 3}) {
        for (int t = 0; t < 4; ++t) {
            TRenderState view;
            AimAtOctant(view, octant, 2.0f);
            const int l = t % 2 ? 20 : 60, w = t % 2 ? 60 : 20;
            TRecording r;
            Stone<TWindow>(20, -40, 0, l, w, 40, clBlue, t)->Draw(r.Draw, view);
            const std::vector<TPoint> top = r.Drawn().back().Points;
            const auto expected = Projected(
                view, {{20, -40, 40}, {20 + l, -40, 40}, {20 + l, -40 + w, 40}, {20, -40 + w, 40}}, 0);
            for (const TPoint& e : expected) {
                bool found = false;
                for (const TPoint& p : top)
                    found = found || (std::abs(p.x - e.x) <= 1 && std::abs(p.y - e.y) <= 1);
                EXPECT_TRUE(found) << "turn " << t << " corner " << e.x << "," << e.y;
            }
        }
    }
}

TEST(WindowTest, PiecesInTheOrderOfEachOctant) {
    const std::vector<std::vector<int>> orders = {
        {27, 22, 21, 31, 23, 33, 30, 32, 18, 28},     {32, 27, 30, 23, 33, 25, 22, 18, 17, 28},
        {32, 19, 30, 23, 33, 25, 22, 26, 17, 28},     {19, 22, 30, 21, 31, 23, 33, 26, 32, 28},
        {29, 27, 33, 22, 24, 30, 31, 21, 32, 18, 20}, {32, 29, 24, 27, 33, 30, 25, 22, 17, 18, 20},
        {32, 29, 24, 19, 33, 30, 25, 22, 17, 26, 20}, {29, 19, 33, 22, 24, 30, 31, 21, 32, 26, 20},
    };
    for (int octant = 0; octant < 8; ++octant) {
        for (int t = 0; t < 4; ++t) {
            TRenderState view;
            AimAtOctant(view, octant);
            auto door = Stone<TTracing<TDoor>>(0, 0, 0, 40, 20, 60, clBlue, t);
            TRecording r;
            door->Draw(r.Draw, view);
            EXPECT_EQ(door->Pieces, orders[static_cast<size_t>(TWindow::OctantRoutine(octant, t))])
                << "octant " << octant << " turn " << t;
        }
    }
}

TEST(WindowTest, PolygonsOfEachPiece) {
    // Window: 22 and 30 draw nothing, FaceY1 three polygons. Door: no sill, no
    // pane, two leaf backs, FaceY1 four polygons.
    const int window[17] = {1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 0, 1, 3, 1};
    const int door[17] = {1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 0, 4, 0};
    TRenderState view;
    TRecording r;
    const TWindowPainter p(r.Draw, view, kFrame, TWindow::PieceColors(clBlue, 0, true, view), true, 0);
    const TTracing<TWindow> w(0, 0, 0, 2, 1, 6, clBlue, false, false, false, "");
    const TTracing<TDoor> d(0, 0, 0, 2, 1, 6, clBlue, false, false, false, "");
    for (int piece = 17; piece <= 33; ++piece) {
        size_t before = r.Drawn().size();
        w.DrawOnePiece(piece, p);
        EXPECT_EQ(r.Drawn().size() - before, static_cast<size_t>(window[piece - 17])) << "window " << piece;
        before = r.Drawn().size();
        d.DrawOnePiece(piece, p);
        EXPECT_EQ(r.Drawn().size() - before, static_cast<size_t>(door[piece - 17])) << "door " << piece;
    }
}

TEST(WindowTest, PieceGeometry) {
    TRenderState view;
    AimAtOctant(view, 0, 3.0f);
    TRecording r;
    const TPieceColors colors = TWindow::PieceColors(clBlue, 1, true, view);
    const TWindowPainter p(r.Draw, view, kFrame, colors, true, 1);
    const TTracing<TWindow> w(0, 0, 0, 2, 1, 6, clBlue, false, false, false, "");
    w.DrawOnePiece(TWindow::wpSideX0, p);
    w.DrawOnePiece(TWindow::wpSillSlope, p);
    w.DrawOnePiece(TWindow::wpGlassPane, p);
    ASSERT_EQ(r.Drawn().size(), 3u);
    EXPECT_EQ(
        r.Drawn()[0].Points,
        Projected(
            view,
            {{0, 0, 0}, {0, 20, 0}, {0, 20, 2}, {0, 18, 4}, {0, 18, 6}, {0, 20, 6}, {0, 20, 40}, {0, 0, 40}},
            1));
    EXPECT_EQ(r.Drawn()[0].Brush, colors.Side);
    EXPECT_EQ(r.Drawn()[1].Points, Projected(view, {{0, 20, 2}, {40, 20, 2}, {40, 18, 4}, {0, 18, 4}}, 1));
    EXPECT_EQ(r.Drawn()[1].Brush, colors.Slope);
    EXPECT_EQ(r.Drawn()[2].Points, Projected(view, {{2, 18, 8}, {38, 18, 8}, {38, 18, 38}, {2, 18, 38}}, 1));
}

TEST(WindowTest, DoorLeavesMeetWithAPointedCutOut) {
    const TWindowFrame f{0, 60, 0, 20, 10, 70};
    const auto left = TDoor::LeafOutline(f, false, 17);
    const auto right = TDoor::LeafOutline(f, true, 17);
    const std::array<TPoint3D, 7> l = {
        {{2, 17, 10}, {2, 17, 68}, {30, 17, 68}, {30, 17, 62}, {18, 17, 52}, {30, 17, 42}, {30, 17, 10}}};
    const std::array<TPoint3D, 7> rr = {
        {{58, 17, 10}, {58, 17, 68}, {30, 17, 68}, {30, 17, 62}, {42, 17, 52}, {30, 17, 42}, {30, 17, 10}}};
    EXPECT_EQ(left, l);
    EXPECT_EQ(right, rr);
}

TEST(WindowTest, ShadedColoursFollowTheTurn) {
    TRenderState view; // the default light: along y 1, along x 0.8
    ASSERT_FLOAT_EQ(view.FaceShade[foAlongY], 1.0f);
    ASSERT_FLOAT_EQ(view.FaceShade[foAlongX], 0.8f);
    const TColor c = RGB(200, 100, 50), dim = RGB(160, 80, 40);
    const TPieceColors t0 = TWindow::PieceColors(c, 0, true, view),
                       t1 = TWindow::PieceColors(c, 1, true, view);
    EXPECT_EQ(t0.Side, dim);
    EXPECT_EQ(t0.Front, c);
    EXPECT_EQ(t0.Glass, RGB(204, 204, 204));
    EXPECT_EQ(t1.Side, c);
    EXPECT_EQ(t1.Front, dim);
    EXPECT_EQ(t1.Glass, clWhite);
    const TPieceColors plain = TWindow::PieceColors(c, 1, false, view);
    EXPECT_EQ(plain.Side, c);
    EXPECT_EQ(plain.Slope, c);
    EXPECT_EQ(plain.Glass, clWhite);

    // In a rendered picture: the middle of the outer side (x = X0) and of the
    // strip under the sill groove (y = Y1), both seen from own-frame octant 0.
    for (int t : {0, 1}) {
        auto w = Stone<TWindow>(t ? -10 : -20, t ? -20 : -10, -20, t ? 20 : 40, t ? 40 : 20, 40, c, t);
        const TWindowFrame f = TWindow::OwnFrame(*w);
        TRenderState v;
        v.ViewOffsetX = 100, v.ViewOffsetY = 100;
        AimAtOctant(v, t ? 3 : 0, 4.0f);
        ASSERT_EQ(TWindow::OctantRoutine(v.Octant(), t), 0);
        const QImage image = RenderOne(std::move(w), v, 200, 200);
        const TPoint side = v.ProjectPoint(f.X0, (f.Y0 + f.Y1) / 2, (f.Z0 + f.Z1) / 2, t);
        const TPoint front = v.ProjectPoint((f.X0 + f.X1) / 2, f.Y1, f.Z0 + 1, t);
        EXPECT_EQ(Pixel(image, side), t ? 0xC86432u : 0xA05028u) << t; // QImage pixels are 0xRRGGBB
        EXPECT_EQ(Pixel(image, front), t ? 0xA05028u : 0xC86432u) << t;
    }
}

TEST(WindowTest, DrawingLeavesTheStoneAndResetsTheCanvas) {
    TRenderState view;
    AimAtOctant(view, 2);
    TRecording r;
    auto w = Stone<TDoor>(20, 40, 6, 20, 60, 40, view.BlackStoneColor, 3);
    const std::string before = w->ToString();
    w->Draw(r.Draw, view);
    EXPECT_EQ(w->ToString(), before);
    EXPECT_EQ(r.Draw.Canvas().Brush.Color, clSilver);
    EXPECT_EQ(r.Draw.Canvas().Brush.Style, bsSolid);
    EXPECT_EQ(r.Draw.Canvas().Pen.Color, view.BlackStoneColor);
    // A black stone's light edges are darkened once, not once more per piece.
    ASSERT_FALSE(r.Drawn().empty());
    for (const TDrawnPolygon& drawn : r.Drawn())
        EXPECT_EQ(drawn.Pen, ShadeColor(view.LightEdgeColor, view.EdgeFactor));
}

TEST(WindowTest, GlassIsHalfTransparentAlsoInWireframe) {
    TRenderState view;
    AimAtOctant(view, 0, 4.0f);
    view.ViewOffsetX = 100, view.ViewOffsetY = 100;
    view.Wireframe = true;
    view.Shading = false;
    TRecording r;
    Stone<TWindow>(-20, -10, -20, 40, 20, 40, clBlue)->Draw(r.Draw, view);
    int panes = 0;
    for (size_t k = 0; k < r.Drawn().size(); ++k) {
        const TDrawnPolygon& drawn = r.Drawn()[k];
        if (drawn.Style != bsDiagCross) {
            EXPECT_EQ(drawn.Style, bsClear);
            EXPECT_EQ(drawn.Pen, clBlue);
            continue;
        }
        ++panes;
        EXPECT_EQ(drawn.Brush, clWhite);
        EXPECT_EQ(drawn.Pen, clWhite);
    }
    EXPECT_EQ(panes, 1);
    // White blended half-and-half over the background in the pane's middle.
    const QImage image =
        RenderOne(Stone<TWindow>(-20, -10, -20, 40, 20, 40, clBlue), view, 200, 200, RGB(40, 60, 90));
    EXPECT_EQ(Pixel(image, view.ProjectPoint(-8, 8, 3)), 0x939DACu);
}

TEST(WheelTest, RadiiAndCentre) {
    const TWindowFrame f{0, 80, 0, 20, 0, 60}; // R = 60
    EXPECT_EQ(TWheel::Centre(f, 2), (TPoint3D{40, 2, 28}));
    EXPECT_EQ(TWheel::RimPoint(f, 0, 1, 2), (TPoint3D{70, 2, 28}));
    EXPECT_EQ(TWheel::RimPoint(f, 90, 1, 2), (TPoint3D{40, 2, 58}));
    EXPECT_EQ(TWheel::RimPoint(f, 270, 1, 18), (TPoint3D{40, 18, -2}));
    EXPECT_EQ(TWheel::RimPoint(f, 0, 0.65, 2), (TPoint3D{60, 2, 28})); // 19.5 rounded
    EXPECT_EQ(TWheel::RimPoint(f, 180, 0.65, 2), (TPoint3D{20, 2, 28}));
    EXPECT_EQ(TWheel::RimPoint(f, 30, 0.65, 2), (TPoint3D{57, 2, 38}));
    EXPECT_EQ(TWheel::RimPoint(f, 60, 1, 2), (TPoint3D{55, 2, 54}));
}

TEST(WheelTest, FacesTyresAndTread) {
    const TColor c = RGB(30, 120, 200);
    for (int octant : {0, 1}) {
        TRenderState view;
        AimAtOctant(view, octant);
        TRecording r;
        Stone<TWheel>(0, 0, 0, 80, 20, 60, c)->Draw(r.Draw, view);
        ASSERT_EQ(r.Drawn().size(), 60u); // 12 hubs and tyres, 12 treads, 12 hubs and tyres
        const TWindowFrame f{0, 80, 0, 20, 0, 60};
        const int32_t first = octant == 0 ? 2 : 18; // the far face first
        EXPECT_EQ(r.Drawn()[0].Points,
                  Projected(view,
                            {TWheel::Centre(f, first), TWheel::RimPoint(f, 30, 0.65, first),
                             TWheel::RimPoint(f, 0, 0.65, first)},
                            0));
        EXPECT_EQ(r.Drawn()[36].Points[0], view.ProjectPoint(40, 20 - first, 28));
        EXPECT_EQ(r.Drawn()[24].Points,
                  Projected(view,
                            {TWheel::RimPoint(f, 30, 1, 1), TWheel::RimPoint(f, 0, 1, 1),
                             TWheel::RimPoint(f, 0, 1, 19), TWheel::RimPoint(f, 30, 1, 19)},
                            0));
        const TColor edge = view.EdgeColor(c, view.DarkEdgeColor, view.EdgeFactor);
        for (size_t k = 0; k < 60; ++k) {
            const TDrawnPolygon& drawn = r.Drawn()[k];
            const bool tread = k >= 24 && k < 36, tyre = !tread && k % 2 == 1;
            const TColor fill = tread ? RGB(96, 96, 96) : tyre ? RGB(128, 128, 128) : c;
            EXPECT_EQ(drawn.Brush, fill) << k;
            EXPECT_EQ(drawn.Pen, tread || tyre ? fill : edge) << k;
            EXPECT_EQ(drawn.Style, bsSolid) << k;
        }
    }
}

TEST(WheelTest, WireframeAndSeeThroughWheels) {
    TRenderState view;
    view.Wireframe = true;
    TRecording r;
    Stone<TWheel>(0, 0, 0, 80, 20, 60, clBlue)->Draw(r.Draw, view);
    ASSERT_EQ(r.Drawn().size(), 60u);
    EXPECT_EQ(r.Drawn()[0].Pen, clBlue);
    EXPECT_EQ(r.Drawn()[1].Pen, RGB(128, 128, 128));
    for (const TDrawnPolygon& drawn : r.Drawn())
        EXPECT_EQ(drawn.Style, bsClear);

    view.Wireframe = false;
    TRecording see;
    auto wheel = Stone<TWheel>(0, 0, 0, 80, 20, 60, clRed);
    wheel->Transparent = true;
    wheel->Draw(see.Draw, view);
    for (const TDrawnPolygon& drawn : see.Drawn())
        EXPECT_EQ(drawn.Style, bsDiagCross);
}

// Golden pictures, 120 x 90 at 32 bits, looking at the model origin.
namespace {

QImage Picture(std::unique_ptr<TBlock> stone, int tilt, int turn, float scale, bool wireframe = false,
               TColor background = clWhite) {
    TRenderState view;
    view.ViewScale = scale;
    view.ViewOffsetX = 60, view.ViewOffsetY = 45;
    view.Wireframe = wireframe;
    view.Shading = !wireframe;
    view.SetRotation(tilt, 0, turn);
    return RenderOne(std::move(stone), view, 120, 90, background);
}

constexpr TColor kBrick = RGB(190, 70, 50);
constexpr TColor kWood = RGB(150, 100, 50);
constexpr TColor kRubber = RGB(230, 200, 40);

} // namespace

TEST(WindowGoldenTest, Windows) {
    EXPECT_TRUE(MatchesGolden("window_octant0",
                              Picture(Stone<TWindow>(-20, -10, -20, 40, 20, 40, kBrick), 60, 30, 1.5f)));
    EXPECT_TRUE(MatchesGolden("window_below",
                              Picture(Stone<TWindow>(-20, -10, -20, 40, 20, 40, kBrick), 120, 30, 1.5f)));
    EXPECT_TRUE(MatchesGolden("window_turned",
                              Picture(Stone<TWindow>(-10, -20, -20, 20, 40, 40, kBrick, 1), 60, 300, 1.5f)));
    EXPECT_TRUE(MatchesGolden("window_wireframe", Picture(Stone<TWindow>(-20, -10, -20, 40, 20, 40, kBrick),
                                                          60, 30, 1.5f, true, RGB(40, 60, 90))));
}

TEST(WindowGoldenTest, Doors) {
    EXPECT_TRUE(
        MatchesGolden("door_octant0", Picture(Stone<TDoor>(-20, -10, -30, 40, 20, 60, kWood), 60, 30, 1.1f)));
    EXPECT_TRUE(
        MatchesGolden("door_below", Picture(Stone<TDoor>(-20, -10, -30, 40, 20, 60, kWood), 120, 30, 1.1f)));
}

TEST(WindowGoldenTest, Wheels) {
    EXPECT_TRUE(MatchesGolden("wheel_octant0",
                              Picture(Stone<TWheel>(-40, -10, -28, 80, 20, 60, kRubber), 60, 30, 1.1f)));
    EXPECT_TRUE(MatchesGolden("wheel_below",
                              Picture(Stone<TWheel>(-40, -10, -28, 80, 20, 60, kRubber), 120, 30, 1.1f)));
}
