#include "model/painter_sort.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>

#include "common/worker_pool.h"
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
// compares several boxes at once, and many passes share each part of the ring
// while it is in the cache. Where most pairs are not exchanged (towers,
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
    TRingSort(const TCompactBoxes& boxes, TStopScan<TLane> scan, int32_t laneOffset, const TSortShape& shape)
        : FCount(boxes.Size()), FSlots(FCount), FScan(scan), FLaneOffset(laneOffset), FShape(shape) {
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
        const size_t passes = FCount - 1;
        size_t told = 0;
        for (size_t pass = 0; pass < passes;) {
            if (progress && pass >= told + 1024) {
                progress(static_cast<double>(pass) / static_cast<double>(passes));
                told = pass;
            }
            const bool dense = FLastStops * kDenseStops > FCount;
            if (dense && inRing)
                LeaveRing();
            else if (!dense && !inRing)
                EnterRing();
            inRing = !dense;
            const size_t run = dense ? 1 : std::min(FShape.BundlePasses, passes - pass);
            if (!(dense ? PlainPass() : RingPasses(run)))
                break;
            pass += run;
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

    // The box a pass carries, and how many stops the pass has met.
    struct TCarried {
        TLane Near[3], Far[3];
        int32_t Id;
        size_t Stops;
    };

    void Take(TCarried& c, size_t place) const {
        for (int a = 0; a < 3; ++a) {
            c.Near[a] = FNearOf[a][place];
            c.Far[a] = FFarOf[a][place];
        }
        c.Id = FIdOf[place];
    }

    void Put(const TCarried& c, size_t place) {
        for (int a = 0; a < 3; ++a) {
            FNearOf[a][place] = c.Near[a];
            FFarOf[a][place] = c.Far[a];
        }
        FIdOf[place] = c.Id;
    }

    // A stop: the carried box is put down in the stop's place, and the box
    // that was there is carried on.
    void Exchange(TCarried& c, size_t place) {
        for (int a = 0; a < 3; ++a) {
            std::swap(c.Near[a], FNearOf[a][place]);
            std::swap(c.Far[a], FFarOf[a][place]);
        }
        std::swap(c.Id, FIdOf[place]);
        ++c.Stops;
    }

    // The ring's place a given number of places after the origin.
    size_t PlaceAfterOrigin(size_t steps) const {
        size_t place = FOrigin + steps;
        while (place >= FCount)
            place -= FCount;
        return place;
    }

    void CarryThrough(TCarried& c, size_t from, size_t to) {
        for (size_t i = FScan(FNear, from, to, c.Far); i < to; i = FScan(FNear, i + 1, to, c.Far))
            Exchange(c, i);
    }

    // Carries c over the places steps [from, to) after the origin.
    void CarryOver(TCarried& c, size_t from, size_t to) {
        const size_t start = PlaceAfterOrigin(from), length = to - from;
        const size_t first = std::min(length, FCount - start);
        CarryThrough(c, start, start + first);
        if (length > first)
            CarryThrough(c, 0, length - first);
    }

    // Runs count passes on the ring; false when one of them exchanged nothing
    // (the passes after such a pass exchange nothing either).
    //
    // Pass k takes the box k places after the origin, carries it round the
    // ring over the n - 1 places after its own, and puts the last box it
    // carries back into its own place; the next pass starts one place on. A
    // pass reads a place only after the pass before has left it, so the
    // passes can go round the ring together: block by block of places, each
    // pass in turn over the block, while the block stays in the cache. On
    // several threads the passes are cut into parts, each following the part
    // before it a block behind.
    bool RingPasses(size_t count) {
        FCarried.resize(count);
        // Each part follows the one before a block behind, so parts pay off
        // only on rings of many blocks.
        const size_t parts = std::min<size_t>({FShape.Threads, count, FCount / (16 * FShape.BlockSlots)});
        if (parts > 1) {
            std::unique_ptr<std::atomic<size_t>[]> reached(new std::atomic<size_t>[parts]);
            for (size_t part = 0; part < parts; ++part)
                reached[part].store(0);
            RunOnWorkers(static_cast<int>(parts), [&](int index) {
                const size_t part = static_cast<size_t>(index);
                RunPasses(count * part / parts, count * (part + 1) / parts,
                          part > 0 ? &reached[part - 1] : nullptr,
                          part + 1 < parts ? &reached[part] : nullptr);
            });
        } else {
            RunPasses(0, count, nullptr, nullptr);
        }
        FOrigin = PlaceAfterOrigin(count);
        FLastStops = FCarried.back().Stops;
        for (const TCarried& c : FCarried)
            if (c.Stops + 1 == FCount)
                return false;
        return true;
    }

    // Passes [first, last) of a run: pass k runs over the steps [k + 1, k + n)
    // after the origin. Blocks of steps start at the same places for every
    // part of the run. When the passes before first run at the same time
    // (ahead), a block is begun only once they have left it; reached tells
    // the passes after these how far these have got.
    void RunPasses(size_t first, size_t last, const std::atomic<size_t>* ahead,
                   std::atomic<size_t>* reached) {
        const size_t block = FShape.BlockSlots, end = last - 1 + FCount;
        constexpr size_t kAll = std::numeric_limits<size_t>::max();
        for (size_t from = 1 + first / block * block; from < end; from += block) {
            const size_t to = std::min(from + block, end);
            if (ahead)
                for (size_t seen = ahead->load(std::memory_order_acquire); seen < to;
                     seen = ahead->load(std::memory_order_acquire))
                    ahead->wait(seen, std::memory_order_acquire);
            for (size_t k = first; k < last && k + 1 < to; ++k) {
                const size_t start = k + 1, stop = k + FCount; // the pass's steps: [start, stop)
                if (stop <= from)
                    continue;
                TCarried& c = FCarried[k];
                if (start >= from) {
                    Take(c, PlaceAfterOrigin(k));
                    c.Stops = 0;
                }
                CarryOver(c, std::max(from, start), std::min(to, stop));
                if (stop <= to)
                    Put(c, PlaceAfterOrigin(k));
            }
            if (reached) {
                reached->store(to, std::memory_order_release);
                reached->notify_one();
            }
        }
        if (reached) {
            reached->store(kAll, std::memory_order_release);
            reached->notify_one();
        }
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
    std::vector<TCarried> FCarried;
    TSortShape FShape;
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

std::vector<uint32_t> SortCompactBoxes(const TCompactBoxes& original, const TSortShape& given,
                                       const TShareProgress& progress) {
    TSortShape shape = given;
    shape.BlockSlots = std::max<size_t>(shape.BlockSlots, 1);
    shape.BundlePasses = std::max<size_t>(shape.BundlePasses, 1);
    if (original.Size() < 2) {
        std::vector<uint32_t> order(original.Size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<uint32_t>(i);
        return order;
    }
    TCompactBoxes boxes = original;
    const int32_t highest = RankSides(boxes);
    if (highest <= 65535 && shape.Narrowest <= 16)
        return TRingSort<int16_t>(boxes, BestStopScan16(), 32768, shape).Run(progress);
    return TRingSort<int32_t>(boxes, BestStopScan32(), 0, shape).Run(progress);
}
