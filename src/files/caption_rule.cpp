#include "files/caption_rule.h"

#include "common/strings.h"
#include "files/palette_entry.h"
#include "model/block.h"
#include "partlib/draw_class.h"

std::string CaptionOf(std::string_view text) {
    size_t comma = text.find(',');
    if (comma != std::string_view::npos)
        text.remove_prefix(comma + 1);
    size_t backslash = text.find('\\');
    if (backslash != std::string_view::npos)
        text.remove_prefix(backslash + 1);
    size_t dash = text.find('-');
    if (dash != std::string_view::npos)
        text = text.substr(0, dash);
    return Trim(text);
}

std::string SizeCaption(char kind, int32_t length, int32_t width, int32_t heightThirds) {
    const std::string size =
        std::to_string(length) + "x" + std::to_string(width) + "x" + std::to_string(heightThirds);
    return kind == 'B' ? size : std::string(1, kind) + size;
}

std::string StoneCaption(const TBlock& stone) {
    if (stone.Kind == 'G')
        return stone.Part != nullptr ? CaptionOf(stone.Part->PartName) : std::string();
    // A turn exchanges length and width; the entry gave them unturned.
    const bool turned = (stone.Turn & 1) != 0;
    const int32_t length = turned ? stone.Width : stone.Length;
    const int32_t width = turned ? stone.Length : stone.Width;
    // Heights hold thirds * 20 / 3 with the remainder dropped: rounding up
    // finds the thirds again.
    const int64_t thirds = (int64_t{stone.Height} * 3 + 19) / 20;
    return SizeCaption(stone.Kind, length / 20, width / 20, static_cast<int32_t>(thirds));
}

std::string SetCaption(std::string_view caption) {
    const TPaletteEntry entry = ParseEntry(caption);
    if (entry.MakesStone && entry.Kind != 'G' && !entry.HasLabel)
        return SizeCaption(entry.Kind, entry.Length, entry.Width, entry.Height);
    return std::string(caption);
}
