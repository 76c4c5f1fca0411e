#include "platform/rows_canvas.h"

#include <QImage>
#include <QPainter>

#include "platform/box_shape.h"

struct TRowsCanvas::TImpl {
    QImage Rows;
    std::unique_ptr<QPainter> Painter; // begun at the first shape
    int Top;
};

TRowsCanvas::TRowsCanvas(void* first, int width, int rows, std::ptrdiff_t pitch, int top)
    : FImpl(std::make_unique<TImpl>()) {
    FImpl->Top = top;
    if (first == nullptr || width <= 0 || rows <= 0)
        return;
    // The rows themselves, not a copy: painting here paints the bitmap.
    FImpl->Rows =
        QImage(static_cast<uchar*>(first), width, rows, static_cast<qsizetype>(pitch), QImage::Format_RGB32);
}

TRowsCanvas::~TRowsCanvas() {
    if (FImpl->Painter)
        FImpl->Painter->end();
}

void TRowsCanvas::Ellipse(int x1, int y1, int x2, int y2, TColor pen, const TBrush& brush) {
    if (FImpl->Rows.isNull())
        return;
    if (!FImpl->Painter) {
        FImpl->Painter = std::make_unique<QPainter>(&FImpl->Rows);
        // Shifted so that the band's rows take their own places; hatching stays
        // lined up with the whole bitmap.
        FImpl->Painter->translate(0, -FImpl->Top);
        FImpl->Painter->setBrushOrigin(0, 0);
    }
    PaintBoxShape(*FImpl->Painter, x1, y1, x2, y2, pen, brush, true);
}
