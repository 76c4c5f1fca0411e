#include <gtest/gtest.h>

#include <fstream>

#include "app/page_customize.h"
#include "app/page_reorder.h"
#include "app/stonemill_app.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

using TEntries = std::vector<std::string>;

TPalettePage Page(const std::string& title, TEntries entries, int height = 40) {
    return {"", std::move(entries), title, height, 0.5f};
}

class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.CopyShippedParts();
        app = std::make_unique<TStonemillApp>(folder.Path());
        app->Palette.Pages = {Page("Bricks", {"2x4x3", "R1x1x3|Column"}, 60), Page("Roofs", {"T2x2x3"}),
                              Page("Parts", {"G parts.dat, arch|Arch", "M Combos/wall|Wall"})};
        app->Palette.ShowPage(0);
    }
    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path path = folder.Path() / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    TTempProgramFolder folder;
    std::unique_ptr<TStonemillApp> app;
};

} // namespace

TEST_F(PaletteTest, PagesWrapAroundAndTheSelectorLeadsToRecentlyUsed) {
    TPalette& p = app->Palette;
    EXPECT_EQ(p.SelectorItems(), (TEntries{"<Recently used>", "Bricks", "Roofs", "Parts"}));
    EXPECT_EQ(p.SelectorIndex(), 1);
    p.PrevPage();
    EXPECT_EQ(p.CurrentPage(), 2);
    p.NextPage();
    EXPECT_EQ(p.CurrentPage(), 0);
    EXPECT_EQ(p.ShownRowHeight(), 60);
    p.SelectItem(2);
    EXPECT_EQ(p.ShownEntries(), (TEntries{"T2x2x3"}));
    p.SelectItem(0);
    EXPECT_TRUE(p.ShowingRecent());
    EXPECT_EQ(p.SelectorIndex(), 0);
    EXPECT_TRUE(p.ShownEntries().empty());
    EXPECT_EQ(p.ShownRowHeight(), 40);
    // "<Recently used>" stands before the first page, whichever page was shown last.
    p.NextPage();
    EXPECT_FALSE(p.ShowingRecent());
    EXPECT_EQ(p.CurrentPage(), 0);
    p.SelectItem(0);
    p.PrevPage();
    EXPECT_EQ(p.CurrentPage(), 2);
    p.ShowPage(-1);
    EXPECT_EQ(p.CurrentPage(), 2);
    p.ShowPage(7);
    EXPECT_EQ(p.CurrentPage(), 0);
    p.Pages[0].RowHeight = 400;
    EXPECT_EQ(p.ShownRowHeight(), 255);
}

