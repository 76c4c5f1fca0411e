#include "platform/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "common/error.h"
#include "common/strings.h"
#include "platform/atomic_file.h"

namespace fs = std::filesystem;

std::optional<fs::path> FindFileNoCase(const fs::path& path) {
    std::error_code error;
    if (fs::is_regular_file(path, error))
        return path;
    fs::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    std::string name = path.filename().string();
    fs::directory_iterator it(folder, error);
    if (error)
        return std::nullopt;
    for (const auto& entry : it) {
        if (SameText(entry.path().filename().string(), name) && entry.is_regular_file(error))
            return path.parent_path() / entry.path().filename();
    }
    return std::nullopt;
}

TStringList SplitLines(std::string_view text) {
    TStringList lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        const size_t lineEnd = (end > start && text[end - 1] == '\r') ? end - 1 : end;
        lines.emplace_back(text.substr(start, lineEnd - start));
        start = next;
    }
    return lines;
}

TStringList LoadLines(const fs::path& path) {
    std::error_code error;
    // A folder opens as a stream on Linux and fails only when read; a device
    // or a pipe may never end.
    if (fs::is_directory(path, error))
        throw EError(StrFormat("Cannot open file \"%s\". %s", path.string().c_str(), std::strerror(EISDIR)));
    if (fs::exists(path, error) && !fs::is_regular_file(path, error))
        throw EError(StrFormat("Cannot open file \"%s\". It is not a file", path.string().c_str()));
    const auto size = fs::file_size(path, error);
    if (!error && size > kLargestTextFile)
        throw EError(StrFormat("Cannot read file \"%s\". It is larger than %lld MB", path.string().c_str(),
                               static_cast<long long>(kLargestTextFile >> 20)));
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EError(StrFormat("Cannot open file \"%s\". %s", path.string().c_str(), std::strerror(errno)));
    std::string text;
    try {
        // Read in one piece of the file's size, then whatever it grew by.
        size_t length = 0;
        text.resize(error ? size_t{1} << 16 : static_cast<size_t>(size) + 1);
        while (in.read(text.data() + length, static_cast<std::streamsize>(text.size() - length)),
               length += static_cast<size_t>(in.gcount()), length == text.size())
            text.resize(text.size() * 2);
        text.resize(length);
        if (!in.bad())
            return SplitLines(text);
    } catch (const std::bad_alloc&) {
        throw EError(
            StrFormat("Cannot read file \"%s\". There is not enough memory for it.", path.string().c_str()));
    } catch (const std::exception&) {
    }
    throw EError(StrFormat("Cannot read file \"%s\"", path.string().c_str()));
}

void SaveLines(const fs::path& path, const TStringList& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    WriteFileAtomically(
        path, [&](std::FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); });
}
