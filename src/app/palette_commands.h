#pragma once
// The palette's commands: taking an entry (a stone into the hand, or a model
// as a subassembly), the colour swatches with the current colour and the
// see-through state, the stone supply from set files, combo entries, and
// what each row of the palette list shows.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/palette_row.h"
#include "app/scene_view.h"
#include "files/set_file.h"

class TDataFolders;
class THand;
class TModelDocument;
class TPalette;
class TPlacing;
class TStoneSupply;

// Everything besides its entry that a palette row's picture depends on; the
// list is drawn anew only when it changed.
struct TPreviewLook {
    TColor CurrentColor = 0;
    bool Transparent = false;
    TBitDepth Depth = bd32;
    bool Shading = false;
    float EdgeFactor = 0;
    bool FixedEdgeColors = false;
    TColor DarkEdgeColor = 0, LightEdgeColor = 0, BlackStoneColor = 0;
    std::array<int32_t, 3> Light{};
    std::vector<TColor> RecentColors;
    TSetList Supply;
    bool operator==(const TPreviewLook&) const = default;
};

class TPaletteCommands {
public:
    TPaletteCommands(TPalette& palette, TStoneSupply& supply, THand& hand, TPlacing& placing,
                     TSceneView& scene, const TModelDocument& document, const TDataFolders& folders);

    // Draws the rows of the palette list.
    TPaletteRowPainter& Rows() { return FRows; }

    // Takes a row of the shown list: a stone entry puts its stone in hand and
    // is recorded as recently used; a model entry loads that model as a
    // subassembly. Raises EError when the part or model cannot be read.
    void TakePaletteEntry(int row);
    // Enter in pointer mode: the selected row is taken, and the pointer goes
    // to its stone's ground point.
    void TakeSelectedEntry();
    // The list's selection moves up (-1) or down (1) a row, within the list.
    void MoveSelectedRow(int direction);

    // --- colours ---
    // A click on swatch 0 .. 13: the left button makes its colour the current
    // colour (and the stone in hand's), the right one the view's background.
    void SwatchClick(int index, bool leftButton);
    // The colour dialog's choice becomes the current colour and the stone in hand's.
    void SetCurrentColor(TColor color);
    // The first selected stone's colour becomes the current colour.
    void UseThisColor();
    // The current colour becomes the previous or next swatch's.
    void CycleSwatch(int direction);
    void ToggleTransparent();

    // --- the supply ---
    // Limits the supply to a set file's stones, less those in the model.
    // Raises EError for a file that cannot be read; the supply stays as it was.
    void LoadSet(const std::filesystem::path& file);
    // The set dialog's answer: a chosen file is loaded; cancelling the dialog
    // gives unlimited supply again.
    void ChooseSet(const std::optional<std::filesystem::path>& chosen);
    void InfiniteSupply();
    // What a loaded set still holds of a palette entry's stone (below zero
    // when the model holds more of it than the set); nothing without a set.
    std::optional<int> EntrySupply(const std::string& entry) const;

    // Adds a model file to the shown page as a combo entry.
    void AddCombo(const std::string& modelFile);

    // --- the rows ---
    // What a row of a palette list shows: the entry with the current colour
    // (or its remembered one), the transparent state, the scale and the supply.
    TPaletteRow PaletteRowOf(const std::string& entry, TColor color, float scale, bool selected) const;
    // A row of the shown list.
    TPaletteRow ShownRow(int row) const;
    TPreviewLook PreviewLook() const;

private:
    TPalette& FPalette;
    TStoneSupply& FSupply;
    THand& FHand;
    TPlacing& FPlacing;
    TSceneView& FScene;
    const TModelDocument& FDocument;
    const TDataFolders& FFolders;
    TPaletteRowPainter FRows;
};
