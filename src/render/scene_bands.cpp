#include "render/scene_bands.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

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
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
}

bool DrawStonesInBands(TBitmap& picture, TBlockList& model, const TRenderState& view,
                       const std::function<void(int done, int total)>& progress) {
    const int threads = SceneThreads();
    const int width = picture.Width(), height = picture.Height();
    if (threads < 2 || model.Count() < kFewStones || picture.PixelFormat() != pf32bit || height < 3)
        return false;
    for (const TBlock* stone : model.Stones())
        if (stone->DrawsOnCanvas(view))
            return false;

    // Each run of stones is recorded with a canvas of its own. The first starts
    // with the picture's canvas; the others with the state every stone leaves.
    TCanvas& canvas = picture.Canvas();
    const int parts = std::min(threads, model.Count());
    // The lists keep their memory from pass to pass: a large scene records
    // tens of megabytes, which would otherwise be mapped anew every time.
    std::unique_lock<std::mutex> reuse(gListsInUse, std::try_to_lock);
    std::vector<TDisplayList> ownLists;
    std::vector<TDisplayList>& lists = reuse.owns_lock() ? gLists : ownLists;
    lists.resize(static_cast<size_t>(parts));
    for (TDisplayList& list : lists)
        list.Clear();
    std::vector<std::unique_ptr<TBitmap>> holders(static_cast<size_t>(parts));
    std::vector<char> drewAny(static_cast<size_t>(parts), 0);
    for (int part = 0; part < parts; ++part) {
        holders[static_cast<size_t>(part)] = std::make_unique<TBitmap>(1, 1, pf32bit);
        TCanvas& own = holders[static_cast<size_t>(part)]->Canvas();
        if (part == 0) {
            own.Pen.Color = canvas.Pen.Color;
            own.Brush.Color = canvas.Brush.Color;
            own.Brush.Style = canvas.Brush.Style;
            own.PenPos = canvas.PenPos;
        } else {
            EndBlockPaint(own, view);
        }
    }
    const std::vector<TBlock*>& stones = model.Stones();
    // Recording takes about half the pass, drawing the bands the other half.
    const int total = model.Count();
    std::atomic<int> recorded{0};
    std::vector<std::vector<double>> work(static_cast<size_t>(parts));
    RunOnWorkers(parts, [&](int part) {
        const size_t begin = stones.size() * static_cast<size_t>(part) / static_cast<size_t>(parts);
        const size_t end = stones.size() * static_cast<size_t>(part + 1) / static_cast<size_t>(parts);
        TBitmap& holder = *holders[static_cast<size_t>(part)];
        TDisplayList& list = lists[static_cast<size_t>(part)];
        TDrawObject d(holder, std::make_unique<TDisplayRecorder>(holder, width, height, list));
        for (size_t i = begin; i < end; ++i) {
            if (!InCut(*stones[i]))
                continue;
            stones[i]->Draw(d, view);
            drewAny[static_cast<size_t>(part)] = 1;
            const int now = ++recorded;
            if (progress && part == 0 && now % 256 == 0)
                progress(now / 2, total);
        }
        work[static_cast<size_t>(part)].assign(static_cast<size_t>(height), 0.0);
        AddRowWork(list, work[static_cast<size_t>(part)]);
    });
    for (int part = 1; part < parts; ++part)
        for (int row = 0; row < height; ++row)
            work[0][static_cast<size_t>(row)] += work[static_cast<size_t>(part)][static_cast<size_t>(row)];
    std::vector<TDisplayList*> order;
    for (TDisplayList& list : lists)
        order.push_back(&list);
    // A new rasteriser writes lines until its first polygon says otherwise.
    canvas.PenPos = LinkParts(order, false, canvas.PenPos);
    for (int part = parts - 1; part >= 0; --part) {
        if (!drewAny[static_cast<size_t>(part)])
            continue;
        const TCanvas& own = holders[static_cast<size_t>(part)]->Canvas();
        canvas.Pen.Color = own.Pen.Color;
        canvas.Brush.Color = own.Brush.Color;
        canvas.Brush.Style = own.Brush.Style;
        break;
    }

    // The bands: every rasteriser is made here, before the threads start.
    std::vector<std::unique_ptr<TFastDraw32>> bands;
    const TFastDraw32 whole(picture);
    const std::vector<int> starts = BandStarts(work[0], whole.Top, whole.Bottom, threads);
    for (int band = 0; band < threads; ++band) {
        auto rasteriser = std::make_unique<TFastDraw32>(picture);
        rasteriser->BandTop = starts[static_cast<size_t>(band)];
        rasteriser->BandBottom = starts[static_cast<size_t>(band) + 1] - 1;
        bands.push_back(std::move(rasteriser));
    }
    RunOnWorkers(threads, [&](int band) {
        TFastDraw32& rasteriser = *bands[static_cast<size_t>(band)];
        if (rasteriser.BandTop > rasteriser.BandBottom)
            return;
        if (progress && band == 0)
            ReplayParts(order, rasteriser, [&](double done) {
                progress(total / 2 + static_cast<int>(done * (total - total / 2)), total);
            });
        else
            ReplayParts(order, rasteriser);
    });
    if (progress)
        progress(total, total);
    return true;
}
