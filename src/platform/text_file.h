#pragma once
// Text files as line lists, and file names looked up as the desktop program
// expects: exactly first, then without regard to letter case in their folder.

#include <filesystem>
#include <optional>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using TStringList = std::vector<std::string>;

// The existing regular file at path, matched exactly or else by a name in the
// same folder that differs only in letter case; nothing when there is none.
std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& path);

// Text split into lines: LF and CR LF both end a line, and a last line
// without an ending still counts.
TStringList SplitLines(std::string_view text);

// Text files larger than this are taken for something else and not read.
constexpr uintmax_t kLargestTextFile = uintmax_t{256} << 20;

// Reads a file as bytes split into lines (SplitLines). Raises EError when it is
// not a readable file of at most kLargestTextFile bytes.
TStringList LoadLines(const std::filesystem::path& path);

// Writes the lines, each ended by CR LF, with WriteFileAtomically: a failure
// leaves the old file as it was. Raises EError on failure.
void SaveLines(const std::filesystem::path& path, const TStringList& lines);
