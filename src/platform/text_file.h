#pragma once
// Text files as line lists, and file names looked up as the desktop program
// expects: exactly first, then without regard to letter case in their folder.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using TStringList = std::vector<std::string>;

// The existing regular file at path, matched exactly or else by a name in the
// same folder that differs only in letter case; nothing when there is none.
std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& path);

// Reads a file as bytes split into lines; LF and CR LF both end a line, and a
// last line without an ending still counts. Raises EError when unreadable.
TStringList LoadLines(const std::filesystem::path& path);

// Writes the lines, each ended by CR LF. The text goes to a temporary file in
// the same folder that is renamed over the target only when complete, so a
// failure leaves the old file as it was. Raises EError on failure.
void SaveLines(const std::filesystem::path& path, const TStringList& lines);
