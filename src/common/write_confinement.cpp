#include "common/write_confinement.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <linux/landlock.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Landlock's right to truncate files, from its third version on (older
// system headers lack its name).
constexpr uint64_t kLandlockTruncate = uint64_t{1} << 14;

// The version of Landlock the system offers; 0 when it offers none (an older
// kernel, or Landlock left off at boot).
int LandlockVersion() {
    const long version = syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    return version < 0 ? 0 : static_cast<int>(version);
}

} // namespace

bool CanConfineWriting() {
    return LandlockVersion() >= 1;
}

int WritingRuleset(const std::filesystem::path& folder, int& error) {
    error = 0;
    const int version = LandlockVersion();
    if (version < 1)
        return -1;
    // Every right to write that this version knows; rights it does not
    // handle stay free, so a newer right is asked for only where it exists.
    uint64_t writing = LANDLOCK_ACCESS_FS_WRITE_FILE | LANDLOCK_ACCESS_FS_REMOVE_DIR |
                       LANDLOCK_ACCESS_FS_REMOVE_FILE | LANDLOCK_ACCESS_FS_MAKE_CHAR |
                       LANDLOCK_ACCESS_FS_MAKE_DIR | LANDLOCK_ACCESS_FS_MAKE_REG |
                       LANDLOCK_ACCESS_FS_MAKE_SOCK | LANDLOCK_ACCESS_FS_MAKE_FIFO |
                       LANDLOCK_ACCESS_FS_MAKE_BLOCK | LANDLOCK_ACCESS_FS_MAKE_SYM;
    if (version >= 2)
        writing |= LANDLOCK_ACCESS_FS_REFER;
    if (version >= 3)
        writing |= kLandlockTruncate;
    landlock_ruleset_attr handled{};
    handled.handled_access_fs = writing;
    const int ruleset = static_cast<int>(syscall(SYS_landlock_create_ruleset, &handled, sizeof handled, 0));
    if (ruleset < 0) {
        error = errno;
        return -1;
    }
    const int beneath = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (beneath < 0) {
        error = errno;
        close(ruleset);
        return -1;
    }
    landlock_path_beneath_attr rule{};
    rule.allowed_access = writing;
    rule.parent_fd = beneath;
    if (syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &rule, 0) != 0)
        error = errno;
    close(beneath);
    if (error != 0) {
        close(ruleset);
        return -1;
    }
    return ruleset;
}

int TakeOnRuleset(int ruleset) {
    // Landlock requires that the process can gain no rights by exec.
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || syscall(SYS_landlock_restrict_self, ruleset, 0) != 0)
        return errno;
    return 0;
}
