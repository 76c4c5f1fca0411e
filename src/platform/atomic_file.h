#pragma once
// Writing a file so that a failure half-way never loses the old one: the
// content goes to a temporary file in the target's folder, which replaces the
// target only once it is complete and flushed to disk. A symbolic link is
// followed and stays a link: the file it names is replaced, in that file's
// folder. What is not a regular file (a device, a FIFO) cannot be replaced and
// is written directly. The temporary file has no name until it is complete
// where the file system allows that, so a killed save leaves nothing behind;
// elsewhere it is named and found again by the next save into that folder.

#include <cstdio>
#include <filesystem>
#include <functional>
#include <sys/types.h>

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
