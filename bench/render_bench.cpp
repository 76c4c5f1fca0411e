// The drawing pass over generated scenes of 1,000, 10,000 and 100,000 stones
// into a 1920 x 1080 picture, at 32 and 16 bits, plain and anti-aliased, with
// the depth sort done beforehand; and, side by side, the same polygons and
// lines drawn by QPainter (antialiasing off) on a QImage of the same size.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/block_list.h"
#include "models.h"
#include "partlib/part_registry.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/data_folders.h"
#include "raster/draw_object.h"
#include "render/picture_writer.h"
#include "render/scene_bands.h"
#include "render/scene_pass.h"
#include "view/render_state.h"

namespace fs = std::filesystem;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

// A sorted model and a view that shows all of it.
struct TPreparedScene {
    TOwnedBlockList Model;
    TRenderState View;

    // A mixed scene, or (town) the walled town of bricks and roofs.
    explicit TPreparedScene(int count, bool town = false) {
        SetProgramFolder(STONEMILL_PROGRAM_DIR);
        for (auto& s : town ? MakeTown(count) : MakeMixedScene(count))
            Model.Add(std::move(s));
        const TExtents e = Model.GetExtents();
        View.SetRotation(60, 0, 30);
        const double span = std::max(e.MaxX - e.MinX, e.MaxY - e.MinY) + 1;
        View.ViewScale = static_cast<float>(std::min(kWidth, kHeight) / span);
        const TPoint centre = View.ProjectPoint(e.CenterX, e.CenterY, e.CenterZ);
        View.ViewOffsetX = static_cast<float>(kWidth / 2 - centre.x);
        View.ViewOffsetY = static_cast<float>(kHeight / 2 - centre.y);
        // The sort is not measured. A frame's work does not depend on the
        // order, so the largest town is drawn in the order it was made.
        if (count <= 100000)
            Model.Sort(View.Octant(), true);
        else
            Model.SortedOctant = View.Octant();
    }
};

// The mixed scene of `count` stones, or the town, made once.
TPreparedScene& SceneOf(int count, bool town = false) {
    static std::map<std::pair<int, bool>, std::unique_ptr<TPreparedScene>> scenes;
    auto& scene = scenes[{count, town}];
    if (!scene)
        scene = std::make_unique<TPreparedScene>(count, town);
    return *scene;
}

void BM_ScenePlain(benchmark::State& state) {
    TPreparedScene& scene = SceneOf(static_cast<int>(state.range(0)));
    TBitmap picture(kWidth, kHeight, state.range(1) == 16 ? pf16bit : pf32bit);
    SetSceneThreads(static_cast<int>(state.range(2)));
    for (auto _ : state) {
        DrawScenePlain(picture, scene.Model, scene.View, TBackground{clWhite, nullptr});
        benchmark::DoNotOptimize(picture.ScanLine(0));
    }
}

// The plain pass over a town of bricks and roofs only (three faces each), the
// commonest stones of real models.
void BM_ScenePlainTown(benchmark::State& state) {
    TPreparedScene& scene = SceneOf(static_cast<int>(state.range(0)), true);
    TBitmap picture(kWidth, kHeight, pf32bit);
    SetSceneThreads(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        DrawScenePlain(picture, scene.Model, scene.View, TBackground{clWhite, nullptr});
        benchmark::DoNotOptimize(picture.ScanLine(0));
    }
}

void BM_SceneAntiAliased(benchmark::State& state) {
    TPreparedScene& scene = SceneOf(static_cast<int>(state.range(0)));
    SetSceneThreads(0);
    TBitmap picture(kWidth, kHeight, pf32bit);
    for (auto _ : state) {
        DrawSceneAntiAliased(picture, Rect(0, 0, kWidth, kHeight), kWidth, kHeight, scene.Model, scene.View,
                             TBackground{clWhite, nullptr});
        benchmark::DoNotOptimize(picture.ScanLine(0));
    }
}

// The polygons and lines of one pass, with the colours and brush style each
// was drawn in, for replaying through QPainter.
struct TRecording {
    struct TShape {
        bool Filled;
        TColor Pen, Brush;
        TBrushStyle Style;
        QPolygon Points;
    };
    std::vector<TShape> Shapes;
    TCanvas* Canvas = nullptr;
    TPoint Pen;

