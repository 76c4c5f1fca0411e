#pragma once
// The program's command line: the window's arguments (a model to open and the
// settings file), and the commands that run without a window: rendering a
// model to a picture, converting a model file, and describing a model.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/data_folders.h"

// The window's start-up arguments. Arguments that are not options are joined
// with single spaces into the model file name (a path split by the shell is
// rebuilt). "-I" (either case) names the settings file: joined as "-Ipath" the
// rest is taken as it stands; alone (also as "/I" or "/i") the next argument is
// the path, taken as it stands when absolute and in the user folder otherwise.
// Other options are ignored.
struct TStartArguments {
    // The settings file the program writes.
    std::filesystem::path SettingsFile;
    // The file the settings are read from, when that is another: the shipped
    // settings while the user folder holds none.
    std::filesystem::path SettingsSource;
    std::string ModelFile;
    // What went wrong while the user folder was made ready, shown once the
    // window is up.
    std::string StartProblem;
};
TStartArguments ParseStartArguments(const std::vector<std::string>& args, const TDataFolders& folders);

// Whether the arguments ask for a command that runs without a window: any
// argument beginning with "--" does (an unknown one is then reported).
bool IsHeadlessCommand(const std::vector<std::string>& args);
// Whether the headless command writes text on pages (--instructions), which
// takes the fonts of the desktop layer.
bool HeadlessCommandWritesText(const std::vector<std::string>& args);

// Runs a command without a window and returns the exit status: 0 done, 1 a
// file could not be read or written, 2 bad arguments (the usage text goes to
// err), 3 done, but some lines of the model could not be read (their stones
// are left out). Lines of a model that cannot be read are reported on err as
// "MODEL:LINE: MESSAGE" and the command goes on. The user folder is made
// ready first; a problem with it is reported on err and the command goes on.
int RunHeadlessCommand(const std::vector<std::string>& args, const TDataFolders& folders, std::ostream& out,
                       std::ostream& err);

extern const char* const kUsage;
