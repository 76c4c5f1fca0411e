#include "render/scene_bands.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "common/free_processors.h"
#include "common/worker_pool.h"
#include "model/block_list.h"
#include "model/block_paint.h"
#include "model/cut_state.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "raster/display_list.h"
#include "raster/draw_object.h"
#include "raster/fast_draw_32.h"
#include "view/render_state.h"

namespace {

std::atomic<int> gSceneThreads{0};
std::mutex gListsInUse;
std::vector<TDisplayList> gLists;

// Fewer stones than this are drawn on one thread: starting threads would cost more.
constexpr int kFewStones = 200;
// Beyond this many stones the recording takes hundreds of megabytes (up to
// about 450 bytes a stone while it grows), while drawing on one thread is
// nearly as quick: the million-stone town takes about 200 ms either way.
constexpr int kMostRecordedStones = 250000;

// The first row of each of `count` bands of rows top .. bottom with about
// equal work each, and bottom + 1 at the end.
std::vector<int> BandStarts(const std::vector<double>& work, int top, int bottom, int count) {
    double total = 0;
    for (int row = top; row <= bottom; ++row)
        total += work[static_cast<size_t>(row)];
    std::vector<int> starts{top};
    double done = 0;
    int row = top;
    for (int band = 1; band < count; ++band) {
        const double goal = total * band / count;
        while (row <= bottom && done + work[static_cast<size_t>(row)] <= goal)
            done += work[static_cast<size_t>(row++)];
        starts.push_back(std::max(row, starts.back()));
    }
    starts.push_back(bottom + 1);
    return starts;
}

} // namespace

void SetSceneThreads(int threads) {
    gSceneThreads = std::max(threads, 0);
}

int SceneThreads() {
    const int chosen = gSceneThreads;
    if (chosen > 0)
        return chosen;
    return std::clamp(FreeProcessors(), 1, 8);
}

bool RecordingPays(const TBlockList& model) {
    return model.Count() >= kFewStones && model.Count() <= kMostRecordedStones && SceneThreads() >= 2;
}

TStoneRecording::TStoneRecording() = default;
TStoneRecording::~TStoneRecording() = default;

bool TStoneRecording::Record(const TCanvas& start, int width, int height, TBlockList& model,
                             const TRenderState& view, int threads,
                             const std::function<void(int done, int total)>& progress) {
    for (const TBlock* stone : model.Stones())
        if (stone->DrawsOnCanvas(view))
            return false;
    FWidth = width;
    FHeight = std::max(height, 0);

    // Each run of stones is recorded with a canvas of its own. The first starts
    // with the picture's canvas; the others with the state every stone leaves.
    const int parts = std::min(std::max(threads, 1), model.Count());
    // The lists keep their memory from pass to pass: a large scene records
    // tens of megabytes, which would otherwise be mapped anew every time.
    if (!FReuse.owns_lock())
        FReuse = std::unique_lock<std::mutex>(gListsInUse, std::try_to_lock);
    FLists = FReuse.owns_lock() ? &gLists : &FOwnLists;
    std::vector<TDisplayList>& lists = *FLists;
    lists.resize(static_cast<size_t>(parts));
    for (TDisplayList& list : lists)
        list.Clear();
    std::vector<std::unique_ptr<TBitmap>> holders(static_cast<size_t>(parts));
    std::vector<char> drewAny(static_cast<size_t>(parts), 0);
    for (int part = 0; part < parts; ++part) {
        holders[static_cast<size_t>(part)] = std::make_unique<TBitmap>(1, 1, pf32bit);
        TCanvas& own = holders[static_cast<size_t>(part)]->Canvas();
        if (part == 0) {
            own.Pen.Color = start.Pen.Color;
            own.Brush.Color = start.Brush.Color;
            own.Brush.Style = start.Brush.Style;
            own.PenPos = start.PenPos;
        } else {
            EndBlockPaint(own, view);
        }
    }
    const std::vector<TBlock*>& stones = model.Stones();
    const int total = model.Count();
    std::atomic<int> recorded{0};
    std::vector<std::vector<double>> work(static_cast<size_t>(parts));
    RunOnWorkers(parts, [&](int part) {
        const size_t begin = stones.size() * static_cast<size_t>(part) / static_cast<size_t>(parts);
        const size_t end = stones.size() * static_cast<size_t>(part + 1) / static_cast<size_t>(parts);
        TBitmap& holder = *holders[static_cast<size_t>(part)];
        TDisplayList& list = lists[static_cast<size_t>(part)];
        TDrawObject d(holder, std::make_unique<TDisplayRecorder>(holder, width, FHeight, list));
        for (size_t i = begin; i < end; ++i) {
            if (!InCut(*stones[i]))
                continue;
            stones[i]->Draw(d, view);
            drewAny[static_cast<size_t>(part)] = 1;
            const int now = ++recorded;
            if (progress && part == 0 && now % 256 == 0)
                progress(now, total);
        }
        work[static_cast<size_t>(part)].assign(static_cast<size_t>(FHeight), 0.0);
        AddRowWork(list, work[static_cast<size_t>(part)]);
    });
    FWork.assign(static_cast<size_t>(FHeight), 0.0);
    for (const std::vector<double>& partWork : work)
        for (size_t row = 0; row < FWork.size(); ++row)
            FWork[row] += partWork[row];
    std::vector<TDisplayList*> order;
    for (TDisplayList& list : lists)
        order.push_back(&list);
    // A new rasteriser writes lines until its first polygon says otherwise.
    FEndPen = LinkParts(order, false, start.PenPos);
    FSetsColours = false;
    for (int part = parts - 1; part >= 0; --part) {
        if (!drewAny[static_cast<size_t>(part)])
            continue;
        const TCanvas& own = holders[static_cast<size_t>(part)]->Canvas();
        FSetsColours = true;
        FPenColor = own.Pen.Color;
        FBrushColor = own.Brush.Color;
        FBrushStyle = own.Brush.Style;
        break;
    }
    return true;
}

