// Breaking up a scene of many groups: splitting its lines into one file per
// group, and the whole break-up with the files written.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "common/error.h"
#include "files/scene_break_up.h"

namespace fs = std::filesystem;

namespace {

// A scene of `groups` groups of two stones each, laid as a builder lays them:
// one stone of every group, then the second stone of every group.
TStringList SceneOfGroups(int groups) {
    TStringList lines{"= 70 330 20 0 0 0 1"};
    for (int course = 0; course < 2; ++course)
        for (int group = 1; group <= groups; ++group)
            lines.push_back(StrFormat("B %d %d %d 40 20 20 255 1 0 0 0 %d stone_%d 0", group % 100 * 40,
                                      group / 100 * 20, course * 20, group, group));
    return lines;
}

void BM_SplitSceneLines(benchmark::State& state) {
    const TStringList scene = SceneOfGroups(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<TStringList> files = SplitSceneLines(scene);
        benchmark::DoNotOptimize(files.data());
    }
    state.counters["lines"] = static_cast<double>(scene.size());
}

// The whole break-up, the files written to a folder in memory where the
// system offers one.
void BM_BreakUpScene(benchmark::State& state) {
    std::error_code error;
    const fs::path base =
        fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path folder = base / "stonemill-break-up-bench";
    fs::create_directories(folder);
    const fs::path scene = folder / "scene.stm";
    SaveLines(scene, SceneOfGroups(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        std::optional<TBreakUpResult> result = BreakUpScene(scene.string());
        benchmark::DoNotOptimize(result);
    }
    fs::remove_all(folder, error);
}

} // namespace

BENCHMARK(BM_SplitSceneLines)->Arg(20000)->Arg(40000)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BreakUpScene)->Arg(20000)->Arg(80000)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
