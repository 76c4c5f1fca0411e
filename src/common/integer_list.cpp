#include "common/integer_list.h"

#include <algorithm>

#include "common/error.h"

bool TIntegerList::Remove(int32_t value) {
    auto it = std::find(FItems.begin(), FItems.end(), value);
    if (it == FItems.end())
        return false;
    FItems.erase(it);
    return true;
}

void TIntegerList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw EError(StrFormat("List index out of bounds (%d)", index));
    FItems.erase(FItems.begin() + index);
}

int32_t TIntegerList::Get(int index) const {
    if (index < 0 || index >= Count())
        throw EError(StrFormat("List index out of bounds (%d)", index));
    return FItems[static_cast<size_t>(index)];
}

void TIntegerList::Put(int index, int32_t value) {
    if (index < 0)
        throw EError(StrFormat("List index out of bounds (%d)", index));
    if (index >= Count())
        FItems.resize(static_cast<size_t>(index) + 1, 0);
    FItems[static_cast<size_t>(index)] = value;
}
