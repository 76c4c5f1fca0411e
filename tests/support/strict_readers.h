#pragma once
// Strict readers of the text the exports and booklets write, for tests and
// the fuzz harness: each returns "" when the text is what its format allows,
// else what is wrong. They read no further than the checks need, but never
// let through what a reader of the format would take differently.

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// RFC 8259 JSON, in valid UTF-8 (no surrogates, no overlong forms).
std::string JsonProblem(std::string_view text);
// Well-formed XML: balanced tags, quoted attributes (none twice in a tag),
// the five predefined entities and character references only, UTF-8.
std::string XmlProblem(std::string_view text);
// RFC 4180 CSV with CR LF line ends, every row of `columns` cells, UTF-8, no
// cell a spreadsheet runs as a formula. The cells come back in `rows`.
std::string CsvProblem(std::string_view text, size_t columns,
                       std::vector<std::vector<std::string>>* rows = nullptr);
// An HTML page that holds only the given tags and attributes (no script, no
// event attribute), every attribute value quoted, in valid UTF-8.
std::string HtmlProblem(std::string_view text, const std::set<std::string>& tags,
                        const std::set<std::string>& attributes);
// A Wavefront OBJ or MTL file: every line a statement of the format (or a
// comment), no name with "#" or a trailing backslash, faces naming vertices
// that exist, counted from 1.
std::string ObjProblem(std::string_view text);
// An LDraw multi-part file: every line of a known type, `files` "0 FILE"
// lines, each type-1 line naming a file of the document or nothing else.
std::string LdrawProblem(std::string_view text, size_t files);
// Whether the text is valid UTF-8.
bool IsUtf8(std::string_view text);
