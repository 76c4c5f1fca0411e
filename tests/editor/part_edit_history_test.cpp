// The part editor's undo and redo: random edits of a general part (faces,
// points, draw orders, shape operations, dimensions, kind and label), each
// undone back to exactly the part before it and redone to exactly the part
// after it; an edit that fails changes nothing, and a new change forgets
// what was undone.

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "common/error.h"
#include "editor/part_editor.h"
#include "files/palette_entry.h"
#include "partlib/part_file.h"
#include "partlib/part_registry.h"

namespace {

std::unique_ptr<TBlock> Build(const std::string& blockString) {
    return CreateEntryStone(blockString);
}

void RegisterPrism() {
    auto prism = std::make_unique<TDrawClass>();
    prism->FileName = "hist.dat";
    prism->PartName = "prism";
    prism->SetBoundingBox(40, 20, 20);
    prism->AddPolygon({{0, 0, 0}, {40, 0, 0}, {40, 0, 20}, {0, 0, 20}});
    prism->AddPolygon({{0, 0, 20}, {40, 0, 20}, {40, 20, 0}, {0, 20, 0}});
    prism->AddPolygon({{0, 0, 0}, {0, 20, 0}, {0, 0, 20}});
    TPartRegistry::Instance().Register(prism);
}

// Everything the part is: the entry, the stone's size and the definition as
// the part file would hold it.
std::string PartText(const TPartEditor& editor) {
    std::string text = editor.GetEntry();
    if (const TBlock* stone = editor.Stone())
        text += " " + std::string(1, stone->Kind) + std::to_string(stone->Length) + "/" +
                std::to_string(stone->Width) + "/" + std::to_string(stone->Height);
    if (editor.WorkingCopy()) {
        TDrawClass copy(*editor.WorkingCopy());
        TStringList lines;
        WritePart(copy, lines);
        for (const std::string& line : lines)
            text += "\n" + line;
    }
    return text;
}

class PartEditHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        TPartRegistry::Instance().Clear();
        RegisterPrism();
    }
    void TearDown() override { TPartRegistry::Instance().Clear(); }
    TPartEditor Editor{&Build};
};

} // namespace

TEST_F(PartEditHistoryTest, EveryChangeIsUndoneAndRedoneExactly) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Editor.LoadEntry("G hist.dat, prism|Prism", false);
        EXPECT_FALSE(Editor.CanUndo());
        std::mt19937 random(seed);
        auto any = [&](int below) {
            return below <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(below));
        };
        auto polygons = [&] { return Editor.WorkingCopy() ? Editor.WorkingCopy()->PolygonCount() : 0; };
        // Every edit the window offers, with arguments that may not fit the part.
        const std::vector<std::function<void()>> edits = {
            [&] { Editor.AddPolygon(any(2) == 0); },
            [&] { Editor.SelectPolygon(any(polygons())); },
            [&] { Editor.SelectPoint(any(4)); },
            [&] { Editor.AddPoint(any(2) == 0); },
            [&] {
                Editor.MovePointEdits({any(60) - 20, any(60) - 20, any(40)});
            },
            [&] { Editor.DeletePolygon(any(polygons())); },
            [&] { Editor.DeletePoint(); },
            [&] { Editor.ToggleTransparent(); },
            [&] { Editor.ToggleBorder(); },
            [&] { Editor.ToggleEdge(any(4)); },
            [&] { Editor.SetColor(any(3) * 0x102030); },
            [&] { Editor.SetDetail(any(3)); },
            [&] { Editor.Extrude(); },
            [&] { Editor.Mirror(any(kShapeTagCount)); },
            [&] { Editor.Rotate(any(kShapeTagCount)); },
            [&] { Editor.Sort(0, kOctantCount - 1); },
            [&] { Editor.InsertDrawEntry(any(kOctantCount), any(3), any(polygons())); },
            [&] { Editor.MoveDrawEntry(any(kOctantCount), any(3), any(3)); },
            [&] { Editor.RemoveDrawEntry(any(kOctantCount), any(3)); },
            [&] {
                Editor.DimensionEdits = {20 + 20 * any(4), 20 + 20 * any(3), 7 + 13 * any(3)};
                if (any(2) == 0)
                    Editor.ApplyDimensions();
                else
                    Editor.SpinDimensions();
            },
            [&] { Editor.ChangeKind(any(3) == 0 ? TPartEditor::kGeneralRow : any(TPartEditor::kKindRows)); },
            [&] { Editor.SetIdentity(Editor.Identity + static_cast<char>('a' + any(26))); },
        };
        const int typing = static_cast<int>(edits.size()) - 1;
        // The part before each change that made one, oldest first.
        std::vector<std::string> before;
        bool labelRun = false;
        for (int step = 0; step < 120; ++step) {
            const std::string was = PartText(Editor);
            const int op = any(static_cast<int>(edits.size()));
            bool failed = false;
            try {
                edits[static_cast<size_t>(op)]();
            } catch (const EError&) {
                failed = true; // an index the part does not have, as a window may send
            }
            if (failed) {
                ASSERT_EQ(PartText(Editor), was) << "a failed change leaves the part as it was";
            }
            if (PartText(Editor) == was)
                continue;
            // A label typed letter by letter is one change.
            if (!(op == typing && labelRun))
                before.push_back(was);
            labelRun = op == typing;
        }
        ASSERT_FALSE(before.empty());
        std::vector<std::string> after{PartText(Editor)};
        for (size_t i = before.size(); i-- > 0;) {
            ASSERT_TRUE(Editor.CanUndo());
            Editor.Undo();
            ASSERT_EQ(PartText(Editor), before[i]) << "undo " << before.size() - i;
            after.push_back(before[i]);
        }
        EXPECT_FALSE(Editor.CanUndo());
        after.pop_back();
        for (size_t i = after.size(); i-- > 0;) {
            ASSERT_TRUE(Editor.CanRedo());
            Editor.Redo();
            ASSERT_EQ(PartText(Editor), after[i]) << "redo " << after.size() - i;
        }
        EXPECT_FALSE(Editor.CanRedo());
        // Undone, a new change leaves nothing to redo.
        Editor.Undo();
        Editor.SetIdentity(Editor.Identity + "!");
        EXPECT_FALSE(Editor.CanRedo());
    }
}

TEST_F(PartEditHistoryTest, UndoneDimensionsShowAndLookingIsNoChange) {
    Editor.LoadEntry("G hist.dat, prism", false);
    Editor.DimensionEdits = {80, 20, 20};
    Editor.ApplyDimensions();
    Editor.DimensionEdits = {100, 20, 20};
    Editor.TypeDimensions();
    Editor.ToggleStoneTransparent(); // a way of looking at the stone
    Editor.Undo();
    EXPECT_EQ(Editor.DimensionEdits, (TPartExtents{40, 20, 20}));
    EXPECT_FALSE(Editor.DimensionsPending());
    EXPECT_FALSE(Editor.CanUndo());
    EXPECT_TRUE(Editor.Stone()->Transparent);
    EXPECT_EQ(Editor.Stone()->Part, Editor.WorkingCopy());
    Editor.LoadEntry("2x4x3|Brick", false);
    EXPECT_FALSE(Editor.CanRedo());
}
