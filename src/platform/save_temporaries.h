#pragma once
// The hidden names under which unfinished saves are written beside their
// targets, ".stonemill-save.PID.RANDOM.HOST" after the process and the machine
// that made them, so that a later save can tell what a killed save left
// (whose process is gone) from what another save is still writing.

#include <filesystem>
#include <sys/types.h>

// A new name for a temporary file or folder in the folder; nothing exists
// under it yet, most likely.
std::filesystem::path TemporaryName(const std::filesystem::path& folder);

// The process of the named machine that made the temporary of this file
// name, or 0 when the name is not one of ours.
pid_t TemporaryMaker(const std::string& name, const std::string& host);

// This machine's name, as temporary names carry it.
std::string ThisHost();

// Removes the temporary files and folders in the folder that saves of this
// machine left when they were killed: those whose process is gone. Those of
// other machines (the folder may be shared) are left alone.
void SweepLeftovers(const std::filesystem::path& folder);

// Sweeps the folder the first time this run saves into it, so that saving
// many files into one folder stays linear.
void SweepLeftoversOnce(const std::filesystem::path& folder);
