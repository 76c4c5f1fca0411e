#pragma once
// Starting other programs: as a new process in a working folder, without a
// shell, and without waiting unless asked to.

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

struct TLaunch {
    pid_t Process = -1; // -1 when the program could not be started
    int Error = 0;      // then the system's error number
};

// Starts the program (arguments[0], a path) with the arguments in the
// working folder (the current folder when empty); with an output file, what
// the program writes to its standard output and error goes there. With a
// writable folder, the program may make, change and remove files only
// beneath that folder, where the system can hold it to that (see
// write_confinement.h); it reads as before.
TLaunch LaunchProgram(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
                      const std::filesystem::path& outputFile = {},
                      const std::filesystem::path& writableFolder = {});
// Starts the program and leaves it running; true when it was started.
bool RunProgram(const std::vector<std::string>& arguments, const std::filesystem::path& folder);

enum class TProgramState { psRunning, psEnded, psFailed };
// Whether a started program still runs; once ended, its exit status.
TProgramState PollProgram(pid_t process, int& exitStatus);
// Waits for a started program to end; its exit status, or -1 when it did not end normally.
int WaitProgram(pid_t process);
