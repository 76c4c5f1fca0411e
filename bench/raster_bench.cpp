// Speed of the software rasteriser against QPainter on the same scene: a
// painter's-order picture of boxes (three filled and outlined quadrilaterals
// each) in a 1920 x 1080 picture, opaque and mixed half-and-half.
//
//   raster_bench [Google Benchmark options]
//       times every back end on 10,000 and 100,000 boxes and prints how many
//       times faster the rasteriser is than QPainter.
//   raster_bench --frames=N --backend=fastdraw32|fastdraw15|fastdraw16|qpainter
//                [--mixed] [--boxes=B]
//       draws N frames and nothing else, for instruction counts under callgrind
//       (bench/callgrind_frames.sh collects DrawFrame only).

#include "raster/draw_object.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct TFace {
    TPoint P[4];
    TColor Fill;
    TColor Outline;
};

struct TScene {
    std::vector<TFace> Faces;
    // The same faces for QPainter, opaque and with half alpha.
    std::vector<QPen> Pens, MixedPens;
    std::vector<QBrush> Brushes, MixedBrushes;
    std::vector<QPolygon> Polygons;
    double Pixels = 0; // total area of the faces
};

TColor Shade(TColor c, int percent) {
    return RGB(GetRValue(c) * percent / 100, GetGValue(c) * percent / 100, GetBValue(c) * percent / 100);
}

double Area(const TPoint (&p)[4]) {
    double a = 0;
    for (int i = 0; i < 4; ++i)
        a += static_cast<double>(p[i].x) * p[(i + 1) % 4].y - static_cast<double>(p[(i + 1) % 4].x) * p[i].y;
    return std::abs(a) / 2;
}

QPen CosmeticPen(const QColor& color) {
    QPen pen(color);
    pen.setWidth(1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

// Boxes on a 2000 x 2000 ground, up to 300 high, seen from the front corner at
// 30 degrees and drawn back to front: the top and the two faces turned to the
// viewer, each in a shade of the box's colour with a darker outline.
TScene MakeScene(int boxes) {
    struct TBox {
        int X, Y, Z, L, W, H;
        TColor Color;
    };
    std::mt19937 random(1234);
    auto between = [&](int lo, int hi) {
        return lo + static_cast<int>(random() % static_cast<unsigned>(hi - lo + 1));
    };
    std::vector<TBox> list;
    for (int i = 0; i < boxes; ++i)
        list.push_back(TBox{between(0, 2000), between(0, 2000), between(0, 300), between(20, 60),
                            between(20, 60), between(15, 45),
                            RGB(between(40, 255), between(40, 255), between(40, 255))});
    std::stable_sort(list.begin(), list.end(), [](const TBox& a, const TBox& b) {
        return a.X + a.Y != b.X + b.Y ? a.X + a.Y < b.X + b.Y : a.Z < b.Z;
    });
    const double k = 0.55;
    auto project = [k](int x, int y, int z) {
        return TPoint{static_cast<int>(960 + (x - y) * 0.866 * k),
                      static_cast<int>(60 + (x + y) * 0.5 * k - z * k)};
    };
    TScene scene;
    for (const TBox& b : list) {
        const int x1 = b.X, y1 = b.Y, z1 = b.Z, x2 = b.X + b.L, y2 = b.Y + b.W, z2 = b.Z + b.H;
        const TFace top{{project(x1, y1, z2), project(x2, y1, z2), project(x2, y2, z2), project(x1, y2, z2)},
                        b.Color,
                        Shade(b.Color, 40)};
        const TFace front{
            {project(x2, y1, z2), project(x2, y2, z2), project(x2, y2, z1), project(x2, y1, z1)},
            Shade(b.Color, 75),
            Shade(b.Color, 40)};
        const TFace side{{project(x1, y2, z2), project(x2, y2, z2), project(x2, y2, z1), project(x1, y2, z1)},
                         Shade(b.Color, 55),
                         Shade(b.Color, 40)};
        for (const TFace& f : {top, front, side}) {
            scene.Faces.push_back(f);
            const QColor fill(GetRValue(f.Fill), GetGValue(f.Fill), GetBValue(f.Fill));
            const QColor outline(GetRValue(f.Outline), GetGValue(f.Outline), GetBValue(f.Outline));
            QColor mixedFill = fill, mixedOutline = outline;
            mixedFill.setAlpha(128);
            mixedOutline.setAlpha(128);
            scene.Pens.push_back(CosmeticPen(outline));
            scene.MixedPens.push_back(CosmeticPen(mixedOutline));
            scene.Brushes.emplace_back(fill);
            scene.MixedBrushes.emplace_back(mixedFill);
            QPolygon polygon(4);
            for (int i = 0; i < 4; ++i)
                polygon.setPoint(i, f.P[i].x, f.P[i].y);
            scene.Polygons.push_back(polygon);
            scene.Pixels += Area(f.P);
        }
    }
    return scene;
}

const TScene& Scene(int boxes) {
    static std::map<int, TScene> scenes;
    auto it = scenes.find(boxes);
    if (it == scenes.end())
        it = scenes.emplace(boxes, MakeScene(boxes)).first;
    return it->second;
}

enum TBackend { beFastDraw32, beFastDraw15, beFastDraw16, beQPainter };

TPixelFormat FormatOf(TBackend backend) {
    return backend == beFastDraw15 ? pf15bit : backend == beFastDraw16 ? pf16bit : pf32bit;
}

// One picture of the scene through the rasteriser: a draw object for the pass,
// colours set on the canvas per face.
__attribute__((noinline)) void DrawFrame(TBitmap& bitmap, const TScene& scene, bool mixed) {
    TDrawObject draw(bitmap);
    TCanvas& canvas = draw.Canvas();
    canvas.Brush.Style = mixed ? bsDiagCross : bsSolid;
    for (const TFace& f : scene.Faces) {
        canvas.Pen.Color = f.Outline;
        canvas.Brush.Color = f.Fill;
        draw.Polygon(f.P, 3);
    }
}

// The same picture through QPainter, antialiasing off, odd-even fill.
__attribute__((noinline)) void DrawFrame(QImage& image, const TScene& scene, bool mixed) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const std::vector<QPen>& pens = mixed ? scene.MixedPens : scene.Pens;
    const std::vector<QBrush>& brushes = mixed ? scene.MixedBrushes : scene.Brushes;
    for (size_t i = 0; i < scene.Polygons.size(); ++i) {
        painter.setPen(pens[i]);
        painter.setBrush(brushes[i]);
        painter.drawPolygon(scene.Polygons[i], Qt::OddEvenFill);
    }
}

void Clear(TBitmap& bitmap) {
    const size_t bytes = static_cast<size_t>(bitmap.Width()) * (bitmap.PixelFormat() == pf32bit ? 4 : 2);
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memset(bitmap.ScanLine(y), 0x40, bytes);
}

void Clear(QImage& image) {
    std::memset(image.bits(), 0x40, static_cast<size_t>(image.sizeInBytes()));
}

void BM_Scene(benchmark::State& state, TBackend backend, bool mixed) {
    const TScene& scene = Scene(static_cast<int>(state.range(0)));
    TBitmap bitmap(kWidth, kHeight, FormatOf(backend));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        backend == beQPainter ? Clear(image) : Clear(bitmap);
        state.ResumeTiming();
        if (backend == beQPainter)
            DrawFrame(image, scene, mixed);
        else
            DrawFrame(bitmap, scene, mixed);
        benchmark::ClobberMemory();
    }
    state.counters["faces"] = static_cast<double>(scene.Faces.size());
    state.counters["Mpixels"] = scene.Pixels / 1e6;
}

