// Stonemill: starts the main window, or runs a command without a window.

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/stonemill_app.h"
#include "platform/program_folder.h"
#include "platform/system_colors.h"
#include "ui/main_form.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (IsHeadlessCommand(args))
        return RunHeadlessCommand(args, ProgramFolder(), std::cout, std::cerr);

    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    UpdateSystemColors();
    // The arguments Qt left after taking its own options.
    args.assign(argv + 1, argv + argc);
    TStartArguments start = ParseStartArguments(args, ProgramFolder());
    // The program makes its own folder the current one before it loads the
    // model, so a name given relative to the folder it was started in is
    // completed first when that file exists.
    std::error_code error;
    if (!start.ModelFile.empty() && std::filesystem::path(start.ModelFile).is_relative() &&
        std::filesystem::exists(start.ModelFile, error))
        start.ModelFile = std::filesystem::absolute(start.ModelFile, error).string();

    TStonemillApp app(ProgramFolder());
    TMainForm form(app, start);
    form.show();
    return application.exec();
}
