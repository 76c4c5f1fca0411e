#include "ui/swatch.h"

#include <QMouseEvent>
#include <QPainter>

TSwatch::TSwatch(int index, QWidget* parent) : QWidget(parent), FIndex(index) {
    setFixedSize(13, 14);
    setCursor(Qt::PointingHandCursor);
}

void TSwatch::SetColor(TColor color) {
    if (color == FColor)
        return;
    FColor = color;
    update();
}

void TSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(GetRValue(FColor), GetGValue(FColor), GetBValue(FColor)));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TSwatch::mousePressEvent(QMouseEvent* event) {
    if (OnMouseDown)
        OnMouseDown(FIndex, event->button());
}
