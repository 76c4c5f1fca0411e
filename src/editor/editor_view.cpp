#include "editor/editor_view.h"

#include "model/block.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "raster/draw_object.h"
#include "view/render_state.h"

namespace {

// Puts back the shared view's detail level, however drawing ends.
class TDetailRestore {
public:
    explicit TDetailRestore(TRenderState& view) : FView(view), FLevel(view.DetailLevel) {}
    ~TDetailRestore() { FView.DetailLevel = FLevel; }
    TDetailRestore(const TDetailRestore&) = delete;
    TDetailRestore& operator=(const TDetailRestore&) = delete;

private:
    TRenderState& FView;
    int FLevel;
};

} // namespace

bool DrawEditorView(TBitmap& picture, const TBlock* stone, const TEditorViewState& state, TRenderState& shared,
                    TColor background, int& octant) {
    TCanvas& canvas = picture.Canvas();
    canvas.Brush.Color = background;
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(Rect(0, 0, picture.Width(), picture.Height()));
    if (stone == nullptr)
        return false;
    // The shared view is borrowed and put back as it was.
    const TViewScaleRestore restoreScale(shared);
    const int rotX = shared.RotX(), rotY = shared.RotY(), rotZ = shared.RotZ();
    const TDetailRestore restoreDetail(shared);
    shared.DetailLevel = state.DetailLevel;
    shared.ViewScale = state.Zoom;
    shared.ViewOffsetX = 0;
    shared.ViewOffsetY = 0;
    shared.SetAngles(state.Tilt, 0, state.TurnAngle);
    octant = shared.Octant();
    shared.ComputePassValues();
    // The segment from the stone's origin corner to its far corner is centred.
    const TPoint far = shared.Project(stone->Length, stone->Width, stone->Height, 0);
    shared.ViewOffsetX = static_cast<float>(picture.Width() / 2 - far.x / 2);
    shared.ViewOffsetY = static_cast<float>(picture.Height() / 2 - far.y / 2);
    {
        TDrawObject d(picture);
        stone->Draw(d, shared);
    }
    canvas.Refresh();
    shared.SetRotation(rotX, rotY, rotZ);
    return true;
}
