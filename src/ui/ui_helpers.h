#pragma once
// Small helpers the windows share: texts and paths between the core's
// strings and Qt's, and the hourglass while slow work runs.

#include <QApplication>
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
