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

inline std::string milliseconds(double ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f ms", ms);
    return text;
}

// Vim's marks, each its change count and the wall time in milliseconds it
// was taken at, in order.
struct VimMark {
    long changes;
    double ms;
};

// For each key sent (its wall time, in order): the time from it to the
// first mark after it whose change count is past the count of the last mark
// before it (the text as the key found it), or -1 when there is none within
// `deadlineMs`. Two keys shown by one update both take its mark.
inline std::vector<double> matchMarks(const std::vector<VimMark> &marks, const std::vector<double> &sentAt,
                                      double deadlineMs)
{
    std::vector<double> shown;
    std::size_t after = 0; // the first mark not before the key
    for (double sent : sentAt) {
        while (after < marks.size() && marks[after].ms < sent)
            ++after;
        const long before = after > 0 ? marks[after - 1].changes : -1;
        std::size_t mark = after;
        while (mark < marks.size() && marks[mark].changes <= before)
            ++mark;
        if (mark == marks.size() || marks[mark].ms - sent > deadlineMs)
            shown.push_back(-1);
        else
            shown.push_back(marks[mark].ms - sent);
    }
    return shown;
}

inline void printHeader()
{
    std::printf("| editor | place | wrap | key | keys | median | p99 | max | over a frame | CPU a key |\n"
                "|---|---|---|---|---|---|---|---|---|---|\n");
}

// One line of the table; `cpu` says what a key cost the processor.
inline void printRow(const std::string &editor, const std::string &place, bool wrap, const std::string &key,
                     const KeySamples &samples, const std::string &cpu)
{
    int late = samples.missed;
    for (double ms : samples.screenMs)
        late += ms > FrameMs ? 1 : 0;
    std::printf("| %s | %s | %s | %s | %zu%s | %.2f ms | %.2f ms | %.2f ms | %d | %s |\n", editor.c_str(),
                place.c_str(), wrap ? "on" : "off", key.c_str(), samples.screenMs.size(),
                samples.missed ? (" (+" + std::to_string(samples.missed) + " past the deadline)").c_str() : "",
                rankValue(samples.screenMs, 0.5), rankValue(samples.screenMs, 0.99),
                rankValue(samples.screenMs, 1.0), late, cpu.c_str());
    std::fflush(stdout);
}

} // namespace zuno::bench
