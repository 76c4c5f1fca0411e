#pragma once
// Unfinished work that a stop by Ctrl+C, SIGTERM or SIGHUP must not leave
// behind: a named temporary file, or a folder of files being filled. While
// such an object lives, a stop by one of these signals removes its path
// before the program ends as the signal ends it. (A kill that cannot be
// caught leaves it to the sweep of the next save into that folder.)

#include <filesystem>

class TRemovedOnSignal {
public:
    TRemovedOnSignal() = default;
    explicit TRemovedOnSignal(const std::filesystem::path& path) { Watch(path); }
    ~TRemovedOnSignal() { Release(); }
    TRemovedOnSignal(const TRemovedOnSignal&) = delete;
    TRemovedOnSignal& operator=(const TRemovedOnSignal&) = delete;

    // Removes the path on a stop from now on (a file, or a folder holding
    // only files). A path too long to keep, or more paths at once than are
    // kept, is left to the sweep.
    void Watch(const std::filesystem::path& path);
    // The path is finished or gone: a stop leaves it alone.
    void Release();

private:
    int FSlot = -1;
};
