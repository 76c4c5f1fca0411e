#include <gtest/gtest.h>

#include "test_stones.h"

#include <algorithm>
#include <csignal>
#include <map>
#include <set>
#include <sys/resource.h>
#include <typeinfo>
#include <unistd.h>

#include "common/error.h"
#include "files/caption_rule.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "files_test_support.h"
#include "model/block_factory.h"
#include "model/cut_state.h"
#include "model/general_block.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<TBlock> Stone(char kind, int32_t x, int32_t y, int32_t z, int32_t l, int32_t w, int32_t h) {
    return StoneInUnits(kind, x, y, z, l, w, h, 255);
}

TViewRecord SomeView() {
    TViewRecord view;
    view.RotX = 70;
    view.RotZ = 330;
    view.ZoomFactor = 0.5f;
    view.OffsetX = -120;
    view.OffsetY = 45;
    return view;
}

class ModelWriterTest : public ::testing::Test {
protected:
    void TearDown() override { CutState().Reset(); }

    TShippedPartsFolder folder;
    TOwnedList model;
};

} // namespace

TEST_F(ModelWriterTest, BlockLineOfAPlainStone) {
    std::unique_ptr<TBlock> s(Stone('R', 20, -40, 13, 40, 80, 20));
    s->Color = 0xFF8040;
    s->Tag = false;
    s->BasePlate = true;
    s->Turn = 3;
    s->Transparent = true;
    s->Group = 12;
    s->Name = "tower";
    s->ExtraNumber = -7;
    s->Caption = "not written";
    EXPECT_EQ(BlockLineText(*s), "R 20 -40 13 40 80 20 16744512 0 1 3 1 12 tower -7");
    s->Name.clear();
    EXPECT_EQ(BlockLineText(*s), "R 20 -40 13 40 80 20 16744512 0 1 3 1 12  -7");
    // Colours with the top bit set are written as the signed number they read back as.
    s->Color = 0x80000000u;
    EXPECT_EQ(BlockLineText(*s).substr(0, 29), "R 20 -40 13 40 80 20 -2147483");
}

TEST_F(ModelWriterTest, BlockLineOfAGeneralStone) {
    std::unique_ptr<TBlock> g(
        new TGeneralBlock(1, 0, 3, 0, 0, 0, 255, true, false, false, "parts.dat", "stdblock", "lbl"));
    g->Group = 4;
    g->ExtraNumber = 2;
    EXPECT_EQ(BlockLineText(*g), "G 20 0 20 40 20 20 255 1 0 0 0 parts.dat stdblock 4 lbl 2");
    // Without a part the part words are empty; the fields after them stay in place.
    std::unique_ptr<TBlock> bare(TBlockFactory::Create('G', 0, 0, 0, 1, 1, 1, 0, false, false, false, "n"));
    ASSERT_EQ(bare->Part, nullptr);
    EXPECT_EQ(BlockLineText(*bare), "G 0 0 0 20 20 6 0 0 0 0 0   0 n 0");
}

TEST_F(ModelWriterTest, WordsCannotSplitOrBreakTheLine) {
    std::unique_ptr<TBlock> s(Stone('B', 0, 0, 0, 20, 20, 20));
    s->Name = "big wall\r\nB 9";
    s->ExtraNumber = 5;
    std::string line = BlockLineText(*s);
    EXPECT_EQ(line, "B 0 0 0 20 20 20 255 1 0 0 0 0 big_wall__B_9 5");
    TLineErrors errors;
    TModelReadResult r = ReadModelLines({"= 0 0 20 0 0 0 1", line}, model.List, {}, errors.Handler());
    ASSERT_EQ(model.Count(), 1);
    EXPECT_EQ(model[0].Name, "big_wall__B_9");
    EXPECT_EQ(model[0].ExtraNumber, 5); // kept, not lost behind a split name
    EXPECT_EQ(r.LinesFailed, 0);
}

