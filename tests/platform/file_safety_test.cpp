// Reading and writing files safely: what is not a file is not read, and a
// write that fails at any step leaves the old file as it was.

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "common/error.h"
#include "platform/atomic_file.h"
#include "platform/atomic_folder.h"
#include "platform/save_temporaries.h"
#include "platform/text_file.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

TEST(TextFile, OnlyFilesAreRead) {
    TTempProgramFolder folder;
    EXPECT_EQ(ErrorOf([] { LoadLines("/dev/zero"); }), "Cannot open file \"/dev/zero\". It is not a file");
    const fs::path pipe = folder.Path() / "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { LoadLines(pipe); }),
              "Cannot open file \"" + pipe.string() + "\". It is not a file");
    EXPECT_EQ(ErrorOf([&] { LoadLines(folder.Path()); }),
              "Cannot open file \"" + folder.Path().string() + "\". Is a directory");
    EXPECT_EQ(SplitLines("a\r\nb\n\nc"), (TStringList{"a", "b", "", "c"}));
    EXPECT_EQ(SplitLines("\r"), (TStringList{""}));
}

TEST(AtomicFile, AFailureAtAnyStepKeepsTheOldFile) {
    TTempProgramFolder folder;
    const fs::path target = folder.Path() / "model.stm";
    std::ofstream(target) << "old";
    auto write = [](std::FILE* file) { return std::fputs("new", file) >= 0; };
    auto failing = [](int error) {
        return [error](auto&&...) {
            errno = error;
            return -1;
        };
    };
    struct TCase {
        const char* Step;
        TFileOperations Operations;
        std::string Message;
    };
    const TCase cases[] = {
        {"flush", {.Flush = failing(ENOSPC)}, "No space left on device"},
        {"sync", {.Sync = failing(EIO)}, "Input/output error"},
        {"rename", {.Rename = failing(EXDEV)}, "Invalid cross-device link"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(target, write, c.Operations); }),
                  "Cannot write file \"" + target.string() + "\". " + c.Message)
            << c.Step;
        EXPECT_EQ(folder.ReadFile(target), "old") << c.Step;
    }
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(target, [](std::FILE*) { return false; }); }),
              "Cannot write file \"" + target.string() + "\". The data could not be written.");
    EXPECT_EQ(ErrorOf([&] {
                  WriteFileAtomically(target, [](std::FILE*) -> bool { throw EError("The disk said no"); });
              }),
              "Cannot write file \"" + target.string() + "\". The disk said no");
    EXPECT_EQ(folder.ReadFile(target), "old");
    // No temporary file is left behind.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);
    WriteFileAtomically(target, write);
    EXPECT_EQ(folder.ReadFile(target), "new");
}

namespace {

std::function<bool(std::FILE*)> Writing(const std::string& text) {
    return [text](std::FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); };
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A process that saves 10 MB to target and is stopped half-way, when 5 MB are
// written; the caller kills it.
pid_t StartStoppedSave(const fs::path& target, const TFileOperations& operations) {
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        try {
            WriteFileAtomically(
                target,
                [&](std::FILE* file) {
                    const std::string megabyte(1 << 20, 'x');
                    for (int i = 0; i < 10; ++i) {
                        std::fwrite(megabyte.data(), 1, megabyte.size(), file);
                        if (i == 4 && std::fflush(file) == 0 && write(ready[1], "!", 1) == 1)
                            pause();
                    }
                    return true;
                },
                operations);
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    close(ready[1]);
    char signal = 0;
    const bool stopped = read(ready[0], &signal, 1) == 1;
    close(ready[0]);
    return stopped ? child : -1;
}

void Kill(pid_t child) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

} // namespace

TEST(AtomicFile, LinksDevicesAndPermissionsAreKeptAndNoTemporaryIsLeft) {
    TTempProgramFolder folder;
    const fs::path real = folder.Path() / "real", links = folder.Path() / "links";
    fs::create_directories(real);
    fs::create_directories(links);

    // A link is followed: the file it names is replaced in its own folder,
    // with its permissions and owner, and the link stays.
    const fs::path model = real / "model.stm", link = links / "link.stm";
    std::ofstream(model) << "old";
    ASSERT_EQ(chmod(model.c_str(), 0604), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(model.c_str(), 65534, 65534), 0);
    }
    fs::create_symlink("../real/model.stm", link);
    WriteFileAtomically(link, Writing("new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(folder.ReadFile(model), "new");
    struct stat status;
    ASSERT_EQ(stat(model.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    if (root) {
        EXPECT_TRUE(status.st_uid == 65534 && status.st_gid == 65534);
    }
    // A link to a file not made yet makes the file.
    fs::create_symlink(real / "fresh.stm", links / "fresh.stm");
    WriteFileAtomically(links / "fresh.stm", Writing("fresh"));
    EXPECT_TRUE(fs::is_symlink(links / "fresh.stm"));
    EXPECT_EQ(folder.ReadFile(real / "fresh.stm"), "fresh");
    EXPECT_EQ(Names(links), (std::set<std::string>{"link.stm", "fresh.stm"}));
    EXPECT_EQ(Names(real), (std::set<std::string>{"model.stm", "fresh.stm"}));
    // A loop of links is reported.
    fs::create_symlink("loop", links / "loop");
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(links / "loop", Writing("x")); }),
              "Cannot write file \"" + (links / "loop").string() + "\". Too many levels of symbolic links");

    // A FIFO is written into, as the reader on its other end sees.
    const fs::path fifo = folder.Path() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int readEnd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);
    // Held open until the save is done, so that the reader sees the end of
    // the data only then.
    const int heldEnd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(heldEnd, 0);
    fcntl(readEnd, F_SETFL, 0);
    std::string received;
    std::thread reader([&] {
        char buffer[4096];
        for (ssize_t n; (n = read(readEnd, buffer, sizeof buffer)) > 0;)
            received.append(buffer, static_cast<size_t>(n));
    });
    std::string large;
    for (int i = 0; large.size() < 300000; ++i)
        large += "B " + std::to_string(i) + " 0 0 20 20 20 255 1 0 0 0 0 w 0\r\n";
    const std::string error = ErrorOf([&] { WriteFileAtomically(fifo, Writing(large)); });
    close(heldEnd);
    reader.join();
    close(readEnd);
    EXPECT_EQ(error, "");
    EXPECT_TRUE(received == large) << received.size() << " of " << large.size() << " bytes";
    EXPECT_TRUE(fs::is_fifo(fifo));

