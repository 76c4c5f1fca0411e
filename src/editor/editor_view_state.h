#pragma once
// How the part editor looks at its stone: zoom, tilt and turn with their
// steps and limits, the preset view of each octant, and turning by dragging
// with the mouse.

#include <cstdint>

class TEditorViewState {
public:
    // One step of tilt or turn: 10 degrees.
    static constexpr float kStep = 0.17453292519943295f;
    static constexpr float kHighestTilt = 3.1415927f;
    static constexpr float kFullTurn = 6.2831855f;
    // A drag must move further than this many pixels to turn the view.
    static constexpr int kDragThreshold = 10;

    float Zoom = 1.0f;
    float Tilt = 0;      // radians, 0 .. pi
    float TurnAngle = 0; // radians, 0 .. 2 pi
    // The detail level the stone is drawn at (0 no details, 1 decorations,
    // 2 bitmaps): 0 whenever the window opens, then as its buttons choose.
    // The main view's own level is not touched.
    int DetailLevel = 0;

    TEditorViewState() { Reset(); }
    // Tilt 60 and turn 30 degrees, as every entry is first seen; zoom stays.
    void Reset();
    // Tilt by steps (up positive), stopping at 0 and pi.
    void TiltBy(int steps);
    // Turn by steps (right positive), wrapping past 0 and a full turn.
    void TurnBy(int steps);
    void ZoomBy(int steps) { Zoom += 0.1f * static_cast<float>(steps); }
    // The preset view of a part octant (0..7).
    void ShowOctant(int octant);

    // Dragging: the press stores the point; a move beyond the threshold turns
    // and tilts by one step each way it went and becomes the new point.
    // Returns whether the view changed.
    void StartDrag(int x, int y);
    bool DragTo(int x, int y);

private:
    int FDragX = 0, FDragY = 0;
};
