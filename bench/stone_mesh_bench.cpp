// Closed meshes of 100,000 stones of every kind, as an export builds them:
// each distinct shape once through the shape catalogue, every stone as its
// placement applied to its shape's points.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include "export/stone_mesh.h"
#include "models.h"
#include "platform/data_folders.h"

namespace {

// The mixed scene with its stones turned every which way.
TStones TurnedScene(int count) {
    TStones stones = MakeMixedScene(count);
    for (size_t k = 0; k < stones.size(); ++k)
        for (size_t turn = 0; turn < k % 4; ++turn)
            stones[k]->TurnQuarter();
    return stones;
}

// Builds every stone's placed mesh; returns the number of placed points.
size_t PlaceAll(const TStones& stones, TShapeCatalogue& shapes) {
    size_t placed = 0;
    double sum = 0;
    for (const auto& stone : stones) {
        const TShapeCatalogue::TShape& shape = shapes.ShapeOf(*stone);
        const TStonePlacement placement = PlacementOf(*stone);
        for (const TMeshPoint& p : shape.Mesh.Points) {
            const TMeshPoint q = placement.Apply(p);
            sum += q.X + q.Y + q.Z;
        }
        placed += shape.Mesh.Points.size();
    }
    benchmark::DoNotOptimize(sum);
    return placed;
}

void BM_MeshesOfMixedStones(benchmark::State& state) {
    SetProgramFolder(STONEMILL_PROGRAM_DIR);
    const TStones stones = TurnedScene(static_cast<int>(state.range(0)));
    size_t shapes = 0, points = 0;
    for (auto _ : state) {
        TShapeCatalogue catalogue;
        points = PlaceAll(stones, catalogue);
        shapes = catalogue.Count();
    }
    state.counters["shapes"] = static_cast<double>(shapes);
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_MeshesOfMixedStones)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every shape of the mixed scene built anew, without sharing.
void BM_EveryShapeOnce(benchmark::State& state) {
    SetProgramFolder(STONEMILL_PROGRAM_DIR);
    const TStones stones = TurnedScene(40);
    for (auto _ : state)
        for (const auto& stone : stones)
            benchmark::DoNotOptimize(BuildShapeMesh(*stone).Triangles.size());
}
BENCHMARK(BM_EveryShapeOnce)->Unit(benchmark::kMillisecond);

} // namespace

// Prints the time of one export's meshes of 100,000 stones first, then runs
// the benchmarks.
int main(int argc, char** argv) {
    SetProgramFolder(STONEMILL_PROGRAM_DIR);
    const TStones stones = TurnedScene(100000);
    const auto start = std::chrono::steady_clock::now();
    TShapeCatalogue catalogue;
    const size_t points = PlaceAll(stones, catalogue);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("Meshes of %zu stones (%zu shapes, %zu points placed): %.3f s\n", stones.size(),
                catalogue.Count(), points, seconds);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
