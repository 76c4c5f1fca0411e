#pragma once
// A folder of files written whole or not at all: the files go into a new
// hidden folder beside the target, which takes the target's place only once
// complete (an earlier folder there and its files then go). Dropped
// unfinished, or stopped by Ctrl+C, SIGTERM or SIGHUP, it leaves nothing; the
// leftover of a killed program is removed by a later save into that place.

#include <filesystem>

#include "platform/removed_on_signal.h"

class TAtomicFolder {
public:
    // Raises EError naming the target when the folder beside it cannot be made.
    explicit TAtomicFolder(const std::filesystem::path& target);
    ~TAtomicFolder();
    TAtomicFolder(const TAtomicFolder&) = delete;
    TAtomicFolder& operator=(const TAtomicFolder&) = delete;

    // Where the files go until the folder is committed.
    const std::filesystem::path& Partial() const { return FPartial; }
    // Puts the folder in the target's place, replacing a folder there.
    // Raises EError naming the target when that fails, or when the target is
    // something other than a folder; the target is then as it was.
    void Commit();
    // Removes the unfinished folder.
    void Abandon() noexcept;

private:
    std::filesystem::path FTarget, FPartial;
    mode_t FMode = 0755;
    TRemovedOnSignal FWatch;
};
