// Stonemill: starts the main window, or runs a command without a window.

#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/stonemill_app.h"
#include "platform/data_folders.h"
#include "platform/system_colors.h"
#include "ui/error_report.h"
#include "ui/main_form.h"
#include "ui/reporting_application.h"

namespace {

const char* const kNoDisplay = "stonemill: the window cannot be shown: there is no display to show it on. "
                               "The commands that need no display are listed by stonemill --help.\n";

// While the window system is being reached, Qt's messages wait; a failure to
// reach it ends the program with the program's own message instead of an abort.
void WhileStarting(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type == QtFatalMsg) {
        std::cerr << kNoDisplay;
        std::_Exit(1);
    }
}

// A command's output is its own: Qt's notes about the desktop it runs
// without are dropped, and a failure ends it with the program's words.
void QuietWhileWorking(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type == QtFatalMsg) {
        std::cerr << "stonemill: The command could not be carried out.\n";
        std::_Exit(1);
    }
}

// Whether there is a display, or a platform of Qt's named to show the window on.
bool DisplayNamed(const std::vector<std::string>& args) {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    return std::find(args.begin(), args.end(), "-platform") != args.end();
}

} // namespace

int main(int argc, char** argv) {
    // A pipe whose reader goes away while a file is written into it is an
    // error the writer reports, not the end of the program.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (IsHeadlessCommand(args)) {
        if (!HeadlessCommandWritesText(args))
            return RunHeadlessCommand(args, DataFolders(), std::cout, std::cerr);
        // Text on pages takes Qt's fonts, which need an application of the
        // desktop layer; off the screen, as the command shows nothing. Qt is
        // given none of the command's arguments.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietWhileWorking);
        int qtArgc = 1;
        QGuiApplication application(qtArgc, argv);
        // The fonts are found before the work takes its memory: the font
        // library fails badly, not with an error, when memory has run out.
        QFontDatabase::families();
        return RunHeadlessCommand(args, DataFolders(), std::cout, std::cerr);
    }
    if (!DisplayNamed(args)) {
        std::cerr << kNoDisplay;
        return 1;
    }

    // What fails while the window is made is told on the error output, in the
    // program's words; once it runs, the application object reports failures.
    try {
        const QtMessageHandler usual = qInstallMessageHandler(WhileStarting);
        TReportingApplication application(argc, argv);
        qInstallMessageHandler(usual);
        QApplication::setApplicationName(kApplicationTitle);
        QApplication::setDesktopFileName("stonemill");
        QIcon icon;
        for (const char* size : {"32", "64", "256"})
            icon.addFile(QString(":/stonemill-%1.png").arg(size));
        QApplication::setWindowIcon(icon);
        UpdateSystemColors();
        // The arguments Qt left after taking its own options.
        args.assign(argv + 1, argv + argc);
        const std::string folderProblem = DataFolders().Prepare();
        TStartArguments start = ParseStartArguments(args, DataFolders());
        start.StartProblem = folderProblem;
        // The program makes its own folder the current one before it loads the
        // model, so a name given relative to the folder it was started in is
        // completed first when that file exists.
        std::error_code error;
        if (!start.ModelFile.empty() && std::filesystem::path(start.ModelFile).is_relative() &&
            std::filesystem::exists(start.ModelFile, error))
            start.ModelFile = std::filesystem::absolute(start.ModelFile, error).string();

        TStonemillApp app(DataFolders());
        TMainForm form(app, start);
        form.show();
        return application.exec();
    } catch (...) {
        std::cerr << "stonemill: " << FailureMessage(std::current_exception()) << "\n";
        return 1;
    }
}
