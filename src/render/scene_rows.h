#pragma once
// Pictures of the scene drawn band by band as their rows are asked for, so
// that the largest pictures are drawn and saved in a small part of the memory
// they would take whole, with the pixels of the picture drawn whole.

#include <cstdint>
#include <memory>
#include <vector>

#include "common/color.h"
#include "platform/canvas.h"
#include "platform/point.h"
#include "raster/fast_draw.h"
#include "render/picture_rows.h"
#include "render/scene_pass.h"

class TBitmap;
class TBlockList;
class TRenderState;
class TStoneRecording;
class TViewScaleRestore;

// What a picture of the scene shows: the frame's part (in view pixels) of a
// view of ViewWidth x ViewHeight, drawn anew at Factor times its size (1: as
// the view draws it, not anti-aliased), as DrawSceneScaled draws it; or,
// anti-aliased, drawn as DrawSceneAntiAliased draws it, at the frame's size.
// A background picture is stretched over the whole picture drawn, as those
// passes stretch it.
struct TScenePicture {
    TRect Frame;
    int ViewWidth = 0;
    int ViewHeight = 0;
    int Factor = 1;
    bool AntiAliased = false;

    int Width() const { return AntiAliased ? Frame.Width() : Frame.Width() * Factor; }
    int Height() const { return AntiAliased ? Frame.Height() : Frame.Height() * Factor; }
};

class TSceneRows final : public TPictureRows {
public:
    // Takes the view for as long as it lives: the painting guard is held, the
    // view's scale and offsets are the picture's and are put back at the end,
    // also on failure. Sorts the model for the view and records its stones
    // (progress, when given, is told the stones recorded of all). Raises
    // EError while the view is being drawn.
    TSceneRows(const TScenePicture& picture, TBlockList& model, TRenderState& view,
               const TBackground& background, const TPassProgress& progress = nullptr);
    ~TSceneRows() override;
    TSceneRows(const TSceneRows&) = delete;
    TSceneRows& operator=(const TSceneRows&) = delete;

    int Width() const override { return FPicture.Width(); }
    int Height() const override { return FPicture.Height(); }
    const uint32_t* Row(int y) override;

    // The rows drawn at once, chosen from the memory a band takes.
    int BandRows() const { return FBandRows; }
    // Draws bands of the given number of rows instead (at least 1), so that
    // tests can cut small pictures into many bands.
    void SetBandRows(int rows);

private:
    // The picture's rows first .. first + FBandRows - 1 into the band.
    void DrawBand(int first);
    // The rows of the drawn picture (twice the view's for anti-aliasing) that
    // the band of the picture's rows from `first` on needs.
    TPictureBand HeldFor(int first) const;
    void PlanBands(int rows);

    TScenePicture FPicture;
    TBlockList& FModel;
    TRenderState& FView;
    TBackground FBackground;
    std::unique_ptr<TPaintingGuard> FGuard;
    std::unique_ptr<TViewScaleRestore> FRestore;
    // The picture the stones are drawn into, of which a band is held.
    int FDrawnWidth = 0, FDrawnHeight = 0;
    std::unique_ptr<TStoneRecording> FRecording; // none: the stones are drawn anew for each band
    std::unique_ptr<TBitmap> FBand;
    std::vector<uint32_t> FAveraged; // the anti-aliased rows of the band
    int FBandRows = 0;
    int FBandTop = -1; // the first row of the band drawn, or -1
    // The canvas as every band starts.
    TPen FStartPen;
    TFont FStartFont;
    TPoint FStartPenPos;
};
