#include <gtest/gtest.h>

#include <algorithm>

#include "common/error.h"
#include "files/model_file_reader.h"
#include "files/scene_break_up.h"
#include "files_test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string kView = "= 70 330 20 0 0 0 1";

std::string BLine(int x, int group) {
    return "B " + std::to_string(x) + " 0 0 20 20 20 255 1 0 0 0 " + std::to_string(group) + " n 0";
}

std::string GLine(int x, int group) {
    return "G " + std::to_string(x) + " 0 0 40 20 20 255 1 0 0 0 parts.dat stdblock " +
           std::to_string(group) + " n 0";
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EError& e) {
        return e.Message();
    }
    return "no error";
}

} // namespace

TEST(GroupKey, ShortAndViewLinesAreInNoGroup) {
    EXPECT_EQ(GroupKeyOf(""), 0);
    EXPECT_EQ(GroupKeyOf("B 1 2 3 4"), 0);  // 9 characters
    EXPECT_EQ(GroupKeyOf("abcdefghij"), 0); // 10 characters, not a number anywhere
    EXPECT_EQ(GroupKeyOf("= 70 330 20 0 0 0 1"), 0);
    EXPECT_EQ(GroupKeyOf("   = 70 330 20 0 0 0 1"), 0); // trimmed first
}

TEST(GroupKey, TokenTwelveOrFourteen) {
    EXPECT_EQ(GroupKeyOf(BLine(0, 3)), 3);
    EXPECT_EQ(GroupKeyOf(GLine(0, 5)), 5);
    EXPECT_EQ(GroupKeyOf(BLine(0, -2)), -2);
    EXPECT_EQ(GroupKeyOf("R 0 0 0 20 20 20 255 1 0 0 0 7"), 7);
    // An empty name leaves the group where it is.
    EXPECT_EQ(GroupKeyOf("B 0 0 0 20 20 20 255 1 0 0 0 4  0"), 4);
    // A general stone written without its part keeps its group at token 14.
    EXPECT_EQ(GroupKeyOf("G 0 0 0 20 20 6 0 0 0 0 0   6 n 0"), 6);
    // A lower-case "g" line is grouped like a "G" line.
    EXPECT_EQ(GroupKeyOf("g 0 0 0 20 20 20 255 1 0 0 0 parts.dat arch 8 x 9"), 8);
}

TEST(GroupKey, CommasAndQuotes) {
    EXPECT_EQ(GroupKeyOf("B,0,0,0,20,20,20,255,1,0,0,0,9"), 9);
    EXPECT_EQ(GroupKeyOf("B \"a b,c\" 0 0 20 20 20 255 1 0 0 0 11 n"), 11);
    EXPECT_EQ(SplitGroupTokens("a \"b c\",d \"e\"\"f\" ,"),
              (std::vector<std::string>{"a", "b c", "d", "e\"f", "", ""}));
    EXPECT_EQ(SplitGroupTokens("x  y"), (std::vector<std::string>{"x", "", "y"}));
}

TEST(GroupKey, ShortLinesWithoutAGroupAreInNoGroup) {
    EXPECT_EQ(GroupKeyOf("B 20 40 20 40 80 20 255"), 0);
    EXPECT_EQ(GroupKeyOf("G 0 0 0 40 20 20 255 1 0 0 0 parts.dat"), 0);
}

TEST(GroupKey, ANonIntegerTokenIsAnError) {
    EXPECT_EQ(ErrorOf([] { GroupKeyOf("B 0 0 0 20 20 20 255 1 0 0 0 abc n 0"); }),
              "'ABC' is not a valid integer value");
    EXPECT_EQ(ErrorOf([] { GroupKeyOf("B 0 0 0 20 20 20 255 1 0 0 0  n 0"); }),
              "'' is not a valid integer value");
}

TEST(SceneSplit, OneFilePerGroupInOrderOfFirstOccurrence) {
    auto files =
        SplitSceneLines({kView, BLine(0, 0), BLine(1, 3), GLine(2, 5), BLine(3, 3), "B 1 2 3", BLine(5, 5)});
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0], (TStringList{kView, BLine(0, 0), "B 1 2 3"}));
    EXPECT_EQ(files[1], (TStringList{kView, BLine(1, 3), BLine(3, 3)}));
    EXPECT_EQ(files[2], (TStringList{kView, GLine(2, 5), BLine(5, 5)}));
}

TEST(SceneSplit, WithoutAViewLine) {
    auto files = SplitSceneLines({BLine(0, 2), BLine(1, 1), BLine(2, 2)});
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0], (TStringList{BLine(0, 2), BLine(2, 2)}));
    EXPECT_EQ(files[1], (TStringList{BLine(1, 1)}));
    EXPECT_TRUE(SplitSceneLines({}).empty());
    EXPECT_TRUE(SplitSceneLines({kView}).empty());
    // A later view line is a line of group 0 like any other.
    EXPECT_EQ(SplitSceneLines({BLine(0, 0), kView}).size(), 1u);
}

