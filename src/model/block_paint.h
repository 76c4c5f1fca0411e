#pragma once
// What every stone does around drawing its faces: the colour preamble (fill,
// outline, selection, wireframe, see-through stones, edge darkening), the face
// colours of the shaded faces, and resetting the canvas afterwards.

#include <array>
#include <cstddef>

#include "common/color.h"
#include "common/point3d.h"
#include "platform/point.h"

class TBlock;
class TCanvas;
class TDrawObject;
class TRenderState;

// Face colour slots: vertical faces along local x (A) and local y (B), the
// horizontal faces (C), and the slopes rising from the local y-max, x-min,
// y-min and x-max sides (S1 to S4).
enum TFaceSlot { fsA, fsB, fsC, fsS1, fsS2, fsS3, fsS4 };
using TFaceColors = std::array<TColor, 7>;

// Sets the canvas up for the stone. Returns false when the stone is not drawn
// (no length). `shading` tells whether its faces take shaded colours.
bool BeginBlockPaint(const TBlock& stone, TCanvas& canvas, const TRenderState& view, bool& shading);
// Brush silver and solid, pen the black stone colour.
void EndBlockPaint(TCanvas& canvas, const TRenderState& view);

// The face colours of a stone of the given colour and turn, shaded; every slot
// holds the plain colour when shading is off.
TFaceColors MakeFaceColors(TColor color, int turn, bool shading, const TRenderState& view);

// Projects model points with the rows of a quarter turn and fills and outlines
// them as one polygon.
void DrawPolygon3D(TDrawObject& d, const TRenderState& view, const TPoint3D* points, int count,
                   int quarterTurn);
template <std::size_t N>
void DrawPolygon3D(TDrawObject& d, const TRenderState& view, const std::array<TPoint3D, N>& points,
                   int quarterTurn) {
    DrawPolygon3D(d, view, points.data(), static_cast<int>(N), quarterTurn);
}
