#pragma once
// The figures of one row of the key-to-screen benchmark: the times of its
// keys, the processor time they cost, and what it prints of them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace zuno::bench {

// A frame at 60 Hz: a key shown later than this missed the next frame.
constexpr double FrameMs = 1000.0 / 60.0;

struct KeySamples {
    std::vector<double> screenMs; // from the key sent to the screen showing it
    std::vector<double> cpuMs;    // the processor time between the two
    int missed = 0;               // keys not shown before their deadline

    void add(double screen, double cpu)
    {
        screenMs.push_back(screen);
        cpuMs.push_back(cpu);
    }
};

// The value at `fraction` of the sorted values (nearest rank), 0 for none.
inline double rankValue(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(fraction * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

inline double meanOf(const std::vector<double> &values)
{
    double sum = 0;
    for (double value : values)
        sum += value;
    return values.empty() ? 0 : sum / double(values.size());
}

inline void printHeader()
{
    std::printf("| editor | place | wrap | key | keys | median | p99 | max | over a frame | CPU a key |\n"
                "|---|---|---|---|---|---|---|---|---|---|\n");
}

// One line of the table; `cpuLabel` says how the CPU figure was taken.
inline void printRow(const std::string &editor, const std::string &place, bool wrap, const std::string &key,
                     const KeySamples &samples, double cpuPerKey, const char *cpuLabel)
{
    int late = samples.missed;
    for (double ms : samples.screenMs)
        late += ms > FrameMs ? 1 : 0;
    std::printf("| %s | %s | %s | %s | %zu%s | %.2f ms | %.2f ms | %.2f ms | %d | %.2f ms %s |\n", editor.c_str(),
                place.c_str(), wrap ? "on" : "off", key.c_str(), samples.screenMs.size(),
                samples.missed ? (" (+" + std::to_string(samples.missed) + " past the deadline)").c_str() : "",
                rankValue(samples.screenMs, 0.5), rankValue(samples.screenMs, 0.99),
                rankValue(samples.screenMs, 1.0), late, cpuPerKey, cpuLabel);
    std::fflush(stdout);
}

} // namespace zuno::bench
