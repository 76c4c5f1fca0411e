#include "editor/part_edit_history.h"

#include <utility>

bool SameDefinition(const TDrawClass& a, const TDrawClass& b) {
    if (a.FileName != b.FileName || a.PartName != b.PartName || a.PolygonCount() != b.PolygonCount() ||
        a.BoundingX() != b.BoundingX() || a.BoundingY() != b.BoundingY() || a.BoundingZ() != b.BoundingZ() ||
        a.BitmapPolygon != b.BitmapPolygon || a.BitmapFileName != b.BitmapFileName ||
        a.KindValue != b.KindValue)
        return false;
    for (int p = 0; p < a.PolygonCount(); ++p)
        if (!(a.Polygon(p) == b.Polygon(p)))
            return false;
    for (int octant = 0; octant < kOctantCount; ++octant)
        if (!(a.DrawOrder(octant) == b.DrawOrder(octant)))
            return false;
    for (int turn = 0; turn < 4; ++turn)
        if (!(a.GetTurnOffset(turn) == b.GetTurnOffset(turn)))
            return false;
    return true;
}

bool TPartEditState::SamePart(const TPartEditState& other) const {
    if (BlockString != other.BlockString || Identity != other.Identity || FileName != other.FileName ||
        PartName != other.PartName || StoredDimensions != other.StoredDimensions ||
        (Stone == nullptr) != (other.Stone == nullptr) ||
        (WorkingCopy == nullptr) != (other.WorkingCopy == nullptr))
        return false;
    if (Stone && (Stone->Kind != other.Stone->Kind || Stone->Length != other.Stone->Length ||
                  Stone->Width != other.Stone->Width || Stone->Height != other.Stone->Height))
        return false;
    return !WorkingCopy || SameDefinition(*WorkingCopy, *other.WorkingCopy);
}

void TPartEditHistory::Record(TPartEditState before, int run) {
    FRedo.clear();
    if (run != 0 && run == FRun && !FUndo.empty())
        return; // the run's first state is the one to go back to
    FRun = run;
    if (FUndo.size() >= kDeepest)
        FUndo.erase(FUndo.begin());
    FUndo.push_back(std::move(before));
}

TPartEditState TPartEditHistory::Undo(TPartEditState current) {
    FRun = 0;
    TPartEditState before = std::move(FUndo.back());
    FUndo.pop_back();
    FRedo.push_back(std::move(current));
    return before;
}

TPartEditState TPartEditHistory::Redo(TPartEditState current) {
    FRun = 0;
    TPartEditState after = std::move(FRedo.back());
    FRedo.pop_back();
    FUndo.push_back(std::move(current));
    return after;
}

void TPartEditHistory::Clear() {
    FUndo.clear();
    FRedo.clear();
    FRun = 0;
}
