#pragma once
// Breaking up a scene: one model file is split into one numbered file per
// group, each starting with the scene's view line, in a folder named after
// the scene file.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/progress.h"
#include "platform/text_file.h"

// The group a line of a scene belongs to: 0 for a line of 10 characters or
// fewer and for a view line; otherwise the line, trimmed and upper-cased, is
// split into tokens at spaces and commas (a token in double quotes is kept
// whole) and the group is token 14 of a "G" line (of either case) and token 12
// of any other line, counting from 0.
// A line too short to hold that token is in no group (0), as the reader reads
// its missing group as 0. A token that is not an integer raises the
// conversion error.
int32_t GroupKeyOf(const std::string& line);

// The tokens of a line as GroupKeyOf splits it: every space and every comma
// ends a token (so two in a row give an empty token); a token that begins with
// a double quote runs to the closing quote, two quotes inside stand for one,
// and the quotes are removed.
std::vector<std::string> SplitGroupTokens(const std::string& line);

// Splits the lines of a scene into the files' contents: a first line that
// begins with "=" is the view line and starts every file; then one file per
// group, in the order in which each group first occurs, holding that group's
// lines in file order. Raises the conversion error for a bad group token
// before anything is split. Takes time in proportion to the number of lines,
// however many groups there are. Progress, when given, is told the share of
// the lines whose group has been read now and then.
std::vector<TStringList> SplitSceneLines(TStringList lines, const TShareProgress& progress = nullptr);

// The folder a scene file is broken up into: the path with everything from
// ".STM" (of any letter case) on removed; none when the path holds no ".STM".
std::optional<std::filesystem::path> BreakUpFolder(const std::string& scenePath);

struct TBreakUpResult {
    std::filesystem::path Folder;
    std::vector<std::filesystem::path> Files; // Folder/0.stm, Folder/1.stm, ...
};

// Reads the scene file and writes one "N.stm" per group into its break-up
// folder, creating the folder when needed. A path without ".STM" does
// nothing and gives none. Raises EError when the file cannot be read, a group
// token is bad, or the folder or a file cannot be written. Progress, when
// given, is told the share of the work done, the files written counting for
// most of it.
std::optional<TBreakUpResult> BreakUpScene(const std::string& scenePath,
                                           const TShareProgress& progress = nullptr);
