#include <gtest/gtest.h>

#include "common/error.h"
#include "editor/editor_view.h"
#include "editor/editor_view_state.h"
#include "editor/part_editor.h"
#include "files/palette_entry.h"
#include "partlib/part_registry.h"
#include "platform/bitmap.h"
#include "raster/draw_object.h"
#include "temp_program_folder.h"
#include "view/render_state.h"

#include <QImage>
#include <filesystem>

namespace {

std::unique_ptr<TBlock> Build(const std::string& blockString) {
    return CreateEntryStone(blockString);
}

// A registered part "ed.dat, slab": a slab 40 x 20 x 20 with a slanted top.
TDrawClass* RegisterSlab() {
    auto slab = std::make_unique<TDrawClass>();
    slab->FileName = "ed.dat";
    slab->PartName = "slab";
    slab->SetBoundingBox(40, 20, 20);
    slab->AddPolygon({{0, 0, 0}, {40, 0, 0}, {40, 0, 20}, {7, 0, 20}});
    slab->AddPolygon({{0, 0, 20}, {40, 0, 20}, {40, 20, 10}, {0, 20, 10}});
    slab->Modified = false;
    TDrawClass* kept = slab.get();
    TPartRegistry::Instance().Register(slab);
    return kept;
}

class PartEditorTest : public ::testing::Test {
protected:
    void SetUp() override { TPartRegistry::Instance().Clear(); }
    void TearDown() override { TPartRegistry::Instance().Clear(); }
    TPartEditor Editor{&Build};
};

} // namespace

TEST_F(PartEditorTest, SimpleKindsAreRebuiltFromKindAndDimensions) {
    Editor.LoadEntry("D 2x1x3|Front door", false);
    EXPECT_EQ(Editor.KindRow(), 0); // a door shows as a block
    EXPECT_EQ(Editor.DimensionEdits, (TPartExtents{40, 20, 20}));
    EXPECT_EQ(Editor.GetEntry(), "D 2x1x3|Front door"); // unchanged when confirmed as it is
    EXPECT_TRUE(Editor.Confirm([](const std::string&) { return std::nullopt; }));
    Editor.DimensionEdits = {30, 40, 20};
    Editor.ApplyDimensions();
    EXPECT_EQ(Editor.GetEntry(), "B 1x2x3");
    ASSERT_NE(Editor.Stone(), nullptr);
    EXPECT_EQ(Editor.Stone()->Kind, 'B');
    Editor.ChangeKind(6);
    EXPECT_EQ(Editor.GetEntry(), "R 1x2x3");
    EXPECT_EQ(Editor.KindRow(), 6);
    // A wheel has no row and stays a wheel; a kind that builds nothing leaves no stone.
    Editor.LoadEntry("O 2x1x3", false);
    EXPECT_EQ(Editor.KindRow(), -1);
    Editor.SpinDimensions();
    EXPECT_EQ(Editor.GetEntry(), "O 2x1x3");
    Editor.LoadEntry("M Models/house", false);
    EXPECT_EQ(Editor.Stone(), nullptr);
    EXPECT_EQ(Editor.GetPictureHeight(), 10);
    Editor.LoadEntry("G nowhere.dat, nothing", false); // the part cannot be read: quietly no stone
    EXPECT_EQ(Editor.Stone(), nullptr);
}

