#pragma once
// Holding a started program's writing to one folder with Linux's Landlock
// (5.13 and later). The rule set is made in the starting process; the new
// process takes it on just before it becomes the program, and the program
// can never leave it. Reading is left as it is.

#include <filesystem>

// Whether the system can keep a process's writing to one folder.
bool CanConfineWriting();

// A rule set under which a process makes, changes and removes files only
// beneath the folder. -1 with error 0 where the system has no Landlock (the
// program then runs unconfined, as on any older system); -1 with the error
// when the rule set cannot be made.
int WritingRuleset(const std::filesystem::path& folder, int& error);

// Holds the calling process to the rule set for good; 0, or the error. It
// makes system calls only, so it may run between fork and exec.
int TakeOnRuleset(int ruleset);
