#include "app/picture_output.h"

#include <algorithm>
#include <cctype>
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
// The most a picture drawn whole may take: with what the program needs
// besides, it is made within about 1 GB.
constexpr int64_t kMostWholeBytes = int64_t{900} << 20;

// Why a picture drawn whole, taking `bytes` per pixel while it is drawn and
// saved, cannot be made, or "". `how` says how it is drawn, `instead` what
// would make it.
std::string WholeProblem(int width, int height, int bytes, const char* how, const char* instead) {
    const int64_t needed = int64_t{width} * height * bytes;
    if (needed <= kMostWholeBytes)
        return "";
    return StrFormat(
        "A picture of %d x %d pixels %s is drawn whole and would take %lld MB, more than the %lld MB "
        "it may%s",
        width, height, how, static_cast<long long>(needed >> 20),
        static_cast<long long>(kMostWholeBytes >> 20), instead);
}

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
    // At 8 bits the canvas draws on 32 bits beside the palette entries.
    const char* const instead = "; at 32 bits it is drawn in bands";
    switch (depth) {
    case bd8:
        return WholeProblem(width, height, 5, "at 8 bits", instead);
    case bd16:
        return WholeProblem(width, height, 2, "at 16 bits", instead);
    case bd24:
        return WholeProblem(width, height, 3, "at 24 bits", instead);
    case bdDevice:
        return WholeProblem(width, height, 4, "at the device's depth", instead);
    case bd32:
        break;
    }
    return "";
}

const char* const kPictureFilter = "PNG file (*.png)|*.png|JPEG file (*.jpg)|*.jpg|Bitmap file (*.bmp)|*.bmp";

std::string PictureExtensionOfFilter(const std::string& filter) {
    const size_t star = filter.find("*.");
    if (star == std::string::npos || filter.find("*.", star + 2) != std::string::npos)
        return {};
    size_t end = star + 2;
    while (end < filter.size() && std::isalnum(static_cast<unsigned char>(filter[end])))
        ++end;
    return filter.substr(star + 2, end - star - 2);
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
    } else {
        // Recording the stones takes the first third, drawing and writing the rows the rest.
        const TBitmap& shown = FScene.Picture();
        const TScenePicture wanted{frame, shown.Width(), shown.Height(), factor >= 2 ? factor : 1,
                                   factor == 1};
        TSceneRows rows(wanted, FDocument.Model(), FScene.View(), FScene.Background(),
                        [&](int done, int total) {
                            if (total > 0)
                                tell(1.0 / 3 * done / total);
                        });
        SavePictureFile(rows, path, [&](double written) { tell(1.0 / 3 + 2.0 / 3 * written); });
    }
    FPictureFolder = path.parent_path();
}

bool TPictureOutput::ViewAntiAliased() const {
    // As TSceneView::RedrawPicture draws the view.
    const TPixelFormat format = PixelFormatOf(FScene.EffectiveBitDepth());
    return FScene.View().AntiAlias && (format == pf32bit || format == pfDevice);
}

bool TPictureOutput::ViewDrawnInBands(int factor) const {
    // Drawn plainly, the view fits a background picture into itself, which
    // the bands do not.
    return factor >= 2 || ViewAntiAliased() ||
           (FScene.EffectiveBitDepth() == bd32 && FScene.Background().Picture == nullptr);
}

std::string TPictureOutput::ViewPictureProblem(int factor) const {
    const TViewController& control = FScene.Control();
    const int width = control.ClientWidth(), height = control.ClientHeight();
    if (width <= 0 || height <= 0)
        return "The view is empty";
    if (factor >= 2)
        return FramePictureProblem(factor, Rect(0, 0, width, height));
    if (ViewDrawnInBands(factor))
        return "";
    if (FScene.EffectiveBitDepth() == bd32)
        return WholeProblem(width, height, 4, "over a background picture", "");
    return WholePictureProblem(FScene.EffectiveBitDepth(), width, height);
}

void TPictureOutput::SaveViewPicture(int factor, const fs::path& path) {
    if (const std::string problem = ViewPictureProblem(factor); !problem.empty())
        throw EError(problem);
    const TViewController& control = FScene.Control();
    const int width = control.ClientWidth(), height = control.ClientHeight();
    if (ViewDrawnInBands(factor)) {
        const bool antiAliased = factor < 2 && ViewAntiAliased();
        TSceneRows rows(
            TScenePicture{Rect(0, 0, width, height), width, height, std::max(factor, 1), antiAliased},
            FDocument.Model(), FScene.View(), FScene.Background());
        SavePictureFile(rows, path);
        return;
    }
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
