#include "app/picture_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "common/error.h"
#include "platform/canvas.h"

const int kFrameMinWidth = 128;
const int kFrameMinHeight = 48;

namespace {

constexpr int kBarHeight = 13;
constexpr int kEdgeReach = 3;
constexpr TColor kDarkGreen = RGB(0, 128, 0);

// The title-bar buttons of the saves, by factor: their left end from the frame's left.
struct TSaveButton {
    int Factor;
    int Offset;
    const char* Text;
    TFrameArea Area;
};
constexpr TSaveButton kSaveButtons[] = {
    {1, 24, " A ", TFrameArea::faSaveAntiAliased},
    {2, 44, " 2 ", TFrameArea::faSave2},
    {4, 64, " 4 ", TFrameArea::faSave4},
    {8, 84, " 8 ", TFrameArea::faSave8},
};

bool Within(int v, int low, int high) {
    return v >= low && v <= high;
}

} // namespace

int SaveFactorOf(TFrameArea area) {
    if (area == TFrameArea::faSavePlain)
        return 0;
    for (const TSaveButton& button : kSaveButtons)
        if (button.Area == area)
            return button.Factor;
    return -1;
}

std::string SavePictureTitle(int factor, const TRect& frame) {
    const char* title = factor == 1   ? "Save anti-aliased picture"
                        : factor == 2 ? "Save large picture"
                        : factor == 4 ? "Save quite large picture"
                        : factor == 8 ? "Save very large picture"
                                      : "Save picture";
    const int64_t k = factor >= 2 ? factor : 1;
    const int64_t bytes = int64_t{frame.Height() + 1} * (frame.Width() + 1) * 4 * k * k;
    int64_t size = bytes;
    const char* unit = "Byte";
    if (bytes >= 104'857'600) {
        size = static_cast<int64_t>(std::nearbyint(static_cast<double>(bytes) / 1024 / 1024));
        unit = "MByte";
    } else if (bytes >= 10'240) {
        size = static_cast<int64_t>(std::nearbyint(static_cast<double>(bytes) / 1024));
        unit = "kByte";
    }
    return StrFormat("%s (.bmp size: %lld %s)", title, static_cast<long long>(size), unit);
}

TPictureFrame::TPictureFrame() {
    PlaceInView(0, 0);
}

void TPictureFrame::PlaceInView(int viewWidth, int viewHeight) {
    Rect.Left = viewWidth / 2 - 190;
    Rect.Top = viewHeight / 2 - 150;
    Rect.Right = Rect.Left + 400;
    Rect.Bottom = Rect.Top + 300;
}

void TPictureFrame::SetViewSize(int viewWidth, int viewHeight) {
    const bool first = FViewWidth <= 0 || FViewHeight <= 0;
    FViewWidth = viewWidth;
    FViewHeight = viewHeight;
    if (first)
        PlaceInView(viewWidth, viewHeight);
    KeepInView();
}

void TPictureFrame::KeepInView() {
    if (FViewWidth <= 0 || FViewHeight <= 0)
        return;
    // The title bar lies above the frame: the frame's top stays below it.
    const int width = std::min(Rect.Width(), std::max(kFrameMinWidth, FViewWidth));
    const int height = std::min(Rect.Height(), std::max(kFrameMinHeight, FViewHeight - kBarHeight));
    const int left = std::max(0, std::min(Rect.Left, FViewWidth - width));
    const int top = std::max(kBarHeight, std::min(Rect.Top, FViewHeight - height));
    Rect = ::Rect(left, top, left + width, top + height);
}

bool TPictureFrame::ButtonShown(int factor) const {
    for (const TSaveButton& button : kSaveButtons)
        if (button.Factor == factor)
            return Rect.Left + button.Offset + 8 < Rect.Right - 42;
    return false;
}

TFrameArea TPictureFrame::AreaAt(int x, int y) const {
    const TRect& r = Rect;
    if (Within(x, r.Right + 4, r.Right + 54) && Within(y, r.Top - kBarHeight, r.Top - 1))
        return TFrameArea::faSizeLabel;
    if (Within(y, r.Top - kBarHeight, r.Top - 1) && Within(x, r.Left, r.Right)) {
        if (Within(x, r.Right - 12, r.Right - 4))
            return TFrameArea::faClose;
        if (Within(x, r.Right - 26, r.Right - 18))
            return TFrameArea::faMaximise;
        if (Within(x, r.Right - 42, r.Right - 34))
            return TFrameArea::faPresets;
        if (Within(x, r.Left + 4, r.Left + 12))
            return TFrameArea::faSavePlain;
        for (const TSaveButton& button : kSaveButtons)
            if (ButtonShown(button.Factor) && Within(x, r.Left + button.Offset, r.Left + button.Offset + 8))
                return button.Area;
    }
    // The edges can be taken a little outside the frame too; inside them,
    // clicks place and select as anywhere in the view.
    const bool onBar = Within(y, r.Top - kBarHeight, r.Top - 1);
    const bool acrossFrame = Within(x, r.Left - kEdgeReach, r.Right + kEdgeReach) &&
                             Within(y, r.Top - kBarHeight, r.Bottom + kEdgeReach);
    const bool inside = Within(x, r.Left + kEdgeReach + 1, r.Right - kEdgeReach - 1) &&
                        Within(y, r.Top + kEdgeReach + 1, r.Bottom - kEdgeReach - 1);
    if (acrossFrame && (onBar || !inside))
        return TFrameArea::faHandle;
    return TFrameArea::faNone;
}

