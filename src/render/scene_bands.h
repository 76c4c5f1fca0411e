#pragma once
// The stones of a drawing pass drawn on several threads: the stones are
// recorded in consecutive runs, one thread each, as the polygons and lines
// they draw, and the picture is then drawn in horizontal bands of equal work,
// one thread each. The picture comes out exactly as when drawn on one thread.

#include <functional>

class TBitmap;
class TBlockList;
class TCanvas;
class TRenderState;

// The threads a pass uses: 0 (the start) takes one per processor, at most 8.
void SetSceneThreads(int threads);
int SceneThreads();

// Draws every stone that passes the cut test into the 32-bit picture, whose
// canvas ends as drawing on one thread leaves it. Returns false, drawing
// nothing, where the pass runs better or only on one thread: one thread, few
// stones, another pixel format, or stones that draw on the canvas itself.
// Progress, when given, is told now and then on this thread how far the pass
// has come, in stones of all stones.
bool DrawStonesInBands(TBitmap& picture, TBlockList& model, const TRenderState& view,
                       const std::function<void(int done, int total)>& progress = nullptr);
