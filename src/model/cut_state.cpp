#include "model/cut_state.h"

#include "model/block.h"

TCutState& CutState() {
    static TCutState state;
    return state;
}

bool InCut(TBlock& stone) {
    return InCut(stone, CutState());
}

bool InCut(TBlock& s, const TCutState& cut) {
    s.Cut = false;
    const int32_t top = s.Z + s.Height;
    if (!cut.DialogShown)
        return top <= cut.ZHigh && s.Z >= cut.ZLow;
    if (!cut.IncludeAll)
        return s.X >= cut.XLow && s.X + s.Length <= cut.XHigh && s.Y >= cut.YLow &&
               s.Y + s.Width <= cut.YHigh && s.Z >= cut.ZLow && top <= cut.ZHigh;
    bool passes = s.X + s.Length > cut.XLow && s.X < cut.XHigh && s.Y + s.Width > cut.YLow &&
                  s.Y < cut.YHigh && top > cut.ZLow && s.Z < cut.ZHigh;
    if (top > cut.ZHigh)
        s.Cut = true;
    return passes;
}
