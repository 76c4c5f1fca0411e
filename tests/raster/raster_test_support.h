#pragma once
// Pixel helpers for rasteriser tests, written from the channel rules of each
// format rather than from the rasteriser's own code.

#include "common/color.h"
#include "platform/bitmap.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Points print as (x, y) in test messages.
inline void PrintTo(const TPoint& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}

// Channel widths of a 15-, 16- or 32-bit pixel, from the top channel (R) down.
struct TChannels {
    int RBits, GBits, BBits;
};

inline TChannels ChannelsOf(TPixelFormat pf) {
    if (pf == pf15bit)
        return {5, 5, 5};
    if (pf == pf16bit)
        return {5, 6, 5};
    return {8, 8, 8};
}

inline const char* FormatName(TPixelFormat pf) {
    return pf == pf15bit ? "pf15bit" : pf == pf16bit ? "pf16bit" : pf == pf32bit ? "pf32bit" : "other";
}

// The pixel value of a colour: each channel keeps its top bits, R highest.
inline uint32_t PixelOf(TPixelFormat pf, TColor color) {
    const TChannels ch = ChannelsOf(pf);
    const TColor rgb = ColorToRGB(color);
    const uint32_t r = static_cast<uint32_t>(GetRValue(rgb)) >> (8 - ch.RBits);
    const uint32_t g = static_cast<uint32_t>(GetGValue(rgb)) >> (8 - ch.GBits);
    const uint32_t b = static_cast<uint32_t>(GetBValue(rgb)) >> (8 - ch.BBits);
    return r << (ch.GBits + ch.BBits) | g << ch.BBits | b;
}

// The half-and-half mix of two pixels: per channel the sum of both with their
// lowest bits dropped, halved. Bits above the channels come out zero.
inline uint32_t MixOf(TPixelFormat pf, uint32_t color, uint32_t old) {
    const TChannels ch = ChannelsOf(pf);
    const int widths[3] = {ch.RBits, ch.GBits, ch.BBits};
    int shift = ch.RBits + ch.GBits + ch.BBits;
    uint32_t result = 0;
    for (int width : widths) {
        shift -= width;
        const uint32_t mask = (1u << width) - 1;
        const uint32_t a = (color >> shift) & mask & ~1u;
        const uint32_t b = (old >> shift) & mask & ~1u;
        result |= ((a + b) / 2) << shift;
    }
    return result;
}

// The value of a pixel that started as `start` after `count` mixes with `color`.
inline uint32_t MixedTimes(TPixelFormat pf, uint32_t color, uint32_t start, int count) {
    for (int i = 0; i < count; ++i)
        start = MixOf(pf, color, start);
    return start;
}

inline int BytesPerPixel(TPixelFormat pf) {
    return pf == pf32bit ? 4 : 2;
}

// The raw stored value of a pixel (32 bits: all four bytes).
inline uint32_t RawPixel(TBitmap& b, int x, int y) {
    const void* row = b.ScanLine(y);
    if (BytesPerPixel(b.PixelFormat()) == 4)
        return static_cast<const uint32_t*>(row)[x];
    return static_cast<const uint16_t*>(row)[x];
}

inline void SetRawPixel(TBitmap& b, int x, int y, uint32_t value) {
    void* row = b.ScanLine(y);
    if (BytesPerPixel(b.PixelFormat()) == 4)
        static_cast<uint32_t*>(row)[x] = value;
    else
        static_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(value);
}

inline void FillRaw(TBitmap& b, uint32_t value) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            SetRawPixel(b, x, y, value);
}

// The picture as rows of characters: '0' .. '9' for a pixel that is `start` mixed
// that many times with `color`, '?' for any other value.
inline std::vector<std::string> MixCounts(TBitmap& b, uint32_t color, uint32_t start) {
    std::vector<std::string> rows;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) {
            char c = '?';
            for (int n = 0; n <= 9; ++n)
                if (RawPixel(b, x, y) == MixedTimes(b.PixelFormat(), color, start, n)) {
                    c = static_cast<char>('0' + n);
                    break;
                }
            row += c;
        }
        rows.push_back(row);
    }
    return rows;
}

// The picture as rows of characters by pixel value; '?' for values not in keys.
inline std::vector<std::string> Picture(TBitmap& b, const std::vector<std::pair<uint32_t, char>>& keys) {
    std::vector<std::string> rows;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) {
            char c = '?';
            for (const auto& [value, key] : keys)
                if (RawPixel(b, x, y) == value) {
                    c = key;
                    break;
                }
            row += c;
        }
        rows.push_back(row);
    }
    return rows;
}
