#pragma once
// What the status bar tells: the stone in hand with its size and place, the
// grid, the mode, how many stones are selected and how many the model holds;
// and how a stone under the mouse names itself.

#include <string>

class TBlock;
class TBlockList;
class THand;

struct TStatusReport {
    std::string Hand;     // "Brick (4x1x3), 4 x 1 x 3", or "" with an empty hand
    std::string Position; // "At 2, 5, 3", or ""
    std::string Grid;     // "Grid: Quarter"
    std::string Mode;     // "Placing", "Moving" or "Pointer"
    std::string Selected; // "3 selected"
    std::string Stones;   // "25 stones"
};

// Sizes and places are given in modules across and in thirds of a module
// high, as palette entries give them.
TStatusReport ReportStatus(const THand& hand, const TBlockList& model, int selectedCount);

// A stone's label (the name it took from its palette entry) or part name, and
// its caption: "Brick (4x1x3)"; the caption alone when it has neither.
std::string DescribeStone(const TBlock& stone);
