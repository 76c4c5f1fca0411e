#pragma once
// The drawing surface of a bitmap, a window or a printer page: pen, brush, font
// and pen position, and the drawing operations the program uses. The pixels are
// drawn by Qt with antialiasing off and a one-pixel pen; like the Windows canvas,
// rectangles and ellipses leave out their right and bottom bounds, and lines leave
// out their last pixel.
//
// The header names Qt classes only as opaque pointers, so code outside the
// platform layer can use a canvas without seeing Qt.

#include "common/color.h"
#include "platform/point.h"

#include <memory>
#include <string>

class QPaintDevice;
class QPainter;
class TBitmap;

enum TBrushStyle { bsSolid, bsClear, bsDiagCross };

struct TPen {
    TColor Color = clBlack;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

// Name "Courier New" selects the system's fixed-pitch font; any other name (or
// none) selects the default user-interface font. Size is in points.
struct TFont {
    std::string Name;
    int Size = 8;
    TColor Color = clBlack;
};

class TCanvas {
public:
    // A canvas on a paint device (an image, a widget during its paint event, a
    // printer). A painter is opened on the first drawing operation and kept open
    // until Refresh or destruction.
    explicit TCanvas(QPaintDevice* device);
    // A canvas drawing through a painter that the caller has begun and keeps.
    explicit TCanvas(QPainter* painter);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TPoint PenPos;

    // The point of the drawing coordinates that falls on the top-left pixel of
    // the device, (0, 0) unless set: a bitmap holding a band of rows of a
    // taller picture is drawn on, and copied from, in the picture's
    // coordinates. A canvas on a caller's painter keeps the painter's own.
    void SetOrigin(const TPoint& origin);
    TPoint Origin() const;

    // Copies the Source rectangle of another canvas's picture into Dest, stretched
    // to fit. The source must be a bitmap's canvas or an image canvas.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
    // Copies a bitmap with its top-left corner at (x, y).
    void Draw(int x, int y, const TBitmap& graphic);
    // Copies a bitmap with its top-left corner at (x, y), leaving out the
    // pixels of the transparent colour.
    void DrawTransparent(int x, int y, const TBitmap& graphic, TColor transparent);
    // Outlines with the pen and fills with the brush the ellipse inside the box.
    void Ellipse(int x1, int y1, int x2, int y2);
    // Fills the rectangle with the brush, without outline.
    void FillRect(const TRect& rect);
    // Draws a one-pixel border inside the rectangle with the brush.
    void FrameRect(const TRect& rect);
    // Draws a pen line from PenPos up to (not including) (x, y) and moves PenPos there.
    void LineTo(int x, int y);
    void MoveTo(int x, int y);
    // Fills (odd-even rule) and outlines the polygon of points[0 .. high].
    void Polygon(const TPoint* points, int high);
    // Draws the open chain points[0 .. high] with the pen; PenPos is not changed.
    void Polyline(const TPoint* points, int high);
    // Outlines with the pen and fills with the brush the box from (x1, y1) up to
    // (x2, y2) exclusive.
    void Rectangle(int x1, int y1, int x2, int y2);
    // Finishes all drawing so far: the pixels of the device are complete and the
    // painter is closed until the next operation.
    void Refresh();
    // Copies a bitmap scaled into the rectangle (nearest pixel, no smoothing).
    void StretchDraw(const TRect& rect, const TBitmap& graphic);

    // The text operations need the desktop layer (a QGuiApplication) for fonts;
    // without one they raise EError.
    int TextHeight(const std::string& text);
    // Writes text with its top-left corner at (x, y) in the font colour, on the
    // brush colour when the brush is solid; PenPos moves to the end of the text.
    void TextOut(int x, int y, const std::string& text);
    // Writes text at (x, y) clipped to rect; a solid brush first fills rect.
    void TextRect(const TRect& rect, int x, int y, const std::string& text);
    int TextWidth(const std::string& text);

private:
    friend class TBitmap;
    // Outlines and fills a rectangle or the ellipse inside it.
    void BoxShape(int x1, int y1, int x2, int y2, bool ellipse);
    explicit TCanvas(TBitmap& owner);
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};