TEST_F(PaletteTest, TakingEntriesFillsTheHandAndRecentlyUsed) {
    TPalette& p = app->Palette;
    app->Hand.LastX = 40;
    app->Hand.LastZ = 20;
    app->PaletteCommands.TakePaletteEntry(1);
    ASSERT_TRUE(app->Hand.Holding());
    TBlock* stone = app->Hand.Stone();
    EXPECT_EQ(stone->Kind, 'R');
    EXPECT_EQ(stone->Caption, "R1x1x3");
    EXPECT_EQ(stone->Color, p.CurrentColor);
    EXPECT_EQ(stone->X, 40);
    EXPECT_EQ(stone->Z, 20);
    EXPECT_EQ(stone->ExtraNumber, 0);
    EXPECT_EQ(p.RecentEntries, (TEntries{"R1x1x3|Column"}));
    EXPECT_EQ(p.RecentRowHeight, 60);

    // The swatch colours the stone in hand and the top recent entry.
    app->PaletteCommands.SwatchClick(10, true);
    EXPECT_EQ(p.CurrentColor, RGB(0, 128, 0));
    EXPECT_EQ(stone->Color, RGB(0, 128, 0));
    EXPECT_EQ(p.RecentColors.front(), RGB(0, 128, 0));
    app->PaletteCommands.ToggleTransparent();
    EXPECT_TRUE(stone->Transparent);

    app->PaletteCommands.TakePaletteEntry(0);
    EXPECT_TRUE(app->Hand.Stone()->Transparent);
    app->PaletteCommands.SwatchClick(1, true);
    app->PaletteCommands.TakePaletteEntry(1); // taken again: one row, back on top with its colour
    EXPECT_EQ(p.RecentEntries, (TEntries{"R1x1x3|Column", "2x4x3"}));
    EXPECT_EQ(p.RecentColors, (std::vector<TColor>{RGB(0, 128, 0), clWhite}));
    p.SelectItem(0);
    EXPECT_EQ(p.RowColor(0), RGB(0, 128, 0));
    app->PaletteCommands.TakePaletteEntry(0);
    EXPECT_EQ(app->Hand.Stone()->Color, RGB(0, 128, 0)); // the remembered colour, not the current one

    // A model entry loads its model to insert; the caption stays the model's.
    Write("Combos/wall.stm", "B 0 0 0 2 1 3 0 1 0 0 0 0  0\r\n");
    app->Document.SetCaptionAndFileNames("/m/house.stm");
    p.SelectItem(3);
    app->PaletteCommands.TakePaletteEntry(1);
    ASSERT_TRUE(app->Hand.HoldsSubassembly()); // its proxy in hand
    EXPECT_EQ(app->Hand.Stone()->Length, 40);
    EXPECT_EQ(app->Hand.Pending().Count(), 1);
    EXPECT_EQ(app->Hand.Pending()[0]->Color, clWhite); // black takes the current colour
    EXPECT_EQ(app->Document.Caption(), "Stonemill Ver 1.42 - /m/house.stm");
    EXPECT_EQ(p.RecentEntries.size(), 2u);

    app->Files.NewModel();
    EXPECT_TRUE(p.RecentEntries.empty());
    EXPECT_EQ(p.RecentRowHeight, 40);
}

TEST_F(PaletteTest, EditsSetTheChangedFlagAndFollowTheMenuRules) {
    TPalette& p = app->Palette;
    EXPECT_FALSE(p.MenuState().Remove);
    EXPECT_TRUE(p.MenuState().Properties);
    EXPECT_FALSE(p.MenuState().RemovePage);
    p.SelectedRow = 0;
    EXPECT_TRUE(p.MenuState().Remove && p.MenuState().Edit);
    p.RemoveSelected();
    EXPECT_TRUE(p.Changed);
    EXPECT_EQ(p.Pages[0].Entries, (TEntries{"R1x1x3|Column"}));

    app->PaletteCommands.AddCombo((folder.Path() / "Combos" / "tree.STM").string());
    EXPECT_EQ(p.Pages[0].Entries, (TEntries{"R1x1x3|Column", "M Combos/tree"}));
    p.SelectedRow = 0;
    app->PaletteCommands.AddCombo("/other/gate.stm");
    EXPECT_EQ(p.Pages[0].Entries.front(), "M /other/gate");

    p.AddPage();
    EXPECT_EQ(p.CurrentPage(), 3);
    EXPECT_EQ(p.Pages[3].Title, "Page3");
    EXPECT_TRUE(p.MenuState().RemovePage);
    p.RemovePage();
    EXPECT_EQ(p.Pages.size(), 3u);
    EXPECT_EQ(p.CurrentPage(), 0);

    p.Changed = false;
    EXPECT_FALSE(p.SetPageProperties("Bricks", 60, 0.5f));
    EXPECT_FALSE(p.Changed);
    EXPECT_TRUE(p.SetPageProperties("Big bricks", 60, 0.5f));
    EXPECT_TRUE(p.Changed);
    EXPECT_EQ(p.SelectorItems()[1], "Big bricks");

    p.SelectItem(0);
    EXPECT_EQ(p.MenuState().Properties || p.MenuState().Add || p.MenuState().Remove, false);

    const fs::path parts = Write("parts/mine.dat", "[tower]\r\nx\r\n [wall] \r\n[]\r\nno part\r\n");
    p.AddPageFromFile(parts);
    EXPECT_EQ(p.Pages.back().Entries, (TEntries{"G mine.dat, tower", "G mine.dat, wall"}));
    const size_t pages = p.Pages.size();
    EXPECT_NE(ErrorOf([&] { p.AddPageFromFile(folder.Path() / "parts" / "none.dat"); }), "");
    EXPECT_EQ(p.Pages.size(), pages + 1); // the page stays, empty
}

