#include "app/scene_view.h"

#include <algorithm>

#include "app/hand.h"
#include "app/long_work_gate.h"
#include "common/error.h"
#include "model/block_list.h"
#include "platform/picture_file.h"

TPixelFormat PixelFormatOf(TBitDepth depth) {
    switch (depth) {
    case bd8:
        return pf8bit;
    case bd16:
        return pf16bit;
    case bd24:
        return pf24bit;
    case bdDevice:
        return pfDevice;
    default:
        return pf32bit;
    }
}

TSceneView::TSceneView(TBlockList& model, const THand& hand, TLongWorkGate& work)
    : FModel(model), FHand(hand), FWork(work), FPicture(0, 0, pf32bit) {
    FControl.OnRedraw = [this] { RedrawPicture(); };
}

void TSceneView::RedrawPicture() {
    if (FView.SuppressRedraw)
        return;
    if (FWork.Busy()) // long work runs on the model; every long work ends in a redraw
        return;
    FView.SkipPainting = false;
    if (FPicture.Width() <= 0 || FPicture.Height() <= 0)
        return;
    // While a stone is in hand, general stones of its caption (and colour)
    // are drawn in magenta.
    const TBlock* hand = FHand.Stone();
    FView.MarkMatching = FMarkMatching && hand != nullptr;
    FView.MarkCaption = hand != nullptr ? hand->Caption : std::string();
    FView.MarkColor = hand != nullptr && FMarkWithColor ? static_cast<int64_t>(hand->Color) : -1;
    if (!FView.Painting)
        SortModelForView(false);
    if (FView.AntiAlias && (FPicture.PixelFormat() == pf32bit || FPicture.PixelFormat() == pfDevice)) {
        DrawSceneAntiAliased(FPicture, Rect(0, 0, FPicture.Width(), FPicture.Height()), FPicture.Width(),
                             FPicture.Height(), FModel, FView, FBackground);
    } else {
        DrawScenePlain(FPicture, FModel, FView, FBackground, FSlowRendering ? OnStoneDrawn : nullptr);
    }
    ++FPassCount;
    if (OnSceneDrawn)
        OnSceneDrawn();
    ShowPicture();
}

void TSceneView::ShowPicture() {
    if (OnPictureChanged)
        OnPictureChanged();
}

void TSceneView::ResizeView(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    // The rasteriser needs two rows at least.
    FPicture.SetPixelFormat(PixelFormatOf(EffectiveBitDepth()));
    FPicture.SetSize(std::max(width, 2), std::max(height, 2));
    FControl.Resize(width, height);
    if (OnResized)
        OnResized(width, height);
    RedrawPicture();
}

void TSceneView::SizeViewWithoutPicture(int width, int height) {
    FPicture.SetPixelFormat(PixelFormatOf(EffectiveBitDepth()));
    FPicture.SetSize(0, 0);
    FControl.Resize(std::max(width, 0), std::max(height, 0));
}

void TSceneView::RefreshDisplay() {
    FView.Pictures.Clear(); // pictures changed on disk show again
    SortModelForView(true);
    RedrawPicture();
}

void TSceneView::SortModelForView(bool force) {
    const int octant = FView.Octant();
    if (!FModel.NeedsSort(octant, force))
        return;
    if (FModel.Count() < 2) {
        FModel.Sort(octant, force);
        return;
    }
    std::vector<TBlock*> order;
    FWork.Run("Sorting the stones",
              [&](const TShareProgress& progress) { order = FModel.SortedOrder(octant, progress); });
    FModel.TakeOrder(std::move(order), octant);
}

void TSceneView::SetDetailLevel(int level) {
    FView.DetailLevel = level;
    if (FView.Wireframe) {
        FView.Wireframe = false; // choosing a level releases the wireframe button
        FView.Shading = FSavedShading;
    }
    RedrawPicture();
}

void TSceneView::SetShading(bool on) {
    FView.Shading = on;
    RedrawPicture();
}

void TSceneView::SetAntiAlias(bool on) {
    FBitDepth = bd32;
    FPicture.SetPixelFormat(pf32bit);
    FView.AntiAlias = on;
    RedrawPicture();
}

