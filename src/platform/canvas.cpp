#include "platform/canvas.h"

#include "platform/box_shape.h"

#include "common/error.h"
#include "platform/bitmap.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// A cosmetic one-pixel pen; flat caps leave out the last pixel of an open line.
QPen MakePen(TColor color) {
    QPen pen(ToQColor(color));
    pen.setWidth(1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QBrush MakeBrush(const TBrush& brush) {
    switch (brush.Style) {
    case bsClear:
        return QBrush(Qt::NoBrush);
    case bsDiagCross:
        return QBrush(ToQColor(brush.Color), Qt::DiagCrossPattern);
    case bsSolid:
        break;
    }
    return QBrush(ToQColor(brush.Color));
}

QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// Orders the corners so the box runs from (x1, y1) to (x2, y2) with x1 <= x2, y1 <= y2.
void OrderBox(int& x1, int& y1, int& x2, int& y2) {
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
}

void RequireFonts() {
    if (QGuiApplication::instance() == nullptr)
        throw EError("Text drawing needs the desktop application to be running");
}

QFont MakeFont(const TFont& font) {
    RequireFonts();
    const bool fixedPitch =
        QString::fromUtf8(font.Name).compare(QStringLiteral("Courier New"), Qt::CaseInsensitive) == 0;
    QFont result = fixedPitch ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QGuiApplication::font();
    result.setPointSize(font.Size > 0 ? font.Size : 8);
    return result;
}

} // namespace

struct TCanvas::TImpl {
    QPaintDevice* Device = nullptr; // painted on through Painter
    QPainter* External = nullptr;   // the caller's painter, used as it is
    TBitmap* Owner = nullptr;       // the bitmap whose canvas this is
    QPainter Painter;               // opened on the first operation, kept until Refresh
    TPoint Origin;                  // of the drawing coordinates, on the device's top-left pixel

    // The painter to draw with, or none when there is nothing to draw on.
    QPainter* Begin() {
        QPainter* painter = External;
        if (painter == nullptr) {
            if (!Painter.isActive()) {
                QPaintDevice* device = Owner != nullptr ? Owner->BeginCanvasChange() : Device;
                if (device == nullptr || !Painter.begin(device))
                    return nullptr;
                // Whole pixels: every shape lands on the pixels it has drawn at
                // the origin, and hatching stays lined up with the picture.
                if (Origin != TPoint{0, 0})
                    Painter.translate(-Origin.x, -Origin.y);
            }
            painter = &Painter;
        }
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter->setClipping(false);
        return painter;
    }

    void Changed() {
        if (Owner != nullptr)
            Owner->CanvasChanged();
    }

    void End() {
        if (Painter.isActive())
            Painter.end();
    }

    // The device text is measured for.
    QPaintDevice* MetricsDevice() {
        if (External != nullptr)
            return External->device();
        if (Owner != nullptr)
            return Owner->Width() > 0 && Owner->Height() > 0 ? Owner->BeginCanvasChange() : nullptr;
        return Device;
    }

    // The finished picture of this canvas, to copy from.
    QImage Picture() {
        if (Owner != nullptr)
            return Owner->SourcePicture();
        End();
        QPaintDevice* device = External != nullptr ? External->device() : Device;
        if (device == nullptr || device->devType() != QInternal::Image)
            throw EError("Cannot copy from this canvas");
        return *static_cast<QImage*>(device);
    }

    // The picture of a bitmap to draw here; a copy when it is this canvas's own.
    QImage SourceOf(const TBitmap& graphic) {
        if (&graphic == Owner) {
            End();
            return Owner->SourcePicture().copy();
        }
        return graphic.SourcePicture();
    }
};

TCanvas::TCanvas(QPaintDevice* device) : FImpl(std::make_unique<TImpl>()) {
    FImpl->Device = device;
}

TCanvas::TCanvas(QPainter* painter) : FImpl(std::make_unique<TImpl>()) {
    FImpl->External = painter;
}

TCanvas::TCanvas(TBitmap& owner) : FImpl(std::make_unique<TImpl>()) {
    FImpl->Owner = &owner;
}

TCanvas::~TCanvas() {
    FImpl->End();
}

void TCanvas::SetOrigin(const TPoint& origin) {
    if (origin == FImpl->Origin)
        return;
    FImpl->End(); // the next operation begins the painter at the new origin
    FImpl->Origin = origin;
}

TPoint TCanvas::Origin() const {
    return FImpl->Origin;
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    if (dest.Width() <= 0 || dest.Height() <= 0 || sourceRect.Width() <= 0 || sourceRect.Height() <= 0)
        return;
    QImage picture = source.FImpl->Picture();
    if (&source == this)
        picture = picture.copy();
    QPainter* p = FImpl->Begin();
    if (p == nullptr)
        return;
    p->setCompositionMode(QPainter::CompositionMode_Source);
    const TPoint from = source.FImpl->External == nullptr ? source.FImpl->Origin : TPoint{0, 0};
    p->drawImage(ToQRect(dest), picture, ToQRect(sourceRect).translated(-from.x, -from.y));
    FImpl->Changed();
}

void TCanvas::Draw(int x, int y, const TBitmap& graphic) {
    QImage picture = FImpl->SourceOf(graphic);
    if (picture.isNull())
        return;
    QPainter* p = FImpl->Begin();
    if (p == nullptr)
        return;
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(QPoint(x, y), picture);
    FImpl->Changed();
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& graphic, TColor transparent) {
    QImage picture = FImpl->SourceOf(graphic).convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull())
        return;
    const TColor key = ColorToRGB(transparent);
    const QRgb keyPixel = qRgb(GetRValue(key), GetGValue(key), GetBValue(key));
    for (int row = 0; row < picture.height(); ++row) {
        auto* pixels = reinterpret_cast<QRgb*>(picture.scanLine(row));
        for (int column = 0; column < picture.width(); ++column)
            if ((pixels[column] | 0xFF000000u) == keyPixel)
                pixels[column] = 0;
    }
    QPainter* p = FImpl->Begin();
    if (p == nullptr)
        return;
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(QPoint(x, y), picture);
    FImpl->Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    BoxShape(x1, y1, x2, y2, true);
}

