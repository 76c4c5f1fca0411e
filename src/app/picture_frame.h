#pragma once
// The picture frame: a rectangle with a small title bar over the view that
// the user moves and sizes with the mouse, whose title-bar buttons save the
// part of the view inside it as a picture, plainly, anti-aliased, or drawn
// anew at twice, four or eight times its size.

#include <string>

#include "platform/point.h"

class TCanvas;

// What a point of the view is over, for the frame.
enum class TFrameArea {
    faNone,
    faClose,
    faMaximise,
    faPresets,
    faSavePlain,
    faSaveAntiAliased,
    faSave2,
    faSave4,
    faSave8,
    faSizeLabel,
    faHandle, // the title bar and the frame's edges, 3 pixels either side:
              // the frame's inside belongs to the view
};

// The mouse pointer's shape over the frame.
enum class TFrameCursor {
    fcDefault,
    fcMove,
    fcSizeVertical,
    fcSizeHorizontal,
    fcSizeDiagonal,
    fcSizeAntiDiagonal
};

extern const int kFrameMinWidth;  // 128
extern const int kFrameMinHeight; // 48

// The size factor a save button of the title bar stands for (0 plain,
// 1 anti-aliased, 2, 4, 8), or -1 for any other area.
int SaveFactorOf(TFrameArea area);

// The save dialog's title for a size factor (0 plain, 1 anti-aliased, 2, 4,
// 8) of a frame, with the size its picture takes as a 32-bit bitmap.
std::string SavePictureTitle(int factor, const TRect& frame);

class TPictureFrame {
public:
    TPictureFrame();

    // The frame in view coordinates, and whether it is shown ("Save picture").
    TRect Rect;
    bool Shown = false;

    // "Save picture" shows the frame or hides it, ending a drag.
    void Toggle();
    // The title bar's close button.
    void Hide() { Shown = false; }

    // The frame's place when the window starts: 400 x 300 about the view's middle.
    void PlaceInView(int viewWidth, int viewHeight);
    // The view's size changed. The frame's part of the view is what its
    // pictures show, so the frame stays inside the view, with its title bar,
    // and no larger than the view: every change below keeps it so. The first
    // size known places the frame in the view's middle.
    void SetViewSize(int viewWidth, int viewHeight);
    // The title-bar area or part of the frame under the point.
    TFrameArea AreaAt(int x, int y) const;
    // Whether the title-bar button of a factor (1 " A ", 2, 4, 8) is shown:
    // only while it fits left of the presets button.
    bool ButtonShown(int factor) const;
    // The left button went down at the point: the frame starts moving by its
    // title bar, or its edges within 3 pixels of the point start to be dragged.
    void StartDrag(int x, int y);
    // The mouse moved with the button held: the frame or its dragged edges
    // follow, never smaller than 128 x 48 and never out of the view. Returns
    // whether anything moved.
    bool Drag(int x, int y);
    void EndDrag();
    bool Dragging() const { return FMoving || FLeft || FTop || FRight || FBottom; }
    TFrameCursor CursorAt(int x, int y) const;

    // The title bar's maximise button: the frame fills the view.
    void Maximise(int viewWidth, int viewHeight);
    // The presets button: Ctrl 150 x 192, else Shift 320 x 240, else Alt
    // 640 x 480, else 116 x 116, keeping the top-left corner.
    void Preset(bool shift, bool ctrl, bool alt);
    // A new size about the frame's centre, at most the view's.
    void Resize(int width, int height);

    // Draws the frame, its title bar with its buttons and its size label on
    // the canvas (the view's own, never the scene picture).
    void Draw(TCanvas& canvas) const;

private:
    // Brings the frame into the view (once its size is known), shrinking it
    // to the view's size where it is larger.
    void KeepInView();

    int FViewWidth = 0, FViewHeight = 0;
    bool FMoving = false, FLeft = false, FTop = false, FRight = false, FBottom = false;
    TPoint FLast;
};
