#pragma once
// Filling and mixing runs of pixels, several pixels per store where the
// processor allows (SSE2 on x86-64), one at a time otherwise. The results are
// the same either way.
//
// Mixing: new = ((color and M) + (old and M)) shr 1. M clears the lowest bit of
// every channel, so both masked values are even and halving each before adding
// gives exactly the same value; that form cannot carry out of a 16-bit lane.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Writes value to p[0 .. count - 1].
inline void FillPixels(uint32_t* p, int count, uint32_t value) {
#if defined(__SSE2__)
    if (count >= 4) {
        const __m128i v = _mm_set1_epi32(static_cast<int>(value));
        uint32_t* const last = p + count - 4;
        for (; p < last; p += 4)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(last), v); // may overlap the previous store
        return;
    }
#endif
    for (int i = 0; i < count; ++i)
        p[i] = value;
}

inline void FillPixels(uint16_t* p, int count, uint16_t value) {
#if defined(__SSE2__)
    if (count >= 8) {
        const __m128i v = _mm_set1_epi16(static_cast<short>(value));
        uint16_t* const last = p + count - 8;
        for (; p < last; p += 8)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(last), v);
        return;
    }
#endif
    for (int i = 0; i < count; ++i)
        p[i] = value;
}

// Mixes color half-and-half into p[0 .. count - 1] with the channel mask.
inline void MixPixels(uint32_t* p, int count, uint32_t color, uint32_t mask) {
    const uint32_t half = (color & mask) >> 1;
    int i = 0;
#if defined(__SSE2__)
    const __m128i h = _mm_set1_epi32(static_cast<int>(half));
    const __m128i m = _mm_set1_epi32(static_cast<int>(mask));
    for (; i + 4 <= count; i += 4) {
        __m128i* q = reinterpret_cast<__m128i*>(p + i);
        _mm_storeu_si128(q, _mm_add_epi32(_mm_srli_epi32(_mm_and_si128(_mm_loadu_si128(q), m), 1), h));
    }
#endif
    for (; i < count; ++i)
        p[i] = ((p[i] & mask) >> 1) + half;
}

inline void MixPixels(uint16_t* p, int count, uint16_t color, uint16_t mask) {
    const uint16_t half = static_cast<uint16_t>((color & mask) >> 1);
    int i = 0;
#if defined(__SSE2__)
    const __m128i h = _mm_set1_epi16(static_cast<short>(half));
    const __m128i m = _mm_set1_epi16(static_cast<short>(mask));
    for (; i + 8 <= count; i += 8) {
        __m128i* q = reinterpret_cast<__m128i*>(p + i);
        _mm_storeu_si128(q, _mm_add_epi16(_mm_srli_epi16(_mm_and_si128(_mm_loadu_si128(q), m), 1), h));
    }
#endif
    for (; i < count; ++i)
        p[i] = static_cast<uint16_t>(((p[i] & mask) >> 1) + half);
}