void TCanvas::FillRect(const TRect& rect) {
    if (rect.Width() <= 0 || rect.Height() <= 0 || Brush.Style == bsClear)
        return;
    QPainter* p = FImpl->Begin();
    if (p == nullptr)
        return;
    p->fillRect(ToQRect(rect), MakeBrush(Brush));
    FImpl->Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    if (rect.Width() <= 0 || rect.Height() <= 0 || Brush.Style == bsClear)
        return;
    QPainter* p = FImpl->Begin();
    if (p == nullptr)
        return;
    const QBrush brush = MakeBrush(Brush);
    const int w = rect.Width(), h = rect.Height();
    p->fillRect(QRect(rect.Left, rect.Top, w, 1), brush);
    if (h > 1)
        p->fillRect(QRect(rect.Left, rect.Bottom - 1, w, 1), brush);
    if (h > 2) {
        p->fillRect(QRect(rect.Left, rect.Top + 1, 1, h - 2), brush);
        if (w > 1)
            p->fillRect(QRect(rect.Right - 1, rect.Top + 1, 1, h - 2), brush);
    }
    FImpl->Changed();
}

void TCanvas::LineTo(int x, int y) {
    // A line to the pen position itself has no pixels (its only pixel is the last).
    QPainter* p = PenPos == TPoint{x, y} ? nullptr : FImpl->Begin();
    if (p != nullptr) {
        p->setPen(MakePen(Pen.Color));
        p->drawLine(QPoint(PenPos.x, PenPos.y), QPoint(x, y));
        FImpl->Changed();
    }
    PenPos = TPoint{x, y};
}

namespace {
QPolygon ToQPolygon(const TPoint* points, int high) {
    QPolygon polygon(high + 1);
    for (int i = 0; i <= high; ++i)
        polygon.setPoint(i, points[i].x, points[i].y);
    return polygon;
}
} // namespace

void TCanvas::MoveTo(int x, int y) {
    PenPos = TPoint{x, y};
}

void TCanvas::Polygon(const TPoint* points, int high) {
    if (points == nullptr || high < 1)
        return;
    QPainter* p = FImpl->Begin();
    if (p == nullptr)
        return;
    p->setPen(MakePen(Pen.Color));
    p->setBrush(MakeBrush(Brush));
    p->drawPolygon(ToQPolygon(points, high), Qt::OddEvenFill);
    FImpl->Changed();
}

