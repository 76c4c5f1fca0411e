// The palette's commands of the application core: taking entries, the colour
// swatches, transparency, stone supply from set files and combo entries.

#include "app/stonemill_app.h"

#include "common/error.h"
#include "files/palette_entry.h"
#include "files/set_file.h"

namespace fs = std::filesystem;

void TStonemillApp::TakePaletteEntry(int row) {
    const auto& entries = Palette.ShownEntries();
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return;
    const std::string entry = entries[static_cast<size_t>(row)];
    const TColor color = Palette.RowColor(row);
    PointerMode();

    const TPaletteEntry parsed = ParseEntry(entry);
    if (parsed.IsModel) {
        InsertSubassembly(ModelEntryFiles(parsed, FFolders.Shipped()).Model, true);
        return;
    }

    std::unique_ptr<TBlock> stone = CreateEntryStone(entry);
    if (!stone)
        return;
    stone->Caption = EntryStoneCaption(entry);
    stone->Color = color;
    stone->Transparent = Palette.Transparent;
    stone->X = Hand.LastX;
    stone->Y = Hand.LastY;
    stone->Z = Hand.LastZ;
    Hand.Make(std::move(stone));
    Palette.NoteTaken(entry, Palette.CurrentColor);
    const TBlock& held = *Hand.Stone();
    MovePointerTo(held.X, held.Y, held.Z);
    // Stones matching the new one are marked in the scene.
    if (MarkMatching)
        RedrawPicture();
    else
        DrawHand();
}

void TStonemillApp::SwatchClick(int index, bool leftButton) {
    if (index < 0 || index >= kSwatchCount)
        return;
    const TColor color = Palette.Swatches[static_cast<size_t>(index)];
    if (!leftButton) {
        Background.Color = color;
        RedrawPicture();
        return;
    }
    Palette.CurrentColor = color;
    if (Hand.Holding()) {
        Hand.Stone()->Color = color;
        for (TBlock* stone : Hand.Pending().Stones())
            stone->Color = color;
        if (Palette.RecentColors.empty())
            Palette.RecentColors.push_back(color);
        else
            Palette.RecentColors.front() = color;
        DrawHand();
    }
}

void TStonemillApp::RestoreBackgroundColor() {
    Background.Color = clBtnFace;
    RedrawPicture();
}

void TStonemillApp::SetCurrentColor(TColor color) {
    Palette.CurrentColor = color;
    if (Hand.Holding()) {
        Hand.Stone()->Color = color;
        DrawHand();
    }
}

void TStonemillApp::ToggleTransparent() {
    Palette.Transparent = !Palette.Transparent;
    if (Hand.Holding()) {
        Hand.Stone()->Transparent = Palette.Transparent;
        DrawHand();
    }
}

void TStonemillApp::LoadSet(const fs::path& file) {
    Supply.Load(ReadSetFile(file), Model);
}

int TStonemillApp::EntrySupply(const std::string& entry) const {
    // A model is no stone of a set. A stone is counted under the caption it
    // takes from its entry, the one placing it takes from the supply.
    if (Supply.Unlimited() || ParseEntry(entry).IsModel)
        return -1;
    return Supply.Count(EntryStoneCaption(entry));
}

void TStonemillApp::AddCombo(const std::string& modelFile) {
    if (!Palette.RealPageShown())
        return;
    if (auto entry = ModelEntryFor(modelFile, FFolders.Shipped()))
        Palette.InsertEntry(*entry);
}

TPaletteRow TStonemillApp::PaletteRowOf(const std::string& entry, TColor color, float scale,
                                        bool selected) const {
    TPaletteRow row;
    row.Entry = entry;
    row.Selected = selected;
    row.Color = color;
    row.Transparent = Palette.Transparent;
    row.Scale = scale;
    row.Supply = EntrySupply(entry);
    return row;
}

TPaletteRow TStonemillApp::ShownRow(int row) const {
    const auto& entries = Palette.ShownEntries();
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return {};
    return PaletteRowOf(entries[static_cast<size_t>(row)], Palette.RowColor(row), Palette.ShownScale(),
                        row == Palette.SelectedRow);
}

TStonemillApp::TPreviewLook TStonemillApp::PreviewLook() const {
    return {Palette.CurrentColor, Palette.Transparent,  EffectiveBitDepth(),  View.Shading,
            View.EdgeFactor,      View.FixedEdgeColors, View.DarkEdgeColor,   View.LightEdgeColor,
            View.BlackStoneColor, View.Light,           Palette.RecentColors, Supply.Set()};
}
