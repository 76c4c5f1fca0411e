#pragma once
// The stone supply: how many stones of each caption a loaded set still holds.
// With no set loaded the supply is unlimited. Counts go down as stones are
// placed and up as they are lifted or deleted; they may go below zero, since
// the supply only informs and never stops a placement.

#include <string>

#include "files/set_file.h"

class TBlockList;

class TStoneSupply {
public:
    bool Unlimited() const { return FSet.empty(); }
    // Takes the set's counts and then one for every stone already in the model.
    void Load(TSetList set, const TBlockList& model);
    void Clear() { FSet.clear(); }

    // The caption rule is applied to the caption first; captions not in the
    // set are left alone.
    void Take(const std::string& caption);
    void GiveBack(const std::string& caption);
    // -1 with no set loaded, 0 for a caption the set does not list, else its count.
    int Count(const std::string& caption) const;
    const TSetList& Set() const { return FSet; }

private:
    // The index of the caption's entry, or the set's size when it has none.
    size_t Find(const std::string& caption) const;
    TSetList FSet;
};
