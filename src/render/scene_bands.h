#pragma once
// The stones of a drawing pass drawn on several threads: the stones are
// recorded in consecutive runs, one thread each, as the polygons and lines
// they draw, and the picture is then drawn in horizontal bands of equal work,
// one thread each. The picture comes out exactly as when drawn on one thread.

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "common/color.h"
#include "platform/canvas.h"
#include "platform/point.h"
#include "raster/display_list.h"
#include "raster/fast_draw.h"

class TBitmap;
class TBlockList;
class TRenderState;

// The threads a pass uses: 0 (the start) takes one per processor that other
// programs leave free, at most 8.
void SetSceneThreads(int threads);
int SceneThreads();

// Whether a pass over the model is quicker recorded and drawn on several
// threads than drawn on one: several free threads, and enough stones but not
// so many that the recording would hold more memory than the model.
bool RecordingPays(const TBlockList& model);

// The stones of a pass recorded once, as drawn into a 32-bit picture of a
// given size, and drawn afterwards into the picture or into any band of its
// rows, each time with the pixels drawing the stones there on one thread gives.
class TStoneRecording {
public:
    TStoneRecording();
    ~TStoneRecording();
    TStoneRecording(const TStoneRecording&) = delete;
    TStoneRecording& operator=(const TStoneRecording&) = delete;

    // Records every stone that passes the cut test, on `threads` threads, as
    // drawn into a picture of width x height whose canvas starts as `start`
    // is. Returns false, recording nothing, where stones draw on the canvas
    // itself. Progress, when given, is told now and then on this thread the
    // stones recorded of all stones.
    bool Record(const TCanvas& start, int width, int height, TBlockList& model, const TRenderState& view,
                int threads, const std::function<void(int done, int total)>& progress = nullptr);
    // Draws what was recorded into the 32-bit bitmap, which holds the rows
    // `held` of the picture (all of them unless told), on every thread; the
    // bitmap's canvas ends as drawing the stones on one thread leaves it.
    // Progress, when given, is told now and then the share drawn, 0 .. 1.
    void Draw(TBitmap& bitmap, const TPictureBand& held = {},
              const std::function<void(double done)>& progress = nullptr);

private:
    std::unique_lock<std::mutex> FReuse;
    std::vector<TDisplayList> FOwnLists;
    std::vector<TDisplayList>* FLists = &FOwnLists;
    std::vector<double> FWork; // per row of the picture
    int FWidth = 0, FHeight = 0;
    // How the canvas ends: the pen position, and the colours of the last
    // run that drew anything.
    TPoint FEndPen;
    bool FSetsColours = false;
    TColor FPenColor = clBlack, FBrushColor = clWhite;
    TBrushStyle FBrushStyle = bsSolid;
};

// Draws every stone that passes the cut test into the 32-bit picture, whose
// canvas ends as drawing on one thread leaves it. Returns false, drawing
// nothing, where the pass runs better or only on one thread: one thread, few
// stones, another pixel format, or stones that draw on the canvas itself.
// Progress, when given, is told now and then on this thread how far the pass
// has come, in stones of all stones.
bool DrawStonesInBands(TBitmap& picture, TBlockList& model, const TRenderState& view,
                       const std::function<void(int done, int total)>& progress = nullptr);
