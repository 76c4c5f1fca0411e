#pragma once
// Small helpers shared by the model tests.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/color.h"
#include "model/block.h"

// A new stone of the kind with its box given in units, as a file holds it.
std::unique_ptr<TBlock> StoneInUnits(char kind, int32_t x, int32_t y, int32_t z, int32_t length,
                                     int32_t width, int32_t height, TColor color = clWhite);

// The message of the EError the action raises, or "" when it raises none.
std::string ErrorOf(const std::function<void()>& action);
