#pragma once
// TGeneralBlock: a stone whose shape is a part definition from the library.

#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/point.h"

#include "model/block.h"

class TGeneralBlock : public TBlock {
public:
    // The shared constructor's arguments with the library file and part name
    // before the label; the extents then come from the definition.
    TGeneralBlock(int32_t x, int32_t y, int32_t z, int32_t length, int32_t width, int32_t height,
                  TColor color, bool tag, bool basePlate, bool transparent, const std::string& fileName,
                  const std::string& partName, const std::string& name);

    void SetPart(const std::string& fileName, const std::string& partName) override;
    // Moves by the definition's turn offset for the current turn, then turns.
    void TurnQuarter() override;
    std::string ToString() const override;
    // Draws the part's polygons in the painting order of the part octant.
    void Draw(TDrawObject& d, const TRenderState& view) const override;
    // Pictures laid on a polygon (at the highest detail) read the picture back.
    bool DrawsOnCanvas(const TRenderState& view) const override;
    // The part's polygons drawn at every detail level, of three points at
    // least: decorations, drawn only at a higher detail, are marks and lines
    // on the surface rather than part of it. The polygon with the picture
    // comes as the picture face.
    void ShapeFaces(TFaceSink& sink) const override;

protected:
    friend class TBlockFactory;
    void DrawPartPolygon(int polygon, TDrawObject& d, const TRenderState& view, bool shading) const;
    void LayBitmap(TDrawObject& d, const TRenderState& view, std::span<const TPoint> screen) const;

    TGeneralBlock() { Kind = 'G'; }
    std::unique_ptr<TBlock> NewOfSameClass() const override {
        return std::unique_ptr<TBlock>(new TGeneralBlock());
    }
};
