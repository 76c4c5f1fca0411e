#include "ui/open_model_dialog.h"

#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "files/model_preview.h"
#include "ui/file_dialogs.h"
#include "ui/ui_helpers.h"

// The box the picture is drawn in: "(None)" without one.
class TPreviewBox : public QFrame {
public:
    TPreviewBox(TOpenModelDialog& dialog, QWidget* parent) : QFrame(parent), FDialog(dialog) {
        setObjectName("PaintBox");
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setMinimumSize(141, 153);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        const QRect box = contentsRect();
        const QImage& picture = FDialog.Picture();
        if (picture.isNull()) {
            painter.drawText(box, Qt::AlignCenter, "(None)");
            return;
        }
        const TPreviewPlace place = PreviewPlace(picture.width(), picture.height(), box.width(), box.height());
        painter.drawImage(QRect(box.left() + place.Left, box.top() + place.Top, place.Width, place.Height), picture);
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { FDialog.ShowPreview(); }

private:
    TOpenModelDialog& FDialog;
};

TOpenModelDialog::TOpenModelDialog(QWidget* parent, const QString& title) : QFileDialog(parent, title) {
    SetUpOpenDialog(*this);
    auto* panel = new QWidget(this);
    panel->setObjectName("PicturePanel");
    auto* column = new QVBoxLayout(panel);
    auto* top = new QHBoxLayout;
    FLabel = new QLabel("Picture:", panel);
    FLabel->setObjectName("PictureLabel");
    FButton = new QToolButton(panel);
    FButton->setObjectName("PreviewButton");
    FButton->setToolTip("Preview");
    FButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    FButton->setEnabled(false);
    connect(FButton, &QToolButton::clicked, this, &TOpenModelDialog::ShowPreview);
    top->addWidget(FLabel, 1);
    top->addWidget(FButton);
    column->addLayout(top);
    FBox = new TPreviewBox(*this, panel);
    column->addWidget(FBox, 1);
    // The non-native dialog lays its parts out in a grid: the panel takes a
    // column of its own on the right.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(panel, 0, grid->columnCount(), grid->rowCount(), 1);
    connect(this, &QFileDialog::currentChanged, this, &TOpenModelDialog::SelectionChanged);
    // A name typed (or set) in the name field counts as selected too, also
    // in the next folder the dialog goes to.
    if (auto* name = findChild<QLineEdit*>("fileNameEdit")) {
        connect(name, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (!text.isEmpty())
                SelectionChanged(directory().filePath(text));
        });
        connect(this, &QFileDialog::directoryEntered, this, [this, name](const QString& folder) {
            if (!name->text().isEmpty())
                SelectionChanged(QDir(folder).filePath(name->text()));
        });
    }
}

void TOpenModelDialog::SelectionChanged(const QString& file) {
    FPicture = QImage();
    if (const auto picture = ModelPictureFile(PathOf(file))) {
        // The format follows the extension; a damaged picture counts as none.
        const bool jpeg = picture->extension() == ".jpg";
        FPicture.load(Text(picture->string()), jpeg ? "JPG" : "BMP");
    }
    if (FPicture.isNull())
        FLabel->setText("Picture:");
    else
        FLabel->setText(QString(" (%1x%2)").arg(FPicture.width()).arg(FPicture.height()));
    FButton->setEnabled(!FPicture.isNull());
    FBox->update();
}

void TOpenModelDialog::ShowPreview() {
    if (FPicture.isNull())
        return;
    auto* form = new QDialog(this, Qt::Tool);
    form->setObjectName("PreviewForm");
    form->setWindowTitle("Preview");
    form->setAttribute(Qt::WA_DeleteOnClose);
    auto* frame = new QFrame(form);
    frame->setObjectName("Panel");
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(5);
    auto* image = new QLabel(frame);
    image->setObjectName("Image");
    image->setScaledContents(true);
    image->setPixmap(QPixmap::fromImage(FPicture));
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(image);
    auto* outer = new QVBoxLayout(form);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    // About the picture's own size, with the frame around it.
    form->resize(FPicture.width() + 2 * frame->lineWidth() + 10, FPicture.height() + 2 * frame->lineWidth() + 10);
    form->exec(); // Escape closes it
}
