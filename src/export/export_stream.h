#pragma once
// Buffered writing for the export files: a large model's file goes out piece
// by piece, never held whole, and numbers are formatted without the C
// library's locale-aware printf, which would dominate the time of a big export.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TExportStream {
public:
    // Receives each full buffer; returns false when the data could not be taken.
    using TSink = std::function<bool(const char* data, size_t size)>;
    explicit TExportStream(TSink sink, size_t bufferSize = 1 << 16);
    TExportStream(const TExportStream&) = delete;
    TExportStream& operator=(const TExportStream&) = delete;

    TExportStream& operator<<(std::string_view text) {
        Put(text.data(), text.size());
        return *this;
    }
    TExportStream& operator<<(char c) {
        if (FBuffer.size() == FCapacity)
            Flush();
        FBuffer.push_back(c);
        return *this;
    }
    // A whole number in decimal.
    TExportStream& Whole(uint64_t value);
    // A number with at most `decimals` places, trailing zeros (and a bare
    // point) dropped, "-0" written as "0".
    TExportStream& Number(double value, int decimals = 4);
    void Put(const void* data, size_t size);
    // Little-endian binary values.
    void PutUint16(uint16_t value);
    void PutUint32(uint32_t value);
    void PutFloat(float value);

    // Hands what is buffered to the sink. Raises EError when the sink fails.
    void Flush();
    // Bytes put so far.
    uint64_t Written() const { return FWritten + FBuffer.size(); }

private:
    TSink FSink;
    std::vector<char> FBuffer;
    size_t FCapacity;
    uint64_t FWritten = 0;
};

// A name that stays on its line of a text file: line ends and the other
// control characters become spaces, and bytes that are not UTF-8 are read as
// Latin-1.
std::string OneLineText(std::string_view text);
