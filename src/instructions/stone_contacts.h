#pragma once
// Which stones carry which, and which stones of a layer touch: the two
// relations the step planner orders and groups stones by.

#include <vector>

class TBlock;

struct TStoneContacts {
    // For each stone, the stones it rests on: their top (Z + Height) is its
    // bottom Z, lies below it, and their footprints overlap its own (touching
    // edges do not count, as when a stone is placed).
    std::vector<std::vector<int>> Supports;
    // For each stone, the stones of its layer (the same Z) whose footprint
    // overlaps its own or shares a piece of an edge with it (a corner alone
    // does not count).
    std::vector<std::vector<int>> Touching;
};

// Both relations as indexes into `stones`, each list in ascending order.
// Stones are bucketed by height and looked up through a grid, so the work
// grows with the number of stones and their contacts, not its square.
TStoneContacts FindContacts(const std::vector<const TBlock*>& stones);
