// Reading and writing files safely: what is not a file is not read, and a
// write that fails at any step leaves the old file as it was.

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sys/stat.h>

#include "common/error.h"
#include "platform/atomic_file.h"
#include "platform/text_file.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

TEST(TextFile, OnlyFilesAreRead) {
    TTempProgramFolder folder;
    EXPECT_EQ(ErrorOf([] { LoadLines("/dev/zero"); }), "Cannot open file \"/dev/zero\". It is not a file");
    const fs::path pipe = folder.Path() / "pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ErrorOf([&] { LoadLines(pipe); }), "Cannot open file \"" + pipe.string() + "\". It is not a file");
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
    const TFileOperations& system = TFileOperations::System();
    const TCase cases[] = {
        {"flush", {failing(ENOSPC), system.Sync, system.Rename}, "No space left on device"},
        {"sync", {system.Flush, failing(EIO), system.Rename}, "Input/output error"},
        {"rename", {system.Flush, system.Sync, failing(EXDEV)}, "Invalid cross-device link"},
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
