#include "model/window.h"

#include <array>
#include <vector>

#include "model/block_paint.h"
#include "platform/canvas.h"
#include "raster/draw_object.h"
#include "view/render_state.h"

// --- TWindowPainter ---

TCanvas& TWindowPainter::Canvas() const {
    return FDraw->Canvas();
}

void TWindowPainter::Polygon(const TPoint3D* points, int count) const {
    if (FSink) {
        std::vector<TFacePoint> face;
        for (int k = 0; k < count; ++k)
            face.push_back(FacePoint(points[k]));
        FSink->Face(face);
        return;
    }
    DrawPolygon3D(*FDraw, *FView, points, count, FTurn);
}

TPoint TWindowPainter::Project(const TPoint3D& point) const {
    return FView->ProjectPoint(point.X, point.Y, point.Z, FTurn);
}

void TWindowPainter::ScreenPolygon(const TPoint* points, int count) const {
    FDraw->Polygon(points, count - 1);
}

namespace {

enum TAxis { axX, axY, axZ };

// Own-frame points of a polygon lying in the plane `axis` = `at`. Faces have
// a handful of points: they are kept on the stack, as a frame draws thousands.
class TInPlane {
public:
    TInPlane(TAxis axis, int32_t at, std::initializer_list<TPlanePoint> points) {
        FCount = static_cast<int>(points.size());
        TPoint3D* out = FSmall.data();
        if (points.size() > FSmall.size()) {
            FLarge.resize(points.size());
            out = FLarge.data();
        }
        FPoints = out;
        for (const TPlanePoint& q : points)
            *out++ = axis == axX   ? TPoint3D{at, q.U, q.V}
                     : axis == axY ? TPoint3D{q.U, at, q.V}
                                   : TPoint3D{q.U, q.V, at};
    }
    const TPoint3D* Points() const { return FPoints; }
    int Count() const { return FCount; }

private:
    std::array<TPoint3D, 16> FSmall;
    std::vector<TPoint3D> FLarge;
    const TPoint3D* FPoints = nullptr;
    int FCount = 0;
};

} // namespace

void TWindowPainter::FaceAtY(TColor color, int32_t y, std::initializer_list<TPlanePoint> points) const {
    const TInPlane own(axY, y, points);
    Face(color, own.Points(), own.Count());
}

void TWindowPainter::FaceAtX(TColor color, int32_t x, std::initializer_list<TPlanePoint> points) const {
    const TInPlane own(axX, x, points);
    Face(color, own.Points(), own.Count());
}

void TWindowPainter::FaceAtZ(TColor color, int32_t z, std::initializer_list<TPlanePoint> points) const {
    const TInPlane own(axZ, z, points);
    Face(color, own.Points(), own.Count());
}

void TWindowPainter::Face(TColor color, std::initializer_list<TPoint3D> points) const {
    Face(color, points.begin(), static_cast<int>(points.size()));
}

void TWindowPainter::Face(TColor color, const TPoint3D* points, int count) const {
    if (FShading && !FSink)
        Canvas().Brush.Color = color;
    Polygon(points, count);
}

// --- TWindow: drawing ---

TWindowFrame TWindow::OwnFrame(const TBlock& s) {
    int32_t x = s.X, y = s.Y, xExtent = s.Length, yExtent = s.Width;
    switch (s.Turn & 3) {
    case 0:
        break;
    case 1:
        x = -s.Y - s.Width;
        y = s.X;
        std::swap(xExtent, yExtent);
        break;
    case 2:
        x = -s.X - s.Length;
        y = -s.Y - s.Width;
        break;
    default:
        x = s.Y;
        y = -s.X - s.Length;
        std::swap(xExtent, yExtent);
        break;
    }
    return {x, x + xExtent, y, y + yExtent, s.Z, s.Z + s.Height};
}

TPieceColors TWindow::PieceColors(TColor brush, int turn, bool shading, const TRenderState& view) {
    if (!shading)
        return {brush, brush, brush, brush, clWhite};
    // The own x axis lies along the model's x axis for turns 0 and 2 and along
    // its y axis for turns 1 and 3.
    const bool alongX = (turn & 1) == 0;
    const float side = view.FaceShade[alongX ? foAlongX : foAlongY];
    const float front = view.FaceShade[alongX ? foAlongY : foAlongX];
    const float slope = view.FaceShade[alongX ? foSlopeY0 : foSlopeX0];
    return {ShadeColor(brush, side), ShadeColor(brush, front), ShadeColor(brush, view.FaceShade[foFlat]),
            ShadeColor(brush, slope), ShadeColor(clWhite, side)};
}

