#include "model/painter_sort.h"

#include <algorithm>

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

// The first place in [from, to) whose box is not behind the box with the given
// far sides (it falls short of them along every axis), or `to`.
using TStopScan = size_t (*)(const int32_t* const near[3], size_t from, size_t to, const int32_t far[3]);

size_t ScanPlain(const int32_t* const near[3], size_t from, size_t to, const int32_t far[3]) {
    const int32_t *x = near[0], *y = near[1], *z = near[2];
    for (size_t i = from; i < to; ++i)
        if ((x[i] < far[0]) & (y[i] < far[1]) & (z[i] < far[2]))
            return i;
    return to;
}

#if defined(__x86_64__)
size_t ScanSse2(const int32_t* const near[3], size_t from, size_t to, const int32_t far[3]) {
    const __m128i fx = _mm_set1_epi32(far[0]), fy = _mm_set1_epi32(far[1]), fz = _mm_set1_epi32(far[2]);
    size_t i = from;
    for (; i + 4 <= to; i += 4) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(near[0] + i));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(near[1] + i));
        const __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i*>(near[2] + i));
        const __m128i shortOfAll =
            _mm_and_si128(_mm_and_si128(_mm_cmplt_epi32(x, fx), _mm_cmplt_epi32(y, fy)), _mm_cmplt_epi32(z, fz));
        const int bits = _mm_movemask_ps(_mm_castsi128_ps(shortOfAll));
        if (bits != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(bits)));
    }
    return ScanPlain(near, i, to, far);
}

__attribute__((target("avx2"))) size_t ScanAvx2(const int32_t* const near[3], size_t from, size_t to,
                                                 const int32_t far[3]) {
    const __m256i fx = _mm256_set1_epi32(far[0]), fy = _mm256_set1_epi32(far[1]), fz = _mm256_set1_epi32(far[2]);
    size_t i = from;
    for (; i + 8 <= to; i += 8) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(near[0] + i));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(near[1] + i));
        const __m256i z = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(near[2] + i));
        const __m256i shortOfAll = _mm256_and_si256(
            _mm256_and_si256(_mm256_cmpgt_epi32(fx, x), _mm256_cmpgt_epi32(fy, y)), _mm256_cmpgt_epi32(fz, z));
        const int bits = _mm256_movemask_ps(_mm256_castsi256_ps(shortOfAll));
        if (bits != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(bits)));
    }
    return ScanSse2(near, i, to, far);
}
#endif

TStopScan ChooseScan() {
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2"))
        return ScanAvx2;
    return ScanSse2;
#else
    return ScanPlain;
#endif
}

// Passes with more stops than one in kDenseStops places run stone by stone.
constexpr size_t kDenseStops = 8;

class TRingSort {
public:
    explicit TRingSort(TCompactBoxes& boxes) : FCount(boxes.Size()), FIds(boxes.Size()), FScan(ChooseScan()) {
        for (int a = 0; a < 3; ++a) {
            FField[a] = boxes.Near[a].data();
            FField[3 + a] = boxes.Far[a].data();
            FNear[a] = FField[a];
        }
        for (size_t i = 0; i < FCount; ++i)
            FIds[i] = static_cast<int32_t>(i);
        FField[6] = FIds.data();
        FLastExchange = FCount - 1;
    }

    std::vector<uint32_t> Run() {
        for (size_t pass = 0; pass + 1 < FCount; ++pass) {
            const bool dense = FLastStops * kDenseStops > FCount;
            if (dense && FOrigin != 0)
                MoveOriginToStart();
            if (!(dense ? PlainPass() : RingPass()))
                break;
        }
        MoveOriginToStart();
        return std::vector<uint32_t>(FIds.begin(), FIds.end());
    }

private:
    static constexpr int kFields = 7; // near sides, far sides, index

    struct TSlot {
        int32_t Value[kFields];
    };

    TSlot Take(size_t place) const {
        TSlot slot;
        for (int f = 0; f < kFields; ++f)
            slot.Value[f] = FField[f][place];
        return slot;
    }
    void Put(size_t place, const TSlot& slot) {
        for (int f = 0; f < kFields; ++f)
            FField[f][place] = slot.Value[f];
    }
    void Copy(size_t from, size_t to) {
        for (int f = 0; f < kFields; ++f)
            FField[f][to] = FField[f][from];
    }

    void MoveOriginToStart() {
        if (FOrigin == 0)
            return;
        for (int f = 0; f < kFields; ++f)
            std::rotate(FField[f], FField[f] + FOrigin, FField[f] + FCount);
        FOrigin = 0;
        FLastExchange = FCount - 1; // the ring passes kept no account of it
    }

    // A pass on the ring; false when it exchanged nothing.
    bool RingPass() {
        FStops.clear();
        FStops.push_back(FOrigin);
        int32_t far[3] = {FField[3][FOrigin], FField[4][FOrigin], FField[5][FOrigin]};
        auto scan = [&](size_t from, size_t to) {
            for (size_t i = FScan(FNear, from, to, far); i < to; i = FScan(FNear, i + 1, to, far)) {
                FStops.push_back(i);
                for (int a = 0; a < 3; ++a)
                    far[a] = FField[3 + a][i];
            }
        };
        scan(FOrigin + 1, FCount);
        scan(0, FOrigin);
        FLastStops = FStops.size() - 1;
        if (FLastStops + 1 == FCount)
            return false;
        // Each carried stone goes to the slot of the stop that ended it; the last
        // one to the slot that becomes the end of the list.
        const TSlot last = Take(FStops.back());
        for (size_t m = FStops.size() - 1; m > 0; --m)
            Copy(FStops[m - 1], FStops[m]);
        Put(FStops[0], last);
        FOrigin = FOrigin + 1 == FCount ? 0 : FOrigin + 1;
        return true;
    }

    // A pass stone by stone with the origin at the start; false when it
    // exchanged nothing. Pairs past the last exchange of the pass before are
    // unchanged, and so is their outcome, unless this pass just changed them.
    bool PlainPass() {
        TSlot carried = Take(0);
        size_t newLast = 0, exchanges = 0;
        bool previousExchanged = false;
        size_t i = 1;
        for (; i < FCount; ++i) {
            if (i > FLastExchange && !previousExchanged)
                break;
            const bool behind = (FField[0][i] >= carried.Value[3]) | (FField[1][i] >= carried.Value[4]) |
                                (FField[2][i] >= carried.Value[5]);
            if (behind) {
                Copy(i, i - 1);
                newLast = i;
                ++exchanges;
            } else {
                Put(i - 1, carried);
                carried = Take(i);
            }
            previousExchanged = behind;
        }
        Put(i - 1, carried);
        FLastStops = FCount - 1 - exchanges;
        if (newLast == 0)
            return false;
        FLastExchange = newLast;
        return true;
    }

    size_t FCount;
    std::vector<int32_t> FIds;
    int32_t* FField[kFields];
    const int32_t* FNear[3];
    TStopScan FScan;
    size_t FOrigin = 0;
    size_t FLastExchange;
    size_t FLastStops = 0;
    std::vector<size_t> FStops;
};

} // namespace

std::vector<uint32_t> SortCompactBoxes(TCompactBoxes& boxes) {
    if (boxes.Size() < 2) {
        std::vector<uint32_t> order(boxes.Size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<uint32_t>(i);
        return order;
    }
    return TRingSort(boxes).Run();
}
