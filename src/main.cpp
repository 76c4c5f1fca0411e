// Stonemill: starts the main window, or runs a command without a window.

#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "platform/program_folder.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (IsHeadlessCommand(args))
        return RunHeadlessCommand(args, ProgramFolder(), std::cout, std::cerr);
    std::cerr << kUsage;
    return 2;
}
