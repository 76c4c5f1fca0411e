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
        app->ResizeView(200, 150);
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
    EXPECT_EQ(app->Caption(), "Stonemill Ver 1.42");
    app->SetCaptionAndFileNames("/m/house.stm");
    EXPECT_EQ(app->Caption(), "Stonemill Ver 1.42 - /m/house.stm");
    EXPECT_EQ(app->SaveFileName(), "house.stm");
    EXPECT_EQ(app->OpenFileName(), "/m/house.stm");
    app->SetCaptionAndFileNames("/m/other-one.stm");
    EXPECT_EQ(app->Caption(), "Stonemill Ver 1.42 - /m/other-one.stm");
    app->SetCaptionAndFileNames("");
    EXPECT_EQ(app->Caption(), "Stonemill Ver 1.42");
    EXPECT_EQ(app->SaveFileName(), "");
}

TEST_F(AppTest, LoadAppliesTheViewLineAndReportsBadLines) {
    const fs::path path = Write("m.stm", "= 45 100 10 12 -7 0 1\r\n"
                                         "B 0 0 0 40 20 20 255 1 0 0 0 3 wall 5\r\n"
                                         "G 40 0 0 0 0 0 0 1 0 1 0 parts.dat nothere 0  0\r\n"
                                         "R 1 2 3 2 2 3 65280 1 0 0 0 0  0\r\n");
    std::vector<std::pair<int, std::string>> errors;
    app->OnLineError = [&](int line, const std::string& message) { errors.emplace_back(line, message); };
    const int passes = app->PassCount();
    app->LoadModel(path, TLoadMode::lmComplete);
    EXPECT_EQ(app->PassCount(), passes + 1); // one picture for the whole load
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].first, 3);
    EXPECT_EQ(errors[0].second, "Could not find part nothere in file parts.dat");
    EXPECT_EQ(app->Model.Count(), 2);
    EXPECT_EQ(app->ViewControl.RotX().Position, 45);
    EXPECT_EQ(app->ViewControl.RotZ().Position, 100);
    EXPECT_EQ(app->ViewControl.Zoom(), 1.0f);
    EXPECT_EQ(app->ViewControl.OffsetX().Position, 12);
    EXPECT_EQ(app->ViewControl.OffsetY().Position, -7);
    EXPECT_EQ(app->ViewControl.Recorded().RotZ, 100);
    EXPECT_EQ(app->HighestGroup, 3);
    EXPECT_EQ(app->Model.HighestExtraNumber, 5);
    EXPECT_EQ(app->Caption(), "Stonemill Ver 1.42 - " + path.string());
    EXPECT_FALSE(app->Dirty);
    EXPECT_EQ(app->OpenFolder, folder.Path());

    EXPECT_THROW(app->LoadModel(folder.Path() / "missing.stm", TLoadMode::lmComplete), EError);
}

TEST_F(AppTest, SaveWritesTheCurrentViewAndClearsTheDirtyFlag) {
    const fs::path path = Write("m.stm", "B 0 0 0 2 1 3 255 1 1 2 1 0 name 9\r\n");
    app->LoadModel(path, TLoadMode::lmComplete);
    app->ViewControl.SetViewAngles(30, 60);
    app->ViewControl.SetZoom(2.0f);
    app->Dirty = true;
    const fs::path saved = folder.Path() / "saved.stm";
    app->SaveModel(saved, TSaveMode::smComplete);
    EXPECT_FALSE(app->Dirty);
    EXPECT_EQ(folder.ReadFile(saved), "= 30 60 5 0 0 0 1\r\nB 0 0 0 40 20 20 255 1 1 2 1 0 name 9\r\n");
    EXPECT_EQ(app->ViewControl.Recorded().RotX, 30);
    EXPECT_EQ(app->Caption(), "Stonemill Ver 1.42 - " + saved.string());

    // A failed save keeps the dirty flag and the old file.
    app->Dirty = true;
    EXPECT_THROW(app->SaveModel(folder.Path() / "no" / "x.stm", TSaveMode::smComplete), EError);
    EXPECT_TRUE(app->Dirty);
    // Partial saves leave it as it was.
    app->SaveModel(folder.Path() / "part.stm", TSaveMode::smSelected);
    EXPECT_TRUE(app->Dirty);
    EXPECT_EQ(folder.ReadFile(folder.Path() / "part.stm"), "= 30 60 5 0 0 0 1\r\n");
}

