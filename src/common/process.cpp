#include "common/process.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

TLaunch LaunchProgram(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
                      const std::filesystem::path& outputFile) {
    TLaunch launch;
    if (arguments.empty()) {
        launch.Error = EINVAL;
        return launch;
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!outputFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    }
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t process = -1;
    const int error = posix_spawn(&process, arguments[0].c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        launch.Error = error;
        return launch;
    }
    launch.Process = process;
    return launch;
}

bool RunProgram(const std::vector<std::string>& arguments, const std::filesystem::path& folder) {
    return LaunchProgram(arguments, folder).Process != -1;
}

TProgramState PollProgram(pid_t process, int& exitStatus) {
    int status = 0;
    const pid_t done = waitpid(process, &status, WNOHANG);
    if (done == 0)
        return TProgramState::psRunning;
    if (done != process)
        return TProgramState::psFailed;
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return TProgramState::psEnded;
}

int WaitProgram(pid_t process) {
    int status = 0;
    while (waitpid(process, &status, 0) == -1) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
