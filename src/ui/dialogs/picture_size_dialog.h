#pragma once
// TSizeCamera: the small box beside the picture frame in which the frame's
// width and height are typed.

#include <QDialog>

class QLineEdit;

class TSizeCamera : public QDialog {
    Q_OBJECT
public:
    explicit TSizeCamera(QWidget* parent);

    void SetWidth(int width);
    void SetHeight(int height);
    // The typed numbers; raise the conversion error for text that is not one.
    int GetWidth() const;
    int GetHeight() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* edW;
    QLineEdit* edH;
};
