#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "common/error.h"
#include "model/block_factory.h"
#include "model/block_list.h"
#include "model/cut_state.h"
#include "test_stones.h"
#include "view/projector.h"

namespace {

std::unique_ptr<TBlock> Stone(int32_t x, int32_t y, int32_t z, int32_t l = 20, int32_t w = 20, int32_t h = 20,
                              char kind = 'B') {
    return StoneInUnits(kind, x, y, z, l, w, h);
}

// A stone that counts how many stones of its kind were freed.
class TCountedStone : public TBlock {
public:
    TCountedStone(int32_t x, int& freed)
        : TBlock(x, 0, 0, 1, 1, 3, clWhite, true, false, false, ""), FFreed(freed) {}
    ~TCountedStone() override { ++FFreed; }

private:
    int& FFreed;
};

std::vector<std::string> Strings(const TBlockList& list) {
    std::vector<std::string> result;
    for (TBlock* s : list.Stones())
        result.push_back(s->ToString());
    return result;
}

// The order the sort must produce: n - 1 full passes exchanging a pair when the
// later stone is behind the earlier one.
std::vector<TBlock*> ReferenceSort(std::vector<TBlock*> items, int octant) {
    for (size_t pass = 1; pass < items.size(); ++pass)
        for (size_t i = 1; i < items.size(); ++i)
            if (IsBehind(*items[i], *items[i - 1], octant))
                std::swap(items[i], items[i - 1]);
    return items;
}

} // namespace

TEST(BlockList, BehindRelationInEveryOctant) {
    std::unique_ptr<TBlock> west(Stone(0, 0, 0, 40)), east(Stone(40, 0, 0));
    std::unique_ptr<TBlock> south(Stone(0, 0, 0)), north(Stone(0, 20, 0));
    std::unique_ptr<TBlock> low(Stone(0, 0, 0)), high(Stone(0, 0, 20));
    // Seen from octants 0, 1, 4, 5 the stones at larger x are farther away.
    for (int o : {0, 1, 4, 5}) {
        EXPECT_TRUE(IsBehind(*east, *west, o)) << o;
        EXPECT_FALSE(IsBehind(*west, *east, o)) << o;
    }
    for (int o : {2, 3, 6, 7}) {
        EXPECT_TRUE(IsBehind(*west, *east, o)) << o;
        EXPECT_FALSE(IsBehind(*east, *west, o)) << o;
    }
    // Larger y is farther in octants 1, 2, 5, 6, nearer in 0, 3, 4, 7.
    for (int o : {1, 2, 5, 6})
        EXPECT_TRUE(IsBehind(*north, *south, o)) << o;
    for (int o : {0, 3, 4, 7})
        EXPECT_TRUE(IsBehind(*south, *north, o)) << o;
    // From above the lower stone is painted first, from below the higher one.
    for (int o = 0; o < 4; ++o) {
        EXPECT_TRUE(IsBehind(*low, *high, o)) << o;
        EXPECT_FALSE(IsBehind(*high, *low, o)) << o;
    }
    for (int o = 4; o < 8; ++o) {
        EXPECT_TRUE(IsBehind(*high, *low, o)) << o;
        EXPECT_FALSE(IsBehind(*low, *high, o)) << o;
    }
    // Overlapping boxes are behind nothing; unknown octants relate nothing.
    std::unique_ptr<TBlock> overlap(Stone(10, 10, 10));
    for (int o = 0; o < 8; ++o)
        EXPECT_FALSE(IsBehind(*overlap, *low, o));
    EXPECT_FALSE(IsBehind(*east, *west, -1));
    EXPECT_FALSE(IsBehind(*east, *west, 8));
}

