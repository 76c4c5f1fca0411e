#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/stonemill_app.h"
#include "common/error.h"
#include "temp_program_folder.h"

namespace fs = std::filesystem;

namespace {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(BuiltProgramFolder() / "parts", folder.Parts(),
                 fs::copy_options::overwrite_existing | fs::copy_options::recursive);
        app = std::make_unique<TStonemillApp>(folder.Path());
        app->Scene.ResizeView(200, 150);
    }
    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path path = folder.Path() / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    TTempProgramFolder folder;
    std::unique_ptr<TStonemillApp> app;
};

} // namespace

TEST_F(AppTest, CaptionFollowsTheModelFile) {
    EXPECT_EQ(app->Document.Caption(), "Stonemill Ver 1.42");
    app->Document.SetCaptionAndFileNames("/m/house.stm");
    EXPECT_EQ(app->Document.Caption(), "Stonemill Ver 1.42 - /m/house.stm");
    EXPECT_EQ(app->Document.SaveFileName(), "house.stm");
    EXPECT_EQ(app->Document.OpenFileName(), "/m/house.stm");
    app->Document.SetCaptionAndFileNames("/m/other-one.stm");
    EXPECT_EQ(app->Document.Caption(), "Stonemill Ver 1.42 - /m/other-one.stm");
    app->Document.SetCaptionAndFileNames("");
    EXPECT_EQ(app->Document.Caption(), "Stonemill Ver 1.42");
    EXPECT_EQ(app->Document.SaveFileName(), "");
}

TEST_F(AppTest, LoadAppliesTheViewLineAndReportsBadLines) {
    const fs::path path = Write("m.stm", "= 45 100 10 12 -7 0 1\r\n"
                                         "B 0 0 0 40 20 20 255 1 0 0 0 3 wall 5\r\n"
                                         "G 40 0 0 0 0 0 0 1 0 1 0 parts.dat nothere 0  0\r\n"
                                         "R 1 2 3 2 2 3 65280 1 0 0 0 0  0\r\n");
    std::vector<std::pair<int, std::string>> errors;
    app->Files.OnLineError = [&](int line, const std::string& message) {
        errors.emplace_back(line, message);
    };
    const int passes = app->Scene.PassCount();
    app->Files.LoadModel(path, TLoadMode::lmComplete);
    EXPECT_EQ(app->Scene.PassCount(), passes + 1); // one picture for the whole load
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].first, 3);
    EXPECT_EQ(errors[0].second, "Could not find part nothere in file parts.dat");
    EXPECT_EQ(app->Document.Model().Count(), 2);
    EXPECT_EQ(app->Scene.Control().RotX().Position, 45);
    EXPECT_EQ(app->Scene.Control().RotZ().Position, 100);
    EXPECT_EQ(app->Scene.Control().Zoom(), 1.0f);
    EXPECT_EQ(app->Scene.Control().OffsetX().Position, 12);
    EXPECT_EQ(app->Scene.Control().OffsetY().Position, -7);
    EXPECT_EQ(app->Scene.Control().Recorded().RotZ, 100);
    EXPECT_EQ(app->Document.HighestGroup(), 3);
    EXPECT_EQ(app->Document.Model().HighestExtraNumber, 5);
    EXPECT_EQ(app->Document.Caption(), "Stonemill Ver 1.42 - " + path.string());
    EXPECT_FALSE(app->Document.Dirty());
    EXPECT_EQ(app->Document.DialogFolders().Open, folder.Path());

    EXPECT_THROW(app->Files.LoadModel(folder.Path() / "missing.stm", TLoadMode::lmComplete), EError);
}

TEST_F(AppTest, BreakingUpASceneIsLongWorkWithProgress) {
    std::string scene = "= 70 330 20 0 0 0 1\r\n";
    for (int group = 1; group <= 50; ++group)
        scene += "B " + std::to_string(group * 40) + " 0 0 40 20 20 255 1 0 0 0 " + std::to_string(group) +
                 " n 0\r\n";
    const fs::path path = Write("scene.stm", scene);
    std::vector<std::string> works;
    std::vector<double> shares;
    bool busy = false;
    app->Work.OnLongWork = [&](const std::string& what, const TLongWorkGate::TLongWork& work) {
        works.push_back(what);
        busy = app->Work.Busy();
        work([&](double share) { shares.push_back(share); });
    };
    const std::optional<TBreakUpResult> result = app->Files.BreakUpScene(path);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->Files.size(), 50u);
    EXPECT_EQ(folder.ReadFile(folder.Path() / "scene" / "49.stm"),
              "= 70 330 20 0 0 0 1\r\nB 2000 0 0 40 20 20 255 1 0 0 0 50 n 0\r\n");
    EXPECT_EQ(works, std::vector<std::string>{"Breaking up scene.stm"});
    EXPECT_TRUE(busy);
    ASSERT_GE(shares.size(), 50u);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_DOUBLE_EQ(shares.back(), 1.0);
    EXPECT_FALSE(app->Work.Busy());

    // What the work raises reaches the caller.
    const fs::path bad = Write("bad.stm", "B 0 0 0 20 20 20 255 1 0 0 0 x n 0\r\n");
    EXPECT_THROW(app->Files.BreakUpScene(bad), EError);
    EXPECT_FALSE(app->Work.Busy());
}

