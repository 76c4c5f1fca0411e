#pragma once
// The rectangles and ellipses of a canvas, painted onto a painter: a box of
// at most two pixels across is filled with the pen colour; a larger one is
// outlined with the pen and filled with the brush, its right and bottom
// bounds outside it. Shared by the canvas and by band canvases, so that both
// paint the same pixels.

#include "common/color.h"
#include "platform/canvas.h"

class QPainter;

void PaintBoxShape(QPainter& p, int x1, int y1, int x2, int y2, TColor pen, const TBrush& brush,
                   bool ellipse);
