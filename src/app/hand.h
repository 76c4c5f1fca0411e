#pragma once
// The stone in hand: the one stone, not part of the model, that the user
// holds to place, taken from the palette. The hand mode says what a placement
// leaves in it: repeat keeps a fresh copy, move empties it.

#include <cstdint>
#include <memory>

#include "model/block.h"

enum class THandMode { hmRepeat, hmMove };

class THand {
public:
    TBlock* Stone() const { return FStone.get(); }
    bool Holding() const { return FStone != nullptr; }
    // The stone becomes the stone in hand (the previous one is freed), with
    // Extra number 0, in hand mode repeat.
    void Make(std::unique_ptr<TBlock> stone);
    void Drop();

    THandMode Mode = THandMode::hmRepeat;
    // Where the last stone was placed; a stone taken from the palette starts there.
    int32_t LastX = 0, LastY = 0, LastZ = 0;

private:
    std::unique_ptr<TBlock> FStone;
};
