#pragma once
// The software rasteriser: draws lines and fills polygons straight into the
// pixel rows of a 15-, 16- or 32-bit bitmap, far faster than the canvas, with the
// exact pixels fixed by its own rules.
//
// Clip box: Left = 1, Top = 1, Right = Width - 1, Bottom = Height - 2, all
// inclusive. Column 0, row 0 and the bottom row are never written; the rightmost
// column is.
//
// Colours and styles come from the bitmap's canvas: the pen colour for lines and
// outlines, the brush colour and style for fills. A fill with brush style
// bsDiagCross is blended half-and-half with the pixels below it; bsClear fills
// nothing. Lines and outlines use the pixel operation (write or blend) chosen by
// the last Polygon call; before the first one they write.
//
// The bitmap must keep its size and pixel format while the rasteriser lives.

#include "platform/bitmap.h"
#include "platform/point.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

// The rows of a picture drawn band by band that a bitmap holds: the rows from
// Top on of a picture Height rows tall and as wide as the bitmap. Height 0:
// the bitmap is the whole picture.
struct TPictureBand {
    int Top = 0;
    int Height = 0;
};

class TFastDraw {
public:
    virtual ~TFastDraw();
    TFastDraw(const TFastDraw&) = delete;
    TFastDraw& operator=(const TFastDraw&) = delete;

    // The clip box, all bounds inclusive.
    int Left = 1;
    int Top = 1;
    int Right = 0;
    int Bottom = 0;
    // The rows written, inclusive: the clip box's, unless a band of the picture
    // is drawn on its own. Every pixel is still decided by the clip box, so the
    // bands of a picture drawn apart make the picture drawn at once.
    int BandTop = 1;
    int BandBottom = 0;

    // The picture's rows the bitmap holds, inclusive: all of them, or a band
    // (the clip box and the coordinates are still the picture's).
    int HeldTop() const { return FHeld.Height > 0 ? FHeld.Top : 0; }
    int HeldBottom() const;

    // Builds the row table, the pitch and the clip box from the bitmap.
    virtual void PrepareRows() = 0;
    // Draws a line from one point to the other, both ends included, with the pen
    // colour. The pen position stays.
    virtual void Segment(const TPoint& from, const TPoint& to) = 0;
    // Draws a line and moves the pen position to its end as clipped.
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // Fills points[0 .. high] (odd-even rule) with the brush and outlines it with
    // the pen; the pen position moves to the last point. Fewer than three points
    // are only outlined.
    virtual void Polygon(const TPoint* points, int high) = 0;
    // Draws the segments from each point to the next; the pen moves to the last point.
    virtual void Polyline(const TPoint* points, int high) = 0;
    // As Polyline, then the segment from the last point back to the first; the pen
    // moves to the first point.
    virtual void ClosedPolyline(const TPoint* points, int high) = 0;

    // Sets the canvas pen position.
    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y) and moves the pen there.
    void LineTo(int x, int y);
    // Polygon over the corners (x1, y1), (x1, y2), (x2, y2), (x2, y1): both corners
    // are included.
    void Rectangle(int x1, int y1, int x2, int y2);

    TBitmap& Bitmap() const { return FBitmap; }
    // Distance in pixels from one row to the next.
    std::ptrdiff_t Pitch() const { return FPitch; }
    // The first pixel of a row of the bitmap, taken when the rows were prepared.
    void* RowAddress(int row) const { return FRows[static_cast<size_t>(row)]; }

