#include "platform/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "common/error.h"

namespace fs = std::filesystem;

const TFileOperations& TFileOperations::System() {
    static const TFileOperations system{[](std::FILE* file) { return std::fflush(file); },
                                        [](int fd) { return fsync(fd); },
                                        [](const char* from, const char* to) { return std::rename(from, to); }};
    return system;
}

void WriteFileAtomically(const fs::path& path, const std::function<bool(std::FILE*)>& write,
                         const TFileOperations& operations) {
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    std::string temporary = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        throw EError(StrFormat("Cannot create file \"%s\". %s", path.string().c_str(), std::strerror(errno)));
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        close(fd);
        std::remove(temporary.c_str());
        throw EError(StrFormat("Cannot create file \"%s\". %s", path.string().c_str(), std::strerror(error)));
    }
    auto fail = [&](const std::string& reason) {
        std::fclose(file);
        std::remove(temporary.c_str());
        throw EError(StrFormat("Cannot write file \"%s\". %s", path.string().c_str(), reason.c_str()));
    };
    bool written = false;
    try {
        written = write(file);
    } catch (const EError& e) {
        fail(e.Message());
    }
    errno = 0;
    if (!written || operations.Flush(file) != 0 || std::ferror(file) || operations.Sync(fileno(file)) != 0)
        fail(errno ? std::strerror(errno) : "The data could not be written.");
    if (std::fclose(file) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        throw EError(StrFormat("Cannot write file \"%s\". %s", path.string().c_str(), std::strerror(error)));
    }
    // A replaced file keeps its permissions; a new one gets the usual ones.
    std::error_code ignored;
    const auto perms = fs::exists(path, ignored) ? fs::status(path, ignored).permissions()
                                                 : fs::perms::owner_read | fs::perms::owner_write |
                                                       fs::perms::group_read | fs::perms::others_read;
    fs::permissions(temporary, perms, ignored);
    if (operations.Rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        throw EError(StrFormat("Cannot write file \"%s\". %s", path.string().c_str(), std::strerror(error)));
    }
}