void Register() {
    const struct {
        const char* Name;
        TBackend Backend;
    } backends[] = {{"FastDraw32", beFastDraw32},
                    {"FastDraw15", beFastDraw15},
                    {"FastDraw16", beFastDraw16},
                    {"QPainter", beQPainter}};
    for (bool mixed : {false, true})
        for (const auto& b : backends)
            benchmark::RegisterBenchmark((std::string(b.Name) + (mixed ? "/mixed" : "/opaque")).c_str(),
                                         BM_Scene, b.Backend, mixed)
                ->Arg(10000)
                ->Arg(100000)
                ->Unit(benchmark::kMillisecond);
}

// Prints the usual table, then how many times faster each rasteriser is than QPainter.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                FTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
    void PrintRatios() const {
        std::printf("\nQPainter time / rasteriser time (CPU):\n");
        for (const char* mode : {"opaque", "mixed"})
            for (const char* boxes : {"10000", "100000"}) {
                const auto painter = FTimes.find(std::string("QPainter/") + mode + "/" + boxes);
                if (painter == FTimes.end())
                    continue;
                for (const char* name : {"FastDraw32", "FastDraw15", "FastDraw16"}) {
                    const auto ours = FTimes.find(std::string(name) + "/" + mode + "/" + boxes);
                    if (ours != FTimes.end())
                        std::printf("  %-10s %-6s %6s boxes: %5.2f\n", name, mode, boxes,
                                    painter->second / ours->second);
                }
            }
    }

private:
    std::map<std::string, double> FTimes;
};

// --frames mode: draws frames only, so callgrind counts can be taken per frame.
int DrawFrames(int frames, const std::string& backendName, bool mixed, int boxes) {
    const std::map<std::string, TBackend> names{{"fastdraw32", beFastDraw32},
                                                {"fastdraw15", beFastDraw15},
                                                {"fastdraw16", beFastDraw16},
                                                {"qpainter", beQPainter}};
    const auto it = names.find(backendName);
    if (it == names.end()) {
        std::fprintf(stderr, "unknown back end %s\n", backendName.c_str());
        return 2;
    }
    const TScene& scene = Scene(boxes);
    TBitmap bitmap(kWidth, kHeight, FormatOf(it->second));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int i = 0; i < frames; ++i) {
        if (it->second == beQPainter) {
            Clear(image);
            DrawFrame(image, scene, mixed);
        } else {
            Clear(bitmap);
            DrawFrame(bitmap, scene, mixed);
        }
    }
    std::printf("%d frames of %d boxes (%zu faces) through %s, %s\n", frames, boxes, scene.Faces.size(),
                backendName.c_str(), mixed ? "mixed" : "opaque");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    int frames = 0, boxes = 10000;
    bool mixed = false;
    std::string backend;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--frames=", 0) == 0)
            frames = std::stoi(arg.substr(9));
        else if (arg.rfind("--backend=", 0) == 0)
            backend = arg.substr(10);
        else if (arg.rfind("--boxes=", 0) == 0)
            boxes = std::stoi(arg.substr(8));
        else if (arg == "--mixed")
            mixed = true;
    }
    if (frames > 0)
        return DrawFrames(frames, backend, mixed, boxes);

    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
