#pragma once
// Writing a file so that a failure half-way never loses the old one: the
// content goes to a temporary file in the target's folder, which replaces the
// target only once it is complete and flushed to disk. A symbolic link is
// followed and stays a link: the file it names is replaced, in that file's
// folder. What is not a regular file (a device, a FIFO) cannot be replaced and
// is written directly; a FIFO that no program reads is refused rather than
// waited on. The temporary file has no name until it is complete where the
// file system allows that, so a killed save leaves nothing behind; elsewhere
// it is named, removed on Ctrl+C, SIGTERM and SIGHUP, and found again by the
// next save into that folder.

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

#include "platform/removed_on_signal.h"

// The system's file operations the writer uses; tests give ones that fail.
// An empty one stands for the system's own.
struct TFileOperations {
    std::function<int(std::FILE*)> Flush{};
    std::function<int(int)> Sync{};
    std::function<int(const char*, const char*)> Rename{};
    // Opens an unnamed file in a folder: open(folder, flags | O_TMPFILE, mode).
    std::function<int(const char*, int, mode_t)> OpenUnnamed{};
    // The system's own.
    static const TFileOperations& System();
};

// A file being written that takes the place of its target only when
// committed; dropped (or destroyed) unfinished, it leaves the target as it
// was (a device or FIFO may have been given part of the data). Errors are
// EError "Cannot write file "PATH". REASON", naming the path as given.
class TAtomicFile {
public:
    explicit TAtomicFile(const std::filesystem::path& path,
                         const TFileOperations& operations = TFileOperations::System());
    ~TAtomicFile();
    TAtomicFile(const TAtomicFile&) = delete;
    TAtomicFile& operator=(const TAtomicFile&) = delete;

    // The open file the data go into.
    int Descriptor() const { return FFd; }
    // A stdio stream over it, made on first use and flushed by Commit.
    std::FILE* Stream();
    // The file the path names with its links followed: the place beside
    // which the file's companions belong.
    const std::filesystem::path& RealPath() const { return FReal; }
    // Makes the file the target: flushed, given the old file's permissions
    // and owner, synced, and renamed over the target.
    void Commit();
    // Drops what was written.
    void Abandon() noexcept;
    // Abandons and raises the error for this file with the reason.
    [[noreturn]] void Fail(const std::string& reason);

private:
    void OpenTemporary();
    void OpenDirectly(int flags);
    void Close() noexcept;

    std::filesystem::path FPath, FReal, FTemporary;
    const TFileOperations& FOperations;
    std::optional<struct stat> FOld;
    int FFd = -1;
    std::FILE* FStream = nullptr;
    bool FDirect = false;
    TRemovedOnSignal FWatch;
};

// Calls write with the open file; write raises EError (or returns false) on
// failure. Raises EError naming the target when anything fails, and then
// leaves no temporary file and the target untouched (a device or FIFO may
// have been given part of the data). A replaced file keeps its permissions,
// and its owner and group where the program may set them; a new file gets the
// usual ones.
void WriteFileAtomically(const std::filesystem::path& path, const std::function<bool(std::FILE*)>& write,
                         const TFileOperations& operations = TFileOperations::System());

// Copies the file from over the file to with WriteFileAtomically. Raises
// EError when from cannot be read or to cannot be written.
void CopyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to,
                        const TFileOperations& operations = TFileOperations::System());

// The file a path names with its symbolic links followed, each relative link
// read from the link's own folder; the file need not exist. Raises EError
// "Cannot write file ..." for a loop of links.
std::filesystem::path FileBehindLinks(const std::filesystem::path& path);