int TWindow::OctantRoutine(int viewOctant, int turn) {
    return ((viewOctant & 3) + (turn & 3)) % 4 + (viewOctant >= 4 ? 4 : 0);
}

std::span<const int> TWindow::PieceOrder(int octant) {
    // Seen from above (0 .. 3) the top comes last, from below (4 .. 7) the bottom.
    static constexpr int kAbove[4][10] = {
        {27, 22, 21, 31, 23, 33, 30, 32, 18, 28},
        {32, 27, 30, 23, 33, 25, 22, 18, 17, 28},
        {32, 19, 30, 23, 33, 25, 22, 26, 17, 28},
        {19, 22, 30, 21, 31, 23, 33, 26, 32, 28},
    };
    static constexpr int kBelow[4][11] = {
        {29, 27, 33, 22, 24, 30, 31, 21, 32, 18, 20},
        {32, 29, 24, 27, 33, 30, 25, 22, 17, 18, 20},
        {32, 29, 24, 19, 33, 30, 25, 22, 17, 26, 20},
        {29, 19, 33, 22, 24, 30, 31, 21, 32, 26, 20},
    };
    octant &= 7;
    if (octant < 4)
        return kAbove[octant];
    return kBelow[octant - 4];
}

void TWindow::Draw(TDrawObject& d, const TRenderState& view) const {
    bool shading = false;
    // The preamble also darkens the pen to the edge colour when shading is on.
    if (!BeginBlockPaint(*this, d.Canvas(), view, shading))
        return;
    const int t = Turn & 3;
    // The own frame is computed aside: the stone itself is not changed.
    const TWindowPainter painter(d, view, OwnFrame(*this),
                                 PieceColors(d.Canvas().Brush.Color, t, shading, view), shading, t);
    DrawOctant(OctantRoutine(view.Octant(), t), painter);
    EndBlockPaint(d.Canvas(), view);
}

void TWindow::ShapeFaces(TFaceSink& sink) const {
    const TWindowFrame f{0, OwnLength(), 0, OwnWidth(), 0, Height};
    if (!PiecesFit(f)) {
        TBlock::ShapeFaces(sink);
        return;
    }
    SolidFaces(TWindowPainter(sink, f));
}

bool TWindow::PiecesFit(const TWindowFrame& f) const {
    // An opening between the sides, a sill in front of the depth behind it,
    // and the pane's height above the sill.
    return f.XExtent() > 4 && f.Y1 - f.Y0 > 3 && f.Z1 - f.Z0 > 10;
}

void TWindow::SolidFaces(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    SideX0(p);
    SideX1(p);
    FrameFaceY0(p);
    BottomFace(p);
    SillSlope(p);
    SillFace(p);
    SillStepTop(p);
    SillStepFace(p);
    TopFace(p);
    LintelUnderside(p);
    FaceY1(p);
    // The inner sides as far as the sill and the lintel leave them open.
    for (const int32_t x : {f.X0 + 2, f.X1 - 2})
        p.FaceAtX(p.Colors().Side, x,
                  {{f.Y0, f.Z0},
                   {f.Y1 - 3, f.Z0},
                   {f.Y1 - 3, f.Z0 + 8},
                   {f.Y1, f.Z0 + 8},
                   {f.Y1, f.Z1 - 2},
                   {f.Y0, f.Z1 - 2}});
    // The groove's ceiling, which the sill's top covers where it is drawn.
    p.FaceAtZ(p.Colors().Flat, f.Z0 + 6, {{f.X0, f.Y1 - 2}, {f.X1, f.Y1 - 2}, {f.X1, f.Y1}, {f.X0, f.Y1}});
    // The pane, a unit thick about its plane, between the sides, the sill and the lintel.
    p.Sink()->NextSolid();
    BoxFaces(*p.Sink(), {f.X0 + 2.0, f.Y1 - 2.5, f.Z0 + 8.0}, {f.X1 - 2.0, f.Y1 - 1.5, f.Z1 - 2.0});
}

void TWindow::DrawOctant(int octant, const TWindowPainter& p) const {
    for (int piece : PieceOrder(octant))
        DrawPiece(piece, p);
}