TEST(BlockList, InsertSortedFindsThePaintersPlace) {
    TOwnedBlockList list;
    list.SortedOctant = 0;
    TBlock* a = list.InsertSorted(Stone(0, 0, 0, 40));
    TBlock* b = list.InsertSorted(Stone(40, 0, 0)); // behind a in octant 0
    EXPECT_EQ(list.Stones(), (std::vector<TBlock*>{b, a}));
    TBlock* top = list.InsertSorted(Stone(0, 0, 20, 40)); // lying on a: painted after it
    EXPECT_EQ(list.Stones(), (std::vector<TBlock*>{b, a, top}));
    TBlock* far = list.InsertSorted(Stone(200, 0, 0)); // behind everything: goes to the start
    EXPECT_EQ(list[0], far);
    // Octant -1 (after a merge) relates nothing: new stones are appended.
    list.SortedOctant = -1;
    TBlock* any = list.InsertSorted(Stone(500, 0, 0));
    EXPECT_EQ(list[list.Count() - 1], any);
}

TEST(BlockList, SortMatchesTheFullBubblePassesAndSkipsWhenSorted) {
    std::mt19937 random(12345);
    for (int round = 0; round < 60; ++round) {
        TOwnedBlockList list;
        int n = 1 + static_cast<int>(random() % 40);
        // Small coordinates make overlapping boxes, where the relation is not a
        // total order and the result depends on the exact passes.
        for (int i = 0; i < n; ++i)
            list.Add(Stone(
                static_cast<int32_t>(random() % 6) * 10, static_cast<int32_t>(random() % 6) * 10,
                static_cast<int32_t>(random() % 4) * 10, 10 + static_cast<int32_t>(random() % 3) * 10,
                10 + static_cast<int32_t>(random() % 3) * 10, 6 + static_cast<int32_t>(random() % 3) * 7));
        for (int octant : {1, 2, 4, 7, 0, 3, 6, 5}) {
            std::vector<TBlock*> expected = ReferenceSort(list.Stones(), octant);
            list.Sort(octant, false);
            ASSERT_EQ(list.Stones(), expected) << "round " << round << " octant " << octant;
            EXPECT_EQ(list.SortedOctant, octant);
        }
    }
    // Already sorted for the octant and not forced: nothing moves, even when
    // the list is out of order.
    TOwnedBlockList list;
    TBlock* a = list.Add(Stone(0, 0, 0));
    TBlock* b = list.Add(Stone(100, 0, 0));
    list.SortedOctant = 0;
    list.Sort(0, false);
    EXPECT_EQ(list.Stones(), (std::vector<TBlock*>{a, b}));
    list.Sort(0, true);
    EXPECT_EQ(list.Stones(), (std::vector<TBlock*>{b, a}));
}

TEST(BlockList, UndoAndRedoOfAChange) {
    TOwnedBlockList list;
    TBlock* s = list.InsertSorted(Stone(0, 0, 0));
    std::string before = s->ToString();
    list.RecordUndo('[', *s);
    s->X = 40;
    s->Color = 255;
    list.RecordUndo(']', *s);
    std::string after = s->ToString();
    EXPECT_EQ(list.UndoLog(), (std::deque<std::string>{"]:" + after, "[:" + before}));

    list.Undo(); // one step: the pair
    EXPECT_EQ(Strings(list), (std::vector<std::string>{before}));
    EXPECT_EQ(list.UndoCount(), 0);
    EXPECT_EQ(list.RedoLog(), (std::deque<std::string>{"[:" + before, "]:" + after}));

    list.Redo();
    EXPECT_EQ(Strings(list), (std::vector<std::string>{after}));
    EXPECT_EQ(list.RedoCount(), 0);
    EXPECT_EQ(list.UndoLog(), (std::deque<std::string>{"]:" + after, "[:" + before}));

    // Several stones changed together take one step each.
    list.InsertSorted(Stone(100, 0, 0));
    for (int i = 0; i < 2; ++i) {
        list.RecordUndo('[', *list[i]);
        list[i]->Z = 20;
        list.RecordUndo(']', *list[i]);
    }
    list.Undo(); // the last stone's pair only
    EXPECT_EQ(list.UndoCount(), 4);
    EXPECT_EQ(list.RedoCount(), 2);
}

