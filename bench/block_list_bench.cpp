// Painter's-order sorting, sorted insertion and undo/redo on generated models.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "model/block_list.h"
#include "models.h"

namespace {

enum TModelKind { kTown, kTower };

TStones MakeModel(TModelKind kind, int count) {
    return kind == kTown ? MakeTown(count) : MakeTower(count);
}

// The model as a list sorted for octant 0, as it stands after loading.
void Fill(TOwnedBlockList& list, TStones stones) {
    list.SortedOctant = 0;
    for (auto& s : stones)
        list.InsertSorted(std::move(s));
    list.Sort(0, true);
}

// method 0: the list's sort (a ring of compact boxes); 1: the earlier passes
// exchanging pair by pair, for comparison. Both give the same order.
void BM_SortAfterOctantChange(benchmark::State& state) {
    const int target = static_cast<int>(state.range(2));
    const bool earlier = state.range(3) == 1;
    TOwnedBlockList list;
    Fill(list, MakeModel(static_cast<TModelKind>(state.range(0)), static_cast<int>(state.range(1))));
    const std::vector<TBlock*> start = list.Stones();
    std::vector<TBlock*> items;
    for (auto _ : state) {
        items = start;
        if (earlier)
            SortWithExchanges(items, target);
        else
            SortForOctant(items, target);
        benchmark::DoNotOptimize(items[0]);
    }
}

// method 0: all stones inserted at once, as a model file is read; 1: one
// after another by the backward walk, as before. Both give the same order.
void BM_InsertSortedInFileOrder(benchmark::State& state) {
    const TStones owned =
        MakeModel(static_cast<TModelKind>(state.range(0)), static_cast<int>(state.range(1)));
    const std::vector<TBlock*> stones = Pointers(owned);
    const bool earlier = state.range(2) == 1;
    for (auto _ : state) {
        std::vector<TBlock*> items;
        if (earlier)
            InsertOneByOne(items, stones, 0);
        else
            InsertEachSorted(items, stones, 0);
        benchmark::DoNotOptimize(items[0]);
    }
}

// 1,000 recorded single-stone moves undone one step at a time, then redone.
void BM_UndoRedo1000(benchmark::State& state) {
    TOwnedBlockList list;
    Fill(list, MakeModel(static_cast<TModelKind>(state.range(0)), static_cast<int>(state.range(1))));
    std::mt19937 random(7);
    for (int i = 0; i < 1000; ++i) {
        int index = static_cast<int>(random() % static_cast<unsigned>(list.Count()));
        TBlock* s = list[index];
        list.RecordUndo('[', *s);
        std::unique_ptr<TBlock> moved = list.Release(index);
        moved->X += 20;
        list.InsertSorted(std::move(moved));
        list.RecordUndo(']', *s);
    }
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            list.Undo();
        for (int i = 0; i < 1000; ++i)
            list.Redo();
    }
    state.counters["steps"] = benchmark::Counter(2000.0 * static_cast<double>(state.iterations()));
}

} // namespace

BENCHMARK(BM_SortAfterOctantChange)
    ->ArgNames({"model", "stones", "octant", "earlier"})
    ->ArgsProduct({{kTown}, {1000, 10000}, {1, 2, 4}, {0, 1}})
    ->ArgsProduct({{kTower}, {1000, 10000}, {1, 2, 4}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertSortedInFileOrder)
    ->ArgNames({"model", "stones", "earlier"})
    ->ArgsProduct({{kTown}, {1000, 10000, 100000}, {0, 1}})
    ->ArgsProduct({{kTower}, {1000, 10000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedo1000)
    ->ArgNames({"model", "stones"})
    ->Args({kTown, 1000})
    ->Args({kTown, 10000})
    ->Args({kTower, 1000})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
