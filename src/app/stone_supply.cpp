#include "app/stone_supply.h"

#include <algorithm>
#include <limits>

#include "common/strings.h"
#include "files/caption_rule.h"
#include "model/block_list.h"

void TStoneSupply::Load(TSetList set, const TBlockList& model) {
    FSet = std::move(set);
    for (const TBlock* stone : model.Stones())
        Take(stone->Caption);
}

size_t TStoneSupply::Find(const std::string& caption) const {
    const std::string key = CaptionOf(caption);
    auto it = std::lower_bound(FSet.begin(), FSet.end(), key, [](const auto& entry, const std::string& k) {
        return CompareText(entry.first, k) < 0;
    });
    return it != FSet.end() && SameText(it->first, key) ? static_cast<size_t>(it - FSet.begin())
                                                        : FSet.size();
}

void TStoneSupply::Take(const std::string& caption) {
    const size_t at = Find(caption);
    if (at < FSet.size() && FSet[at].second > std::numeric_limits<int>::min())
        --FSet[at].second;
}

void TStoneSupply::GiveBack(const std::string& caption) {
    const size_t at = Find(caption);
    if (at < FSet.size() && FSet[at].second < std::numeric_limits<int>::max())
        ++FSet[at].second;
}

int TStoneSupply::Count(const std::string& caption) const {
    if (FSet.empty())
        return -1;
    const size_t at = Find(caption);
    return at < FSet.size() ? FSet[at].second : 0;
}