void TStoneRecording::Draw(TBitmap& bitmap, const TPictureBand& held,
                           const std::function<void(double done)>& progress) {
    std::vector<TDisplayList*> order;
    for (TDisplayList& list : *FLists)
        order.push_back(&list);
    // The bands: every rasteriser is made here, before the threads start.
    const int threads = SceneThreads();
    std::vector<std::unique_ptr<TFastDraw32>> bands;
    TFastDraw32 whole(bitmap, held);
    if (!order.empty() && whole.BandTop > whole.BandBottom) {
        // Only the bottom row, which the clip box leaves out: the canvas's ellipses alone reach it.
        ReplayParts(order, whole, progress);
    } else if (!order.empty() && static_cast<size_t>(whole.BandBottom) < FWork.size()) {
        const std::vector<int> starts = BandStarts(FWork, whole.BandTop, whole.BandBottom, threads);
        for (int band = 0; band < threads; ++band) {
            auto rasteriser = std::make_unique<TFastDraw32>(bitmap, held);
            rasteriser->BandTop = starts[static_cast<size_t>(band)];
            rasteriser->BandBottom = starts[static_cast<size_t>(band) + 1] - 1;
            bands.push_back(std::move(rasteriser));
        }
        RunOnWorkers(threads, [&](int band) {
            TFastDraw32& rasteriser = *bands[static_cast<size_t>(band)];
            if (rasteriser.BandTop > rasteriser.BandBottom)
                return;
            if (progress && band == 0)
                ReplayParts(order, rasteriser, progress);
            else
                ReplayParts(order, rasteriser);
        });
    }
    TCanvas& canvas = bitmap.Canvas();
    canvas.PenPos = FEndPen;
    if (FSetsColours) {
        canvas.Pen.Color = FPenColor;
        canvas.Brush.Color = FBrushColor;
        canvas.Brush.Style = FBrushStyle;
    }
}

bool DrawStonesInBands(TBitmap& picture, TBlockList& model, const TRenderState& view,
                       const std::function<void(int done, int total)>& progress) {
    const int threads = SceneThreads();
    if (!RecordingPays(model) || picture.PixelFormat() != pf32bit || picture.Height() < 3)
        return false;
    // Recording takes about half the pass, drawing the bands the other half.
    const int total = model.Count();
    std::function<void(int, int)> recorded;
    std::function<void(double)> drawn;
    if (progress) {
        recorded = [&](int done, int) { progress(done / 2, total); };
        drawn = [&](double done) {
            progress(total / 2 + static_cast<int>(done * (total - total / 2)), total);
        };
    }
    TStoneRecording recording;
    if (!recording.Record(picture.Canvas(), picture.Width(), picture.Height(), model, view, threads,
                          recorded))
        return false;
    recording.Draw(picture, TPictureBand{}, drawn);
    if (progress)
        progress(total, total);
    return true;
}
