// Planning the building steps of a generated town.

#include <benchmark/benchmark.h>

#include "instructions/build_steps.h"
#include "models.h"

namespace {

void BM_PlanBuildSteps(benchmark::State& state) {
    const TStones town = MakeTown(static_cast<int>(state.range(0)));
    const std::vector<TBlock*> pointers = Pointers(town);
    const std::vector<const TBlock*> stones(pointers.begin(), pointers.end());
    for (auto _ : state)
        benchmark::DoNotOptimize(PlanBuildSteps(stones));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PlanBuildSteps)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
