#pragma once
// TBlockList: stones in painter's order for the current view octant (stones
// painted first stand first). It borrows its stones: they belong to someone
// else, who frees them.
//
// TOwnedBlockList: a TBlockList that owns its stones and frees them, with the
// undo and redo logs. Stones go in and come out as std::unique_ptr; undo and
// redo make and free the stones they add and remove.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/block.h"
#include "model/painter_order.h"

class TDrawObject;
class TProjector;
class TRenderState;

struct TExtents {
    int32_t MinX = 99999, MinY = 99999, MinZ = 99999;
    int32_t MaxX = -99999, MaxY = -99999, MaxZ = -99999;
    int32_t CenterX = 0, CenterY = 0, CenterZ = 0;
};

class TBlockList {
public:
    TBlockList() = default;
    virtual ~TBlockList() = default;
    TBlockList(const TBlockList&) = delete;
    TBlockList& operator=(const TBlockList&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    TBlock* operator[](int index) const { return FItems[static_cast<size_t>(index)]; }
    TBlock* Items(int index) const;
    const std::vector<TBlock*>& Stones() const { return FItems; }
    void Add(TBlock* stone) { FItems.push_back(stone); }
    void Insert(int index, TBlock* stone);
    // Takes the stone at index out of the list without freeing it.
    void Delete(int index);
    int IndexOf(const TBlock* stone) const;

    // Empties the list without freeing the stones.
    void Clear() { FItems.clear(); }

    // The first stone whose string form equals the text exactly, or -1.
    int IndexOfString(const std::string& text) const;
    // Inserts the stone at its painter's-order place for the sorted octant.
    void InsertSorted(TBlock* stone);
    // Inserts the stones as InsertSorted would, one after another, at once.
    void InsertAllSorted(const std::vector<TBlock*>& stones);
    // Re-sorts for the octant unless force is false and it is sorted for it:
    // bubble passes as SortForOctant makes them.
    void Sort(int octant, bool force);
    // Whether Sort(octant, force) would sort.
    bool NeedsSort(int octant, bool force) const { return force || octant != SortedOctant; }
    // The stones in the order Sort gives, found without changing the list, so
    // that it can run on another thread while the list stays as it is;
    // TakeOrder then puts them in that order.
    std::vector<TBlock*> SortedOrder(int octant, const TShareProgress& progress = nullptr) const;
    void TakeOrder(std::vector<TBlock*> order, int octant);
    // Moves the stones of `from` to the end of this list, in their order, and
    // empties it; an empty list filled this way stands as `from` stood.
    void TakeStones(TBlockList& from);
    // The last stone in painter's order that passes the cut test and whose
    // outline holds the screen point, or -1.
    int StoneAt(const TProjector& view, int x, int y) const;
    TExtents GetExtents() const;
    // Draws the stones in list order: each is put to the cut test (which sets
    // its Cut flag) and drawn when it passes or when `all` is set.
    void DrawAll(TDrawObject& d, const TRenderState& view, bool all) const;

    int32_t SortedOctant = 0;
    // The highest Extra number read from the last model file.
    int32_t HighestExtraNumber = 0;

private:
    std::vector<TBlock*> FItems;
};

class TOwnedBlockList : public TBlockList {
public:
    TOwnedBlockList() = default;
    // Frees every stone.
    ~TOwnedBlockList() override;

    // The stone joins the list at its end; returns it.
    TBlock* Add(std::unique_ptr<TBlock> stone);
    // The stone joins the list at its painter's-order place for the sorted
    // octant; returns it.
    TBlock* InsertSorted(std::unique_ptr<TBlock> stone);
    // The stones join the list as InsertSorted would put them, one after
    // another, at once.
    void InsertAllSorted(std::vector<std::unique_ptr<TBlock>> stones);
    // Takes the stone at index out of the list; the caller owns it.
    [[nodiscard]] std::unique_ptr<TBlock> Release(int index);
    // Takes every stone out of the list, in their order; the caller owns them.
    [[nodiscard]] std::vector<std::unique_ptr<TBlock>> ReleaseAll();
    // Moves the stones of `from` and their ownership to the end of this list,
    // in their order, and empties it; an empty list filled this way stands as
    // `from` stood.
    void TakeStones(TOwnedBlockList& from);
    // Frees every stone and empties both logs.
    void FreeAll();

    // Stones go in and come out only as std::unique_ptr: the borrowing list's
    // raw insertions and removals are not offered here.
    void Insert(int index, TBlock* stone) = delete;
    void Delete(int index) = delete;
    void Clear() = delete;

    // Shifts the source's stones so their smallest corner lands at (x, y, z)
    // and inserts copies of them, keeping their groups. The source keeps its
    // (moved) stones.
    void Merge(TBlockList& source, int32_t x, int32_t y, int32_t z);

    // Puts command + ":" + the stone's string form on top of the undo log and
    // empties the redo log. The entry belongs to the open step; without one,
    // it is a step of its own, except that "]" joins the "[" before it.
    void RecordUndo(char command, const TBlock& stone);
    // Undoes (redoes) every entry of the latest (next) step, newest first
    // (oldest first). Undoing closes the open step.
    void Undo();
    void Redo();

    // Opens a step when none is open, so that the changes recorded until it
    // is closed are undone and redone as one; returns the open step.
    uint64_t OpenUndoStep();
    bool UndoStepOpen() const { return FOpenStep != 0; }
    // Closes the step when it is the open one.
    void CloseUndoStep(uint64_t step);
    // Undoes the entries of the step on top of the undo log without keeping
    // them for redo, as if the changes had never been made, and closes it.
    void CancelUndoStep(uint64_t step);
    int UndoCount() const { return static_cast<int>(FUndoLog.size()); }
    int RedoCount() const { return static_cast<int>(FRedoLog.size()); }
    // Most recent entry first.
    const std::deque<std::string>& UndoLog() const { return FUndoLog; }
    const std::deque<std::string>& RedoLog() const { return FRedoLog; }

    // Told when a log change enables or disables the Undo or Redo command.
    std::function<void(bool enabled)> OnUndoEnabled;
    std::function<void(bool enabled)> OnRedoEnabled;

private:
    void RemoveByString(const std::string& text);
    void InsertFromString(const std::string& text);
    // Applies one entry: forward as it was recorded, or backward to undo it.
    void Apply(const std::string& entry, bool backward);

    // Each entry's step, in the order of the entries.
    std::deque<std::string> FUndoLog;
    std::deque<uint64_t> FUndoSteps;
    std::deque<std::string> FRedoLog;
    std::deque<uint64_t> FRedoSteps;
    uint64_t FLastStep = 0;
    uint64_t FOpenStep = 0;
};

// Makes the changes recorded in its lifetime one undo step, or part of the
// step already open (such as a move of lifted stones).
class TUndoAction {
public:
    explicit TUndoAction(TOwnedBlockList& model)
        : FModel(model), FJoined(model.UndoStepOpen()), FStep(model.OpenUndoStep()) {}
    ~TUndoAction() {
        if (!FJoined)
            FModel.CloseUndoStep(FStep);
    }
    TUndoAction(const TUndoAction&) = delete;
    TUndoAction& operator=(const TUndoAction&) = delete;

private:
    TOwnedBlockList& FModel;
    const bool FJoined;
    const uint64_t FStep;
};
