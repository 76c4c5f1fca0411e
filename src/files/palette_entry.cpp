#include "files/palette_entry.h"

#include <algorithm>

#include "common/convert.h"
#include "common/error.h"
#include "common/strings.h"
#include "files/caption_rule.h"
#include "model/block.h"
#include "model/block_factory.h"
#include "model/general_block.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;

namespace {

// Sizes beyond this many units are refused: no real stone is that large, and
// the drawing and sorting arithmetic stays well inside 32 bits.
constexpr int32_t kLargestExtent = 10'000'000;

constexpr std::string_view kStoneKinds = "BCDEGINORTW";

// One size field: leading spaces allowed, then a strict decimal integer.
std::optional<int32_t> SizeField(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    try {
        return StrToInt(text);
    } catch (const EError&) {
        return std::nullopt;
    }
}

bool ReadSize(std::string_view text, TPaletteEntry& entry) {
    const std::vector<std::string> fields = SplitFields(text, 'x');
    if (fields.size() != 3)
        return false;
    const auto length = SizeField(fields[0]), width = SizeField(fields[1]), height = SizeField(fields[2]);
    if (!length || !width || !height)
        return false;
    // Negative sizes would draw inside out; absurd ones cannot be drawn at all.
    const int64_t units[] = {int64_t{*length} * 20, int64_t{*width} * 20, int64_t{*height} * 20 / 3};
    if (std::any_of(std::begin(units), std::end(units),
                    [](int64_t u) { return u < 0 || u > kLargestExtent; }))
        return false;
    entry.Length = *length;
    entry.Width = *width;
    entry.Height = *height;
    return true;
}

} // namespace

TPaletteEntry ParseEntry(std::string_view text) {
    TPaletteEntry entry;
    const size_t bar = text.find('|');
    if (bar != std::string_view::npos) {
        entry.Label = std::string(text.substr(bar + 1));
        entry.HasLabel = true;
        text = text.substr(0, bar);
    }
    if (!text.empty() && text.front() == 'M') {
        entry.IsModel = true;
        // Paths written on Windows separate folders with backslashes.
        entry.ModelPath = ReplaceAll(Trim(text.substr(1)), "\\", "/");
        return entry;
    }
    if (!text.empty() && text.front() >= 'A' && text.front() <= 'Z') {
        entry.Kind = text.front();
        text.remove_prefix(1);
    }
    if (kStoneKinds.find(entry.Kind) == std::string_view::npos)
        return entry;
    if (entry.Kind == 'G') {
        const size_t comma = text.find(',');
        if (comma == std::string_view::npos)
            return entry;
        entry.PartFile = Trim(text.substr(0, comma));
        entry.PartName = Trim(text.substr(comma + 1));
        if (!entry.HasLabel)
            entry.Label = entry.PartName;
        entry.MakesStone = !entry.PartFile.empty() && !entry.PartName.empty();
        return entry;
    }
    entry.MakesStone = ReadSize(text, entry);
    return entry;
}

std::unique_ptr<TBlock> CreateEntryStone(std::string_view text) {
    const TPaletteEntry entry = ParseEntry(text);
    if (!entry.MakesStone)
        return nullptr;
    std::unique_ptr<TBlock> stone;
    if (entry.Kind == 'G')
        stone = std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, clWhite, true, false, false, entry.PartFile,
                                                entry.PartName, entry.Label);
    else
        stone = TBlockFactory::Create(entry.Kind, 0, 0, 0, entry.Length, entry.Width, entry.Height, clWhite,
                                      true, false, false, entry.Label);
    return stone;
}

std::string EntryStoneCaption(std::string_view entry) {
    const TPaletteEntry parsed = ParseEntry(entry);
    if (parsed.MakesStone && parsed.Kind != 'G')
        return SizeCaption(parsed.Kind, parsed.Length, parsed.Width, parsed.Height);
    return CaptionOf(entry.substr(0, entry.find('|')));
}

TEntryCaption EntryCaption(std::string_view entry) {
    const std::string trimmed = Trim(entry);
    const size_t bar = trimmed.find('|');
    if (bar != std::string::npos)
        return {trimmed.substr(bar + 1), clBlack};
    return {trimmed, clMaroon};
}

TModelEntryFiles ModelEntryFiles(const TPaletteEntry& entry, const fs::path& programFolder) {
    TModelEntryFiles files;
    const fs::path base = programFolder / entry.ModelPath;
    const fs::path model = fs::path(base.string() + ".stm");
    files.Model = FindFileNoCase(model).value_or(model);
    files.Picture = FindFileNoCase(base.string() + ".png");
    if (!files.Picture)
        files.Picture = FindFileNoCase(base.string() + ".bmp");
    return files;
}

std::optional<std::string> ModelEntryFor(const std::string& modelFile, const fs::path& programFolder) {
    std::string path = modelFile;
    std::string folder = programFolder.string();
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    if (StartsWithText(path, folder))
        path.erase(0, folder.size());
    const size_t extension = UpperCase(path).find(".STM");
    if (extension == std::string::npos)
        return std::nullopt;
    return "M " + path.substr(0, extension);
}
