#include "ui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <array>
#include <cmath>

namespace {

constexpr int kSize = 24;
const QColor kInk(40, 40, 40);
const QColor kStone(200, 90, 70);
const QColor kStoneTop(235, 150, 120);
const QColor kStoneDark(150, 60, 50);
const QColor kFront(60, 110, 200);

// An arrow pointing up, turned by quarter turns (0 up, 1 right, 2 down, 3 left).
void DrawArrow(QPainter& p, int quarterTurns) {
    p.save();
    p.translate(kSize / 2.0, kSize / 2.0);
    p.rotate(90.0 * quarterTurns);
    QPolygonF head;
    head << QPointF(0, -9) << QPointF(7, -1) << QPointF(2.5, -1) << QPointF(2.5, 8) << QPointF(-2.5, 8)
         << QPointF(-2.5, -1) << QPointF(-7, -1);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(70, 140, 70));
    p.drawPolygon(head);
    p.restore();
}

// A unit cube seen at a tilt and a turn (degrees) with the view's own
// projection rows, its front (the side the "From front" view faces) blue.
void DrawCube(QPainter& p, double tiltDeg, double turnDeg, bool outlineOnly = false) {
    const double a = tiltDeg * M_PI / 180, t = turnDeg * M_PI / 180;
    const std::array<double, 3> xRow{std::cos(t), std::sin(t), 0};
    const std::array<double, 3> yRow{std::sin(t) * std::cos(a), -std::cos(t) * std::cos(a), std::sin(a)};
    // Towards the viewer: the Y row crossed with the X row.
    const std::array<double, 3> toViewer{yRow[1] * xRow[2] - yRow[2] * xRow[1],
                                         yRow[2] * xRow[0] - yRow[0] * xRow[2],
                                         yRow[0] * xRow[1] - yRow[1] * xRow[0]};
    auto project = [&](double x, double y, double z) {
        const double sx = xRow[0] * x + xRow[1] * y;
        const double sy = yRow[0] * x + yRow[1] * y + yRow[2] * z;
        return QPointF(kSize / 2.0 + 6.5 * sx, kSize / 2.0 - 6.5 * sy);
    };
    struct TFace {
        std::array<double, 3> Normal;
        std::array<std::array<double, 3>, 4> Corners;
        QColor Color;
    };
    const TFace faces[] = {
        {{0, 0, 1}, {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}}, kStoneTop},
        {{0, 0, -1}, {{{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}}}, kStoneDark},
        {{1, 0, 0}, {{{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}}, kStone},
        {{-1, 0, 0}, {{{-1, -1, -1}, {-1, 1, -1}, {-1, 1, 1}, {-1, -1, 1}}}, kStone},
        {{0, 1, 0}, {{{-1, 1, -1}, {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}}}, kFront},
        {{0, -1, 0}, {{{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}}, kStoneDark},
    };
    p.setPen(QPen(kInk, 1));
    for (const TFace& face : faces) {
        const double facing =
            face.Normal[0] * toViewer[0] + face.Normal[1] * toViewer[1] + face.Normal[2] * toViewer[2];
        if (facing <= 1e-6 && !outlineOnly)
            continue;
        QPolygonF polygon;
        for (const auto& c : face.Corners)
            polygon << project(c[0], c[1], c[2]);
        p.setBrush(outlineOnly ? Qt::NoBrush : QBrush(face.Color));
        p.drawPolygon(polygon);
    }
}

void DrawMagnifier(QPainter& p, bool plus) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(230, 240, 255));
    p.drawEllipse(QRectF(3, 3, 13, 13));
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 15), QPointF(21, 21));
    p.setPen(QPen(kInk, 2));
    p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
    if (plus)
        p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
}

