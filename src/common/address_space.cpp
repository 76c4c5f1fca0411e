#include "common/address_space.h"

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

bool AddressSpaceAllows(uint64_t bytes) {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return true;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return true;
    unsigned long long pages = 0;
    const bool read = std::fscanf(statm, "%llu", &pages) == 1;
    std::fclose(statm);
    if (!read)
        return true;
    const uint64_t used = pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    return used + bytes + kLibraryHeadroom <= limit.rlim_cur;
}
