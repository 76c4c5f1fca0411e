#include "models.h"

#include "model/block_factory.h"

namespace {

TBlock* Brick(char kind, int x, int y, int z, int l, int w, int h, TColor color) {
    // Positions in grid modules and thirds, as a user places them.
    return TBlockFactory::Create(kind, x, y, z, l, w, h, color, true, false, false, "");
}

} // namespace

std::vector<TBlock*> MakeTown(int count) {
    std::vector<TBlock*> stones;
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
    while (static_cast<int>(stones.size()) > count) {
        delete stones.back();
        stones.pop_back();
    }
    return stones;
}

std::vector<TBlock*> MakeTower(int count) {
    std::vector<TBlock*> stones;
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
    while (static_cast<int>(stones.size()) > count) {
        delete stones.back();
        stones.pop_back();
    }
    return stones;
}

void FreeStones(std::vector<TBlock*>& stones) {
    for (TBlock* s : stones)
        delete s;
    stones.clear();
}