protected:
    explicit TFastDraw(TBitmap& bitmap, const TPictureBand& held = {});

    // An edge of the polygon being filled, from its top row down to (not including)
    // its bottom row.
    struct TEdge {
        int64_t X;     // x on the current scan line
        int64_t DX;    // horizontal extent, always >= 0
        int64_t DY;    // vertical extent, always > 0
        int64_t Error; // accumulated fraction of a pixel, in units of 1 / DY
        int32_t Step;  // +1 or -1
        int32_t Key;   // index of the edge's first point in the polygon
        // DX split into whole pixels per row (signed by Step) and the rest, so
        // that stepping a row needs no division: adding DX to Error and moving
        // one pixel per DY taken off comes to X += Whole, Error += Rest, and one
        // more pixel when Error reaches DY.
        int64_t Whole;
        int64_t Rest;
    };

    // A clipped line ready to be stepped: the start pixel lies in the clip box.
    struct TLineRun {
        int X = 0; // start pixel
        int Y = 0;
        bool XMajor = false; // stepping one column per pixel (else one row)
        int MajorStep = 1;   // +1 or -1 along the major axis
        int MinorStep = 1;   // +1 or -1 along the minor axis
        int64_t Major = 0;   // |dx| (x-major) or |dy| of the whole line
        int64_t Minor = 0;   // the other extent
        int64_t Count = 0;   // pixels to the clipped end, and no further than the clip box
        int MinorLow = 0;    // the clip box across the minor axis
        int MinorHigh = 0;
    };

    // Fills the row table, the pitch and the clip box for pixels of the given size.
    void PrepareRowsOf(int bytesPerPixel);
    // Clips the line from -> to against the clip box. Returns false when nothing is
    // to be drawn; clippedEnd gets the end point as clipping moved it.
    bool ClipSegment(const TPoint& from, const TPoint& to, TLineRun& run, TPoint& clippedEnd) const;
    // Runs the active-edge fill over points[0 .. count - 1], calling
    // span(row, x1, x2) for every non-empty span inside the clip box.
    template <class SpanFunction> void FillPolygon(const TPoint* points, int count, SpanFunction span);
    // The same for a polygon every row of which crosses two of its edges: the
    // edges down from its top vertex on either side meet only at its bottom.
    // It walks down both sides from the top, with no table of edges.
    template <class SpanFunction> void FillMonotone(const TPoint* points, int count, SpanFunction span);
    // Whether the polygon is of that kind.
    static bool IsMonotone(const TPoint* points, int count);
    // FillMonotone where it applies, else FillPolygon.
    template <class SpanFunction> void Fill(const TPoint* points, int count, SpanFunction span) {
        if (IsMonotone(points, count))
            FillMonotone(points, count, span);
        else
            FillPolygon(points, count, span);
    }
    // Steps a clipped line with Bresenham's method, calling plot(pixel) for each
    // of its pixels; start points at the run's start pixel.
    template <class TPixel, class PlotFunction>
    void RunLine(const TLineRun& run, TPixel* start, PlotFunction plot) const;
    // Draws the line from -> to with plot(pixel) for each of its pixels:
    // clipped and stepped by RunLine, or, when both ends lie in the clip box,
    // by a lean loop that steps the same pixels with no test of the box.
    template <class TPixel, class PlotFunction>
    void StepSegment(const TPoint& from, const TPoint& to, TPoint& clippedEnd, PlotFunction plot) const;
    // The lean loop alone, for a line whose ends both lie in the clip box and
    // in the band.
    template <class TPixel, class PlotFunction>
    void StepInside(const TPoint& from, const TPoint& to, PlotFunction plot) const;
    // Whether every point lies in the clip box and in the band.
    bool AllInside(const TPoint* points, int count) const {
        for (int i = 0; i < count; ++i)
            if (points[i].x < Left || points[i].x > Right || points[i].y < BandTop ||
                points[i].y > BandBottom || points[i].y < Top || points[i].y > Bottom)
                return false;
        return true;
    }

    TBitmap& FBitmap;
    TCanvas& FCanvas;
    TPictureBand FHeld;
    // First pixel of every row of the picture. Rows the bitmap does not hold
    // have the addresses they would have if it went on; only lines that are
    // stepped from there into the band use them, and nothing is written there.
    std::vector<void*> FRows;
    std::ptrdiff_t FPitch = 0; // in pixels
    std::vector<TEdge> FEdges; // the active edge list, kept between polygons
    int FEdgeCount = 0;
    int FPointCount = 0;     // points of the polygon being filled
    std::vector<int> FOrder; // its point indexes by ascending y
    bool FLayout565 = false; // 16-bit pixels are 5-6-5 (else 5-5-5)

