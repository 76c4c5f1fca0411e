// Rules the windows once kept to themselves, now the core's: the light
// preview, the choices of the background and set dialogs, the models the
// load menu lists, the grid that the cutting dialog steps by, fitting the
// model seen from above, dialogs kept on the screen, and where models are
// opened with the previews saved beside them.

#include <gtest/gtest.h>

#include <QImage>
#include <cerrno>
#include <climits>
#include <fstream>

#include "app/screen_placement.h"
#include "app/stonemill_app.h"
#include "common/error.h"
#include "files/model_preview.h"
#include "model/cut_state.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

class WindowRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<TStonemillApp>(folder.Path());
        app->Scene.ResizeView(200, 150);
    }
    void TearDown() override { CutState().Reset(); }
    TTempProgramFolder folder;
    std::unique_ptr<TStonemillApp> app;
};

} // namespace

TEST_F(WindowRulesTest, PreviewsAndDialogChoicesOfTheView) {
    TSceneView& scene = app->Scene;
    app->Document.Model().InsertSorted(StoneInUnits('B', 0, 0, 0, 160, 80, 40, RGB(200, 200, 200)));
    scene.RedrawPicture();
    const std::array<int32_t, 3> light = scene.View().Light;
    const auto shades = scene.View().FaceShade;
    const QImage before = scene.Picture().Image().copy();

    // The light's preview draws once with the new light and keeps the light.
    int passes = scene.PassCount();
    scene.PreviewLight({5, 0, 1});
    EXPECT_EQ(scene.PassCount(), passes + 1);
    EXPECT_EQ(scene.View().Light, light);
    EXPECT_EQ(scene.View().FaceShade, shades);
    EXPECT_NE(scene.Picture().Image(), before);

    // A background file without a picture is reported; cancelling the dialog
    // leaves the view without a background picture.
    const fs::path picture = folder.Path() / "sky.png";
    QImage(4, 4, QImage::Format_RGB32).save(QString::fromStdString(picture.string()));
    scene.ChooseBackgroundPicture(picture);
    EXPECT_NE(scene.Background().Picture, nullptr);
    std::ofstream(folder.Path() / "text.png") << "no picture";
    try {
        scene.ChooseBackgroundPicture(folder.Path() / "text.png");
        ADD_FAILURE() << "a file without a picture was taken";
    } catch (const EError& error) {
        EXPECT_EQ(error.Message(), "The file " + (folder.Path() / "text.png").string() +
                                       " holds no picture that can be shown.");
    }
    EXPECT_EQ(scene.Background().Picture, nullptr);
    scene.ChooseBackgroundPicture(picture);
    passes = scene.PassCount();
    scene.ChooseBackgroundPicture(std::nullopt);
    EXPECT_EQ(scene.Background().Picture, nullptr);
    EXPECT_EQ(scene.BackgroundFile(), picture); // the dialog starts there next time
    EXPECT_EQ(scene.PassCount(), passes + 1);

    // Fitting from above: straight down, turned square, filling nine tenths.
    scene.Control().SetViewAngles(70, 330);
    scene.Control().FitFromAbove(app->Document.Model());
    EXPECT_EQ(scene.Control().RotX().Position, 0);
    EXPECT_EQ(scene.Control().RotZ().Position, 0);
    const TPoint low = scene.View().Project(0, 0, 0, 0), high = scene.View().Project(160, 80, 0, 0);
    EXPECT_NEAR(std::abs(high.x - low.x), 180, 2);
}

