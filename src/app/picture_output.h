#pragma once
// Pictures of the view and printing: the picture frame over the view, the
// frame's part of the view drawn plainly, anti-aliased or anew at 2, 4 or 8
// times its size and saved as a picture file, the command line's pictures of
// the whole view, and the page printed. Pictures are saved band by band
// where they can be: only a band of rows is held at a time.

#include <filesystem>
#include <functional>
#include <string>

#include "app/picture_frame.h"
#include "app/scene_view.h"
#include "render/scene_pass.h"

class TBitmap;
class TCanvas;
class TDataFolders;
class TModelDocument;

// The filter of the picture save dialog, in the form "Description|pattern|...".
extern const char* const kPictureFilter;
// The extension a filter of that dialog stands for ("png" for "PNG file
// (*.png)"), which a name typed without an extension gets: the filter chosen
// then decides the picture's format. Empty for a filter that names no single
// extension.
std::string PictureExtensionOfFilter(const std::string& filter);

// Why the picture of a frame cannot be made at a factor (0 a copy, 1
// anti-aliased, 2, 4 or 8 anew larger), or "" when it can: at most 32767
// pixels a side and 2^28 pixels.
std::string FramePictureProblem(int factor, const TRect& frame);
// Why the view's picture cannot be drawn at a bit depth that draws it whole
// (8, 16 or 24 bits, or the device's: drawn plainly into a bitmap of that
// depth, it is not cut into bands), or "" when it can: it may take 900 MB
// while it is drawn and saved.
std::string WholePictureProblem(TBitDepth depth, int width, int height);

class TPictureOutput {
public:
    TPictureOutput(TSceneView& scene, TModelDocument& document, const TDataFolders& folders);

    TPictureFrame& Frame() { return FFrame; }
    const TPictureFrame& Frame() const { return FFrame; }
    // Where the picture save dialog starts: "Pict", then the folder of the last picture saved.
    const std::filesystem::path& PictureFolder() const { return FPictureFolder; }

    // A 32-bit picture of the frame's part of the view, whole: factor 0
    // copies the picture shown, 1 draws it anti-aliased, 2, 4 and 8 draw it
    // anew at that many times its size. The view is restored also on failure.
    void RenderFramePicture(TBitmap& target, int factor, const TRect& frame,
                            const TPassProgress& progress = nullptr);
    // Saves the frame's picture in the format its name asks for, band by
    // band, with the pixels RenderFramePicture gives; told the share of the
    // work done. Raises EError on failure.
    void SavePicture(int factor, const std::filesystem::path& path,
                     const std::function<void(double done)>& progress = nullptr);
    // Why the picture of the whole view that SaveViewPicture makes at the
    // factor cannot be made, or "": said before any work, at the view's size,
    // bit depth and anti-aliasing.
    std::string ViewPictureProblem(int factor) const;
    // Saves the picture of the whole view as the command line makes it, with
    // the pixels the view would show at its size: factor 0 draws it as the
    // view draws (anti-aliased or not, at its bit depth), 2, 4 and 8 anew at
    // that many times its size. Drawn band by band, except plainly at the
    // depths the canvas draws (see WholePictureProblem) and over a
    // background picture. Raises EError on failure.
    void SaveViewPicture(int factor, const std::filesystem::path& path);
    // Prints the page, of the size in device pixels, on the canvas.
    void PrintOn(TCanvas& canvas, int pageWidth, int pageHeight);

private:
    // Whether the view is drawn anti-aliased, and whether its picture at the
    // factor is drawn band by band.
    bool ViewAntiAliased() const;
    bool ViewDrawnInBands(int factor) const;

    TSceneView& FScene;
    TModelDocument& FDocument;
    TPictureFrame FFrame;
    std::filesystem::path FPictureFolder;
};
