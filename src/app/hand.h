#pragma once
// The stone in hand: the one stone, not part of the model, that the user
// holds to place. With a pending subassembly (a model to insert, or stones
// lifted or copied from the model) the stone in hand is its proxy, a plain
// block the size of the subassembly's box, and the subassembly's stones go
// into the model together. The hand mode says what a placement leaves in the
// hand: repeat keeps a fresh copy, move empties it.

#include <cstdint>
#include <memory>

#include "common/units.h"
#include "files/model_file_reader.h"
#include "model/block.h"
#include "model/block_list.h"
#include "platform/point.h"

class TRenderState;

enum class THandMode { hmRepeat, hmMove };

class THand {
public:
    THand() = default;
    THand(const THand&) = delete;
    THand& operator=(const THand&) = delete;

    TBlock* Stone() const { return FStone.get(); }
    bool Holding() const { return FStone != nullptr; }
    // The stones of a pending subassembly (empty when there is none).
    TOwnedBlockList& Pending() { return FPending; }
    const TOwnedBlockList& Pending() const { return FPending; }
    bool HoldsSubassembly() const { return FPending.Count() > 0; }

    // The stone becomes the stone in hand (the previous one is freed), with
    // Extra number 0, in hand mode repeat.
    void Make(std::unique_ptr<TBlock> stone);
    // The pending stones' proxy from their box becomes the stone in hand;
    // nothing when the box is empty.
    void MakeProxy(const TSubassemblyBox& box);
    // Empties the hand and frees the pending stones; the mode returns to repeat.
    void Drop();
    // Takes the stone out of the hand, which is then empty.
    std::unique_ptr<TBlock> Release() { return std::move(FStone); }
    // The stone is held from now on, keeping the hand mode and its Extra number.
    void Keep(std::unique_ptr<TBlock> stone) { FStone = std::move(stone); }

    THandMode Mode = THandMode::hmRepeat;
    // Where the last stone was placed; a stone taken from the palette starts there.
    int32_t LastX = 0, LastY = 0, LastZ = 0;
    TGridResolution Grid = grQuarter;
    bool SafePositioning = true;

    // The grid step in units, horizontal and vertical alike.
    int32_t GridStep() const;
    // The highest top of the displayed stones whose footprint overlaps the
    // rectangle [x, x + length) x [y, y + width) (touching edges do not), or 0.
    static int32_t SupportHeight(const TBlockList& model, int32_t x, int32_t y, int32_t length,
                                 int32_t width);
    // Puts the stone in hand at the ground point under the screen point,
    // snapped to the grid, resting on the stones below it with safe
    // positioning or at its own height snapped to the height grid without.
    // Returns whether its place changed.
    bool PositionAt(const TRenderState& view, const TBlockList& model, int sx, int sy);
    // With safe positioning the stone in hand rests on the stones below it.
    void Settle(const TBlockList& model);

    // A quarter turn; a subassembly turns as a whole.
    void Turn();
    // A plain block in hand tips over: its extents rotate.
    void Tilt();
    // A subassembly is mirrored along x.
    void Mirror();

    // Moves the pending stones so that their lowest corner lies at the stone in
    // hand's place and sorts them for the octant, as they are drawn and placed.
    void AlignPending(int octant);
    // Draws the stone in hand, or the pending stones, at its place.
    void Draw(TDrawObject& d, const TRenderState& view);
    // The part of the picture that Draw can touch.
    TRect DrawnRect(const TRenderState& view) const;

private:
    std::unique_ptr<TBlock> FStone;
    TOwnedBlockList FPending;
};
