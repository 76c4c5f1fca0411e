#include "model/painter_order.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "common/free_processors.h"
#include "model/painter_sort.h"

namespace {

// Sums of places and sizes run in 64 bits, so that no stone can overflow them.
struct TBox {
    int64_t X, Y, Z, L, W, H;
};

TBox BoxOf(const TBlock& s) {
    return {s.X, s.Y, s.Z, s.Length, s.Width, s.Height};
}

bool Behind(const TBox& a, const TBox& b, int octant) {
    switch (octant) {
    case 0:
        return a.X >= b.X + b.L || b.Y >= a.Y + a.W || b.Z >= a.Z + a.H;
    case 1:
        return a.X >= b.X + b.L || a.Y >= b.Y + b.W || b.Z >= a.Z + a.H;
    case 2:
        return b.X >= a.X + a.L || a.Y >= b.Y + b.W || b.Z >= a.Z + a.H;
    case 3:
        return b.X >= a.X + a.L || b.Y >= a.Y + a.W || b.Z >= a.Z + a.H;
    case 4:
        return a.X >= b.X + b.L || b.Y >= a.Y + a.W || a.Z >= b.Z + b.H;
    case 5:
        return a.X >= b.X + b.L || a.Y >= b.Y + b.W || a.Z >= b.Z + b.H;
    case 6:
        return b.X >= a.X + a.L || a.Y >= b.Y + b.W || a.Z >= b.Z + b.H;
    case 7:
        return b.X >= a.X + a.L || b.Y >= a.Y + a.W || a.Z >= b.Z + b.H;
    default:
        return false;
    }
}

// A box with its axes turned so that, for the octant it was made for, "a is
// behind b" reads: a lies wholly beyond b along some axis.
struct TOrientedBox {
    int64_t Near[3]; // the side of the box toward the viewer, negated where needed
    int64_t Far[3];
    TBlock* Stone;
};

// Per octant and axis: +1 where the viewer looks from the low end of that axis
// (stones at larger values are farther), -1 where from the high end.
constexpr int kFarDirection[8][3] = {
    {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}, {-1, -1, 1},
};

TOrientedBox Orient(TBlock& s, int octant) {
    const int64_t low[3] = {s.X, s.Y, s.Z};
    const int64_t high[3] = {int64_t{s.X} + s.Length, int64_t{s.Y} + s.Width, int64_t{s.Z} + s.Height};
    TOrientedBox box;
    for (int a = 0; a < 3; ++a) {
        if (kFarDirection[octant][a] > 0) {
            box.Near[a] = low[a];
            box.Far[a] = high[a];
        } else {
            box.Near[a] = -high[a];
            box.Far[a] = -low[a];
        }
    }
    box.Stone = &s;
    return box;
}

inline bool OrientedBehind(const TOrientedBox& a, const TOrientedBox& b) {
    return (a.Near[0] >= b.Far[0]) | (a.Near[1] >= b.Far[1]) | (a.Near[2] >= b.Far[2]);
}

} // namespace

bool CompactBoxes(const std::vector<TBlock*>& stones, int octant, TCompactBoxes& boxes) {
    boxes.Resize(stones.size());
    constexpr int64_t low = std::numeric_limits<int32_t>::min(), high = std::numeric_limits<int32_t>::max();
    for (size_t i = 0; i < stones.size(); ++i) {
        const TOrientedBox box = Orient(*stones[i], octant);
        for (int a = 0; a < 3; ++a) {
            if (box.Near[a] < low || box.Near[a] > high || box.Far[a] < low || box.Far[a] > high)
                return false;
            boxes.Near[a][i] = static_cast<int32_t>(box.Near[a]);
            boxes.Far[a][i] = static_cast<int32_t>(box.Far[a]);
        }
    }
    return true;
}

// ---- Sorted insertion --------------------------------------------------------

void InsertOneByOne(std::vector<TBlock*>& items, const std::vector<TBlock*>& stones, int octant) {
    for (TBlock* stone : stones) {
        const TBox box = BoxOf(*stone);
        size_t index = items.size();
        while (index > 0 && Behind(box, BoxOf(*items[index - 1]), octant))
            --index;
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(index), stone);
    }
}

namespace {

// The list's far sides in chunks of consecutive stones. A chunk knows its
// largest far side along each axis: a stone whose near side reaches that along
// some axis is behind every stone of the chunk, and the backward search for
// its place passes the chunk without looking inside.
constexpr size_t kChunkSlots = 512;

struct TFarSlot {
    int32_t Far[3];
    uint32_t Id;
};

struct TChunk {
    int32_t MaxFar[3] = {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min(),
                         std::numeric_limits<int32_t>::min()};
    std::vector<TFarSlot> Slots;

    void Widen(const TFarSlot& slot) {
        for (int a = 0; a < 3; ++a)
            MaxFar[a] = std::max(MaxFar[a], slot.Far[a]);
    }
    void Recompute() {
        for (int a = 0; a < 3; ++a)
            MaxFar[a] = std::numeric_limits<int32_t>::min();
        for (const TFarSlot& slot : Slots)
            Widen(slot);
    }
};

class TChunkedOrder {
public:
    explicit TChunkedOrder(const TCompactBoxes& boxes) : FBoxes(boxes) {}

    void Append(uint32_t id) {
        if (FChunks.empty() || FChunks.back().Slots.size() >= kChunkSlots / 2)
            FChunks.emplace_back();
        FChunks.back().Slots.push_back(Slot(id));
        FChunks.back().Widen(FChunks.back().Slots.back());
    }

