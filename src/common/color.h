#pragma once
// Colour values: 24 bits with red in the low byte (0x00BBGGRR).

#include <cstdint>

using TColor = uint32_t;

constexpr TColor RGB(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(TColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clFuchsia = RGB(255, 0, 255);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);

// System colours carry the high bit and an index; ColorToRGB turns them into
// the current RGB value of that system colour.
constexpr TColor clSystemColor = 0x80000000u;
constexpr TColor clBtnFace = clSystemColor | 15u;
constexpr TColor clBtnShadow = clSystemColor | 16u;

// Sets the RGB value a system colour stands for (the desktop layer does this
// from its palette at start-up; until then neutral greys are used).
void SetSystemColor(TColor systemColor, TColor rgb);
// The current RGB value of a system colour.
TColor SystemColorToRGB(TColor color);
// Inline: the drawing code converts a colour for every polygon.
inline TColor ColorToRGB(TColor color) {
    return color & clSystemColor ? SystemColorToRGB(color) : color & 0xFFFFFF;
}
