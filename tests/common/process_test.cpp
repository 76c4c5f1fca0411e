#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/process.h"
#include "common/write_confinement.h"

namespace fs = std::filesystem;

namespace {

// A folder of its own under the system's temporary folder, removed at the end.
class TScratchFolder {
public:
    TScratchFolder() {
        std::string name = (fs::temp_directory_path() / "stonemill-process-XXXXXX").string();
        FPath = mkdtemp(name.data());
    }
    ~TScratchFolder() {
        std::error_code ignored;
        fs::remove_all(FPath, ignored);
    }
    const fs::path& Path() const { return FPath; }

private:
    fs::path FPath;
};

std::string Read(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A shell that tries to write inside its folder and around it, and says
// which of its writes failed.
const char* const kWrites = "echo in > inside.txt && mkdir made && echo made;"
                            "echo out > ../outside.txt || echo refused new;"
                            "echo out > ../kept.txt || echo refused old;"
                            "rm ../also-kept.txt || echo refused remove;"
                            "mkdir ../made || echo refused folder";

// Runs the shell's writes in root/inside with writing held to that folder.
TLaunch LaunchWrites(const fs::path& root) {
    fs::create_directories(root / "inside");
    std::ofstream(root / "kept.txt") << "old";
    std::ofstream(root / "also-kept.txt") << "old";
    return LaunchProgram({"/bin/sh", "-c", kWrites}, root / "inside", root / "inside" / "log.txt",
                         root / "inside");
}

// Makes the Landlock system calls fail as on a system without Landlock.
bool HideLandlock() {
    // The three Landlock calls have neighbouring numbers: below the first
    // or above the last is allowed, the rest fails as unknown.
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JGE | BPF_K, SYS_landlock_create_ruleset, 0, 1),
        BPF_JUMP(BPF_JMP | BPF_JGT | BPF_K, SYS_landlock_restrict_self, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program, 0, 0) == 0;
}

} // namespace

// A program started with a writable folder makes and changes files there,
// and cannot make, change or remove any outside; its output still reaches
// the output file, and a program that is not there is reported.
TEST(LaunchProgram, AConfinedProgramWritesBeneathItsFolderOnly) {
    if (!CanConfineWriting())
        GTEST_SKIP() << "this system cannot keep a program's writing to a folder (Landlock is off)";
    TScratchFolder root;
    const TLaunch launch = LaunchWrites(root.Path());
    ASSERT_NE(launch.Process, -1) << launch.Error;
    EXPECT_EQ(WaitProgram(launch.Process), 0);
    EXPECT_EQ(Read(root.Path() / "inside" / "inside.txt"), "in\n");
    EXPECT_TRUE(fs::is_directory(root.Path() / "inside" / "made"));
    const std::string log = Read(root.Path() / "inside" / "log.txt");
    for (const char* refused : {"made", "refused new", "refused old", "refused remove", "refused folder"})
        EXPECT_NE(log.find(refused), std::string::npos) << refused << " in " << log;
    EXPECT_FALSE(fs::exists(root.Path() / "outside.txt"));
    EXPECT_EQ(Read(root.Path() / "kept.txt"), "old");
    EXPECT_TRUE(fs::exists(root.Path() / "also-kept.txt"));
    EXPECT_FALSE(fs::exists(root.Path() / "made"));

    const TLaunch missing = LaunchProgram({(root.Path() / "none").string()}, root.Path(), {}, root.Path());
    EXPECT_EQ(missing.Process, -1);
    EXPECT_EQ(missing.Error, ENOENT);
}

// Where the system has no Landlock, the program still starts and writes as
// it would without a writable folder.
TEST(LaunchProgram, WithoutLandlockAProgramRunsUnconfined) {
    TScratchFolder root;
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // In the child, only the exit status says what happened.
        if (!HideLandlock())
            _exit(2);
        if (CanConfineWriting())
            _exit(3);
        const TLaunch launch = LaunchWrites(root.Path());
        if (launch.Process == -1)
            _exit(4);
        _exit(WaitProgram(launch.Process) == 0 ? 0 : 5);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Read(root.Path() / "outside.txt"), "out\n");
    EXPECT_EQ(Read(root.Path() / "kept.txt"), "out\n");
    EXPECT_FALSE(fs::exists(root.Path() / "also-kept.txt"));
    EXPECT_TRUE(fs::is_directory(root.Path() / "made"));
    EXPECT_EQ(Read(root.Path() / "inside" / "log.txt"), "made\n");
}
