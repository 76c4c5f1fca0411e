#include "model/general_block.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "common/error.h"
#include "model/block_paint.h"
#include "model/face_sink.h"
#include "model/picture_mapping.h"
#include "model/small_buffer.h"
#include "partlib/draw_class.h"
#include "partlib/part_file.h"
#include "partlib/part_registry.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "raster/draw_object.h"
#include "view/render_state.h"

TGeneralBlock::TGeneralBlock(int32_t x, int32_t y, int32_t z, int32_t length, int32_t width, int32_t height,
                             TColor color, bool tag, bool basePlate, bool transparent,
                             const std::string& fileName, const std::string& partName,
                             const std::string& name)
    : TBlock(x, y, z, length, width, height, color, tag, basePlate, transparent, name) {
    SetPart(fileName, partName);
}

void TGeneralBlock::SetPart(const std::string& fileName, const std::string& partName) {
    TDrawClass* definition = FindPart(fileName, partName);
    Part = definition;
    Kind = 'G';
    if (Turn % 2 != 0) {
        Length = definition->BoundingY();
        Width = definition->BoundingX();
    } else {
        Length = definition->BoundingX();
        Width = definition->BoundingY();
    }
    Height = definition->BoundingZ();
}

void TGeneralBlock::TurnQuarter() {
    if (Part) {
        TTurnOffset offset = Part->GetTurnOffset(Turn);
        X += offset.DX * 20;
        Y += offset.DY * 20;
    }
    TBlock::TurnQuarter();
}

std::string TGeneralBlock::ToString() const {
    if (Kind != 'G')
        return PlainBlockString(*this);
    std::string file = Part ? Part->FileName : std::string();
    std::string part = Part ? Part->PartName : std::string();
    return StrFormat("G:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%s:%s:%d:%s:%d:%s", X, Y, Z, Length, Width, Height,
                     static_cast<int32_t>(Color), Tag ? 1 : 0, BasePlate ? 1 : 0, Turn, Transparent ? 1 : 0,
                     file.c_str(), part.c_str(), Group, Name.c_str(), ExtraNumber, Caption.c_str());
}

void TGeneralBlock::Draw(TDrawObject& d, const TRenderState& view) const {
    if (Length == 0)
        return;
    TCanvas& canvas = d.Canvas();
    canvas.Brush.Color = Color;
    canvas.Brush.Style = bsSolid;
    if (Selected)
        canvas.Pen.Color = Color == view.SelectionColor ? clWhite : view.SelectionColor;
    else
        canvas.Pen.Color = view.OutlineColor(Color);
    if (view.MarkMatching && view.MarkCaption == Caption &&
        (view.MarkColor == -1 || view.MarkColor == static_cast<int64_t>(Color)))
        canvas.Brush.Color = clFuchsia;
    bool shading = view.Shading;
    if (view.Wireframe) {
        canvas.Brush.Style = bsClear;
        canvas.Pen.Color = Color;
        shading = false;
    } else if (Color == clAqua || Transparent) {
        canvas.Brush.Style = bsDiagCross;
    }
    if (Cut)
        canvas.Brush.Color = view.EdgeColor(canvas.Brush.Color, canvas.Pen.Color, view.EdgeFactor);
    if (Part) {
        const TIntegerList& order = Part->DrawOrder(PartOctant(view.Octant(), Turn & 3));
        for (int32_t polygon : order.Items())
            DrawPartPolygon(polygon, d, view, shading);
    }
    EndBlockPaint(canvas, view);
}

bool TGeneralBlock::DrawsOnCanvas(const TRenderState& view) const {
    return Part != nullptr && Part->BitmapPolygon >= 0 && view.DetailLevel >= 2;
}

void TGeneralBlock::ShapeFaces(TFaceSink& sink) const {
    if (!Part) {
        TBlock::ShapeFaces(sink);
        return;
    }
    std::vector<TFacePoint> face;
    for (int i = 0; i < Part->PolygonCount(); ++i) {
        const TPartPolygon& polygon = Part->Polygon(i);
        const auto& points = polygon.Points;
        if (polygon.Detail > 0 || points.size() < 3)
            continue;
        face.clear();
        for (const TPoint3D& p : points)
            face.push_back(FacePoint(p));
        if (i == Part->BitmapPolygon && points.size() >= 4 && !Part->BitmapFileName.empty())
            sink.PictureFace(face, Part->BitmapFileName);
        else
            sink.Face(face);
    }
}

