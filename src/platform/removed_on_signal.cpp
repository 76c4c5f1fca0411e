#include "platform/removed_on_signal.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <mutex>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The paths are kept where the signal handler can read them without taking a
// lock or memory: fixed slots, each marked ready once its path is written.
constexpr int kSlots = 64;
enum : int { slFree, slWriting, slReady };

struct TSlot {
    std::atomic<int> State{slFree};
    char Path[PATH_MAX];
};
std::array<TSlot, kSlots> gSlots;

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Removes the files of a folder and the folder, by system calls only, as a
// signal handler may. Another thread may still add a file meanwhile: a few
// rounds take that too.
void RemoveFolderNow(const char* path) {
    for (int round = 0; round < 4; ++round) {
        const int folder = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (folder < 0)
            return;
        alignas(8) char buffer[4096];
        for (long n; (n = syscall(SYS_getdents64, folder, buffer, sizeof buffer)) > 0;) {
            for (long at = 0; at < n;) {
                const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + at);
                at += entry->d_reclen;
                const char* name = entry->d_name;
                if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
                    unlinkat(folder, name, 0);
            }
        }
        close(folder);
        if (rmdir(path) == 0 || errno != ENOTEMPTY)
            return;
    }
}

void RemoveWatched() {
    for (TSlot& slot : gSlots) {
        if (slot.State.load(std::memory_order_acquire) != slReady)
            continue;
        if (unlink(slot.Path) != 0 && (errno == EISDIR || errno == EPERM))
            RemoveFolderNow(slot.Path);
    }
}

extern "C" void StopBySignal(int signal) {
    const int saved = errno;
    RemoveWatched();
    // The program ends as the signal would have ended it: the handler has
    // given the signal back to the system, and it arrives once this returns.
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    sigemptyset(&plain.sa_mask);
    sigaction(signal, &plain, nullptr);
    raise(signal);
    errno = saved;
}

// Installs the handler for the signals the program would end by; a signal
// that is ignored (a program started with nohup) stays ignored.
void InstallHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int signal : kStopSignals) {
            struct sigaction old {};
            if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL ||
                (old.sa_flags & SA_SIGINFO) != 0)
                continue;
            struct sigaction handler {};
            handler.sa_handler = StopBySignal;
            sigemptyset(&handler.sa_mask);
            for (int other : kStopSignals)
                sigaddset(&handler.sa_mask, other);
            sigaction(signal, &handler, nullptr);
        }
    });
}

} // namespace

void TRemovedOnSignal::Watch(const std::filesystem::path& path) {
    Release();
    std::error_code ignored;
    const std::string text = std::filesystem::absolute(path, ignored).native();
    if (text.empty() || text.size() >= PATH_MAX)
        return;
    InstallHandlers();
    for (int k = 0; k < kSlots; ++k) {
        int expected = slFree;
        if (!gSlots[k].State.compare_exchange_strong(expected, slWriting, std::memory_order_acq_rel))
            continue;
        std::memcpy(gSlots[k].Path, text.c_str(), text.size() + 1);
        gSlots[k].State.store(slReady, std::memory_order_release);
        FSlot = k;
        return;
    }
}

void TRemovedOnSignal::Release() {
    if (FSlot < 0)
        return;
    gSlots[static_cast<size_t>(FSlot)].State.store(slFree, std::memory_order_release);
    FSlot = -1;
}
