#pragma once
// What the view shows of the model: the render state with its view controls
// and background, the off-screen picture the scene is drawn into, and the
// drawing options (detail, shading, anti-aliasing, bit depth, wireframe,
// light, edge darkening, marking, piece-by-piece drawing). Each option's
// setter keeps the state consistent and ends in one new picture.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/view_controller.h"
#include "files/view_settings.h"
#include "platform/bitmap.h"
#include "render/scene_pass.h"
#include "view/render_state.h"

class TBlockList;
class THand;
class TLongWorkGate;

// The off-screen picture's depth as the rendering-options menu offers it.
enum TBitDepth { bd8 = 1, bd16 = 2, bd24 = 3, bd32 = 4, bdDevice = 5 };

TPixelFormat PixelFormatOf(TBitDepth depth);

class TSceneView {
public:
    // Draws the model; while a stone is in hand, stones matching it can be marked.
    TSceneView(TBlockList& model, const THand& hand, TLongWorkGate& work);
    TSceneView(const TSceneView&) = delete;
    TSceneView& operator=(const TSceneView&) = delete;

    // A new picture is in Picture(): show it.
    std::function<void()> OnPictureChanged;
    // The scene was drawn anew, before the window is told: what is shown over
    // it is composed again.
    std::function<void()> OnSceneDrawn;
    // With piece-by-piece drawing, told after each stone of a pass.
    TPassProgress OnStoneDrawn;
    // The view took a new size, before its new picture is drawn.
    std::function<void(int width, int height)> OnResized;

    TRenderState& View() { return FView; }
    const TRenderState& View() const { return FView; }
    TViewController& Control() { return FControl; }
    const TViewController& Control() const { return FControl; }
    const TBackground& Background() const { return FBackground; }

    // --- the picture ---
    TBitmap& Picture() { return FPicture; }
    // Draws the scene anew into the picture (unless redraws are suppressed or
    // long work runs).
    void RedrawPicture();
    // Tells the window to show the picture as it is, without drawing it anew.
    void ShowPicture();
    // The number of drawing passes so far: one per visible change.
    int PassCount() const { return FPassCount; }
    // The view's client size changed: the picture follows, and it is drawn anew.
    void ResizeView(int width, int height);
    // The view takes the size while its picture is left empty: the command
    // line's pictures of it are drawn band by band, or drawn into the picture
    // by ResizeView where they must be drawn whole (TPictureOutput).
    void SizeViewWithoutPicture(int width, int height);
    // Forgets the sorted octant and the pictures read, sorts and draws anew.
    void RefreshDisplay();
    // Sorts the model for the view's octant (when that changed, or always when
    // forced) as long work.
    void SortModelForView(bool force);

    // --- drawing options ---
    void SetDetailLevel(int level);
    void SetShading(bool on);
    void SetAntiAlias(bool on);
    // 1 .. 5 as TBitDepth; any other value (from a damaged settings file)
    // draws at 32 bits with no depth chosen.
    int BitDepth() const { return FBitDepth; }
    void SetBitDepth(TBitDepth depth);
    // The depth the picture is drawn at, as the settings file stores it.
    TBitDepth EffectiveBitDepth() const;
    // Pressing the wireframe button keeps the detail level and shading and
    // draws bare outlines; releasing it brings both back.
    void SetWireframe(bool down);
    // Takes the drawing settings of the settings file (edge factor and colours,
    // detail level, shading, bit depth) without drawing.
    void ApplyViewSettings(const TViewSettings& settings);
    // The drawing settings as the settings file stores them.
    TViewSettings CurrentViewSettings() const;
    void SetLight(int32_t x, int32_t y, int32_t z);
    // Draws the picture once with this light and keeps the light as it was:
    // what the light dialog shows before it is confirmed.
    void PreviewLight(const std::array<int32_t, 3>& light);
    void SetEdgeFactor(float factor);
    // "Mark matching blocks" and its "(AND color)": stones like the one in
    // hand are drawn in magenta.
    bool MarkMatching() const { return FMarkMatching; }
    bool MarkWithColor() const { return FMarkWithColor; }
    void SetMarkMatching(bool on);
    void SetMarkWithColor(bool on);
    // "S&low rendering (piece by piece)": every plain pass tells OnStoneDrawn
    // after each stone.
    bool SlowRendering() const { return FSlowRendering; }
    void SetSlowRendering(bool on) { FSlowRendering = on; }

    // --- the background ---
    void SetBackgroundColor(TColor color);
    // "Restore background &color": the button face colour.
    void RestoreBackgroundColor();
    // The background picture dialog's answer: a chosen file is loaded, and
    // one that holds no picture is reported (raising EError); cancelling
    // leaves the view without a background picture.
    void ChooseBackgroundPicture(const std::optional<std::filesystem::path>& chosen);
    // No picture, the button face colour.
    void DropBackgroundPicture();
    // The file of the background picture last loaded (where its dialog starts).
    const std::filesystem::path& BackgroundFile() const { return FBackgroundFile; }

private:
    // A picture stretched behind the scene; false when the file holds none
    // (the view then has no background picture).
    bool LoadBackgroundPicture(const std::filesystem::path& path);

    TBlockList& FModel;
    const THand& FHand;
    TLongWorkGate& FWork;
    TRenderState FView;
    TViewController FControl{FView};
    TBackground FBackground;
    std::unique_ptr<TBitmap> FBackgroundPicture;
    std::filesystem::path FBackgroundFile;
    TBitmap FPicture;
    int FBitDepth = bd32;
    int FPassCount = 0;
    // The detail level and shading that wait while the wireframe button is down.
    int FSavedDetail = 0;
    bool FSavedShading = false;
    bool FMarkMatching = false;
    bool FMarkWithColor = false;
    bool FSlowRendering = false;
};
