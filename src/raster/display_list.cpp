#include "raster/display_list.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "platform/canvas.h"
#include "platform/rows_canvas.h"
#include "raster/fast_draw_32.h"

void TDisplayList::Clear() {
    Commands.clear();
    Points.clear();
    SetsOperation = false;
    FinalBlend = false;
    SetsPen = false;
    FinalPen = TPoint{0, 0};
}

TDisplayRecorder::TDisplayRecorder(TBitmap& canvasHolder, int width, int height, TDisplayList& list)
    : TFastDraw(canvasHolder), FWidth(width), FHeight(height), FList(list) {
    PrepareRows();
}

void TDisplayRecorder::PrepareRows() {
    // The clip box of the picture drawn later; the recorder itself writes no pixels.
    Left = 1;
    Top = 1;
    Right = FWidth - 1;
    Bottom = FHeight - 2;
    BandTop = Top;
    BandBottom = Bottom;
}

void TDisplayRecorder::SetPen(const TPoint& at) {
    FCanvas.PenPos = at;
    FList.SetsPen = true;
    FList.FinalPen = at;
}

TDisplayCommand& TDisplayRecorder::Add(TDisplayCommand::TKind kind, const TPoint* points, int count) {
    TDisplayCommand& c = FList.Commands.emplace_back();
    c.Kind = kind;
    c.Blend = FList.FinalBlend;
    c.TakesOperation = !FList.SetsOperation;
    c.Pen = TFastDraw32::PixelValue(FCanvas.Pen.Color);
    c.First = static_cast<int32_t>(FList.Points.size());
    c.Count = count;
    c.Left = c.Right = points[0].x;
    c.Top = c.Bottom = points[0].y;
    for (int i = 1; i < count; ++i) {
        c.Left = std::min(c.Left, points[i].x);
        c.Right = std::max(c.Right, points[i].x);
        c.Top = std::min(c.Top, points[i].y);
        c.Bottom = std::max(c.Bottom, points[i].y);
    }
    c.AnyRow = c.Left < Left || c.Right > Right || c.Top < Top || c.Bottom > Bottom;
    FList.Points.insert(FList.Points.end(), points, points + count);
    return c;
}

void TDisplayRecorder::Segment(const TPoint& from, const TPoint& to) {
    const TPoint ends[2] = {from, to};
    Add(TDisplayCommand::Segment, ends, 2);
}

void TDisplayRecorder::Line(int x1, int y1, int x2, int y2) {
    const TPoint from{x1, y1}, to{x2, y2};
    Segment(from, to);
    // The pen moves to the end as clipping moves it.
    TPoint end = to;
    if (!Inside(from) || !Inside(to)) {
        TLineRun run;
        ClipSegment(from, to, run, end);
    }
    SetPen(end);
}

void TDisplayRecorder::Polygon(const TPoint* points, int high) {
    const TBrushStyle style = FCanvas.Brush.Style;
    FList.SetsOperation = true;
    FList.FinalBlend = style == bsDiagCross;
    if (points == nullptr || high < 0)
        return;
    TDisplayCommand& c = Add(TDisplayCommand::Polygon, points, high + 1);
    c.Filled = high >= 2 && style != bsClear;
    c.Brush = TFastDraw32::PixelValue(FCanvas.Brush.Color);
    SetPen(points[high]);
}

void TDisplayRecorder::Polyline(const TPoint* points, int high) {
    if (points == nullptr || high < 0)
        return;
    if (high > 0)
        Add(TDisplayCommand::Chain, points, high + 1);
    SetPen(points[high]);
}

void TDisplayRecorder::ClosedPolyline(const TPoint* points, int high) {
    if (points == nullptr || high < 0)
        return;
    Add(TDisplayCommand::Polygon, points, high + 1); // an outline only, with the pixel operation kept
    SetPen(points[0]);
}

void TDisplayRecorder::MoveTo(int x, int y) {
    SetPen(TPoint{x, y});
}

void TDisplayRecorder::LineTo(int x, int y) {
    const bool takesPen = !FList.SetsPen;
    const TPoint ends[2] = {FCanvas.PenPos, TPoint{x, y}};
    TDisplayCommand& c = Add(TDisplayCommand::Segment, ends, 2);
    if (takesPen) {
        c.TakesPen = true;
        c.AnyRow = true;
    }
    SetPen(TPoint{x, y});
}

void TDisplayRecorder::Rectangle(int x1, int y1, int x2, int y2) {
    const TPoint corners[4] = {{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}};
    Polygon(corners, 3);
}

void TDisplayRecorder::Ellipse(int x1, int y1, int x2, int y2) {
    TDisplayCommand& c = FList.Commands.emplace_back();
    c.Kind = TDisplayCommand::Ellipse;
    c.Pen = FCanvas.Pen.Color;
    c.Brush = FCanvas.Brush.Color;
    c.Style = FCanvas.Brush.Style;
    c.First = static_cast<int32_t>(FList.Points.size());
    c.Count = 2;
    c.Left = std::min(x1, x2);
    c.Right = std::max(x1, x2);
    c.Top = std::min(y1, y2);
    c.Bottom = std::max(y1, y2);
    FList.Points.push_back(TPoint{x1, y1});
    FList.Points.push_back(TPoint{x2, y2});
}

