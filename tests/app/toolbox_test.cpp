#include <gtest/gtest.h>

#include "app/stonemill_app.h"
#include "model/block_factory.h"
#include "temp_program_folder.h"

namespace {

class ToolboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<TStonemillApp>(folder.Path());
        app->Scene.ResizeView(120, 90);
        for (auto [x, color] :
             {std::pair{0, RGB(200, 0, 0)}, std::pair{4, RGB(0, 200, 0)}, std::pair{8, RGB(200, 0, 0)}})
            app->Document.Model().InsertSorted(
                TBlockFactory::Create('B', x, 0, 0, 2, 1, 3, color, false, false, false, ""));
    }
    TBlock& Stone(int x) {
        for (TBlock* s : app->Document.Model().Stones())
            if (s->X == x)
                return *s;
        ADD_FAILURE() << "no stone at " << x;
        throw std::runtime_error("no stone");
    }
    TTempProgramFolder folder;
    std::unique_ptr<TStonemillApp> app;
};

} // namespace

TEST_F(ToolboxTest, SelectionCommandsAreLoggedAndUndone) {
    // Nothing selected: nothing moves, nothing is logged.
    app->Selection.MoveSelection(0, 3);
    EXPECT_EQ(app->Document.Model().UndoCount(), 0);
    EXPECT_EQ(app->Selection.ToolboxPosition(), (TPoint3D{99999, 99999, 99999}));

    Stone(0).Selected = true;
    Stone(80).Selected = true;
    const std::string before = Stone(0).ToString() + Stone(80).ToString();
    app->Hand.Grid = grQuarter;
    app->Selection.MoveSelection(0, 3); // three passes of 20 units, each logged before and after
    EXPECT_EQ(app->Document.Model().UndoCount(), 12);
    EXPECT_EQ(app->Selection.ToolboxPosition(), (TPoint3D{60, 0, 0}));
    EXPECT_TRUE(app->Document.Dirty());
    app->Selection.MoveSelection(2, -1);
    EXPECT_EQ(app->Selection.ToolboxPosition(), (TPoint3D{60, 0, -20}));
    app->Selection.TurnSelection();
    EXPECT_EQ(Stone(60).Length, 20);
    for (int i = 0; i < 10; ++i) // each stone of each pass is a step of its own
        app->Selection.UndoStep();
    EXPECT_EQ(Stone(0).ToString() + Stone(80).ToString(), before);

    // Replace: the first selected stone's colour, throughout the model.
    Stone(0).Selected = true;
    Stone(80).Selected = false;
    Stone(160).Selected = false;
    app->Palette.CurrentColor = RGB(0, 0, 200);
    app->Selection.ReplaceColor();
    EXPECT_EQ(Stone(0).Color, RGB(0, 0, 200));
    EXPECT_EQ(Stone(160).Color, RGB(0, 0, 200));
    EXPECT_EQ(Stone(80).Color, RGB(0, 200, 0));
    Stone(0).Selected = false;
    Stone(80).Selected = true;
    app->PaletteCommands.UseThisColor();
    EXPECT_EQ(app->Palette.CurrentColor, RGB(0, 200, 0));
    app->Selection.ToggleSelectionTransparent();
    EXPECT_TRUE(Stone(80).Transparent);
    app->Palette.CurrentColor = RGB(9, 9, 9);
    app->Selection.ColorSelection();
    EXPECT_EQ(Stone(80).Color, RGB(9, 9, 9));
}

TEST_F(ToolboxTest, ThePositionShownFollowsTheStoneInHand) {
    Stone(0).Selected = true;
    app->Selection.MoveSelection(1, 2);
    EXPECT_EQ(app->Selection.ToolboxPosition(), (TPoint3D{0, 40, 0}));
    // Taken, moved by a key and by the mouse: where the stone in hand is.
    app->Placing.Take(TBlockFactory::Create('B', 10, 0, 0, 2, 1, 3, 0, false, false, false, ""));
    EXPECT_EQ(app->Selection.ToolboxPosition(), (TPoint3D{200, 0, 0}));
    app->Placing.HandKey(TEditKey::ekRight, true);
    EXPECT_EQ(app->Selection.ToolboxPosition(), (TPoint3D{220, 0, 0}));
    const TPoint far = app->Scene.View().Project(400, 200, 0, 0);
    app->Placing.HandFollows(far.x, far.y);
    const TBlock& held = *app->Hand.Stone();
    EXPECT_EQ(app->Selection.ToolboxPosition(), (TPoint3D{held.X, held.Y, held.Z}));
    // A move of no steps shows the last pass's corner again; pointer mode shows nothing.
    app->Selection.MoveSelection(0, 0);
    EXPECT_EQ(app->Selection.ToolboxPosition(), (TPoint3D{0, 40, 0}));
    app->Placing.PointerMode();
    EXPECT_EQ(app->Selection.ToolboxPosition(), (TPoint3D{0, 0, 0}));
}
