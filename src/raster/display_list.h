#pragma once
// Drawing recorded for later: the polygons and lines a pass sends to the
// 32-bit rasteriser, with their colours as pixel values, kept in order so that
// they can be drawn afterwards, band by band on several threads, into exactly
// the pixels drawing them at once would give.
//
// A pass may be recorded in parts (consecutive runs of its stones, one list
// each, on threads of their own). What a part takes over from the parts
// before it, the pixel operation of lines and the pen position, is filled in
// by LinkParts once every part is recorded.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/point.h"
#include "raster/fast_draw.h"

class TFastDraw32;

struct TDisplayCommand {
    enum TKind : uint8_t {
        Polygon, // filled (when Filled) and outlined, closed
        Chain,   // segments from each point to the next
        Segment, // one line
        Ellipse  // the canvas's ellipse in the box of its two points, Pen and Brush as colours
    };
    TKind Kind = Segment;
    bool Filled = false;
    bool Blend = false;          // mixed half-and-half with the pixels below, else written
    bool TakesOperation = false; // lines before the part's first polygon: their operation is the part's start
    bool TakesPen = false;       // a line from the pen position the part started with
    TBrushStyle Style = bsSolid; // an ellipse's brush
    uint32_t Pen = 0, Brush = 0; // pixel values
    // Lines that are clipped (clipping each end on its own can step a row
    // beyond their ends) or start at a pen position not known yet may touch
    // every row of the clip box.
    bool AnyRow = false;
    int32_t First = 0; // its points: Points[First .. First + Count - 1]
    int32_t Count = 0;
    // The box around its points.
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TDisplayList {
public:
    std::vector<TDisplayCommand> Commands;
    std::vector<TPoint> Points;
    // Where the part leaves the rasteriser, when it changes it.
    bool SetsOperation = false;
    bool FinalBlend = false;
    bool SetsPen = false;
    TPoint FinalPen{0, 0};

    // Empties the list, keeping its memory for the next pass.
    void Clear();
};

// Records what a draw object's rasteriser operations would draw into a 32-bit
// picture of the given size. Colours and styles are read from the canvas of
// `canvasHolder` (a bitmap of the recorder's own), as the rasteriser reads
// them from its picture's canvas.
class TDisplayRecorder final : public TFastDraw {
public:
    TDisplayRecorder(TBitmap& canvasHolder, int width, int height, TDisplayList& list);

    void PrepareRows() override;
    void Segment(const TPoint& from, const TPoint& to) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void Polygon(const TPoint* points, int high) override;
    void Polyline(const TPoint* points, int high) override;
    void ClosedPolyline(const TPoint* points, int high) override;
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);

private:
    bool Inside(const TPoint& p) const { return p.x >= Left && p.x <= Right && p.y >= Top && p.y <= Bottom; }
    TDisplayCommand& Add(TDisplayCommand::TKind kind, const TPoint* points, int count);
    void SetPen(const TPoint& at);

    int FWidth, FHeight;
    TDisplayList& FList;
};

// Fills in what each part takes over from the parts before it; the first part
// starts with the given pixel operation and pen position. Returns where the
// last part leaves the pen.
TPoint LinkParts(const std::vector<TDisplayList*>& parts, bool startBlend, const TPoint& startPen);

// Draws the parts in order with the rasteriser, within its band of rows;
// ellipses, which the canvas draws into every row of the picture, also into
// the first and last rows for the top and bottom bands.
// Progress, when given, is told now and then the share of the commands done.
void ReplayParts(const std::vector<TDisplayList*>& parts, TFastDraw32& rasteriser,
                 const std::function<void(double done)>& progress = nullptr);

// Adds the work of drawing the part to each row of a picture of the given
// height (work has a place per row), roughly in pixel steps, for cutting the
// picture into bands of equal work.
void AddRowWork(const TDisplayList& part, std::vector<double>& work);
