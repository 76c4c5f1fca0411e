#pragma once
// A growable list of 32-bit signed integers.

#include <cstdint>
#include <vector>

class TIntegerList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    void Add(int32_t value) { FItems.push_back(value); }
    // Removes the first entry equal to value; returns whether one was found.
    bool Remove(int32_t value);
    void Delete(int index);
    // Raises EError for an index outside the list.
    int32_t Get(int index) const;
    // Appends zeros until the index exists, then replaces the entry there.
    void Put(int index, int32_t value);
    void Clear() { FItems.clear(); }
    const std::vector<int32_t>& Items() const { return FItems; }
    bool operator==(const TIntegerList& other) const = default;

private:
    std::vector<int32_t> FItems;
};
