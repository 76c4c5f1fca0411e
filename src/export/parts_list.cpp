#include "export/parts_list.h"

#include <algorithm>

#include "common/strings.h"
#include "common/units.h"
#include "files/caption_rule.h"
#include "files/palette_entry.h"
#include "files/swatch_names.h"
#include "model/block.h"

TPartsNaming::TPartsNaming(const std::vector<TPageSettings>& pages,
                           const std::array<TColor, kSwatchCount>& swatches)
    : Swatches(swatches) {
    for (const TPageSettings& page : pages)
        for (const std::string& entry : page.Entries)
            AddEntry(entry);
}

void TPartsNaming::AddEntry(std::string_view entry) {
    const TPaletteEntry parsed = ParseEntry(entry);
    if (!parsed.MakesStone || !parsed.HasLabel || Trim(parsed.Label).empty())
        return;
    FLabels.try_emplace(LowerCase(EntryStoneCaption(entry)), Trim(parsed.Label));
}

std::string TPartsNaming::NameOf(const std::string& caption) const {
    const auto found = FLabels.find(LowerCase(caption));
    return found != FLabels.end() ? found->second : caption;
}

std::string TPartsNaming::ColorNameOf(TColor color, bool transparent) const {
    std::string name = SwatchColorName(color, Swatches);
    if (name.empty())
        name = HexColorText(color);
    return transparent ? name + ", see-through" : name;
}

std::string PartCaption(const TBlock& stone) {
    if (!stone.Caption.empty())
        return stone.Caption;
    std::string caption = StoneCaption(stone);
    if (caption.empty()) // a general stone without its part
        caption =
            SizeCaption(stone.Kind, stone.Length / kModuleUnits, stone.Width / kModuleUnits,
                        static_cast<int32_t>((int64_t{stone.Height} * 3 + kModuleUnits - 1) / kModuleUnits));
    return caption;
}

namespace {

// A row's key: the part's number, the colour and the see-through flag.
uint64_t RowKey(size_t part, TColor rgb, bool transparent) {
    return (uint64_t{part} << 25) | (uint64_t{rgb} << 1) | (transparent ? 1u : 0u);
}

// The size caption with the shorter side first, for the kinds a quarter turn
// leaves alike when the stone carries its size as its caption; else none.
std::string TurnFreeCaption(const TBlock& stone, const std::string& caption) {
    if ((stone.Kind != 'B' && stone.Kind != 'R') || !SameText(caption, StoneCaption(stone)))
        return {};
    const int32_t a = stone.Length / kModuleUnits, b = stone.Width / kModuleUnits;
    return SizeCaption(stone.Kind, std::min(a, b), std::max(a, b),
                       static_cast<int32_t>((int64_t{stone.Height} * 3 + kModuleUnits - 1) / kModuleUnits));
}

// Numbers the captions met, without regard to letter case; most stones
// share a few captions, so each distinct text as the stones hold it is
// looked at once.
class TCaptionNumbers {
public:
    // The number of the stone's caption.
    size_t OfStone(const TBlock& stone) {
        if (!stone.Caption.empty())
            if (const auto known = FOfText.find(stone.Caption); known != FOfText.end())
                return known->second;
        const size_t number = Of(PartCaption(stone));
        if (!stone.Caption.empty())
            FOfText.emplace(stone.Caption, number);
        // The part it is counted as, settled by the first stone of the caption.
        if (FPartOf[number] == kUnsettled) {
            const std::string turnFree = TurnFreeCaption(stone, Texts[number]);
            const size_t part = turnFree.empty() ? number : Of(turnFree);
            FPartOf[number] = part;
        }
        return number;
    }
    size_t PartOf(size_t number) const { return FPartOf[number]; }
    std::vector<std::string> Texts;

private:
    static constexpr size_t kUnsettled = static_cast<size_t>(-1);
    size_t Of(const std::string& text) {
        const auto [at, added] = FOfLower.try_emplace(LowerCase(text), Texts.size());
        if (added) {
            Texts.push_back(text);
            FPartOf.push_back(kUnsettled);
        }
        return at->second;
    }
    std::unordered_map<std::string_view, size_t> FOfText; // views of the stones' captions
    std::unordered_map<std::string, size_t> FOfLower;
    std::vector<size_t> FPartOf;
};

} // namespace

TPartsList MakePartsList(std::span<const TBlock* const> stones, const TPartsNaming& naming) {
    TPartsList list;
    TCaptionNumbers captions;
    std::vector<int64_t> captionCounts;
    std::unordered_map<uint64_t, size_t> rowOfKey;
    for (const TBlock* stone : stones) {
        const size_t caption = captions.OfStone(*stone);
        captionCounts.resize(captions.Texts.size());
        ++captionCounts[caption];
        const size_t part = captions.PartOf(caption);
        const TColor rgb = ColorToRGB(stone->Color);
        const auto [at, added] =
            rowOfKey.try_emplace(RowKey(part, rgb, stone->Transparent), list.Rows.size());
        if (added) {
            TPartsRow row;
            row.Part = captions.Texts[part];
            row.Name = naming.NameOf(row.Part);
            row.Color = rgb;
            row.Transparent = stone->Transparent;
            row.ColorName = naming.ColorNameOf(rgb, stone->Transparent);
            row.Example = CreateCopy(*stone);
            list.Rows.push_back(std::move(row));
        }
        ++list.Rows[at->second].Count;
    }
    list.Stones = static_cast<int64_t>(stones.size());
    for (size_t caption = 0; caption < captionCounts.size(); ++caption)
        if (captionCounts[caption] > 0)
            list.CaptionCounts.emplace_back(captions.Texts[caption], captionCounts[caption]);
    std::sort(list.Rows.begin(), list.Rows.end(), [](const TPartsRow& a, const TPartsRow& b) {
        if (const int byName = CompareText(a.Name, b.Name); byName != 0)
            return byName < 0;
        if (const int byPart = CompareText(a.Part, b.Part); byPart != 0)
            return byPart < 0;
        if (const int byColor = CompareText(a.ColorName, b.ColorName); byColor != 0)
            return byColor < 0;
        return a.Color < b.Color;
    });
    return list;
}
