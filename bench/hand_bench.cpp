// The stone in hand over a town of 10,000 stones in a 1920 x 1080 view: one
// move of the hand (the part of the scene picture it covered restored, the
// stone drawn at its new place, the changed part shown), and one placement
// (the stone inserted at its painter's-order place and the scene drawn anew,
// and the same without the drawing).

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "app/stonemill_app.h"
#include "models.h"
#include "platform/data_folders.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

struct TTownView {
    TStonemillApp App{STONEMILL_PROGRAM_DIR};
    QImage Screen{kWidth, kHeight, QImage::Format_RGB32};

    TTownView() {
        SetProgramFolder(STONEMILL_PROGRAM_DIR);
        for (auto& stone : MakeTown(10000))
            App.Document.Model().Add(std::move(stone));
        App.Palette.Pages = {{"", {"2x4x3"}, "Bricks", 40, 0.5f}};
        App.Palette.ShowPage(0);
        App.Scene.ResizeView(kWidth, kHeight);
        App.Scene.Control().FitModel(App.Document.Model());
        // What the window does with a changed part: show it.
        App.Placing.OnHandChanged = [this](const TRect& r) {
            QPainter painter(&Screen);
            painter.drawImage(QPoint(r.Left, r.Top), App.Placing.ShownPicture().Image(),
                              QRect(r.Left, r.Top, r.Width(), r.Height()));
        };
        App.PaletteCommands.TakePaletteEntry(0);
    }
};

TTownView& Town() {
    static std::unique_ptr<TTownView> town = std::make_unique<TTownView>();
    return *town;
}

void BM_HandMove(benchmark::State& state) {
    TTownView& town = Town();
    town.App.Hand.SafePositioning = state.range(0) != 0;
    static int step = 0; // kept from run to run, so the first move of a run moves too
    for (auto _ : state) {
        // Back and forth between two places of the town, so that every move
        // draws the stone anew.
        const int x = kWidth / 2 + (step % 2) * 120;
        const int32_t before = town.App.Hand.Stone()->X;
        town.App.Placing.HandFollows(x, kHeight / 2);
        if (town.App.Hand.Stone()->X == before)
            state.SkipWithError("the stone in hand did not move");
        ++step;
    }
    state.SetLabel(state.range(0) != 0 ? "resting on the stones below" : "at its own height");
}

void BM_Place(benchmark::State& state) {
    TTownView& town = Town();
    TStonemillApp& app = town.App;
    const bool redraw = state.range(0) != 0;
    for (auto _ : state) {
        app.Hand.Stone()->X = 400;
        app.Hand.Stone()->Y = 400;
        app.Hand.Settle(app.Document.Model());
        if (redraw) {
            app.Placing.PlaceHand();
        } else {
            app.Scene.View().SuppressRedraw = true;
            app.Placing.PlaceHand();
            app.Scene.View().SuppressRedraw = false;
        }
        state.PauseTiming();
        app.Scene.View().SuppressRedraw = true;
        app.Selection.UndoStep();
        app.Scene.View().SuppressRedraw = false;
        state.ResumeTiming();
    }
    state.SetLabel(redraw ? "insert and redraw" : "insert only");
}

BENCHMARK(BM_HandMove)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Place)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
