#pragma once
// The about box: the program's version and release date, its credits, and
// "Instructions..." opening the user guide beside the program.

#include <QDialog>
#include <QUrl>
#include <filesystem>
#include <functional>

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const std::filesystem::path& programFolder, QWidget* parent);

    // Opens a document with the desktop's program for it; replaceable in tests.
    std::function<bool(const QUrl&)> OpenUrl;

private:
    void InstructionsClick();

    std::filesystem::path FProgramFolder;
};
