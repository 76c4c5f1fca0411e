#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>

#include "app/stonemill_app.h"
#include "model/cut_state.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

class PlacingTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.CopyShippedParts();
        app = std::make_unique<TStonemillApp>(folder.Path());
        app->Scene.ResizeView(160, 120);
        app->Palette.Pages = {
            {"", {"2x4x3", "1x1x3|Tile", "G parts.dat, arch", "R2x2x3", "T2x2x3"}, "Stones", 40, 0.5f}};
        app->Palette.ShowPage(0);
    }
    void TearDown() override { CutState().Reset(); }
    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path path = folder.Path() / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Takes a palette row and places its stone at x, y (units), resting on what is below.
    void PlaceAt(int row, int32_t x, int32_t y) {
        app->PaletteCommands.TakePaletteEntry(row);
        TBlock* stone = app->Hand.Stone();
        stone->X = x;
        stone->Y = y;
        app->Hand.Settle(app->Document.Model());
        app->Placing.PlaceHand();
    }
    // A click on the middle of the stone's top.
    TMouseClick On(const TBlock& stone, TMouseButton button = mbLeft) const {
        const TPoint p = app->Scene.View().Project(stone.X + stone.Length / 2, stone.Y + stone.Width / 2,
                                                   stone.Z + stone.Height, 0);
        TMouseClick click;
        click.X = p.x;
        click.Y = p.y;
        click.Button = button;
        return click;
    }
    std::vector<std::string> Strings() const {
        std::vector<std::string> strings;
        for (const TBlock* s : app->Document.Model().Stones())
            strings.push_back(s->ToString());
        std::sort(strings.begin(), strings.end());
        return strings;
    }
    TTempProgramFolder folder;
    std::unique_ptr<TStonemillApp> app;
};

} // namespace

TEST_F(PlacingTest, PositionsSnapAndRestOnTheStonesBelow) {
    TOwnedBlockList& model = app->Document.Model();
    model.InsertSorted(StoneInUnits('B', 0, 0, 0, 40, 40, 20));
    model.InsertSorted(StoneInUnits('R', 60, 0, 0, 20, 20, 40));
    model.InsertSorted(StoneInUnits('B', 0, 0, 20, 20, 20, 6));
    EXPECT_EQ(THand::SupportHeight(model, 0, 0, 40, 20), 26);
    EXPECT_EQ(THand::SupportHeight(model, 20, 20, 40, 40), 20); // overlaps the first only
    EXPECT_EQ(THand::SupportHeight(model, 40, 0, 20, 20), 0);   // touching edges count for nothing
    EXPECT_EQ(THand::SupportHeight(model, 50, 10, 20, 20), 40);
    CutState().ZHigh = 10; // stones out of the cut carry nothing
    EXPECT_EQ(THand::SupportHeight(model, 50, 10, 20, 20), 0);
    CutState().Reset();

    // The ground point under the mouse, snapped per grid.
    app->Scene.Control().SetViewAngles(0, 0); // seen from above, near enough to point at single units
    app->Scene.Control().SetZoom(4);
    app->PaletteCommands.TakePaletteEntry(0);
    TBlock& hand = *app->Hand.Stone();
    const TPoint at = app->Scene.View().Project(159, 75, 0, 0);
    const int32_t expected[] = {80, 120, 140, 150, 159};
    for (int grid = grNormal; grid <= grFine; ++grid) {
        app->Hand.Grid = static_cast<TGridResolution>(grid);
        app->Hand.SafePositioning = false;
        hand.Z = 50;
        app->Placing.HandFollows(at.x, at.y);
        EXPECT_NEAR(hand.X, expected[grid], 1) << grid;
        EXPECT_EQ(hand.Z, SnapHeightToGrid(50, static_cast<TGridResolution>(grid)));
    }
    app->Hand.SafePositioning = true;
    app->Hand.Grid = grQuarter;
    const TPoint over = app->Scene.View().Project(10, 10, 0, 0);
    app->Placing.HandFollows(over.x, over.y);
    EXPECT_EQ(hand.Z, 26);

    // Keys move the stone by its size, or with Shift by the grid.
    hand.X = 100;
    app->Input.EditKey(TEditKey::ekRight, false, false, false);
    EXPECT_EQ(hand.X, 140);
    app->Input.EditKey(TEditKey::ekRight, true, false, false);
    EXPECT_EQ(hand.X, 160);
    app->Hand.SafePositioning = false;
    hand.Z = 0;
    app->Input.EditKey(TEditKey::ekPageDown, false, false, false);
    EXPECT_EQ(hand.Z, 0);
    app->Input.EditKey(TEditKey::ekPageUp, false, false, false);
    EXPECT_EQ(hand.Z, 20);
    app->Hand.SafePositioning = true;
    app->Input.EditKey(TEditKey::ekPageUp, false, false, false); // back on its support
    EXPECT_EQ(hand.Z, 0);
    app->Input.EditKey(TEditKey::ekInsert, false, false, false);
    EXPECT_EQ(hand.Turn, 1);
    EXPECT_EQ(hand.Length, 80);
    app->Input.EditKey(TEditKey::ekEscape, false, false, false);
    EXPECT_FALSE(app->Hand.Holding());
}