    void Polygon(const TPoint* p, int high) { Add(true, p, high); }
    void Polyline(const TPoint* p, int high) { Add(false, p, high); }
    void MoveTo(int x, int y) { Pen = {x, y}; }
    void LineTo(int x, int y) {
        const TPoint p[2] = {Pen, {x, y}};
        Add(false, p, 1);
        Pen = {x, y};
    }
    void Line(int x1, int y1, int x2, int y2) {
        MoveTo(x1, y1);
        LineTo(x2, y2);
    }
    void Rectangle(int x1, int y1, int x2, int y2) {
        const TPoint p[4] = {{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}};
        Add(true, p, 3);
    }
    void Add(bool filled, const TPoint* p, int high) {
        TShape shape{filled, Canvas->Pen.Color, Canvas->Brush.Color, Canvas->Brush.Style, {}};
        for (int i = 0; i <= high; ++i)
            shape.Points << QPoint(p[i].x, p[i].y);
        Shapes.push_back(std::move(shape));
    }
};

const TRecording& RecordingOf(int count, bool town) {
    static std::map<std::pair<int, bool>, TRecording> recordings;
    auto it = recordings.find({count, town});
    if (it != recordings.end())
        return it->second;
    TPreparedScene& scene = SceneOf(count, town);
    TRecording& recording = recordings[{count, town}];
    TBitmap scratch(kWidth, kHeight, pf32bit);
    TDrawObject d(scratch);
    recording.Canvas = &d.Canvas();
    using TShapeCall = TBoundMethod<void(const TPoint*, int)>;
    d.Polygon = TShapeCall::To<&TRecording::Polygon>(recording);
    d.Polyline = TShapeCall::To<&TRecording::Polyline>(recording);
    d.MoveTo = TBoundMethod<void(int, int)>::To<&TRecording::MoveTo>(recording);
    d.LineTo = TBoundMethod<void(int, int)>::To<&TRecording::LineTo>(recording);
    d.Line = TBoundMethod<void(int, int, int, int)>::To<&TRecording::Line>(recording);
    d.Rectangle = TBoundMethod<void(int, int, int, int)>::To<&TRecording::Rectangle>(recording);
    scene.View.ComputePassValues();
    scene.Model.DrawAll(d, scene.View, false);
    return recording;
}

QColor ToQColor(TColor c) {
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

void BM_QPainterSamePolygons(benchmark::State& state) {
    const TRecording& recording = RecordingOf(static_cast<int>(state.range(0)), state.range(2) != 0);
    QImage image(kWidth, kHeight, state.range(1) == 16 ? QImage::Format_RGB16 : QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const auto& shape : recording.Shapes) {
            painter.setPen(QPen(ToQColor(shape.Pen), 0));
            if (shape.Filled) {
                if (shape.Style == bsClear)
                    painter.setBrush(Qt::NoBrush);
                else
                    painter.setBrush(QBrush(ToQColor(shape.Brush), shape.Style == bsDiagCross
                                                                       ? Qt::DiagCrossPattern
                                                                       : Qt::SolidPattern));
                painter.drawPolygon(shape.Points, Qt::OddEvenFill);
            } else {
                painter.drawPolyline(shape.Points);
            }
        }
        painter.end();
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["shapes"] = static_cast<double>(recording.Shapes.size());
}

} // namespace

// A picture of 3200 x 2400 of the mixed scene of 10,000 stones, written as
// PNG: the window's " 8 " save of a 400 x 300 frame (drawn anew at eight times
// the scale), and the same size drawn anti-aliased (at twice that size,
// averaged). The picture takes 3200 x 2400 x 4 bytes; the anti-aliased pass
// draws into four times as many.
void BM_LargePicture(benchmark::State& state) {
    TPreparedScene& scene = SceneOf(10000);
    const bool antiAliased = state.range(0) != 0;
    SetSceneThreads(static_cast<int>(state.range(1)));
    const TRect frame = Rect(kWidth / 2 - 200, kHeight / 2 - 150, kWidth / 2 + 200, kHeight / 2 + 150);
    const fs::path file = fs::temp_directory_path() / "stonemill-bench-picture.png";
    for (auto _ : state) {
        TBitmap picture;
        if (antiAliased) {
            // The view of the 8x picture: the frame's part of the scene, eight times larger.
            const float scale = scene.View.ViewScale, x = scene.View.ViewOffsetX, y = scene.View.ViewOffsetY;
            scene.View.ViewScale = scale * 8;
            scene.View.ViewOffsetX = 8 * (x - frame.Left);
            scene.View.ViewOffsetY = 8 * (y - frame.Top);
            picture.SetPixelFormat(pf32bit);
            picture.SetSize(3200, 2400);
            DrawSceneAntiAliased(picture, Rect(0, 0, 3200, 2400), 3200, 2400, scene.Model, scene.View,
                                 TBackground{clWhite, nullptr});
            scene.View.ViewScale = scale;
            scene.View.ViewOffsetX = x;
            scene.View.ViewOffsetY = y;
        } else {
            DrawSceneScaled(picture, 8, frame, scene.Model, scene.View, TBackground{clWhite, nullptr});
        }
        SavePictureFile(picture, file);
    }
    fs::remove(file);
    state.counters["picture MB"] = 3200.0 * 2400 * 4 / 1e6;
    state.counters["drawn MB"] = (antiAliased ? 4 : 1) * 3200.0 * 2400 * 4 / 1e6;
}

