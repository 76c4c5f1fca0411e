// The advanced toolbox's commands: colour, transparency, turns and exact grid
// moves of the whole selection, and replacing one colour throughout the model.

#include <algorithm>
#include <limits>
#include <vector>

#include "app/stonemill_app.h"
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

TBlock* FirstSelected(const TBlockList& model) {
    for (TBlock* stone : model.Stones())
        if (stone->Selected)
            return stone;
    return nullptr;
}

int32_t Shifted(int32_t value, int64_t by) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{value} + by, -kLargestCoordinate, kLargestCoordinate));
}

} // namespace

void TStonemillApp::ChangeSelection(const std::function<void(TBlock&)>& change) {
    TPoint3D lowest{99999, 99999, 99999};
    const std::vector<TBlock*> selected = SelectedStones(Model);
    for (TBlock* stone : selected) {
        ChangeStone(*stone, change);
        lowest = {std::min(lowest.X, stone->X), std::min(lowest.Y, stone->Y), std::min(lowest.Z, stone->Z)};
    }
    ToolboxPosition = lowest;
    if (!selected.empty())
        Dirty = true;
}

void TStonemillApp::ColorSelection() {
    ChangeSelection([this](TBlock& s) { s.Color = Palette.CurrentColor; });
    RedrawPicture();
}

void TStonemillApp::ToggleSelectionTransparent() {
    ChangeSelection([](TBlock& s) { s.Transparent = !s.Transparent; });
    RedrawPicture();
}

void TStonemillApp::TurnSelection() {
    ChangeSelection([](TBlock& s) { s.TurnQuarter(); });
    RedrawPicture();
}

void TStonemillApp::MoveSelection(int axis, int steps) {
    if (axis < 0 || axis > 2)
        return;
    const int64_t step = Hand.GridStep() * (steps < 0 ? -1 : 1);
    for (int pass = 0; pass < std::abs(steps); ++pass)
        ChangeSelection([axis, step](TBlock& s) {
            int32_t& place = axis == 0 ? s.X : axis == 1 ? s.Y : s.Z;
            place = Shifted(place, step);
        });
    RedrawPicture();
}

void TStonemillApp::ReplaceColor() {
    const TBlock* first = FirstSelected(Model);
    if (first == nullptr)
        return;
    const TColor from = first->Color;
    std::vector<TBlock*> matching;
    for (TBlock* stone : Model.Stones())
        if (stone->Color == from)
            matching.push_back(stone);
    for (TBlock* stone : matching)
        ChangeStone(*stone, [this](TBlock& s) { s.Color = Palette.CurrentColor; });
    Dirty = true;
    RedrawPicture();
}

void TStonemillApp::UseThisColor() {
    if (const TBlock* first = FirstSelected(Model))
        SetCurrentColor(first->Color);
}
