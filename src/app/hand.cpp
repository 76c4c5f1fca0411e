#include "app/hand.h"

void THand::Make(std::unique_ptr<TBlock> stone) {
    FStone = std::move(stone);
    if (FStone)
        FStone->ExtraNumber = 0;
    Mode = THandMode::hmRepeat;
}

void THand::Drop() {
    FStone.reset();
    Mode = THandMode::hmRepeat;
}
