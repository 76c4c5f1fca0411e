#pragma once
// Integer points and rectangles in pixel coordinates, shared by drawing and hit testing.

struct TPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TPoint&) const = default;
};

// A rectangle as the canvas takes it: Right and Bottom are the first column and
// row outside it.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(int x, int y) {
    return TPoint{x, y};
}
constexpr TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}
