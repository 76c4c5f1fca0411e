#include "platform/atomic_file.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "common/error.h"

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

// Named temporary files are called ".stonemill-save.PID.RANDOM.HOST" after the
// process and the machine that made them, so that a later save can tell the
// leftover of a killed save from a file another save is still writing.
const std::string kTemporaryPrefix = ".stonemill-save.";
constexpr size_t kRandomLength = 6;

std::string HostName() {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0 || name[0] == '\0')
        return "localhost";
    return name.data();
}

fs::path TemporaryName(const fs::path& folder) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof letters - 2);
    std::string name = kTemporaryPrefix + std::to_string(getpid()) + ".";
    for (size_t i = 0; i < kRandomLength; ++i)
        name += letters[pick(generator)];
    return folder / (name + "." + HostName());
}

// The process of this machine that made the named temporary file, or 0 when
// the name is not one of ours.
pid_t MakerOf(const std::string& name, const std::string& host) {
    if (name.compare(0, kTemporaryPrefix.size(), kTemporaryPrefix) != 0)
        return 0;
    const size_t start = kTemporaryPrefix.size(), end = name.find('.', start);
    if (end == std::string::npos || end == start || end - start > 9 ||
        name.size() < end + kRandomLength + 2 || name[end + kRandomLength + 1] != '.' ||
        name.compare(end + kRandomLength + 2, std::string::npos, host) != 0)
        return 0;
    pid_t pid = 0;
    for (size_t i = start; i < end; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

// Removes the named temporary files in the folder that saves of this machine
// left when they were killed: those whose process is gone.
void SweepLeftovers(const fs::path& folder) {
    const std::string host = HostName();
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const pid_t maker = MakerOf(it->path().filename().string(), host);
        std::error_code ignored;
        if (maker > 0 && maker != getpid() && kill(maker, 0) != 0 && errno == ESRCH &&
            it->symlink_status(ignored).type() == fs::file_type::regular)
            unlink(it->path().c_str());
    }
}

// Whether this is the run's first save into the folder.
bool FirstSaveInto(const fs::path& folder) {
    static std::mutex guard;
    static std::set<fs::path> saved;
    std::error_code ignored;
    const std::lock_guard lock(guard);
    return saved.insert(fs::absolute(folder, ignored).lexically_normal()).second;
}

// A new named temporary file in the folder, open for writing; -1 with errno
// set when none can be made.
int CreateNamed(const fs::path& folder, fs::path& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
std::string Fill(std::FILE* file, const std::function<bool(std::FILE*)>& write,
                 const TFileOperations& operations) {
    errno = 0;
    try {
        if (!write(file)) {
            const int error = errno;
            return std::ferror(file) && error ? std::strerror(error) : kNotWritten;
        }
    } catch (const EError& e) {
        return e.Message();
    }
    errno = 0;
    if (Or(operations.Flush, TFileOperations::System().Flush)(file) != 0 || std::ferror(file))
        return errno ? std::strerror(errno) : kNotWritten;
    return {};
}

// A device, a FIFO, or a file that cannot be replaced: opened and written as
// it is. Every error of writing, flushing and closing is reported.
void WriteDirectly(const fs::path& path, int flags, const std::function<bool(std::FILE*)>& write,
                   const TFileOperations& operations) {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | flags);
    if (fd < 0)
        Fail("Cannot write", path, std::strerror(errno));
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        close(fd);
        Fail("Cannot write", path, std::strerror(error));
    }
    std::string problem = Fill(file, write, operations);
    // A FIFO or a terminal cannot be synced, and need not be.
    if (problem.empty() && Or(operations.Sync, TFileOperations::System().Sync)(fd) != 0 && errno != EINVAL &&
        errno != EROFS)
        problem = std::strerror(errno);
    if (std::fclose(file) != 0 && problem.empty())
        problem = std::strerror(errno);
    if (!problem.empty())
        Fail("Cannot write", path, problem);
}

