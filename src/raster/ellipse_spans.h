#pragma once
// The pixels of the canvas's ellipse, span by span, so that the rasteriser
// draws round stones exactly as the canvas does without a painter.
//
// The ellipse of the box left .. left + width, top .. top + height (both bounds
// inside) is stepped by the midpoint rule from the middle of its top and
// bottom rows outward, both halves at once. Each group of rows gives first the
// inside between the outlines, `fill(y, x1, x2)`, then the outline itself,
// `outline(y, x1, x2)`: x1 <= x2, both inclusive, not clipped. The outline is
// drawn last, over the inside's end pixels.

#include <algorithm>

namespace ellipse_detail {

// Up to four outline spans (top left, top right, bottom left, bottom right)
// and the insides between them, for the run of `length` pixels from column
// offset x on the rows at offset y from the middle.
template <class Fill, class Outline>
void EllipseRows(int x, int y, int length, int left, int top, int width, int height, Fill& fill,
                 Outline& outline) {
    if (length == 0)
        return;
    struct TRun {
        int X, Length, Y;
    };
    const int midX = left + (width + 1) / 2;
    const int midY = top + (height + 1) / 2;
    x += midX;
    y += midY;
    TRun runs[4];
    runs[0].X = midX + (midX - x) - (length - 1) - (width & 1);
    runs[0].Length = std::min(length, x - runs[0].X);
    runs[0].Y = midY + (midY - y);
    // An odd height has two middle rows: the lower half starts one row up.
    const int lowY = y - (height & 1);
    runs[1] = {x, length, runs[0].Y};
    runs[2] = {runs[0].X, runs[0].Length, lowY};
    runs[3] = {x, length, lowY};
    if (runs[0].X + runs[0].Length < runs[1].X) {
        const TRun insides[2] = {
            {runs[0].X + runs[0].Length - 1, std::max(0, runs[1].X - (runs[0].X + runs[0].Length - 1)), runs[1].Y},
            {runs[2].X + runs[2].Length - 1, std::max(0, runs[3].X - (runs[2].X + runs[2].Length - 1)), runs[3].Y}};
        const int n = insides[0].Y >= insides[1].Y ? 1 : 2;
        for (int i = 0; i < n; ++i)
            if (insides[i].Length > 0)
                fill(insides[i].Y, insides[i].X, insides[i].X + insides[i].Length - 1);
    }
    const int n = runs[1].Y >= runs[2].Y ? 2 : 4;
    for (int i = 0; i < n; ++i)
        if (runs[i].Length > 0)
            outline(runs[i].Y, runs[i].X, runs[i].X + runs[i].Length - 1);
}

} // namespace ellipse_detail

// The largest width and height stepped this way; the canvas paints larger
// ellipses by another method.
constexpr int kLargestSpanEllipse = 65536;

template <class Fill, class Outline>
void EllipseSpans(int left, int top, int width, int height, Fill fill, Outline outline) {
    using ellipse_detail::EllipseRows;
    const double a = static_cast<double>(width) / 2;
    const double b = static_cast<double>(height) / 2;
    double d = b * b - (a * a * b) + 0.25 * a * a;
    int x = 0;
    int y = (height + 1) / 2;
    int startX = x;
    // Where the outline is flatter than diagonal: a step right each pixel.
    while (a * a * (2 * y - 1) > 2 * b * b * (x + 1)) {
        if (d < 0) {
            d += b * b * (2 * x + 3);
            ++x;
        } else {
            d += b * b * (2 * x + 3) + a * a * (-2 * y + 2);
            EllipseRows(startX, y, x - startX + 1, left, top, width, height, fill, outline);
            startX = ++x;
            --y;
        }
    }
    EllipseRows(startX, y, x - startX + 1, left, top, width, height, fill, outline);
    // Where it is steeper: a step down each row.
    d = b * b * (x + 0.5) * (x + 0.5) + a * a * ((y - 1) * (y - 1) - b * b);
    const int lowestY = height & 1;
    while (y > lowestY) {
        if (d < 0) {
            d += b * b * (2 * x + 2) + a * a * (-2 * y + 3);
            ++x;
        } else {
            d += a * a * (-2 * y + 3);
        }
        --y;
        EllipseRows(x, y, 1, left, top, width, height, fill, outline);
    }
}
