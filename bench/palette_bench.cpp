// One page of 30 palette previews drawn as the list draws them when it
// scrolls: each row's background, its stone seen at the page's scale, its
// label, and a supply count. The shipped pages are used, their entries
// repeated up to 30 rows, 150 pixels wide.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "app/stonemill_app.h"
#include "platform/data_folders.h"

namespace {

constexpr int kRows = 30;
constexpr int kWidth = 150;

TStonemillApp& App() {
    static std::unique_ptr<TStonemillApp> app = [] {
        SetProgramFolder(STONEMILL_PROGRAM_DIR);
        auto made = std::make_unique<TStonemillApp>(STONEMILL_PROGRAM_DIR);
        made->LoadSettings(std::filesystem::path(STONEMILL_PROGRAM_DIR) / "Stonemill.ini");
        return made;
    }();
    return *app;
}

void BM_PalettePage(benchmark::State& state) {
    TStonemillApp& app = App();
    const int page = static_cast<int>(state.range(0));
    const TBitDepth depth = static_cast<TBitDepth>(state.range(1));
    app.Palette.ShowPage(page);
    if (state.range(2) != 0)
        app.Supply.Load({{"2x4x3", 5}, {"arch", 0}}, app.Document.Model());
    else
        app.Supply.Clear();
    const auto& entries = app.Palette.ShownEntries();
    const int height = app.Palette.ShownRowHeight();
    TBitmap picture(kWidth, height, PixelFormatOf(depth));
    for (auto _ : state) {
        for (int row = 0; row < kRows; ++row) {
            const int entry = row % static_cast<int>(entries.size());
            TPaletteRow shown = app.PaletteCommands.ShownRow(entry);
            shown.Selected = row == 3;
            app.PaletteCommands.Rows().Draw(picture, shown);
        }
        benchmark::DoNotOptimize(picture.ScanLine(0));
    }
    state.SetLabel(app.Palette.Pages[static_cast<size_t>(page)].Title + ", " +
                   std::to_string(PixelFormatOf(depth) == pf32bit ? 32 : 16) + " bits" +
                   (state.range(2) != 0 ? ", with a set" : ""));
}

void Pages(benchmark::internal::Benchmark* b) {
    for (int page : {0, 2, 4, 5, 6})
        b->Args({page, bd32, 0});
    b->Args({0, bd16, 0});
    b->Args({0, bd32, 1});
    b->Args({6, bd32, 1});
}

BENCHMARK(BM_PalettePage)->Apply(Pages)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Labels need fonts, which need the desktop layer; no display is needed.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
