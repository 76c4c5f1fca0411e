#include "model/round_block.h"

#include <cmath>

#include "model/block_paint.h"
#include "platform/canvas.h"
#include "raster/draw_object.h"
#include "view/render_state.h"

void TRoundBlock::Draw(TDrawObject& d, const TRenderState& view) const {
    bool shading = false;
    TCanvas& canvas = d.Canvas();
    if (!BeginBlockPaint(*this, canvas, view, shading))
        return;
    const TPoint c = view.ProjectPoint(X + Length / 2, Y + Width / 2, Z, 0);
    const int cx = c.x, cy = c.y;
    const int s = static_cast<int>(std::nearbyint(Length / 2.0 * static_cast<double>(view.ViewScale)));
    const int t = static_cast<int>(std::nearbyint(std::fabs(std::cos(static_cast<double>(view.AngleX()))) *
                                                  Width / 2.0 * static_cast<double>(view.ViewScale)));
    // The top lies Height units up: the displacement of 20 units, scaled.
    const int q = Height * view.Height20.x / 20;
    const int r = Height * view.Height20.y / 20;
    const bool above = view.Octant() < 4;

    d.Rectangle(cx + q - s, cy + r, cx + s + 1, cy);
    if (above)
        d.Ellipse(cx - s, cy - t, cx + s + 1, cy + t + 1);
    else
        d.Ellipse(cx + q - s, cy + r - t, cx + q + s + 1, cy + r + t + 1);
    // A rectangle one pixel narrower in the fill colour hides the inner lines.
    const TColor pen = canvas.Pen.Color;
    canvas.Pen.Color = canvas.Brush.Color;
    d.Rectangle(cx + q - s + 1, cy + r, cx + s, cy);
    canvas.Pen.Color = pen;
    if (above) {
        d.Ellipse(cx + q - s, cy + r - t, cx + q + s + 1, cy + r + t + 1);
    } else {
        d.Ellipse(cx - s, cy - t, cx + s + 1, cy + t + 1);
        // An eight-sided outline around the centre of the base.
        const int R = view.EllipseR, H = view.EllipseH, R2 = view.EllipseR2, H2 = view.EllipseH2;
        const TPoint outline[9] = {{cx - R, cy + H2}, {cx - R, cy - H2}, {cx - R2, cy - H},
                                   {cx + R2, cy - H}, {cx + R, cy - H2}, {cx + R, cy + H2},
                                   {cx + R2, cy + H}, {cx - R2, cy + H}, {cx - R, cy + H2}};
        d.Polyline(outline, 8);
    }
    EndBlockPaint(canvas, view);
}
