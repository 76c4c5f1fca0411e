#pragma once
// The cut box: six process-wide limits and two switches that decide which
// stones take part in drawing, picking and placement. Only the cutting dialog
// writes them; everything that walks the model for the user's eyes asks InCut.

#include <cstdint>
#include <limits>

class TBlock;

struct TCutState {
    // Wide open: every stone the model can hold passes.
    static constexpr int32_t kOpenLow = std::numeric_limits<int32_t>::min();
    static constexpr int32_t kOpenHigh = std::numeric_limits<int32_t>::max();

    int32_t XLow = kOpenLow, XHigh = kOpenHigh;
    int32_t YLow = kOpenLow, YHigh = kOpenHigh;
    int32_t ZLow = kOpenLow, ZHigh = kOpenHigh;
    // The cutting dialog is visible.
    bool DialogShown = false;
    // The dialog's "Include all blocks in range".
    bool IncludeAll = false;

    // Back to the wide-open limits with the dialog hidden.
    void Reset() { *this = TCutState(); }
};

// The one cut state of the program.
TCutState& CutState();

// Whether the stone takes part under the current cut state. Clears the stone's
// Cut flag, and sets it when stones in range are included and the stone rises
// above the top of the cut box.
bool InCut(TBlock& stone);
bool InCut(TBlock& stone, const TCutState& cut);
