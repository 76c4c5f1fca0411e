// The parts list of 100,000 stones of every kind in many colours, as a model
// read from its file holds them (each stone with its caption): counting the
// stones into rows, and that with the CSV and the set file's text made.

#include <benchmark/benchmark.h>

#include <span>

#include "export/parts_list.h"
#include "export/parts_list_files.h"
#include "files/caption_rule.h"
#include "models.h"
#include "platform/data_folders.h"

namespace {

const TStones& Scene() {
    static const TStones stones = [] {
        SetProgramFolder(STONEMILL_PROGRAM_DIR);
        TStones made = MakeMixedScene(100'000);
        for (auto& stone : made)
            stone->Caption = StoneCaption(*stone);
        return made;
    }();
    return stones;
}

void BM_MakePartsList(benchmark::State& state) {
    const std::vector<TBlock*> stones = Pointers(Scene());
    const TPartsNaming naming;
    size_t rows = 0;
    for (auto _ : state) {
        const TPartsList list =
            MakePartsList(std::span<const TBlock* const>(stones.data(), stones.size()), naming);
        rows = list.Rows.size();
        if (state.range(0) != 0) {
            const std::string csv = PartsCsvText(list);
            const std::string set = PartsSetText(list);
            benchmark::DoNotOptimize(csv.data());
            benchmark::DoNotOptimize(set.data());
        }
    }
    state.counters["stones"] = static_cast<double>(stones.size());
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_MakePartsList)->Arg(0)->Arg(1)->ArgName("with_files")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
