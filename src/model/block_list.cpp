#include "model/block_list.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <memory>
#include <string_view>

#include "common/error.h"
#include "model/block_factory.h"
#include "model/cut_state.h"

namespace {

// Sums of places and sizes run in 64 bits, so that no stone can overflow them.
struct TBox {
    int64_t X, Y, Z, L, W, H;
};

TBox BoxOf(const TBlock& s) {
    return {s.X, s.Y, s.Z, s.Length, s.Width, s.Height};
}

bool Behind(const TBox& a, const TBox& b, int octant) {
    switch (octant) {
    case 0:
        return a.X >= b.X + b.L || b.Y >= a.Y + a.W || b.Z >= a.Z + a.H;
    case 1:
        return a.X >= b.X + b.L || a.Y >= b.Y + b.W || b.Z >= a.Z + a.H;
    case 2:
        return b.X >= a.X + a.L || a.Y >= b.Y + b.W || b.Z >= a.Z + a.H;
    case 3:
        return b.X >= a.X + a.L || b.Y >= a.Y + a.W || b.Z >= a.Z + a.H;
    case 4:
        return a.X >= b.X + b.L || b.Y >= a.Y + a.W || a.Z >= b.Z + b.H;
    case 5:
        return a.X >= b.X + b.L || a.Y >= b.Y + b.W || a.Z >= b.Z + b.H;
    case 6:
        return b.X >= a.X + a.L || a.Y >= b.Y + b.W || a.Z >= b.Z + b.H;
    case 7:
        return b.X >= a.X + a.L || b.Y >= a.Y + a.W || a.Z >= b.Z + b.H;
    default:
        return false;
    }
}

// A box with its axes turned so that, for the octant it was made for, "a is
// behind b" reads: a lies wholly beyond b along some axis.
struct TOrientedBox {
    int64_t Near[3]; // the side of the box toward the viewer, negated where needed
    int64_t Far[3];
    TBlock* Stone;
};

// Per octant and axis: +1 where the viewer looks from the low end of that axis
// (stones at larger values are farther), -1 where from the high end.
constexpr int kFarDirection[8][3] = {
    {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}, {-1, -1, 1},
};

TOrientedBox Orient(TBlock& s, int octant) {
    const int64_t low[3] = {s.X, s.Y, s.Z};
    const int64_t high[3] = {int64_t{s.X} + s.Length, int64_t{s.Y} + s.Width, int64_t{s.Z} + s.Height};
    TOrientedBox box;
    for (int a = 0; a < 3; ++a) {
        if (kFarDirection[octant][a] > 0) {
            box.Near[a] = low[a];
            box.Far[a] = high[a];
        } else {
            box.Near[a] = -high[a];
            box.Far[a] = -low[a];
        }
    }
    box.Stone = &s;
    return box;
}

inline bool OrientedBehind(const TOrientedBox& a, const TOrientedBox& b) {
    return (a.Near[0] >= b.Far[0]) | (a.Near[1] >= b.Far[1]) | (a.Near[2] >= b.Far[2]);
}

} // namespace

bool IsBehind(const TBlock& a, const TBlock& b, int octant) {
    return Behind(BoxOf(a), BoxOf(b), octant);
}

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

void TBlockList::Clear() {
    FItems.clear();
    FUndoLog.clear();
    FRedoLog.clear();
}

void TBlockList::RecordUndo(char command, const TBlock& stone) {
    FUndoLog.push_front(std::string(1, command) + ":" + stone.ToString());
    FRedoLog.clear();
    if (OnUndoEnabled)
        OnUndoEnabled(true);
    if (OnRedoEnabled)
        OnRedoEnabled(false);
}

void TBlockList::RemoveByString(const std::string& text) {
    int index = IndexOfString(text);
    if (index < 0)
        return;
    TBlock* stone = FItems[static_cast<size_t>(index)];
    FItems.erase(FItems.begin() + index);
    delete stone;
}

void TBlockList::InsertFromString(const std::string& text) {
    std::unique_ptr<TBlock> stone(CreateFromString(text));
    InsertSorted(stone.get());
    stone.release();
}

