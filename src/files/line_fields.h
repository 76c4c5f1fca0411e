#pragma once
// Reading the fields of one model-file line, left to right, the way the model
// file format defines them. Fields are separated by single spaces; missing
// fields at the end of a line read as 0 or as the word's default, so older,
// shorter lines still load.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class TLineFields {
public:
    explicit TLineFields(std::string_view text) : FText(text) {}

    // Past the end: 0. On a digit or "-": the text up to the next space (or the
    // end) is converted strictly (a malformed or out-of-range number raises the
    // conversion error) and reading goes on behind that space. On any other
    // character: 0, and the read position stays, so every later number reads 0
    // too until a word takes the offending text away.
    int32_t ReadNumber();
    // Past the end: the default. Otherwise the text up to the next space, which
    // is empty when the read position stands on a space; reading goes on behind
    // that space.
    std::string ReadWord(std::string_view defaultWord = {});
    bool AtEnd() const { return FPos >= FText.size(); }
    // The field at the read position starts as a number does (a digit or "-"):
    // ReadNumber takes it, or raises the conversion error when it is malformed.
    bool AtNumber() const;
    // The first field that stood where a number belongs and was not one (an
    // empty text for an empty field), so read as 0 with every number after it
    // until a word took it; nothing when every number read was one.
    const std::optional<std::string>& FirstNonNumber() const { return FStalled; }

private:
    // The end of the field starting at the read position, and the position behind it.
    size_t FieldEnd() const;

    std::string_view FText;
    size_t FPos = 0;
    std::optional<std::string> FStalled;
};

// Whether the first `count` fields of the text all start as numbers do
// (TLineFields::AtNumber); their values are not looked at.
bool StartsWithNumbers(std::string_view text, int count);
