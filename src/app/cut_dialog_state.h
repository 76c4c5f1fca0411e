#pragma once
// The cutting dialog's state without its window: the box the user cuts the
// model with, kept in the program's cut limits while the dialog shows and in
// saved limits while it is hidden (the cut limits then stand wide open), the
// spin steps from the positioning grid, and the model's box to start from.

#include <array>
#include <cstdint>

#include "model/cut_state.h"

class TBlockList;

// The six limits in the order of the dialog's edits: x low, x high, y low,
// y high, z low, z high.
using TCutLimits = std::array<int32_t, 6>;

class TCutDialogState {
public:
    explicit TCutDialogState(TCutState& cut) : FCut(cut) {}

    // "Auto": every change of the box redraws at once.
    bool Auto = true;
    TCutLimits Saved{TCutState::kOpenLow, TCutState::kOpenHigh, TCutState::kOpenLow,
                     TCutState::kOpenHigh, TCutState::kOpenLow, TCutState::kOpenHigh};
    // The spin steps in units: x and y by the horizontal grid, z by the vertical.
    int32_t HorizontalStep = 20;
    int32_t VerticalStep = 20;

    TCutLimits Limits() const;
    // The edits' values become the cut limits.
    void SetLimits(const TCutLimits& limits);
    void SetIncludeAll(bool on) { FCut.IncludeAll = on; }
    bool IncludeAll() const { return FCut.IncludeAll; }

    // The limits and the saved limits become the model's box (with no stones
    // the lows 99999 and the highs -99999, so that nothing passes).
    void ResetToModel(const TBlockList& model);
    // Raises the saved top by one vertical step and takes it into the limits;
    // returns the new top.
    int32_t RaiseTop();
    void SetSteps(int32_t horizontal, int32_t vertical);
    // A "Both" button: both limits of the axis (0 x, 1 y, 2 z) one step up or down.
    void MoveBoth(int axis, bool up);
    // An edit's own arrows: the limit (0 to 5, in the order of TCutLimits)
    // moves by `steps` steps of its axis.
    void StepLimit(int limit, int steps);

    // Showing takes the saved limits into the cut; hiding saves them and opens
    // the cut wide.
    void Show();
    void Hide();

private:
    TCutState& FCut;
};
