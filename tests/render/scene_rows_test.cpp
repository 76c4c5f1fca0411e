// Pictures drawn band by band as their rows are asked for, against the same
// pictures drawn whole: random scenes of every kind of stone seen from every
// side, plain, at a larger scale and anti-aliased, in frames partly outside
// the view, cut into bands of a few rows, drawn on one thread and on several,
// their rows asked for top down (PNG, JPEG) and bottom up (BMP), over a
// background colour or picture. Stones with a picture on a face draw on the
// canvas itself and are drawn anew in every band.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "common/error.h"
#include "model/block_factory.h"
#include "model/block_list.h"
#include "model/general_block.h"
#include "partlib/part_registry.h"
#include "platform/bitmap.h"
#include "platform/data_folders.h"
#include "render/scene_bands.h"
#include "render/scene_pass.h"
#include "render/scene_rows.h"
#include "random_stone.h"
#include "temp_program_folder.h"
#include "view/render_state.h"

namespace {

struct TThreadsBack {
    ~TThreadsBack() { SetSceneThreads(0); }
};

// The first row where the rows differ from the picture's, or -1.
int FirstDifferentRow(TSceneRows& rows, TBitmap& picture, bool bottomUp) {
    if (rows.Width() != picture.Width() || rows.Height() != picture.Height())
        return -2;
    for (int i = 0; i < rows.Height(); ++i) {
        const int y = bottomUp ? rows.Height() - 1 - i : i;
        const uint32_t* row = rows.Row(y);
        const auto* whole = static_cast<const uint32_t*>(picture.ScanLine(y));
        for (int x = 0; x < rows.Width(); ++x)
            if ((row[x] & 0xFFFFFF) != (whole[x] & 0xFFFFFF))
                return y;
    }
    return -1;
}

} // namespace

TEST(SceneRows, PicturesDrawnInBandsAreThePicturesDrawnWhole) {
    SetProgramFolder(BuiltProgramFolder());
    TPartRegistry::Instance().Clear();
    TThreadsBack back;
    std::mt19937 random(4711);
    auto between = [&](int lo, int hi) {
        return lo + static_cast<int>(random() % static_cast<unsigned>(hi - lo + 1));
    };
    const char* parts[] = {"stdblock", "arch", "slope45", "cylinder", "glasspane", "clock", "stationsign"};
    for (int round = 0; round < 10; ++round) {
        TOwnedBlockList scene;
        const int count = between(150, 400), spread = between(4, 24);
        const bool pictures = round % 3 == 2; // faces with pictures, drawn on the canvas
        for (int i = 0; i < count; ++i) {
            scene.InsertSorted(RandomStone(between, spread, std::span(parts).first(pictures ? 7 : 5)));
        }
        TRenderState view;
        const int width = between(40, 160), height = between(30, 120);
        view.SetRotation(between(0, 180), 0, between(0, 359));
        view.ViewScale = static_cast<float>(between(5, 60)) / 100.0f;
        view.ViewOffsetX = static_cast<float>(between(-width / 2, width)) + 0.25f * between(0, 3);
        view.ViewOffsetY = static_cast<float>(between(-height / 2, height)) + 0.25f * between(0, 3);
        view.Shading = between(0, 1) == 1;
        view.Wireframe = between(0, 5) == 0;
        view.DetailLevel = pictures ? 2 : between(0, 1);
        const float scale = view.ViewScale, offsetY = view.ViewOffsetY;
        const int left = between(-20, width / 2), top = between(-20, height / 2);
        const TRect frame = Rect(left, top, left + between(20, width + 10), top + between(20, height + 10));
        // Every other round over a background picture, stretched over all of it.
        TBitmap backdrop(between(3, 40), between(3, 40), round % 4 == 1 ? pf24bit : pf32bit);
        for (int i = 0; i < 12; ++i) {
            backdrop.Canvas().Brush.Color = RGB(between(0, 255), between(0, 255), between(0, 255));
            const int x = between(0, backdrop.Width() - 1), y = between(0, backdrop.Height() - 1);
            backdrop.Canvas().FillRect(Rect(x, y, x + between(1, 9), y + between(1, 9)));
        }
        const TBackground background{RGB(between(0, 255), 200, 100), round % 2 == 1 ? &backdrop : nullptr};

        // The plain picture of the whole view is the view's picture (which
        // fits a background picture into the view, keeping its proportions).
        TBitmap shown(width, height, pf32bit);
        DrawScenePlain(shown, scene, view, TBackground{background.Color, nullptr});
        {
            TSceneRows plain(TScenePicture{Rect(0, 0, width, height), width, height, 1, false}, scene, view,
                             TBackground{background.Color, nullptr});
            plain.SetBandRows(7);
            ASSERT_EQ(FirstDifferentRow(plain, shown, true), -1) << "round " << round << ", plain";
        }

        for (const auto& [factor, antiAliased] :
             {std::pair{1, false}, std::pair{2, false}, std::pair{1, true}}) {
            TBitmap whole;
            if (antiAliased) {
                whole.SetPixelFormat(pf32bit);
                whole.SetSize(frame.Width(), frame.Height());
                DrawSceneAntiAliased(whole, frame, width, height, scene, view, background);
            } else {
                DrawSceneScaled(whole, factor, frame, scene, view, background);
            }
            struct TCase {
                int Threads, BandRows;
                bool BottomUp;
            };
            for (const TCase& c :
                 {TCase{1, 1, false}, TCase{3, 1, true}, TCase{1, 6, true}, TCase{3, 6, false},
                  TCase{3, 6, true}, TCase{1, 1000, false}, TCase{3, 1000, true}}) {
                SetSceneThreads(c.Threads);
                TSceneRows rows(TScenePicture{frame, width, height, factor, antiAliased}, scene, view,
                                background);
                EXPECT_TRUE(view.Painting);
                rows.SetBandRows(c.BandRows);
                ASSERT_EQ(FirstDifferentRow(rows, whole, c.BottomUp), -1)
                    << "round " << round << ", factor " << factor << (antiAliased ? " anti-aliased" : "")
                    << ", " << c.Threads << " threads, bands of " << c.BandRows << " rows";
            }
            // The view is the view's again.
            EXPECT_FALSE(view.Painting);
            EXPECT_EQ(view.ViewScale, scale);
            EXPECT_EQ(view.ViewOffsetY, offsetY);
        }
    }
    // A view being drawn cannot be taken.
    TOwnedBlockList none;
    TRenderState busy;
    busy.Painting = true;
    EXPECT_THROW(TSceneRows(TScenePicture{Rect(0, 0, 8, 8), 8, 8, 1, false}, none, busy, TBackground{}),
                 EError);
}
