#pragma once
// A colour swatch of the palette panel: a small box in its colour that
// reports mouse presses.

#include <QWidget>
#include <functional>

#include "common/color.h"

class TSwatch : public QWidget {
public:
    TSwatch(int index, QWidget* parent);

    int Index() const { return FIndex; }
    void SetColor(TColor color);
    std::function<void(int index, Qt::MouseButton button)> OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int FIndex;
    TColor FColor = clWhite;
};