void TGeneralBlock::DrawPartPolygon(int polygon, TDrawObject& d, const TRenderState& view,
                                    bool shading) const {
    // Orders may name polygons the part does not have; those are left out.
    if (polygon < 0 || polygon >= Part->PolygonCount())
        return;
    const TPartPolygon& poly = Part->Polygon(polygon);
    if (view.DetailLevel < poly.Detail || poly.Points.empty())
        return;
    const size_t n = poly.Points.size();
    // Parts' polygons mostly have a handful of points: those stay on the stack.
    TSmallBuffer<TPoint3D> placed(n);
    TSmallBuffer<TPoint> screen(n);
    for (size_t k = 0; k < n; ++k) {
        TPoint3D p = TurnPartPoint(poly.Points[k], Turn & 3, Part->BoundingX(), Part->BoundingY());
        placed[k] = {p.X + X, p.Y + Y, p.Z + Z};
        screen[k] = view.ProjectPoint(placed[k].X, placed[k].Y, placed[k].Z, 0);
    }

    TCanvas& canvas = d.Canvas();
    const TColor savedPen = canvas.Pen.Color, savedBrush = canvas.Brush.Color;
    const TBrushStyle savedStyle = canvas.Brush.Style;
    const bool highlighted = polygon == Part->HighlightedPolygon;
    if (highlighted) {
        canvas.Pen.Color = RGB(255, 0, 0);
        canvas.Brush.Color = RGB(128, 128, 0);
        canvas.Brush.Style = bsSolid;
    } else if (poly.Color != 0) {
        if (poly.Color < 0) {
            canvas.Brush.Color = static_cast<TColor>(-static_cast<int64_t>(poly.Color));
            canvas.Brush.Style = bsDiagCross;
        } else {
            canvas.Brush.Color = static_cast<TColor>(poly.Color);
        }
        if (savedStyle == bsClear) {
            canvas.Pen.Color = canvas.Brush.Color;
            canvas.Brush.Style = bsClear;
        }
    }
    if (shading) {
        if (!Selected)
            canvas.Pen.Color = view.EdgeColor(canvas.Brush.Color, canvas.Pen.Color, view.EdgeFactor);
        if (n > 2) {
            // The normal of the plane through the first three placed points.
            const double ax = placed[1].X - placed[0].X, ay = placed[1].Y - placed[0].Y,
                         az = placed[1].Z - placed[0].Z;
            const double bx = placed[2].X - placed[0].X, by = placed[2].Y - placed[0].Y,
                         bz = placed[2].Z - placed[0].Z;
            const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
            // Whole-number vectors: their lengths' product is zero only when one is.
            const bool lit = view.Light[0] != 0 || view.Light[1] != 0 || view.Light[2] != 0;
            if (lit && (nx != 0 || ny != 0 || nz != 0))
                canvas.Brush.Color = ShadeColor(canvas.Brush.Color, view.ShadeFactor(nx, ny, nz));
        }
    }

    const int32_t edgeMode = canvas.Brush.Style == bsClear ? 1 : poly.EdgeFlags;
    const int high = static_cast<int>(n) - 1;
    if (edgeMode == 1) {
        d.Polygon(screen.Data(), high);
    } else {
        const TColor pen = canvas.Pen.Color;
        canvas.Pen.Color = canvas.Brush.Color;
        d.Polygon(screen.Data(), high);
        canvas.Pen.Color = pen;
        if (edgeMode != 0) {
            // Each edge whose bit is clear in the mask is outlined on its own.
            const int edges = std::min(31, static_cast<int>(n));
            for (int k = 0; k < edges; ++k) {
                if (edgeMode & (1 << (k + 1)))
                    continue;
                const TPoint& from = screen[static_cast<size_t>(k)];
                const TPoint& to = screen[static_cast<size_t>(k + 1) % n];
                d.MoveTo(from.x, from.y);
                d.LineTo(to.x, to.y);
            }
        }
    }
    canvas.Pen.Color = savedPen;
    canvas.Brush.Color = savedBrush;
    canvas.Brush.Style = savedStyle;

    if (polygon == Part->BitmapPolygon && !highlighted && n >= 4) {
        if (view.DetailLevel < 2) {
            d.MoveTo(screen[0].x, screen[0].y);
            d.LineTo(screen[2].x, screen[2].y);
            d.MoveTo(screen[1].x, screen[1].y);
            d.LineTo(screen[3].x, screen[3].y);
        } else {
            LayBitmap(d, view, {screen.Data(), n});
        }
    }
}

namespace {
// The widest and tallest picture a picture is laid into on a canvas without
// a rasteriser (a printer page), in pixels.
constexpr int kLargestPictureSide = 32767;
} // namespace

void TGeneralBlock::LayBitmap(TDrawObject& d, const TRenderState& view,
                              std::span<const TPoint> screen) const {
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
    for (const TPoint& p : screen) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    if (maxX < 0 || maxY < 0 || maxX <= minX || maxY <= minY)
        return;
    // Only what lies in the picture drawn (on the band of its rows being
    // drawn) is copied out and back, in a copy of its own.
    const TFastDraw* rasteriser = d.FastDraw();
    maxX = std::min(maxX, rasteriser ? rasteriser->Bitmap().Width() - 1 : kLargestPictureSide);
    maxY = std::min(maxY, rasteriser ? rasteriser->HeldBottom() : kLargestPictureSide);
    TRect box = Rect(std::max(minX, 0), std::max(minY, 0), maxX + 1, maxY + 1);
    if (rasteriser)
        box.Top = std::max(box.Top, rasteriser->HeldTop());
    if (box.Width() <= 0 || box.Height() <= 0)
        return;
    // A missing or unreadable picture file leaves the canvas as it was.
    TBitmap* picture = view.Pictures.Get(std::filesystem::path("parts") / Part->BitmapFileName);
    if (!picture)
        return;
    TBitmap copy(box.Width(), box.Height(), pf32bit);
    const TRect whole = Rect(0, 0, box.Width(), box.Height());
    copy.Canvas().CopyRect(whole, d.Canvas(), box);
    auto pixelsOf = [](TBitmap& bitmap) {
        TPixels32 pixels;
        pixels.Pixels = static_cast<uint32_t*>(bitmap.ScanLine(0));
        pixels.Width = bitmap.Width();
        pixels.Height = bitmap.Height();
        pixels.Pitch = bitmap.Height() > 1
                           ? static_cast<int>(static_cast<uint32_t*>(bitmap.ScanLine(1)) - pixels.Pixels)
                           : bitmap.Width();
        return pixels;
    };
    MapPicture(pixelsOf(copy), TPoint{box.Left, box.Top}, pixelsOf(*picture), screen[0], screen[1],
               screen[3]);
    d.CopyRect(box, copy.Canvas(), whole);
}
