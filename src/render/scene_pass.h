#pragma once
// The drawing pass: the whole scene drawn back to front into an off-screen
// picture over the background, plainly or with 2 x 2 supersampling.

#include <cstdint>
#include <functional>

#include "common/color.h"
#include "platform/point.h"

class TBitmap;
class TBlockList;
class TCanvas;
class TRenderState;

// Told during a pass how many of the stones to draw are drawn. The plain pass
// tells it after every stone, drawn on one thread, so that the picture can be
// shown growing; the other passes now and then, drawn on every processor.
using TPassProgress = std::function<void(int drawn, int total)>;

struct TBackground {
    TColor Color = clWhite;
    // A picture stretched behind the scene, or none.
    const TBitmap* Picture = nullptr;
};

// Draws the scene into `picture` at its size and pixel format: the background
// colour, the background picture fitted in proportion, then every stone that
// passes the cut test, in painter's order after sorting the model for the view's
// octant when that changed. Does nothing while the view's painting guard or
// skip flag is set; the guard is held for the pass. The per-pass values of the
// view are computed first. Progress, when given, is told after every stone
// drawn, so that the picture can be shown growing stone by stone.
void DrawScenePlain(TBitmap& picture, TBlockList& model, TRenderState& view, const TBackground& background,
                    const TPassProgress& progress = nullptr);

// Draws the scene at twice the size of a width x height view into a 32-bit
// picture of its own, over the background colour or the background picture
// stretched over all of it, and averages each 2 x 2 block of pixels of the
// requested rectangle (in view pixels) into `target`, a 32-bit picture whose
// pixel (0, 0) receives the rectangle's top-left pixel. The view's scale and
// offsets are doubled for the pass and restored afterwards, also on failure.
void DrawSceneAntiAliased(TBitmap& target, const TRect& rect, int width, int height, TBlockList& model,
                          TRenderState& view, const TBackground& background,
                          const TPassProgress& progress = nullptr);

// Draws the part of the view inside frame anew at factor times its size into
// target, which takes factor times the frame's size and 32 bits: the view's
// scale is multiplied by the factor and its origin moved with the frame's
// corner, over the background colour or the background picture stretched over
// all of it. Scale and offsets are restored afterwards, also on failure.
void DrawSceneScaled(TBitmap& target, int factor, const TRect& frame, TBlockList& model, TRenderState& view,
                     const TBackground& background, const TPassProgress& progress = nullptr);

// Holds the view's painting guard while a pass (or a picture drawn band by
// band) runs, releasing it however the work ends.
class TPaintingGuard {
public:
    explicit TPaintingGuard(TRenderState& view);
    ~TPaintingGuard();
    TPaintingGuard(const TPaintingGuard&) = delete;
    TPaintingGuard& operator=(const TPaintingGuard&) = delete;

private:
    TRenderState& FView;
};

// The background colour over the width x height picture.
void FillBackground(TCanvas& canvas, int width, int height, TColor color);

// The anti-aliased pixel of a 2 x 2 block of 32-bit pixels: the average of
// each channel, truncated.
inline uint32_t AverageOfBlock(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    auto channel = [&](int shift) {
        const uint32_t sum =
            ((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + ((c >> shift) & 0xFF) + ((d >> shift) & 0xFF);
        return (sum / 4) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}