TEST_F(PartEditorTest, AnEditedPartReplacesItsSourceOnlyWhenConfirmed) {
    TDrawClass* slab = RegisterSlab();
    Editor.LoadEntry("G ed.dat, slab", false);
    ASSERT_NE(Editor.WorkingCopy(), nullptr);
    EXPECT_NE(Editor.WorkingCopy(), slab);
    EXPECT_EQ(Editor.SourceDefinition(), slab);
    EXPECT_EQ(Editor.KindRow(), TPartEditor::kGeneralRow);
    EXPECT_EQ(Editor.StoredDimensions, (TPartExtents{40, 20, 20}));
    EXPECT_GT(Editor.GetPictureHeight(), 10);
    // Scale x from 40 to 60: 40 -> 60, 7 -> 10 (10.5 to even).
    Editor.DimensionEdits.X = 60;
    Editor.ApplyDimensions();
    EXPECT_EQ(Editor.WorkingCopy()->GetPoint(0, 3), (TPoint3D{10, 0, 20}));
    EXPECT_EQ(Editor.WorkingCopy()->BoundingX(), 60);
    EXPECT_EQ(Editor.Stone()->Length, 60);
    // Stretch the height from 20 to 21: only z above 10 moves.
    Editor.DimensionEdits.Z = 21;
    Editor.SpinDimensions();
    EXPECT_EQ(Editor.WorkingCopy()->GetPoint(1, 2), (TPoint3D{60, 20, 10}));
    EXPECT_EQ(Editor.WorkingCopy()->GetPoint(1, 0), (TPoint3D{0, 0, 21}));
    EXPECT_EQ(slab->GetPoint(0, 3), (TPoint3D{7, 0, 20})); // the source waits for confirmation
    EXPECT_TRUE(Editor.Confirm([](const std::string&) -> std::optional<TPartEditor::TNames> {
        ADD_FAILURE() << "an edited part keeps its names";
        return std::nullopt;
    }));
    EXPECT_EQ(slab->GetPoint(0, 3), (TPoint3D{10, 0, 21}));
    EXPECT_TRUE(slab->Modified);
    EXPECT_EQ(Editor.Stone()->Part, slab);
    EXPECT_EQ(Editor.WorkingCopy(), nullptr);
    EXPECT_EQ(Editor.GetEntry(), "G ed.dat, slab");
}

TEST_F(PartEditorTest, ANewPartIsNamedAndRegistered) {
    RegisterSlab();
    Editor.LoadEntry("G ed.dat, slab", true);
    EXPECT_EQ(Editor.PartName, "template");
    EXPECT_EQ(Editor.SourceDefinition(), nullptr);
    Editor.AddPolygon(false); // a square in z = 0, selected
    EXPECT_EQ(Editor.SelectedPolygon, 2);
    Editor.Extrude();
    EXPECT_EQ(Editor.WorkingCopy()->PolygonCount(), 7);
    std::string proposed;
    EXPECT_FALSE(Editor.Confirm([&](const std::string& file) {
        proposed = file;
        return std::nullopt;
    }));
    EXPECT_EQ(proposed, "userblks.dat");
    EXPECT_EQ(TPartRegistry::Instance().Count(), 1); // cancelled: nothing registered
    ASSERT_TRUE(Editor.Confirm([](const std::string&) {
        return std::optional<TPartEditor::TNames>({"userblks.dat", "arch2|Big arch"});
    }));
    EXPECT_EQ(Editor.GetEntry(), "G userblks.dat, arch2|Big arch");
    TDrawClass* added = TPartRegistry::Instance().FindPart("userblks.dat", "arch2");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->PolygonCount(), 7);
    EXPECT_EQ(added->HighlightedPolygon, -1);
    EXPECT_TRUE(added->Modified); // written when the program ends
    EXPECT_EQ(Editor.Stone()->Part, added);
    // The next new part proposes the file typed last; a taken name leaves the
    // registered part as it is.
    Editor.LoadEntry("G ed.dat, slab", true);
    Editor.AddPolygon(false);
    ASSERT_TRUE(Editor.Confirm([&](const std::string& file) {
        proposed = file;
        return std::optional<TPartEditor::TNames>({"userblks.dat", "arch2"});
    }));
    EXPECT_EQ(proposed, "userblks.dat");
    EXPECT_EQ(added->PolygonCount(), 7);
    EXPECT_EQ(Editor.Stone()->Part, added);

    // A taken name is known before it is used: registered in any file, or
    // in the library; once the user agrees, the new shape replaces that part.
    EXPECT_TRUE(TPartEditor::PartNameTaken({"userblks.dat", "ARCH2|Arch"}));
    EXPECT_TRUE(TPartEditor::PartNameTaken({"other.dat", "slab"}));
    EXPECT_FALSE(TPartEditor::PartNameTaken({"userblks.dat", "arch3"}));
    Editor.LoadEntry("G ed.dat, slab", true);
    Editor.AddPolygon(false);
    Editor.AddPolygon(false);
    const int faces = Editor.WorkingCopy()->PolygonCount();
    ASSERT_TRUE(Editor.Confirm([](const std::string&) {
        return std::optional<TPartEditor::TNames>({"userblks.dat", "arch2", true});
    }));
    EXPECT_EQ(TPartRegistry::Instance().FindPart("userblks.dat", "arch2"), added);
    EXPECT_EQ(added->PolygonCount(), faces);
    EXPECT_TRUE(added->Modified);
    EXPECT_EQ(Editor.Stone()->Part, added);

    // Parts of the library are taken, in any of its files (the folder starts
    // with an empty registry).
    TTempProgramFolder folder;
    folder.CopyShippedParts();
    folder.WritePartFile("gate.bcp", "[gate]\r\n");
    EXPECT_TRUE(TPartEditor::PartNameTaken({"userblks.dat", "Cone"})); // in parts.dat
    EXPECT_TRUE(TPartEditor::PartNameTaken({"userblks.dat", "gate"})); // saved alone
    EXPECT_FALSE(TPartEditor::PartNameTaken({"userblks.dat", "arch3"}));
}

