#pragma once
// The controls that set the view: tilt, turn and the third angle as the
// positions of three (hidden) scroll bars, the two offset bars, the zoom, the
// fixed views, the rotate and zoom buttons, the mouse wheel, centring on the
// model, the recorded view, and the reaction to a resized view. Every change
// ends in one request for a new picture.

#include <functional>
#include <string>

#include "app/scroll_value.h"

class TBlockList;
class TRenderState;

// The view that "Restore original view" returns to.
struct TRecordedView {
    int RotX = 70;
    int RotZ = 330;
    int OffsetX = 0;
    int OffsetY = 0;
};

class TViewController {
public:
    explicit TViewController(TRenderState& view);

    // Asked for a new picture after every visible change (while not suppressed).
    std::function<void()> OnRedraw;

    // --- the scroll bars; each change updates the view and asks for a picture ---
    const TScrollValue& RotX() const { return FRotX; }
    const TScrollValue& RotY() const { return FRotY; }
    const TScrollValue& RotZ() const { return FRotZ; }
    const TScrollValue& OffsetX() const { return FOffsetX; }
    const TScrollValue& OffsetY() const { return FOffsetY; }
    void SetRotX(int position);
    void SetRotY(int position);
    void SetRotZ(int position);
    void SetOffsetX(int position);
    void SetOffsetY(int position);

    // Sets tilt and turn together with one picture at the end.
    void SetViewAngles(int tilt, int turn);
    // One of the ten fixed views by its tag 0 .. 9.
    void FixedView(int tag);
    // Back to the recorded rotations and offsets; the zoom stays.
    void RestoreView();
    void RecordView();
    const TRecordedView& Recorded() const { return FRecorded; }
    void SetRecorded(const TRecordedView& recorded) { FRecorded = recorded; }

    void RotateUp();
    void RotateDown();
    void RotateLeft();
    void RotateRight();
    // Turning by a mouse drag of (dx, dy) pixels, one degree per pixel.
    void MouseRotate(int dx, int dy);

    float Zoom() const;
    void SetZoom(float scale);
    // The zoom list's text: the zoom in per cent, rounded.
    std::string ZoomText() const;
    void ZoomIn();
    void ZoomOut();
    // The wheel over the view: rolling down zooms in, up zooms out.
    void Wheel(int delta);
    // The zoom list's entries.
    static const char* const kZoomChoices[10];

    // Moves the offsets so the model's centre lands in the middle of the view;
    // with fit, first zooms so the model fills nine tenths of it.
    void CenterModel(const TBlockList& model, bool fit);
    // Zooms so that the whole model, seen at the current angles, fills nine
    // tenths of the view, and centres it.
    void FitModel(const TBlockList& model);
    // Seen from straight above and turned square, the model centred and
    // zoomed to fill nine tenths of the view.
    void FitFromAbove(const TBlockList& model);

    // The view's client size changed: recompute the screen position of the origin.
    void Resize(int width, int height);
    int ClientWidth() const { return FWidth; }
    int ClientHeight() const { return FHeight; }

    // Runs a change of several controls with one picture at the end, also when
    // the change fails.
    void Batch(const std::function<void()>& change);

private:
    void RotationChanged();
    void OffsetChanged();
    void Redraw();

    TRenderState& FView;
    TScrollValue FRotX{70, 0, 180, 5, 30};
    TScrollValue FRotZ{330, 0, 360, 5, 45};
    TScrollValue FRotY{0, 0, 360, 10, 45};
    TScrollValue FOffsetX{0, -5000, 5000, 5, 100};
    TScrollValue FOffsetY{0, -5000, 5000, 5, 100};
    TRecordedView FRecorded;
    int FWidth = 0;
    int FHeight = 0;
};
