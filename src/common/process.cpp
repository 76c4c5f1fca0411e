#include "common/process.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/write_confinement.h"

extern char** environ;

namespace {

// Starts the program in a child process that takes on the rule set (when
// there is one) before it becomes the program. Between fork and exec the
// child calls only what is safe there; it reports a failure through a pipe
// that closes when the program starts.
TLaunch LaunchUnderRuleset(char* const argv[], const std::filesystem::path& folder,
                           const std::filesystem::path& outputFile, int ruleset) {
    TLaunch launch;
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        launch.Error = errno;
        return launch;
    }
    const pid_t process = fork();
    if (process == 0) {
        int failure = 0;
        if (!outputFile.empty()) {
            const int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (output < 0 || dup2(output, 1) < 0 || dup2(output, 2) < 0)
                failure = errno;
            if (output > 2)
                close(output);
        }
        if (failure == 0 && !folder.empty() && chdir(folder.c_str()) != 0)
            failure = errno;
        if (failure == 0 && ruleset >= 0)
            failure = TakeOnRuleset(ruleset);
        if (failure == 0) {
            execve(argv[0], argv, environ);
            failure = errno;
        }
        [[maybe_unused]] const ssize_t written = write(report[1], &failure, sizeof failure);
        _exit(127);
    }
    const int forkError = errno;
    close(report[1]);
    if (process < 0) {
        close(report[0]);
        launch.Error = forkError;
        return launch;
    }
    int failure = 0;
    ssize_t got;
    while ((got = read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    if (got == static_cast<ssize_t>(sizeof failure)) {
        while (waitpid(process, nullptr, 0) == -1 && errno == EINTR) {
        }
        launch.Error = failure;
        return launch;
    }
    launch.Process = process;
    return launch;
}

} // namespace

TLaunch LaunchProgram(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
                      const std::filesystem::path& outputFile, const std::filesystem::path& writableFolder) {
    TLaunch launch;
    if (arguments.empty()) {
        launch.Error = EINVAL;
        return launch;
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (!writableFolder.empty()) {
        const int ruleset = WritingRuleset(writableFolder, launch.Error);
        if (launch.Error != 0)
            return launch;
        launch = LaunchUnderRuleset(argv.data(), folder, outputFile, ruleset);
        if (ruleset >= 0)
            close(ruleset);
        return launch;
    }
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
