#include "model/painter_sort.h"

#include <algorithm>
#include <limits>

#include "model/painter_scan.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// One pass carries a stone to the right: the next stone, when it is behind the
// carried one, moves one place left; when it is not (a stop), the carried stone
// is put down in front of it and the stop is carried on. In a model where
// nearly every pair is exchanged nearly every stone moves one place left.
//
// The boxes are therefore held as a ring whose origin steps one place per pass:
// that moves every stone one place left at once, and only the stones at the
// stops need moving (each carried stone into the slot of the stop that ended
// it), so a pass costs a scan for the stops plus a move per stop. The scan
// compares several boxes at once. Where most pairs are not exchanged (towers,
// sorted lists) the plain pass is cheaper: it moves stone by stone and ends
// early after the last exchange of the pass before.

namespace {

// Passes with more stops than one in kDenseStops places run stone by stone.
constexpr size_t kDenseStops = 8;

// A box with its index, in two 16-byte halves. The fourth lane of the far half
// is larger than any index, so that comparing the halves lane by lane tells in
// one step whether the box is short of another along every axis.
struct alignas(32) TSlot {
    int32_t Near[3];
    int32_t Id;
    int32_t Far[3];
    int32_t Top;
};

#if !defined(__x86_64__)
// Whether box e is not behind box c: short of c's far side along every axis.
// (On x86-64 the scan compares the halves with SSE2 instead.)
inline bool NotBehind(const TSlot& e, const TSlot& c) {
    return (e.Near[0] < c.Far[0]) & (e.Near[1] < c.Far[1]) & (e.Near[2] < c.Far[2]);
}
#endif

// TLane: the type the near sides are scanned in. The boxes hold ranks (the
// place of each side among all sides along its axis), which compare as the
// sides do and fit in 16 bits for all but the largest models.
template <class TLane> class TRingSort {
public:
    TRingSort(const TCompactBoxes& boxes, TStopScan<TLane> scan, int32_t laneOffset)
        : FCount(boxes.Size()), FSlots(FCount), FScan(scan), FLaneOffset(laneOffset) {
        for (size_t i = 0; i < FCount; ++i) {
            TSlot& slot = FSlots[i];
            for (int a = 0; a < 3; ++a) {
                slot.Near[a] = boxes.Near[a][i];
                slot.Far[a] = boxes.Far[a][i];
            }
            slot.Id = static_cast<int32_t>(i);
            slot.Top = std::numeric_limits<int32_t>::max();
        }
        for (int a = 0; a < 3; ++a) {
            FNearOf[a].resize(FCount);
            FFarOf[a].resize(FCount);
            FNear[a] = FNearOf[a].data();
        }
        FIdOf.resize(FCount);
        FLastExchange = FCount - 1;
    }

    std::vector<uint32_t> Run(const TShareProgress& progress) {
        bool inRing = false; // the boxes are in the ring's arrays, else in the slots
        for (size_t pass = 0; pass + 1 < FCount; ++pass) {
            if (progress && pass % 1024 == 1023)
                progress(static_cast<double>(pass) / static_cast<double>(FCount - 1));
            const bool dense = FLastStops * kDenseStops > FCount;
            if (dense && inRing)
                LeaveRing();
            else if (!dense && !inRing)
                EnterRing();
            inRing = !dense;
            if (!(dense ? PlainPass() : RingPass()))
                break;
        }
        if (inRing)
            LeaveRing();
        std::vector<uint32_t> order(FCount);
        for (size_t i = 0; i < FCount; ++i)
            order[i] = static_cast<uint32_t>(FSlots[i].Id);
        return order;
    }

private:
    TLane Lane(int32_t rank) const { return static_cast<TLane>(rank - FLaneOffset); }
    int32_t Rank(TLane lane) const { return static_cast<int32_t>(lane) + FLaneOffset; }

    // The slots, in order, into the ring's arrays: one array per side and one
    // of indexes, so that a pass touches only what it compares and moves.
    void EnterRing() {
        for (size_t i = 0; i < FCount; ++i) {
            for (int a = 0; a < 3; ++a) {
                FNearOf[a][i] = Lane(FSlots[i].Near[a]);
                FFarOf[a][i] = Lane(FSlots[i].Far[a]);
            }
            FIdOf[i] = FSlots[i].Id;
        }
        FOrigin = 0;
    }

    // The ring, from its origin on, back into the slots.
    void LeaveRing() {
        size_t from = FOrigin;
        for (size_t i = 0; i < FCount; ++i) {
            TSlot& slot = FSlots[i];
            for (int a = 0; a < 3; ++a) {
                slot.Near[a] = Rank(FNearOf[a][from]);
                slot.Far[a] = Rank(FFarOf[a][from]);
            }
            slot.Id = FIdOf[from];
            from = from + 1 == FCount ? 0 : from + 1;
        }
        FOrigin = 0;
        FLastExchange = FCount - 1; // the ring passes kept no account of it
    }

    void Move(size_t from, size_t to) {
        for (int a = 0; a < 3; ++a) {
            FNearOf[a][to] = FNearOf[a][from];
            FFarOf[a][to] = FFarOf[a][from];
        }
        FIdOf[to] = FIdOf[from];
    }

    // A pass on the ring; false when it exchanged nothing.
    bool RingPass() {
        FStops.clear();
        FStops.push_back(FOrigin);
        TLane far[3];
        auto carry = [&](size_t place) {
            for (int a = 0; a < 3; ++a)
                far[a] = FFarOf[a][place];
        };
        carry(FOrigin);
        auto scan = [&](size_t from, size_t to) {
            for (size_t i = FScan(FNear, from, to, far); i < to; i = FScan(FNear, i + 1, to, far)) {
                FStops.push_back(i);
                carry(i);
            }
        };
        scan(FOrigin + 1, FCount);
        scan(0, FOrigin);
        FLastStops = FStops.size() - 1;
        if (FLastStops + 1 == FCount)
            return false;
        // Each carried stone goes to the place of the stop that ended it; the
        // last one to the place that becomes the end of the list.
        TLane lastNear[3], lastFar[3];
        const size_t lastPlace = FStops.back();
        for (int a = 0; a < 3; ++a) {
            lastNear[a] = FNearOf[a][lastPlace];
            lastFar[a] = FFarOf[a][lastPlace];
        }
        const int32_t lastId = FIdOf[lastPlace];
        for (size_t m = FStops.size() - 1; m > 0; --m)
            Move(FStops[m - 1], FStops[m]);
        for (int a = 0; a < 3; ++a) {
            FNearOf[a][FStops[0]] = lastNear[a];
            FFarOf[a][FStops[0]] = lastFar[a];
        }
        FIdOf[FStops[0]] = lastId;
        FOrigin = FOrigin + 1 == FCount ? 0 : FOrigin + 1;
        return true;
    }

    // A pass stone by stone with the origin at the start; false when it
    // exchanged nothing. Pairs past the last exchange of the pass before are
    // unchanged, and so is their outcome, unless this pass just changed them.
    bool PlainPass() {
        TSlot* slots = FSlots.data();
        size_t newLast = 0, exchanges = 0;
        bool previousExchanged = false;
        size_t i = 1;
#if defined(__x86_64__)
        __m128i carriedNear = _mm_load_si128(reinterpret_cast<const __m128i*>(slots[0].Near));
        __m128i carriedFar = _mm_load_si128(reinterpret_cast<const __m128i*>(slots[0].Far));
        for (; i < FCount; ++i) {
            if (i > FLastExchange && !previousExchanged)
                break;
            const __m128i nextNear = _mm_load_si128(reinterpret_cast<const __m128i*>(slots[i].Near));
            const __m128i nextFar = _mm_load_si128(reinterpret_cast<const __m128i*>(slots[i].Far));
            // Lane by lane: near < far along the three axes, and index < top.
            const bool stop = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmplt_epi32(nextNear, carriedFar))) == 15;
            if (stop) {
                _mm_store_si128(reinterpret_cast<__m128i*>(slots[i - 1].Near), carriedNear);
                _mm_store_si128(reinterpret_cast<__m128i*>(slots[i - 1].Far), carriedFar);
                carriedNear = nextNear;
                carriedFar = nextFar;
            } else {
                _mm_store_si128(reinterpret_cast<__m128i*>(slots[i - 1].Near), nextNear);
                _mm_store_si128(reinterpret_cast<__m128i*>(slots[i - 1].Far), nextFar);
                newLast = i;
                ++exchanges;
            }
            previousExchanged = !stop;
        }
        _mm_store_si128(reinterpret_cast<__m128i*>(slots[i - 1].Near), carriedNear);
        _mm_store_si128(reinterpret_cast<__m128i*>(slots[i - 1].Far), carriedFar);
#else
        TSlot carried = slots[0];
        for (; i < FCount; ++i) {
            if (i > FLastExchange && !previousExchanged)
                break;
            const bool stop = NotBehind(slots[i], carried);
            if (stop) {
                slots[i - 1] = carried;
                carried = slots[i];
            } else {
                slots[i - 1] = slots[i];
                newLast = i;
                ++exchanges;
            }
            previousExchanged = !stop;
        }
        slots[i - 1] = carried;
#endif
        FLastStops = FCount - 1 - exchanges;
        if (newLast == 0)
            return false;
        FLastExchange = newLast;
        return true;
    }

    size_t FCount;
    std::vector<TSlot> FSlots;
    // The ring: near and far sides as lanes, and indexes, place by place.
    std::vector<TLane> FNearOf[3], FFarOf[3];
    std::vector<int32_t> FIdOf;
    const TLane* FNear[3];
    TStopScan<TLane> FScan;
    int32_t FLaneOffset;
    size_t FOrigin = 0;
    size_t FLastExchange;
    size_t FLastStops = 0;
    std::vector<size_t> FStops;
};