void TWindow::DrawPiece(int piece, const TWindowPainter& p) const {
    switch (piece) {
    case wpFrameFaceY0:
        FrameFaceY0(p);
        break;
    case wpSideX0:
        SideX0(p);
        break;
    case wpInnerSideX0:
        InnerSideX0(p);
        break;
    case wpBottomFace:
        BottomFace(p);
        break;
    case wpSillSlope:
        SillSlope(p);
        break;
    case wpExtraPiece:
        ExtraPiece(p);
        break;
    case wpSillStepTop:
        SillStepTop(p);
        break;
    case wpSillTop:
        SillTop(p);
        break;
    case wpSillStepFace:
        SillStepFace(p);
        break;
    case wpSideX1:
        SideX1(p);
        break;
    case wpInnerSideX1:
        InnerSideX1(p);
        break;
    case wpTopFace:
        TopFace(p);
        break;
    case wpLintelUnderside:
        LintelUnderside(p);
        break;
    case wpLeafBacks:
        LeafBacks(p);
        break;
    case wpSillFace:
        SillFace(p);
        break;
    case wpFaceY1:
        FaceY1(p);
        break;
    case wpGlassPane:
        GlassPane(p);
        break;
    default:
        break;
    }
}

// --- TWindow: pieces ---

void TWindow::FrameFaceY0(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    // The back of the frame: open at the bottom between the sides.
    p.FaceAtY(p.Colors().Front, f.Y0,
              {{f.X0, f.Z0},
               {f.X0 + 2, f.Z0},
               {f.X0 + 2, f.Z1 - 2},
               {f.X1 - 2, f.Z1 - 2},
               {f.X1 - 2, f.Z0},
               {f.X1, f.Z0},
               {f.X1, f.Z1},
               {f.X0, f.Z1}});
}

void TWindow::SideProfile(const TWindowPainter& p, int32_t x, int32_t top) {
    const TWindowFrame& f = p.Frame();
    p.FaceAtX(p.Colors().Side, x,
              {{f.Y0, f.Z0},
               {f.Y1, f.Z0},
               {f.Y1, f.Z0 + 2},
               {f.Y1 - 2, f.Z0 + 4},
               {f.Y1 - 2, f.Z0 + 6},
               {f.Y1, f.Z0 + 6},
               {f.Y1, top},
               {f.Y0, top}});
}

void TWindow::SideX0(const TWindowPainter& p) const {
    SideProfile(p, p.Frame().X0, p.Frame().Z1);
}

void TWindow::InnerSideX0(const TWindowPainter& p) const {
    SideProfile(p, p.Frame().X0 + 2, p.Frame().Z1 - 2);
}

void TWindow::SideX1(const TWindowPainter& p) const {
    SideProfile(p, p.Frame().X1, p.Frame().Z1);
}

void TWindow::InnerSideX1(const TWindowPainter& p) const {
    SideProfile(p, p.Frame().X1 - 2, p.Frame().Z1 - 2);
}

void TWindow::BottomFace(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    // The sides and the sill seen from below, open behind the sill.
    p.FaceAtZ(p.Colors().Flat, f.Z0,
              {{f.X0, f.Y0},
               {f.X0, f.Y1},
               {f.X1, f.Y1},
               {f.X1, f.Y0},
               {f.X1 - 2, f.Y0},
               {f.X1 - 2, f.Y1 - 3},
               {f.X0 + 2, f.Y1 - 3},
               {f.X0 + 2, f.Y0}});
}

void TWindow::SillSlope(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.Face(p.Colors().Slope, {{f.X0, f.Y1, f.Z0 + 2},
                              {f.X1, f.Y1, f.Z0 + 2},
                              {f.X1, f.Y1 - 2, f.Z0 + 4},
                              {f.X0, f.Y1 - 2, f.Z0 + 4}});
}

void TWindow::ExtraPiece(const TWindowPainter&) const {}

void TWindow::SillStepTop(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.FaceAtZ(p.Colors().Flat, f.Z0 + 8,
              {{f.X0 + 2, f.Y1 - 3}, {f.X1 - 2, f.Y1 - 3}, {f.X1 - 2, f.Y1}, {f.X0 + 2, f.Y1}});
}

void TWindow::SillTop(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.FaceAtZ(p.Colors().Flat, f.Z0 + 6, {{f.X0, f.Y1 - 3}, {f.X1, f.Y1 - 3}, {f.X1, f.Y1}, {f.X0, f.Y1}});
}

void TWindow::SillStepFace(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.FaceAtY(p.Colors().Front, f.Y1 - 3,
              {{f.X0 + 2, f.Z0 + 8}, {f.X1 - 2, f.Z0 + 8}, {f.X1 - 2, f.Z0}, {f.X0 + 2, f.Z0}});
}

void TWindow::TopFace(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.FaceAtZ(p.Colors().Flat, f.Z1, {{f.X0, f.Y0}, {f.X1, f.Y0}, {f.X1, f.Y1}, {f.X0, f.Y1}});
}

