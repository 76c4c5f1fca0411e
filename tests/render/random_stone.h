#pragma once
// A random stone for the drawing tests: any kind the drawing knows, a part
// among the given ones, a random colour (now and then the marking colour),
// turned, tagged and selected at random, within `spread` units of the origin.
// `between(lo, hi)` draws each number.

#include <functional>
#include <memory>
#include <span>

#include "common/color.h"
#include "model/block_factory.h"
#include "model/general_block.h"

inline std::unique_ptr<TBlock> RandomStone(const std::function<int(int, int)>& between, int spread,
                                           std::span<const char* const> parts) {
    static const char kinds[] = {'B', 'T', 'N', 'C', 'I', 'E', 'W', 'D', 'O', 'G', 'R'};
    const char kind = kinds[between(0, 10)];
    const TColor color = between(0, 9) == 0 ? clAqua : RGB(between(0, 255), between(0, 255), between(0, 255));
    std::unique_ptr<TBlock> s;
    if (kind == 'G')
        s = std::make_unique<TGeneralBlock>(between(0, spread), between(0, spread), between(0, 6), 0, 0, 0, color,
                                            true, false, between(0, 7) == 0, "parts.dat",
                                            parts[static_cast<size_t>(between(0, static_cast<int>(parts.size()) - 1))],
                                            "");
    else
        s = TBlockFactory::Create(kind, between(0, spread), between(0, spread), between(0, 6), between(1, 4),
                                  between(1, 4), between(1, 6), color, true, false, between(0, 7) == 0, "");
    for (int t = between(0, 3); t > 0; --t)
        s->TurnQuarter();
    s->Selected = between(0, 12) == 0;
    return s;
}
