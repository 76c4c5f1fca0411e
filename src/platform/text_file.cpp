#include "platform/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "common/error.h"
#include "common/strings.h"

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

TStringList LoadLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EError(StrFormat("Cannot open file \"%s\". %s", path.string().c_str(), std::strerror(errno)));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw EError(StrFormat("Cannot read file \"%s\"", path.string().c_str()));
    TStringList lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        size_t lineEnd = (end > start && text[end - 1] == '\r') ? end - 1 : end;
        lines.emplace_back(text, start, lineEnd - start);
        start = next;
    }
    return lines;
}

void SaveLines(const fs::path& path, const TStringList& lines) {
    fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    int fd = mkstemp(pattern.data());
    if (fd < 0)
        throw EError(StrFormat("Cannot create file \"%s\". %s", path.string().c_str(), std::strerror(errno)));
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    size_t written = 0;
    bool ok = true;
    while (written < text.size()) {
        ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        written += static_cast<size_t>(n);
    }
    int savedErrno = errno;
    if (ok && fsync(fd) != 0)
        ok = false;
    if (close(fd) != 0)
        ok = false;
    // Keep the permissions of a file being replaced; a new file gets the usual ones.
    std::error_code error;
    auto perms = fs::exists(path, error) ? fs::status(path, error).permissions()
                                         : fs::perms::owner_read | fs::perms::owner_write |
                                               fs::perms::group_read | fs::perms::others_read;
    if (ok)
        fs::permissions(pattern, perms, error);
    if (!ok || std::rename(pattern.c_str(), path.c_str()) != 0) {
        if (ok)
            savedErrno = errno;
        std::remove(pattern.c_str());
        throw EError(
            StrFormat("Cannot write file \"%s\". %s", path.string().c_str(), std::strerror(savedErrno)));
    }
}
