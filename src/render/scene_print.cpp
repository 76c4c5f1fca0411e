#include "render/scene_print.h"

#include <cmath>

#include "model/block_list.h"
#include "platform/canvas.h"
#include "raster/draw_object.h"
#include "view/render_state.h"

void PrintScene(TCanvas& canvas, const TPrintPage& page, TBlockList& model, TRenderState& view) {
    if (page.Width <= 0 || page.Height <= 0)
        return;
    TViewScaleRestore restore(view);

    // A page narrower than the view would scale the scene to nothing: it
    // then takes the scene shrunk to its width.
    double k = page.ViewWidth > 0 ? page.Width / page.ViewWidth : 1;
    if (k < 1 && page.ViewWidth > 0)
        k = static_cast<double>(page.Width) / page.ViewWidth;
    view.ViewScale = static_cast<float>(view.ViewScale * k);
    view.ViewOffsetX = static_cast<float>(std::nearbyint(page.Width / 2.0) - page.OffsetX * k);
    view.ViewOffsetY = static_cast<float>(std::nearbyint(page.Height / 2.0) - page.OffsetY * k);
    view.ComputePassValues();

    const int margin = page.Width * 3 / 100;
    TDrawObject d(canvas);
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clWhite;
    canvas.Pen.Color = clBlack;
    canvas.Rectangle(2 * margin, margin, page.Width - margin, page.Height - margin);
    canvas.Font.Color = clBlack;
    canvas.TextOut(2 * margin + 5, margin + 5, page.FileName);
    model.DrawAll(d, view, false);
    canvas.Refresh();
}
