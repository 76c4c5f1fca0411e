#pragma once
// A single stone drawn alone, as the palette shows it: seen from the start
// view's angles (tilt 70, turn 330 degrees) at a page's scale, with every
// detail, its centre in the middle of the picture.

class TBitmap;
class TBlock;
class TRenderState;

// Draws the stone over what the picture holds. The view's angles, scale,
// offsets, detail level and wireframe are changed only for the drawing and put
// back afterwards, also when drawing fails.
void DrawStonePreview(TBitmap& picture, const TBlock& stone, TRenderState& view, float scale);
