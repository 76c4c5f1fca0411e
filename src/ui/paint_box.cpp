#include "ui/paint_box.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "app/stonemill_app.h"
#include "platform/canvas.h"

TPaintBox::TPaintBox(TStonemillApp& app, QWidget* parent) : QWidget(parent), FApp(app) {
    // The picture covers the whole box: nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void TPaintBox::paintEvent(QPaintEvent* event) {
    // While several view controls change at once the picture is not shown; the
    // one redraw at the end shows it.
    if (FApp.Scene.View().SkipPainting)
        return;
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), FApp.Placing.ShownPicture().Image(), area);
    // The picture frame is drawn over the view, never into its picture.
    if (FApp.Pictures.Frame().Shown) {
        TCanvas canvas(&painter);
        FApp.Pictures.Frame().Draw(canvas);
    }
}

void TPaintBox::resizeEvent(QResizeEvent* event) {
    if (OnResize)
        OnResize(event->size().width(), event->size().height());
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
    if (OnMouseDown)
        OnMouseDown(event);
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove)
        OnMouseMove(event);
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (OnMouseUp)
        OnMouseUp(event);
}
