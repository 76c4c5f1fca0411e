#include "files/line_fields.h"

#include "common/convert.h"

size_t TLineFields::FieldEnd() const {
    size_t end = FText.find(' ', FPos);
    return end == std::string_view::npos ? FText.size() : end;
}

int32_t TLineFields::ReadNumber() {
    if (AtEnd())
        return 0;
    char c = FText[FPos];
    if (!((c >= '0' && c <= '9') || c == '-'))
        return 0;
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