// The file a path names with its symbolic links followed: a link's own folder
// holds the link, not the file. The file need not exist. Empty with errno set
// for a loop of links.
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
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
}

// Writes a new file beside real and renames it over real, which is a regular
// file (described by old) or does not exist yet (old is null).
void Replace(const fs::path& path, const fs::path& real, const struct stat* old,
             const std::function<bool(std::FILE*)>& write, const TFileOperations& operations) {
    const fs::path folder = real.parent_path().empty() ? fs::path(".") : real.parent_path();
    // Unnamed until complete, so that a killed save leaves nothing; named
    // where the file system does not have unnamed files.
    fs::path temporary;
    int fd = Or(operations.OpenUnnamed, TFileOperations::System().OpenUnnamed)(folder.c_str(),
                                                                               O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        SweepLeftovers(folder);
        fd = CreateNamed(folder, temporary);
    } else if (FirstSaveInto(folder)) {
        // An unnamed file gets its name only just before it replaces the
        // target; what a save killed in that moment left is swept once a run,
        // so that saving many files into one folder stays linear.
        SweepLeftovers(folder);
    }
    if (fd < 0)
        Fail("Cannot create", path, std::strerror(errno));
    std::FILE* file = fdopen(fd, "wb");
    auto fail = [&](const std::string& reason) {
        if (file)
            std::fclose(file);
        else if (fd >= 0)
            close(fd);
        if (!temporary.empty())
            unlink(temporary.c_str());
        Fail("Cannot write", path, reason);
    };
    if (!file) {
        const int error = errno;
        fail(std::strerror(error));
    }
    const std::string problem = Fill(file, write, operations);
    if (!problem.empty())
        fail(problem);
    if (old) {
        // Owner and group first: changing them may clear the set-id bits.
        if (fchown(fd, old->st_uid, old->st_gid) != 0 &&
            fchown(fd, static_cast<uid_t>(-1), old->st_gid) != 0) {
            // Not the owner's group either: the file gets the folder's usual group.
        }
        fchmod(fd, old->st_mode & 07777);
    }
    if (Or(operations.Sync, TFileOperations::System().Sync)(fd) != 0)
        fail(std::strerror(errno));
    if (temporary.empty() && !LinkUnnamed(fd, folder, temporary))
        fail(std::strerror(errno));
    const int closed = std::fclose(file);
    file = nullptr;
    fd = -1;
    if (closed != 0)
        fail(std::strerror(errno));
    if (Or(operations.Rename, TFileOperations::System().Rename)(temporary.c_str(), real.c_str()) != 0)
        fail(std::strerror(errno));
    // The new name itself reaches the disk.
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
}

} // namespace

void WriteFileAtomically(const fs::path& path, const std::function<bool(std::FILE*)>& write,
                         const TFileOperations& operations) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        if (errno != ENOENT)
            Fail("Cannot write", path, std::strerror(errno));
        // A new file, or one that a link names and that does not exist yet.
        const fs::path real = FollowLinks(path);
        if (real.empty())
            Fail("Cannot write", path, std::strerror(errno));
        Replace(path, real, nullptr, write, operations);
        return;
    }
    if (S_ISDIR(status.st_mode))
        Fail("Cannot write", path, std::strerror(EISDIR));
    if (!S_ISREG(status.st_mode)) {
        WriteDirectly(path, 0, write, operations);
        return;
    }
    const fs::path real = FollowLinks(path);
    struct stat realStatus;
    if (!real.empty() && stat(real.c_str(), &realStatus) == 0 && realStatus.st_dev == status.st_dev &&
        realStatus.st_ino == status.st_ino)
        Replace(path, real, &status, write, operations);
    else
        // A file reached through a link that names no path (one of
        // /proc/self/fd, say, whose file was deleted): it can only be rewritten.
        WriteDirectly(path, O_TRUNC, write, operations);
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
