#pragma once
// The name an exported stone goes by: its label, else its part's name, else
// its kind and size as the program captions them ("1x2x3", "T2x2x3": length x
// width in modules x height in thirds, before its quarter turns).

#include <string>

class TBlock;

std::string StoneLabel(const TBlock& stone);
