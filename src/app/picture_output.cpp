#include "app/picture_output.h"

#include "app/model_document.h"
#include "app/scene_view.h"
#include "common/error.h"
#include "platform/data_folders.h"
#include "render/picture_writer.h"
#include "render/scene_print.h"

namespace fs = std::filesystem;

TPictureOutput::TPictureOutput(TSceneView& scene, TModelDocument& document, const TDataFolders& folders)
    : FScene(scene), FDocument(document),
      FPictureFolder((folders.User().empty() ? folders.Shipped() : folders.User()) / "Pict") {}

void TPictureOutput::RenderFramePicture(TBitmap& target, int factor, const TRect& frame,
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
    // Drawing takes the first two thirds of the work, writing the rest.
    const bool drawn = factor >= 1;
    TBitmap picture;
    RenderFramePicture(picture, factor, FFrame.Rect, [&](int done, int total) {
        if (progress && total > 0)
            progress(2.0 / 3 * done / total);
    });
    SavePictureFile(picture, path, [&](double written) {
        if (progress)
            progress(drawn ? 2.0 / 3 + written / 3 : written);
    });
    FPictureFolder = path.parent_path();
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