void TPictureFrame::StartDrag(int x, int y) {
    EndDrag();
    if (AreaAt(x, y) != TFrameArea::faHandle)
        return;
    FTop = std::abs(y - Rect.Top) <= kEdgeReach;
    FBottom = !FTop && std::abs(y - Rect.Bottom) <= kEdgeReach;
    FLeft = std::abs(x - Rect.Left) <= kEdgeReach;
    FRight = !FLeft && std::abs(x - Rect.Right) <= kEdgeReach;
    FMoving = !(FTop || FBottom || FLeft || FRight);
    FLast = Point(x, y);
}

bool TPictureFrame::Drag(int x, int y) {
    if (!Dragging())
        return false;
    const TRect before = Rect;
    const int dx = x - FLast.x, dy = y - FLast.y;
    FLast = Point(x, y);
    if (FMoving) {
        Rect.Left += dx;
        Rect.Right += dx;
        Rect.Top += dy;
        Rect.Bottom += dy;
    } else {
        // An edge follows the mouse up to the view's border.
        if (FViewWidth > 0 && FViewHeight > 0) {
            x = std::clamp(x, 0, FViewWidth);
            y = std::clamp(y, kBarHeight, FViewHeight);
        }
        if (FTop)
            Rect.Top = std::min(y, Rect.Bottom - kFrameMinHeight);
        if (FBottom)
            Rect.Bottom = std::max(y, Rect.Top + kFrameMinHeight);
        if (FLeft)
            Rect.Left = std::min(x, Rect.Right - kFrameMinWidth);
        if (FRight)
            Rect.Right = std::max(x, Rect.Left + kFrameMinWidth);
    }
    KeepInView();
    return !(Rect == before);
}

void TPictureFrame::EndDrag() {
    FMoving = FLeft = FTop = FRight = FBottom = false;
}

void TPictureFrame::Toggle() {
    Shown = !Shown;
    EndDrag();
    KeepInView();
}

TFrameCursor TPictureFrame::CursorAt(int x, int y) const {
    if (AreaAt(x, y) != TFrameArea::faHandle)
        return TFrameCursor::fcDefault;
    const bool vertical = std::abs(y - Rect.Top) <= kEdgeReach || std::abs(y - Rect.Bottom) <= kEdgeReach;
    const bool left = std::abs(x - Rect.Left) <= kEdgeReach, right = std::abs(x - Rect.Right) <= kEdgeReach;
    if (vertical && (left || right)) {
        const bool top = std::abs(y - Rect.Top) <= kEdgeReach;
        return top == left ? TFrameCursor::fcSizeDiagonal : TFrameCursor::fcSizeAntiDiagonal;
    }
    if (vertical)
        return TFrameCursor::fcSizeVertical;
    if (left || right)
        return TFrameCursor::fcSizeHorizontal;
    return TFrameCursor::fcMove;
}

void TPictureFrame::Maximise(int viewWidth, int viewHeight) {
    Rect = ::Rect(2, 14, viewWidth - 2, viewHeight - 2);
}

void TPictureFrame::Preset(bool shift, bool ctrl, bool alt) {
    int width = 116, height = 116;
    if (ctrl) {
        width = 150;
        height = 192;
    } else if (shift) {
        width = 320;
        height = 240;
    } else if (alt) {
        width = 640;
        height = 480;
    }
    Rect.Right = Rect.Left + width;
    Rect.Bottom = Rect.Top + height;
    KeepInView();
}

void TPictureFrame::Resize(int width, int height) {
    if (FViewWidth > 0 && FViewHeight > 0) {
        width = std::min(width, std::max(kFrameMinWidth, FViewWidth));
        height = std::min(height, std::max(kFrameMinHeight, FViewHeight - kBarHeight));
    }
    Rect.Left -= (width - Rect.Width()) / 2;
    Rect.Right = Rect.Left + width;
    Rect.Top -= (height - Rect.Height()) / 2;
    Rect.Bottom = Rect.Top + height;
    KeepInView();
}

void TPictureFrame::Draw(TCanvas& canvas) const {
    const int l = Rect.Left, t = Rect.Top, r = Rect.Right, b = Rect.Bottom;
    canvas.Brush.Style = bsClear;
    canvas.Pen.Color = clBlack;
    canvas.Rectangle(l, t, r, b);
    canvas.Rectangle(l, t - kBarHeight, r, b);
    canvas.Font.Color = clBlack;
    canvas.TextOut(r + 4, t - kBarHeight, StrFormat("%d x %d", r - l, b - t));

    // The title bar's glyphs, each in an 8 x 8 box in dark green: close,
    // maximise, presets and the plain save.
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = kDarkGreen;
    canvas.Pen.Color = kDarkGreen;
    const int y = t - 11;
    auto cross = [&](int x) {
        for (int i = 0; i < 2; ++i) {
            canvas.MoveTo(x + i, y);
            canvas.LineTo(x + 8 + i, y + 8);
            canvas.MoveTo(x + 7 + i, y);
            canvas.LineTo(x - 1 + i, y + 8);
        }
    };
    cross(r - 12);
    canvas.Brush.Style = bsClear;
    canvas.Rectangle(r - 26, y, r - 18, y + 8);
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(::Rect(r - 26, y, r - 18, y + 2));
    canvas.FillRect(::Rect(r - 42, y + 6, r - 34, y + 8));
    canvas.FillRect(::Rect(l + 4, y + 1, l + 12, y + 8));

    canvas.Font.Color = clWhite;
    canvas.Brush.Color = kDarkGreen;
    for (const TSaveButton& button : kSaveButtons)
        if (ButtonShown(button.Factor))
            canvas.TextOut(l + button.Offset, t - kBarHeight, button.Text);
    canvas.Brush.Style = bsClear;
}
