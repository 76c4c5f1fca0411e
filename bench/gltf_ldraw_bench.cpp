// Exporting 100,000 stones to a binary glTF file and to an LDraw file: boxes
// of a few shapes and colours, turned every way, as a large model has them.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "export/model_export.h"
#include "model/block_factory.h"

namespace fs = std::filesystem;

namespace {

struct TBoxModel {
    std::vector<std::unique_ptr<TBlock>> Owned;
    std::vector<const TBlock*> Stones;
};

// Rows of boxes of four sizes in five colours, every seventh see-through.
const TBoxModel& Boxes() {
    static const TBoxModel model = [] {
        TBoxModel boxes;
        const int32_t sizes[4][3] = {{40, 20, 20}, {20, 20, 20}, {80, 20, 7}, {60, 40, 20}};
        const TColor colours[5] = {clRed, clBlue, clYellow, RGB(232, 229, 178), RGB(143, 146, 169)};
        for (int n = 0; n < 100'000; ++n) {
            const auto& size = sizes[n % 4];
            auto stone =
                TBlockFactory::Create('B', 0, 0, 0, 0, 0, 0, colours[n % 5], true, false, n % 7 == 0, "");
            stone->X = n % 300 * 80;
            stone->Y = n / 300 % 300 * 40;
            stone->Z = n / 90'000 * 20;
            stone->Length = size[0];
            stone->Width = size[1];
            stone->Height = size[2];
            for (int k = 0; k < n % 3; ++k)
                stone->TurnQuarter();
            boxes.Stones.push_back(stone.get());
            boxes.Owned.push_back(std::move(stone));
        }
        return boxes;
    }();
    return model;
}

fs::path Folder() {
    std::error_code error;
    const fs::path base =
        fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    return base / "stonemill-gltf-ldraw-bench";
}

template <typename Write> void Export(benchmark::State& state, const char* name, Write write) {
    const TBoxModel& model = Boxes();
    fs::create_directories(Folder());
    const fs::path file = Folder() / name;
    for (auto _ : state)
        write(model.Stones, file);
    std::error_code error;
    state.counters["stones"] = static_cast<double>(model.Stones.size());
    state.counters["MB"] = static_cast<double>(fs::file_size(file, error)) / 1e6;
    fs::remove_all(Folder(), error);
}

void BM_GltfBinary100k(benchmark::State& state) {
    Export(state, "boxes.glb", [](const std::vector<const TBlock*>& stones, const fs::path& file) {
        ExportStones(stones, file, {});
    });
}

void BM_LdrawModel100k(benchmark::State& state) {
    Export(state, "boxes.mpd", [](const std::vector<const TBlock*>& stones, const fs::path& file) {
        ExportStones(stones, file, {});
    });
}

} // namespace

BENCHMARK(BM_GltfBinary100k)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LdrawModel100k)->Iterations(3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