TEST(BlockList, UndoAndRedoOfAdditionsAndRemovals) {
    TOwnedBlockList list;
    int undoCalls = 0, redoCalls = 0;
    bool undoEnabled = false, redoEnabled = true;
    list.OnUndoEnabled = [&](bool on) { ++undoCalls, undoEnabled = on; };
    list.OnRedoEnabled = [&](bool on) { ++redoCalls, redoEnabled = on; };

    TBlock* a = list.InsertSorted(Stone(0, 0, 0));
    list.RecordUndo('+', *a);
    EXPECT_TRUE(undoEnabled);
    EXPECT_FALSE(redoEnabled);
    TBlock* twin = list.InsertSorted(Stone(0, 0, 0));
    list.RecordUndo('+', *twin);

    list.Undo(); // removes the first of the two identical stones, in one step
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0], twin);
    EXPECT_EQ(list.UndoCount(), 1);
    EXPECT_TRUE(redoEnabled);

    // A recorded change after an undo makes redo impossible.
    list.RecordUndo('-', *twin);
    std::string removed = twin->ToString();
    list.Release(0).reset(); // the stone is freed
    EXPECT_EQ(list.RedoCount(), 0);
    EXPECT_FALSE(redoEnabled);

    list.Undo(); // the removal: the stone comes back
    EXPECT_EQ(Strings(list), (std::vector<std::string>{removed}));
    list.Redo(); // and goes again
    EXPECT_EQ(list.Count(), 0);

    // An entry whose stone is missing removes nothing but still moves.
    list.Undo();
    list.Undo();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.RedoCount(), 2);
    list.Undo(); // empty log: nothing
    EXPECT_EQ(list.RedoCount(), 2);
    EXPECT_GT(undoCalls, 0);
    EXPECT_GT(redoCalls, 0);
}

TEST(BlockList, IllegalLogEntriesAreTakenOffAndReported) {
    TOwnedBlockList list;
    std::unique_ptr<TBlock> s = Stone(0, 0, 0);
    list.RecordUndo('*', *s);
    try {
        list.Undo();
        FAIL();
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(), "Illegal Undo Command: *:" + s->ToString());
    }
    EXPECT_EQ(list.UndoCount(), 0);
    EXPECT_EQ(list.RedoCount(), 0);

    // A broken stone string: the error propagates, the entry is lost.
    list.RecordUndo('-', *s);
    list.RecordUndo('?', *s);
    EXPECT_THROW(list.Undo(), EError);
    EXPECT_EQ(list.UndoCount(), 1);
    list.Undo();
    EXPECT_EQ(list.Count(), 1);
    list.Redo();
    EXPECT_EQ(list.Count(), 0);

    // A stone whose name holds ':' cannot be rebuilt from its entry.
    TOwnedBlockList other;
    s->Name = "a:b";
    other.RecordUndo('-', *s);
    EXPECT_THROW(other.Undo(), EError);
    EXPECT_EQ(other.UndoCount(), 0);
    EXPECT_EQ(other.RedoCount(), 0);
    EXPECT_EQ(other.Count(), 0);
}

TEST(BlockList, MergeMovesTheSourceAndInsertsGroupedCopies) {
    TOwnedBlockList source;
    source.Add(Stone(100, 60, 40));
    source.Add(Stone(140, 80, 60));
    source[0]->Group = 3;
    source[0]->Selected = true;
    TOwnedBlockList list;
    list.SortedOctant = 2;
    list.Merge(source, 0, 20, 6);
    EXPECT_EQ(list.SortedOctant, -1);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(source[0]->X, 0);
    EXPECT_EQ(source[0]->Y, 20);
    EXPECT_EQ(source[0]->Z, 6);
    EXPECT_EQ(source[1]->X, 40);
    EXPECT_EQ(source.Count(), 2);
    EXPECT_NE(list.IndexOf(source[0]), 0); // copies, not the source's stones
    int first = list.IndexOfString(source[0]->ToString());
    ASSERT_GE(first, 0);
    EXPECT_EQ(list[first]->Group, 3);
    EXPECT_FALSE(list[first]->Selected);
}

