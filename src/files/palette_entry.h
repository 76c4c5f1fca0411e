#pragma once
// Palette entries: the one-line text by which a palette page lists a stone or
// a model. A stone entry is a kind letter and a size ("2x4x3", "R1x1x3") or a
// part ("G parts.dat, arch"); a model entry is "M" and a path. Either may end
// in "|" and a label.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/color.h"

class TBlock;

struct TPaletteEntry {
    // Everything after the first "|", or (a part without "|") the part name.
    std::string Label;
    bool HasLabel = false;
    // A model entry: Path is relative to the program folder, without extension.
    bool IsModel = false;
    std::string ModelPath;
    // A stone entry: its kind, and its size (modules, modules, thirds) or its part.
    char Kind = 'B';
    int32_t Length = 0, Width = 0, Height = 0;
    std::string PartFile, PartName;
    // The entry names a kind that makes a stone and a readable size.
    bool MakesStone = false;
};

TPaletteEntry ParseEntry(std::string_view entry);

// The stone an entry stands for: at 0, 0, 0, white, tag on, named after its
// label; none for a model entry or one that cannot be read. A part that
// cannot be found raises the part library's error.
std::unique_ptr<TBlock> CreateEntryStone(std::string_view entry);

// The caption a stone taken from the entry carries, under which a set counts
// it: for a part, the caption rule applied to the entry without its label;
// for any other kind, its kind and size (SizeCaption). Either way the stone's
// caption is the one it has again when its model is read back (StoneCaption).
std::string EntryStoneCaption(std::string_view entry);

// What a palette row writes over its preview: the text after "|" in black,
// or the whole entry, trimmed, in dark red.
struct TEntryCaption {
    std::string Text;
    TColor Color = clBlack;
};
TEntryCaption EntryCaption(std::string_view entry);

// The files of a model entry: the model and the picture shown for it (".png",
// else ".bmp"; none when neither exists). Names are looked up without regard
// to letter case.
struct TModelEntryFiles {
    std::filesystem::path Model;
    std::optional<std::filesystem::path> Picture;
};
TModelEntryFiles ModelEntryFiles(const TPaletteEntry& entry, const std::filesystem::path& programFolder);

// The entry for a model file chosen as a combo: "M " and the path without its
// ".STM" extension, relative to the program folder when it lies inside it;
// none when the name holds no ".STM".
std::optional<std::string> ModelEntryFor(const std::string& modelFile,
                                         const std::filesystem::path& programFolder);