TEST_F(PlacingTest, PlacingRepeatsChargesTheSupplyAndRespectsTheCut) {
    app->Supply.Load({{"2x4x3", 2}}, app->Document.Model());
    PlaceAt(0, 0, 0);
    PlaceAt(0, 0, 0);
    PlaceAt(0, 0, 0);
    ASSERT_EQ(app->Document.Model().Count(), 3);
    EXPECT_EQ(app->Document.Model()[2]->Z, 40); // each on top of the one before
    EXPECT_EQ(app->Supply.Count("2x4x3"), -1);
    EXPECT_TRUE(app->Hand.Holding()); // a fourth waits in hand
    EXPECT_EQ(app->Hand.LastZ, 40);
    EXPECT_TRUE(app->Document.Dirty());
    EXPECT_EQ(app->Document.Model().UndoLog().front().substr(0, 2), "+:");

    // Lifting a stone gives it back to the supply.
    app->Placing.PointerMode();
    app->Input.ViewMouseDown([&] {
        TMouseClick c = On(*app->Document.Model()[2]);
        c.Shift = true;
        return c;
    }());
    EXPECT_EQ(app->Document.Model().Count(), 2);
    EXPECT_EQ(app->Supply.Count("2x4x3"), 0);
    EXPECT_EQ(app->Hand.Mode, THandMode::hmMove);
    app->Placing.PlaceHand();
    EXPECT_FALSE(app->Hand.Holding()); // moved: the hand is empty
    EXPECT_EQ(app->Supply.Count("2x4x3"), -1);

    CutState().ZHigh = 50;
    app->PaletteCommands.TakePaletteEntry(0);
    app->Hand.Stone()->Z = 60;
    app->Placing.PlaceHand();
    EXPECT_EQ(app->Document.Model().Count(), 3); // outside the cut: refused
}

TEST_F(PlacingTest, SubassembliesFormANewGroupAtEveryPlacement) {
    const fs::path sub = Write("sub.stm", "= 70 330 20 0 0 0 1\r\n"
                                          "B 100 100 0 40 20 20 0 1 0 0 0 0  0\r\n"
                                          "B 100 100 20 40 20 20 255 1 0 0 0 0  0\r\n");
    app->Document.SetCaptionAndFileNames("/m/house.stm");
    app->Placing.InsertSubassembly(sub, false);
    EXPECT_EQ(app->Document.Caption(), "Stonemill Ver 1.42 - /m/house.stm");
    ASSERT_TRUE(app->Hand.HoldsSubassembly());
    TBlock& proxy = *app->Hand.Stone();
    proxy.X = 0;
    proxy.Y = 0;
    app->Placing.PlaceHand();
    proxy.X = 200;
    app->Placing.PlaceHand();
    ASSERT_EQ(app->Document.Model().Count(), 4);
    std::vector<int32_t> groups;
    for (const TBlock* s : app->Document.Model().Stones())
        groups.push_back(s->Group);
    std::sort(groups.begin(), groups.end());
    EXPECT_EQ(groups, (std::vector<int32_t>{1, 1, 2, 2}));
    EXPECT_EQ(app->Document.HighestGroup(), 3); // the stones in hand wait as group 3
    const auto lowest =
        std::min_element(app->Document.Model().Stones().begin(), app->Document.Model().Stones().end(),
                         [](const TBlock* a, const TBlock* b) { return a->X + a->Z < b->X + b->Z; });
    EXPECT_EQ((*lowest)->X, 0);
    EXPECT_EQ((*lowest)->Color, app->Palette.CurrentColor); // black took the current colour

    // Turning and mirroring the subassembly in hand.
    app->Hand.Turn();
    EXPECT_EQ(app->Hand.Pending()[0]->Turn, 1);
    app->Hand.Mirror();
    EXPECT_EQ(app->Hand.Pending()[0]->Turn, 3);

    // Shift + Alt copies a selected group into a new one, kept in hand for repeating.
    app->Placing.PointerMode();
    for (TBlock* s : app->Document.Model().Stones())
        s->Selected = s->Group == 1;
    TMouseClick copy = On(*app->Document.Model()[0]);
    copy.Shift = copy.Alt = true;
    app->Input.ViewMouseDown(copy);
    EXPECT_EQ(app->Hand.Pending().Count(), 2);
    EXPECT_EQ(app->Hand.Mode, THandMode::hmRepeat);
    EXPECT_EQ(app->Selection.SelectedCount(), 0);
    EXPECT_EQ(app->Document.Model().Count(), 4);
}