TEST(BlockList, ExtentsAndStringLookup) {
    TOwnedBlockList list;
    TExtents empty = list.GetExtents();
    EXPECT_EQ(empty.MinX, 99999);
    EXPECT_EQ(empty.MaxZ, -99999);
    EXPECT_EQ(empty.CenterX, 0);
    list.Add(Stone(-20, 0, 0, 40, 20, 20));
    list.Add(Stone(0, 40, 20, 20, 20, 13));
    TExtents e = list.GetExtents();
    EXPECT_EQ(e.MinX, -20);
    EXPECT_EQ(e.MaxX, 20);
    EXPECT_EQ(e.MaxY, 60);
    EXPECT_EQ(e.MaxZ, 33);
    EXPECT_EQ(e.CenterX, 0);
    EXPECT_EQ(e.CenterY, 30);
    EXPECT_EQ(e.CenterZ, 16);
    EXPECT_EQ(list.IndexOfString(list[1]->ToString()), 1);
    EXPECT_EQ(list.IndexOfString(list[1]->ToString() + " "), -1);
    // Only the exact text counts: another spelling of the same numbers finds nothing.
    EXPECT_EQ(list.IndexOfString("B:0:40:20:20:20:13:16777215:1:0:0:0:0::0:"), 1);
    EXPECT_EQ(list.IndexOfString("B:00:40:20:20:20:13:16777215:1:0:0:0:0::0:"), -1);
    EXPECT_EQ(list.IndexOfString("B:+0:40:20:20:20:13:16777215:1:0:0:0:0::0:"), -1);
    EXPECT_EQ(list.IndexOfString("b:0:40:20:20:20:13:16777215:1:0:0:0:0::0:"), -1);
    EXPECT_EQ(list.IndexOfString("B:0:40:20:20:20:13:16777215:1:0:0:0:0:"), -1);
    EXPECT_EQ(list.IndexOfString(""), -1);
}

TEST(BlockList, ExtentsOfAModelWhollyFarFromTheOrigin) {
    // Beyond the empty list's starting values on either side, the box is the stones' own.
    TOwnedBlockList list;
    list.Add(Stone(10000000, 200000, 150000, 20, 20, 20));
    TExtents e = list.GetExtents();
    EXPECT_EQ(e.MinX, 10000000);
    EXPECT_EQ(e.MinY, 200000);
    EXPECT_EQ(e.MinZ, 150000);
    EXPECT_EQ(e.MaxX, 10000020);
    EXPECT_EQ(e.CenterX, 10000010);
    TOwnedBlockList below;
    below.Add(Stone(-10000000, -10000000, -10000000, 20, 20, 20));
    e = below.GetExtents();
    EXPECT_EQ(e.MaxX, -9999980);
    EXPECT_EQ(e.MaxZ, -9999980);
    EXPECT_EQ(e.CenterY, -9999990);
}

namespace {
class TTopView : public TProjector {
public:
    TPoint ProjectPoint(int x, int y, int, int) const override { return {x, 1000 - y}; }
    int ViewOctant() const override { return 0; }
};
} // namespace

TEST(BlockList, StoneAtTakesTheFrontmostStoneThatPassesTheCut) {
    TOwnedBlockList list;
    list.Add(Stone(0, 0, 0, 40, 40, 20));
    list.Add(Stone(20, 20, 20, 40, 40, 20));
    TTopView view;
    CutState().Reset();
    EXPECT_EQ(list.StoneAt(view, 30, 1000 - 30), 1);
    EXPECT_EQ(list.StoneAt(view, 10, 1000 - 10), 0);
    EXPECT_EQ(list.StoneAt(view, 100, 100), -1);
    CutState().ZHigh = 20; // the upper stone is cut away
    EXPECT_EQ(list.StoneAt(view, 30, 1000 - 30), 0);
    CutState().Reset();
}