    // A full device: the error is reported and the device stays. Our own node
    // of the device where the system lets us make one (as the superuser), so
    // that a fault cannot replace the system's /dev/full; the system's
    // otherwise, which others cannot replace.
    fs::path full = folder.Path() / "full";
    if (mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        full = "/dev/full";
    if (fs::is_character_file(full)) {
        EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(full, Writing("data")); }),
                  "Cannot write file \"" + full.string() + "\". No space left on device");
        EXPECT_TRUE(fs::is_character_file(full));
    } else {
        ADD_FAILURE() << "no full device to test with";
    }
    EXPECT_NE(ErrorOf([&] { WriteFileAtomically(real, Writing("data")); }), "");
    EXPECT_TRUE(fs::is_directory(real));

    // A save killed half-way leaves no file behind, and the old file as it
    // was: the unfinished file has no name.
    const fs::path saves = folder.Path() / "saves", target = saves / "big.stm";
    fs::create_directories(saves);
    std::ofstream(target) << "old";
    std::ofstream(saves / ".big.stm.a1B2c3") << "the user's own";
    const std::set<std::string> before = Names(saves);
    pid_t child = StartStoppedSave(target, TFileOperations::System());
    ASSERT_GT(child, 0);
    EXPECT_EQ(Names(saves), before);
    Kill(child);
    EXPECT_EQ(Names(saves), before);
    EXPECT_EQ(folder.ReadFile(target), "old");

    // Where the file system has no unnamed files, the unfinished file is
    // named. A later save leaves the file of a save still going, and removes
    // the one of a save that was killed.
    const TFileOperations named{.OpenUnnamed = [](const char*, int, mode_t) {
        errno = EOPNOTSUPP;
        return -1;
    }};
    child = StartStoppedSave(target, named);
    ASSERT_GT(child, 0);
    EXPECT_EQ(Names(saves).size(), before.size() + 1);
    WriteFileAtomically(target, Writing("newer"), named);
    EXPECT_EQ(Names(saves).size(), before.size() + 1);
    Kill(child);
    WriteFileAtomically(target, Writing("newest"), named);
    EXPECT_EQ(Names(saves), before);
    EXPECT_EQ(folder.ReadFile(target), "newest");
    // A named file that fails at the last step is removed too.
    TFileOperations namedFailing = named;
    namedFailing.Rename = [](const char*, const char*) {
        errno = EXDEV;
        return -1;
    };
    EXPECT_NE(ErrorOf([&] { WriteFileAtomically(target, Writing("lost"), namedFailing); }), "");
    EXPECT_EQ(Names(saves), before);
    EXPECT_EQ(folder.ReadFile(target), "newest");
}

