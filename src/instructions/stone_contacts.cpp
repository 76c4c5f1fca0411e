#include "stone_contacts.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "footprint_grid.h"
#include "model/block.h"

namespace {

// The length of the overlap of two intervals; negative when they are apart.
int64_t Overlap(int64_t a, int64_t aSize, int64_t b, int64_t bSize) {
    return std::min(a + aSize, b + bSize) - std::max(a, b);
}

int64_t OverlapX(const TBlock& a, const TBlock& b) {
    return Overlap(a.X, a.Length, b.X, b.Length);
}
int64_t OverlapY(const TBlock& a, const TBlock& b) {
    return Overlap(a.Y, a.Width, b.Y, b.Width);
}

bool Rests(const TBlock& upper, const TBlock& lower) {
    return OverlapX(upper, lower) > 0 && OverlapY(upper, lower) > 0;
}

bool Touch(const TBlock& a, const TBlock& b) {
    const int64_t ox = OverlapX(a, b), oy = OverlapY(a, b);
    return ox >= 0 && oy >= 0 && (ox > 0 || oy > 0);
}

} // namespace

TStoneContacts FindContacts(const std::vector<const TBlock*>& stones) {
    const int n = static_cast<int>(stones.size());
    TStoneContacts contacts;
    contacts.Supports.resize(n);
    contacts.Touching.resize(n);

    std::map<int64_t, std::vector<int>> byBottom, byTop;
    for (int i = 0; i < n; ++i) {
        byBottom[stones[i]->Z].push_back(i);
        // A stone without height lies in its own layer and carries nothing above it.
        if (stones[i]->Height > 0)
            byTop[int64_t{stones[i]->Z} + stones[i]->Height].push_back(i);
    }

    for (const auto& [z, layer] : byBottom) {
        const TFootprintGrid sameLayer(stones, layer);
        for (int i : layer) {
            const TBlock& s = *stones[i];
            sameLayer.ForEachNear(s.X, s.Y, s.Length, s.Width, [&](int j) {
                if (j != i && Touch(s, *stones[j]))
                    contacts.Touching[i].push_back(j);
            });
            std::sort(contacts.Touching[i].begin(), contacts.Touching[i].end());
        }
        const auto below = byTop.find(z);
        if (below == byTop.end())
            continue;
        const TFootprintGrid carriers(stones, below->second);
        for (int i : layer) {
            const TBlock& s = *stones[i];
            carriers.ForEachNear(s.X, s.Y, s.Length, s.Width, [&](int j) {
                if (Rests(s, *stones[j]))
                    contacts.Supports[i].push_back(j);
            });
            std::sort(contacts.Supports[i].begin(), contacts.Supports[i].end());
        }
    }
    return contacts;
}
