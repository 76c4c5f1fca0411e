#include "platform/atomic_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "common/error.h"
#include "platform/save_temporaries.h"

namespace fs = std::filesystem;

const TFileOperations& TFileOperations::System() {
    static const TFileOperations system{
        [](std::FILE* file) { return std::fflush(file); }, [](int fd) { return fsync(fd); },
        [](const char* from, const char* to) { return std::rename(from, to); },
        [](const char* folder, int flags, mode_t mode) { return open(folder, flags | O_TMPFILE, mode); }};
    return system;
}

namespace {

const char* const kNotWritten = "The data could not be written.";

template <typename F> const F& Or(const F& given, const F& system) {
    return given ? given : system;
}

[[noreturn]] void Fail(const char* what, const fs::path& path, const std::string& reason) {
    throw EError(StrFormat("%s file \"%s\". %s", what, path.string().c_str(), reason.c_str()));
}

// The file behind the links, empty with errno set for a loop of links.
fs::path FollowLinks(fs::path path) {
    for (int links = 0;; ++links) {
        struct stat status;
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (links == 40 || error) {
            errno = error ? error.value() : ELOOP;
            return {};
        }
        // A relative link is read from the folder the link lies in.
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
}

// A new named temporary file in the folder, open for writing; -1 with errno
// set when none can be made.
int CreateNamed(const fs::path& folder, fs::path& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Gives the unnamed file open as fd a temporary name in the folder.
bool LinkUnnamed(int fd, const fs::path& folder, fs::path& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder);
        // Through /proc, else by the descriptor itself, which needs more rights.
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
            (errno != EEXIST && linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0))
            return true;
        if (errno != EEXIST)
            break;
    }
    name.clear();
    return false;
}

// Calls write and flushes the file; returns what went wrong, or nothing.
std::string Fill(std::FILE* file, const std::function<bool(std::FILE*)>& write) {
    errno = 0;
    try {
        if (!write(file)) {
            const int error = errno;
            return std::ferror(file) && error ? std::strerror(error) : kNotWritten;
        }
    } catch (const EError& e) {
        return e.Message();
    }
    return {};
}

fs::path FolderOf(const fs::path& file) {
    return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

} // namespace

fs::path FileBehindLinks(const fs::path& path) {
    fs::path real = FollowLinks(path);
    if (real.empty())
        Fail("Cannot write", path, std::strerror(errno));
    return real;
}

TAtomicFile::TAtomicFile(const fs::path& path, const TFileOperations& operations)
    : FPath(path), FReal(path), FOperations(operations) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        if (errno != ENOENT)
            ::Fail("Cannot write", path, std::strerror(errno));
        // A new file, or one that a link names and that does not exist yet.
        FReal = FileBehindLinks(path);
        OpenTemporary();
        return;
    }
    if (S_ISDIR(status.st_mode))
        ::Fail("Cannot write", path, std::strerror(EISDIR));
    if (!S_ISREG(status.st_mode)) {
        OpenDirectly(S_ISFIFO(status.st_mode) ? O_NONBLOCK : 0);
        return;
    }
    FReal = FileBehindLinks(path);
    struct stat realStatus;
    if (stat(FReal.c_str(), &realStatus) == 0 && realStatus.st_dev == status.st_dev &&
        realStatus.st_ino == status.st_ino) {
        FOld = status;
        OpenTemporary();
    } else {
        // A file reached through a link that names no path (one of
        // /proc/self/fd, say, whose file was deleted): it can only be rewritten.
        FReal = path;
        OpenDirectly(O_TRUNC);
    }
}

TAtomicFile::~TAtomicFile() {
    Abandon();
}

void TAtomicFile::OpenTemporary() {
    const fs::path folder = FolderOf(FReal);
    // Unnamed until complete, so that a killed save leaves nothing; named
    // where the file system does not have unnamed files.
    FFd = Or(FOperations.OpenUnnamed, TFileOperations::System().OpenUnnamed)(folder.c_str(),
                                                                             O_WRONLY | O_CLOEXEC, 0666);
    if (FFd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        SweepLeftovers(folder);
        FFd = CreateNamed(folder, FTemporary);
        if (FFd >= 0)
            FWatch.Watch(FTemporary);
    } else {
        // An unnamed file gets its name only just before it replaces the
        // target; what a save killed in that moment left is swept once a run.
        SweepLeftoversOnce(folder);
    }
    if (FFd < 0)
        ::Fail("Cannot create", FPath, std::strerror(errno));
}

