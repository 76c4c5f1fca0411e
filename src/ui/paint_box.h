#pragma once
// PaintBox1: the widget that shows the application's picture of the scene at
// (0, 0). It never draws the scene itself; its size and mouse events go to the
// main window.

#include <QWidget>
#include <functional>

class TStonemillApp;

class TPaintBox : public QWidget {
public:
    TPaintBox(TStonemillApp& app, QWidget* parent);

    std::function<void(int width, int height)> OnResize;
    std::function<void(QMouseEvent* event)> OnMouseDown;
    std::function<void(QMouseEvent* event)> OnMouseMove;
    std::function<void(QMouseEvent* event)> OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TStonemillApp& FApp;
};