TEST_F(PartEditorTest, PolygonsAndPointsAreSelectedMovedAndDeleted) {
    RegisterSlab();
    Editor.LoadEntry("G ed.dat, slab", false);
    TDrawClass& copy = *Editor.WorkingCopy();
    Editor.SelectPolygon(1);
    EXPECT_EQ(copy.HighlightedPolygon, 1);
    EXPECT_EQ(Editor.PointEdits, (TPoint3D{0, 0, 20}));
    // With no point selected the edits place the polygon's first point.
    Editor.MovePointEdits({5, 0, 20});
    EXPECT_EQ(copy.GetPoint(1, 2), (TPoint3D{45, 20, 10}));
    Editor.MovePointEdits({5, 1, 20});
    EXPECT_EQ(copy.GetPoint(1, 0), (TPoint3D{5, 1, 20}));
    Editor.SelectPoint(2);
    Editor.MovePointEdits({1, 2, 3});
    EXPECT_EQ(copy.GetPoint(1, 2), (TPoint3D{1, 2, 3}));
    EXPECT_EQ(copy.GetPoint(1, 3), (TPoint3D{5, 21, 10}));
    Editor.AddPoint(true); // the edits' point before the selected one
    ASSERT_EQ(copy.GetPointCount(1), 5);
    EXPECT_EQ(copy.GetPoint(1, 2), (TPoint3D{1, 2, 3}));
    Editor.AddPoint(false);
    EXPECT_EQ(copy.GetPoint(1, 2), (TPoint3D{0, 0, 0}));
    Editor.SelectPoint(2);
    Editor.DeletePoint();
    EXPECT_EQ(copy.GetPointCount(1), 5);
    EXPECT_EQ(Editor.SelectedPoint, -1);
    Editor.ToggleEdge(2);
    EXPECT_EQ(copy.GetEdgeFlags(1), 8);
    Editor.ToggleTransparent();
    EXPECT_EQ(copy.GetColor(1), -16777215);
    // Deleting a polygon before the selected one keeps the same polygon selected.
    Editor.DeletePolygon(0);
    EXPECT_EQ(Editor.SelectedPolygon, 0);
    EXPECT_EQ(copy.GetEdgeFlags(0), 8);
    Editor.DeletePolygon(0);
    EXPECT_EQ(Editor.SelectedPolygon, -1);
    EXPECT_EQ(copy.PolygonCount(), 0);
    EXPECT_THROW(Editor.DeletePolygon(3), EError);
}

