#pragma once
// Saving a parts list: as CSV for a spreadsheet, as a web page with a picture
// of every stone, and as a set file, so the model's parts become a supply to
// build it again from. Each file replaces the old one only once complete.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "export/parts_list.h"

enum class TPartsFileFormat { Csv, Html, Set };

// The format a file's extension asks for (".csv", ".html", ".set", letter
// case aside); none for any other.
std::optional<TPartsFileFormat> PartsFormatOfName(const std::filesystem::path& path);
// The format the extension asks for; raises EError naming the three for any other.
TPartsFileFormat PartsFormatOf(const std::filesystem::path& path);

// A header row "Name,Part,Colour,Count", a row per stone and colour, and a
// totals row; fields quoted where they must be (RFC 4180), lines ending in CR LF.
std::string PartsCsvText(const TPartsList& list);

// A picture of a row's stone as PNG data; empty for none.
using TRowPicture = std::function<std::string(const TPartsRow& row)>;
// A page that needs nothing beside it: the title, a table with the picture of
// every row (embedded as data), its name, part, colour and count, and the totals.
std::string PartsHtmlText(const TPartsList& list, const std::string& title, const TRowPicture& picture);

// A line "caption, count" per caption a set counts (colours added up), in the
// form the set reader takes. Raises EError for a caption a set file cannot
// hold (one the reader would split at a comma).
std::string PartsSetText(const TPartsList& list);

// Writes the list in the format of the file's extension. Raises EError for an
// extension of none of the three and when the file cannot be written.
void SavePartsList(const std::filesystem::path& path, const TPartsList& list, const std::string& title,
                   const TRowPicture& picture);