TEST_F(PaletteTest, ReorderAndCustomizeMovePagesAndEntries) {
    std::vector<TPalettePage> twelve;
    for (int i = 0; i < 12; ++i)
        twelve.push_back(Page("P" + std::to_string(i), {}, 40 + i));
    TPageReorder reorder(twelve);
    reorder.Selected = 10;
    reorder.Down10();
    EXPECT_EQ(reorder.Selected, 11);
    EXPECT_EQ(reorder.Pages()[11].Title, "P10");
    EXPECT_EQ(reorder.Pages()[11].RowHeight, 50);
    reorder.Up10();
    EXPECT_EQ(reorder.Selected, 1);
    reorder.Home();
    EXPECT_EQ(reorder.Pages()[0].Title, "P10");
    reorder.Up1();
    EXPECT_EQ(reorder.Selected, 0);
    reorder.End();
    EXPECT_EQ(reorder.Pages()[11].Title, "P10");

    TPageCustomize work(app->Palette.Pages, 0);
    EXPECT_EQ(work.Left.Item, 1);
    work.Left.Selected = 0;
    work.MoveRight(); // the same page on both sides: nothing
    EXPECT_EQ(work.Entries(work.Left).size(), 2u);
    work.Choose(work.Right, 2);
    work.MoveRight();
    EXPECT_EQ(work.Entries(work.Right), (TEntries{"T2x2x3", "2x4x3"}));
    EXPECT_EQ(work.Left.Selected, 0); // now on the next entry
    work.Right.Selected = 0;
    work.MoveRight();
    EXPECT_EQ(work.Entries(work.Right), (TEntries{"T2x2x3", "R1x1x3|Column", "2x4x3"}));
    EXPECT_TRUE(work.Entries(work.Left).empty());
    EXPECT_EQ(work.Left.Selected, -1);
    work.Right.Selected = 2;
    work.Up();
    EXPECT_EQ(work.Entries(work.Right)[1], "2x4x3");
    EXPECT_EQ(work.Right.Selected, 1);
    work.Right.Selected = 2;
    work.Down();                // already the last
    work.Choose(work.Right, 0); // "<Recently used>" keeps the list
    EXPECT_EQ(work.Entries(work.Right).size(), 3u);
    app->Palette.TakeCustomizedPages(work.Pages());
    EXPECT_TRUE(app->Palette.Pages[0].Entries.empty());
    EXPECT_EQ(app->Palette.Pages[1].RowHeight, 40);
}

TEST_F(PaletteTest, SupplyFromASetCountsWhatIsPlaced) {
    app->Document.Model().Add(StoneInUnits('G', 0, 0, 0, 0, 0, 0));
    app->Document.Model()[0]->Caption = "arch";
    EXPECT_EQ(app->PaletteCommands.EntrySupply("G parts.dat, arch|Arch"), std::nullopt);
    app->PaletteCommands.LoadSet(Write("Sets/a.set", "ARCH, 2\r\n2x4x3, 1\r\nT2x2x3\r\n"));
    EXPECT_EQ(app->PaletteCommands.EntrySupply("G parts.dat, arch|Arch"), 1); // one is in the model
    EXPECT_EQ(app->PaletteCommands.EntrySupply("2x4x3"), 1);
    EXPECT_EQ(app->PaletteCommands.EntrySupply("T2x2x3"), 0);
    EXPECT_EQ(app->PaletteCommands.EntrySupply("R1x1x3|Column"), 0);
    EXPECT_EQ(app->PaletteCommands.EntrySupply("M Combos/wall"), std::nullopt);
    app->Supply.Take("2x4x3");
    app->Supply.Take("2x4x3");
    EXPECT_EQ(app->Supply.Count("2x4x3"), -1);
    EXPECT_EQ(app->PaletteCommands.EntrySupply("2x4x3|Brick"), -1); // the model needs one more
    app->Supply.GiveBack("G parts.dat, arch");
    EXPECT_EQ(app->Supply.Count("arch"), 2);
    EXPECT_EQ(app->PaletteCommands.ShownRow(0).Supply, -1); // the row shows what the supply says

    EXPECT_NE(ErrorOf([&] { app->PaletteCommands.LoadSet(Write("Sets/bad.set", "arch, x\r\n")); }), "");
    EXPECT_EQ(app->Supply.Count("arch"), 2); // the loaded set stays
    app->PaletteCommands.InfiniteSupply();
    EXPECT_EQ(app->PaletteCommands.EntrySupply("2x4x3"), std::nullopt);
    app->PaletteCommands.LoadSet(folder.Path() / "Sets" / "a.set");
    app->Files.NewModel();
    EXPECT_TRUE(app->Supply.Unlimited());
}

