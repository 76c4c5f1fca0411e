#include "render/scene_rows.h"

#include <algorithm>

#include "common/error.h"
#include "model/block_list.h"
#include "platform/bitmap.h"
#include "raster/draw_object.h"
#include "render/scene_bands.h"
#include "view/render_state.h"

namespace {

// The memory of the band of the drawn picture: large enough that the stones
// are gone through a few dozen times at most for the largest pictures.
constexpr int64_t kBandBytes = int64_t{64} << 20;

} // namespace

TSceneRows::TSceneRows(const TScenePicture& picture, TBlockList& model, TRenderState& view,
                       const TBackground& background, const TPassProgress& progress)
    : FPicture(picture), FModel(model), FView(view), FBackground(background) {
    if (view.SkipPainting || view.Painting)
        throw EError("The view is being drawn; its picture cannot be made now");
    FGuard = std::make_unique<TPaintingGuard>(view);
    FRestore = std::make_unique<TViewScaleRestore>(view);
    const TRect& frame = picture.Frame;
    if (picture.AntiAliased) {
        const float scale = view.ViewScale, offsetX = view.ViewOffsetX, offsetY = view.ViewOffsetY;
        FDrawnWidth = 2 * picture.ViewWidth;
        FDrawnHeight = 2 * picture.ViewHeight;
        view.ViewScale = static_cast<float>(2.0 * scale);
        view.ViewOffsetX = static_cast<float>(2.0 * offsetX);
        view.ViewOffsetY = static_cast<float>(2.0 * offsetY);
    } else {
        const int factor = picture.Factor;
        FDrawnWidth = frame.Width() * factor;
        FDrawnHeight = frame.Height() * factor;
        view.ViewScale = static_cast<float>(double{view.ViewScale} * factor);
        view.ViewOffsetX = static_cast<float>(factor * (double{view.ViewOffsetX} - frame.Left));
        view.ViewOffsetY = static_cast<float>(factor * (double{view.ViewOffsetY} - frame.Top));
    }
    view.ComputePassValues();
    model.Sort(view.Octant(), false);

    const int64_t drawnRow = std::max<int64_t>(int64_t{FDrawnWidth} * 4, 1);
    const int64_t rows = kBandBytes / drawnRow / (picture.AntiAliased ? 2 : 1);
    PlanBands(static_cast<int>(std::clamp<int64_t>(rows, 1, std::max(Height(), 1))));

    // Every band starts with the canvas of a new bitmap, brushed with the
    // background colour, as a pass over the whole picture starts.
    TCanvas& canvas = FBand->Canvas();
    FStartPen = canvas.Pen;
    FStartFont = canvas.Font;
    FStartPenPos = canvas.PenPos;
    const bool severalBands = FBandRows < Height();
    if (severalBands || RecordingPays(model)) {
        FRecording = std::make_unique<TStoneRecording>();
        canvas.Brush = TBrush{FBackground.Color, bsSolid};
        if (!FRecording->Record(canvas, FDrawnWidth, FDrawnHeight, model, view, SceneThreads(), progress))
            FRecording.reset();
    }
}

TSceneRows::~TSceneRows() = default;

void TSceneRows::SetBandRows(int rows) {
    PlanBands(std::clamp(rows, 1, std::max(Height(), 1)));
}

void TSceneRows::PlanBands(int rows) {
    FBandRows = rows;
    FBandTop = -1;
    const int drawnRows = FPicture.AntiAliased ? 2 * rows : rows;
    // The rasteriser takes two rows at least.
    if (!FBand || FBand->Height() != std::max(drawnRows, 2))
        FBand = std::make_unique<TBitmap>(FDrawnWidth, std::max(drawnRows, 2), pf32bit);
    if (FPicture.AntiAliased)
        FAveraged.assign(static_cast<size_t>(Width()) * static_cast<size_t>(rows), 0);
}

TPictureBand TSceneRows::HeldFor(int first) const {
    if (!FPicture.AntiAliased)
        return TPictureBand{first, FDrawnHeight};
    return TPictureBand{2 * std::max(FPicture.Frame.Top + first, 0), FDrawnHeight};
}

void TSceneRows::DrawBand(int first) {
    FBandTop = -1;
    const TPictureBand held = HeldFor(first);
    bool shown = held.Top < FDrawnHeight;
    if (FPicture.AntiAliased)
        shown = shown && FPicture.Frame.Top + first + FBandRows > 0;
    if (shown) {
        TCanvas& canvas = FBand->Canvas();
        canvas.Pen = FStartPen;
        canvas.Font = FStartFont;
        canvas.PenPos = FStartPenPos;
        canvas.SetOrigin(TPoint{0, held.Top});
        FillBackground(canvas, FDrawnWidth, FDrawnHeight, FBackground.Color);
        if (FBackground.Picture != nullptr)
            canvas.StretchDraw(Rect(0, 0, FDrawnWidth, FDrawnHeight), *FBackground.Picture);
        if (FRecording) {
            FRecording->Draw(*FBand, held);
        } else {
            TDrawObject d(*FBand, held);
            FModel.DrawAll(d, FView, false);
        }
        canvas.Refresh();
    }
    if (FPicture.AntiAliased) {
        // Each pixel is the average of its 2 x 2 drawn pixels; those outside
        // the view stay black, as in a new bitmap.
        const TRect& frame = FPicture.Frame;
        const int width = Width();
        for (int i = 0; i < FBandRows && first + i < Height(); ++i) {
            uint32_t* out = FAveraged.data() + static_cast<size_t>(i) * static_cast<size_t>(width);
            std::fill_n(out, width, 0xFF000000u);
            const int y = frame.Top + first + i;
            if (!shown || y < 0 || 2 * y + 1 >= FDrawnHeight)
                continue;
            const auto* row0 = static_cast<const uint32_t*>(FBand->ScanLine(2 * y - held.Top));
            const auto* row1 = static_cast<const uint32_t*>(FBand->ScanLine(2 * y + 1 - held.Top));
            for (int tx = 0; tx < width; ++tx) {
                const int x = frame.Left + tx;
                if (x < 0 || 2 * x + 1 >= FDrawnWidth)
                    continue;
                out[tx] = AverageOfBlock(row0[2 * x], row0[2 * x + 1], row1[2 * x], row1[2 * x + 1]);
            }
        }
    }
    FBandTop = first;
}

const uint32_t* TSceneRows::Row(int y) {
    if (y < 0 || y >= Height())
        throw EError("Scan line index out of range");
    if (FBandTop < 0 || y < FBandTop || y >= FBandTop + FBandRows)
        DrawBand(y / FBandRows * FBandRows);
    if (FPicture.AntiAliased)
        return FAveraged.data() + static_cast<size_t>(y - FBandTop) * static_cast<size_t>(Width());
    return static_cast<const uint32_t*>(FBand->ScanLine(y - FBandTop));
}