// A device, a FIFO, or a file that cannot be replaced: opened and written as
// it is. A FIFO is first opened without waiting, so that one that no program
// reads is reported rather than waited on for ever.
void TAtomicFile::OpenDirectly(int flags) {
    FDirect = true;
    FFd = open(FPath.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | flags);
    if (FFd < 0 && errno == ENXIO && (flags & O_NONBLOCK))
        ::Fail("Cannot write", FPath, "It is a pipe that no program reads from.");
    if (FFd < 0)
        ::Fail("Cannot write", FPath, std::strerror(errno));
    if (flags & O_NONBLOCK)
        fcntl(FFd, F_SETFL, fcntl(FFd, F_GETFL) & ~O_NONBLOCK);
}

std::FILE* TAtomicFile::Stream() {
    if (!FStream && FFd >= 0) {
        FStream = fdopen(FFd, "wb");
        if (!FStream)
            Fail(std::strerror(errno));
    }
    return FStream;
}

void TAtomicFile::Close() noexcept {
    if (FStream)
        std::fclose(FStream);
    else if (FFd >= 0)
        close(FFd);
    FStream = nullptr;
    FFd = -1;
}

void TAtomicFile::Abandon() noexcept {
    Close();
    if (!FTemporary.empty())
        unlink(FTemporary.c_str());
    FTemporary.clear();
    FWatch.Release();
}

void TAtomicFile::Fail(const std::string& reason) {
    Abandon();
    ::Fail("Cannot write", FPath, reason);
}

void TAtomicFile::Commit() {
    if (FFd < 0)
        Fail(kNotWritten);
    errno = 0;
    if (FStream &&
        (Or(FOperations.Flush, TFileOperations::System().Flush)(FStream) != 0 || std::ferror(FStream)))
        Fail(errno ? std::strerror(errno) : kNotWritten);
    const auto sync = Or(FOperations.Sync, TFileOperations::System().Sync);
    if (FDirect) {
        // A FIFO or a terminal cannot be synced, and need not be.
        if (sync(FFd) != 0 && errno != EINVAL && errno != EROFS)
            Fail(std::strerror(errno));
        const int closed = FStream ? std::fclose(FStream) : close(FFd);
        FStream = nullptr;
        FFd = -1;
        if (closed != 0)
            Fail(std::strerror(errno));
        return;
    }
    if (FOld) {
        // Owner and group first: changing them may clear the set-id bits.
        if (fchown(FFd, FOld->st_uid, FOld->st_gid) != 0 &&
            fchown(FFd, static_cast<uid_t>(-1), FOld->st_gid) != 0) {
            // Not the owner's group either: the file gets the folder's usual group.
        }
        fchmod(FFd, FOld->st_mode & 07777);
    }
    if (sync(FFd) != 0)
        Fail(std::strerror(errno));
    const fs::path folder = FolderOf(FReal);
    if (FTemporary.empty()) {
        if (!LinkUnnamed(FFd, folder, FTemporary))
            Fail(std::strerror(errno));
        FWatch.Watch(FTemporary);
    }
    const int closed = FStream ? std::fclose(FStream) : close(FFd);
    FStream = nullptr;
    FFd = -1;
    if (closed != 0)
        Fail(std::strerror(errno));
    if (Or(FOperations.Rename, TFileOperations::System().Rename)(FTemporary.c_str(), FReal.c_str()) != 0)
        Fail(std::strerror(errno));
    FTemporary.clear();
    FWatch.Release();
    // The new name itself reaches the disk.
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
}

void WriteFileAtomically(const fs::path& path, const std::function<bool(std::FILE*)>& write,
                         const TFileOperations& operations) {
    TAtomicFile file(path, operations);
    if (const std::string problem = Fill(file.Stream(), write); !problem.empty())
        file.Fail(problem);
    file.Commit();
}

void CopyFileAtomically(const fs::path& from, const fs::path& to, const TFileOperations& operations) {
    std::FILE* source = std::fopen(from.c_str(), "rb");
    if (!source)
        Fail("Cannot open", from, std::strerror(errno));
    std::string readError;
    try {
        WriteFileAtomically(
            to,
            [&](std::FILE* file) {
                std::array<char, 65536> buffer;
                for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), source)) > 0;)
                    if (std::fwrite(buffer.data(), 1, n, file) != n)
                        return false;
                if (std::ferror(source)) {
                    readError = StrFormat("Cannot read file \"%s\"", from.string().c_str());
                    throw EError("The file it copies could not be read.");
                }
                return true;
            },
            operations);
    } catch (const EError&) {
        std::fclose(source);
        if (!readError.empty())
            throw EError(readError);
        throw;
    }
    std::fclose(source);
}
