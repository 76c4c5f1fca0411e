// The painter's-order sort of large towns on the compact boxes, as a loaded
// model gets it before its first picture (the octant it was saved for) and
// after a turn of the view to another octant; and how the passes share the
// ring: bundle is the passes that go round it together.

#include <benchmark/benchmark.h>

#include "model/block_list.h"
#include "model/painter_order.h"
#include "models.h"

namespace {

void BM_SortTown(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int octant = static_cast<int>(state.range(1));
    TOwnedBlockList list;
    list.SortedOctant = 0;
    list.InsertAllSorted(MakeTown(count));
    TCompactBoxes boxes;
    if (!CompactBoxes(list.Stones(), octant, boxes)) {
        state.SkipWithError("the town does not fit in 32 bits");
        return;
    }
    TSortShape shape;
    if (state.range(2) > 0)
        shape.BundlePasses = static_cast<size_t>(state.range(2));
    shape.Threads = static_cast<unsigned>(state.range(3));
    for (auto _ : state)
        benchmark::DoNotOptimize(SortCompactBoxes(boxes, shape));
}

} // namespace

BENCHMARK(BM_SortTown)
    ->ArgNames({"stones", "octant", "bundle", "threads"})
    ->ArgsProduct({{10000, 100000}, {0, 1}, {0}, {1, 2}})
    ->Args({1000000, 0, 0, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_SortTown)
    ->ArgNames({"stones", "octant", "bundle", "threads"})
    ->ArgsProduct({{100000}, {0}, {1, 64, 1024}, {1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
