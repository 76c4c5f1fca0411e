#include "raster/fast_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

// A clipped coordinate as an int, held to the int range.
int Saturate(double value) {
    if (value <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (value >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

} // namespace

TFastDraw::TFastDraw(TBitmap& bitmap, const TPictureBand& held)
    : FBitmap(bitmap), FCanvas(bitmap.Canvas()), FHeld(held) {}

TFastDraw::~TFastDraw() = default;

int TFastDraw::HeldBottom() const {
    if (FHeld.Height <= 0)
        return FBitmap.Height() - 1;
    return std::min(FHeld.Top + FBitmap.Height(), FHeld.Height) - 1;
}

void TFastDraw::PrepareRowsOf(int bytesPerPixel) {
    const int rows = FBitmap.Height();
    const int height = FHeld.Height > 0 ? FHeld.Height : rows;
    const int first = HeldTop();
    FRows.assign(static_cast<size_t>(std::max(height, 0)), nullptr);
    std::ptrdiff_t pitchBytes = 0;
    if (rows >= 2)
        pitchBytes = static_cast<const std::byte*>(FBitmap.ScanLine(1)) -
                     static_cast<const std::byte*>(FBitmap.ScanLine(0));
    FPitch = pitchBytes / bytesPerPixel;
    if (rows > 0) {
        // The rows not held are worked out as numbers: they lie outside the bitmap.
        const auto base = reinterpret_cast<std::intptr_t>(FBitmap.ScanLine(0));
        for (int row = 0; row < height; ++row) {
            const int own = row - first;
            FRows[static_cast<size_t>(row)] =
                own >= 0 && own < rows
                    ? FBitmap.ScanLine(own)
                    : reinterpret_cast<void*>(base + static_cast<std::intptr_t>(own) * pitchBytes);
        }
    }
    Left = 1;
    Top = 1;
    Right = FBitmap.Width() - 1;
    Bottom = height - 2;
    BandTop = std::max(Top, first);
    BandBottom = std::min(Bottom, HeldBottom());
}

bool TFastDraw::ClipSegment(const TPoint& from, const TPoint& to, TLineRun& run, TPoint& clippedEnd) const {
    const int64_t adx = std::llabs(static_cast<int64_t>(to.x) - from.x);
    const int64_t ady = std::llabs(static_cast<int64_t>(to.y) - from.y);
    if (from.x >= Left && from.x <= Right && from.y >= Top && from.y <= Bottom && to.x >= Left &&
        to.x <= Right && to.y >= Top && to.y <= Bottom) {
        // Both ends in the box: nothing to clip.
        clippedEnd = to;
        run.X = from.x;
        run.Y = from.y;
        run.XMajor = 2 * ady < 2 * adx;
        if (run.XMajor) {
            run.Major = adx;
            run.Minor = ady;
            run.MajorStep = to.x > from.x ? 1 : -1;
            run.MinorStep = to.y > from.y ? 1 : -1;
            run.MinorLow = Top;
            run.MinorHigh = Bottom;
        } else {
            run.Major = ady;
            run.Minor = adx;
            run.MajorStep = to.y >= from.y ? 1 : -1;
            run.MinorStep = to.x >= from.x ? 1 : -1;
            run.MinorLow = Left;
            run.MinorHigh = Right;
        }
        run.Count = run.Major + 1;
        return true;
    }

    // Each end is clipped on its own, first across x, then across y, along the
    // whole line's slope; the deltas are those of the unclipped line.
    const double x1 = from.x;
    const double y1 = from.y;
    const double dx = static_cast<double>(to.x) - from.x;
    const double dy = static_cast<double>(to.y) - from.y;
    double px[2] = {x1, static_cast<double>(to.x)};
    double py[2] = {y1, static_cast<double>(to.y)};
    unsigned code[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        double& x = px[i];
        double& y = py[i];
        if (x < Left) {
            code[i] |= 1;
            if (dx != 0) {
                y = std::floor(y1 + dy / dx * (Left - x1));
                x = Left;
            }
        } else if (x > Right) {
            code[i] |= 2;
            if (dx != 0) {
                y = std::floor(y1 + dy / dx * (Right - x1));
                x = Right;
            }
        }
        if (y < Top) {
            code[i] |= 4;
            if (dy != 0) {
                x = std::floor(x + dx / dy * (Top - y));
                y = Top;
            }
        } else if (y > Bottom) {
            code[i] |= 8;
            if (dy != 0) {
                x = std::floor(x + dx / dy * (Bottom - y));
                y = Bottom;
            }
        }
    }
    clippedEnd = TPoint{Saturate(px[1]), Saturate(py[1])};
    if ((code[0] & code[1]) != 0)
        return false;
    if (px[0] < Left || px[0] > Right)
        return false;
    // Holds for every line that got this far, unless the box has no rows at all.
    if (py[0] < Top || py[0] > Bottom)
        return false;

    run.X = static_cast<int>(px[0]);
    run.Y = static_cast<int>(py[0]);
    int64_t majorStart, majorEnd, low, high;
    if (2 * ady < 2 * adx) {
        run.XMajor = true;
        run.Major = adx;
        run.Minor = ady;
        run.MajorStep = dx > 0 ? 1 : -1;
        run.MinorStep = dy > 0 ? 1 : -1;
        run.MinorLow = Top;
        run.MinorHigh = Bottom;
        majorStart = run.X;
        majorEnd = static_cast<int64_t>(std::clamp(px[1], Left - 1.0, Right + 1.0));
        low = Left;
        high = Right;
    } else {
        run.XMajor = false;
        run.Major = ady;
        run.Minor = adx;
        run.MajorStep = dy >= 0 ? 1 : -1;
        run.MinorStep = dx >= 0 ? 1 : -1;
        run.MinorLow = Left;
        run.MinorHigh = Right;
        majorStart = run.Y;
        majorEnd = static_cast<int64_t>(std::clamp(py[1], Top - 1.0, Bottom + 1.0));
        low = Top;
        high = Bottom;
    }
    // Pixels up to the clipped end, but never past the clip box: clipping each end
    // on its own can leave the end outside the box, or even behind the start.
    const int64_t toEnd = (majorEnd - majorStart) * run.MajorStep;
    const int64_t toBox = run.MajorStep > 0 ? high - majorStart : majorStart - low;
    run.Count = (toEnd >= 0 ? std::min(toEnd, toBox) : toBox) + 1;
    return true;
}

void TFastDraw::ProcessPoint(const TPoint* points, int v, int y) {
    const int prev = v == 0 ? FPointCount - 1 : v - 1;
    const int next = v == FPointCount - 1 ? 0 : v + 1;
    const TPoint& p = points[v];
    if (points[prev].y < p.y)
        RemoveEdge(prev);
    else if (points[prev].y > p.y)
        AddEdge(p, points[prev], prev, y);
    if (points[next].y < p.y)
        RemoveEdge(v);
    else if (points[next].y > p.y)
        AddEdge(p, points[next], v, y);
}

void TFastDraw::AddEdge(const TPoint& top, const TPoint& bottom, int key, int y) {
    TEdge& e = FEdges[static_cast<size_t>(FEdgeCount++)];
    StartEdge(e, top, bottom, y);
    e.Key = key;
}

bool TFastDraw::IsMonotone(const TPoint* points, int count) {
    // The directions of the edges that are not level change from down to up
    // once and back once, or not at all. Every triangle is of this kind.
    if (count <= 3)
        return true;
    if (count == 4) {
        // Two turns back up only when no edge is level and each turns back.
        auto direction = [&](int i) {
            const int next = i == 3 ? 0 : i + 1;
            return (points[next].y > points[i].y) - (points[next].y < points[i].y);
        };
        const int d0 = direction(0);
        return d0 == 0 || direction(1) != -d0 || direction(2) != d0 || direction(3) != -d0;
    }
    int changes = 0, first = 0, previous = 0;
    for (int i = 0; i < count; ++i) {
        const int next = i + 1 == count ? 0 : i + 1;
        const int direction = points[next].y > points[i].y ? 1 : points[next].y < points[i].y ? -1 : 0;
        if (direction == 0)
            continue;
        if (first == 0)
            first = direction;
        else if (direction != previous)
            ++changes;
        previous = direction;
    }
    if (previous != first)
        ++changes;
    return changes <= 2;
}

void TFastDraw::RemoveEdge(int key) {
    for (int i = 0; i < FEdgeCount; ++i) {
        if (FEdges[static_cast<size_t>(i)].Key == key) {
            // The list is sorted by x on every row, so its order does not matter here.
            FEdges[static_cast<size_t>(i)] = FEdges[static_cast<size_t>(FEdgeCount - 1)];
            --FEdgeCount;
            return;
        }
    }
}

void TFastDraw::SortEdges() {
    TEdge* edges = FEdges.data();
    for (int i = 1; i < FEdgeCount; ++i) {
        if (edges[i - 1].X <= edges[i].X)
            continue;
        const TEdge moving = edges[i];
        int j = i;
        while (j > 0 && edges[j - 1].X > moving.X) {
            edges[j] = edges[j - 1];
            --j;
        }
        edges[j] = moving;
    }
}

void TFastDraw::MoveTo(int x, int y) {
    FCanvas.PenPos = TPoint{x, y};
}

void TFastDraw::LineTo(int x, int y) {
    Segment(FCanvas.PenPos, TPoint{x, y});
    FCanvas.PenPos = TPoint{x, y};
}

void TFastDraw::Rectangle(int x1, int y1, int x2, int y2) {
    const TPoint corners[4] = {{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}};
    Polygon(corners, 3);
}
