#include "render/stone_preview.h"

#include <algorithm>

#include "model/block.h"
#include "platform/bitmap.h"
#include "raster/draw_object.h"
#include "view/render_state.h"

namespace {

// Puts back what the preview changes in the view, however drawing ends.
class TTemporaryView {
public:
    explicit TTemporaryView(TRenderState& view)
        : FView(view), FScaleRestore(view), FRotX(view.RotX()), FRotY(view.RotY()), FRotZ(view.RotZ()),
          FDetail(view.DetailLevel), FWireframe(view.Wireframe) {}
    ~TTemporaryView() {
        FView.SetRotation(FRotX, FRotY, FRotZ);
        FView.DetailLevel = FDetail;
        FView.Wireframe = FWireframe;
    }
    TTemporaryView(const TTemporaryView&) = delete;
    TTemporaryView& operator=(const TTemporaryView&) = delete;

private:
    TRenderState& FView;
    // Restores last, after the angles, so the pass values fit them.
    TViewScaleRestore FScaleRestore;
    int FRotX, FRotY, FRotZ;
    int FDetail;
    bool FWireframe;
};

} // namespace

void DrawStonePreview(TBitmap& picture, const TBlock& stone, TRenderState& view, float scale) {
    if (picture.Width() < 2 || picture.Height() < 2)
        return;
    TTemporaryView restore(view);
    view.DetailLevel = 99;
    view.Wireframe = false;
    view.ViewScale = scale;
    view.SetRotation(70, view.RotY(), 330);
    // Where the stone's centre lands with the origin at the top-left corner
    // decides the origin that brings it to the middle; the origin stays at
    // least one pixel in from the left and two from the top.
    view.ViewOffsetX = 0;
    view.ViewOffsetY = 0;
    const TPoint centre = view.Project(stone.Length / 2, stone.Width / 2, stone.Height / 2, 0);
    view.ViewOffsetX = static_cast<float>(std::max(1, picture.Width() / 2 - centre.x));
    view.ViewOffsetY = static_cast<float>(std::max(2, picture.Height() / 2 - centre.y));
    view.ComputePassValues();
    TDrawObject d(picture);
    stone.Draw(d, view);
    d.Canvas().Refresh();
}
