#pragma once
// The parts list of a model: one row per kind of stone and colour with how
// many the model holds, as a person reads it (the palette's label for the
// stone, the swatch's name for the colour) and as a set file counts it (the
// stone's caption).

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/color.h"
#include "files/settings_file.h"

class TBlock;

// What the list calls stones and colours by: the labels of the palette's
// entries and the swatches' colours.
class TPartsNaming {
public:
    TPartsNaming() = default;
    TPartsNaming(const std::vector<TPageSettings>& pages, const std::array<TColor, kSwatchCount>& swatches);

    // An entry's label becomes the name of the stones taken from it; a
    // caption two entries give keeps the first entry's label.
    void AddEntry(std::string_view entry);
    std::array<TColor, kSwatchCount> Swatches = kDefaultSwatchColors;

    // The label of the stones counted under the caption, or the caption.
    std::string NameOf(const std::string& caption) const;
    // The swatch's name, else "#RRGGBB"; see-through stones say so.
    std::string ColorNameOf(TColor color, bool transparent) const;

private:
    std::unordered_map<std::string, std::string> FLabels; // by lower-case caption
};

struct TPartsRow {
    std::string Name;
    // The stone's caption; plain and round blocks, which a quarter turn
    // leaves alike, are counted as one stone under the size with the shorter
    // side first ("1x2x3" also for stones read as "2x1x3").
    std::string Part;
    TColor Color = 0; // RGB
    bool Transparent = false;
    std::string ColorName;
    int64_t Count = 0;
    // A copy of one of the row's stones, for its preview.
    std::shared_ptr<const TBlock> Example;
};

struct TPartsList {
    // Sorted by name, then part, then colour name, without regard to letter case.
    std::vector<TPartsRow> Rows;
    int64_t Stones = 0;
    // How many stones carry each caption, as a set's supply counts them
    // (captions as the stones hold them, colours added up).
    std::vector<std::pair<std::string, int64_t>> CaptionCounts;
};

// The caption a stone is counted under: its own, else its part's or its kind
// and size.
std::string PartCaption(const TBlock& stone);

// One row per part (captions compared without regard to letter case), colour
// and see-through state.
TPartsList MakePartsList(std::span<const TBlock* const> stones, const TPartsNaming& naming);
