// Painter's-order sorting, sorted insertion and undo/redo on generated models.

#include <benchmark/benchmark.h>

#include <random>

#include "model/block_list.h"
#include "models.h"

namespace {

enum TModelKind { kTown, kTower };

std::vector<TBlock*> MakeModel(TModelKind kind, int count) {
    return kind == kTown ? MakeTown(count) : MakeTower(count);
}

// The model as a list sorted for octant 0, as it stands after loading.
void Fill(TBlockList& list, const std::vector<TBlock*>& stones) {
    list.SortedOctant = 0;
    for (TBlock* s : stones)
        list.InsertSorted(s);
    list.Sort(0, true);
}

void BM_SortAfterOctantChange(benchmark::State& state) {
    auto stones = MakeModel(static_cast<TModelKind>(state.range(0)), static_cast<int>(state.range(1)));
    const int target = static_cast<int>(state.range(2));
    TBlockList list;
    Fill(list, stones);
    for (auto _ : state) {
        state.PauseTiming();
        list.Sort(0, true);
        state.ResumeTiming();
        list.Sort(target, false);
        benchmark::DoNotOptimize(list[0]);
    }
    list.Clear();
    FreeStones(stones);
}

void BM_InsertSortedInFileOrder(benchmark::State& state) {
    auto stones = MakeModel(static_cast<TModelKind>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        TBlockList list;
        list.SortedOctant = 0;
        for (TBlock* s : stones)
            list.InsertSorted(s);
        benchmark::DoNotOptimize(list[0]);
        list.Clear();
    }
    FreeStones(stones);
}

// 1,000 recorded single-stone moves undone one step at a time, then redone.
void BM_UndoRedo1000(benchmark::State& state) {
    auto stones = MakeModel(static_cast<TModelKind>(state.range(0)), static_cast<int>(state.range(1)));
    TBlockList list;
    Fill(list, stones);
    std::mt19937 random(7);
    for (int i = 0; i < 1000; ++i) {
        int index = static_cast<int>(random() % static_cast<unsigned>(list.Count()));
        TBlock* s = list[index];
        list.RecordUndo('[', *s);
        list.Delete(index);
        s->X += 20;
        list.InsertSorted(s);
        list.RecordUndo(']', *s);
    }
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            list.Undo();
        for (int i = 0; i < 1000; ++i)
            list.Redo();
    }
    state.counters["steps"] = benchmark::Counter(2000.0 * static_cast<double>(state.iterations()));
    for (TBlock* s : list.Stones())
        delete s;
    list.Clear();
}

} // namespace

BENCHMARK(BM_SortAfterOctantChange)
    ->ArgNames({"model", "stones", "octant"})
    ->Args({kTown, 1000, 1})
    ->Args({kTown, 1000, 2})
    ->Args({kTown, 1000, 4})
    ->Args({kTown, 10000, 1})
    ->Args({kTown, 10000, 2})
    ->Args({kTown, 10000, 4})
    ->Args({kTower, 1000, 1})
    ->Args({kTower, 1000, 2})
    ->Args({kTower, 1000, 4})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertSortedInFileOrder)
    ->ArgNames({"model", "stones"})
    ->Args({kTown, 1000})
    ->Args({kTown, 10000})
    ->Args({kTower, 1000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedo1000)
    ->ArgNames({"model", "stones"})
    ->Args({kTown, 1000})
    ->Args({kTown, 10000})
    ->Args({kTower, 1000})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
