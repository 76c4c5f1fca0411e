#include "platform/save_temporaries.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <random>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kTemporaryPrefix = ".stonemill-save.";
constexpr size_t kRandomLength = 6;

} // namespace

std::string ThisHost() {
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
    return folder / (name + "." + ThisHost());
}

pid_t TemporaryMaker(const std::string& name, const std::string& host) {
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

void SweepLeftovers(const fs::path& folder) {
    const std::string host = ThisHost();
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const pid_t maker = TemporaryMaker(it->path().filename().string(), host);
        if (maker <= 0 || maker == getpid() || kill(maker, 0) == 0 || errno != ESRCH)
            continue;
        std::error_code ignored;
        const fs::file_type type = it->symlink_status(ignored).type();
        if (type == fs::file_type::regular)
            unlink(it->path().c_str());
        else if (type == fs::file_type::directory)
            fs::remove_all(it->path(), ignored);
    }
}

void SweepLeftoversOnce(const fs::path& folder) {
    static std::mutex guard;
    static std::set<fs::path> swept;
    std::error_code ignored;
    {
        const std::lock_guard lock(guard);
        if (!swept.insert(fs::absolute(folder, ignored).lexically_normal()).second)
            return;
    }
    SweepLeftovers(folder);
}
