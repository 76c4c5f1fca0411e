#include "ui/picture_window.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "common/error.h"
#include "ui/error_report.h"
#include "ui/ui_helpers.h"

TPictureWindow::TPictureWindow(QWidget* parent, const std::filesystem::path& picture) : QDialog(parent) {
    setObjectName("PictureWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    // The whole name says where the picture is saved.
    setWindowTitle(Text(picture.string()));
    QImageReader reader(Text(picture.string()));
    const QImage image = reader.read();
    if (image.isNull())
        throw EError("The picture " + picture.string() + " cannot be read.");
    auto* label = new QLabel;
    label->setObjectName("Picture");
    label->setPixmap(QPixmap::fromImage(image));
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("PictureScroll");
    scroll->setWidget(label);
    scroll->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    // The picture at its own size, as far as the screen allows.
    const int frame = 2 * scroll->frameWidth();
    QSize size(image.width() + frame, image.height() + frame);
    if (const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size() * 9 / 10;
        const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (size.width() > room.width())
            size.rheight() += bar;
        if (size.height() > room.height())
            size.rwidth() += bar;
        size = size.boundedTo(room);
    }
    resize(size);
}

void ShowPictureWindow(QWidget* parent, const std::filesystem::path& picture) {
    RunReporting(parent, [&] {
        auto* window = new TPictureWindow(parent, picture);
        window->show();
        window->raise();
        window->activateWindow();
    });
}
