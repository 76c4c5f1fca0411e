#pragma once
// The program's command line: the window's arguments (a model to open and the
// settings file), and the commands that run without a window: rendering a
// model to a picture, converting a model file, and describing a model.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

// The window's start-up arguments. Arguments that are not options are joined
// with single spaces into the model file name (a path split by the shell is
// rebuilt). "-I" (either case) names the settings file: joined as "-Ipath" the
// rest is taken as it stands; alone (also as "/I" or "/i") the next argument is
// the path, taken as it stands when absolute and behind the program folder
// otherwise. Other options are ignored.
struct TStartArguments {
    std::filesystem::path SettingsFile;
    std::string ModelFile;
};
TStartArguments ParseStartArguments(const std::vector<std::string>& args,
                                    const std::filesystem::path& programFolder);

// Whether the arguments ask for a command that runs without a window.
bool IsHeadlessCommand(const std::vector<std::string>& args);

// Runs a command without a window and returns the exit status: 0 done, 1 a
// file could not be read or written, 2 bad arguments (the usage text goes to
// err), 3 done, but some lines of the model could not be read (their stones
// are left out). Lines of a model that cannot be read are reported on err as
// "MODEL:LINE: MESSAGE" and the command goes on.
int RunHeadlessCommand(const std::vector<std::string>& args, const std::filesystem::path& programFolder,
                       std::ostream& out, std::ostream& err);

extern const char* const kUsage;