TEST_F(PaletteTest, StonesOfAModelReadFromItsFileAreCountedLikeThoseJustPlaced) {
    // Two 1x2 bricks (one turned) and a 2x4 brick as the window saves them.
    app->Files.LoadModel(Write("two.stm", "= 70 330 20 0 0 0 1\r\n"
                                          "B -120 -260 0 20 40 20 11724264 1 0 0 0 0 Brick_1x2 0\r\n"
                                          "B 0 0 0 40 20 20 11724264 1 0 1 0 0 Brick_1x2 0\r\n"
                                          "B 100 0 0 40 80 20 11724264 1 0 0 0 0 Brick_2x4 0\r\n"),
                         TLoadMode::lmComplete);
    app->PaletteCommands.LoadSet(Write("Sets/s.set", "1x2x3, 10\r\nB 2x4x3, 4\r\n"));
    EXPECT_EQ(app->PaletteCommands.EntrySupply("1x2x3|Brick 1x2"), 8);
    EXPECT_EQ(app->PaletteCommands.EntrySupply("B 2x4x3"), 3);
    EXPECT_EQ(app->PaletteCommands.EntrySupply("2x4x3|Brick 2x4"), 3);
}

TEST_F(PaletteTest, SettingsAreWrittenOnlyWhenThePaletteChanged) {
    const fs::path ini =
        Write("Stonemill.ini", "[Main]\r\nPages=1\r\nTitle1=Old\r\nColor0=255\r\nColor4=65280\r\n"
                               "[Page1]\r\n30 0.6\r\n1x1x3\r\n\r\n[State]\r\nDetails=5\r\n");
    EXPECT_EQ(app->LoadSettings(ini), "");
    // The first layout is rewritten at once.
    const std::string converted = folder.ReadFile(ini);
    EXPECT_NE(converted.find("Version=2"), std::string::npos);
    EXPECT_NE(converted.find("[Page1]\r\nTitle=Old\r\nHeight=30\r\nScale= 0.60\r\nCount=1\r\nBrick0=1x1x3"),
              std::string::npos);
    EXPECT_EQ(app->Scene.View().SelectionColor, 255u);
    EXPECT_EQ(app->Scene.View().BlackStoneColor, 65280u);
    EXPECT_EQ(app->Scene.View().DetailLevel, 0);
    EXPECT_EQ(app->Palette.CurrentColor, RGB(232, 229, 178));

    app->SetHints(true);
    app->Scene.SetDetailLevel(2);
    app->WriteBackOnExit();
    EXPECT_EQ(folder.ReadFile(ini), converted);

    app->Palette.AddPage();
    app->WriteBackOnExit();
    const std::string written = folder.ReadFile(ini);
    EXPECT_NE(written.find("Pages=2"), std::string::npos);
    EXPECT_NE(written.find("[State]\r\nHints=1\r\nDetails=2\r\n"), std::string::npos);
    EXPECT_FALSE(app->Palette.Changed);

    // A file that cannot be written is reported, and the flag is cleared all the same.
    app->Palette.AddPage();
    fs::remove(ini);
    fs::create_directories(ini);
    EXPECT_NE(ErrorOf([&] { app->WriteBackOnExit(); }), "");
    EXPECT_FALSE(app->Palette.Changed);
}
