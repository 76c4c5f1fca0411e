#include "app/model_preview_picture.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "model/block.h"
#include "model/block_list.h"
#include "platform/bitmap.h"
#include "render/scene_pass.h"
#include "view/render_state.h"

namespace {

// Takes the marks of the user's work off the stones and the view for a
// while: the selection and the stones matching the one in hand.
class TUnmarked {
public:
    TUnmarked(TBlockList& stones, TRenderState& view) : FView(view), FMarkMatching(view.MarkMatching) {
        for (TBlock* stone : stones.Stones())
            if (stone->Selected) {
                FSelected.push_back(stone);
                stone->Selected = false;
            }
        view.MarkMatching = false;
    }
    ~TUnmarked() {
        for (TBlock* stone : FSelected)
            stone->Selected = true;
        FView.MarkMatching = FMarkMatching;
    }
    TUnmarked(const TUnmarked&) = delete;
    TUnmarked& operator=(const TUnmarked&) = delete;

private:
    TRenderState& FView;
    bool FMarkMatching;
    std::vector<TBlock*> FSelected;
};

// Lays the view out so that the stones' box, seen at its angles, fills nine
// tenths of a width x height picture about its middle.
void FitStones(TRenderState& view, const TBlockList& stones, int width, int height) {
    view.ViewOffsetX = 0.0f;
    view.ViewOffsetY = 0.0f;
    if (stones.Count() == 0)
        return;
    const TExtents e = stones.GetExtents();
    view.ViewScale = 1.0f;
    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
    for (int corner = 0; corner < 8; ++corner) {
        const TPoint p = view.Project(corner & 1 ? e.MaxX : e.MinX, corner & 2 ? e.MaxY : e.MinY,
                                      corner & 4 ? e.MaxZ : e.MinZ, 0);
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    if (maxX > minX && maxY > minY)
        view.ViewScale = static_cast<float>(0.9 * std::min(static_cast<double>(width) / (maxX - minX),
                                                           static_cast<double>(height) / (maxY - minY)));
    // The box's centre, which an orthographic view puts in the middle of the
    // box's outline, goes to the picture's middle.
    auto middle = [](int32_t low, int32_t high) { return static_cast<int32_t>((int64_t{low} + high) / 2); };
    const TPoint centre =
        view.Project(middle(e.MinX, e.MaxX), middle(e.MinY, e.MaxY), middle(e.MinZ, e.MaxZ), 0);
    view.ViewOffsetX = static_cast<float>(width / 2 - centre.x);
    view.ViewOffsetY = static_cast<float>(height / 2 - centre.y);
}

} // namespace

void DrawModelPreview(TBitmap& picture, TBlockList& stones, TRenderState& view, TColor background) {
    const int width = picture.Width(), height = picture.Height();
    TViewScaleRestore scaleRestore(view);
    TUnmarked unmarked(stones, view);
    FitStones(view, stones, width, height);
    DrawSceneAntiAliased(picture, Rect(0, 0, width, height), width, height, stones, view,
                         TBackground{background, nullptr});
}
