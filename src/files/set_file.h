#pragma once
// Set files: the stones of one physical set, a line per stone type with its
// caption, a comma and how many the set holds ("3001, 8"). A line without a
// comma counts 0.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using TSetList = std::vector<std::pair<std::string, int>>;

// Reads the file into (caption, count) pairs sorted by caption without regard
// to letter case; a caption listed twice counts the sum. Raises EError when
// the file cannot be read or a count is not a whole number (naming the line).
TSetList ReadSetFile(const std::filesystem::path& path);
