#include "app/selection_editor.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

#include "app/hand.h"
#include "app/model_document.h"
#include "app/palette.h"
#include "app/placing.h"
#include "app/scene_view.h"
#include "app/stone_supply.h"
#include "model/block.h"

namespace {

std::vector<TBlock*> SelectedStones(const TBlockList& model) {
    // Taken before any change: a moved stone takes a new place in the list.
    std::vector<TBlock*> selected;
    for (TBlock* stone : model.Stones())
        if (stone->Selected)
            selected.push_back(stone);
    return selected;
}

int32_t Shifted(int32_t value, int64_t by) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{value} + by, -kLargestCoordinate, kLargestCoordinate));
}

} // namespace

TBlock* FirstSelected(const TBlockList& model) {
    for (TBlock* stone : model.Stones())
        if (stone->Selected)
            return stone;
    return nullptr;
}

TSelectionEditor::TSelectionEditor(TModelDocument& document, TSceneView& scene, TStoneSupply& supply,
                                   const TPalette& palette, const THand& hand, TPlacing& placing)
    : FDocument(document), FScene(scene), FSupply(supply), FPalette(palette), FHand(hand), FPlacing(placing) {}

// --- selecting ---

int TSelectionEditor::SelectedCount() const {
    const TBlockList& model = FDocument.Model();
    return static_cast<int>(std::count_if(model.Stones().begin(), model.Stones().end(),
                                          [](const TBlock* s) { return s->Selected; }));
}

bool TSelectionEditor::HasSelection() const {
    return FirstSelected(FDocument.Model()) != nullptr;
}

void TSelectionEditor::SelectAll() {
    for (TBlock* stone : FDocument.Model().Stones())
        stone->Selected = true;
    FScene.RedrawPicture();
}

void TSelectionEditor::DeselectAll() {
    for (TBlock* stone : FDocument.Model().Stones())
        stone->Selected = false;
    FScene.RedrawPicture();
}

void TSelectionEditor::ClickSelect(int index, bool ctrl) {
    TBlockList& model = FDocument.Model();
    TBlock& stone = *model[index];
    if (stone.BasePlate)
        return;
    if (ctrl || stone.Group < 1) {
        stone.Selected = !stone.Selected;
    } else {
        const bool select = !stone.Selected;
        for (TBlock* s : model.Stones())
            if (s->Group == stone.Group)
                s->Selected = select;
    }
    FScene.RedrawPicture();
}

// --- one stone ---

void TSelectionEditor::ChangeStone(TBlock& stone, const std::function<void(TBlock&)>& change) {
    TOwnedBlockList& model = FDocument.Model();
    model.RecordUndo('[', stone);
    const int index = model.IndexOf(&stone);
    const int32_t x = stone.X, y = stone.Y, z = stone.Z, l = stone.Length, w = stone.Width, h = stone.Height;
    change(stone);
    model.RecordUndo(']', stone);
    // A stone whose box changed takes its painter's-order place anew.
    if (index >= 0 && (x != stone.X || y != stone.Y || z != stone.Z || l != stone.Length ||
                       w != stone.Width || h != stone.Height))
        model.InsertSorted(model.Release(index));
}

void TSelectionEditor::ChangeClicked(int index, const std::function<void(TBlock&)>& change) {
    change(*FDocument.Model()[index]);
    FDocument.SetDirty(true);
    FScene.RedrawPicture();
}

void TSelectionEditor::PaintStone(int index) {
    ChangeClicked(index, [this](TBlock& stone) {
        ChangeStone(stone, [this](TBlock& s) {
            s.Color = FPalette.CurrentColor;
            s.Transparent = FPalette.Transparent;
        });
    });
}

void TSelectionEditor::TurnInPlace(int index) {
    ChangeClicked(index, [this](TBlock& stone) {
        // The stone, or every stone of its group, in one undo step.
        TUndoAction action(FDocument.Model());
        std::vector<TBlock*> turning;
        for (TBlock* s : FDocument.Model().Stones())
            if (s == &stone || (stone.Group >= 1 && s->Group == stone.Group))
                turning.push_back(s);
        for (TBlock* s : turning)
            ChangeStone(*s, [](TBlock& t) { t.TurnQuarter(); });
    });
}

void TSelectionEditor::ToggleTag(int index) {
    ChangeClicked(index, [this](TBlock& stone) { ChangeStone(stone, [](TBlock& s) { s.Tag = !s.Tag; }); });
}

// --- groups, deleting, undo ---

bool TSelectionEditor::CanMakeGroup() const {
    return SelectedCount() >= 2;
}

bool TSelectionEditor::CanBreakGroups() const {
    const TBlock* first = FirstSelected(FDocument.Model());
    return first != nullptr && first->Group >= 1;
}

