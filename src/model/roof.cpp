#include "model/roof.h"

#include <vector>

#include "platform/canvas.h"
#include "raster/draw_object.h"
#include "view/render_state.h"

void TRoofPainter::Face(TFaceSlot slot, std::initializer_list<TPoint3D> points) const {
    if (FSink) {
        std::vector<TFacePoint> face;
        for (const TPoint3D& p : points)
            face.push_back(FacePoint(p));
        FSink->Face(face);
        return;
    }
    if (FShading)
        FDraw->Canvas().Brush.Color = (*FColors)[static_cast<size_t>(slot)];
    DrawPolygon3D(*FDraw, *FView, points.begin(), static_cast<int>(points.size()), FTurn);
}

void TRoof::ShapeFaces(TFaceSink& sink) const {
    const TRoofFrame f{0, 0, Height, OwnLength(), OwnWidth(), 0};
    const TRoofPainter painter(sink);
    // The sides and the bottom hold every face of every roof kind: the roof
    // surface seen from above repeats some of them.
    FrontFace(f, painter);
    BackFace(f, painter);
    LeftFace(f, painter);
    RightFace(f, painter);
    BottomFace(f, painter);
}

void TRoof::Draw(TDrawObject& d, const TRenderState& view) const {
    bool shading = false;
    if (!BeginBlockPaint(*this, d.Canvas(), view, shading))
        return;
    const int t = Turn & 3;
    const TFaceColors colors = MakeFaceColors(Color, t, shading, view);
    TRoofFrame f{};
    switch (t) {
    case 0:
        f = {X, Y, Height, Length, Width, Z};
        break;
    case 1:
        f = {-Y - Width, X, Height, Width, Length, Z};
        break;
    case 2:
        f = {-X - Length, -Y - Width, Height, Length, Width, Z};
        break;
    default:
        f = {Y, -X - Length, Height, Width, Length, Z};
        break;
    }
    TRoofPainter painter(d, view, colors, shading, t);
    // The local side lying on each model side, for turns 0 to 3.
    static constexpr TLocalSide kYMax[4] = {lsFront, lsLeft, lsBack, lsRight};
    static constexpr TLocalSide kXMin[4] = {lsLeft, lsBack, lsRight, lsFront};
    static constexpr TLocalSide kXMax[4] = {lsRight, lsFront, lsLeft, lsBack};
    static constexpr TLocalSide kYMin[4] = {lsBack, lsRight, lsFront, lsLeft};
    const int octant = view.Octant();
    if (view.RotX() == 0) {
        TopFaces(f, painter); // straight from above only the roof surface shows
    } else {
        switch (octant) {
        case 0:
            TopFaces(f, painter), DrawSide(kXMin[t], f, painter), DrawSide(kYMax[t], f, painter);
            break;
        case 1:
            TopFaces(f, painter), DrawSide(kXMin[t], f, painter), DrawSide(kYMin[t], f, painter);
            break;
        case 2:
            TopFaces(f, painter), DrawSide(kXMax[t], f, painter), DrawSide(kYMin[t], f, painter);
            break;
        case 3:
            TopFaces(f, painter), DrawSide(kXMax[t], f, painter), DrawSide(kYMax[t], f, painter);
            break;
        case 4:
            DrawSide(kYMax[t], f, painter), DrawSide(kXMin[t], f, painter), BottomFace(f, painter);
            break;
        case 5:
            DrawSide(kYMin[t], f, painter), DrawSide(kXMin[t], f, painter), BottomFace(f, painter);
            break;
        case 6:
            DrawSide(kYMin[t], f, painter), DrawSide(kXMax[t], f, painter), BottomFace(f, painter);
            break;
        default:
            DrawSide(kYMax[t], f, painter), DrawSide(kXMax[t], f, painter), BottomFace(f, painter);
            break;
        }
    }
    EndBlockPaint(d.Canvas(), view);
}

void TRoof::DrawSide(TLocalSide side, const TRoofFrame& f, const TRoofPainter& p) const {
    switch (side) {
    case lsFront:
        FrontFace(f, p);
        break;
    case lsBack:
        BackFace(f, p);
        break;
    case lsLeft:
        LeftFace(f, p);
        break;
    case lsRight:
        RightFace(f, p);
        break;
    }
}

// --- TRoof ---

void TRoof::FrontFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(
        fsS1,
        {{f.A, f.B + f.D, f.F}, {f.A + f.E, f.B + f.D, f.F}, {f.A + f.E, f.B, f.Top()}, {f.A, f.B, f.Top()}});
}

void TRoof::TopFaces(const TRoofFrame& f, const TRoofPainter& p) const {
    TRoof::FrontFace(f, p);
}

void TRoof::BackFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsB, {{f.A, f.B, f.F}, {f.A + f.E, f.B, f.F}, {f.A + f.E, f.B, f.Top()}, {f.A, f.B, f.Top()}});
}

void TRoof::LeftFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsA, {{f.A, f.B, f.F}, {f.A, f.B + f.D, f.F}, {f.A, f.B, f.Top()}});
}

void TRoof::RightFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsA, {{f.A + f.E, f.B, f.F}, {f.A + f.E, f.B + f.D, f.F}, {f.A + f.E, f.B, f.Top()}});
}

void TRoof::BottomFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsC, {{f.A, f.B, f.F}, {f.A, f.B + f.D, f.F}, {f.A + f.E, f.B + f.D, f.F}, {f.A + f.E, f.B, f.F}});
}

// --- TRoofTop ---

