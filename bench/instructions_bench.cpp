// Building instructions: planning the steps of a generated town, and the
// whole booklet (plan, pages, every picture, the PDF file) of the castle demo
// model and of a 10,000-stone town.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>

#include "files/model_file_reader.h"
#include "instructions/booklet_content.h"
#include "instructions/booklet_pictures.h"
#include "instructions/booklet_writer.h"
#include "instructions/build_steps.h"
#include "instructions/pages_on_thread.h"
#include "model/block_list.h"
#include "models.h"
#include "platform/data_folders.h"
#include "platform/page_painter.h"

namespace fs = std::filesystem;

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

// The booklet of the stones seen as the program starts, written as PDF.
void WriteBooklet(const std::vector<const TBlock*>& stones, benchmark::State& state) {
    TRenderState look;
    look.SetRotation(70, 0, 330);
    const fs::path pdf = fs::temp_directory_path() / "stonemill-bench-booklet.pdf";
    for (auto _ : state) {
        const TBookletContent content(stones, TPartsNaming(), 6, "bench");
        TBookletPictures pictures(content, look);
        const std::vector<TBookletPage> pages = LayOutBooklet(content, kPaperA4, pictures.Shapes());
        TPdfPages output(pdf, kPaperA4, "bench");
        TPagesOnThread onThread(output);
        WriteBooklet(pages, pictures, onThread);
        state.counters["pages"] = static_cast<double>(pages.size());
    }
    fs::remove(pdf);
}

void BM_CastleBooklet(benchmark::State& state) {
    SetProgramFolder(STONEMILL_PROGRAM_DIR);
    TOwnedBlockList castle;
    LoadModelFile(fs::path(STONEMILL_PROGRAM_DIR) / "Models" / "castle.stm", castle, {},
                  [](int, const std::string&) {});
    WriteBooklet(std::vector<const TBlock*>(castle.Stones().begin(), castle.Stones().end()), state);
}
BENCHMARK(BM_CastleBooklet)->Unit(benchmark::kMillisecond);

void BM_TownBooklet(benchmark::State& state) {
    const TStones town = MakeTown(static_cast<int>(state.range(0)));
    const std::vector<TBlock*> pointers = Pointers(town);
    WriteBooklet(std::vector<const TBlock*>(pointers.begin(), pointers.end()), state);
}
BENCHMARK(BM_TownBooklet)->Arg(10'000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The pages' text takes Qt's fonts; nothing is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