void TSelectionEditor::MakeGroup() {
    if (!CanMakeGroup())
        return;
    const int32_t group = FDocument.NewGroup();
    TUndoAction action(FDocument.Model());
    // Group changes are recorded like every other change of a stone, so that
    // undoing an earlier placement still finds the stone it placed.
    for (TBlock* stone : FDocument.Model().Stones()) {
        if (!stone->Selected)
            continue;
        if (stone->Group != group)
            ChangeStone(*stone, [group](TBlock& s) { s.Group = group; });
        stone->Selected = false;
    }
    FScene.RedrawPicture();
}

void TSelectionEditor::BreakGroups() {
    TUndoAction action(FDocument.Model());
    for (TBlock* stone : FDocument.Model().Stones()) {
        if (!stone->Selected)
            continue;
        if (stone->Group != 0)
            ChangeStone(*stone, [](TBlock& s) { s.Group = 0; });
        stone->Selected = false;
    }
    FScene.RedrawPicture();
}

void TSelectionEditor::DeleteSelection() {
    TOwnedBlockList& model = FDocument.Model();
    TUndoAction action(model);
    for (int i = model.Count() - 1; i >= 0; --i) {
        const TBlock& stone = *model[i];
        if (!stone.Selected)
            continue;
        FSupply.GiveBack(stone.Caption);
        model.RecordUndo('-', stone);
        const std::unique_ptr<TBlock> deleted = model.Release(i); // freed here
        FDocument.SetDirty(true);
    }
    FScene.RedrawPicture();
}

// Undo and redo put stones back at their painter's-order places, so the
// order holds without sorting everything again. Stones lifted to be moved
// go back first: the move is what undo takes back.
void TSelectionEditor::UndoStep() {
    if (FPlacing.CancelMove())
        return;
    TOwnedBlockList& model = FDocument.Model();
    if (model.UndoCount() == 0)
        return;
    model.Undo();
    FDocument.SetDirty(true);
    FScene.RedrawPicture();
}

void TSelectionEditor::RedoStep() {
    FPlacing.CancelMove();
    TOwnedBlockList& model = FDocument.Model();
    if (model.RedoCount() == 0)
        return;
    model.Redo();
    FDocument.SetDirty(true);
    FScene.RedrawPicture();
}

// --- the advanced toolbox ---

void TSelectionEditor::ChangeSelection(const std::function<void(TBlock&)>& change) {
    TPoint3D lowest{99999, 99999, 99999};
    TUndoAction action(FDocument.Model());
    const std::vector<TBlock*> selected = SelectedStones(FDocument.Model());
    for (TBlock* stone : selected) {
        ChangeStone(*stone, change);
        lowest = {std::min(lowest.X, stone->X), std::min(lowest.Y, stone->Y), std::min(lowest.Z, stone->Z)};
    }
    FPassCorner = FToolboxPosition = lowest;
    if (!selected.empty())
        FDocument.SetDirty(true);
}

void TSelectionEditor::ColorSelection() {
    ChangeSelection([this](TBlock& s) { s.Color = FPalette.CurrentColor; });
    FScene.RedrawPicture();
}

void TSelectionEditor::ToggleSelectionTransparent() {
    ChangeSelection([](TBlock& s) { s.Transparent = !s.Transparent; });
    FScene.RedrawPicture();
}

void TSelectionEditor::TurnSelection() {
    ChangeSelection([](TBlock& s) { s.TurnQuarter(); });
    FScene.RedrawPicture();
}

void TSelectionEditor::MoveSelection(int axis, int steps) {
    if (axis < 0 || axis > 2)
        return;
    FToolboxPosition = FPassCorner;
    const int64_t step = FHand.GridStep() * (steps < 0 ? -1 : 1);
    TUndoAction action(FDocument.Model());
    for (int pass = 0; pass < std::abs(steps); ++pass)
        ChangeSelection([axis, step](TBlock& s) {
            int32_t& place = axis == 0 ? s.X : axis == 1 ? s.Y : s.Z;
            place = Shifted(place, step);
        });
    FScene.RedrawPicture();
}

void TSelectionEditor::ShowHandPosition(const TBlock* held) {
    FToolboxPosition = held != nullptr ? TPoint3D{held->X, held->Y, held->Z} : TPoint3D{0, 0, 0};
}

void TSelectionEditor::ReplaceColor() {
    const TBlock* first = FirstSelected(FDocument.Model());
    if (first == nullptr)
        return;
    const TColor from = first->Color;
    std::vector<TBlock*> matching;
    for (TBlock* stone : FDocument.Model().Stones())
        if (stone->Color == from)
            matching.push_back(stone);
    TUndoAction action(FDocument.Model());
    for (TBlock* stone : matching)
        ChangeStone(*stone, [this](TBlock& s) { s.Color = FPalette.CurrentColor; });
    FDocument.SetDirty(true);
    FScene.RedrawPicture();
}