void TSceneView::SetBitDepth(TBitDepth depth) {
    FBitDepth = depth;
    FPicture.SetPixelFormat(PixelFormatOf(depth));
    RedrawPicture();
}

TBitDepth TSceneView::EffectiveBitDepth() const {
    return FBitDepth >= bd8 && FBitDepth <= bdDevice ? static_cast<TBitDepth>(FBitDepth) : bd32;
}

void TSceneView::SetWireframe(bool down) {
    if (down == FView.Wireframe)
        return;
    if (down) {
        FSavedDetail = FView.DetailLevel;
        FSavedShading = FView.Shading;
        FView.DetailLevel = 0;
        FView.Shading = false;
    } else {
        FView.DetailLevel = FSavedDetail;
        FView.Shading = FSavedShading;
    }
    FView.Wireframe = down;
    RedrawPicture();
}

void TSceneView::ApplyViewSettings(const TViewSettings& settings) {
    FView.EdgeFactor = settings.EdgeFactor;
    FView.FixedEdgeColors = settings.FixedEdgeColors;
    FView.DarkEdgeColor = settings.DarkEdgeColor;
    FView.LightEdgeColor = settings.LightEdgeColor;
    FView.DetailLevel = settings.Details;
    FView.Shading = settings.Shading;
    FBitDepth = settings.BitDepth;
    FPicture.SetPixelFormat(PixelFormatOf(EffectiveBitDepth()));
}

TViewSettings TSceneView::CurrentViewSettings() const {
    TViewSettings settings;
    settings.EdgeFactor = FView.EdgeFactor;
    settings.FixedEdgeColors = FView.FixedEdgeColors;
    settings.DarkEdgeColor = FView.DarkEdgeColor;
    settings.LightEdgeColor = FView.LightEdgeColor;
    // While the wireframe button is down the chosen level and shading wait.
    settings.Details = FView.Wireframe ? FSavedDetail : FView.DetailLevel;
    settings.Shading = FView.Wireframe ? FSavedShading : FView.Shading;
    settings.BitDepth = EffectiveBitDepth();
    return settings;
}

void TSceneView::SetLight(int32_t x, int32_t y, int32_t z) {
    FView.Light = {x, y, z};
    FView.UpdateShades();
    RedrawPicture();
}

void TSceneView::PreviewLight(const std::array<int32_t, 3>& light) {
    const std::array<int32_t, 3> before = FView.Light;
    SetLight(light[0], light[1], light[2]);
    FView.Light = before;
    FView.UpdateShades();
}

void TSceneView::SetEdgeFactor(float factor) {
    FView.EdgeFactor = factor;
    RedrawPicture();
}

void TSceneView::SetMarkMatching(bool on) {
    FMarkMatching = on;
    RedrawPicture();
}

void TSceneView::SetMarkWithColor(bool on) {
    FMarkWithColor = on;
    RedrawPicture();
}

void TSceneView::SetBackgroundColor(TColor color) {
    FBackground.Color = color;
    RedrawPicture();
}

void TSceneView::RestoreBackgroundColor() {
    SetBackgroundColor(clBtnFace);
}

bool TSceneView::LoadBackgroundPicture(const std::filesystem::path& path) {
    FBackgroundPicture.reset();
    FBackground.Picture = nullptr;
    auto picture = std::make_unique<TBitmap>();
    const bool loaded = LoadPictureFile(path, *picture, PixelFormatOf(EffectiveBitDepth()));
    if (loaded) {
        FBackgroundPicture = std::move(picture);
        FBackground.Picture = FBackgroundPicture.get();
        FBackgroundFile = path;
    }
    RedrawPicture();
    return loaded;
}

void TSceneView::ChooseBackgroundPicture(const std::optional<std::filesystem::path>& chosen) {
    if (!chosen) {
        FBackgroundPicture.reset();
        FBackground.Picture = nullptr;
        RedrawPicture();
        return;
    }
    if (!LoadBackgroundPicture(*chosen))
        throw EError("The file " + chosen->string() + " holds no picture that can be shown.");
}

void TSceneView::DropBackgroundPicture() {
    FBackgroundPicture.reset();
    FBackground.Picture = nullptr;
    FBackgroundFile.clear();
    RestoreBackgroundColor();
}