void TBlockList::Undo() {
    while (!FUndoLog.empty()) {
        std::string entry = FUndoLog.front();
        FUndoLog.pop_front();
        const char command = entry[0];
        const std::string stone = entry.size() > 2 ? entry.substr(2) : std::string();
        if (command == '+' || command == ']')
            RemoveByString(stone);
        else if (command == '-' || command == '[')
            InsertFromString(stone);
        else
            throw EError("Illegal Undo Command: " + entry);
        FRedoLog.push_front(entry);
        if (OnRedoEnabled)
            OnRedoEnabled(true);
        if (command != ']')
            break;
    }
}

void TBlockList::Redo() {
    while (!FRedoLog.empty()) {
        std::string entry = FRedoLog.front();
        FRedoLog.pop_front();
        const char command = entry[0];
        const std::string stone = entry.size() > 2 ? entry.substr(2) : std::string();
        if (command == '+' || command == ']')
            InsertFromString(stone);
        else if (command == '-' || command == '[')
            RemoveByString(stone);
        else
            throw EError("Illegal Redo Command: " + entry);
        FUndoLog.push_front(entry);
        if (OnUndoEnabled)
            OnUndoEnabled(true);
        if (command != '[')
            break;
    }
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
    const TBox box = BoxOf(*stone);
    int index = Count();
    while (index > 0 && Behind(box, BoxOf(*FItems[static_cast<size_t>(index - 1)]), SortedOctant))
        --index;
    FItems.insert(FItems.begin() + index, stone);
}

void TBlockList::Sort(int octant, bool force) {
    if (!force && octant == SortedOctant)
        return;
    SortedOctant = octant;
    const size_t n = FItems.size();
    if (n < 2)
        return;
    // Bubble passes: each pass compares every adjacent pair (i - 1, i) from left
    // to right and exchanges it when stone i is behind stone i - 1; n - 1 passes.
    // The boxes are copied into one array, turned so that the behind test is the
    // same three comparisons for every octant. A comparison depends only on the
    // two stones, so a pass needs to look only at pairs up to the last exchange of
    // the pass before and at pairs just changed by an exchange in this pass; a
    // pass without exchanges ends the sort. The order is that of the full passes.
    if (octant < 0 || octant >= 8) {
        return; // nothing is behind anything: no pass would exchange a pair
    }
    std::vector<TOrientedBox> items(n);
    for (size_t i = 0; i < n; ++i)
        items[i] = Orient(*FItems[i], octant);
    size_t lastExchange = n - 1; // the right index of the last exchanged pair
    for (size_t pass = 0; pass + 1 < n; ++pass) {
        size_t newLast = 0;
        bool previousExchanged = false;
        for (size_t i = 1; i < n; ++i) {
            if (i > lastExchange && !previousExchanged)
                break;
            previousExchanged = OrientedBehind(items[i], items[i - 1]);
            if (previousExchanged) {
                std::swap(items[i], items[i - 1]);
                newLast = i;
            }
        }
        if (newLast == 0)
            break;
        lastExchange = newLast;
    }
    for (size_t i = 0; i < n; ++i)
        FItems[i] = items[i].Stone;
}

void TBlockList::Merge(TBlockList& source, int32_t x, int32_t y, int32_t z) {
    int32_t minX = std::numeric_limits<int32_t>::max(), minY = minX, minZ = minX;
    for (const TBlock* stone : source.FItems) {
        minX = std::min(minX, stone->X);
        minY = std::min(minY, stone->Y);
        minZ = std::min(minZ, stone->Z);
    }
    for (TBlock* stone : source.FItems) {
        stone->X += x - minX;
        stone->Y += y - minY;
        stone->Z += z - minZ;
        TBlock* copy = CreateCopy(*stone);
        copy->Group = stone->Group;
        InsertSorted(copy);
    }
    SortedOctant = -1;
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
        return static_cast<int32_t>(std::clamp<int64_t>(int64_t{place} + size, std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    };
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
