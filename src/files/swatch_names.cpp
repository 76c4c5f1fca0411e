#include "files/swatch_names.h"

#include <algorithm>
#include <cstdio>

namespace {

struct TNamedColor {
    TColor Color;
    const char* Name;
};

// The shipped swatches, in swatch order (kDefaultSwatchColors).
constexpr TNamedColor kShippedNames[] = {
    {RGB(244, 0, 0), "Red"},         {RGB(255, 255, 255), "White"},     {RGB(192, 192, 192), "Light grey"},
    {RGB(128, 128, 128), "Grey"},    {RGB(51, 51, 51), "Black"},        {RGB(232, 229, 178), "Tan"},
    {RGB(207, 94, 75), "Brick red"}, {RGB(143, 146, 169), "Blue grey"}, {RGB(181, 148, 117), "Dark tan"},
    {RGB(138, 94, 79), "Brown"},     {RGB(0, 128, 0), "Green"},         {RGB(102, 159, 105), "Sand green"},
    {RGB(64, 128, 128), "Teal"},     {RGB(0, 255, 255), "Aqua"},
};
static_assert(std::size(kShippedNames) == kSwatchCount);

} // namespace

std::string ShippedColorName(TColor color) {
    const TColor rgb = ColorToRGB(color);
    for (const TNamedColor& named : kShippedNames)
        if (named.Color == rgb)
            return named.Name;
    return {};
}

std::string SwatchColorName(TColor color, const std::array<TColor, kSwatchCount>& swatches) {
    const TColor rgb = ColorToRGB(color);
    const bool onSwatch = std::any_of(swatches.begin(), swatches.end(),
                                      [rgb](TColor swatch) { return ColorToRGB(swatch) == rgb; });
    return onSwatch ? ShippedColorName(rgb) : std::string();
}

std::string HexColorText(TColor color) {
    const TColor rgb = ColorToRGB(color);
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    return text;
}
