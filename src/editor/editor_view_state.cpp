#include "editor/editor_view_state.h"

#include <cstdlib>

namespace {

// An angle in whole degrees as the view holds it: radians, single precision.
float Degrees(int degrees) {
    return static_cast<float>(degrees * 3.14159265358979323846 / 180.0);
}

} // namespace

void TEditorViewState::Reset() {
    Tilt = Degrees(60);
    TurnAngle = Degrees(30);
}

void TEditorViewState::TiltBy(int steps) {
    Tilt += kStep * static_cast<float>(steps);
    if (Tilt < 0)
        Tilt = 0;
    else if (Tilt > kHighestTilt)
        Tilt = kHighestTilt;
}

void TEditorViewState::TurnBy(int steps) {
    TurnAngle += kStep * static_cast<float>(steps);
    if (TurnAngle < 0)
        TurnAngle = kFullTurn;
    else if (TurnAngle > kFullTurn)
        TurnAngle = 0;
}

void TEditorViewState::ShowOctant(int octant) {
    static constexpr int kTurns[4] = {30, 150, 210, 330};
    if (octant < 0 || octant > 7)
        return;
    Tilt = Degrees(octant < 4 ? 60 : 120);
    TurnAngle = Degrees(kTurns[octant % 4]);
}

void TEditorViewState::StartDrag(int x, int y) {
    FDragX = x;
    FDragY = y;
}

bool TEditorViewState::DragTo(int x, int y) {
    const int dx = x - FDragX, dy = y - FDragY;
    if (std::abs(dx) <= kDragThreshold && std::abs(dy) <= kDragThreshold)
        return false;
    if (dx < -kDragThreshold)
        TurnBy(-1);
    else if (dx > kDragThreshold)
        TurnBy(1);
    if (dy > kDragThreshold)
        TiltBy(-1);
    else if (dy < -kDragThreshold)
        TiltBy(1);
    StartDrag(x, y);
    return true;
}