void TCanvas::Polyline(const TPoint* points, int high) {
    if (points == nullptr || high < 1)
        return;
    QPainter* p = FImpl->Begin();
    if (p == nullptr)
        return;
    p->setPen(MakePen(Pen.Color));
    p->drawPolyline(ToQPolygon(points, high));
    FImpl->Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    BoxShape(x1, y1, x2, y2, false);
}

void TCanvas::BoxShape(int x1, int y1, int x2, int y2, bool ellipse) {
    OrderBox(x1, y1, x2, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    QPainter* p = FImpl->Begin();
    if (p == nullptr)
        return;
    PaintBoxShape(*p, x1, y1, x2, y2, Pen.Color, Brush, ellipse);
    FImpl->Changed();
}

namespace {

// Qt paints a box shape only while the box lies within its fixed-point range,
// some eight million pixels; farther out its ellipses come out filling
// everything. A box reaching beyond this is painted here, over what the
// device shows.
constexpr int64_t kLargestPaintedBox = int64_t{1} << 22;

// The device's pixels in the painter's coordinates.
QRect ShownRect(QPainter& p) {
    const QPaintDevice* device = p.device();
    if (device == nullptr)
        return {};
    return p.transform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
}

// The ellipse through the pixel centres of the box x1 .. x2 - 1, y1 .. y2 - 1,
// row by row: a row's outline covers where the ellipse crosses the row's
// height of one pixel, so that it stays closed where the ellipse runs flat;
// the brush fills between.
void PaintLargeEllipse(QPainter& p, int64_t x1, int64_t y1, int64_t x2, int64_t y2, TColor pen,
                       const TBrush& brush) {
    const QRect shown = ShownRect(p);
    if (shown.isEmpty())
        return;
    const double cx = (static_cast<double>(x1) + static_cast<double>(x2) - 1) / 2;
    const double cy = (static_cast<double>(y1) + static_cast<double>(y2) - 1) / 2;
    const double a = (static_cast<double>(x2) - 1 - static_cast<double>(x1)) / 2;
    const double b = (static_cast<double>(y2) - 1 - static_cast<double>(y1)) / 2;
    // Half the ellipse's width at a height; negative outside it.
    auto halfWidth = [&](double y) {
        const double v = (y - cy) / b;
        return v * v > 1 ? -1.0 : a * std::sqrt(1 - v * v);
    };
    const int64_t left = int64_t{shown.left()} - 1, right = int64_t{shown.right()} + 1;
    const QColor outline = ToQColor(pen);
    const QBrush fill = MakeBrush(brush);
    auto span = [&](int64_t y, int64_t from, int64_t to, bool inside) {
        from = std::max(from, left);
        to = std::min(to, right);
        if (from > to || (inside && brush.Style == bsClear))
            return;
        const QRect row(static_cast<int>(from), static_cast<int>(y), static_cast<int>(to - from + 1), 1);
        if (inside)
            p.fillRect(row, fill);
        else
            p.fillRect(row, outline);
    };
    const auto at = [](double x) { return static_cast<int64_t>(std::floor(x + 0.5)); };
    const int64_t top = std::max(y1, int64_t{shown.top()}),
                  bottom = std::min(y2 - 1, int64_t{shown.bottom()});
    for (int64_t y = top; y <= bottom; ++y) {
        const double upper = halfWidth(static_cast<double>(y) - 0.5),
                     lower = halfWidth(static_cast<double>(y) + 0.5);
        const bool middle = static_cast<double>(y) - 0.5 <= cy && cy <= static_cast<double>(y) + 0.5;
        const double wide = middle ? a : std::max(upper, lower);
        if (wide < 0)
            continue;
        const double narrow = std::max(0.0, std::min(upper, lower));
        const int64_t l = at(cx - wide), r = at(cx + wide);
        const int64_t lEnd = std::max(l, at(cx - narrow)), rStart = std::min(r, at(cx + narrow));
        if (lEnd + 1 < rStart)
            span(y, lEnd + 1, rStart - 1, true);
        span(y, l, lEnd, false);
        span(y, rStart, r, false);
    }
}

} // namespace

void PaintBoxShape(QPainter& p, int x1, int y1, int x2, int y2, TColor pen, const TBrush& brush,
                   bool ellipse) {
    OrderBox(x1, y1, x2, y2);
    const int64_t width = int64_t{x2} - x1, height = int64_t{y2} - y1;
    if (width < 1 || height < 1)
        return;
    const int64_t reach = std::max({std::abs(int64_t{x1}), std::abs(int64_t{x2}), std::abs(int64_t{y1}),
                                    std::abs(int64_t{y2}), width, height});
    if (reach > kLargestPaintedBox && width > 2 && height > 2) {
        if (ellipse) {
            PaintLargeEllipse(p, x1, y1, x2, y2, pen, brush);
            return;
        }
        // A rectangle is cut down to what is shown and a pixel around it,
        // where its cut edges are painted unseen.
        const QRect shown = ShownRect(p);
        if (shown.isEmpty())
            return;
        x1 = static_cast<int>(std::max<int64_t>(x1, int64_t{shown.left()} - 2));
        y1 = static_cast<int>(std::max<int64_t>(y1, int64_t{shown.top()} - 2));
        x2 = static_cast<int>(std::min<int64_t>(x2, int64_t{shown.right()} + 3));
        y2 = static_cast<int>(std::min<int64_t>(y2, int64_t{shown.bottom()} + 3));
        if (x2 - x1 < 1 || y2 - y1 < 1)
            return;
    }
    if (x2 - x1 <= 2 || y2 - y1 <= 2) {
        // Too small to have an inside: all outline.
        p.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), ToQColor(pen));
    } else {
        p.setPen(MakePen(pen));
        p.setBrush(MakeBrush(brush));
        // The right and bottom bounds lie outside the shape.
        const QRect box(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
        if (ellipse)
            p.drawEllipse(box);
        else
            p.drawRect(box);
    }
}

