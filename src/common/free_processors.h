#pragma once
// How many processors this program can use now without waiting for other
// programs: work split across threads runs slower than on one thread when the
// other processors are busy, so the split follows what is free.

#include <cstdint>
#include <optional>
#include <string>

// The processors' time since start-up, from the first line of /proc/stat, and
// the part of it this program used, in clock ticks.
struct TProcessorTimes {
    uint64_t Busy = 0;
    uint64_t Idle = 0;
    uint64_t Own = 0;
};

// Reads the first ("cpu") line of /proc/stat; nothing when the line is not
// one.
std::optional<TProcessorTimes> ReadProcessorTimes(const std::string& statLine, uint64_t ownTicks);

// Processors that others left free between two readings on a machine of
// `machine` processors, of the `processors` this program may run on: at least
// 1, at most processors.
int FreeBetween(const TProcessorTimes& earlier, const TProcessorTimes& later, int processors, int machine);

// The processors free for this program now: measured over the time since the
// last call (at least a tenth of a second ago; a later call gives the last
// answer again), or from the threads running at the moment on the first call.
// At least 1.
int FreeProcessors();