TEST_F(WindowRulesTest, SupplyRecentFilesAndGridFollowTheDialogs) {
    // Cancelling the set dialog gives unlimited supply again.
    const fs::path set = folder.Path() / "kit.set";
    std::ofstream(set) << "2x4x3, 5\r\n";
    app->PaletteCommands.ChooseSet(set);
    EXPECT_FALSE(app->Supply.Unlimited());
    app->PaletteCommands.ChooseSet(std::nullopt);
    EXPECT_TRUE(app->Supply.Unlimited());

    // The load menu lists the first 15 models of the run; a model loaded
    // again moves to the top, and the list then keeps 12.
    TModelDocument& document = app->Document;
    for (int i = 0; i < 20; ++i)
        document.NoteRecentFile("/m/" + std::to_string(i) + ".stm");
    const std::vector<std::string> menu = document.RecentFilesForMenu();
    ASSERT_EQ(menu.size(), 15u);
    EXPECT_EQ(menu.front(), "/m/19.stm");
    document.NoteRecentFile("/m/3.stm");
    EXPECT_EQ(document.RecentFiles().size(), 19u);
    EXPECT_EQ(document.RecentFiles().front(), "/m/3.stm");

    // A new grid is the stone in hand's and the cutting dialog's step.
    app->SetGrid(grHalf);
    EXPECT_EQ(app->Hand.Grid, grHalf);
    EXPECT_EQ(app->CutDialog.HorizontalStep, 40);
    EXPECT_EQ(app->CutDialog.VerticalStep, 40);
}

TEST(ScreenPlacement, DialogsOpenOnTheScreen) {
    const TRect screen = Rect(0, 0, 1280, 1024);
    EXPECT_EQ(KeepOnScreen(Rect(100, 100, 400, 300), screen), Rect(100, 100, 400, 300));
    // Placed beside a picture frame far off the screen.
    EXPECT_EQ(KeepOnScreen(Rect(100000, 100000, 100147, 100028), screen), Rect(1133, 996, 1280, 1024));
    EXPECT_EQ(KeepOnScreen(Rect(-5000, -300, -4800, -100), screen), Rect(0, 0, 200, 200));
    // Larger than the screen: its top-left corner, with the title bar, on it.
    EXPECT_EQ(KeepOnScreen(Rect(50, -50, 2000, 1500), screen), Rect(0, 0, 1950, 1550));
    // A second screen to the right, with a panel along its top.
    EXPECT_EQ(KeepOnScreen(Rect(0, 0, 100, 100), Rect(1280, 30, 2560, 1024)), Rect(1280, 30, 1380, 130));
    EXPECT_EQ(KeepOnScreen(Rect(INT32_MIN, INT32_MAX - 10, INT32_MIN + 10, INT32_MAX), screen),
              Rect(0, 1014, 10, 1024));
}

