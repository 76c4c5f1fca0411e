#pragma once
// The part editor's undo and redo. Before every change of the part being
// edited (its kind, dimensions, faces, points, draw orders or label) the
// whole state of the part is kept, so that undoing puts back exactly what was
// there and redoing exactly what came after. Parts are small, so whole copies
// are simpler and safer than a log of the many kinds of change.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "common/point3d.h"
#include "editor/shape_ops.h"
#include "model/block.h"
#include "partlib/draw_class.h"

// The part being edited as the editor holds it, with the selection of the
// moment, so that an undone change shows where it was made.
struct TPartEditState {
    std::string BlockString, Identity, FileName, PartName;
    std::unique_ptr<TBlock> Stone;
    // The working copy; the stone draws it once the state is taken back.
    std::unique_ptr<TDrawClass> WorkingCopy;
    TDrawClass* Source = nullptr; // the registry's, not owned
    int SelectedPolygon = -1, SelectedPoint = -1;
    TPoint3D ReferencePoint, PointEdits;
    TPartExtents DimensionEdits, StoredDimensions;

    // The same part: the same entry and the same shape, whatever is selected.
    bool SamePart(const TPartEditState& other) const;
};

// Whether two definitions have the same names, faces, draw orders, box and turns.
bool SameDefinition(const TDrawClass& a, const TDrawClass& b);

class TPartEditHistory {
public:
    // At most this many changes can be undone; older ones are forgotten.
    static constexpr size_t kDeepest = 500;

    // A change was made to the part, which was `before` until then; the redo
    // steps are forgotten. Changes of the same non-zero run in a row (a label
    // typed letter by letter) make one step.
    void Record(TPartEditState before, int run = 0);
    bool CanUndo() const { return !FUndo.empty(); }
    bool CanRedo() const { return !FRedo.empty(); }
    // The state before the last change; `current` is kept to be redone.
    TPartEditState Undo(TPartEditState current);
    // The state the last undo left; `current` can be undone again.
    TPartEditState Redo(TPartEditState current);
    void Clear();

private:
    std::vector<TPartEditState> FUndo, FRedo;
    int FRun = 0;
};