// Puts every side along each axis in place of its rank among all sides along
// that axis (equal sides share a rank); returns the largest rank.
int32_t RankSides(TCompactBoxes& boxes) {
    int32_t highest = 0;
    std::vector<int32_t> sides;
    for (int a = 0; a < 3; ++a) {
        sides.assign(boxes.Near[a].begin(), boxes.Near[a].end());
        sides.insert(sides.end(), boxes.Far[a].begin(), boxes.Far[a].end());
        std::sort(sides.begin(), sides.end());
        sides.erase(std::unique(sides.begin(), sides.end()), sides.end());
        auto rank = [&](int32_t& side) {
            side = static_cast<int32_t>(std::lower_bound(sides.begin(), sides.end(), side) - sides.begin());
        };
        std::for_each(boxes.Near[a].begin(), boxes.Near[a].end(), rank);
        std::for_each(boxes.Far[a].begin(), boxes.Far[a].end(), rank);
        highest = std::max(highest, static_cast<int32_t>(sides.size()) - 1);
    }
    return highest;
}

} // namespace

std::vector<uint32_t> SortCompactBoxes(const TCompactBoxes& original, int narrowest,
                                       const TShareProgress& progress) {
    if (original.Size() < 2) {
        std::vector<uint32_t> order(original.Size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<uint32_t>(i);
        return order;
    }
    TCompactBoxes boxes = original;
    const int32_t highest = RankSides(boxes);
    if (highest <= 65535 && narrowest <= 16)
        return TRingSort<int16_t>(boxes, BestStopScan16(), 32768).Run(progress);
    return TRingSort<int32_t>(boxes, BestStopScan32(), 0).Run(progress);
}