TEST_F(WindowRulesTest, ModelsOpenWhereTheyAreSavedAndShowTheirPreviews) {
    // Models are opened from where they are saved; the shipped ones are
    // offered beside.
    const fs::path shipped = folder.Path() / "share", user = folder.Path() / "home";
    TModelDocument apart(TDataFolders(shipped, user));
    EXPECT_EQ(apart.DialogFolders().Open, user / "Models");
    EXPECT_EQ(apart.DialogFolders().Subassembly, user / "Models");
    EXPECT_EQ(apart.DialogFolders().Save, user / "Models");
    EXPECT_EQ(apart.DialogFolders().Demos, shipped / "Models");
    EXPECT_EQ(app->Document.DialogFolders().Open, folder.Path() / "Models");
    // A shipped model is proposed under its name in the user's folder; the
    // user's own where it is.
    apart.SetCaptionAndFileNames((shipped / "Models" / "castle.stm").string());
    EXPECT_EQ(apart.PrepareSave(TSaveMode::smComplete).FileName, "castle");
    EXPECT_EQ(apart.PrepareSave(TSaveMode::smComplete).Folder, user / "Models");
    apart.SetCaptionAndFileNames((user / "Models" / "mill.STM").string());
    EXPECT_EQ(apart.PrepareSave(TSaveMode::smComplete).FileName, (user / "Models" / "mill").string());

    // A saved model gets its preview: the stones fitted into 400 x 300, seen
    // as the view shows them, without the selection's marks; the view and the
    // selection stay as they were.
    TOwnedBlockList& model = app->Document.Model();
    model.InsertSorted(StoneInUnits('B', 0, 0, 0, 160, 80, 40, RGB(200, 40, 40)));
    model.InsertSorted(StoneInUnits('B', 400, 0, 0, 40, 40, 120, RGB(40, 40, 200)));
    model.InsertSorted(StoneInUnits('T', 0, 0, 40, 160, 80, 40, RGB(40, 200, 40))); // a roof on the red one
    for (TBlock* stone : model.Stones())
        stone->Selected = stone->Color == RGB(200, 40, 40);
    app->Scene.Control().SetZoom(4.0f);
    const TRenderState& view = app->Scene.View();
    const float scale = view.ViewScale, offsetX = view.ViewOffsetX;
    const fs::path house = folder.Path() / "Models" / "house.STM";
    fs::create_directories(house.parent_path());
    app->Document.DialogFolders().Open = folder.Path(); // opened from elsewhere
    app->Files.SaveModel(house, TSaveMode::smComplete);
    EXPECT_EQ(app->Document.DialogFolders().Open, house.parent_path()); // the next open starts beside it
    EXPECT_EQ(app->Files.SavePreview(house, TSaveMode::smComplete), "");
    const fs::path preview = folder.Path() / "Models" / "house.jpg";
    EXPECT_TRUE(IsOwnPreview(preview));
    const QImage picture(QString::fromStdString(preview.string()));
    ASSERT_EQ(picture.size(), QSize(400, 300));
    auto count = [](const QImage& image, auto test) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += test(image.pixelColor(x, y));
        return n;
    };
    auto red = [](QColor c) { return c.red() > 100 && c.green() < 80 && c.blue() < 80; };
    auto blue = [](QColor c) { return c.blue() > 100 && c.red() < 80 && c.green() < 80; };
    auto marked = [](QColor c) { return c.red() > 220 && c.green() < 30 && c.blue() < 30; };
    // Both stones, fitted: together they fill a good part of the picture.
    EXPECT_GT(count(picture, red), 4000);
    EXPECT_GT(count(picture, blue), 2000);
    EXPECT_EQ(count(picture, marked), 0);
    // The roof sits on its stone: above it, within its width.
    auto box = [](const QImage& image, auto test) {
        QRect found;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (test(image.pixelColor(x, y)))
                    found |= QRect(x, y, 1, 1);
        return found;
    };
    auto green = [](QColor c) { return c.green() > 100 && c.red() < 80 && c.blue() < 80; };
    const QRect wall = box(picture, red), roof = box(picture, green);
    EXPECT_LT(roof.center().y(), wall.center().y());
    EXPECT_GE(roof.left(), wall.left() - 8);
    EXPECT_LE(roof.right(), wall.right() + 8);
    EXPECT_EQ(
        std::count_if(model.Stones().begin(), model.Stones().end(), [](TBlock* s) { return s->Selected; }),
        1);
    EXPECT_EQ(view.ViewScale, scale);
    EXPECT_EQ(view.ViewOffsetX, offsetX);

    // The selected stones' file shows them alone.
    const fs::path part = folder.Path() / "Models" / "part.STM";
    app->Files.SaveModel(part, TSaveMode::smSelected);
    EXPECT_EQ(app->Files.SavePreview(part, TSaveMode::smSelected), "");
    const QImage partPicture(QString::fromStdString((folder.Path() / "Models" / "part.jpg").string()));
    EXPECT_GT(count(partPicture, red), 4000);
    EXPECT_EQ(count(partPicture, blue), 0);

    // Our own preview is written again at the next save; one that cannot be
    // written is said in the user's words, and the old one stays.
    const TFileOperations full{.Flush = [](std::FILE*) {
        errno = ENOSPC;
        return -1;
    }};
    const std::string old = folder.ReadFile(preview);
    EXPECT_EQ(app->Files.SavePreview(house, TSaveMode::smComplete, full),
              "The model is saved, but its preview picture " + preview.string() +
                  " could not be written.\nCannot write file \"" + preview.string() +
                  "\". No space left on device");
    EXPECT_EQ(folder.ReadFile(preview), old);
}
