// Exporting a model of 100,000 box stones to each file format: the time of
// the whole export, shapes built and the file written.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "export/model_export.h"
#include "model/block.h"

namespace fs = std::filesystem;

namespace {

// Boxes of a few sizes and colours in courses on a square, some turned, some see-through.
std::vector<std::unique_ptr<TBlock>> MakeBoxes(int count) {
    const TColor colors[] = {clRed, clBlue, clYellow, clWhite, clGray, clGreen, clNavy, clMaroon};
    std::vector<std::unique_ptr<TBlock>> stones;
    for (int k = 0; k < count; ++k) {
        const int32_t length = 20 * (1 + k % 4), width = 20 * (1 + k % 2), height = k % 3 == 0 ? 6 : 20;
        auto stone = std::make_unique<TBlock>(0, 0, 0, 0, 0, 0, colors[k % 8], false, false, k % 17 == 0, "");
        stone->X = (k % 100) * 100;
        stone->Y = (k / 100 % 100) * 60;
        stone->Z = (k / 10000) * 20;
        stone->Length = length;
        stone->Width = width;
        stone->Height = height;
        if (k % 5 == 0)
            stone->TurnQuarter();
        stones.push_back(std::move(stone));
    }
    return stones;
}

void BM_Export(benchmark::State& state, const char* extension) {
    const auto stones = MakeBoxes(static_cast<int>(state.range(0)));
    std::vector<const TBlock*> pointers;
    for (const auto& stone : stones)
        pointers.push_back(stone.get());
    std::error_code error;
    const fs::path base =
        fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path folder = base / "stonemill-export-bench";
    fs::create_directories(folder);
    const fs::path file = folder / (std::string("model") + extension);
    for (auto _ : state)
        ExportStones(pointers, file, {});
    state.counters["stones"] = static_cast<double>(stones.size());
    state.counters["MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
    fs::remove_all(folder, error);
}

} // namespace

BENCHMARK_CAPTURE(BM_Export, obj, ".obj")->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, stl, ".stl")->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, threemf, ".3mf")->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