TEST_F(ModelWriterTest, FileLinesStartWithTheViewLine) {
    model.Add(Stone('B', 0, 0, 0, 40, 20, 20));
    TStringList lines = ModelFileLines(model.List, SomeView(), TSaveMode::smComplete);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "= 70 330 20 -120 45 0 1");
    EXPECT_EQ(lines[1], "B 0 0 0 40 20 20 255 1 0 0 0 0  0");
    fs::path file = folder.Path() / "one.stm";
    SaveModelFile(file, model.List, SomeView(), TSaveMode::smComplete);
    EXPECT_EQ(ReadText(file), "= 70 330 20 -120 45 0 1\r\nB 0 0 0 40 20 20 255 1 0 0 0 0  0\r\n");
}

TEST_F(ModelWriterTest, SaveAndLoadKeepEveryFieldOfEveryKind) {
    const std::string kinds = "BRTNCIEWDOGX";
    int32_t i = 0;
    for (char kind : kinds) {
        std::unique_ptr<TBlock> s = kind == 'G'
                                        ? std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, 0, false, false,
                                                                          false, "parts.dat", "slope45", "")
                                        : Stone(kind, 0, 0, 0, 40 + i, 20 + 2 * i, 6 + i);
        s->X = 100 * i - 300;
        s->Y = -7 * i;
        s->Z = 13 * i;
        s->Color = static_cast<TColor>(0x10203 * (i + 1));
        s->Tag = i % 2 == 0;
        s->BasePlate = i % 3 == 0;
        s->Turn = i % 4;
        if (kind == 'G') {
            s->Turn = 0;
            s->TurnQuarter(); // odd turn: the part's extents swapped
            s->Caption = "slope45";
        }
        s->Transparent = i % 2 == 1;
        s->Group = i % 5;
        s->Name = i % 4 == 0 ? "" : "n" + std::to_string(i);
        s->ExtraNumber = 1000 - 37 * i;
        // The file keeps no caption: reading gives every stone its own.
        if (kind != 'G')
            s->Caption = StoneCaption(*s);
        model.Add(std::move(s));
        ++i;
    }
    std::multiset<std::string> before;
    std::map<std::string, std::string> classes;
    for (TBlock* s : model.List.Stones()) {
        before.insert(s->ToString());
        classes[s->ToString()] = typeid(*s).name();
    }

    fs::path file = folder.Path() / "all.stm";
    SaveModelFile(file, model.List, SomeView(), TSaveMode::smComplete);
    TOwnedList loaded;
    TLineErrors errors;
    TModelReadResult r = LoadModelFile(file, loaded.List, {}, errors.Handler());
    EXPECT_TRUE(errors.Items.empty());
    ASSERT_EQ(loaded.Count(), model.Count());

    std::multiset<std::string> after;
    for (TBlock* s : loaded.List.Stones()) {
        after.insert(s->ToString());
        EXPECT_EQ(classes[s->ToString()], typeid(*s).name()) << s->ToString();
    }
    EXPECT_EQ(before, after);
    ASSERT_TRUE(r.View.has_value());
    EXPECT_EQ(r.View->RotX, 70);
    EXPECT_EQ(r.View->RotZ, 330);
    EXPECT_FLOAT_EQ(r.View->ZoomFactor, 0.5f);
    EXPECT_EQ(r.View->OffsetX, -120);
    EXPECT_EQ(r.View->OffsetY, 45);
    EXPECT_EQ(r.UnitsFlag, 1);
    EXPECT_EQ(r.HighestGroup, 4);
    EXPECT_EQ(r.HighestExtraNumber, 1000);
}

TEST_F(ModelWriterTest, SelectedModeWritesSelectedStones) {
    model.Add(Stone('B', 0, 0, 0, 20, 20, 20));
    TBlock* b = model.Add(Stone('B', 100, 0, 0, 20, 20, 20));
    TStringList none = ModelFileLines(model.List, SomeView(), TSaveMode::smSelected);
    EXPECT_EQ(none, TStringList{"= 70 330 20 -120 45 0 1"}); // only the view line
    b->Selected = true;
    TStringList lines = ModelFileLines(model.List, SomeView(), TSaveMode::smSelected);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], BlockLineText(*b));
}

