// Which back end each operation of a draw object reaches, and what that changes.

#include "common/error.h"
#include "raster/draw_object.h"
#include "raster_test_support.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

const void* Of(const void* p) {
    return p;
}

// The operations bound to the canvas on every back end.
void ExpectCanvasOperations(const TDrawObject& d, const TCanvas& canvas) {
    EXPECT_EQ(d.CopyRect.Target(), Of(&canvas));
    EXPECT_EQ(d.Draw.Target(), Of(&canvas));
    EXPECT_EQ(d.FillRect.Target(), Of(&canvas));
    EXPECT_EQ(d.FrameRect.Target(), Of(&canvas));
    EXPECT_EQ(d.Refresh.Target(), Of(&canvas));
    EXPECT_EQ(d.StretchDraw.Target(), Of(&canvas));
    EXPECT_EQ(d.TextHeight.Target(), Of(&canvas));
    EXPECT_EQ(d.TextOut.Target(), Of(&canvas));
    EXPECT_EQ(d.TextRect.Target(), Of(&canvas));
    EXPECT_EQ(d.TextWidth.Target(), Of(&canvas));
}

} // namespace

TEST(DrawObject, RasteriserFormatsBindTheSixSceneOperationsToTheRasteriser) {
    for (TPixelFormat pf : {pf15bit, pf16bit, pf32bit}) {
        TBitmap b(6, 5, pf);
        TDrawObject d(b);
        ASSERT_NE(d.FastDraw(), nullptr) << FormatName(pf);
        EXPECT_EQ(&d.Canvas(), &b.Canvas());
        EXPECT_EQ(&d.FastDraw()->Bitmap(), &b);
        const void* r = d.FastDraw();
        EXPECT_EQ(d.Line.Target(), r);
        EXPECT_EQ(d.LineTo.Target(), r);
        EXPECT_EQ(d.MoveTo.Target(), r);
        EXPECT_EQ(d.Polygon.Target(), r);
        EXPECT_EQ(d.Polyline.Target(), r);
        EXPECT_EQ(d.Rectangle.Target(), r);
        // 32-bit pictures have their ellipses stepped by the rasteriser too.
        EXPECT_EQ(d.Ellipse.Target(), pf == pf32bit ? r : Of(&b.Canvas()));
        ExpectCanvasOperations(d, b.Canvas());
    }
}

TEST(DrawObject, OtherFormatsAndPlainCanvasesDrawEverythingOnTheCanvas) {
    TBitmap raster(6, 5, pf32bit);
    for (TPixelFormat pf : {pfDevice, pf8bit, pf24bit}) {
        TBitmap b(6, 5, pf);
        TDrawObject d(b);
        EXPECT_EQ(d.FastDraw(), nullptr);
        EXPECT_EQ(d.Line.Target(), Of(&d)); // MoveTo and LineTo of the canvas
        EXPECT_EQ(d.LineTo.Target(), Of(&b.Canvas()));
        EXPECT_EQ(d.MoveTo.Target(), Of(&b.Canvas()));
        EXPECT_EQ(d.Polygon.Target(), Of(&b.Canvas()));
        EXPECT_EQ(d.Polyline.Target(), Of(&b.Canvas()));
        EXPECT_EQ(d.Rectangle.Target(), Of(&b.Canvas()));
        EXPECT_EQ(d.Ellipse.Target(), Of(&b.Canvas()));
        ExpectCanvasOperations(d, b.Canvas());
    }
    TDrawObject onCanvas(raster.Canvas());
    EXPECT_EQ(onCanvas.FastDraw(), nullptr);
    EXPECT_EQ(onCanvas.Polygon.Target(), Of(&raster.Canvas()));
}

TEST(DrawObject, RasteriserAndCanvasDrawTheirOwnPixels) {
    TBitmap b(8, 6, pf32bit);
    FillRaw(b, 0xFFFFFF);
    {
        TDrawObject canvasPath(b.Canvas());
        canvasPath.Canvas().Pen.Color = clBlack;
        canvasPath.Line(1, 1, 4, 1); // the canvas leaves out the last pixel
        EXPECT_EQ(canvasPath.Canvas().PenPos, Point(4, 1));
    }
    {
        TDrawObject rasterPath(b);
        rasterPath.Line(1, 2, 4, 2); // the rasteriser includes it
        EXPECT_EQ(rasterPath.Canvas().PenPos, Point(4, 2));
    }
    EXPECT_EQ(RawPixel(b, 3, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(RawPixel(b, 4, 1) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(RawPixel(b, 4, 2), 0u);
}

TEST(DrawObject, DiagonalCrossMixesOnTheRasteriserAndHatchesOnTheCanvas) {
    for (TPixelFormat pf : {pf24bit, pf32bit}) {
        TBitmap b(12, 12, pf);
        b.Canvas().Brush.Color = clWhite;
        b.Canvas().FillRect(Rect(0, 0, 12, 12));
        TDrawObject d(b);
        d.Canvas().Pen.Color = clBlack;
        d.Canvas().Brush.Color = clBlack;
        d.Canvas().Brush.Style = bsDiagCross;
        d.Rectangle(1, 1, 11, 11);
        const QImage image = b.ToImage();
        int white = 0, black = 0, mixed = 0;
        for (int y = 3; y < 9; ++y)
            for (int x = 3; x < 9; ++x) {
                const QRgb p = image.pixel(x, y) & 0xFFFFFF;
                white += p == 0xFFFFFF;
                black += p == 0;
                mixed += p == 0x7F7F7F;
            }
        if (pf == pf32bit) {
            EXPECT_EQ(mixed, 36);
        } else {
            EXPECT_EQ(mixed, 0);
            EXPECT_GT(white, 0);
            EXPECT_GT(black, 0);
            EXPECT_EQ(white + black, 36);
        }
    }
}

TEST(DrawObject, TheOtherOperationsReachTheCanvasOnRasterBitmaps) {
    TBitmap b(8, 6, pf16bit);
    TDrawObject d(b);
    d.Canvas().Brush.Color = clWhite;
    d.FillRect(Rect(0, 0, 8, 6)); // the whole picture, first column and row included
    EXPECT_EQ(RawPixel(b, 0, 0), 0xFFFFu);
    EXPECT_EQ(RawPixel(b, 7, 5), 0xFFFFu);
    d.Canvas().Brush.Color = clBlack;
    d.FrameRect(Rect(0, 0, 8, 6));
    EXPECT_EQ(RawPixel(b, 0, 3), 0u);
    EXPECT_EQ(RawPixel(b, 1, 3), 0xFFFFu);
    TBitmap small(2, 1, pf32bit);
    small.Canvas().Brush.Color = clRed;
    small.Canvas().FillRect(Rect(0, 0, 2, 1));
    d.Draw(3, 3, small);
    EXPECT_EQ(RawPixel(b, 4, 3), 0xF800u);
    d.StretchDraw(Rect(0, 5, 8, 6), small);
    EXPECT_EQ(RawPixel(b, 7, 5), 0xF800u);
    d.Refresh();
    EXPECT_THROW(d.TextWidth("x"), EError); // the canvas needs the desktop application for text
}
