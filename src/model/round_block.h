#pragma once
// TRoundBlock: a round stone standing in its box; turning it changes nothing.

#include <memory>
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
    std::unique_ptr<TBlock> NewOfSameClass() const override { return std::make_unique<TRoundBlock>(); }
};
