#include "export/parts_list.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "common/error.h"
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

// A size in modules or thirds: whole numbers as they are, parts to two places.
std::string ModulesText(int32_t units, int32_t perModule) {
    if (units % perModule == 0)
        return std::to_string(units / perModule);
    return StrFormat("%.2f", static_cast<double>(units) / perModule);
}

// The size of a stone whose size the caption rule cuts down to whole modules
// and thirds ("0x2x1" for half a module across), as it really is
// ("0.50x2x1"), so stones of different sizes never share a row; "" for a
// stone of whole modules and thirds, or one its caption names otherwise than
// by its size (a stone read from a file carries its size caption).
std::string OddSizeName(const TBlock& stone) {
    if (stone.Kind == 'G' || (!stone.Caption.empty() && !SameText(stone.Caption, StoneCaption(stone))))
        return {};
    const bool wholeHeight =
        (int64_t{stone.Height} * 3 + kModuleUnits - 1) / kModuleUnits * kModuleUnits / 3 == stone.Height;
    if (stone.Length % kModuleUnits == 0 && stone.Width % kModuleUnits == 0 && wholeHeight)
        return {};
    const bool turned = (stone.Turn & 1) != 0;
    int32_t length = turned ? stone.Width : stone.Length, width = turned ? stone.Length : stone.Width;
    if (stone.Kind == 'B' || stone.Kind == 'R') // a quarter turn leaves them alike
        std::tie(length, width) = std::pair(std::min(length, width), std::max(length, width));
    const std::string size =
        ModulesText(length, kModuleUnits) + "x" + ModulesText(width, kModuleUnits) + "x" +
        (wholeHeight ? std::to_string((int64_t{stone.Height} * 3 + kModuleUnits - 1) / kModuleUnits)
                     : StrFormat("%.2f", stone.Height * 3.0 / kModuleUnits));
    return stone.Kind == 'B' ? size : std::string(1, stone.Kind) + size;
}

// The row a key has, or the next one when the key is new (then true).
template <class TKey>
std::pair<size_t, bool> TakeRow(std::unordered_map<TKey, size_t>& rows, const TKey& key, size_t next) {
    const auto [found, added] = rows.try_emplace(key, next);
    return {found->second, added};
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
    std::unordered_map<std::string, size_t> rowOfOddSize;
    for (const TBlock* stone : stones) {
        const size_t caption = captions.OfStone(*stone);
        captionCounts.resize(captions.Texts.size());
        ++captionCounts[caption];
        const size_t part = captions.PartOf(caption);
        const TColor rgb = ColorToRGB(stone->Color);
        const std::string oddSize = OddSizeName(*stone);
        size_t at = list.Rows.size();
        bool added = false;
        if (oddSize.empty())
            std::tie(at, added) = TakeRow(rowOfKey, RowKey(part, rgb, stone->Transparent), at);
        else
            std::tie(at, added) =
                TakeRow(rowOfOddSize, oddSize + StrFormat("|%u|%d", rgb, stone->Transparent ? 1 : 0), at);
        if (added) {
            TPartsRow row;
            row.Part = captions.Texts[part];
            row.Name = oddSize.empty() ? naming.NameOf(row.Part) : oddSize;
            row.Color = rgb;
            row.Transparent = stone->Transparent;
            row.ColorName = naming.ColorNameOf(rgb, stone->Transparent);
            row.Example = CreateCopy(*stone);
            list.Rows.push_back(std::move(row));
        }
        ++list.Rows[at].Count;
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
