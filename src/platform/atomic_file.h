#pragma once
// Writing a file so that a failure half-way never loses the old one: the
// content goes to a temporary file in the same folder, which replaces the
// target only once it is complete and flushed to disk.

#include <cstdio>
#include <filesystem>
#include <functional>

// The system's file operations the writer uses; tests give ones that fail.
struct TFileOperations {
    std::function<int(std::FILE*)> Flush;
    std::function<int(int)> Sync;
    std::function<int(const char*, const char*)> Rename;
    // The system's own.
    static const TFileOperations& System();
};

// Calls write with the open temporary file; write raises EError (or returns
// false) on failure. Raises EError naming the target when anything fails, and
// then removes the temporary file and leaves the target untouched.
void WriteFileAtomically(const std::filesystem::path& path, const std::function<bool(std::FILE*)>& write,
                         const TFileOperations& operations = TFileOperations::System());
