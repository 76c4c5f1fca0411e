#include "platform/system_colors.h"

#include "common/color.h"

#include <QGuiApplication>
#include <QPalette>

namespace {
TColor FromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}
} // namespace

bool UpdateSystemColors() {
    if (QGuiApplication::instance() == nullptr)
        return false;
    const QPalette palette = QGuiApplication::palette();
    SetSystemColor(clBtnFace, FromQColor(palette.color(QPalette::Active, QPalette::Button)));
    SetSystemColor(clBtnShadow, FromQColor(palette.color(QPalette::Active, QPalette::Dark)));
    return true;
}
