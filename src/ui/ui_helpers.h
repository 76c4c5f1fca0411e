#pragma once
// Small helpers the windows share: texts and paths between the core's
// strings and Qt's, the hourglass while slow work runs, and a dialog's
// buttons in a row.

#include <QApplication>
#include <QBoxLayout>
#include <QPushButton>
#include <QString>
#include <filesystem>
#include <string>

inline QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

inline std::filesystem::path PathOf(const QString& name) {
    return std::filesystem::path(name.toStdString());
}

// The hourglass while a slow step runs, restored also when it fails.
struct TWaitCursor {
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// A named button of the dialog at the end of the row, running the action
// when clicked; it is not the dialog's default button, so Enter in a field
// does not press it.
template <class TAction>
QPushButton* AddRowButton(QWidget* dialog, QBoxLayout* row, const char* name, const QString& caption,
                          TAction&& action) {
    auto* button = new QPushButton(caption, dialog);
    button->setObjectName(name);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, dialog, std::forward<TAction>(action));
    row->addWidget(button);
    return button;
}