private:
    void ProcessPoint(const TPoint* points, int v, int y);
    // Enters the edge top -> bottom (top has the smaller y) on scan line y.
    void AddEdge(const TPoint& top, const TPoint& bottom, int key, int y);
    void RemoveEdge(int key);
    // Sets the edge top -> bottom up for scan line y, as the fill enters it.
    static void StartEdge(TEdge& e, const TPoint& top, const TPoint& bottom, int y);
    void SortEdges();
    // Moves an edge down one row.
    static void Advance(TEdge& e);
};

template <class SpanFunction>
void TFastDraw::FillPolygon(const TPoint* points, int count, SpanFunction span) {
    FPointCount = count;
    // Point indexes by ascending y (the order of equal y does not matter).
    FOrder.resize(static_cast<size_t>(count));
    int* order = FOrder.data();
    for (int i = 0; i < count; ++i) {
        int j = i;
        while (j > 0 && points[order[j - 1]].y > points[i].y) {
            order[j] = order[j - 1];
            --j;
        }
        order[j] = i;
    }
    if (FEdges.size() < static_cast<size_t>(count))
        FEdges.resize(static_cast<size_t>(count));
    FEdgeCount = 0;
    TEdge* const edges = FEdges.data();

    const int first = std::max(Top, points[order[0]].y);
    const int last = std::min(std::min(Bottom, BandBottom), points[order[count - 1]].y);
    int next = 0;
    int nextY = points[order[0]].y; // y of the next point to process
    for (int y = first; y <= last; ++y) {
        if (nextY <= y) {
            do
                ProcessPoint(points, order[next++], y);
            while (next < count && points[order[next]].y <= y);
            nextY = next < count ? points[order[next]].y : std::numeric_limits<int>::max();
        }
        if (FEdgeCount == 2) {
            // The common case: one span between two edges.
            TEdge* left = &edges[0];
            TEdge* right = &edges[1];
            if (right->X < left->X)
                std::swap(left, right);
            const int64_t x1 = std::max<int64_t>(left->X, Left);
            const int64_t x2 = std::min<int64_t>(right->X, Right);
            if (x1 <= x2 && y >= BandTop)
                span(y, static_cast<int>(x1), static_cast<int>(x2));
            Advance(*left);
            Advance(*right);
            continue;
        }
        if (FEdgeCount == 0) {
            if (next == count)
                break;
            continue;
        }
        SortEdges();
        for (int i = 0; i + 1 < FEdgeCount && y >= BandTop; i += 2) {
            const int64_t x1 = std::max<int64_t>(edges[i].X, Left);
            const int64_t x2 = std::min<int64_t>(edges[i + 1].X, Right);
            if (x1 <= x2)
                span(y, static_cast<int>(x1), static_cast<int>(x2));
        }
        for (int i = 0; i < FEdgeCount; ++i)
            Advance(edges[i]);
    }
}