    // Places the stone after the last one it is not behind.
    void InsertSorted(uint32_t id) {
        const int32_t n0 = FBoxes.Near[0][id], n1 = FBoxes.Near[1][id], n2 = FBoxes.Near[2][id];
        size_t chunk = FChunks.size();
        size_t place = 0;
        bool found = false;
        while (!found && chunk > 0) {
            const TChunk& c = FChunks[--chunk];
            if (n0 >= c.MaxFar[0] || n1 >= c.MaxFar[1] || n2 >= c.MaxFar[2])
                continue;
            for (size_t j = c.Slots.size(); j > 0; --j) {
                const TFarSlot& s = c.Slots[j - 1];
                if ((n0 < s.Far[0]) & (n1 < s.Far[1]) & (n2 < s.Far[2])) {
                    place = j;
                    found = true;
                    break;
                }
            }
        }
        if (FChunks.empty())
            FChunks.emplace_back();
        if (!found)
            chunk = 0;
        TChunk& c = FChunks[chunk];
        c.Slots.insert(c.Slots.begin() + static_cast<std::ptrdiff_t>(place), Slot(id));
        c.Widen(c.Slots[place]);
        if (c.Slots.size() > kChunkSlots)
            Split(chunk);
    }

    void WriteTo(const std::vector<TBlock*>& stones, std::vector<TBlock*>& items) const {
        items.clear();
        items.reserve(stones.size());
        for (const TChunk& c : FChunks)
            for (const TFarSlot& s : c.Slots)
                items.push_back(stones[s.Id]);
    }

private:
    TFarSlot Slot(uint32_t id) const {
        return TFarSlot{{FBoxes.Far[0][id], FBoxes.Far[1][id], FBoxes.Far[2][id]}, id};
    }

    void Split(size_t chunk) {
        TChunk upper;
        std::vector<TFarSlot>& slots = FChunks[chunk].Slots;
        const auto middle = slots.begin() + static_cast<std::ptrdiff_t>(slots.size() / 2);
        upper.Slots.assign(middle, slots.end());
        slots.erase(middle, slots.end());
        FChunks[chunk].Recompute();
        upper.Recompute();
        FChunks.insert(FChunks.begin() + static_cast<std::ptrdiff_t>(chunk + 1), std::move(upper));
    }

    const TCompactBoxes& FBoxes;
    std::vector<TChunk> FChunks;
};

} // namespace

void SortWithExchanges(std::vector<TBlock*>& stones, int octant) {
    if (stones.size() < 2 || octant < 0 || octant >= 8)
        return;
    // A comparison
    // depends only on the two stones, so a pass needs to look only at pairs up to
    // the last exchange of the pass before and at pairs just changed by an
    // exchange in this pass; a pass without exchanges ends the sort.
    const size_t n = stones.size();
    std::vector<TOrientedBox> items(n);
    for (size_t i = 0; i < n; ++i)
        items[i] = Orient(*stones[i], octant);
    size_t lastExchange = n - 1; // the right index of the last exchanged pair
    for (size_t pass = 0; pass + 1 < n; ++pass) {
        size_t newLast = 0;
        bool previousExchanged = false;
        for (size_t i = 1; i < n; ++i) {
            if (i > lastExchange && !previousExchanged)
                break;
            previousExchanged = OrientedBehind(items[i], items[i - 1]);
            if (previousExchanged) {
                std::swap(items[i], items[i - 1]);
                newLast = i;
            }
        }
        if (newLast == 0)
            break;
        lastExchange = newLast;
    }
    for (size_t i = 0; i < n; ++i)
        stones[i] = items[i].Stone;
}

bool IsBehind(const TBlock& a, const TBlock& b, int octant) {
    return Behind(BoxOf(a), BoxOf(b), octant);
}

void InsertEachSorted(std::vector<TBlock*>& items, const std::vector<TBlock*>& stones, int octant) {
    if (octant < 0 || octant >= 8) {
        items.insert(items.end(), stones.begin(), stones.end()); // nothing is behind anything
        return;
    }
    std::vector<TBlock*> all(items);
    all.insert(all.end(), stones.begin(), stones.end());
    TCompactBoxes boxes;
    if (all.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ||
        !CompactBoxes(all, octant, boxes)) {
        InsertOneByOne(items, stones, octant);
        return;
    }
    TChunkedOrder order(boxes);
    for (size_t i = 0; i < items.size(); ++i)
        order.Append(static_cast<uint32_t>(i));
    for (size_t i = items.size(); i < all.size(); ++i)
        order.InsertSorted(static_cast<uint32_t>(i));
    order.WriteTo(all, items);
}

void SortForOctant(std::vector<TBlock*>& items, int octant, const TShareProgress& progress) {
    if (items.size() < 2 || octant < 0 || octant >= 8)
        return; // nothing is behind anything: no pass would exchange a pair
    TCompactBoxes boxes;
    if (items.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ||
        !CompactBoxes(items, octant, boxes)) {
        SortWithExchanges(items, octant);
        return;
    }
    TSortShape shape;
    shape.Threads = static_cast<unsigned>(std::clamp(FreeProcessors(), 1, 8));
    std::vector<uint32_t> order = SortCompactBoxes(boxes, shape, progress);
    std::vector<TBlock*> sorted(items.size());
    for (size_t i = 0; i < order.size(); ++i)
        sorted[i] = items[order[i]];
    items.swap(sorted);
}
