#pragma once
// The caption rule: the key under which a stone is counted in a set, and the
// caption a general stone takes from its part name when it is loaded. Stones
// of the other kinds are counted by their kind and size, written as their
// palette entries and the set files write them.

#include <cstdint>
#include <string>
#include <string_view>

class TBlock;

// Keeps what follows the first ",", then what follows the first backslash,
// then what precedes the first "-", and trims the result. "17-arch" gives "17";
// "G parts.dat, 17-arch" gives "17".
std::string CaptionOf(std::string_view text);

// A kind and a size as captions give them: the kind letter, none for a plain
// block, then length x width in modules x height in thirds: "1x2x3", "T2x2x3".
std::string SizeCaption(char kind, int32_t length, int32_t width, int32_t heightThirds);

// The caption of a stone that carries none, such as one read from a model
// file: a general stone's comes from its part name, any other's from its kind
// and its size before its quarter turns, as the palette entry it was taken
// from gives it.
std::string StoneCaption(const TBlock& stone);

// A set file's caption as stones are counted under it: a kind and a size in
// any of the ways an entry may write them ("B 1x2x3") the way SizeCaption
// writes them ("1x2x3"); any other caption as it is.
std::string SetCaption(std::string_view caption);