template <class SpanFunction>
void TFastDraw::FillMonotone(const TPoint* points, int count, SpanFunction span) {
    int top = 0, topY = points[0].y, bottomY = points[0].y;
    for (int i = 1; i < count; ++i) {
        if (points[i].y < topY) {
            top = i;
            topY = points[i].y;
        }
        bottomY = std::max(bottomY, points[i].y);
    }
    // Kept in locals: the pixels written could otherwise be taken to change them.
    const int left = Left, right = Right, bandTop = BandTop;
    const int first = std::max(Top, topY);
    const int last = std::min(std::min(Bottom, BandBottom), bottomY);
    // One side walks forward through the points from the top, the other
    // backward; each holds the edge it is on, from point From to point To.
    struct TSide {
        int From, To, Direction;
        TEdge Edge;
    };
    TSide sides[2];
    sides[0].From = sides[0].To = sides[1].From = sides[1].To = top;
    sides[0].Direction = 1;
    sides[1].Direction = -1;
    auto next = [count](int i, int direction) {
        i += direction;
        return i == count ? 0 : i < 0 ? count - 1 : i;
    };
    // Moves the side on to the edge that covers row y, entered on that row;
    // false when the side has reached the bottom.
    auto enter = [&](TSide& side, int y) {
        for (int steps = 0; steps < count; ++steps) {
            const int to = next(side.To, side.Direction);
            if (points[to].y < points[side.To].y)
                return false; // going up: past the bottom
            side.From = side.To;
            side.To = to;
            if (points[to].y > y) {
                StartEdge(side.Edge, points[side.From], points[to], std::max(y, points[side.From].y));
                return true;
            }
        }
        return false;
    };
    for (TSide& side : sides)
        if (!enter(side, first))
            return;
    for (int y = first;;) {
        // Rows down to the next point of either side need no look at the points.
        const int stop = std::min(std::min(points[sides[0].To].y, points[sides[1].To].y), last + 1);
        for (; y < stop && y < bandTop; ++y) { // rows above the band: stepped, not drawn
            Advance(sides[0].Edge);
            Advance(sides[1].Edge);
        }
        if (y < stop && sides[0].Edge.DX == 0 && sides[1].Edge.DX == 0) {
            // Two upright edges (the sides of walls): the same span on every row.
            const int64_t x1 = std::max<int64_t>(std::min(sides[0].Edge.X, sides[1].Edge.X), left);
            const int64_t x2 = std::min<int64_t>(std::max(sides[0].Edge.X, sides[1].Edge.X), right);
            if (x1 <= x2)
                for (; y < stop; ++y)
                    span(y, static_cast<int>(x1), static_cast<int>(x2));
            y = stop;
        }
        for (; y < stop; ++y) {
            const TEdge* a = &sides[0].Edge;
            const TEdge* b = &sides[1].Edge;
            if (b->X < a->X)
                std::swap(a, b);
            const int64_t x1 = std::max<int64_t>(a->X, left);
            const int64_t x2 = std::min<int64_t>(b->X, right);
            if (x1 <= x2)
                span(y, static_cast<int>(x1), static_cast<int>(x2));
            Advance(sides[0].Edge);
            Advance(sides[1].Edge);
        }
        if (y > last)
            return;
        for (TSide& side : sides)
            if (points[side.To].y <= y && !enter(side, y))
                return;
    }
}

inline void TFastDraw::StartEdge(TEdge& e, const TPoint& top, const TPoint& bottom, int y) {
    if (y == top.y) {
        e.X = top.x; // the slope formula gives exactly this on the top row
    } else {
        const double slope =
            (static_cast<double>(bottom.x) - top.x) / (static_cast<double>(bottom.y) - top.y);
        e.X = static_cast<int64_t>(std::floor(slope * (static_cast<double>(y) - top.y))) + top.x;
    }
    e.DX = std::llabs(static_cast<int64_t>(bottom.x) - top.x);
    e.DY = static_cast<int64_t>(bottom.y) - top.y;
    e.Error = 0;
    e.Step = bottom.x >= top.x ? 1 : -1;
    if (e.DX < e.DY) {
        e.Whole = 0;
        e.Rest = e.DX;
    } else {
        e.Whole = e.Step * (e.DX / e.DY);
        e.Rest = e.DX % e.DY;
    }
}

inline void TFastDraw::Advance(TEdge& e) {
    e.X += e.Whole;
    e.Error += e.Rest;
    if (e.Error >= e.DY) {
        e.X += e.Step;
        e.Error -= e.DY;
    }
}