void TWindow::LintelUnderside(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.FaceAtZ(p.Colors().Flat, f.Z1 - 2,
              {{f.X0 + 2, f.Y0}, {f.X1 - 2, f.Y0}, {f.X1 - 2, f.Y1}, {f.X0 + 2, f.Y1}});
}

void TWindow::LeafBacks(const TWindowPainter&) const {}

void TWindow::SillFace(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.FaceAtY(p.Colors().Front, f.Y1 - 2,
              {{f.X0, f.Z0 + 4}, {f.X1, f.Z0 + 4}, {f.X1, f.Z0 + 6}, {f.X0, f.Z0 + 6}});
}

void TWindow::FaceY1(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    const TColor front = p.Colors().Front;
    // The frame around the opening above the sill.
    p.FaceAtY(front, f.Y1,
              {{f.X0, f.Z0 + 6},
               {f.X0 + 2, f.Z0 + 6},
               {f.X0 + 2, f.Z1 - 2},
               {f.X1 - 2, f.Z1 - 2},
               {f.X1 - 2, f.Z0 + 6},
               {f.X1, f.Z0 + 6},
               {f.X1, f.Z1},
               {f.X0, f.Z1}});
    // The strip below the sill groove.
    p.FaceAtY(front, f.Y1, {{f.X0, f.Z0}, {f.X0, f.Z0 + 2}, {f.X1, f.Z0 + 2}, {f.X1, f.Z0}});
    // The front of the step the pane stands on.
    p.FaceAtY(front, f.Y1,
              {{f.X0 + 2, f.Z0 + 8}, {f.X1 - 2, f.Z0 + 8}, {f.X1 - 2, f.Z0 + 6}, {f.X0 + 2, f.Z0 + 6}});
}

void TWindow::GlassPane(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    TCanvas& canvas = p.Canvas();
    const TColor pen = canvas.Pen.Color;
    const TColor brush = canvas.Brush.Color;
    const TBrushStyle style = canvas.Brush.Style;
    // Always a half-transparent sheet, also in wireframe and without shading.
    canvas.Brush.Style = bsDiagCross;
    canvas.Brush.Color = p.Colors().Glass;
    canvas.Pen.Color = p.Colors().Glass;
    const std::array<TPoint3D, 4> pane = {{{f.X0 + 2, f.Y1 - 2, f.Z0 + 8},
                                           {f.X1 - 2, f.Y1 - 2, f.Z0 + 8},
                                           {f.X1 - 2, f.Y1 - 2, f.Z1 - 2},
                                           {f.X0 + 2, f.Y1 - 2, f.Z1 - 2}}};
    p.Polygon(pane);
    canvas.Pen.Color = pen;
    canvas.Brush.Color = brush;
    canvas.Brush.Style = style;
}

// --- TDoor ---

std::array<TPoint3D, 7> TDoor::LeafOutline(const TWindowFrame& f, bool right, int32_t y) {
    const int32_t xm = f.X0 + f.XExtent() / 2;
    const int32_t side = right ? f.X1 - 2 : f.X0 + 2;
    const int32_t tip = right ? xm + 12 : xm - 12;
    return {{{side, y, f.Z0},
             {side, y, f.Z1 - 2},
             {xm, y, f.Z1 - 2},
             {xm, y, f.Z1 - 8},
             {tip, y, f.Z1 - 18},
             {xm, y, f.Z1 - 28},
             {xm, y, f.Z0}}};
}

void TDoor::SideX0(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.FaceAtX(p.Colors().Side, f.X0, {{f.Y0, f.Z0}, {f.Y1, f.Z0}, {f.Y1, f.Z1}, {f.Y0, f.Z1}});
}

void TDoor::InnerSideX0(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.FaceAtX(p.Colors().Side, f.X0 + 2, {{f.Y0, f.Z0}, {f.Y1, f.Z0}, {f.Y1, f.Z1 - 2}, {f.Y0, f.Z1 - 2}});
}

void TDoor::SideX1(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.FaceAtX(p.Colors().Side, f.X1, {{f.Y0, f.Z0}, {f.Y1, f.Z0}, {f.Y1, f.Z1}, {f.Y0, f.Z1}});
}

void TDoor::InnerSideX1(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.FaceAtX(p.Colors().Side, f.X1 - 2, {{f.Y0, f.Z0}, {f.Y1, f.Z0}, {f.Y1, f.Z1 - 2}, {f.Y0, f.Z1 - 2}});
}

