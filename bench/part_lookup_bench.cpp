// Loading every part of one large library file: 50, 100 and 200 sections of
// 5,000 points each, found one after the other as a model's stones ask for
// them. The file is read once, so the time grows with the sections.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "partlib/part_registry.h"
#include "platform/data_folders.h"

namespace fs = std::filesystem;

namespace {

// A program folder in memory where the system offers it, holding
// parts/big.dat of the given sections.
fs::path LibraryOf(int sections) {
    std::error_code error;
    const fs::path base =
        fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path folder = base / ("stonemill-part-lookup-" + std::to_string(sections));
    fs::create_directories(folder / "parts");
    std::ofstream file(folder / "parts" / "big.dat");
    for (int s = 0; s < sections; ++s) {
        file << "[a" << s << "]\nNP=1\nBB=20,20,20\nP1=5000, 1";
        for (int i = 0; i < 5000; ++i)
            file << ',' << i % 20 << ',' << i * 7 % 20 << ',' << i * 3 % 20;
        file << "\n\n";
    }
    return folder;
}

void BM_FindEveryPartOfOneFile(benchmark::State& state) {
    const int sections = static_cast<int>(state.range(0));
    const fs::path folder = LibraryOf(sections);
    SetProgramFolder(folder);
    for (auto _ : state) {
        TPartRegistry::Instance().Clear();
        for (int s = 0; s < sections; ++s)
            benchmark::DoNotOptimize(FindPart("big.dat", "a" + std::to_string(s)));
    }
    TPartRegistry::Instance().Clear();
    fs::remove_all(folder);
    state.counters["sections"] = sections;
}

} // namespace

BENCHMARK(BM_FindEveryPartOfOneFile)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
