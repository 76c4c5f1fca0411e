#include "common/color.h"

#include <array>

namespace {
std::array<TColor, 32>& SystemColors() {
    static std::array<TColor, 32> colors = [] {
        std::array<TColor, 32> c{};
        c.fill(RGB(192, 192, 192));
        c[15] = RGB(240, 240, 240); // button face
        c[16] = RGB(160, 160, 160); // button shadow
        return c;
    }();
    return colors;
}
} // namespace

void SetSystemColor(TColor systemColor, TColor rgb) {
    if ((systemColor & clSystemColor) && (systemColor & 0xFF) < 32)
        SystemColors()[systemColor & 0xFF] = rgb & 0xFFFFFF;
}

TColor SystemColorToRGB(TColor color) {
    return SystemColors()[color & 0x1F];
}
