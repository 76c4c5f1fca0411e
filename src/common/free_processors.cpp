#include "common/free_processors.h"

#include <sched.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

int ProcessorsForUs() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(CPU_COUNT(&set), 1);
    return std::max(static_cast<int>(std::thread::hardware_concurrency()), 1);
}

// This program's time on the processors (user and system), in clock ticks:
// fields 14 and 15 of /proc/self/stat, after the name in parentheses.
uint64_t OwnTicks() {
    std::ifstream file("/proc/self/stat");
    std::string line;
    if (!std::getline(file, line))
        return 0;
    const size_t name = line.rfind(')');
    if (name == std::string::npos)
        return 0;
    std::istringstream fields(line.substr(name + 1));
    std::string field;
    uint64_t user = 0, system = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14)
            user = std::strtoull(field.c_str(), nullptr, 10);
        if (index == 15) {
            system = std::strtoull(field.c_str(), nullptr, 10);
            break;
        }
    }
    return user + system;
}

// The processors' times and the threads running or ready to run at this
// moment (the "procs_running" line), from one reading of /proc/stat.
struct TStatReading {
    std::optional<TProcessorTimes> Times;
    std::optional<int> Running;
};

TStatReading ReadNow() {
    TStatReading reading;
    std::ifstream file("/proc/stat");
    std::string line;
    if (!std::getline(file, line))
        return reading;
    reading.Times = ReadProcessorTimes(line, OwnTicks());
    while (std::getline(file, line))
        if (line.rfind("procs_running ", 0) == 0) {
            reading.Running = std::atoi(line.c_str() + 14);
            break;
        }
    return reading;
}

} // namespace

std::optional<TProcessorTimes> ReadProcessorTimes(const std::string& statLine, uint64_t ownTicks) {
    std::istringstream fields(statLine);
    std::string name;
    if (!(fields >> name) || name != "cpu")
        return std::nullopt;
    // user nice system idle iowait irq softirq steal (guest time is counted
    // in user already)
    uint64_t value[8] = {};
    for (uint64_t& v : value)
        if (!(fields >> v))
            return std::nullopt;
    TProcessorTimes times;
    times.Idle = value[3] + value[4];
    times.Busy = value[0] + value[1] + value[2] + value[5] + value[6] + value[7];
    times.Own = ownTicks;
    return times;
}

int FreeBetween(const TProcessorTimes& earlier, const TProcessorTimes& later, int processors, int machine) {
    processors = std::max(processors, 1);
    if (later.Busy < earlier.Busy || later.Idle < earlier.Idle)
        return processors;
    const double all = static_cast<double>((later.Busy - earlier.Busy) + (later.Idle - earlier.Idle));
    if (all <= 0)
        return processors;
    const uint64_t busy = later.Busy - earlier.Busy;
    const uint64_t own = later.Own >= earlier.Own ? std::min(later.Own - earlier.Own, busy) : 0;
    // The processors of the whole machine the others kept busy; half a
    // processor busy still leaves it worth a thread. The system moves their
    // work off the processors this program may use while others are free.
    machine = std::max(machine, processors);
    const double others = static_cast<double>(busy - own) / all * machine;
    const int free = machine - static_cast<int>(std::floor(others + 0.5));
    return std::clamp(std::min(free, processors), 1, processors);
}

int FreeProcessors() {
    static std::mutex guard;
    static std::optional<TProcessorTimes> last;
    static std::chrono::steady_clock::time_point lastTime;
    static int answer = 0;
    const std::lock_guard<std::mutex> lock(guard);
    const auto now = std::chrono::steady_clock::now();
    if (answer > 0 && now - lastTime < std::chrono::milliseconds(100))
        return answer;
    const int processors = ProcessorsForUs();
    const TStatReading reading = ReadNow();
    if (last && reading.Times) {
        answer = FreeBetween(*last, *reading.Times, processors,
                             static_cast<int>(std::thread::hardware_concurrency()));
    } else {
        // First call: the threads running at this moment, this one among them.
        answer = processors;
        if (reading.Running)
            answer = std::clamp(processors - (*reading.Running - 1), 1, processors);
    }
    last = reading.Times;
    lastTime = now;
    return answer;
}
