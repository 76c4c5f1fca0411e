#pragma once
// String helpers: trimming, case-insensitive comparison and search, splitting.

#include <string>
#include <string_view>
#include <vector>

// Removes every character up to and including the space from both ends.
std::string Trim(std::string_view text);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// ASCII comparison without regard to letter case: <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
bool EndsWithText(std::string_view text, std::string_view ending);
bool StartsWithText(std::string_view text, std::string_view start);
// Splits at every separator, keeping empty fields ("a:" gives "a" and "").
std::vector<std::string> SplitFields(std::string_view text, char separator);
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Case-insensitive ordering for keyed containers.
struct TextLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return CompareText(a, b) < 0; }
};

// The text as UTF-8: its valid UTF-8 sequences as they are, every other byte
// (a surrogate, an overlong form, a lone or cut-off sequence) read as
// Latin-1, so that text typed in another code page still reads.
std::string ValidUtf8(std::string_view text);

// Appends the text to a web page as UTF-8 (ValidUtf8): &, <, > and " written
// as entities.
void AppendHtmlText(std::string& out, const std::string& text);