template <class TPixel, class PlotFunction>
void TFastDraw::StepSegment(const TPoint& from, const TPoint& to, TPoint& clippedEnd,
                            PlotFunction plot) const {
    if (from.x < Left || from.x > Right || from.y < Top || from.y > Bottom || to.x < Left || to.x > Right ||
        to.y < Top || to.y > Bottom) {
        TLineRun run;
        if (ClipSegment(from, to, run, clippedEnd))
            RunLine(run, static_cast<TPixel*>(FRows[static_cast<size_t>(run.Y)]) + run.X, plot);
        return;
    }
    clippedEnd = to;
    const int rowLow = std::min(from.y, to.y), rowHigh = std::max(from.y, to.y);
    if (rowHigh < BandTop || rowLow > BandBottom)
        return;
    if (rowLow < BandTop || rowHigh > BandBottom) { // crosses the band's edge: each pixel's row is tested
        TLineRun run;
        TPoint end;
        ClipSegment(from, to, run, end);
        RunLine(run, static_cast<TPixel*>(FRows[static_cast<size_t>(run.Y)]) + run.X, plot);
        return;
    }
    StepInside<TPixel>(from, to, plot);
}

template <class TPixel, class PlotFunction>
void TFastDraw::StepInside(const TPoint& from, const TPoint& to, PlotFunction plot) const {
    // Inside the box every sum fits in 32 bits; the minor axis never leaves the
    // box before the last pixel, after which nothing more is stepped.
    const int adx = std::abs(to.x - from.x), ady = std::abs(to.y - from.y);
    int major, minor;
    std::ptrdiff_t majorOffset, minorOffset;
    if (ady < adx) {
        major = adx;
        minor = ady;
        majorOffset = to.x > from.x ? 1 : -1;
        minorOffset = to.y > from.y ? FPitch : -FPitch;
    } else {
        major = ady;
        minor = adx;
        majorOffset = to.y >= from.y ? FPitch : -FPitch;
        minorOffset = to.x >= from.x ? 1 : -1;
    }
    TPixel* p = static_cast<TPixel*>(FRows[static_cast<size_t>(from.y)]) + from.x;
    // Level, upright and diagonal lines step the same way every pixel.
    if (minor == 0 || minor == major) {
        const std::ptrdiff_t step = minor == 0 ? majorOffset : majorOffset + minorOffset;
        for (int left = major; left > 0; --left, p += step)
            plot(p);
        plot(p);
        return;
    }
    const int up = 2 * minor, down = 2 * minor - 2 * major;
    int term = 2 * minor - major;
    for (int left = major;; --left) {
        plot(p);
        if (left == 0)
            break;
        if (term < 0) {
            term += up;
        } else {
            p += minorOffset;
            term += down;
        }
        p += majorOffset;
    }
}

template <class TPixel, class PlotFunction>
void TFastDraw::RunLine(const TLineRun& run, TPixel* start, PlotFunction plot) const {
    // Offsets from the start pixel; only offsets inside the clip box are used.
    const std::ptrdiff_t majorOffset = run.XMajor ? run.MajorStep : run.MajorStep * FPitch;
    const std::ptrdiff_t minorOffset = run.XMajor ? run.MinorStep * FPitch : run.MinorStep;
    const int64_t up = 2 * run.Minor;
    const int64_t down = 2 * run.Minor - 2 * run.Major;
    int64_t term = 2 * run.Minor - run.Major;
    int minor = run.XMajor ? run.Y : run.X;
    std::ptrdiff_t offset = 0;
    const bool wholeBand = BandTop <= Top && BandBottom >= Bottom;
    int64_t row = run.Y; // the row of the pixel, followed only for bands
    const int majorRows = run.XMajor ? 0 : run.MajorStep;
    for (int64_t i = 0; i < run.Count; ++i) {
        if (wholeBand || (row >= BandTop && row <= BandBottom))
            plot(start + offset);
        if (term < 0) {
            term += up;
        } else {
            minor += run.MinorStep;
            if (minor < run.MinorLow || minor > run.MinorHigh)
                break;
            offset += minorOffset;
            term += down;
            if (run.XMajor)
                row += run.MinorStep;
        }
        offset += majorOffset;
        row += majorRows;
    }
}
