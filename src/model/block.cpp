#include "model/block.h"

#include <array>
#include <vector>

#include "common/error.h"
#include "common/units.h"
#include "model/block_paint.h"
#include "model/face_sink.h"
#include "platform/polygon_region.h"
#include "raster/draw_object.h"
#include "view/projector.h"
#include "view/render_state.h"

TBlock::TBlock(int32_t x, int32_t y, int32_t z, int32_t length, int32_t width, int32_t height, TColor color,
               bool tag, bool basePlate, bool transparent, const std::string& name)
    : X(ModulesToUnits(x)), Y(ModulesToUnits(y)), Z(ThirdsToUnits(z)), Length(ModulesToUnits(length)),
      Width(ModulesToUnits(width)), Height(ThirdsToUnits(height)), Tag(tag), Color(color),
      Transparent(transparent), BasePlate(basePlate), Name(name) {}

std::unique_ptr<TBlock> TBlock::NewOfSameClass() const {
    return std::unique_ptr<TBlock>(new TBlock());
}

namespace {

struct TCorner {
    bool L, W, H; // offset by Length, Width, Height in that axis
};

// The six outline corners of a box for each viewing octant, in outline order.
constexpr std::array<std::array<TCorner, 6>, 8> kOutlineCorners = {{
    // 0
    {{{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}, {0, 1, 0}}},
    // 1
    {{{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}, {1, 0, 0}}},
    // 2
    {{{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}, {1, 0, 0}}},
    // 3
    {{{0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 1}}},
    // 4
    {{{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}, {1, 0, 0}}},
    // 5
    {{{0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}, {1, 1, 0}}},
    // 6
    {{{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}, {0, 1, 0}}},
    // 7
    {{{0, 1, 1}, {0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {1, 1, 1}}},
}};

std::array<TPoint, 6> OutlineCorners(const TBlock& s, int octant, const TProjector& view) {
    std::array<TPoint, 6> outline;
    const auto& corners = kOutlineCorners[static_cast<size_t>(octant & 7)];
    for (size_t k = 0; k < 6; ++k)
        outline[k] =
            view.ProjectPoint(s.X + (corners[k].L ? s.Length : 0), s.Y + (corners[k].W ? s.Width : 0),
                              s.Z + (corners[k].H ? s.Height : 0), 0);
    return outline;
}

} // namespace

bool TBlock::HitTest(const TProjector& view, int x, int y) const {
    auto outline = OutlineCorners(*this, view.ViewOctant(), view);
    return PtInPolygon(std::vector<TPoint>(outline.begin(), outline.end()), x, y);
}

void TBlock::Draw(TDrawObject& d, const TRenderState& view) const {
    bool shading = false;
    if (!BeginBlockPaint(*this, d.Canvas(), view, shading))
        return;
    DrawBox(view.Octant(), d, view, shading);
    EndBlockPaint(d.Canvas(), view);
}

void TBlock::DrawBox(int octant, TDrawObject& d, const TRenderState& view, bool shading) const {
    octant &= 7;
    // The visible faces: the x face, the y face and the top (from above) or the
    // bottom (from below); they meet in the corner nearest the viewer.
    const int32_t x0 = X, x1 = X + Length, y0 = Y, y1 = Y + Width, z0 = Z, z1 = Z + Height;
    const bool nearLowX = octant == 0 || octant == 1 || octant == 4 || octant == 5;
    const bool nearHighY = octant == 0 || octant == 3 || octant == 4 || octant == 7;
    const bool above = octant < 4;
    const int32_t xn = nearLowX ? x0 : x1, xf = nearLowX ? x1 : x0;
    const int32_t yn = nearHighY ? y1 : y0, yf = nearHighY ? y0 : y1;
    const int32_t zn = above ? z1 : z0, zf = above ? z0 : z1;
    TCanvas& canvas = d.Canvas();
    if (shading) {
        // The seven corners the three faces share, each projected once; corner
        // k lies at x1 when bit 0 is set, y1 for bit 1, z1 for bit 2.
        const int xBit = nearLowX ? 0 : 1, yBit = nearHighY ? 2 : 0, zBit = above ? 4 : 0;
        const int farCorner = (xBit ^ 1) | (yBit ^ 2) | (zBit ^ 4);
        TPoint corner[8];
        for (int k = 0; k < 8; ++k)
            if (k != farCorner)
                corner[k] = view.Project(k & 1 ? x1 : x0, k & 2 ? y1 : y0, k & 4 ? z1 : z0, 0);
        const TPoint xFace[4] = {corner[xBit], corner[xBit | 2], corner[xBit | 6], corner[xBit | 4]};
        const TPoint yFace[4] = {corner[yBit], corner[yBit | 1], corner[yBit | 5], corner[yBit | 4]};
        const TPoint flat[4] = {corner[zBit], corner[zBit | 1], corner[zBit | 3], corner[zBit | 2]};
        const TColor xColor = ShadeColor(Color, view.FaceShade[foAlongX]);
        const TColor yColor = ShadeColor(Color, view.FaceShade[foAlongY]);
        const TColor flatColor = ShadeColor(Color, view.FaceShade[foFlat]);
        const bool xFirst = octant % 2 == 0;
        canvas.Brush.Color = xFirst ? xColor : yColor;
        d.Polygon(xFirst ? xFace : yFace, 3);
        canvas.Brush.Color = flatColor;
        d.Polygon(flat, 3);
        canvas.Brush.Color = xFirst ? yColor : xColor;
        d.Polygon(xFirst ? yFace : xFace, 3);
        return;
    }
    auto outline = OutlineCorners(*this, octant, view);
    d.Polygon(outline.data(), 5);
    TPoint edges[3] = {view.ProjectPoint(xf, yn, zn), view.ProjectPoint(xn, yn, zn),
                       view.ProjectPoint(xn, yf, zn)};
    d.Polyline(edges, 2);
    TPoint vertical[2] = {view.ProjectPoint(xn, yn, zn), view.ProjectPoint(xn, yn, zf)};
    d.Polyline(vertical, 1);
}

void TBlock::ShapeFaces(TFaceSink& sink) const {
    BoxFaces(
        sink, {0, 0, 0},
        {static_cast<double>(OwnLength()), static_cast<double>(OwnWidth()), static_cast<double>(Height)});
}

void BoxFaces(TFaceSink& sink, const TFacePoint& low, const TFacePoint& high) {
    auto corner = [&](int k) {
        return TFacePoint{k & 1 ? high.X : low.X, k & 2 ? high.Y : low.Y, k & 4 ? high.Z : low.Z};
    };
    // Corner k lies at the high x for bit 0, high y for bit 1, high z for bit 2.
    static constexpr int kFaces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                         {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& face : kFaces) {
        const TFacePoint points[4] = {corner(face[0]), corner(face[1]), corner(face[2]), corner(face[3])};
        sink.Face(points);
    }
}

void TBlock::SetPart(const std::string&, const std::string&) {}

void TBlock::TurnQuarter() {
    Turn = (Turn + 1) % 4;
    std::swap(Length, Width);
}

int32_t TBlock::HeightAt(int32_t x, int32_t y, int32_t xs, int32_t ys) const {
    if (X < int64_t{x} + xs && x < int64_t{X} + Length && Y < int64_t{y} + ys && y < int64_t{Y} + Width)
        return Z + Height;
    return 0;
}

std::string PlainBlockString(const TBlock& s) {
    return StrFormat("%c:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%s:%d:%s", s.Kind, s.X, s.Y, s.Z, s.Length,
                     s.Width, s.Height, static_cast<int32_t>(s.Color), s.Tag ? 1 : 0, s.BasePlate ? 1 : 0,
                     s.Turn, s.Transparent ? 1 : 0, s.Group, s.Name.c_str(), s.ExtraNumber,
                     s.Caption.c_str());
}

std::string TBlock::ToString() const {
    return PlainBlockString(*this);
}

std::unique_ptr<TBlock> CreateCopy(const TBlock& stone) {
    std::unique_ptr<TBlock> copy = stone.NewOfSameClass();
    copy->Kind = stone.Kind;
    copy->X = stone.X;
    copy->Y = stone.Y;
    copy->Z = stone.Z;
    copy->Length = stone.Length;
    copy->Width = stone.Width;
    copy->Height = stone.Height;
    copy->Color = stone.Color;
    copy->Transparent = stone.Transparent;
    copy->Tag = stone.Tag;
    copy->BasePlate = stone.BasePlate;
    copy->Turn = stone.Turn;
    copy->Part = stone.Part;
    copy->Name = stone.Name;
    copy->ExtraNumber = stone.ExtraNumber;
    copy->Caption = stone.Caption;
    return copy;
}

void CheckStoneInRange(const TBlock& s) {
    auto inside = [](int32_t v) { return v >= -kLargestCoordinate && v <= kLargestCoordinate; };
    auto size = [](int32_t v) { return v >= 0 && v <= kLargestCoordinate; };
    if (!inside(s.X) || !inside(s.Y) || !inside(s.Z) || !size(s.Length) || !size(s.Width) || !size(s.Height))
        throw EError(StrFormat("The stone at %d, %d, %d of size %d x %d x %d lies outside what can be drawn: "
                               "places must lie within %d units of the origin, sizes from 0 to %d units",
                               s.X, s.Y, s.Z, s.Length, s.Width, s.Height, kLargestCoordinate,
                               kLargestCoordinate));
}