TEST(SceneSplit, ManyGroupsSplitInOrderWithProgress) {
    // Two courses of stones over 30,000 groups whose numbers come in a mixed
    // order, negative ones among them.
    const int groups = 30000;
    auto keyOf = [&](int n) { return n * 7919 % groups - groups / 2; };
    TStringList scene{kView};
    for (int course = 0; course < 2; ++course)
        for (int n = 0; n < groups; ++n)
            scene.push_back(BLine(course, keyOf(n)));
    std::vector<double> shares;
    const auto files = SplitSceneLines(scene, [&](double share) { shares.push_back(share); });
    ASSERT_EQ(files.size(), static_cast<size_t>(groups));
    int misplaced = 0;
    for (int n = 0; n < groups; ++n)
        misplaced +=
            files[static_cast<size_t>(n)] != TStringList{kView, BLine(0, keyOf(n)), BLine(1, keyOf(n))};
    EXPECT_EQ(misplaced, 0);
    ASSERT_GE(shares.size(), 10u);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_GT(shares.front(), 0.0);
    EXPECT_LE(shares.back(), 1.0);
}

TEST(SceneBreakUp, FolderFromTheCapitalExtension) {
    EXPECT_EQ(BreakUpFolder("/m/HOUSE.STM"), fs::path("/m/HOUSE"));
    EXPECT_EQ(BreakUpFolder("/m/a.STM.STM"), fs::path("/m/a"));
    // Files named on Linux are mostly lower case.
    EXPECT_EQ(BreakUpFolder("/m/house.stm"), fs::path("/m/house"));
    EXPECT_FALSE(BreakUpFolder("/m/house.txt").has_value());
    EXPECT_FALSE(BreakUpFolder("/m/house").has_value());
}

TEST(SceneBreakUp, WritesNumberedFilesEachWithTheViewLine) {
    TShippedPartsFolder folder;
    fs::path m = folder.Path() / "M";
    fs::create_directory(m);
    WriteText(m / "HOUSE.STM", kView + "\r\n" + BLine(0, 0) + "\r\n" + BLine(40, 3) + "\r\n" + GLine(80, 5) +
                                   "\r\n" + BLine(120, 3) + "\r\n" + BLine(160, 0) + "\r\n");
    auto result = BreakUpScene((m / "HOUSE.STM").string());
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->Folder, m / "HOUSE");
    ASSERT_EQ(result->Files.size(), 3u);
    EXPECT_EQ(result->Files[0], m / "HOUSE" / "0.stm");
    EXPECT_EQ(result->Files[1], m / "HOUSE" / "1.stm");
    EXPECT_EQ(result->Files[2], m / "HOUSE" / "2.stm");
    EXPECT_EQ(ReadText(result->Files[0]), kView + "\r\n" + BLine(0, 0) + "\r\n" + BLine(160, 0) + "\r\n");
    EXPECT_EQ(ReadText(result->Files[1]), kView + "\r\n" + BLine(40, 3) + "\r\n" + BLine(120, 3) + "\r\n");
    EXPECT_EQ(ReadText(result->Files[2]), kView + "\r\n" + GLine(80, 5) + "\r\n");

    // Each part loads as a model of its own with its group.
    TOwnedList model;
    TLineErrors errors;
    LoadModelFile(result->Files[1], model.List, {}, errors.Handler());
    EXPECT_TRUE(errors.Items.empty());
    ASSERT_EQ(model.Count(), 2);
    EXPECT_EQ(model[0].Group, 3);
    EXPECT_EQ(model[1].Group, 3);

    // Breaking up again overwrites the files in the existing folder.
    WriteText(m / "HOUSE.STM", BLine(0, 8) + "\r\n");
    result = BreakUpScene((m / "HOUSE.STM").string());
    ASSERT_TRUE(result.has_value());
    ASSERT_EQ(result->Files.size(), 1u);
    EXPECT_EQ(ReadText(m / "HOUSE" / "0.stm"), BLine(0, 8) + "\r\n");
}

TEST(SceneBreakUp, AnyCaseOfStmButNothingElse) {
    TTempProgramFolder folder;
    WriteText(folder.Path() / "house.stm", kView + "\r\n" + BLine(0, 1) + "\r\n");
    EXPECT_TRUE(BreakUpScene((folder.Path() / "house.stm").string()).has_value());
    EXPECT_TRUE(fs::exists(folder.Path() / "house" / "0.stm"));
    WriteText(folder.Path() / "house.txt", kView + "\r\n");
    EXPECT_FALSE(BreakUpScene((folder.Path() / "house.txt").string()).has_value());
}

TEST(SceneBreakUp, ErrorsWriteNothing) {
    TTempProgramFolder folder;
    fs::path scene = folder.Path() / "BAD.STM";
    WriteText(scene, kView + "\r\n" + BLine(0, 1) + "\r\nB 0 0 0 20 20 20 255 1 0 0 0 x n 0\r\n");
    EXPECT_EQ(ErrorOf([&] { BreakUpScene(scene.string()); }), "'X' is not a valid integer value");
    EXPECT_FALSE(fs::exists(folder.Path() / "BAD"));

    EXPECT_NE(ErrorOf([&] { BreakUpScene((folder.Path() / "MISSING.STM").string()); }), "no error");
    EXPECT_FALSE(fs::exists(folder.Path() / "MISSING"));
}

TEST(SceneBreakUp, FolderThatCannotBeCreated) {
    TTempProgramFolder folder;
    fs::path scene = folder.Path() / "HOUSE.STM";
    WriteText(scene, BLine(0, 1) + "\r\n");
    WriteText(folder.Path() / "HOUSE", "a file in the way");
    std::string message = ErrorOf([&] { BreakUpScene(scene.string()); });
    EXPECT_EQ(message.rfind("Cannot create folder \"" + (folder.Path() / "HOUSE").string() + "\"", 0), 0u)
        << message;
    EXPECT_EQ(ReadText(folder.Path() / "HOUSE"), "a file in the way");
}