TEST_F(AppTest, RecentFilesKeepEachFileOnceMostRecentFirst) {
    std::vector<fs::path> paths;
    for (int i = 0; i < 14; ++i)
        paths.push_back(Write("m" + std::to_string(i) + ".stm", ""));
    for (const auto& p : paths)
        app->LoadModel(p, TLoadMode::lmComplete);
    EXPECT_EQ(app->RecentFiles().size(), 14u); // new files make the list grow
    app->LoadModel(paths[3], TLoadMode::lmComplete);
    EXPECT_EQ(app->RecentFiles().front(), paths[3].string());
    EXPECT_EQ(app->RecentFiles().size(), 13u); // a move to the top trims it to 12 plus one
    EXPECT_EQ(std::count(app->RecentFiles().begin(), app->RecentFiles().end(), paths[3].string()), 1);
}

TEST_F(AppTest, SubassemblyBecomesThePendingGroup) {
    const fs::path base = Write("base.stm", "= 70 330 20 0 0 0 1\r\nB 0 0 0 40 20 20 255 1 0 0 0 4  7\r\n");
    const fs::path sub = Write("sub.stm", "= 70 330 20 0 0 0 1\r\n"
                                          "B 0 0 0 40 20 20 0 1 0 0 0 0  0\r\n"
                                          "B 0 0 20 40 20 20 255 1 1 0 0 0  0\r\n"
                                          "B 40 0 0 40 40 40 255 1 0 0 0 0  0\r\n");
    app->LoadModel(base, TLoadMode::lmComplete);
    app->ViewControl.SetViewAngles(10, 10);
    app->LoadModel(sub, TLoadMode::lmSubassembly);
    EXPECT_EQ(app->Model.Count(), 1);                // the model stays
    EXPECT_EQ(app->ViewControl.RotX().Position, 10); // and so does the view
    ASSERT_EQ(app->Pending().Count(), 2);            // the base plate is left out
    for (TBlock* s : app->Pending().Stones()) {
        EXPECT_EQ(s->Group, 5);
        EXPECT_EQ(s->ExtraNumber, 7);
    }
    ASSERT_TRUE(app->Hand.Holding()); // the proxy, " 4x2x6"
    EXPECT_EQ(app->Hand.Stone()->Length, 80);
    EXPECT_EQ(app->Hand.Stone()->Width, 40);
    EXPECT_EQ(app->Hand.Stone()->Height, 40);
    EXPECT_EQ(app->Pending().Stones()[0]->Color == 0, false); // black took the current colour
    app->NewModel();
    EXPECT_EQ(app->Pending().Count(), 0);
    EXPECT_EQ(app->Model.Count(), 0);
}

TEST_F(AppTest, DrawingOptionsDrawOnceEach) {
    int passes = app->PassCount();
    app->SetShading(false);
    app->SetDetailLevel(2);
    app->SetBitDepth(bd16);
    EXPECT_EQ(app->Picture().PixelFormat(), pf16bit);
    app->SetAntiAlias(true); // anti-aliasing needs 32 bits
    EXPECT_EQ(app->Picture().PixelFormat(), pf32bit);
    EXPECT_EQ(app->BitDepth(), bd32);
    app->RefreshDisplay();
    EXPECT_EQ(app->PassCount(), passes + 5);

    // The wireframe button keeps the detail level and shading while it is down.
    app->SetShading(true);
    app->SetWireframe(true);
    EXPECT_EQ(app->DetailLevel(), 0);
    EXPECT_FALSE(app->Shading());
    app->SetWireframe(false);
    EXPECT_EQ(app->DetailLevel(), 2);
    EXPECT_TRUE(app->Shading());
    app->SetWireframe(true);
    app->SetDetailLevel(1); // choosing a level releases the button
    EXPECT_FALSE(app->Wireframe());
    EXPECT_TRUE(app->Shading());
}
