#include "ui/repeat_button.h"

#include <QToolButton>

void SetRepeating(QToolButton* button) {
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(400);
    button->setAutoRepeatInterval(200);
}

QToolButton* MakeRepeatButton(const char* name, const char* caption, const char* hint, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    SetRepeating(button);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}
