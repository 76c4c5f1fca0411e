// Scenes drawn on several threads against the same scenes drawn on one: random
// scenes of every kind of stone that draws through the rasteriser, seen from
// every side, plain, shaded and as wireframes, under cut boxes, partly outside
// the picture; the pictures and the canvas left behind must be the same.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "model/block_factory.h"
#include "model/block_list.h"
#include "model/cut_state.h"
#include "model/general_block.h"
#include "partlib/part_registry.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/data_folders.h"
#include "render/scene_bands.h"
#include "render/scene_pass.h"
#include "random_stone.h"
#include "temp_program_folder.h"
#include "view/render_state.h"

namespace {

struct TThreadsBack {
    ~TThreadsBack() {
        SetSceneThreads(0);
        CutState().Reset();
    }
};

} // namespace

TEST(SceneBands, PicturesDrawnOnSeveralThreadsAreThePicturesDrawnOnOne) {
    SetProgramFolder(BuiltProgramFolder());
    TPartRegistry::Instance().Clear();
    TThreadsBack back;
    std::mt19937 random(31337);
    auto between = [&](int lo, int hi) {
        return lo + static_cast<int>(random() % static_cast<unsigned>(hi - lo + 1));
    };
    const char* parts[] = {"stdblock", "arch", "slope45", "cylinder", "cone", "stair", "beam3", "glasspane"};
    for (int round = 0; round < 24; ++round) {
        TOwnedBlockList scene;
        const int count = between(200, 500), spread = between(4, 30);
        for (int i = 0; i < count; ++i) {
            scene.InsertSorted(RandomStone(between, spread, parts));
        }
        TRenderState view;
        const int width = between(60, 260), height = between(40, 200);
        view.SetRotation(between(0, 180), 0, between(0, 359));
        view.ViewScale = static_cast<float>(between(5, 60)) / 100.0f;
        view.ViewOffsetX = static_cast<float>(between(-width / 2, width));
        view.ViewOffsetY = static_cast<float>(between(-height / 2, height));
        view.Shading = between(0, 1) == 1;
        view.Wireframe = between(0, 5) == 0;
        view.DetailLevel = between(0, 1);
        CutState().Reset();
        if (between(0, 3) == 0) {
            CutState().DialogShown = true;
            CutState().IncludeAll = between(0, 1) == 1;
            CutState().ZHigh = between(20, 200);
            CutState().XLow = between(-100, 200);
        }

        auto draw = [&](int threads, TPoint& pen) {
            SetSceneThreads(threads);
            TBitmap picture(width, height, pf32bit);
            picture.Canvas().PenPos = TPoint{3, 4};
            DrawScenePlain(picture, scene, view, TBackground{clWhite, nullptr});
            pen = picture.Canvas().PenPos;
            return picture.ToImage();
        };
        TPoint onePen, severalPen;
        const QImage one = draw(1, onePen);
        for (int threads : {2, 3, 8}) {
            ASSERT_EQ(draw(threads, severalPen), one) << "round " << round << ", " << threads << " threads";
            EXPECT_EQ(severalPen, onePen) << "round " << round;
        }

        // A picture at twice the scale, whose progress is told as it goes.
        auto scaled = [&](int threads, std::vector<int>& told) {
            SetSceneThreads(threads);
            TBitmap picture;
            DrawSceneScaled(picture, 2, Rect(0, 0, width, height), scene, view, TBackground{clWhite, nullptr},
                            [&](int done, int total) {
                                told.push_back(done);
                                EXPECT_EQ(total, scene.Count());
                            });
            return picture.ToImage();
        };
        std::vector<int> toldOne, toldSeveral;
        ASSERT_EQ(scaled(2, toldSeveral), scaled(1, toldOne)) << "round " << round << ", scaled";
        ASSERT_FALSE(toldSeveral.empty());
        EXPECT_TRUE(std::is_sorted(toldSeveral.begin(), toldSeveral.end()));
        EXPECT_EQ(toldSeveral.back(), scene.Count());
    }
}
