// What a failing file operation leaves behind: its message in the program's
// words, and the data in memory and on disk as they were.

#include <gtest/gtest.h>

#include <fstream>

#include "app/stonemill_app.h"
#include "partlib/part_registry.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

class FailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.CopyShippedParts();
        app = std::make_unique<TStonemillApp>(folder.Path());
        app->Scene.ResizeView(80, 60);
        model = Write("house.stm", "= 70 330 20 0 0 0 1\r\nB 0 0 0 40 20 20 255 1 0 0 0 0 wall 0\r\n");
        app->Files.LoadModel(model, TLoadMode::lmComplete);
        app->Document.Model().RecordUndo('+', *app->Document.Model()[0]);
        app->Document.SetDirty(true);
    }
    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path path = folder.Path() / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    TTempProgramFolder folder;
    std::unique_ptr<TStonemillApp> app;
    fs::path model;
};

} // namespace

TEST_F(FailureTest, AModelThatCannotBeReadChangesNothing) {
    const std::string caption = app->Document.Caption();
    const auto recent = app->Document.RecentFiles();
    for (const fs::path& bad :
         {folder.Path() / "missing.stm", folder.Path() / "parts", fs::path("/dev/zero")}) {
        for (TLoadMode mode : {TLoadMode::lmComplete, TLoadMode::lmSubassembly}) {
            const std::string message = ErrorOf([&] { app->Files.LoadModel(bad, mode); });
            EXPECT_EQ(message.rfind("Cannot open file \"" + bad.string() + "\". ", 0), 0u) << message;
            EXPECT_EQ(app->Document.Model().Count(), 1) << bad;
            EXPECT_EQ(app->Document.Model().UndoCount(), 1);
            EXPECT_EQ(app->Document.Caption(), caption);
            EXPECT_EQ(app->Document.RecentFiles(), recent);
            EXPECT_TRUE(app->Document.Dirty());
            EXPECT_FALSE(app->Hand.Holding());
        }
    }
}

TEST_F(FailureTest, AFileThatIsNotAModelChangesNothing) {
    const std::string caption = app->Document.Caption();
    const auto recent = app->Document.RecentFiles();
    std::vector<std::pair<int, std::string>> errors;
    app->Files.OnLineError = [&](int line, const std::string& text) { errors.emplace_back(line, text); };
    const fs::path letter = Write("letter.stm", "Dear builder,\r\n\r\nthis is not a model.\r\n");
    for (TLoadMode mode : {TLoadMode::lmComplete, TLoadMode::lmSubassembly}) {
        EXPECT_EQ(ErrorOf([&] { app->Files.LoadModel(letter, mode); }),
                  "File \"" + letter.string() +
                      "\" is not a Stonemill model: none of its lines is a view line or a stone");
        EXPECT_EQ(app->Document.Model().Count(), 1);
        EXPECT_EQ(app->Document.Model().UndoCount(), 1);
        EXPECT_EQ(app->Document.Caption(), caption);
        EXPECT_EQ(app->Document.RecentFiles(), recent);
        EXPECT_TRUE(app->Document.Dirty());
        EXPECT_FALSE(app->Hand.Holding());
        EXPECT_TRUE(errors.empty());
    }
}

TEST_F(FailureTest, SavesThatFailKeepTheOldFileAndTheDirtyFlag) {
    const std::string before = folder.ReadFile(model);
    fs::create_directories(folder.Path() / "taken.stm");
    const std::string message =
        ErrorOf([&] { app->Files.SaveModel(folder.Path() / "taken.stm", TSaveMode::smComplete); });
    EXPECT_EQ(message.rfind("Cannot write file \"" + (folder.Path() / "taken.stm").string() + "\". ", 0), 0u)
        << message;
    EXPECT_TRUE(fs::is_directory(folder.Path() / "taken.stm"));
    EXPECT_TRUE(app->Document.Dirty());
    EXPECT_EQ(folder.ReadFile(model), before);

    // A part file named by a model may not lead out of the parts folder.
    std::vector<std::pair<int, std::string>> errors;
    app->Files.OnLineError = [&](int line, const std::string& text) { errors.emplace_back(line, text); };
    const int parts = TPartRegistry::Instance().Count();
    const fs::path sneaky = Write("sneaky.stm", "= 70 330 20 0 0 0 1\r\n"
                                                "G 0 0 0 0 0 0 0 1 0 0 0 ../../../../dev/zero x 0  0\r\n"
                                                "G 0 0 0 0 0 0 0 1 0 0 0 parts.dat stdblock 0  0\r\n");
    app->Files.LoadModel(sneaky, TLoadMode::lmComplete);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0],
              std::make_pair(1 + 1, std::string("Could not find part/file x/../../../../dev/zero")));
    EXPECT_EQ(app->Document.Model().Count(), 1);
    EXPECT_EQ(TPartRegistry::Instance().Count(), parts + 1); // stdblock only

    // Pictures that cannot be written leave the view as it was.
    const float scale = app->Scene.View().ViewScale;
    app->Pictures.Frame().Rect = Rect(0, 0, 40, 30);
    EXPECT_NE(ErrorOf([&] { app->Pictures.SavePicture(4, folder.Path() / "parts"); }), "");
    EXPECT_EQ(app->Scene.View().ViewScale, scale);
}
