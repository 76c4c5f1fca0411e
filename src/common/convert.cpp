#include "common/convert.h"

#include <limits>

#include "common/error.h"

namespace {

[[noreturn]] void ConversionError(std::string_view text) {
    throw EError("'" + std::string(text) + "' is not a valid integer value");
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Converts digits with an optional leading sign; text must be non-empty digits after the sign.
bool ParseSigned(std::string_view text, int32_t& result) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return false;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            return false;
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min())
        return false;
    result = static_cast<int32_t>(value);
    return true;
}

} // namespace

int32_t StrToInt(std::string_view text) {
    int32_t result = 0;
    if (!ParseSigned(text, result))
        ConversionError(text);
    return result;
}

void TNumberScanner::SkipSeparators() {
    while (FPos < FText.size()) {
        char c = FText[FPos];
        if (c != '\t' && c != ' ' && c != ',' && c != ';')
            break;
        ++FPos;
    }
}

int32_t TNumberScanner::Next() {
    size_t start = FPos;
    SkipSeparators();
    size_t numberStart = FPos;
    size_t end = FPos;
    if (end < FText.size() && FText[end] == '-')
        ++end;
    size_t digitsStart = end;
    while (end < FText.size() && IsDigit(FText[end]))
        ++end;
    if (end == numberStart) {
        FPos = start; // nothing taken, nothing consumed
        return 0;
    }
    std::string_view number = FText.substr(numberStart, end - numberStart);
    int32_t result = 0;
    if (end == digitsStart || !ParseSigned(number, result)) {
        // Show the offending token up to the next separator, as the user wrote it.
        size_t tokenEnd = end;
        while (tokenEnd < FText.size() && FText[tokenEnd] != ' ' && FText[tokenEnd] != ',' &&
               FText[tokenEnd] != ';' && FText[tokenEnd] != '\t')
            ++tokenEnd;
        ConversionError(FText.substr(numberStart, tokenEnd - numberStart));
    }
    FPos = end;
    return result;
}

std::string_view TNumberScanner::Rest() {
    SkipSeparators();
    return FText.substr(FPos);
}