void TCanvas::Refresh() {
    FImpl->End();
}

void TCanvas::StretchDraw(const TRect& rect, const TBitmap& graphic) {
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    QImage picture = FImpl->SourceOf(graphic);
    if (picture.isNull())
        return;
    QPainter* p = FImpl->Begin();
    if (p == nullptr)
        return;
    p->setCompositionMode(QPainter::CompositionMode_Source);
    p->drawImage(ToQRect(rect), picture);
    FImpl->Changed();
}

int TCanvas::TextHeight(const std::string& text) {
    const QFont font = MakeFont(Font);
    QPaintDevice* device = FImpl->MetricsDevice();
    const QFontMetrics metrics = device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
    // The height of a line of the font, whatever the text, as the desktop canvas measures it.
    (void)text;
    return metrics.height();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    const QFont font = MakeFont(Font);
    const int width = TextWidth(text);
    QPainter* p = FImpl->Begin();
    if (p != nullptr) {
        p->setFont(font);
        const QFontMetrics metrics = p->fontMetrics();
        if (Brush.Style == bsSolid)
            p->fillRect(QRect(x, y, width, metrics.height()), ToQColor(Brush.Color));
        p->setPen(MakePen(Font.Color));
        p->drawText(QPoint(x, y + metrics.ascent()), QString::fromUtf8(text));
        FImpl->Changed();
    }
    PenPos = TPoint{x + width, y};
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const std::string& text) {
    const QFont font = MakeFont(Font);
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    QPainter* p = FImpl->Begin();
    if (p == nullptr)
        return;
    if (Brush.Style == bsSolid)
        p->fillRect(ToQRect(rect), ToQColor(Brush.Color));
    p->setClipRect(ToQRect(rect));
    p->setFont(font);
    p->setPen(MakePen(Font.Color));
    p->drawText(QPoint(x, y + p->fontMetrics().ascent()), QString::fromUtf8(text));
    p->setClipping(false);
    FImpl->Changed();
}

int TCanvas::TextWidth(const std::string& text) {
    const QFont font = MakeFont(Font);
    QPaintDevice* device = FImpl->MetricsDevice();
    const QFontMetrics metrics = device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
    return metrics.horizontalAdvance(QString::fromUtf8(text));
}
