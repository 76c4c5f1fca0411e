#pragma once
// The drawing interface every draw routine gets: the operations of the canvas,
// each bound once, at construction, to the back end that carries it out. On a
// 15-, 16- or 32-bit bitmap the six operations the scene uses most (Line, LineTo,
// MoveTo, Polygon, Polyline, Rectangle) go to the software rasteriser; everything
// else, and everything on other bitmaps and on plain canvases, goes to the canvas.
// A call is one indirect call, with no test of the back end.
//
// Colours and styles are set on Canvas() (Pen.Color, Brush.Color, Brush.Style) for
// both back ends. On the rasteriser a polygon filled with brush style bsDiagCross
// is blended half-and-half with what lies below instead of hatched.

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/point.h"
#include "raster/bound_method.h"
#include "raster/display_list.h"
#include "raster/fast_draw.h"

#include <memory>
#include <string>

class TDrawObject {
public:
    // Draws on a canvas (the screen, the printer): no rasteriser.
    explicit TDrawObject(TCanvas& canvas);
    // Draws on a bitmap: through the rasteriser for 15-, 16- and 32-bit pixels.
    // The bitmap must keep its size and format while the draw object lives.
    explicit TDrawObject(TBitmap& bitmap);
    // Draws on a bitmap that holds a band of rows of a taller picture, in the
    // picture's coordinates: the same pixels as drawing the whole picture, in
    // the band's rows. Sets the origin of the bitmap's canvas to the band's top.
    TDrawObject(TBitmap& bitmap, const TPictureBand& held);
    // Records what the rasteriser operations draw; everything else goes to
    // the canvas of `bitmap`, whose colours and styles the recorder reads.
    TDrawObject(TBitmap& bitmap, std::unique_ptr<TDisplayRecorder> recorder);
    ~TDrawObject();
    TDrawObject(const TDrawObject&) = delete;
    TDrawObject& operator=(const TDrawObject&) = delete;

    TCanvas& Canvas() const { return *FCanvas; }
    // The rasteriser, or none when everything goes to the canvas.
    TFastDraw* FastDraw() const { return FFastDraw.get(); }

    // The bound operations, called like methods: Draw.Polygon(points, high).
    TBoundMethod<void(const TRect&, TCanvas&, const TRect&)> CopyRect;
    TBoundMethod<void(int, int, const TBitmap&)> Draw;
    TBoundMethod<void(int, int, int, int)> Ellipse;
    TBoundMethod<void(const TRect&)> FillRect;
    TBoundMethod<void(const TRect&)> FrameRect;
    TBoundMethod<void(int, int, int, int)> Line;
    TBoundMethod<void(int, int)> LineTo;
    TBoundMethod<void(int, int)> MoveTo;
    TBoundMethod<void(const TPoint*, int)> Polygon;
    TBoundMethod<void(const TPoint*, int)> Polyline;
    TBoundMethod<void(int, int, int, int)> Rectangle;
    TBoundMethod<void()> Refresh;
    TBoundMethod<void(const TRect&, const TBitmap&)> StretchDraw;
    TBoundMethod<int(const std::string&)> TextHeight;
    TBoundMethod<void(int, int, const std::string&)> TextOut;
    TBoundMethod<void(const TRect&, int, int, const std::string&)> TextRect;
    TBoundMethod<int(const std::string&)> TextWidth;

private:
    void BindCanvas();
    template <class TRasteriser> void BindRasteriser(std::unique_ptr<TRasteriser> rasteriser);
    // The canvas path of Line: MoveTo the start, LineTo the end.
    void CanvasLine(int x1, int y1, int x2, int y2);

    std::unique_ptr<TFastDraw> FFastDraw;
    TCanvas* FCanvas;
};
