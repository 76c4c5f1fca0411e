#pragma once
// Printing the scene on one page: the view at a whole multiple of its scale
// so that it fills the page's width, inside a frame with the model's file name.

#include <string>

class TBlockList;
class TCanvas;
class TRenderState;

struct TPrintPage {
    int Width = 0, Height = 0; // the page in device pixels
    int ViewWidth = 0;         // the view's width in pixels
    int OffsetX = 0, OffsetY = 0; // the offset scroll bars' positions
    std::string FileName;      // the model's full file name
};

// Draws the page on the canvas: a white rectangle inside margins of 3 % of
// the page's width (twice that on the left) with the file name at its corner,
// and every stone inside the cut, seen as in the view at k times its scale,
// k being how many times the view's width fits the page's (a fraction of it
// on a page narrower than the view). The view's scale and offsets are
// restored afterwards, also on failure.
void PrintScene(TCanvas& canvas, const TPrintPage& page, TBlockList& model, TRenderState& view);