// Random actions of every kind: each is undone in one step back to exactly
// the model before it and redone in one step to exactly the model after it;
// stones lifted and put back with Escape leave the model and the undo log as
// they were; at the end, undoing everything and redoing everything holds too.
TEST_F(PlacingTest, RandomEditsUndoAndRedoExactly) {
    std::mt19937 random(20261208);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const fs::path sub =
        Write("sub.stm", "B 0 0 0 2 1 3 0 1 0 0 0 0  0\r\nG 2 0 0 0 0 0 255 1 0 0 0 parts.dat arch 0  0\r\n");
    bool undoEnabled = false, redoEnabled = false;
    app->Document.OnUndoRedoState = [&](bool undo, bool redo) {
        undoEnabled = undo;
        redoEnabled = redo;
    };
    for (int sequence = 0; sequence < 100; ++sequence) {
        app->Files.NewModel();
        for (int i = 0; i < 12; ++i) {
            std::unique_ptr<TBlock> s =
                StoneInUnits("BRT"[pick(3)], pick(8) * 20, pick(8) * 20, pick(3) * 20, 20 + pick(3) * 20,
                             20 + pick(2) * 20, 20, RGB(pick(256), 0, 0));
            s->Group = pick(3);
            app->Document.Model().InsertSorted(std::move(s));
        }
        const std::vector<std::string> start = Strings();
        std::vector<std::string> before;
        int undoCountBefore = 0;
        // The action since `before` is undone and redone whole, one step each.
        auto oneStep = [&](int line) {
            TOwnedBlockList& model = app->Document.Model();
            if (model.UndoCount() == undoCountBefore) {
                ASSERT_EQ(Strings(), before) << "line " << line;
            } else {
                const std::vector<std::string> after = Strings();
                app->Selection.UndoStep();
                ASSERT_EQ(Strings(), before) << "sequence " << sequence << " line " << line;
                ASSERT_EQ(model.UndoCount(), undoCountBefore) << "line " << line;
                app->Selection.RedoStep();
                ASSERT_EQ(Strings(), after) << "sequence " << sequence << " line " << line;
            }
            before = Strings();
            undoCountBefore = model.UndoCount();
        };
        for (int step = 0; step < 25; ++step) {
            app->Placing.PointerMode();
            before = Strings();
            undoCountBefore = app->Document.Model().UndoCount();
            const int count = app->Document.Model().Count();
            TBlock* stone = count > 0 ? app->Document.Model()[pick(count)] : nullptr;
            switch (pick(10)) {
            case 0:
                PlaceAt(pick(5), pick(10) * 20, pick(10) * 20);
                break;
            case 1: // lift a stone or its group, and put it elsewhere
                if (stone) {
                    TMouseClick c = On(*stone);
                    c.Shift = true;
                    app->Input.ViewMouseDown(c);
                    if (app->Hand.Holding() && pick(3) == 0) {
                        app->Hand.Stone()->X = pick(10) * 20;
                        app->Input.EditKey(TEditKey::ekEscape, false, false, false);
                        ASSERT_FALSE(app->Hand.Holding());
                        ASSERT_EQ(Strings(), before);
                        ASSERT_EQ(app->Document.Model().UndoCount(), undoCountBefore);
                    } else if (app->Hand.Holding()) {
                        app->Hand.Stone()->X = pick(10) * 20;
                        app->Hand.Settle(app->Document.Model());
                        app->Placing.PlaceHand();
                    }
                }
                break;
            case 2: // select some and delete them
                for (TBlock* s : app->Document.Model().Stones())
                    s->Selected = pick(4) == 0;
                app->Input.EditKey(TEditKey::ekDelete, false, false, false);
                break;
            case 3:
            case 4: // recolour, turn in place, or tag
                if (stone) {
                    TMouseClick c = On(*stone, mbRight);
                    c.Ctrl = pick(2) == 0;
                    c.Alt = !c.Ctrl && pick(2) == 0;
                    app->Input.ViewMouseDown(c);
                }
                break;
            case 5: // copy the selection and place it twice
                if (stone) {
                    for (TBlock* s : app->Document.Model().Stones())
                        s->Selected = pick(3) == 0;
                    stone->Selected = true;
                    TMouseClick c = On(*stone);
                    c.Shift = c.Alt = true;
                    app->Input.ViewMouseDown(c);
                    if (app->Hand.Holding()) {
                        app->Placing.PlaceHand();
                        oneStep(__LINE__);
                        app->Hand.Stone()->Y += 200;
                        app->Placing.PlaceHand();
                    }
                }
                break;
            case 6: // groups
                for (TBlock* s : app->Document.Model().Stones())
                    s->Selected = pick(3) == 0;
                if (pick(2) == 0)
                    app->Selection.MakeGroup();
                else
                    app->Selection.BreakGroups();
                break;
            case 8: // a toolbox pass over the selection, or replace colour
                for (TBlock* s : app->Document.Model().Stones())
                    s->Selected = pick(2) == 0;
                app->Palette.CurrentColor = RGB(0, 0, pick(256));
                if (pick(3) == 0)
                    app->Selection.MoveSelection(pick(3), pick(5) - 2);
                else if (pick(2) == 0)
                    app->Selection.TurnSelection();
                else
                    app->Selection.ReplaceColor();
                break;
            case 7:
                app->Placing.InsertSubassembly(sub, false);
                app->Hand.Stone()->X = pick(10) * 20;
                app->Placing.PlaceHand();
                break;
            default:
                app->Palette.CurrentColor = RGB(0, pick(256), 0);
                if (stone)
                    app->Input.ViewMouseDown(On(*stone, mbRight));
                break;
            }
            oneStep(__LINE__);
            ASSERT_EQ(undoEnabled, app->Document.Model().UndoCount() > 0);
        }
        app->Placing.PointerMode();
        const std::vector<std::string> edited = Strings();
        while (app->Document.Model().UndoCount() > 0)
            app->Selection.UndoStep();
        ASSERT_EQ(Strings(), start) << "sequence " << sequence;
        ASSERT_FALSE(undoEnabled);
        ASSERT_EQ(redoEnabled, app->Document.Model().RedoCount() > 0);
        while (app->Document.Model().RedoCount() > 0)
            app->Selection.RedoStep();
        ASSERT_EQ(Strings(), edited) << "sequence " << sequence;
        ASSERT_FALSE(redoEnabled);
    }
}

TEST_F(PlacingTest, PieceByPieceDrawingShowsEveryDisplayedStone) {
    for (int i = 0; i < 5; ++i)
        app->Document.Model().InsertSorted(StoneInUnits('B', 0, 0, i * 20, 40, 20, 20));
    int shown = 0;
    app->Scene.OnStoneDrawn = [&](int, int total) {
        ++shown;
        EXPECT_EQ(total, 5);
    };
    app->Scene.RedrawPicture();
    EXPECT_EQ(shown, 0);
    app->Scene.SetSlowRendering(true);
    CutState().ZHigh = 60; // three stones lie inside
    app->Scene.RedrawPicture();
    EXPECT_EQ(shown, 3);
}