TPoint LinkParts(const std::vector<TDisplayList*>& parts, bool startBlend, const TPoint& startPen) {
    bool blend = startBlend;
    TPoint pen = startPen;
    for (TDisplayList* part : parts) {
        for (TDisplayCommand& c : part->Commands) {
            if (c.TakesOperation)
                c.Blend = blend;
            if (c.TakesPen) {
                TPoint& from = part->Points[static_cast<size_t>(c.First)];
                from = pen;
                const TPoint& to = part->Points[static_cast<size_t>(c.First) + 1];
                c.Left = std::min(from.x, to.x);
                c.Right = std::max(from.x, to.x);
                c.Top = std::min(from.y, to.y);
                c.Bottom = std::max(from.y, to.y);
            }
        }
        if (part->SetsOperation)
            blend = part->FinalBlend;
        if (part->SetsPen)
            pen = part->FinalPen;
    }
    return pen;
}

void ReplayParts(const std::vector<TDisplayList*>& parts, TFastDraw32& rasteriser,
                 const std::function<void(double done)>& progress) {
    size_t total = 0, done = 0;
    if (progress)
        for (const TDisplayList* part : parts)
            total += part->Commands.size();
    const int bandTop = rasteriser.BandTop, bandBottom = rasteriser.BandBottom;
    const int left = rasteriser.Left, right = rasteriser.Right;
    const int width = rasteriser.Bitmap().Width();
    const int canvasTop = rasteriser.CanvasTop(), canvasBottom = rasteriser.CanvasBottom();
    std::unique_ptr<TRowsCanvas> canvas; // made at the first ellipse
    for (const TDisplayList* part : parts) {
        const TPoint* points = part->Points.data();
        for (const TDisplayCommand& c : part->Commands) {
            if (progress && ++done % 4096 == 0)
                progress(static_cast<double>(done) / static_cast<double>(total));
            const TPoint* p = points + c.First;
            if (c.Kind == TDisplayCommand::Ellipse) {
                // The canvas draws into the whole bitmap, inside the box.
                if (c.Bottom < canvasTop || c.Top > canvasBottom || canvasTop > canvasBottom || c.Right < 0 ||
                    c.Left >= width)
                    continue;
                if (rasteriser.EllipseWith(p[0].x, p[0].y, p[1].x, p[1].y, c.Pen, c.Brush, c.Style, canvasTop,
                                           canvasBottom))
                    continue;
                if (!canvas)
                    canvas = std::make_unique<TRowsCanvas>(
                        rasteriser.RowAddress(canvasTop), rasteriser.Bitmap().Width(),
                        canvasBottom - canvasTop + 1,
                        rasteriser.Pitch() * static_cast<std::ptrdiff_t>(sizeof(uint32_t)), canvasTop);
                canvas->Ellipse(p[0].x, p[0].y, p[1].x, p[1].y, c.Pen, TBrush{c.Brush, c.Style});
                continue;
            }
            // Nothing is drawn outside the clip box, and nothing of a polygon or
            // of a line that is not clipped outside the rows of its points.
            if (c.Right < left || c.Left > right || (!c.AnyRow && (c.Bottom < bandTop || c.Top > bandBottom)))
                continue;
            if (c.Filled)
                rasteriser.FillWith(p, c.Count, c.Brush, c.Blend);
            rasteriser.StrokeChainWith(p, c.Count, c.Kind == TDisplayCommand::Polygon, c.Pen, c.Blend);
        }
    }
}

void AddRowWork(const TDisplayList& part, std::vector<double>& work) {
    // Each command's work is spread evenly over its rows inside the picture,
    // through a difference array: a span costs a fixed part and its pixels, a
    // line its pixels, an ellipse its painter's set-up and spans.
    const int height = static_cast<int>(work.size());
    std::vector<double> change(work.size() + 1, 0.0);
    for (const TDisplayCommand& c : part.Commands) {
        const int first = std::max(c.Top, 0), last = std::min(c.Bottom, height - 1);
        if (first > last)
            continue;
        const double rows = static_cast<double>(c.Bottom) - c.Top + 1;
        const double across = std::min(static_cast<double>(c.Right) - c.Left, 4.0 * height);
        double perRow;
        if (c.Kind == TDisplayCommand::Ellipse) {
            perRow = 200.0 / rows + 40.0 + across / 2.0;
        } else {
            perRow = (4.0 * c.Count + std::max(across, rows) * c.Count / 2) / rows;
            if (c.Filled)
                perRow += 8.0 + across / 4.0;
        }
        change[static_cast<size_t>(first)] += perRow;
        change[static_cast<size_t>(last) + 1] -= perRow;
    }
    double running = 0;
    for (size_t row = 0; row < work.size(); ++row) {
        running += change[row];
        work[row] += running;
    }
}
