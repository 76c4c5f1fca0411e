#include "ui/on_screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/screen_placement.h"

bool ShowsDialogOrToolWindow(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow())
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Dialog || type == Qt::Sheet || type == Qt::Tool;
}

void KeepWindowOnScreen(QWidget* window) {
    const QRect frame = window->frameGeometry();
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (screen == nullptr && window->parentWidget() != nullptr)
        screen = window->parentWidget()->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect room = screen->availableGeometry();
    const TRect placed = KeepOnScreen(Rect(frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1),
                                      Rect(room.left(), room.top(), room.right() + 1, room.bottom() + 1));
    if (placed.Left != frame.left() || placed.Top != frame.top())
        window->move(placed.Left, placed.Top);
}