void TRoofTop::FrontFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS1, {{f.A, f.B + f.D, f.F},
                  {f.A + f.E, f.B + f.D, f.F},
                  {f.A + f.E, f.MidY(), f.Top()},
                  {f.A, f.MidY(), f.Top()}});
}

void TRoofTop::TopFaces(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(
        fsS3,
        {{f.A, f.B, f.F}, {f.A + f.E, f.B, f.F}, {f.A + f.E, f.MidY(), f.Top()}, {f.A, f.MidY(), f.Top()}});
    TRoofTop::FrontFace(f, p);
}

void TRoofTop::BackFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(
        fsS3,
        {{f.A, f.B, f.F}, {f.A + f.E, f.B, f.F}, {f.A + f.E, f.MidY(), f.Top()}, {f.A, f.MidY(), f.Top()}});
    // A flat quadrilateral that shows only as its outline: the eaves line.
    p.Face(fsB, {{f.A, f.B, f.F}, {f.A + f.E, f.B, f.F}, {f.A + f.E, f.B, f.F}, {f.A, f.B, f.F}});
}

void TRoofTop::LeftFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsA, {{f.A, f.B, f.F}, {f.A, f.B + f.D, f.F}, {f.A, f.MidY(), f.Top()}});
}

void TRoofTop::RightFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsA, {{f.A + f.E, f.B, f.F}, {f.A + f.E, f.B + f.D, f.F}, {f.A + f.E, f.MidY(), f.Top()}});
}

// --- TRoofCorner ---

void TRoofCorner::FrontFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS1, {{f.A, f.B + f.D, f.F}, {f.A + f.E, f.B + f.D, f.F}, {f.A + f.E, f.B, f.Top()}});
}

void TRoofCorner::LeftFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS2, {{f.A, f.B, f.F}, {f.A, f.B + f.D, f.F}, {f.A + f.E, f.B, f.Top()}});
}

void TRoofCorner::BackFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsB, {{f.A, f.B, f.F}, {f.A + f.E, f.B, f.F}, {f.A + f.E, f.B, f.Top()}});
}

void TRoofCorner::TopFaces(const TRoofFrame& f, const TRoofPainter& p) const {
    // Which slope covers the other depends on the view's turn relative to the stone.
    if (p.View().RotZ() + 90 * p.Turn() >= 220) {
        TRoofCorner::LeftFace(f, p);
        TRoofCorner::FrontFace(f, p);
    } else {
        TRoofCorner::FrontFace(f, p);
        TRoofCorner::LeftFace(f, p);
    }
}

// --- TRoofTopCorner ---

void TRoofTopCorner::FrontFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS1, {{f.A, f.B + f.D, f.F},
                  {f.A + f.E, f.B + f.D, f.F},
                  {f.A + f.E, f.MidY(), f.Top()},
                  {f.MidX(), f.MidY(), f.Top()}});
}

void TRoofTopCorner::LeftFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS2,
           {{f.A, f.B, f.F}, {f.A, f.B + f.D, f.F}, {f.MidX(), f.MidY(), f.Top()}, {f.MidX(), f.B, f.Top()}});
}

void TRoofTopCorner::TopFaces(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS3, {{f.A + f.E, f.B, f.F}, {f.MidX(), f.MidY(), f.Top()}, {f.A + f.E, f.MidY(), f.Top()}});
    p.Face(fsS4, {{f.A + f.E, f.B, f.F}, {f.MidX(), f.MidY(), f.Top()}, {f.MidX(), f.B, f.Top()}});
    TRoofTopCorner::FrontFace(f, p);
    TRoofTopCorner::LeftFace(f, p);
}

void TRoofTopCorner::BackFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS3, {{f.A + f.E, f.B, f.F}, {f.MidX(), f.MidY(), f.Top()}, {f.A + f.E, f.MidY(), f.Top()}});
    p.Face(fsS4, {{f.A, f.B, f.F}, {f.A + f.E, f.B, f.F}, {f.MidX(), f.B, f.Top()}});
}

void TRoofTopCorner::RightFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS4, {{f.A + f.E, f.B, f.F}, {f.MidX(), f.MidY(), f.Top()}, {f.MidX(), f.B, f.Top()}});
    p.Face(fsS1, {{f.A + f.E, f.B, f.F}, {f.A + f.E, f.B + f.D, f.F}, {f.A + f.E, f.MidY(), f.Top()}});
}

// --- TRoofTopEnd ---

void TRoofTopEnd::FrontFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS1, {{f.A, f.B + f.D, f.F}, {f.A + f.E, f.B + f.D, f.F}, {f.A + f.E, f.MidY(), f.Top()}});
}

void TRoofTopEnd::LeftFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS2, {{f.A, f.B, f.F}, {f.A, f.B + f.D, f.F}, {f.A + f.E, f.MidY(), f.Top()}});
}

void TRoofTopEnd::BackFace(const TRoofFrame& f, const TRoofPainter& p) const {
    p.Face(fsS3, {{f.A, f.B, f.F}, {f.A + f.E, f.B, f.F}, {f.A + f.E, f.MidY(), f.Top()}});
}

void TRoofTopEnd::TopFaces(const TRoofFrame& f, const TRoofPainter& p) const {
    const int h = p.View().RotZ() + 90 * p.Turn();
    if (h < 220 || (270 < h && h < 310)) {
        TRoofTopEnd::FrontFace(f, p);
        TRoofTopEnd::LeftFace(f, p);
        TRoofTopEnd::BackFace(f, p);
    } else {
        TRoofTopEnd::BackFace(f, p);
        TRoofTopEnd::LeftFace(f, p);
        TRoofTopEnd::FrontFace(f, p);
    }
}