TEST_F(PartEditorTest, DrawOrderListsRowsAndKeys) {
    RegisterSlab();
    Editor.LoadEntry("G ed.dat, slab", false);
    TDrawClass& copy = *Editor.WorkingCopy();
    Editor.AddPolygon(false); // polygon 2, last in every order
    EXPECT_FALSE(Editor.InsertDrawEntry(3, 0, 2)); // listed already
    Editor.RemoveDrawEntry(3, 2);
    EXPECT_EQ(copy.DrawOrder(3).Items(), (std::vector<int32_t>{0, 1}));
    EXPECT_TRUE(Editor.InsertDrawEntry(3, 0, 2));
    EXPECT_EQ(copy.DrawOrder(3).Items(), (std::vector<int32_t>{2, 0, 1}));
    Editor.MoveDrawEntry(3, 0, 2);
    EXPECT_EQ(copy.DrawOrder(3).Items(), (std::vector<int32_t>{0, 1, 2}));
    Editor.MoveDrawEntry(3, 0, 3); // below the last row: nothing
    EXPECT_EQ(copy.DrawOrder(3).Items(), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(copy.DrawOrder(4).Items(), (std::vector<int32_t>{0, 1, 2})); // other octants untouched

    copy.SetEdgeFlags(0, -2);
    EXPECT_EQ(Editor.PolygonRowText(0), "-1");
    EXPECT_EQ(Editor.PolygonRowText(2), "3");
    EXPECT_EQ(TPartEditor::PointRowText({5, -20, 120}), "   5 -20 120");
    Editor.SelectPolygon(2);
    Editor.ToggleEdge(1); // edge 1 alone hidden
    EXPECT_TRUE(Editor.PointRowOutlined(0));
    EXPECT_FALSE(Editor.PointRowOutlined(1));
    // Keys step the edits and move the polygon by its first point; others only re-apply.
    Editor.PointKey('a');
    Editor.PointKey('C');
    Editor.PointKey('q');
    EXPECT_EQ(copy.GetPoint(2, 0), (TPoint3D{1, 0, -1}));
    EXPECT_EQ(copy.GetPoint(2, 2), (TPoint3D{21, 20, -1}));

    using TNames = TPartEditor::TNames;
    EXPECT_EQ(TPartEditor::NamesProblem({"", "arch"}), "Filename and Partname must be entered");
    EXPECT_EQ(TPartEditor::NamesProblem({"userblks.dat", "|label"}), "Filename and Partname must be entered");
    EXPECT_NE(TPartEditor::NamesProblem(TNames{"../escape.dat", "arch"}), "");
    EXPECT_NE(TPartEditor::NamesProblem(TNames{"sub\\\\x.dat", "arch"}), "");
    EXPECT_NE(TPartEditor::NamesProblem(TNames{"userblks.dat", "big arch"}), "");
    EXPECT_EQ(TPartEditor::NamesProblem(TNames{"userblks.dat", "arch2|Big arch"}), "");
}

TEST_F(PartEditorTest, ListRowsNameTheirPolygons) {
    EXPECT_EQ(Editor.PolygonAtRow(0), -1); // no general stone: no rows
    EXPECT_EQ(Editor.DrawEntryPolygon(0, 0), -1);
    RegisterSlab();
    Editor.LoadEntry("G ed.dat, slab", false);
    Editor.AddPolygon(false); // polygon 2, last in every order
    // The polygon list's row r is polygon r, whatever its text's sign says.
    Editor.WorkingCopy()->SetEdgeFlags(1, -2);
    EXPECT_EQ(Editor.PolygonRowText(1), "-2");
    EXPECT_EQ(Editor.PolygonAtRow(1), 1);
    EXPECT_EQ(Editor.PolygonAtRow(2), 2);
    EXPECT_EQ(Editor.PolygonAtRow(3), -1);
    EXPECT_EQ(Editor.PolygonAtRow(-1), -1);
    // A draw-order row is the entry of the octant's order at that row.
    Editor.MoveDrawEntry(5, 2, 0);
    EXPECT_EQ(Editor.DrawEntryPolygon(5, 0), 2);
    EXPECT_EQ(Editor.DrawEntryPolygon(5, 1), 0);
    EXPECT_EQ(Editor.DrawEntryPolygon(5, 2), 1);
    EXPECT_EQ(Editor.DrawEntryPolygon(4, 0), 0); // other octants keep their order
    Editor.RemoveDrawEntry(5, 1);
    EXPECT_EQ(Editor.DrawEntryPolygon(5, 1), 1);
    EXPECT_EQ(Editor.DrawEntryPolygon(5, 2), -1);
    EXPECT_EQ(Editor.DrawEntryPolygon(5, -1), -1);
    EXPECT_EQ(Editor.DrawEntryPolygon(kOctantCount, 0), -1);
    EXPECT_EQ(Editor.DrawEntryPolygon(-1, 0), -1);
}

TEST_F(PartEditorTest, ATypedDimensionChangeWaitsUntilAppliedOrReverted) {
    RegisterSlab();
    Editor.LoadEntry("G ed.dat, slab", false);
    EXPECT_FALSE(Editor.DimensionsPending());
    Editor.TypeDimensions();
    EXPECT_TRUE(Editor.DimensionsPending());
    // An arrow while a change is pending takes every edit back, its own step
    // included, and stretches nothing.
    Editor.DimensionEdits = {60, 20, 21};
    Editor.SpinDimensions();
    EXPECT_FALSE(Editor.DimensionsPending());
    EXPECT_EQ(Editor.DimensionEdits, (TPartExtents{40, 20, 20}));
    EXPECT_EQ(Editor.WorkingCopy()->GetPoint(1, 0), (TPoint3D{0, 0, 20}));
    // The next arrow stretches.
    Editor.DimensionEdits = {40, 20, 21};
    Editor.SpinDimensions();
    EXPECT_EQ(Editor.StoredDimensions, (TPartExtents{40, 20, 21}));
    EXPECT_EQ(Editor.WorkingCopy()->GetPoint(1, 0), (TPoint3D{0, 0, 21}));
    // Applying ends a pending change and resizes; reverting ends it and
    // takes the edits back.
    Editor.TypeDimensions();
    Editor.DimensionEdits.X = 60;
    Editor.ApplyDimensions();
    EXPECT_FALSE(Editor.DimensionsPending());
    EXPECT_EQ(Editor.Stone()->Length, 60);
    Editor.TypeDimensions();
    Editor.DimensionEdits.X = 80;
    Editor.RevertDimensions();
    EXPECT_FALSE(Editor.DimensionsPending());
    EXPECT_EQ(Editor.DimensionEdits.X, 60);
    // Without a stone, applying still ends it.
    Editor.LoadEntry("M Models/house", false);
    Editor.TypeDimensions();
    Editor.ApplyDimensions();
    EXPECT_FALSE(Editor.DimensionsPending());
}

TEST_F(PartEditorTest, TheViewDrawsAtTheEditorsOwnDetailLevel) {
    RegisterSlab();
    Editor.StoneColor = RGB(200, 0, 0);
    Editor.LoadEntry("G ed.dat, slab", false);
    Editor.SelectPolygon(1);
    Editor.SetDetail(1); // the slanted top is a decoration
    TRenderState shared; // the main view, at its own level
    shared.UpdateShades();
    shared.DetailLevel = 2;
    TEditorViewState state;
    EXPECT_EQ(state.DetailLevel, 0);
    auto draw = [&] {
        TBitmap picture(120, 100, pf32bit);
        int octant = -1;
        EXPECT_TRUE(DrawEditorView(picture, Editor.Stone(), state, shared, clWhite, octant));
        return picture.ToImage();
    };
    const QImage plain = draw();
    EXPECT_EQ(shared.DetailLevel, 2); // put back after drawing
    state.DetailLevel = 1;
    const QImage decorated = draw();
    EXPECT_NE(decorated, plain);
    EXPECT_EQ(shared.DetailLevel, 2);
    // The main view's level does not change what the editor shows.
    shared.DetailLevel = 0;
    EXPECT_EQ(draw(), decorated);
    EXPECT_EQ(shared.DetailLevel, 0);
    state.DetailLevel = 0;
    EXPECT_EQ(draw(), plain);
}

TEST_F(PartEditorTest, ANewPartIsWrittenAtTheEndAndDrawsTheSameWhenReadAgain) {
    TTempProgramFolder folder;
    folder.CopyShippedParts();
    Editor.LoadEntry("G parts.dat, arch", true);
    Editor.AddPolygon(false);
    Editor.Extrude();
    ASSERT_TRUE(Editor.Confirm([](const std::string&) {
        return std::optional<TPartEditor::TNames>({"userblks.dat", "archway"});
    }));
    // What a stone of the new part looks like, placed from the palette entry.
    auto picture = [](const std::string& entry) {
        auto stone = CreateEntryStone(entry);
        TRenderState view;
        view.SetRotation(60, 0, 30);
        view.ViewOffsetX = 60;
        view.ViewOffsetY = 50;
        view.UpdateShades();
        view.ComputePassValues();
        auto bitmap = std::make_unique<TBitmap>(120, 100, pf32bit);
        TDrawObject d(*bitmap);
        stone->Draw(d, view);
        return bitmap->ToImage();
    };
    const QImage before = picture(Editor.GetEntry());
    EXPECT_NE(before, TBitmap(120, 100, pf32bit).ToImage()); // the stone is in the picture
    TPartRegistry::Instance().SaveModifiedParts(); // as the program does when it ends
    EXPECT_TRUE(std::filesystem::exists(folder.Parts() / "archway.bcp"));
    TPartRegistry::Instance().Clear(); // the next start
    EXPECT_EQ(picture("G userblks.dat, archway"), before);
    EXPECT_EQ(TPartRegistry::Instance().FindPart("userblks.dat", "archway")->PolygonCount(),
              TPartRegistry::Instance().FindPart("parts.dat", "arch")->PolygonCount() + 5);
}
