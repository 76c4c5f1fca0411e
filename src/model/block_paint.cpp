#include "model/block_paint.h"

#include <algorithm>

#include "model/block.h"
#include "model/small_buffer.h"
#include "platform/canvas.h"
#include "raster/draw_object.h"
#include "view/render_state.h"

bool BeginBlockPaint(const TBlock& stone, TCanvas& canvas, const TRenderState& view, bool& shading) {
    if (stone.Length == 0)
        return false;
    canvas.Brush.Color = stone.Color;
    canvas.Brush.Style = bsSolid;
    if (stone.Selected)
        canvas.Pen.Color = stone.Color == view.SelectionColor ? clWhite : view.SelectionColor;
    else
        canvas.Pen.Color = view.OutlineColor(stone.Color);
    shading = view.Shading;
    if (view.Wireframe) {
        canvas.Brush.Style = bsClear;
        canvas.Pen.Color = stone.Color;
        shading = false;
    } else if (stone.Color == clAqua || stone.Transparent) {
        canvas.Brush.Style = bsDiagCross;
    }
    if (shading && !stone.Selected)
        canvas.Pen.Color = view.EdgeColor(canvas.Brush.Color, canvas.Pen.Color, view.EdgeFactor);
    return true;
}

void EndBlockPaint(TCanvas& canvas, const TRenderState& view) {
    canvas.Brush.Color = clSilver;
    canvas.Brush.Style = bsSolid;
    canvas.Pen.Color = view.BlackStoneColor;
}

TFaceColors MakeFaceColors(TColor color, int turn, bool shading, const TRenderState& view) {
    TFaceColors colors;
    if (!shading) {
        colors.fill(color);
        return colors;
    }
    // Orientation (0-based FaceShade index) of each slot for turns 0 to 3.
    static constexpr int kSlotShade[7][4] = {
        {foAlongX, foAlongY, foAlongX, foAlongY},       // A
        {foAlongY, foAlongX, foAlongY, foAlongX},       // B
        {foFlat, foFlat, foFlat, foFlat},               // C
        {foSlopeY40, foSlopeX40, foSlopeY0, foSlopeX0}, // S1
        {foSlopeX0, foSlopeY40, foSlopeX40, foSlopeY0}, // S2
        {foSlopeY0, foSlopeX0, foSlopeY40, foSlopeX40}, // S3
        {foSlopeX40, foSlopeY0, foSlopeX0, foSlopeY40}, // S4
    };
    const int t = turn & 3;
    for (size_t slot = 0; slot < 7; ++slot)
        colors[slot] = ShadeColor(color, view.FaceShade[static_cast<size_t>(kSlotShade[slot][t])]);
    return colors;
}

void DrawPolygon3D(TDrawObject& d, const TRenderState& view, const TPoint3D* points, int count,
                   int quarterTurn) {
    TSmallBuffer<TPoint> screen(static_cast<size_t>(std::max(count, 0)));
    view.ProjectPoints(points, count, quarterTurn, screen.Data());
    d.Polygon(screen.Data(), count - 1);
}
