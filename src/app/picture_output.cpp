#include "app/picture_output.h"

#include <cstdint>

#include "app/model_document.h"
#include "common/error.h"
#include "platform/data_folders.h"
#include "render/picture_rows.h"
#include "render/picture_writer.h"
#include "render/scene_print.h"
#include "render/scene_rows.h"

namespace fs = std::filesystem;

namespace {

// Beyond this a picture held whole cannot be held in memory, nor written by
// the picture formats.
constexpr int64_t kLargestSide = 32767, kMostPixels = int64_t{1} << 28;
// The most a picture drawn whole may take.
constexpr int64_t kMostWholeBytes = int64_t{1} << 30;

} // namespace

std::string FramePictureProblem(int factor, const TRect& frame) {
    if (frame.Width() <= 0 || frame.Height() <= 0)
        return "The picture frame is empty";
    const int64_t k = factor >= 2 ? factor : 1;
    const int64_t width = frame.Width() * k, height = frame.Height() * k;
    if (width > kLargestSide || height > kLargestSide || width * height > kMostPixels)
        return StrFormat("The picture would be %lld x %lld pixels, more than can be made",
                         static_cast<long long>(width), static_cast<long long>(height));
    return "";
}

std::string WholePictureProblem(TBitDepth depth, int width, int height) {
    // What the picture takes per pixel while it is drawn and saved: at 8 bits
    // the canvas draws on 32 bits beside the palette entries.
    int bytes = 4;
    const char* name = "the device's depth";
    switch (depth) {
    case bd8:
        bytes = 5;
        name = "8 bits";
        break;
    case bd16:
        bytes = 2;
        name = "16 bits";
        break;
    case bd24:
        bytes = 3;
        name = "24 bits";
        break;
    case bd32:
        return "";
    case bdDevice:
        break;
    }
    const int64_t needed = int64_t{width} * height * bytes;
    if (needed <= kMostWholeBytes)
        return "";
    return StrFormat("A picture of %d x %d pixels at %s is drawn whole and would take %lld MB, more than the "
                     "%lld MB it may; at 32 bits it is drawn in bands",
                     width, height, name, static_cast<long long>(needed >> 20),
                     static_cast<long long>(kMostWholeBytes >> 20));
}

TPictureOutput::TPictureOutput(TSceneView& scene, TModelDocument& document, const TDataFolders& folders)
    : FScene(scene), FDocument(document),
      FPictureFolder((folders.User().empty() ? folders.Shipped() : folders.User()) / "Pict") {}

void TPictureOutput::RenderFramePicture(TBitmap& target, int factor, const TRect& frame,
                                        const TPassProgress& progress) {
    if (const std::string problem = FramePictureProblem(factor, frame); !problem.empty())
        throw EError(problem);
    TBitmap& picture = FScene.Picture();
    TBlockList& model = FDocument.Model();
    target.SetPixelFormat(pf32bit);
    if (factor == 0) {
        target.SetSize(frame.Width(), frame.Height());
        target.Canvas().CopyRect(Rect(0, 0, frame.Width(), frame.Height()), picture.Canvas(), frame);
        target.Canvas().Refresh();
    } else if (factor == 1) {
        target.SetSize(frame.Width(), frame.Height());
        DrawSceneAntiAliased(target, frame, picture.Width(), picture.Height(), model, FScene.View(),
                             FScene.Background(), progress);
    } else {
        DrawSceneScaled(target, factor, frame, model, FScene.View(), FScene.Background(), progress);
    }
}

void TPictureOutput::SavePicture(int factor, const fs::path& path,
                                 const std::function<void(double)>& progress) {
    const TRect frame = FFrame.Rect;
    if (const std::string problem = FramePictureProblem(factor, frame); !problem.empty())
        throw EError(problem);
    auto tell = [&](double done) {
        if (progress)
            progress(done);
    };
    if (factor == 0) {
        TBitmapRows rows(FScene.Picture(), frame);
        SavePictureFile(rows, path, tell);
    } else if (FScene.Background().Picture != nullptr) {
        // Drawing takes the first two thirds of the work, writing the rest.
        TBitmap picture;
        RenderFramePicture(picture, factor, frame, [&](int done, int total) {
            if (total > 0)
                tell(2.0 / 3 * done / total);
        });
        SavePictureFile(picture, path, [&](double written) { tell(2.0 / 3 + written / 3); });
    } else {
        // Recording the stones takes the first third, drawing and writing the rows the rest.
        const TBitmap& shown = FScene.Picture();
        const TScenePicture wanted{frame, shown.Width(), shown.Height(), factor >= 2 ? factor : 1,
                                   factor == 1};
        TSceneRows rows(wanted, FDocument.Model(), FScene.View(), FScene.Background().Color,
                        [&](int done, int total) {
                            if (total > 0)
                                tell(1.0 / 3 * done / total);
                        });
        SavePictureFile(rows, path, [&](double written) { tell(1.0 / 3 + 2.0 / 3 * written); });
    }
    FPictureFolder = path.parent_path();
}

void TPictureOutput::SaveViewPicture(int factor, const fs::path& path) {
    const TViewController& control = FScene.Control();
    const int width = control.ClientWidth(), height = control.ClientHeight();
    const TRect view = Rect(0, 0, width, height);
    const TBackground& background = FScene.Background();
    if (factor >= 2) {
        if (const std::string problem = FramePictureProblem(factor, view); !problem.empty())
            throw EError(problem);
        if (background.Picture != nullptr) {
            TBitmap picture;
            RenderFramePicture(picture, factor, view);
            SavePictureFile(picture, path);
            return;
        }
        TSceneRows rows(TScenePicture{view, width, height, factor, false}, FDocument.Model(), FScene.View(),
                        background.Color);
        SavePictureFile(rows, path);
        return;
    }
    // As TSceneView::RedrawPicture draws the view.
    const TPixelFormat format = PixelFormatOf(FScene.EffectiveBitDepth());
    const bool antiAliased = FScene.View().AntiAlias && (format == pf32bit || format == pfDevice);
    if (background.Picture == nullptr && (antiAliased || format == pf32bit)) {
        TSceneRows rows(TScenePicture{view, width, height, 1, antiAliased}, FDocument.Model(), FScene.View(),
                        background.Color);
        SavePictureFile(rows, path);
        return;
    }
    if (!antiAliased)
        if (const std::string problem = WholePictureProblem(FScene.EffectiveBitDepth(), width, height);
            !problem.empty())
            throw EError(problem);
    FScene.ResizeView(width, height);
    TBitmapRows rows(FScene.Picture());
    SavePictureFile(rows, path);
}

void TPictureOutput::PrintOn(TCanvas& canvas, int pageWidth, int pageHeight) {
    const TViewController& control = FScene.Control();
    TPrintPage page;
    page.Width = pageWidth;
    page.Height = pageHeight;
    page.ViewWidth = control.ClientWidth();
    page.OffsetX = control.OffsetX().Position;
    page.OffsetY = control.OffsetY().Position;
    page.FileName = FDocument.OpenFileName();
    PrintScene(canvas, page, FDocument.Model(), FScene.View());
}
