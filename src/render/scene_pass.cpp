#include "render/scene_pass.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "common/error.h"
#include "model/block_list.h"
#include "model/cut_state.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "raster/draw_object.h"
#include "render/scene_bands.h"
#include "view/render_state.h"

TPaintingGuard::TPaintingGuard(TRenderState& view) : FView(view) {
    FView.Painting = true;
}

TPaintingGuard::~TPaintingGuard() {
    FView.Painting = false;
}

void FillBackground(TCanvas& canvas, int width, int height, TColor color) {
    canvas.Brush.Color = color;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(Rect(0, 0, width, height));
}

namespace {

// The largest rectangle of the picture's proportions centred in the view.
TRect FittedRect(const TBitmap& picture, int width, int height) {
    if (picture.Width() <= 0 || picture.Height() <= 0 || width <= 0 || height <= 0)
        return Rect(0, 0, width, height);
    const double c = std::fabs(static_cast<double>(picture.Width()) / picture.Height());
    const double v = std::fabs(static_cast<double>(width) / height);
    if (c > v) {
        const int lost = static_cast<int>(std::nearbyint(height - width / c)) / 2;
        return Rect(0, lost, width, height - lost);
    }
    const int lost = static_cast<int>(std::nearbyint(width - c * height)) / 2;
    return Rect(lost, 0, width - lost, height);
}

// Every stone that passes the cut test, in list order: on several threads
// where that gives the same picture, unless the picture is to be shown
// growing stone by stone.
void DrawStones(TBitmap& picture, TDrawObject& d, TBlockList& model, const TRenderState& view,
                const TPassProgress& progress, bool stoneByStone) {
    if (!stoneByStone && DrawStonesInBands(picture, model, view, progress))
        return;
    if (!progress) {
        model.DrawAll(d, view, false);
        return;
    }
    const int total = model.Count();
    int drawn = 0;
    for (TBlock* stone : model.Stones()) {
        ++drawn;
        if (!InCut(*stone))
            continue;
        stone->Draw(d, view);
        progress(drawn, total);
    }
}

} // namespace

void DrawScenePlain(TBitmap& picture, TBlockList& model, TRenderState& view, const TBackground& background,
                    const TPassProgress& progress) {
    if (view.SkipPainting || view.Painting)
        return;
    TPaintingGuard guard(view);
    const int width = picture.Width(), height = picture.Height();
    TDrawObject d(picture);
    view.ComputePassValues();
    model.Sort(view.Octant(), false);
    FillBackground(d.Canvas(), width, height, background.Color);
    if (background.Picture)
        d.StretchDraw(FittedRect(*background.Picture, width, height), *background.Picture);
    DrawStones(picture, d, model, view, progress, progress != nullptr);
    d.Canvas().Refresh();
}

void DrawSceneAntiAliased(TBitmap& target, const TRect& rect, int width, int height, TBlockList& model,
                          TRenderState& view, const TBackground& background, const TPassProgress& progress) {
    if (view.SkipPainting || view.Painting)
        return;
    if (target.PixelFormat() != pf32bit && target.PixelFormat() != pfDevice)
        throw EError("The anti-aliased picture needs a 32-bit bitmap");
    TPaintingGuard guard(view);
    const float scale = view.ViewScale, offsetX = view.ViewOffsetX, offsetY = view.ViewOffsetY;
    TViewScaleRestore restore(view);

    const int bigWidth = 2 * width, bigHeight = 2 * height;
    TBitmap big(bigWidth, bigHeight, pf32bit);
    {
        TDrawObject d(big);
        view.ViewScale = static_cast<float>(2.0 * scale);
        view.ViewOffsetX = static_cast<float>(2.0 * offsetX);
        view.ViewOffsetY = static_cast<float>(2.0 * offsetY);
        view.ComputePassValues();
        model.Sort(view.Octant(), false);
        FillBackground(d.Canvas(), bigWidth, bigHeight, background.Color);
        if (background.Picture)
            d.StretchDraw(Rect(0, 0, bigWidth, bigHeight), *background.Picture);
        DrawStones(big, d, model, view, progress, false);
        d.Canvas().Refresh();
    }

    // Each target pixel is the average of its 2 x 2 source pixels, channel by
    // channel, truncated.
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        const int ty = y - rect.Top;
        if (ty < 0 || ty >= target.Height() || 2 * y + 1 >= bigHeight || y < 0)
            continue;
        const auto* row0 = static_cast<const uint32_t*>(big.ScanLine(2 * y));
        const auto* row1 = static_cast<const uint32_t*>(big.ScanLine(2 * y + 1));
        auto* out = static_cast<uint32_t*>(target.ScanLine(ty));
        for (int x = rect.Left; x < rect.Right; ++x) {
            const int tx = x - rect.Left;
            if (tx < 0 || tx >= target.Width() || x < 0 || 2 * x + 1 >= bigWidth)
                continue;
            out[tx] = AverageOfBlock(row0[2 * x], row0[2 * x + 1], row1[2 * x], row1[2 * x + 1]);
        }
    }
}

void DrawSceneScaled(TBitmap& target, int factor, const TRect& frame, TBlockList& model, TRenderState& view,
                     const TBackground& background, const TPassProgress& progress) {
    if (view.SkipPainting || view.Painting)
        return;
    TPaintingGuard guard(view);
    const int width = frame.Width() * factor, height = frame.Height() * factor;
    target.SetPixelFormat(pf32bit);
    target.SetSize(width, height);
    TViewScaleRestore restore(view);
    view.ViewScale = static_cast<float>(double{view.ViewScale} * factor);
    view.ViewOffsetX = static_cast<float>(factor * (double{view.ViewOffsetX} - frame.Left));
    view.ViewOffsetY = static_cast<float>(factor * (double{view.ViewOffsetY} - frame.Top));
    view.ComputePassValues();
    model.Sort(view.Octant(), false);
    TDrawObject d(target);
    FillBackground(d.Canvas(), width, height, background.Color);
    if (background.Picture)
        d.StretchDraw(Rect(0, 0, width, height), *background.Picture);
    DrawStones(target, d, model, view, progress, false);
    d.Canvas().Refresh();
}
