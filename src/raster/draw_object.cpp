#include "raster/draw_object.h"

#include "raster/fast_draw_15.h"
#include "raster/fast_draw_32.h"

#include <type_traits>

TDrawObject::TDrawObject(TCanvas& canvas) : FCanvas(&canvas) {
    BindCanvas();
}

TDrawObject::TDrawObject(TBitmap& bitmap) : TDrawObject(bitmap, TPictureBand{}) {}

TDrawObject::TDrawObject(TBitmap& bitmap, const TPictureBand& held) : FCanvas(&bitmap.Canvas()) {
    if (held.Height > 0)
        bitmap.Canvas().SetOrigin(TPoint{0, held.Top});
    BindCanvas();
    switch (bitmap.PixelFormat()) {
    case pf15bit:
        BindRasteriser(std::make_unique<TFastDraw15>(bitmap, false, held));
        break;
    case pf16bit:
        BindRasteriser(std::make_unique<TFastDraw15>(bitmap, true, held));
        break;
    case pf32bit:
        BindRasteriser(std::make_unique<TFastDraw32>(bitmap, held));
        break;
    case pfDevice:
    case pf8bit:
    case pf24bit:
        break;
    }
}

TDrawObject::TDrawObject(TBitmap& bitmap, std::unique_ptr<TDisplayRecorder> recorder)
    : FCanvas(&bitmap.Canvas()) {
    BindCanvas();
    Ellipse = decltype(Ellipse)::To<&TDisplayRecorder::Ellipse>(*recorder);
    BindRasteriser(std::move(recorder));
}

TDrawObject::~TDrawObject() = default;

void TDrawObject::BindCanvas() {
    TCanvas& c = *FCanvas;
    CopyRect = decltype(CopyRect)::To<&TCanvas::CopyRect>(c);
    Draw = decltype(Draw)::To<&TCanvas::Draw>(c);
    Ellipse = decltype(Ellipse)::To<&TCanvas::Ellipse>(c);
    FillRect = decltype(FillRect)::To<&TCanvas::FillRect>(c);
    FrameRect = decltype(FrameRect)::To<&TCanvas::FrameRect>(c);
    Line = decltype(Line)::To<&TDrawObject::CanvasLine>(*this);
    LineTo = decltype(LineTo)::To<&TCanvas::LineTo>(c);
    MoveTo = decltype(MoveTo)::To<&TCanvas::MoveTo>(c);
    Polygon = decltype(Polygon)::To<&TCanvas::Polygon>(c);
    Polyline = decltype(Polyline)::To<&TCanvas::Polyline>(c);
    Rectangle = decltype(Rectangle)::To<&TCanvas::Rectangle>(c);
    Refresh = decltype(Refresh)::To<&TCanvas::Refresh>(c);
    StretchDraw = decltype(StretchDraw)::To<&TCanvas::StretchDraw>(c);
    TextHeight = decltype(TextHeight)::To<&TCanvas::TextHeight>(c);
    TextOut = decltype(TextOut)::To<&TCanvas::TextOut>(c);
    TextRect = decltype(TextRect)::To<&TCanvas::TextRect>(c);
    TextWidth = decltype(TextWidth)::To<&TCanvas::TextWidth>(c);
}

template <class TRasteriser> void TDrawObject::BindRasteriser(std::unique_ptr<TRasteriser> rasteriser) {
    TRasteriser& r = *rasteriser;
    Line = decltype(Line)::To<&TRasteriser::Line>(r);
    LineTo = decltype(LineTo)::To<&TRasteriser::LineTo>(r);
    MoveTo = decltype(MoveTo)::To<&TRasteriser::MoveTo>(r);
    Polygon = decltype(Polygon)::To<&TRasteriser::Polygon>(r);
    Polyline = decltype(Polyline)::To<&TRasteriser::Polyline>(r);
    Rectangle = decltype(Rectangle)::To<&TRasteriser::Rectangle>(r);
    if constexpr (std::is_same_v<TRasteriser, TFastDraw32>)
        Ellipse = decltype(Ellipse)::To<&TFastDraw32::Ellipse>(r);
    FFastDraw = std::move(rasteriser);
}

void TDrawObject::CanvasLine(int x1, int y1, int x2, int y2) {
    FCanvas->MoveTo(x1, y1);
    FCanvas->LineTo(x2, y2);
}