// A door has no sill and no pane.
void TDoor::SillSlope(const TWindowPainter&) const {}
void TDoor::SillStepTop(const TWindowPainter&) const {}
void TDoor::SillTop(const TWindowPainter&) const {}
void TDoor::SillStepFace(const TWindowPainter&) const {}
void TDoor::SillFace(const TWindowPainter&) const {}
void TDoor::GlassPane(const TWindowPainter&) const {}

void TDoor::LeafBacks(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    p.Face(p.Colors().Flat, LeafOutline(f, false, f.Y1 - 3));
    p.Face(p.Colors().Flat, LeafOutline(f, true, f.Y1 - 3));
}

namespace {

// The front of the door's frame, open at the bottom, and of its threshold.
void DoorFrameFront(const TWindowPainter& p) {
    const TWindowFrame& f = p.Frame();
    const TColor front = p.Colors().Front;
    p.FaceAtY(front, f.Y1,
              {{f.X0, f.Z0},
               {f.X0, f.Z1},
               {f.X1, f.Z1},
               {f.X1, f.Z0},
               {f.X1 - 2, f.Z0},
               {f.X1 - 2, f.Z1 - 2},
               {f.X0 + 2, f.Z1 - 2},
               {f.X0 + 2, f.Z0}});
    p.FaceAtY(front, f.Y1, {{f.X0 + 2, f.Z0}, {f.X0 + 2, f.Z0 + 2}, {f.X1 - 2, f.Z0 + 2}, {f.X1 - 2, f.Z0}});
}

} // namespace

void TDoor::FaceY1(const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    const TColor front = p.Colors().Front;
    DoorFrameFront(p);
    // The leaves, just behind the frame.
    p.Face(front, LeafOutline(f, false, f.Y1 - 1));
    p.Face(front, LeafOutline(f, true, f.Y1 - 1));
}

bool TDoor::PiecesFit(const TWindowFrame& f) const {
    // The opening's tips stay inside the leaves, and its foot above the threshold.
    return f.XExtent() / 2 - 12 > 2 && f.Z1 - f.Z0 > 30 && f.Y1 - f.Y0 > 3;
}

void TDoor::SolidFaces(const TWindowPainter& p) const {
    // The sides and the lintel, with the leaves (two units thick, three
    // units behind the front) and the threshold (two units high, in front
    // of the leaves) between them.
    const TWindowFrame& f = p.Frame();
    const TPieceColors& c = p.Colors();
    SideX0(p);
    SideX1(p);
    FrameFaceY0(p);
    BottomFace(p);
    TopFace(p);
    DoorFrameFront(p);
    LeafBacks(p);
    p.FaceAtZ(c.Flat, f.Z0 + 2,
              {{f.X0 + 2, f.Y1 - 1}, {f.X1 - 2, f.Y1 - 1}, {f.X1 - 2, f.Y1}, {f.X0 + 2, f.Y1}});
    for (const bool right : {false, true}) {
        // The leaf's front above the threshold.
        std::array<TPoint3D, 7> front = LeafOutline(f, right, f.Y1 - 1);
        front[0].Z = front[6].Z = f.Z0 + 2;
        p.Face(c.Front, front);
        // The two slanted sides of the opening through the leaf.
        const std::array<TPoint3D, 7> back = LeafOutline(f, right, f.Y1 - 3);
        for (size_t k = 3; k < 5; ++k)
            p.Face(c.Side, {back[k], back[k + 1], front[k + 1], front[k]});
    }
    for (const int32_t x : {f.X0 + 2, f.X1 - 2}) {
        p.FaceAtX(c.Side, x, {{f.Y0, f.Z0}, {f.Y1 - 3, f.Z0}, {f.Y1 - 3, f.Z1 - 2}, {f.Y0, f.Z1 - 2}});
        p.FaceAtX(c.Side, x,
                  {{f.Y1 - 1, f.Z0 + 2}, {f.Y1, f.Z0 + 2}, {f.Y1, f.Z1 - 2}, {f.Y1 - 1, f.Z1 - 2}});
    }
    p.FaceAtZ(c.Flat, f.Z1 - 2,
              {{f.X0 + 2, f.Y0}, {f.X1 - 2, f.Y0}, {f.X1 - 2, f.Y1 - 3}, {f.X0 + 2, f.Y1 - 3}});
    p.FaceAtZ(c.Flat, f.Z1 - 2,
              {{f.X0 + 2, f.Y1 - 1}, {f.X1 - 2, f.Y1 - 1}, {f.X1 - 2, f.Y1}, {f.X0 + 2, f.Y1}});
}
