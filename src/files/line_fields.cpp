#include "files/line_fields.h"

#include "common/convert.h"

size_t TLineFields::FieldEnd() const {
    size_t end = FText.find(' ', FPos);
    return end == std::string_view::npos ? FText.size() : end;
}

bool TLineFields::AtNumber() const {
    if (AtEnd())
        return false;
    const char c = FText[FPos];
    return (c >= '0' && c <= '9') || c == '-';
}

int32_t TLineFields::ReadNumber() {
    if (!AtNumber()) {
        if (!AtEnd() && !FStalled)
            FStalled = std::string(FText.substr(FPos, FieldEnd() - FPos));
        return 0;
    }
    size_t end = FieldEnd();
    int32_t value = StrToInt(FText.substr(FPos, end - FPos));
    FPos = end + 1;
    return value;
}

std::string TLineFields::ReadWord(std::string_view defaultWord) {
    if (AtEnd())
        return std::string(defaultWord);
    size_t end = FieldEnd();
    std::string word(FText.substr(FPos, end - FPos));
    FPos = end + 1;
    return word;
}

bool StartsWithNumbers(std::string_view text, int count) {
    TLineFields fields(text);
    for (int i = 0; i < count; ++i) {
        if (!fields.AtNumber())
            return false;
        fields.ReadWord();
    }
    return true;
}