void DrawGlyph(QPainter& p, TGlyph glyph) {
    switch (glyph) {
    case glExit:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(160, 110, 60));
        p.drawRect(QRectF(4.5, 2.5, 10, 19));
        p.setBrush(kInk);
        p.drawEllipse(QRectF(11, 11, 2, 2));
        p.save();
        p.translate(14, 12);
        p.rotate(90);
        p.translate(-12, -12);
        DrawArrow(p, 0);
        p.restore();
        break;
    case glNewModel: {
        QPolygonF page;
        page << QPointF(5.5, 2.5) << QPointF(14.5, 2.5) << QPointF(19.5, 7.5) << QPointF(19.5, 21.5)
             << QPointF(5.5, 21.5);
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawPolygon(page);
        p.drawPolyline(QPolygonF() << QPointF(14.5, 2.5) << QPointF(14.5, 7.5) << QPointF(19.5, 7.5));
        break;
    }
    case glOpen: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(230, 190, 80));
        p.drawPolygon(QPolygonF() << QPointF(2.5, 6.5) << QPointF(8.5, 6.5) << QPointF(10.5, 8.5)
                                  << QPointF(19.5, 8.5) << QPointF(19.5, 19.5) << QPointF(2.5, 19.5));
        p.setBrush(QColor(250, 215, 110));
        p.drawPolygon(QPolygonF() << QPointF(5.5, 11.5) << QPointF(22.5, 11.5) << QPointF(19.5, 19.5)
                                  << QPointF(2.5, 19.5));
        break;
    }
    case glSave:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(60, 90, 160));
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 11, 7));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(7.5, 14.5, 9, 6));
        break;
    case glRotateUp:
        DrawArrow(p, 0);
        break;
    case glRotateRight:
        DrawArrow(p, 1);
        break;
    case glRotateDown:
        DrawArrow(p, 2);
        break;
    case glRotateLeft:
        DrawArrow(p, 3);
        break;
    case glWireframe:
        DrawCube(p, 70, 330, true);
        break;
    case glRendering:
        DrawCube(p, 70, 330);
        break;
    case glZoomIn:
        DrawMagnifier(p, true);
        break;
    case glZoomOut:
        DrawMagnifier(p, false);
        break;
    case glZoomToFit:
        // Four corners framing a cube.
        p.setPen(QPen(kInk, 2));
        for (const QPointF corner : {QPointF(3, 3), QPointF(21, 3), QPointF(3, 21), QPointF(21, 21)}) {
            const double dx = corner.x() < 12 ? 5 : -5, dy = corner.y() < 12 ? 5 : -5;
            p.drawLine(corner, corner + QPointF(dx, 0));
            p.drawLine(corner, corner + QPointF(0, dy));
        }
        p.save();
        p.translate(6, 6);
        p.scale(0.5, 0.5);
        DrawCube(p, 70, 330);
        p.restore();
        break;
    case glViews:
        p.save();
        p.scale(0.75, 0.75);
        DrawCube(p, 70, 30);
        p.restore();
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(15, 17), QPointF(23, 17), QPointF(19, 22)}));
        break;
    // The fixed views show the cube as the view shows the model; an angle the
    // view keeps is shown at the start view's value.
    case glTopView:
        DrawCube(p, 0, 330);
        break;
    case glFromFront:
        DrawCube(p, 70, 0);
        break;
    case glFromRight:
        DrawCube(p, 70, 270);
        break;
    case glFromLeft:
        DrawCube(p, 70, 90);
        break;
    case glFromBack:
        DrawCube(p, 70, 180);
        break;
    case glFrontLeft:
        DrawCube(p, 70, 30);
        break;
    case glBackRight:
        DrawCube(p, 70, 210);
        break;
    case glBackLeft:
        DrawCube(p, 70, 150);
        break;
    case glFrontRight:
        DrawCube(p, 70, 330);
        break;
    case glFrontView:
        DrawCube(p, 90, 330);
        break;
    case glHome: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(kStone);
        p.drawPolygon(QPolygonF() << QPointF(12, 3) << QPointF(21, 11) << QPointF(3, 11));
        p.setBrush(QColor(240, 230, 200));
        p.drawRect(QRectF(5.5, 11.5, 13, 9));
        p.setBrush(QColor(120, 80, 40));
        p.drawRect(QRectF(10.5, 14.5, 4, 6));
        break;
    }
    case glChooseColor: {
        // A painter's palette with blobs of colour.
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(230, 200, 150));
        p.drawEllipse(QRectF(2.5, 4.5, 19, 15));
        p.setBrush(QColor(240, 240, 240));
        p.drawEllipse(QRectF(12, 12, 4, 4));
        const QColor blobs[] = {QColor(220, 40, 40), QColor(40, 160, 60), QColor(50, 90, 210),
                                QColor(240, 200, 40)};
        const QPointF places[] = {{6.5, 9}, {10.5, 7}, {15, 7.5}, {6.5, 13.5}};
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            p.setBrush(blobs[i]);
            p.drawEllipse(places[i], 2, 2);
        }
        break;
    }
    case glOptions: {
        // A list of ticked lines.
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(250, 250, 240));
        p.drawRect(QRectF(4.5, 2.5, 15, 19));
        for (int i = 0; i < 4; ++i) {
            const double y = 6.5 + 4 * i;
            p.setPen(QPen(QColor(40, 140, 60), 1.5));
            p.drawLine(QPointF(6.5, y), QPointF(7.5, y + 1));
            p.drawLine(QPointF(7.5, y + 1), QPointF(9.5, y - 1.5));
            p.setPen(QPen(kInk, 1));
            p.drawLine(QPointF(11, y), QPointF(17, y));
        }
        break;
    }
    case glPointer: {
        // The mouse pointer's arrow.
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF() << QPointF(7, 3) << QPointF(7, 19) << QPointF(10.5, 15.5)
                                  << QPointF(13.5, 21.5) << QPointF(16, 20.5) << QPointF(13, 14.5)
                                  << QPointF(18, 14.5));
        break;
    }
    case glUndo:
    case glRedo: {
        // A curved arrow bending back to the left (undo) or to the right (redo).
        p.save();
        if (glyph == glRedo) {
            p.translate(kSize, 0);
            p.scale(-1, 1);
        }
        QPainterPath bend;
        bend.moveTo(8, 10);
        bend.lineTo(14, 10);
        bend.cubicTo(21, 10, 21, 20, 14, 20);
        bend.lineTo(10, 20);
        p.setPen(QPen(QColor(50, 90, 170), 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(bend);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(50, 90, 170));
        p.drawPolygon(QPolygonF() << QPointF(3, 10) << QPointF(9.5, 4.5) << QPointF(9.5, 15.5));
        p.restore();
        break;
    }
    case glCamera: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(90, 90, 100));
        p.drawRoundedRect(QRectF(2.5, 7.5, 19, 12), 2, 2);
        p.drawRect(QRectF(7.5, 4.5, 7, 3));
        p.setBrush(QColor(170, 200, 240));
        p.drawEllipse(QRectF(8, 9.5, 8, 8));
        break;
    }
    case glPrinter: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 2.5, 11, 8));
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 15.5, 11, 6));
        break;
    }
    case glCut: {
        // A stone with a slice taken off its top.
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(200, 80, 60));
        p.drawRect(QRectF(4.5, 11.5, 15, 9));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.drawRect(QRectF(4.5, 3.5, 15, 6));
        break;
    }
    case glAbout: {
        // An "i" in a blue disc.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(50, 90, 170));
        p.drawEllipse(QRectF(3, 3, 18, 18));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(10.5, 6, 3, 3));
        p.drawRect(QRectF(10.5, 10.5, 3, 7.5));
        break;
    }
    case glNone:
        break;
    }
}

} // namespace

QIcon GlyphIcon(TGlyph glyph) {
    if (glyph == glNone)
        return QIcon();
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawGlyph(painter, glyph);
    painter.end();
    return QIcon(pixmap);
}
