#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <memory>

#include "golden.h"
#include "model/block_factory.h"
#include "model/block_list.h"
#include "model/cut_state.h"
#include "model/general_block.h"
#include "partlib/part_registry.h"
#include "platform/bitmap.h"
#include "platform/program_folder.h"
#include "render/scene_pass.h"
#include "temp_program_folder.h"
#include "view/render_state.h"

namespace {

// A model whose stones the test owns, freed at the end as the window frees them.
class TScene : public TBlockList {
public:
    ~TScene() {
        for (TBlock* s : Stones())
            delete s;
    }
    // A stone at a grid position (modules, thirds) with a size (modules, thirds).
    TBlock* Add(char kind, int x, int y, int z, int l, int w, int h, TColor color, int turns = 0) {
        TBlock* s = TBlockFactory::Create(kind, x, y, z, l, w, h, color, true, false, false, "");
        for (int i = 0; i < turns; ++i)
            s->TurnQuarter();
        InsertSorted(s);
        return s;
    }
    TBlock* AddPart(const std::string& part, int x, int y, int z, TColor color, int turns = 0) {
        TBlock* s = new TGeneralBlock(x, y, z, 0, 0, 0, color, true, false, false, "parts.dat", part, "");
        for (int i = 0; i < turns; ++i)
            s->TurnQuarter();
        InsertSorted(s);
        return s;
    }
};

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(BuiltProgramFolder());
        TPartRegistry::Instance().Clear();
        CutState().Reset();
    }
    void TearDown() override { CutState().Reset(); }

    // A view of the given size looking at the model origin from (tilt, turn).
    static void Aim(TRenderState& view, int width, int height, int tilt, int turn, float scale) {
        view.ViewScale = scale;
        view.ViewOffsetX = static_cast<float>(width / 2);
        view.ViewOffsetY = static_cast<float>(height / 2);
        view.SetRotation(tilt, 0, turn);
    }

    static QImage Render(TScene& scene, TRenderState& view, int width, int height,
                         TPixelFormat format = pf32bit) {
        TBitmap picture(width, height, format);
        DrawScenePlain(picture, scene, view, TBackground{clWhite, nullptr});
        return picture.ToImage();
    }
};

} // namespace

TEST_F(SceneTest, EveryKindFromFrontRight) {
    TScene scene;
    scene.Add('B', -6, 0, 0, 2, 1, 3, RGB(200, 40, 40));
    scene.Add('R', -3, 0, 0, 2, 2, 3, RGB(40, 160, 40));
    scene.Add('T', 0, 0, 0, 2, 2, 3, RGB(40, 40, 200));
    scene.Add('N', 3, 0, 0, 2, 2, 3, RGB(200, 160, 40));
    scene.Add('C', -6, 3, 0, 2, 2, 3, RGB(160, 40, 160));
    scene.Add('I', -3, 3, 0, 2, 2, 3, RGB(40, 160, 160));
    scene.Add('E', 0, 3, 0, 2, 2, 3, RGB(120, 120, 120));
    scene.AddPart("arch", 3, 3, 0, RGB(230, 200, 150));
    scene.AddPart("cylinder", -6, -4, 0, RGB(250, 250, 250));
    scene.AddPart("cone", -3, -4, 0, RGB(240, 120, 40));
    scene.AddPart("stair", 0, -4, 0, RGB(150, 150, 220));
    scene.AddPart("slope45", 3, -4, 0, RGB(200, 60, 60));
    TRenderState view;
    Aim(view, 240, 180, 70, 330, 1.0f);
    EXPECT_TRUE(MatchesGolden("kinds_front_right", Render(scene, view, 240, 180)));
}
