#pragma once
// Drawing one row of the palette list: the row's background and frame, the
// preview of its stone (or the picture of its model), its label, and how many
// of the stone a loaded set still holds.

#include <filesystem>
#include <optional>
#include <string>

#include "common/color.h"
#include "platform/canvas.h"
#include "view/picture_cache.h"

class TBitmap;
class TRenderState;

struct TPaletteRow {
    std::string Entry;
    bool Selected = false;
    TColor Color = clWhite; // the stone's colour
    bool Transparent = false;
    float Scale = 0.5f;
    // What a loaded set still holds of the stone, below zero when the model
    // uses more than the set has; nothing without a set.
    std::optional<int> Supply;
};

class TPaletteRowPainter {
public:
    TPaletteRowPainter(TRenderState& view, const std::filesystem::path& programFolder);

    // The font of labels and counts (the list's font).
    TFont Font;
    // The row's background when it is not selected.
    TColor WindowColor = clBtnFace;

    // Draws the row over the whole picture, which has the row's size.
    void Draw(TBitmap& picture, const TPaletteRow& row);
    // Pictures of model entries are read once; this reads them anew.
    void ForgetPictures() { FPictures.Clear(); }

private:
    void DrawModelPicture(TBitmap& picture, const std::string& entry);
    void DrawStone(TBitmap& picture, const TPaletteRow& row);

    TRenderState& FView;
    std::filesystem::path FProgramFolder;
    TPictureCache FPictures;
};
