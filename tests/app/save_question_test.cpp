#include <gtest/gtest.h>

#include <fstream>

#include "app/stonemill_app.h"
#include "temp_program_folder.h"

namespace {

struct TQuestion {
    TStonemillApp& App;
    int Asked = 0;
    int Saved = 0;

    bool Run(TSaveAnswer answer, bool saveSucceeds) {
        return App.Document.MayDiscardChanges(
            [&] {
                ++Asked;
                return answer;
            },
            [&] {
                ++Saved;
                return saveSucceeds;
            });
    }
};

TEST(SaveQuestion, NotAskedWithoutChanges) {
    TTempProgramFolder folder;
    TStonemillApp app(folder.Path());
    TQuestion q{app};
    EXPECT_TRUE(q.Run(TSaveAnswer::saCancel, false));
    EXPECT_EQ(q.Asked, 0);
    EXPECT_EQ(q.Saved, 0);
}

TEST(SaveQuestion, CancelStopsAndKeepsTheChanges) {
    TTempProgramFolder folder;
    TStonemillApp app(folder.Path());
    app.Document.SetDirty(true);
    TQuestion q{app};
    EXPECT_FALSE(q.Run(TSaveAnswer::saCancel, true));
    EXPECT_EQ(q.Asked, 1);
    EXPECT_EQ(q.Saved, 0);
    EXPECT_TRUE(app.Document.Dirty());
}

TEST(SaveQuestion, NoGoesOnWithoutSavingAndClearsTheFlag) {
    TTempProgramFolder folder;
    TStonemillApp app(folder.Path());
    app.Document.SetDirty(true);
    TQuestion q{app};
    EXPECT_TRUE(q.Run(TSaveAnswer::saNo, true));
    EXPECT_EQ(q.Saved, 0);
    EXPECT_FALSE(app.Document.Dirty());
}

TEST(SaveQuestion, YesSavesAndGoesOnOnlyWhenTheSaveSucceeds) {
    TTempProgramFolder folder;
    TStonemillApp app(folder.Path());
    app.Document.SetDirty(true);
    TQuestion failing{app};
    EXPECT_FALSE(failing.Run(TSaveAnswer::saYes, false));
    EXPECT_EQ(failing.Saved, 1);
    EXPECT_TRUE(app.Document.Dirty());

    TQuestion succeeding{app};
    EXPECT_TRUE(succeeding.Run(TSaveAnswer::saYes, true));
    EXPECT_EQ(succeeding.Saved, 1);
    EXPECT_FALSE(app.Document.Dirty());
}

TEST(SaveProposal, DropsAThreeLetterExtensionOnly) {
    EXPECT_EQ(DropProposedExtension("/m/HOUSE.STM"), "/m/HOUSE");
    EXPECT_EQ(DropProposedExtension("a.b"), "a.b");
    EXPECT_EQ(DropProposedExtension("house.stmx"), "house.stmx");
    EXPECT_EQ(DropProposedExtension(".stm"), "");
    EXPECT_EQ(DropProposedExtension(""), "");
}

TEST(SaveProposal, ByMode) {
    TTempProgramFolder folder;
    TStonemillApp app(folder.Path());
    app.Document.SetCaptionAndFileNames("/models/house.stm");
    app.Document.DialogFolders().Save = "/complete";
    app.Document.DialogFolders().PartialSave = "/partial";

    // Displayed stones: the name part of the current model.
    TSaveProposal displayed = app.Document.PrepareSave(TSaveMode::smDisplayed);
    EXPECT_EQ(displayed.FileName, "house");
    EXPECT_EQ(displayed.Folder, "/partial");

    // Complete: the current model's full path.
    TSaveProposal complete = app.Document.PrepareSave(TSaveMode::smComplete);
    EXPECT_EQ(complete.FileName, "/models/house");
    EXPECT_EQ(complete.Folder, "/complete");
    // ... which the displayed save then keeps.
    EXPECT_EQ(app.Document.PrepareSave(TSaveMode::smDisplayed).FileName, "/models/house");

    // Selected: nothing, and the next displayed save proposes nothing either.
    EXPECT_EQ(app.Document.PrepareSave(TSaveMode::smSelected).FileName, "");
    EXPECT_EQ(app.Document.PrepareSave(TSaveMode::smDisplayed).FileName, "");
}

} // namespace

namespace {

TEST(ModelLoad, ACompleteLoadDrawsOnePicture) {
    TTempProgramFolder folder;
    TStonemillApp app(folder.Path());
    app.Scene.ResizeView(120, 90);
    const auto file = folder.Path() / "one.stm";
    {
        std::ofstream out(file, std::ios::binary);
        out << "= 0 90 20 3 4 0 1\r\nB 0 0 0 40 80 20 244 1 0 0 0 0  0\r\n";
    }
    const int before = app.Scene.PassCount();
    app.Files.LoadModel(file, TLoadMode::lmComplete);
    EXPECT_EQ(app.Scene.PassCount(), before + 1);
    EXPECT_EQ(app.Document.Model().Count(), 1);
    EXPECT_EQ(app.Scene.Control().RotX().Position, 0);
    EXPECT_EQ(app.Scene.Control().RotZ().Position, 90);
    EXPECT_EQ(app.Scene.Control().OffsetY().Position, 4);
}

} // namespace