TEST_F(ModelWriterTest, DisplayedModeWritesStonesThatPassTheCut) {
    TBlock* low = model.Add(Stone('B', 0, 0, 0, 20, 20, 20));
    model.Add(Stone('B', 100, 0, 40, 20, 20, 20));
    std::unique_ptr<TBlock> plate = Stone('B', 0, 0, -6, 200, 200, 6);
    plate->BasePlate = true;
    model.Add(std::move(plate));
    // Open limits: everything is displayed.
    EXPECT_EQ(ModelFileLines(model.List, SomeView(), TSaveMode::smDisplayed).size(), 4u);
    CutState().ZLow = 0;
    CutState().ZHigh = 26;
    TStringList lines = ModelFileLines(model.List, SomeView(), TSaveMode::smDisplayed);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], BlockLineText(*low));
    // The complete mode writes every stone, base plates included.
    EXPECT_EQ(ModelFileLines(model.List, SomeView(), TSaveMode::smComplete).size(), 4u);
}

TEST_F(ModelWriterTest, SaveReplacesAnExistingFileWhole) {
    fs::path file = folder.Path() / "m.stm";
    WriteText(file, std::string(5000, 'x'));
    model.Add(Stone('B', 0, 0, 0, 20, 20, 20));
    SaveModelFile(file, model.List, SomeView(), TSaveMode::smComplete);
    EXPECT_EQ(ReadText(file), "= 70 330 20 -120 45 0 1\r\nB 0 0 0 20 20 20 255 1 0 0 0 0  0\r\n");
    // No temporary file is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path()))
        ++entries;
    EXPECT_EQ(entries, 2); // parts/ and m.stm
}

TEST_F(ModelWriterTest, FailedSaveLeavesTheOldFileIntact) {
    fs::path file = folder.Path() / "m.stm";
    const std::string old = "= 0 0 20 0 0 0 1\r\nB 0 0 0 20 20 20\r\n";
    WriteText(file, old);
    for (int i = 0; i < 200; ++i)
        model.Add(Stone('B', 40 * i, 0, 0, 20, 20, 20));

    // Let the file system refuse files above 1000 bytes: the new text cannot be written.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool failed = false;
    try {
        SaveModelFile(file, model.List, SomeView(), TSaveMode::smComplete);
    } catch (const EError& e) {
        failed = true;
        EXPECT_NE(e.Message().find(file.string()), std::string::npos) << e.Message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(failed);
    EXPECT_EQ(ReadText(file), old);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.Path()))
        ++entries;
    EXPECT_EQ(entries, 2); // the temporary file is gone
}

TEST_F(ModelWriterTest, SaveIntoAMissingFolderFails) {
    model.Add(Stone('B', 0, 0, 0, 20, 20, 20));
    fs::path file = folder.Path() / "no such folder" / "m.stm";
    EXPECT_THROW(SaveModelFile(file, model.List, SomeView(), TSaveMode::smComplete), EError);
    EXPECT_FALSE(fs::exists(file.parent_path()));
}

TEST_F(ModelWriterTest, SaveOverAFolderFailsAndKeepsIt) {
    fs::path target = folder.Path() / "taken.stm";
    fs::create_directory(target);
    WriteText(target / "inside", "kept");
    EXPECT_THROW(SaveModelFile(target, model.List, SomeView(), TSaveMode::smComplete), EError);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(ReadText(target / "inside"), "kept");
}

TEST_F(ModelWriterTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    fs::path sub = folder.Path() / "ro";
    fs::create_directory(sub);
    fs::path file = sub / "m.stm";
    WriteText(file, "old");
    fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(SaveModelFile(file, model.List, SomeView(), TSaveMode::smComplete), EError);
    fs::permissions(sub, fs::perms::owner_all);
    EXPECT_EQ(ReadText(file), "old");
}
