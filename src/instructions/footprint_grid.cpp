#include "footprint_grid.h"

#include <algorithm>

#include "model/block.h"

int64_t TFootprintGrid::CellOf(int64_t v) {
    // Rounds down for negative places too.
    return v >= 0 ? v / kCell : -((-v + kCell - 1) / kCell);
}

uint64_t TFootprintGrid::Key(int64_t cx, int64_t cy) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(cx)) << 32) | static_cast<uint32_t>(cy);
}

TFootprintGrid::TFootprintGrid(const std::vector<const TBlock*>& stones, const std::vector<int>& members) {
    int most = 0;
    for (int i : members)
        most = std::max(most, i + 1);
    FSeen.assign(most, 0);
    for (int i : members) {
        const TBlock& s = *stones[i];
        const int64_t x0 = CellOf(s.X), x1 = CellOf(int64_t{s.X} + std::max(s.Length, 0));
        const int64_t y0 = CellOf(s.Y), y1 = CellOf(int64_t{s.Y} + std::max(s.Width, 0));
        if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMostCells) {
            FLarge.push_back(i);
            continue;
        }
        for (int64_t cx = x0; cx <= x1; ++cx)
            for (int64_t cy = y0; cy <= y1; ++cy)
                FCells[Key(cx, cy)].push_back(i);
    }
}

void TFootprintGrid::ForEachNear(int64_t x, int64_t y, int64_t length, int64_t width,
                                 const std::function<void(int)>& visit) const {
    if (++FQuery == 0) { // the stamps wrapped: start them afresh
        std::fill(FSeen.begin(), FSeen.end(), 0);
        FQuery = 1;
    }
    auto report = [&](int i) {
        if (FSeen[i] != FQuery) {
            FSeen[i] = FQuery;
            visit(i);
        }
    };
    for (int i : FLarge)
        report(i);
    const int64_t x0 = CellOf(x), x1 = CellOf(x + std::max<int64_t>(length, 0));
    const int64_t y0 = CellOf(y), y1 = CellOf(y + std::max<int64_t>(width, 0));
    if ((x1 - x0 + 1) * (y1 - y0 + 1) > int64_t{4} * static_cast<int64_t>(FCells.size()) + kMostCells) {
        // A rectangle wider than the filed stones: walking the filed cells is cheaper.
        for (const auto& [key, list] : FCells) {
            const int64_t cx = static_cast<int32_t>(key >> 32), cy = static_cast<int32_t>(key & 0xffffffffu);
            if (cx >= x0 && cx <= x1 && cy >= y0 && cy <= y1)
                for (int i : list)
                    report(i);
        }
        return;
    }
    for (int64_t cx = x0; cx <= x1; ++cx)
        for (int64_t cy = y0; cy <= y1; ++cy)
            if (auto it = FCells.find(Key(cx, cy)); it != FCells.end())
                for (int i : it->second)
                    report(i);
}
