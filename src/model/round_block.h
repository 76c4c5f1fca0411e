#pragma once
// TRoundBlock: a round stone standing in its box; turning it changes nothing.

#include <utility>

#include "model/block.h"

class TRoundBlock : public TBlock {
public:
    template <class... Args> explicit TRoundBlock(Args&&... args) : TBlock(std::forward<Args>(args)...) {
        Kind = 'R';
    }
    void TurnQuarter() override {}
    // A cylinder standing on the footprint, drawn with screen-aligned ellipses.
    void Draw(TDrawObject& d, const TRenderState& view) const override;

protected:
    TBlock* NewOfSameClass() const override { return new TRoundBlock(); }
};
