#include "models.h"

#include <cmath>

#include "model/block_factory.h"
#include "model/general_block.h"

namespace {

std::unique_ptr<TBlock> Brick(char kind, int x, int y, int z, int l, int w, int h, TColor color) {
    // Positions in grid modules and thirds, as a user places them.
    return TBlockFactory::Create(kind, x, y, z, l, w, h, color, true, false, false, "");
}

} // namespace

TStones MakeTown(int count) {
    TStones stones;
    const int houseLength = 8, houseWidth = 6, courses = 6, street = 3;
    const int perRow = 12;
    for (int house = 0; static_cast<int>(stones.size()) < count; ++house) {
        const int ox = (house % perRow) * (houseLength + street);
        const int oy = (house / perRow) * (houseWidth + street);
        const TColor wallColor = (house % 3 == 0) ? 0x3050C0 : (house % 3 == 1 ? 0xE0E0E0 : 0x5080A0);
        for (int course = 0; course < courses; ++course) {
            const int z = course * 3;
            const int shift = course % 2; // staggered joints
            for (int x = shift; x + 2 <= houseLength; x += 2) {
                stones.push_back(Brick('B', ox + x, oy, z, 2, 1, 3, wallColor));
                stones.push_back(Brick('B', ox + x, oy + houseWidth - 1, z, 2, 1, 3, wallColor));
            }
            for (int y = 1 + shift; y + 2 <= houseWidth - 1; y += 2) {
                stones.push_back(Brick('B', ox, oy + y, z, 1, 2, 3, wallColor));
                stones.push_back(Brick('B', ox + houseLength - 1, oy + y, z, 1, 2, 3, wallColor));
            }
        }
        for (int x = 0; x < houseLength; x += 2) {
            stones.push_back(Brick('T', ox + x, oy, courses * 3, 2, houseWidth / 2, 3, 0x2020A0));
            stones.push_back(
                Brick('T', ox + x, oy + houseWidth / 2, courses * 3, 2, houseWidth / 2, 3, 0x2020A0));
        }
    }
    while (static_cast<int>(stones.size()) > count)
        stones.pop_back();
    return stones;
}

TStones MakeTower(int count) {
    TStones stones;
    for (int course = 0; static_cast<int>(stones.size()) < count; ++course) {
        const int z = course * 3;
        if (course % 2 == 0) {
            stones.push_back(Brick('B', 0, 0, z, 3, 1, 3, 0xC0C0C0));
            stones.push_back(Brick('B', 3, 0, z, 1, 3, 3, 0xC0C0C0));
            stones.push_back(Brick('B', 1, 3, z, 3, 1, 3, 0xC0C0C0));
            stones.push_back(Brick('B', 0, 1, z, 1, 3, 3, 0xC0C0C0));
        } else {
            stones.push_back(Brick('B', 0, 0, z, 1, 3, 3, 0xA0A0A0));
            stones.push_back(Brick('B', 1, 0, z, 3, 1, 3, 0xA0A0A0));
            stones.push_back(Brick('B', 3, 1, z, 1, 3, 3, 0xA0A0A0));
            stones.push_back(Brick('B', 0, 3, z, 3, 1, 3, 0xA0A0A0));
        }
    }
    while (static_cast<int>(stones.size()) > count)
        stones.pop_back();
    return stones;
}

std::vector<TBlock*> Pointers(const TStones& stones) {
    std::vector<TBlock*> pointers;
    pointers.reserve(stones.size());
    for (const auto& s : stones)
        pointers.push_back(s.get());
    return pointers;
}

TStones MakeMixedScene(int count) {
    TStones stones;
    const int perSite = 10;
    const int sites = (count + perSite - 1) / perSite;
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(sites))));
    const char* parts[] = {"arch", "cylinder", "cone", "stair", "slope45", "sign"};
    for (int site = 0; static_cast<int>(stones.size()) < count; ++site) {
        const int ox = (site % side) * 6, oy = (site / side) * 6;
        const TColor color = RGB(60 + (site * 37) % 180, 60 + (site * 91) % 180, 60 + (site * 53) % 180);
        stones.push_back(Brick('B', ox, oy, 0, 4, 1, 3, color));
        stones.push_back(Brick('W', ox, oy + 3, 0, 2, 1, 6, 0xFFFFFF));
        stones.push_back(Brick('D', ox + 2, oy + 3, 0, 2, 1, 6, 0x2060A0));
        stones.push_back(Brick('R', ox + 4, oy, 0, 1, 1, 6, color));
        stones.push_back(Brick('B', ox, oy, 3, 4, 4, 1, color));
        stones.push_back(Brick('T', ox, oy, 4, 4, 2, 3, 0x2020A0));
        stones.push_back(Brick('N', ox, oy + 2, 4, 4, 2, 3, 0x2020A0));
        stones.push_back(Brick('O', ox + 4, oy + 2, 0, 1, 1, 3, 0x303030));
        stones.push_back(std::make_unique<TGeneralBlock>(ox + 1, oy + 4, 0, 0, 0, 0, color, true, false,
                                                         false, "parts.dat", parts[site % 6], ""));
        stones.push_back(Brick(site % 2 ? 'C' : 'E', ox + 4, oy + 4, 0, 2, 2, 3, 0x4040C0));
    }
    while (static_cast<int>(stones.size()) > count)
        stones.pop_back();
    return stones;
}
