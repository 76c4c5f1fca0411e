#pragma once
// Strict number conversion and the part-file number scanner.

#include <cstdint>
#include <string>
#include <string_view>

// Accepts an optional sign and decimal digits only, within the 32-bit range;
// anything else raises EError "'text' is not a valid integer value".
int32_t StrToInt(std::string_view text);

// Reads numbers from a part-file value: before each number any run of tab,
// space, "," and ";" is skipped, then an optional "-" and decimal digits.
// Where no number starts, Next() gives 0 and consumes nothing, so missing
// trailing numbers read as 0. A "-" without a digit, or a number beyond the
// 32-bit range, raises the conversion error.
class TNumberScanner {
public:
    explicit TNumberScanner(std::string_view text) : FText(text) {}
    int32_t Next();
    // Skips separators and returns the rest of the text.
    std::string_view Rest();

private:
    void SkipSeparators();
    std::string_view FText;
    size_t FPos = 0;
};
