#include "model/painter_scan.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

template <class TLane>
size_t ScanPlain(const TLane* const near[3], size_t from, size_t to, const TLane far[3]) {
    const TLane *x = near[0], *y = near[1], *z = near[2];
    for (size_t i = from; i < to; ++i)
        if ((x[i] < far[0]) & (y[i] < far[1]) & (z[i] < far[2]))
            return i;
    return to;
}

#if defined(__x86_64__)
inline __m128i Load(const void* p) {
    return _mm_loadu_si128(static_cast<const __m128i*>(p));
}

size_t ScanSse2(const int32_t* const near[3], size_t from, size_t to, const int32_t far[3]) {
    const __m128i fx = _mm_set1_epi32(far[0]), fy = _mm_set1_epi32(far[1]), fz = _mm_set1_epi32(far[2]);
    size_t i = from;
    for (; i + 4 <= to; i += 4) {
        const __m128i shortOfAll = _mm_and_si128(
            _mm_and_si128(_mm_cmplt_epi32(Load(near[0] + i), fx), _mm_cmplt_epi32(Load(near[1] + i), fy)),
            _mm_cmplt_epi32(Load(near[2] + i), fz));
        const int bits = _mm_movemask_ps(_mm_castsi128_ps(shortOfAll));
        if (bits != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(bits)));
    }
    return ScanPlain(near, i, to, far);
}

size_t ScanSse2(const int16_t* const near[3], size_t from, size_t to, const int16_t far[3]) {
    const __m128i fx = _mm_set1_epi16(far[0]), fy = _mm_set1_epi16(far[1]), fz = _mm_set1_epi16(far[2]);
    size_t i = from;
    for (; i + 8 <= to; i += 8) {
        const __m128i shortOfAll = _mm_and_si128(
            _mm_and_si128(_mm_cmplt_epi16(Load(near[0] + i), fx), _mm_cmplt_epi16(Load(near[1] + i), fy)),
            _mm_cmplt_epi16(Load(near[2] + i), fz));
        const int bits = _mm_movemask_epi8(shortOfAll); // two bits per box
        if (bits != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(bits))) / 2;
    }
    return ScanPlain(near, i, to, far);
}

__attribute__((target("avx2"))) inline __m256i Load256(const void* p) {
    return _mm256_loadu_si256(static_cast<const __m256i*>(p));
}

__attribute__((target("avx2"))) size_t ScanAvx2(const int32_t* const near[3], size_t from, size_t to,
                                                const int32_t far[3]) {
    const __m256i fx = _mm256_set1_epi32(far[0]), fy = _mm256_set1_epi32(far[1]),
                  fz = _mm256_set1_epi32(far[2]);
    size_t i = from;
    for (; i + 8 <= to; i += 8) {
        const __m256i shortOfAll =
            _mm256_and_si256(_mm256_and_si256(_mm256_cmpgt_epi32(fx, Load256(near[0] + i)),
                                              _mm256_cmpgt_epi32(fy, Load256(near[1] + i))),
                             _mm256_cmpgt_epi32(fz, Load256(near[2] + i)));
        const int bits = _mm256_movemask_ps(_mm256_castsi256_ps(shortOfAll));
        if (bits != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(bits)));
    }
    return ScanSse2(near, i, to, far);
}

__attribute__((target("avx2"))) size_t ScanAvx2(const int16_t* const near[3], size_t from, size_t to,
                                                const int16_t far[3]) {
    const __m256i fx = _mm256_set1_epi16(far[0]), fy = _mm256_set1_epi16(far[1]),
                  fz = _mm256_set1_epi16(far[2]);
    const int16_t *x = near[0], *y = near[1], *z = near[2];
    size_t i = from;
    for (; i + 16 <= to; i += 16) {
        const __m256i shortOfAll = _mm256_and_si256(
            _mm256_and_si256(_mm256_cmpgt_epi16(fx, Load256(x + i)), _mm256_cmpgt_epi16(fy, Load256(y + i))),
            _mm256_cmpgt_epi16(fz, Load256(z + i)));
        const unsigned bits = static_cast<unsigned>(_mm256_movemask_epi8(shortOfAll));
        if (bits != 0)
            return i + static_cast<size_t>(__builtin_ctz(bits)) / 2;
    }
    return ScanSse2(near, i, to, far);
}

bool HasAvx2() {
    return __builtin_cpu_supports("avx2");
}
#endif

template <class TLane> std::vector<TStopScan<TLane>> ScansOf() {
    std::vector<TStopScan<TLane>> scans{&ScanPlain<TLane>};
#if defined(__x86_64__)
    scans.push_back(static_cast<TStopScan<TLane>>(&ScanSse2));
    if (HasAvx2())
        scans.push_back(static_cast<TStopScan<TLane>>(&ScanAvx2));
#endif
    return scans;
}

} // namespace

std::vector<TStopScan<int16_t>> StopScans16() {
    return ScansOf<int16_t>();
}

std::vector<TStopScan<int32_t>> StopScans32() {
    return ScansOf<int32_t>();
}

TStopScan<int16_t> BestStopScan16() {
    static const TStopScan<int16_t> best = StopScans16().back();
    return best;
}

TStopScan<int32_t> BestStopScan32() {
    static const TStopScan<int32_t> best = StopScans32().back();
    return best;
}
