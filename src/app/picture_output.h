#pragma once
// Pictures of the view and printing: the picture frame over the view, the
// frame's part of the view drawn plainly, anti-aliased or anew at 2, 4 or 8
// times its size and saved as a picture file, and the page printed.

#include <filesystem>
#include <functional>

#include "app/picture_frame.h"
#include "render/scene_pass.h"

class TBitmap;
class TCanvas;
class TDataFolders;
class TModelDocument;
class TSceneView;

class TPictureOutput {
public:
    TPictureOutput(TSceneView& scene, TModelDocument& document, const TDataFolders& folders);

    TPictureFrame& Frame() { return FFrame; }
    const TPictureFrame& Frame() const { return FFrame; }
    // Where the picture save dialog starts: "Pict", then the folder of the last picture saved.
    const std::filesystem::path& PictureFolder() const { return FPictureFolder; }

    // A 32-bit picture of the frame's part of the view: factor 0 copies the
    // picture shown, 1 draws it anti-aliased, 2, 4 and 8 draw it anew at that
    // many times its size. The view is restored also on failure.
    void RenderFramePicture(TBitmap& target, int factor, const TRect& frame,
                            const TPassProgress& progress = nullptr);
    // Saves the frame's picture in the format its name asks for; told the
    // share of the work done. Raises EError on failure.
    void SavePicture(int factor, const std::filesystem::path& path,
                     const std::function<void(double done)>& progress = nullptr);
    // Prints the page, of the size in device pixels, on the canvas.
    void PrintOn(TCanvas& canvas, int pageWidth, int pageHeight);

private:
    TSceneView& FScene;
    TModelDocument& FDocument;
    TPictureFrame FFrame;
    std::filesystem::path FPictureFolder;
};
