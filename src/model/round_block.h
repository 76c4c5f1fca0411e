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
    // The view draws the round sides as exact ellipses; as faces they are a
    // prism of Sides() sides, within a tenth of a unit of the ellipse.
    void ShapeFaces(TFaceSink& sink) const override;
    // Drawn unturned whatever its turn.
    int OwnTurn() const override { return 0; }
    // The sides for semi-axes of rx and ry units: a multiple of four, so the
    // prism touches its box on all four sides.
    static int Sides(double rx, double ry);

protected:
    std::unique_ptr<TBlock> NewOfSameClass() const override { return std::make_unique<TRoundBlock>(); }
};
