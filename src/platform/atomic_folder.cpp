#include "platform/atomic_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#include "common/error.h"
#include "platform/save_temporaries.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const fs::path& target, const std::string& reason) {
    throw EError(StrFormat("Cannot write folder \"%s\". %s", target.string().c_str(), reason.c_str()));
}

} // namespace

TAtomicFolder::TAtomicFolder(const fs::path& target) : FTarget(target) {
    const fs::path parent = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    SweepLeftovers(parent);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path name = TemporaryName(parent);
        // Made with the usual permissions, which the finished folder gets;
        // while it is filled, only this program may write into it.
        if (mkdir(name.c_str(), 0777) == 0) {
            FPartial = name;
            break;
        }
        if (errno != EEXIST)
            Fail(target, std::strerror(errno));
    }
    if (FPartial.empty())
        Fail(target, std::strerror(EEXIST));
    FWatch.Watch(FPartial);
    struct stat status;
    if (stat(FPartial.c_str(), &status) == 0)
        FMode = status.st_mode & 07777;
    chmod(FPartial.c_str(), 0700);
}

TAtomicFolder::~TAtomicFolder() {
    Abandon();
}

void TAtomicFolder::Abandon() noexcept {
    if (FPartial.empty())
        return;
    std::error_code ignored;
    fs::remove_all(FPartial, ignored);
    FPartial.clear();
    FWatch.Release();
}

void TAtomicFolder::Commit() {
    if (FPartial.empty())
        Fail(FTarget, "Its files were not written.");
    chmod(FPartial.c_str(), FMode);
    struct stat status;
    if (lstat(FTarget.c_str(), &status) != 0) {
        if (errno != ENOENT || std::rename(FPartial.c_str(), FTarget.c_str()) != 0) {
            const int error = errno;
            Abandon();
            Fail(FTarget, std::strerror(error));
        }
        FPartial.clear();
        FWatch.Release();
        return;
    }
    if (!S_ISDIR(status.st_mode)) {
        Abandon();
        Fail(FTarget, "It is not a folder.");
    }
    // The two folders change places in one step where the file system can;
    // the earlier one, now under the temporary name, then goes.
    if (renameat2(AT_FDCWD, FPartial.c_str(), AT_FDCWD, FTarget.c_str(), RENAME_EXCHANGE) != 0) {
        const fs::path aside =
            TemporaryName(FTarget.parent_path().empty() ? fs::path(".") : FTarget.parent_path());
        if (std::rename(FTarget.c_str(), aside.c_str()) != 0) {
            const int error = errno;
            Abandon();
            Fail(FTarget, std::strerror(error));
        }
        if (std::rename(FPartial.c_str(), FTarget.c_str()) != 0) {
            const int error = errno;
            std::rename(aside.c_str(), FTarget.c_str());
            Abandon();
            Fail(FTarget, std::strerror(error));
        }
        FPartial = aside;
    }
    FWatch.Watch(FPartial);
    Abandon();
}
