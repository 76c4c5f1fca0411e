// Pictures of the view and printing: the picture frame's saves, the page
// printed, and the background picture, light and edge darkening of the view.

#include "app/stonemill_app.h"

#include "common/error.h"
#include "platform/picture_file.h"
#include "render/picture_writer.h"
#include "render/scene_print.h"

namespace fs = std::filesystem;

void TStonemillApp::RenderFramePicture(TBitmap& target, int factor, const TRect& frame,
                                       const TPassProgress& progress) {
    if (frame.Width() <= 0 || frame.Height() <= 0)
        throw EError("The picture frame is empty");
    // Beyond this a picture cannot be held in memory, nor written by the
    // picture formats.
    constexpr int64_t kLargestSide = 32767, kMostPixels = int64_t{1} << 28;
    const int64_t k = factor >= 2 ? factor : 1;
    const int64_t width = frame.Width() * k, height = frame.Height() * k;
    if (width > kLargestSide || height > kLargestSide || width * height > kMostPixels)
        throw EError(StrFormat("The picture would be %lld x %lld pixels, more than can be made",
                               static_cast<long long>(width), static_cast<long long>(height)));
    target.SetPixelFormat(pf32bit);
    if (factor == 0) {
        target.SetSize(frame.Width(), frame.Height());
        target.Canvas().CopyRect(Rect(0, 0, frame.Width(), frame.Height()), FPicture.Canvas(), frame);
        target.Canvas().Refresh();
    } else if (factor == 1) {
        target.SetSize(frame.Width(), frame.Height());
        DrawSceneAntiAliased(target, frame, FPicture.Width(), FPicture.Height(), Model, View, Background, progress);
    } else {
        DrawSceneScaled(target, factor, frame, Model, View, Background, progress);
    }
}

void TStonemillApp::SavePicture(int factor, const fs::path& path, const std::function<void(double)>& progress) {
    // Drawing takes the first two thirds of the work, writing the rest.
    const bool drawn = factor >= 1;
    TBitmap picture;
    RenderFramePicture(picture, factor, Frame.Rect, [&](int done, int total) {
        if (progress && total > 0)
            progress(2.0 / 3 * done / total);
    });
    SavePictureFile(picture, path, [&](double written) {
        if (progress)
            progress(drawn ? 2.0 / 3 + written / 3 : written);
    });
    PictureFolder = path.parent_path();
}

void TStonemillApp::PrintOn(TCanvas& canvas, int pageWidth, int pageHeight) {
    TPrintPage page;
    page.Width = pageWidth;
    page.Height = pageHeight;
    page.ViewWidth = ViewControl.ClientWidth();
    page.OffsetX = ViewControl.OffsetX().Position;
    page.OffsetY = ViewControl.OffsetY().Position;
    page.FileName = FOpenFileName;
    PrintScene(canvas, page, Model, View);
}

bool TStonemillApp::LoadBackgroundPicture(const fs::path& path) {
    FBackgroundPicture.reset();
    Background.Picture = nullptr;
    auto picture = std::make_unique<TBitmap>();
    const bool loaded = LoadPictureFile(path, *picture, PixelFormatOf(EffectiveBitDepth()));
    if (loaded) {
        FBackgroundPicture = std::move(picture);
        Background.Picture = FBackgroundPicture.get();
        BackgroundFile = path;
    }
    RedrawPicture();
    return loaded;
}

void TStonemillApp::DropBackgroundPicture() {
    FBackgroundPicture.reset();
    Background.Picture = nullptr;
    BackgroundFile.clear();
    RestoreBackgroundColor();
}

void TStonemillApp::SetLight(int32_t x, int32_t y, int32_t z) {
    View.Light = {x, y, z};
    View.UpdateShades();
    RedrawPicture();
}

void TStonemillApp::SetEdgeFactor(float factor) {
    View.EdgeFactor = factor;
    RedrawPicture();
}
