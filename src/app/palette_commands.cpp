#include "app/palette_commands.h"

#include <algorithm>

#include "app/hand.h"
#include "app/model_document.h"
#include "app/palette.h"
#include "app/placing.h"
#include "app/selection_editor.h"
#include "app/stone_supply.h"
#include "common/error.h"
#include "files/palette_entry.h"
#include "platform/data_folders.h"

namespace fs = std::filesystem;

TPaletteCommands::TPaletteCommands(TPalette& palette, TStoneSupply& supply, THand& hand, TPlacing& placing,
                                   TSceneView& scene, const TModelDocument& document,
                                   const TDataFolders& folders)
    : FPalette(palette), FSupply(supply), FHand(hand), FPlacing(placing), FScene(scene), FDocument(document),
      FFolders(folders), FRows(scene.View(), folders.Shipped()) {}

void TPaletteCommands::TakePaletteEntry(int row) {
    const auto& entries = FPalette.ShownEntries();
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return;
    const std::string entry = entries[static_cast<size_t>(row)];
    const TColor color = FPalette.RowColor(row);
    FPlacing.PointerMode();

    const TPaletteEntry parsed = ParseEntry(entry);
    if (parsed.IsModel) {
        FPlacing.InsertSubassembly(ModelEntryFiles(parsed, FFolders.Shipped()).Model, true);
        return;
    }

    std::unique_ptr<TBlock> stone = CreateEntryStone(entry);
    if (!stone)
        return;
    stone->Caption = EntryStoneCaption(entry);
    stone->Color = color;
    stone->Transparent = FPalette.Transparent;
    stone->X = FHand.LastX;
    stone->Y = FHand.LastY;
    stone->Z = FHand.LastZ;
    FPalette.NoteTaken(entry, FPalette.CurrentColor);
    FPlacing.Take(std::move(stone));
}

void TPaletteCommands::TakeSelectedEntry() {
    if (FPalette.SelectedRow < 0)
        return;
    TakePaletteEntry(FPalette.SelectedRow);
    FPlacing.ShowHandAtGround();
}

void TPaletteCommands::MoveSelectedRow(int direction) {
    const int count = static_cast<int>(FPalette.ShownEntries().size());
    if (count > 0)
        FPalette.SelectedRow = std::clamp(FPalette.SelectedRow + direction, 0, count - 1);
}

void TPaletteCommands::SwatchClick(int index, bool leftButton) {
    if (index < 0 || index >= kSwatchCount)
        return;
    const TColor color = FPalette.Swatches[static_cast<size_t>(index)];
    if (!leftButton) {
        FScene.SetBackgroundColor(color);
        return;
    }
    FPalette.CurrentColor = color;
    if (FHand.Holding()) {
        FHand.Stone()->Color = color;
        for (TBlock* stone : FHand.Pending().Stones())
            stone->Color = color;
        if (FPalette.RecentColors.empty())
            FPalette.RecentColors.push_back(color);
        else
            FPalette.RecentColors.front() = color;
        FPlacing.DrawHand();
    }
}

void TPaletteCommands::SetCurrentColor(TColor color) {
    FPalette.CurrentColor = color;
    if (FHand.Holding()) {
        FHand.Stone()->Color = color;
        FPlacing.DrawHand();
    }
}

void TPaletteCommands::UseThisColor() {
    if (const TBlock* first = FirstSelected(FDocument.Model()))
        SetCurrentColor(first->Color);
}

void TPaletteCommands::CycleSwatch(int direction) {
    const auto& swatches = FPalette.Swatches;
    const auto found = std::find(swatches.begin(), swatches.end(), FPalette.CurrentColor);
    if (found == swatches.end())
        return;
    const int count = static_cast<int>(swatches.size());
    const int index = static_cast<int>(found - swatches.begin());
    FPalette.CurrentColor = swatches[static_cast<size_t>((index + direction + count) % count)];
}

void TPaletteCommands::ToggleTransparent() {
    FPalette.Transparent = !FPalette.Transparent;
    if (FHand.Holding()) {
        FHand.Stone()->Transparent = FPalette.Transparent;
        FPlacing.DrawHand();
    }
}

void TPaletteCommands::LoadSet(const fs::path& file) {
    FSupply.Load(ReadSetFile(file), FDocument.Model());
}

void TPaletteCommands::ChooseSet(const std::optional<fs::path>& chosen) {
    if (chosen)
        LoadSet(*chosen);
    else
        InfiniteSupply();
}

void TPaletteCommands::InfiniteSupply() {
    FSupply.Clear();
}

std::optional<int> TPaletteCommands::EntrySupply(const std::string& entry) const {
    // A model is no stone of a set. A stone is counted under the caption it
    // takes from its entry, the one placing it takes from the supply.
    if (FSupply.Unlimited() || ParseEntry(entry).IsModel)
        return std::nullopt;
    return FSupply.Count(EntryStoneCaption(entry));
}

void TPaletteCommands::AddCombo(const std::string& modelFile) {
    if (!FPalette.RealPageShown())
        return;
    if (auto entry = ModelEntryFor(modelFile, FFolders.Shipped()))
        FPalette.InsertEntry(*entry);
}

TPaletteRow TPaletteCommands::PaletteRowOf(const std::string& entry, TColor color, float scale,
                                           bool selected) const {
    TPaletteRow row;
    row.Entry = entry;
    row.Selected = selected;
    row.Color = color;
    row.Transparent = FPalette.Transparent;
    row.Scale = scale;
    row.Supply = EntrySupply(entry);
    return row;
}

TPaletteRow TPaletteCommands::ShownRow(int row) const {
    const auto& entries = FPalette.ShownEntries();
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return {};
    return PaletteRowOf(entries[static_cast<size_t>(row)], FPalette.RowColor(row), FPalette.ShownScale(),
                        row == FPalette.SelectedRow);
}

TPreviewLook TPaletteCommands::PreviewLook() const {
    const TRenderState& view = FScene.View();
    return {FPalette.CurrentColor, FPalette.Transparent, FScene.EffectiveBitDepth(), view.Shading,
            view.EdgeFactor,       view.FixedEdgeColors, view.DarkEdgeColor,         view.LightEdgeColor,
            view.BlackStoneColor,  view.Light,           FPalette.RecentColors,      FSupply.Set()};
}
