#pragma once
// The process's memory as /proc/self/status tells it, for the benchmarks
// that report what a step held.
#include <cstring>
#include <fstream>
#include <string>

namespace zuno::bench {

// A figure of /proc/self/status, in bytes.
inline long statusBytes(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field))) * 1024;
    }
    return 0;
}
// Peak resident memory since the last reset, and resident memory now.
inline long peakRss() { return statusBytes("VmHWM:"); }
inline long rss() { return statusBytes("VmRSS:"); }
inline void resetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

} // namespace zuno::bench