TEST(AtomicFile, ARelativeLinkIsReadFromItsOwnFolderAndItsFileReplacedWhole) {
    TTempProgramFolder folder;
    const fs::path real = folder.Path() / "real", links = folder.Path() / "links";
    fs::create_directories(real);
    fs::create_directories(links / "deeper");
    const fs::path model = real / "model.stm", link = links / "deeper" / "link.stm";
    std::ofstream(model) << "old";
    fs::create_symlink("../../real/model.stm", link);
    EXPECT_EQ(fs::canonical(FileBehindLinks(link)), fs::canonical(model));
    // The file behind the link is replaced only whole: a write that fails
    // leaves it as it was, and one that succeeds is a new file.
    EXPECT_NE(
        ErrorOf([&] { WriteFileAtomically(link, [](std::FILE* f) { return std::fputs("ne", f) < 0; }); }),
        "");
    EXPECT_EQ(folder.ReadFile(model), "old");
    struct stat before, after;
    ASSERT_EQ(stat(model.c_str(), &before), 0);
    WriteFileAtomically(link, Writing("new"));
    ASSERT_EQ(stat(model.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(folder.ReadFile(model), "new");
    EXPECT_TRUE(fs::is_symlink(link));
}

TEST(AtomicFile, TheSweepTakesOnlyWhatKilledSavesOfThisMachineLeft) {
    TTempProgramFolder folder;
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone), alive = std::to_string(getppid());
    const std::string here = ThisHost();
    const fs::path f = folder.Path() / "shared";
    fs::create_directories(f);
    std::ofstream(f / (".stonemill-save." + dead + ".abcdef." + here)) << "left by a killed save";
    fs::create_directories(f / (".stonemill-save." + dead + ".ghijkl." + here));
    std::ofstream(f / (".stonemill-save." + dead + ".ghijkl." + here) / "cover.png") << "x";
    const std::set<std::string> kept{".stonemill-save." + dead +
                                         ".abcdef.another-machine", // its process may be alive there
                                     ".stonemill-save." + alive + ".abcdef." + here, // still being written
                                     ".stonemill-save." + dead + ".abc." + here,     // not a name of ours
                                     ".stonemill-save.notes", "model.stm"};
    for (const std::string& name : kept)
        std::ofstream(f / name) << "kept";
    SweepLeftovers(f);
    EXPECT_EQ(Names(f), kept);
}

namespace {

// A child that starts a folder of files and a named temporary file, tells
// the parent, and waits to be stopped.
pid_t StartUnfinishedWork(const fs::path& folder) {
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(ready[0]);
        TAtomicFolder pictures(folder / "pictures");
        std::ofstream(pictures.Partial() / "cover.png") << "picture";
        const TFileOperations named{.OpenUnnamed = [](const char*, int, mode_t) {
            errno = EOPNOTSUPP;
            return -1;
        }};
        TAtomicFile page(folder / "page.html", named);
        if (write(page.Descriptor(), "<html>", 6) == 6 && write(ready[1], "!", 1) == 1)
            pause();
        _exit(0);
    }
    close(ready[1]);
    char signal = 0;
    const bool started = read(ready[0], &signal, 1) == 1;
    close(ready[0]);
    return started ? child : -1;
}

} // namespace

TEST(AtomicFile, AStopBySignalLeavesNoUnfinishedFileOrFolderAndAnUnreadFifoIsRefused) {
    TTempProgramFolder folder;
    const fs::path work = folder.Path() / "work";
    fs::create_directories(work);
    std::ofstream(work / "notes.txt") << "mine";
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const pid_t child = StartUnfinishedWork(work);
        ASSERT_GT(child, 0);
        EXPECT_EQ(Names(work).size(), 3u) << "the unfinished folder and file are there";
        kill(child, signal);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(Names(work), std::set<std::string>{"notes.txt"}) << signal;
    }

    // A folder replaces an earlier one only whole, and never a file.
    {
        TAtomicFolder pictures(work / "pictures");
        std::ofstream(pictures.Partial() / "a.png") << "1";
        pictures.Commit();
    }
    {
        TAtomicFolder pictures(work / "pictures");
        std::ofstream(pictures.Partial() / "b.png") << "2";
    }
    EXPECT_EQ(Names(work / "pictures"), std::set<std::string>{"a.png"});
    {
        TAtomicFolder pictures(work / "pictures");
        std::ofstream(pictures.Partial() / "b.png") << "2";
        pictures.Commit();
    }
    EXPECT_EQ(Names(work / "pictures"), std::set<std::string>{"b.png"});
    TAtomicFolder onFile(work / "notes.txt");
    EXPECT_EQ(ErrorOf([&] { onFile.Commit(); }),
              "Cannot write folder \"" + (work / "notes.txt").string() + "\". It is not a folder.");
    EXPECT_EQ(folder.ReadFile(work / "notes.txt"), "mine");
    EXPECT_EQ(Names(work), (std::set<std::string>{"notes.txt", "pictures"}));

    // A FIFO that no program reads is refused at once, not waited on.
    const fs::path fifo = work / "fifo.obj";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(fifo, Writing("data")); }),
              "Cannot write file \"" + fifo.string() + "\". It is a pipe that no program reads from.");
    EXPECT_TRUE(fs::is_fifo(fifo));
}
