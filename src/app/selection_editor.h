#pragma once
// Edits of the stones already placed: selecting them, groups, deleting,
// undo and redo, the pointer-mode clicks that colour, turn and tag one
// stone, and the advanced toolbox's commands on the whole selection (colour,
// see-through, turns, exact grid moves, replacing a colour). Every change of
// a stone is logged for undo before and after it.

#include <cstdint>
#include <functional>

#include "common/point3d.h"

class TBlock;
class TBlockList;
class THand;
class TModelDocument;
class TPalette;
class TPlacing;
class TSceneView;
class TStoneSupply;

class TSelectionEditor {
public:
    TSelectionEditor(TModelDocument& document, TSceneView& scene, TStoneSupply& supply,
                     const TPalette& palette, const THand& hand, TPlacing& placing);

    // --- selecting ---
    int SelectedCount() const;
    bool HasSelection() const;
    void SelectAll();
    void DeselectAll();
    // A click on the stone at index of the model: it is selected or
    // deselected, and without ctrl its whole group with it. Base plates are
    // never selected.
    void ClickSelect(int index, bool ctrl);

    // --- one stone, by its index in the model ---
    // Right click: the stone takes the current colour and see-through state.
    void PaintStone(int index);
    // Ctrl + right click: the stone, or every stone of its group, turns in place.
    void TurnInPlace(int index);
    // Alt + right click: the stone's tag is toggled.
    void ToggleTag(int index);

    // --- groups, deleting, undo ---
    // Two selected stones make a group; the first selected stone in a group
    // can break groups.
    bool CanMakeGroup() const;
    bool CanBreakGroups() const;
    void MakeGroup();
    void BreakGroups();
    void DeleteSelection();
    void UndoStep();
    void RedoStep();

    // --- the advanced toolbox: commands on every selected stone ---
    void ColorSelection();
    void ToggleSelectionTransparent();
    void TurnSelection();
    // Moves the selection by `steps` grid steps along x (0), y (1) or z (2),
    // each step a pass of its own; no step shows the last pass's corner again.
    void MoveSelection(int axis, int steps);
    // Every stone of the first selected stone's colour takes the current colour.
    void ReplaceColor();
    // The toolbox's position display: the smallest X, Y and Z of the stones
    // the last pass changed (99999 when it changed none), or, when the stone
    // in hand was taken or moved since, its place (0, 0, 0 after pointer mode).
    TPoint3D ToolboxPosition() const { return FToolboxPosition; }
    // The stone in hand was taken or moved (null: the hand was emptied).
    void ShowHandPosition(const TBlock* held);

private:
    // Records a change of the stone for undo around the change.
    void ChangeStone(TBlock& stone, const std::function<void(TBlock&)>& change);
    // ChangeStone on every selected stone, noting the lowest corner for the toolbox.
    void ChangeSelection(const std::function<void(TBlock&)>& change);
    // A change of one stone by a click: logged, the model changed, drawn anew.
    void ChangeClicked(int index, const std::function<void(TBlock&)>& change);

    TModelDocument& FDocument;
    TSceneView& FScene;
    TStoneSupply& FSupply;
    const TPalette& FPalette;
    const THand& FHand;
    TPlacing& FPlacing;
    TPoint3D FToolboxPosition{99999, 99999, 99999};
    // The last pass's corner, kept while the display follows the hand.
    TPoint3D FPassCorner{99999, 99999, 99999};
};

// The first selected stone of the model in its order, or null.
TBlock* FirstSelected(const TBlockList& model);
