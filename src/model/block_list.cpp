#include "model/block_list.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <memory>
#include <string_view>

#include "common/error.h"
#include "model/block_factory.h"
#include "model/cut_state.h"
#include "model/painter_order.h"

TBlock* TBlockList::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EError(StrFormat("List index out of bounds (%d)", index));
    return FItems[static_cast<size_t>(index)];
}

void TBlockList::Insert(int index, TBlock* stone) {
    if (index < 0 || index > Count())
        throw EError(StrFormat("List index out of bounds (%d)", index));
    FItems.insert(FItems.begin() + index, stone);
}

void TBlockList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw EError(StrFormat("List index out of bounds (%d)", index));
    FItems.erase(FItems.begin() + index);
}

int TBlockList::IndexOf(const TBlock* stone) const {
    auto it = std::find(FItems.begin(), FItems.end(), stone);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

namespace {

// The leading fields of a stone's string form (kind letter, place, extents,
// colour, flags and turn) come before any free text, so they can be read back
// without doubt. A stone whose own fields differ cannot have the same string,
// which spares formatting the string of almost every stone during a search.
struct TLeadingFields {
    bool Valid = false;
    char Kind = 0;
    int32_t Values[11] = {};
};

TLeadingFields ReadLeadingFields(const std::string& text) {
    TLeadingFields f;
    size_t start = 0;
    for (int field = 0; field < 12; ++field) {
        size_t end = text.find(':', start);
        if (end == std::string::npos)
            return f;
        std::string_view part(text.data() + start, end - start);
        if (field == 0) {
            if (part.size() != 1)
                return f;
            f.Kind = part[0];
        } else {
            int32_t value = 0;
            auto [ptr, error] = std::from_chars(part.data(), part.data() + part.size(), value);
            if (error != std::errc() || ptr != part.data() + part.size())
                return f;
            // Only the exact decimal form that ToString writes can match.
            char canonical[16];
            auto written = std::to_chars(canonical, canonical + sizeof canonical, value);
            if (std::string_view(canonical, static_cast<size_t>(written.ptr - canonical)) != part)
                return f;
            f.Values[field - 1] = value;
        }
        start = end + 1;
    }
    f.Valid = true;
    return f;
}

bool LeadingFieldsMatch(const TLeadingFields& f, const TBlock& s) {
    return f.Kind == s.Kind && f.Values[0] == s.X && f.Values[1] == s.Y && f.Values[2] == s.Z &&
           f.Values[3] == s.Length && f.Values[4] == s.Width && f.Values[5] == s.Height &&
           f.Values[6] == static_cast<int32_t>(s.Color) && f.Values[7] == (s.Tag ? 1 : 0) &&
           f.Values[8] == (s.BasePlate ? 1 : 0) && f.Values[9] == s.Turn &&
           f.Values[10] == (s.Transparent ? 1 : 0);
}

} // namespace

int TBlockList::IndexOfString(const std::string& text) const {
    const TLeadingFields leading = ReadLeadingFields(text);
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (leading.Valid && !LeadingFieldsMatch(leading, *FItems[i]))
            continue;
        if (FItems[i]->ToString() == text)
            return static_cast<int>(i);
    }
    return -1;
}

void TBlockList::InsertSorted(TBlock* stone) {
    int index = Count();
    while (index > 0 && IsBehind(*stone, *FItems[static_cast<size_t>(index - 1)], SortedOctant))
        --index;
    FItems.insert(FItems.begin() + index, stone);
}

void TBlockList::InsertAllSorted(const std::vector<TBlock*>& stones) {
    InsertEachSorted(FItems, stones, SortedOctant);
}

void TBlockList::Sort(int octant, bool force) {
    if (!NeedsSort(octant, force))
        return;
    SortedOctant = octant;
    SortForOctant(FItems, octant);
}

std::vector<TBlock*> TBlockList::SortedOrder(int octant, const TShareProgress& progress) const {
    std::vector<TBlock*> order = FItems;
    SortForOctant(order, octant, progress);
    return order;
}

