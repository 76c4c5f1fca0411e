#pragma once
// The caption rule: the key under which a stone is counted in a set, and the
// caption a general stone takes from its part name when it is loaded.

#include <string>
#include <string_view>

// Keeps what follows the first ",", then what follows the first backslash,
// then what precedes the first "-", and trims the result. "17-arch" gives "17";
// "G parts.dat, 17-arch" gives "17".
std::string CaptionOf(std::string_view text);