TEST(BlockList, StonesAtTheEdgesOfTheNumbersSortAndMeasureSoundly) {
    // Places and sizes whose sums pass the 32-bit range: the behind test,
    // the insertion, the sort and the extents all stay exact.
    constexpr int32_t kFar = 2147483640;
    TOwnedBlockList list;
    list.Add(Stone(0, 0, 0));
    list.Add(Stone(kFar, 0, 0, 20, 20, 20));
    list.Add(Stone(-2147483647, 0, 0, 2000000000, 20, 20));
    const std::vector<TBlock*> original = list.Stones();
    for (int octant = 0; octant < 8; ++octant) {
        EXPECT_EQ(IsBehind(*original[1], *original[0], octant),
                  octant == 0 || octant == 1 || octant == 4 || octant == 5)
            << octant;
        list.Sort(octant, true);
        EXPECT_EQ(list.Stones(), ReferenceSort(original, octant)) << octant;
    }
    list.InsertSorted(Stone(kFar - 20, 0, 0, 40, 20, 20));
    EXPECT_EQ(list.Count(), 4);
    const TExtents e = list.GetExtents();
    EXPECT_EQ(e.MaxX, 2147483647);
    EXPECT_EQ(e.MinX, -2147483647);
    EXPECT_EQ(e.CenterX, 0);

    // Such stones are refused where stones are read: from strings as from files.
    EXPECT_NE(ErrorOf([&] { CreateFromString(list[3]->ToString()); }).find("lies outside what can be drawn"),
              std::string::npos);
    EXPECT_NE(ErrorOf([] { CreateFromString("B:0:0:0:-20:20:20:0:1:0:0:0:0::0:"); }), "");
    EXPECT_EQ(ErrorOf([] { CreateFromString("B:10000000:0:0:0:20:20:0:1:0:0:0:0::0:"); }), "");
}

TEST(BlockList, AnOwnedListFreesItsStonesAndHandsThemOver) {
    int freed = 0;
    auto counted = [&freed](int32_t x) { return std::make_unique<TCountedStone>(x, freed); };
    {
        TOwnedBlockList list;
        TBlock* first = list.Add(counted(0));
        list.Add(counted(4));
        list.InsertSorted(counted(8));

        // A borrowing list frees nothing.
        TBlockList borrowed;
        borrowed.Add(first);
        borrowed.Clear();
        EXPECT_EQ(freed, 0);

        // A released stone belongs to the caller.
        std::unique_ptr<TBlock> taken = list.Release(list.IndexOf(first));
        EXPECT_EQ(taken.get(), first);
        EXPECT_EQ(list.Count(), 2);
        EXPECT_EQ(freed, 0);
        taken.reset();
        EXPECT_EQ(freed, 1);

        // Stones moved between owning lists stay alive.
        TOwnedBlockList other;
        other.TakeStones(list);
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(other.Count(), 2);
        list.InsertAllSorted(other.ReleaseAll());
        EXPECT_EQ(other.Count(), 0);
        EXPECT_EQ(list.Count(), 2);
        EXPECT_EQ(freed, 1);

        // A stone that undo removes is freed.
        list.RecordUndo('+', *list[1]);
        list.Undo();
        EXPECT_EQ(list.Count(), 1);
        EXPECT_EQ(freed, 2);

        list.FreeAll();
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.UndoCount(), 0);
        EXPECT_EQ(list.RedoCount(), 0);
        EXPECT_EQ(freed, 3);
        list.Add(counted(12));
    }
    EXPECT_EQ(freed, 4); // the list frees what it still holds
}
