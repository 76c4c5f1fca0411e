#pragma once
// Writing a file so that a failure half-way never loses the old one: the
// content goes to a temporary file in the same folder, which replaces the
// target only once it is complete and flushed to disk.

#include <cstdio>
#include <filesystem>
#include <functional>

// Calls write with the open temporary file; write raises EError (or returns
// false) on failure. Raises EError naming the target when anything fails, and
// then removes the temporary file and leaves the target untouched.
void WriteFileAtomically(const std::filesystem::path& path, const std::function<bool(std::FILE*)>& write);
