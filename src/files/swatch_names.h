#pragma once
// The names of the palette's colours, for lists a person reads: each shipped
// swatch colour has a name, and a swatch keeps it only while it holds that
// colour (a swatch the user gave another colour has none).

#include <array>
#include <string>

#include "common/color.h"
#include "files/settings_file.h"

// The name of the shipped colour, or an empty text for any other.
std::string ShippedColorName(TColor color);

// The name of the swatch whose colour the colour is, or an empty text when no
// swatch holds it or the swatch's colour has no name.
std::string SwatchColorName(TColor color, const std::array<TColor, kSwatchCount>& swatches);

// "#RRGGBB" in upper-case hexadecimal.
std::string HexColorText(TColor color);