TEST_F(AppTest, SaveWritesTheCurrentViewAndClearsTheDirtyFlag) {
    const fs::path path = Write("m.stm", "B 0 0 0 2 1 3 255 1 1 2 1 0 name 9\r\n");
    app->Files.LoadModel(path, TLoadMode::lmComplete);
    app->Scene.Control().SetViewAngles(30, 60);
    app->Scene.Control().SetZoom(2.0f);
    app->Document.SetDirty(true);
    const fs::path saved = folder.Path() / "saved.stm";
    app->Files.SaveModel(saved, TSaveMode::smComplete);
    EXPECT_FALSE(app->Document.Dirty());
    EXPECT_EQ(folder.ReadFile(saved), "= 30 60 5 0 0 0 1\r\nB 0 0 0 40 20 20 255 1 1 2 1 0 name 9\r\n");
    EXPECT_EQ(app->Scene.Control().Recorded().RotX, 30);
    EXPECT_EQ(app->Document.Caption(), "Stonemill Ver 1.42 - " + saved.string());

    // A failed save keeps the dirty flag and the old file.
    app->Document.SetDirty(true);
    EXPECT_THROW(app->Files.SaveModel(folder.Path() / "no" / "x.stm", TSaveMode::smComplete), EError);
    EXPECT_TRUE(app->Document.Dirty());
    // Partial saves leave it as it was.
    app->Files.SaveModel(folder.Path() / "part.stm", TSaveMode::smSelected);
    EXPECT_TRUE(app->Document.Dirty());
    EXPECT_EQ(folder.ReadFile(folder.Path() / "part.stm"), "= 30 60 5 0 0 0 1\r\n");
}

TEST_F(AppTest, RecentFilesKeepEachFileOnceMostRecentFirst) {
    std::vector<fs::path> paths;
    for (int i = 0; i < 14; ++i)
        paths.push_back(Write("m" + std::to_string(i) + ".stm", ""));
    for (const auto& p : paths)
        app->Files.LoadModel(p, TLoadMode::lmComplete);
    EXPECT_EQ(app->Document.RecentFiles().size(), 14u); // new files make the list grow
    app->Files.LoadModel(paths[3], TLoadMode::lmComplete);
    EXPECT_EQ(app->Document.RecentFiles().front(), paths[3].string());
    EXPECT_EQ(app->Document.RecentFiles().size(), 13u); // a move to the top trims it to 12 plus one
    EXPECT_EQ(
        std::count(app->Document.RecentFiles().begin(), app->Document.RecentFiles().end(), paths[3].string()),
        1);
}

TEST_F(AppTest, SubassemblyBecomesThePendingGroup) {
    const fs::path base = Write("base.stm", "= 70 330 20 0 0 0 1\r\nB 0 0 0 40 20 20 255 1 0 0 0 4  7\r\n");
    const fs::path sub = Write("sub.stm", "= 70 330 20 0 0 0 1\r\n"
                                          "B 0 0 0 40 20 20 0 1 0 0 0 0  0\r\n"
                                          "B 0 0 20 40 20 20 255 1 1 0 0 0  0\r\n"
                                          "B 40 0 0 40 40 40 255 1 0 0 0 0  0\r\n");
    app->Files.LoadModel(base, TLoadMode::lmComplete);
    app->Scene.Control().SetViewAngles(10, 10);
    app->Files.LoadModel(sub, TLoadMode::lmSubassembly);
    EXPECT_EQ(app->Document.Model().Count(), 1);         // the model stays
    EXPECT_EQ(app->Scene.Control().RotX().Position, 10); // and so does the view
    ASSERT_EQ(app->Hand.Pending().Count(), 2);           // the base plate is left out
    for (TBlock* s : app->Hand.Pending().Stones()) {
        EXPECT_EQ(s->Group, 5);
        EXPECT_EQ(s->ExtraNumber, 7);
    }
    ASSERT_TRUE(app->Hand.Holding()); // the proxy, " 4x2x6"
    EXPECT_EQ(app->Hand.Stone()->Length, 80);
    EXPECT_EQ(app->Hand.Stone()->Width, 40);
    EXPECT_EQ(app->Hand.Stone()->Height, 40);
    EXPECT_EQ(app->Hand.Pending().Stones()[0]->Color == 0, false); // black took the current colour
    app->Files.NewModel();
    EXPECT_EQ(app->Hand.Pending().Count(), 0);
    EXPECT_EQ(app->Document.Model().Count(), 0);
}

TEST_F(AppTest, DrawingOptionsDrawOnceEach) {
    int passes = app->Scene.PassCount();
    app->Scene.SetShading(false);
    app->Scene.SetDetailLevel(2);
    app->Scene.SetBitDepth(bd16);
    EXPECT_EQ(app->Scene.Picture().PixelFormat(), pf16bit);
    app->Scene.SetAntiAlias(true); // anti-aliasing needs 32 bits
    EXPECT_EQ(app->Scene.Picture().PixelFormat(), pf32bit);
    EXPECT_EQ(app->Scene.BitDepth(), bd32);
    app->Scene.RefreshDisplay();
    EXPECT_EQ(app->Scene.PassCount(), passes + 5);

    // The wireframe button keeps the detail level and shading while it is down.
    app->Scene.SetShading(true);
    app->Scene.SetWireframe(true);
    EXPECT_EQ(app->Scene.View().DetailLevel, 0);
    EXPECT_FALSE(app->Scene.View().Shading);
    app->Scene.SetWireframe(false);
    EXPECT_EQ(app->Scene.View().DetailLevel, 2);
    EXPECT_TRUE(app->Scene.View().Shading);
    app->Scene.SetWireframe(true);
    app->Scene.SetDetailLevel(1); // choosing a level releases the button
    EXPECT_FALSE(app->Scene.View().Wireframe);
    EXPECT_TRUE(app->Scene.View().Shading);
}