void TBlockList::TakeOrder(std::vector<TBlock*> order, int octant) {
    if (order.size() != FItems.size())
        throw EError("The sorted order does not hold the model's stones");
    FItems = std::move(order);
    SortedOctant = octant;
}

void TBlockList::TakeStones(TBlockList& from) {
    FItems.insert(FItems.end(), from.FItems.begin(), from.FItems.end());
    from.FItems.clear();
}

int TBlockList::StoneAt(const TProjector& view, int x, int y) const {
    for (int i = Count() - 1; i >= 0; --i) {
        TBlock& stone = *FItems[static_cast<size_t>(i)];
        if (InCut(stone) && stone.HitTest(view, x, y))
            return i;
    }
    return -1;
}

TExtents TBlockList::GetExtents() const {
    TExtents e;
    // The far sides are summed in 64 bits and kept inside the 32-bit range.
    auto far = [](int32_t place, int32_t size) {
        return static_cast<int32_t>(std::clamp<int64_t>(
            int64_t{place} + size, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    };
    // The starting values stand for an empty list; a list's box starts at its
    // first stone, so that a model lying wholly beyond them is boxed too.
    if (!FItems.empty()) {
        const TBlock& first = *FItems.front();
        e.MinX = e.MaxX = first.X;
        e.MinY = e.MaxY = first.Y;
        e.MinZ = e.MaxZ = first.Z;
    }
    for (const TBlock* s : FItems) {
        e.MinX = std::min(e.MinX, s->X);
        e.MinY = std::min(e.MinY, s->Y);
        e.MinZ = std::min(e.MinZ, s->Z);
        e.MaxX = std::max(e.MaxX, far(s->X, s->Length));
        e.MaxY = std::max(e.MaxY, far(s->Y, s->Width));
        e.MaxZ = std::max(e.MaxZ, far(s->Z, s->Height));
    }
    // An empty list keeps the starting values, whose centres come out as 0.
    e.CenterX = static_cast<int32_t>(e.MinX + (int64_t{e.MaxX} - e.MinX) / 2);
    e.CenterY = static_cast<int32_t>(e.MinY + (int64_t{e.MaxY} - e.MinY) / 2);
    e.CenterZ = static_cast<int32_t>(e.MinZ + (int64_t{e.MaxZ} - e.MinZ) / 2);
    return e;
}

void TBlockList::DrawAll(TDrawObject& d, const TRenderState& view, bool all) const {
    for (TBlock* stone : FItems) {
        if (InCut(*stone) || all)
            stone->Draw(d, view);
    }
}

TOwnedBlockList::~TOwnedBlockList() {
    FreeAll();
}

TBlock* TOwnedBlockList::Add(std::unique_ptr<TBlock> stone) {
    TBlockList::Add(stone.get());
    return stone.release();
}

TBlock* TOwnedBlockList::InsertSorted(std::unique_ptr<TBlock> stone) {
    TBlockList::InsertSorted(stone.get());
    return stone.release();
}

void TOwnedBlockList::InsertAllSorted(std::vector<std::unique_ptr<TBlock>> stones) {
    std::vector<TBlock*> inserted;
    inserted.reserve(stones.size());
    for (const auto& stone : stones)
        inserted.push_back(stone.get());
    TBlockList::InsertAllSorted(inserted);
    for (auto& stone : stones)
        stone.release();
}

std::unique_ptr<TBlock> TOwnedBlockList::Release(int index) {
    std::unique_ptr<TBlock> stone(Items(index));
    TBlockList::Delete(index);
    return stone;
}

std::vector<std::unique_ptr<TBlock>> TOwnedBlockList::ReleaseAll() {
    std::vector<std::unique_ptr<TBlock>> stones;
    stones.reserve(Stones().size());
    for (TBlock* stone : Stones())
        stones.emplace_back(stone);
    TBlockList::Clear();
    return stones;
}

void TOwnedBlockList::TakeStones(TOwnedBlockList& from) {
    TBlockList::TakeStones(from);
}

void TOwnedBlockList::FreeAll() {
    // The released stones are freed when their owners go out of scope here.
    const std::vector<std::unique_ptr<TBlock>> stones = ReleaseAll();
    FUndoLog.clear();
    FUndoSteps.clear();
    FRedoLog.clear();
    FRedoSteps.clear();
    FOpenStep = 0;
}

void TOwnedBlockList::Merge(TBlockList& source, int32_t x, int32_t y, int32_t z) {
    int32_t minX = std::numeric_limits<int32_t>::max(), minY = minX, minZ = minX;
    for (const TBlock* stone : source.Stones()) {
        minX = std::min(minX, stone->X);
        minY = std::min(minY, stone->Y);
        minZ = std::min(minZ, stone->Z);
    }
    for (TBlock* stone : source.Stones()) {
        stone->X += x - minX;
        stone->Y += y - minY;
        stone->Z += z - minZ;
        std::unique_ptr<TBlock> copy = CreateCopy(*stone);
        copy->Group = stone->Group;
        InsertSorted(std::move(copy));
    }
    SortedOctant = -1;
}

void TOwnedBlockList::RecordUndo(char command, const TBlock& stone) {
    uint64_t step = FOpenStep;
    if (step == 0)
        step = command == ']' && !FUndoLog.empty() && FUndoLog.front()[0] == '[' ? FUndoSteps.front()
                                                                               : ++FLastStep;
    FUndoLog.push_front(std::string(1, command) + ":" + stone.ToString());
    FUndoSteps.push_front(step);
    FRedoLog.clear();
    FRedoSteps.clear();
    if (OnUndoEnabled)
        OnUndoEnabled(true);
    if (OnRedoEnabled)
        OnRedoEnabled(false);
}

uint64_t TOwnedBlockList::OpenUndoStep() {
    if (FOpenStep == 0)
        FOpenStep = ++FLastStep;
    return FOpenStep;
}

void TOwnedBlockList::CloseUndoStep(uint64_t step) {
    if (FOpenStep == step)
        FOpenStep = 0;
}

void TOwnedBlockList::CancelUndoStep(uint64_t step) {
    CloseUndoStep(step);
    while (!FUndoLog.empty() && FUndoSteps.front() == step) {
        const std::string entry = FUndoLog.front();
        FUndoLog.pop_front();
        FUndoSteps.pop_front();
        Apply(entry, true);
    }
    if (OnUndoEnabled)
        OnUndoEnabled(!FUndoLog.empty());
}

void TOwnedBlockList::RemoveByString(const std::string& text) {
    const int index = IndexOfString(text);
    if (index < 0)
        return;
    const std::unique_ptr<TBlock> removed = Release(index);
}

void TOwnedBlockList::InsertFromString(const std::string& text) {
    InsertSorted(CreateFromString(text));
}

void TOwnedBlockList::Apply(const std::string& entry, bool backward) {
    const char command = entry[0];
    const std::string stone = entry.size() > 2 ? entry.substr(2) : std::string();
    const bool adds = command == '+' || command == ']';
    if (!adds && command != '-' && command != '[')
        throw EError((backward ? "Illegal Undo Command: " : "Illegal Redo Command: ") + entry);
    if (adds == backward)
        RemoveByString(stone);
    else
        InsertFromString(stone);
}

void TOwnedBlockList::Undo() {
    FOpenStep = 0;
    if (FUndoLog.empty())
        return;
    const uint64_t step = FUndoSteps.front();
    while (!FUndoLog.empty() && FUndoSteps.front() == step) {
        const std::string entry = FUndoLog.front();
        FUndoLog.pop_front();
        FUndoSteps.pop_front();
        Apply(entry, true);
        FRedoLog.push_front(entry);
        FRedoSteps.push_front(step);
        if (OnRedoEnabled)
            OnRedoEnabled(true);
    }
}

void TOwnedBlockList::Redo() {
    if (FRedoLog.empty())
        return;
    const uint64_t step = FRedoSteps.front();
    while (!FRedoLog.empty() && FRedoSteps.front() == step) {
        const std::string entry = FRedoLog.front();
        FRedoLog.pop_front();
        FRedoSteps.pop_front();
        Apply(entry, false);
        FUndoLog.push_front(entry);
        FUndoSteps.push_front(step);
        if (OnUndoEnabled)
            OnUndoEnabled(true);
    }
}