// The 8x picture of BM_LargePicture written as PNG at deflate levels 1, 2, 3
// and 6 (the library's default) with each row filter; "MB" is the file's size.
void BM_PngCompression(benchmark::State& state) {
    static TBitmap picture;
    if (picture.Width() == 0) {
        TPreparedScene& scene = SceneOf(10000);
        const TRect frame = Rect(kWidth / 2 - 200, kHeight / 2 - 150, kWidth / 2 + 200, kHeight / 2 + 150);
        DrawSceneScaled(picture, 8, frame, scene.Model, scene.View, TBackground{clWhite, nullptr});
    }
    const TPngCompression compression{static_cast<int>(state.range(0)),
                                      static_cast<TPngFilter>(state.range(1))};
    const fs::path file = fs::temp_directory_path() / "stonemill-bench-compression.png";
    for (auto _ : state)
        SavePngFile(picture, file, compression);
    state.counters["MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
    fs::remove(file);
}

// threads: 1 draws on one thread, 0 on one per processor.
BENCHMARK(BM_ScenePlain)
    ->ArgNames({"stones", "bits", "threads"})
    ->ArgsProduct({{1000, 10000, 100000}, {32, 16}, {1, 0}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScenePlainTown)
    ->ArgNames({"stones", "threads"})
    ->ArgsProduct({{10000, 100000, 1000000}, {1, 0}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SceneAntiAliased)
    ->ArgNames({"stones"})
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargePicture)
    ->ArgNames({"antialiased", "threads"})
    ->ArgsProduct({{0, 1}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_PngCompression)
    ->ArgNames({"level", "filter"})
    ->ArgsProduct({{1, 2, 3, 6},
                   {static_cast<int>(TPngFilter::Adaptive), static_cast<int>(TPngFilter::None),
                    static_cast<int>(TPngFilter::Sub), static_cast<int>(TPngFilter::Up),
                    static_cast<int>(TPngFilter::Paeth)}})
    ->Unit(benchmark::kMillisecond);
// The earlier way of drawing the frames, for comparison: the same polygons and
// lines through QPainter (town 0: the mixed scene).
BENCHMARK(BM_QPainterSamePolygons)
    ->ArgNames({"stones", "bits", "town"})
    ->ArgsProduct({{1000, 10000, 100000}, {32, 16}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

namespace {

// Draws the frames and nothing else, for instruction counts under callgrind.
int DrawFrames(int frames, bool town, int stones, int threads) {
    SetSceneThreads(threads);
    TPreparedScene scene(stones, town);
    TBitmap picture(kWidth, kHeight, pf32bit);
    for (int i = 0; i < frames; ++i)
        DrawScenePlain(picture, scene.Model, scene.View, TBackground{clWhite, nullptr});
    return 0;
}

} // namespace

//   render_bench [Google Benchmark options]
//   render_bench --frames=N --scene=town|mixed [--stones=S] [--threads=T]
//       draws N plain frames of the scene at 1920 x 1080 and 32 bits and
//       nothing else (bench/callgrind_frames.sh counts DrawScenePlain only),
//       on one thread unless told otherwise.
int main(int argc, char** argv) {
    int frames = 0, stones = 10000, threads = 1;
    bool town = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--frames=", 0) == 0)
            frames = std::stoi(arg.substr(9));
        else if (arg.rfind("--stones=", 0) == 0)
            stones = std::stoi(arg.substr(9));
        else if (arg.rfind("--threads=", 0) == 0)
            threads = std::stoi(arg.substr(10));
        else if (arg == "--scene=town")
            town = true;
    }
    if (frames > 0)
        return DrawFrames(frames, town, stones, threads);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
