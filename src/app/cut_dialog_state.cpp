#include "app/cut_dialog_state.h"

#include <algorithm>
#include <limits>

#include "model/block_list.h"

namespace {

int32_t Moved(int32_t value, int64_t by) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{value} + by, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

TCutLimits TCutDialogState::Limits() const {
    return {FCut.XLow, FCut.XHigh, FCut.YLow, FCut.YHigh, FCut.ZLow, FCut.ZHigh};
}

void TCutDialogState::SetLimits(const TCutLimits& limits) {
    FCut.XLow = limits[0];
    FCut.XHigh = limits[1];
    FCut.YLow = limits[2];
    FCut.YHigh = limits[3];
    FCut.ZLow = limits[4];
    FCut.ZHigh = limits[5];
}

void TCutDialogState::ResetToModel(const TBlockList& model) {
    const TExtents box = model.GetExtents();
    Saved = {box.MinX, box.MaxX, box.MinY, box.MaxY, box.MinZ, box.MaxZ};
    SetLimits(Saved);
}

int32_t TCutDialogState::RaiseTop() {
    Saved[5] = Moved(Saved[5], VerticalStep);
    FCut.ZHigh = Saved[5];
    return Saved[5];
}

void TCutDialogState::SetSteps(int32_t horizontal, int32_t vertical) {
    HorizontalStep = horizontal;
    VerticalStep = vertical;
}

void TCutDialogState::MoveBoth(int axis, bool up) {
    if (axis < 0 || axis > 2)
        return;
    const int64_t step = (axis == 2 ? VerticalStep : HorizontalStep) * (up ? 1 : -1);
    TCutLimits limits = Limits();
    const size_t low = static_cast<size_t>(axis) * 2;
    limits[low] = Moved(limits[low], step);
    limits[low + 1] = Moved(limits[low + 1], step);
    SetLimits(limits);
}

void TCutDialogState::StepLimit(int limit, int steps) {
    if (limit < 0 || limit > 5)
        return;
    const int64_t step = limit / 2 == 2 ? VerticalStep : HorizontalStep;
    TCutLimits limits = Limits();
    limits[static_cast<size_t>(limit)] = Moved(limits[static_cast<size_t>(limit)], step * steps);
    SetLimits(limits);
}

void TCutDialogState::Show() {
    FCut.DialogShown = true;
    SetLimits(Saved);
}

void TCutDialogState::Hide() {
    FCut.DialogShown = false;
    Saved = Limits();
    SetLimits({TCutState::kOpenLow, TCutState::kOpenHigh, TCutState::kOpenLow, TCutState::kOpenHigh,
               TCutState::kOpenLow, TCutState::kOpenHigh});
}
