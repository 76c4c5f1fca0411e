#include "export/export_stream.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "common/error.h"
#include "common/strings.h"

static_assert(std::endian::native == std::endian::little,
              "binary exports are written for little-endian machines");

TExportStream::TExportStream(TSink sink, size_t bufferSize) : FSink(std::move(sink)), FCapacity(bufferSize) {
    FBuffer.reserve(FCapacity);
}

void TExportStream::Put(const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    if (FBuffer.size() + size > FCapacity) {
        Flush();
        if (size > FCapacity) {
            if (!FSink(bytes, size))
                throw EError("The data could not be written.");
            FWritten += size;
            return;
        }
    }
    FBuffer.insert(FBuffer.end(), bytes, bytes + size);
}

TExportStream& TExportStream::Whole(uint64_t value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    Put(text, static_cast<size_t>(result.ptr - text));
    return *this;
}

TExportStream& TExportStream::Number(double value, int decimals) {
    if (!std::isfinite(value))
        value = 0;
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    char* end = result.ec == std::errc() ? result.ptr : text;
    if (std::memchr(text, '.', static_cast<size_t>(end - text)) != nullptr) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    if (end - text == 2 && text[0] == '-' && text[1] == '0') {
        Put("0", 1);
        return *this;
    }
    Put(text, static_cast<size_t>(end - text));
    return *this;
}

void TExportStream::PutUint16(uint16_t value) {
    Put(&value, sizeof value);
}

void TExportStream::PutUint32(uint32_t value) {
    Put(&value, sizeof value);
}

void TExportStream::PutFloat(float value) {
    Put(&value, sizeof value);
}

void TExportStream::Flush() {
    if (FBuffer.empty())
        return;
    if (!FSink(FBuffer.data(), FBuffer.size()))
        throw EError("The data could not be written.");
    FWritten += FBuffer.size();
    FBuffer.clear();
}

std::string OneLineText(std::string_view text) {
    std::string line = ValidUtf8(text);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < ' ' || c == '\x7F')
            c = ' ';
    return line;
}
