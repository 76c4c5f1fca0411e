#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <memory>

#include "common/error.h"
#include "golden.h"
#include "model/block_factory.h"
#include "model/block_list.h"
#include "model/cut_state.h"
#include "model/general_block.h"
#include "partlib/part_registry.h"
#include "platform/bitmap.h"
#include "platform/data_folders.h"
#include "render/picture_writer.h"
#include "render/scene_pass.h"
#include "temp_program_folder.h"
#include "view/render_state.h"

namespace {

// A model that owns its stones, as the window's model does.
class TScene : public TOwnedBlockList {
public:
    // A stone at a grid position (modules, thirds) with a size (modules, thirds).
    TBlock* Add(char kind, int x, int y, int z, int l, int w, int h, TColor color, int turns = 0) {
        std::unique_ptr<TBlock> s =
            TBlockFactory::Create(kind, x, y, z, l, w, h, color, true, false, false, "");
        for (int i = 0; i < turns; ++i)
            s->TurnQuarter();
        return InsertSorted(std::move(s));
    }
    TBlock* AddPart(const std::string& part, int x, int y, int z, TColor color, int turns = 0) {
        std::unique_ptr<TBlock> s = std::make_unique<TGeneralBlock>(x, y, z, 0, 0, 0, color, true, false,
                                                                    false, "parts.dat", part, "");
        for (int i = 0; i < turns; ++i)
            s->TurnQuarter();
        return InsertSorted(std::move(s));
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
    scene.Add('B', -5, 0, 0, 2, 1, 3, RGB(200, 40, 40));
    scene.Add('R', -3, 0, 0, 2, 2, 3, RGB(40, 160, 40));
    scene.Add('T', 0, 0, 0, 2, 2, 3, RGB(40, 40, 200));
    scene.Add('N', 3, 0, 0, 2, 2, 3, RGB(200, 160, 40));
    scene.Add('C', -5, 3, 0, 2, 2, 3, RGB(160, 40, 160));
    scene.Add('I', -3, 3, 0, 2, 2, 3, RGB(40, 160, 160));
    scene.Add('E', 0, 3, 0, 2, 2, 3, RGB(120, 120, 120));
    scene.AddPart("arch", 3, 3, 0, RGB(230, 200, 150));
    scene.AddPart("cylinder", -5, -4, 0, RGB(250, 250, 250));
    scene.AddPart("cone", -3, -4, 0, RGB(240, 120, 40));
    scene.AddPart("stair", 0, -4, 0, RGB(150, 150, 220));
    scene.AddPart("slope45", 3, -4, 0, RGB(200, 60, 60));
    TRenderState view;
    Aim(view, 240, 180, 70, 330, 1.0f);
    EXPECT_TRUE(MatchesGolden("kinds_front_right", Render(scene, view, 240, 180)));
}

namespace {

// A small group seen in every test below: a box, a roof, a round stone, a
// corner roof and an arch, close enough together to cover each other.
void AddGroup(TScene& scene) {
    scene.Add('B', -1, 0, 0, 2, 1, 3, RGB(200, 40, 40));
    scene.Add('T', -1, 1, 0, 2, 2, 3, RGB(40, 40, 200), 1);
    scene.Add('R', 1, 0, 0, 1, 1, 6, RGB(40, 160, 40));
    scene.Add('C', 1, 1, 3, 2, 2, 3, RGB(160, 40, 160), 2);
    scene.AddPart("arch", -2, -2, 0, RGB(230, 200, 150));
}

} // namespace

TEST_F(SceneTest, EveryOctantShadedAndPlain) {
    const int turns[4] = {30, 120, 210, 300};
    for (bool shading : {true, false}) {
        for (int octant = 0; octant < 8; ++octant) {
            TScene scene;
            AddGroup(scene);
            TRenderState view;
            view.Shading = shading;
            Aim(view, 120, 100, octant < 4 ? 60 : 125, turns[octant % 4], 0.6f);
            ASSERT_EQ(view.Octant(), octant);
            const std::string name =
                std::string(shading ? "octant" : "plain_octant") + std::to_string(octant);
            EXPECT_TRUE(MatchesGolden(name, Render(scene, view, 120, 100))) << name;
        }
    }
}

TEST_F(SceneTest, WireframeAndSeeThroughStones) {
    TScene scene;
    AddGroup(scene);
    TRenderState view;
    Aim(view, 120, 100, 60, 30, 0.6f);
    view.Wireframe = true;
    view.Shading = false;
    EXPECT_TRUE(MatchesGolden("wireframe", Render(scene, view, 120, 100)));

    // An aqua stone and a transparent stone in front of a red wall: blended at
    // 16 and 32 bits, hatched through the canvas at 24 bits.
    TScene glass;
    glass.Add('B', -2, -3, 0, 4, 1, 6, RGB(200, 40, 40));
    glass.Add('B', -3, 0, 0, 3, 1, 6, clAqua);
    glass.Add('B', 0, 0, 0, 3, 1, 6, RGB(240, 240, 0))->Transparent = true;
    TRenderState front;
    Aim(front, 96, 80, 80, 10, 0.6f);
    front.ViewOffsetY = 60;
    for (TPixelFormat format : {pf32bit, pf16bit, pf24bit}) {
        const std::string name = format == pf32bit ? "glass32" : format == pf16bit ? "glass16" : "glass24";
        EXPECT_TRUE(MatchesGolden(name, Render(glass, front, 96, 80, format))) << name;
    }
}

TEST_F(SceneTest, CutGeneralStoneIsDarkened) {
    TScene scene;
    TBlock* arch = scene.AddPart("arch", -2, 0, 0, RGB(230, 200, 150));
    scene.Add('B', -2, 2, 0, 4, 1, 3, RGB(40, 40, 200));
    TRenderState view;
    Aim(view, 96, 80, 60, 30, 0.6f);
    CutState().DialogShown = true;
    CutState().IncludeAll = true;
    CutState().ZHigh = 40; // the arch (60 high) rises above the box and is marked cut
    QImage picture = Render(scene, view, 96, 80);
    EXPECT_TRUE(arch->Cut);
    EXPECT_TRUE(MatchesGolden("cut_arch", picture));
}

TEST_F(SceneTest, PlainBoxFacesTakeTheirShadeFactors) {
    TScene scene;
    scene.Add('B', -2, -1, 0, 4, 2, 6, RGB(200, 100, 50));
    TRenderState view;
    Aim(view, 120, 100, 60, 30, 1.0f);
    ASSERT_EQ(view.Octant(), 0);
    TBitmap picture(120, 100, pf32bit);
    DrawScenePlain(picture, scene, view, TBackground{clWhite, nullptr});
    const QImage image = picture.ToImage();
    // Octant 0 shows the x = X face, the y = Y + Width face and the top; sample
    // the middle of each face.
    auto colourAt = [&](int x, int y, int z) {
        TPoint p = view.ProjectPoint(x, y, z);
        QRgb c = image.pixel(p.x, p.y);
        return RGB(qRed(c), qGreen(c), qBlue(c));
    };
    EXPECT_EQ(colourAt(-40, 0, 20), ShadeColor(RGB(200, 100, 50), 0.8f));
    EXPECT_EQ(colourAt(0, 20, 20), RGB(200, 100, 50));
    EXPECT_EQ(colourAt(0, 0, 40), ShadeColor(RGB(200, 100, 50), view.FaceShade[foFlat]));
}

TEST_F(SceneTest, EightBitPictureHatchesSeeThroughStones) {
    TScene glass;
    glass.Add('B', -2, -3, 0, 4, 1, 6, RGB(200, 40, 40));
    glass.Add('B', -3, 0, 0, 3, 1, 6, clAqua);
    TRenderState front;
    Aim(front, 96, 80, 80, 10, 0.6f);
    front.ViewOffsetY = 60;
    EXPECT_TRUE(MatchesGolden("glass8", Render(glass, front, 96, 80, pf8bit)));
}

TEST_F(SceneTest, AntiAliasedPass) {
    TScene scene;
    AddGroup(scene);
    TRenderState view;
    Aim(view, 120, 100, 60, 30, 0.6f);
    TBitmap picture(120, 100, pf32bit);
    DrawSceneAntiAliased(picture, Rect(0, 0, 120, 100), 120, 100, scene, view, TBackground{clWhite, nullptr});
    EXPECT_TRUE(MatchesGolden("antialiased", picture));
    // Scale and offsets come back as they were.
    EXPECT_EQ(view.ViewScale, 0.6f);
    EXPECT_EQ(view.ViewOffsetX, 60.0f);
    EXPECT_FALSE(view.Painting);

    // A one-pixel black line at twice the size averages to grey of at most half
    // intensity: a black wireframe stone seen from straight above.
    TScene line;
    line.Add('B', -2, -1, 0, 4, 2, 3, clBlack);
    TRenderState top;
    Aim(top, 100, 60, 0, 0, 1.0f);
    top.Wireframe = true;
    TBitmap smooth(100, 60, pf32bit);
    DrawSceneAntiAliased(smooth, Rect(0, 0, 100, 60), 100, 60, line, top, TBackground{clWhite, nullptr});
    const QImage image = smooth.ToImage();
    const TPoint edge = top.ProjectPoint(0, -20, 20); // middle of a long edge
    EXPECT_EQ(qRed(image.pixel(edge.x, edge.y)), 127);
    int darkest = 255;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    EXPECT_GE(darkest, 63); // three of four pixels at most, where edges meet

    // Only the requested rectangle is averaged, its corner landing at (0, 0).
    TBitmap part(20, 10, pf32bit);
    DrawSceneAntiAliased(part, Rect(edge.x - 10, edge.y - 5, edge.x + 10, edge.y + 5), 100, 60, line, top,
                         TBackground{clWhite, nullptr});
    EXPECT_EQ(qRed(part.ToImage().pixel(10, 5)), 127);
    TBitmap wrongFormat(20, 10, pf16bit);
    EXPECT_THROW(DrawSceneAntiAliased(wrongFormat, Rect(0, 0, 20, 10), 100, 60, line, top, TBackground{}),
                 EError);
    EXPECT_FALSE(top.Painting);
}

TEST_F(SceneTest, BackgroundPictureFittedInProportion) {
    // A 40 x 10 picture: blue with a yellow band, wider than the view.
    TBitmap backdrop(40, 10, pf32bit);
    backdrop.Canvas().Brush.Color = RGB(40, 80, 200);
    backdrop.Canvas().FillRect(Rect(0, 0, 40, 10));
    backdrop.Canvas().Brush.Color = RGB(250, 220, 0);
    backdrop.Canvas().FillRect(Rect(0, 4, 40, 6));
    TScene scene;
    scene.Add('B', -1, -1, 0, 2, 2, 3, RGB(200, 40, 40));
    TRenderState view;
    Aim(view, 80, 60, 60, 30, 0.8f);
    TBitmap picture(80, 60, pf32bit);
    DrawScenePlain(picture, scene, view, TBackground{RGB(0, 160, 0), &backdrop});
    const QImage image = picture.ToImage();
    // The picture keeps its 4:1 proportion: full width, 20 rows, centred; the
    // rows above and below stay the background colour.
    EXPECT_EQ(image.pixel(2, 2) & 0xFFFFFF, 0x00A000u);
    EXPECT_EQ(image.pixel(2, 57) & 0xFFFFFF, 0x00A000u);
    EXPECT_EQ(image.pixel(2, 21) & 0xFFFFFF, 0x2850C8u);
    EXPECT_EQ(image.pixel(2, 38) & 0xFFFFFF, 0x2850C8u);
    EXPECT_TRUE(MatchesGolden("background", image));
}

TEST_F(SceneTest, PassesNeverRunNested) {
    TScene scene;
    scene.Add('B', -1, -1, 0, 2, 2, 3, RGB(200, 40, 40));
    TRenderState view;
    Aim(view, 40, 30, 60, 30, 0.5f);
    TBitmap picture(40, 30, pf32bit);
    picture.Canvas().Brush.Color = clBlack;
    picture.Canvas().FillRect(Rect(0, 0, 40, 30));
    view.Painting = true; // a pass is running already
    DrawScenePlain(picture, scene, view, TBackground{clWhite, nullptr});
    EXPECT_EQ(picture.ToImage().pixel(0, 0) & 0xFFFFFF, 0u);
    view.Painting = false;
    view.SkipPainting = true;
    DrawScenePlain(picture, scene, view, TBackground{clWhite, nullptr});
    EXPECT_EQ(picture.ToImage().pixel(0, 0) & 0xFFFFFF, 0u);
    view.SkipPainting = false;
    DrawScenePlain(picture, scene, view, TBackground{clWhite, nullptr});
    EXPECT_EQ(picture.ToImage().pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(SceneTest, HitTestMatchesTheDrawnStone) {
    for (int octant = 0; octant < 8; ++octant) {
        TScene scene;
        TBlock* stone = scene.Add('B', -2, -1, -1, 3, 2, 6, RGB(200, 40, 40));
        TRenderState view;
        Aim(view, 100, 80, octant < 4 ? 55 : 130, 20 + 90 * (octant % 4), 0.8f);
        const QImage image = Render(scene, view, 100, 80);
        int hits = 0, painted = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool isPainted = (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
                painted += isPainted;
                // Column 0, row 0 and the last row lie outside the rasteriser's clip box.
                const bool drawable = x > 0 && y > 0 && y < 79;
                if (stone->HitTest(view, x, y) && drawable) {
                    ++hits;
                    EXPECT_TRUE(isPainted) << "octant " << octant << " at " << x << "," << y;
                }
            }
        // Only the outline's pixels lie outside the hit area.
        EXPECT_GT(hits, painted * 8 / 10) << octant;
    }
}

TEST_F(SceneTest, BitmapFaceShowsItsPictureAtTheHighestDetail) {
    TTempProgramFolder folder; // parts of this test only
    folder.WritePartFile("pics.dat",
                         "[panel]\nNP=1\nBB=40,20,40\nP1=4, 1, 0,20,40, 0,20,0, 40,20,0, 40,20,40\n"
                         "BM=1, panel.bmp\nQ1=1 ,1\nQ2=1 ,1\nQ3=1 ,1\nQ4=1 ,1\nQ5=1 ,1\nQ6=1 ,1\n"
                         "Q7=1 ,1\nQ8=1 ,1\n");
    // A 16 x 16 picture: red left half, blue right half, a white middle; its
    // corner pixel is white, so white is see-through.
    TBitmap picture(16, 16, pf32bit);
    picture.Canvas().Brush.Color = RGB(250, 0, 0);
    picture.Canvas().FillRect(Rect(0, 0, 8, 16));
    picture.Canvas().Brush.Color = RGB(0, 0, 250);
    picture.Canvas().FillRect(Rect(8, 0, 16, 16));
    picture.Canvas().Brush.Color = clWhite;
    picture.Canvas().FillRect(Rect(5, 5, 11, 11));
    picture.Canvas().FillRect(Rect(0, 0, 1, 1));
    picture.Canvas().Refresh();
    SavePictureFile(picture, folder.Parts() / "panel.bmp");

    TScene scene;
    scene.InsertSorted(std::make_unique<TGeneralBlock>(-1, -1, 0, 0, 0, 0, RGB(0, 160, 0), true, false, false,
                                                       "pics.dat", "panel", ""));
    TRenderState view;
    Aim(view, 120, 100, 80, 0, 2.0f);
    view.Shading = false;
    view.DetailLevel = 2;
    auto colourAt = [&](const QImage& image, int x, int z) {
        const TPoint p = view.ProjectPoint(x, 0, z);
        return image.pixel(p.x, p.y) & 0xFFFFFF;
    };
    const QImage laid = Render(scene, view, 120, 100);
    EXPECT_EQ(colourAt(laid, -12, 10), 0xFA0000u); // the red half
    EXPECT_EQ(colourAt(laid, 12, 10), 0x0000FAu);  // the blue half
    EXPECT_EQ(colourAt(laid, 0, 20), 0x00A000u);   // white is see-through: the face shows
    EXPECT_EQ(view.Pictures.Count(), 1);

    // The picture is read once: later passes draw it with the file gone.
    std::filesystem::remove(folder.Parts() / "panel.bmp");
    EXPECT_EQ(Render(scene, view, 120, 100), laid);

    // Below the highest detail the face shows its two diagonals instead.
    view.DetailLevel = 1;
    const QImage plain = Render(scene, view, 120, 100);
    EXPECT_EQ(colourAt(plain, -12, 10), 0x00A000u);
    const TPoint corner = view.ProjectPoint(-20, 0, 40);
    const TPoint opposite = view.ProjectPoint(20, 0, 0);
    const TPoint middle{(corner.x + opposite.x) / 2, (corner.y + opposite.y) / 2};
    EXPECT_NE(plain.pixel(middle.x, middle.y) & 0xFFFFFF, 0x00A000u); // where the diagonals cross
}
