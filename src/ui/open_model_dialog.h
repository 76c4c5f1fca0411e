#pragma once
// TOpenModelDialog: the open dialog for model files, with a panel on its right
// that shows the picture saved beside the selected model (a ".jpg", else a
// ".bmp"), its size, and a button that shows it larger.

#include <QFileDialog>
#include <QImage>

class QLabel;
class QToolButton;
class TPreviewBox;

class TOpenModelDialog : public QFileDialog {
    Q_OBJECT
public:
    TOpenModelDialog(QWidget* parent, const QString& title);

    const QImage& Picture() const { return FPicture; }
    // Opens the picture in the "Preview" window.
    void ShowPreview();

private:
    void SelectionChanged(const QString& file);

    QImage FPicture;
    QLabel* FLabel;
    QToolButton* FButton;
    TPreviewBox* FBox;
};
