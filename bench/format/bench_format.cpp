// The two conversions on a generated List text of about 50 MB and on its
// Record layout, beside the floor: the time to merely split the same text
// into lines. Reports MB/s (1 MB = 10^6 characters of the text, which is
// ASCII, so also bytes of the file), then a summary against the targets:
// each conversion within 5 times the floor and at least 200 MB/s, and the
// process's peak memory while converting under 5 times the text's size.
// Beside them, the round-trip check that View > Record and --check make
// (both conversions and a comparison of the two List texts): well under a
// second on the 50 MB, and little more than the two conversions.
//
// Peak memory is measured after the timings, holding only the input of the
// conversion: the kernel's high-water mark of resident memory (VmHWM in
// /proc/self/status), reset just before the conversion through
// /proc/self/clear_refs. It includes the input text itself (UTF-8, as the
// edit control holds it) and everything else the process holds.
#include "format/Conversion.h"
#include "format/DataItem.h"
#include "format/RoundTrip.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <unistd.h>

namespace {

constexpr qsizetype TargetSize = 50'000'000;

// A List text of ZUNO-like records: names, line starts, point lists of all
// lengths (a tenth of them long enough to be cut over several lines), other
// items, and separated records.
QString generateRawList(qsizetype size)
{
    std::mt19937 rng(42);
    const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    QString text;
    text.reserve(size + 4096);
    const auto item = [&](const QString &line) {
        if (!text.isEmpty())
            text += u"\r\n";
        text += line;
    };
    const auto pointList = [&](int count) {
        QString line = QStringLiteral("PL:");
        int point = uniform(1000, 90000);
        for (int i = 0; i < count; ++i) {
            if (i)
                line += u',';
            line += QString::number(point);
            point += uniform(1, 3);
        }
        return line;
    };
    int record = 1000;
    while (text.size() < size) {
        if (uniform(1, 20) == 1) {
            item(uniform(0, 1) ? QStringLiteral("AC:OS") : QStringLiteral("AC:PR"));
            item(QStringLiteral("SP:%1.%2").arg(uniform(0, 3000)).arg(uniform(100, 999)));
            item(pointList(uniform(2, 30)));
            continue;
        }
        item(QStringLiteral("AC:%1").arg(++record));
        item(QStringLiteral("NM:CHAIN %1 STAGE %2").arg(record).arg(uniform(1, 4)));
        item(QStringLiteral("BG:C%1").arg(uniform(1, 99)));
        const int kind = uniform(1, 10);
        item(pointList(kind <= 6 ? uniform(3, 12) : kind <= 9 ? uniform(13, 40) : uniform(41, 200)));
        if (uniform(0, 1))
            item(QStringLiteral("OF:%1.%2").arg(uniform(-20, 20)).arg(uniform(10, 99)));
        item(QStringLiteral("HT:%1.%2").arg(uniform(80, 140)).arg(uniform(100, 999)));
        if (uniform(1, 4) == 1)
            item(QStringLiteral("XX:REMARK %1").arg(uniform(1, 99999)));
        item(QStringLiteral("EG:C%1").arg(uniform(1, 99)));
    }
    return text;
}

struct Texts {
    QByteArray list;   // the List layout, long PL items cut over several lines
    QByteArray record; // its Record layout
};

std::optional<Texts> g_texts;

const Texts &texts()
{
    if (!g_texts) {
        const QByteArray raw = generateRawList(TargetSize).toUtf8();
        Texts t;
        t.list = zuno::convertToListLayout(zuno::convertToRecordLayout(raw).value()).value();
        t.record = zuno::convertToRecordLayout(t.list).value();
        g_texts = std::move(t);
    }
    return *g_texts;
}

void reportBytes(benchmark::State &state, qsizetype characters)
{
    state.SetBytesProcessed(int64_t(state.iterations()) * characters);
    state.counters["chars"] = double(characters);
}

// The floor: the lines of the text, split on "\r\n" with memchr.
qsizetype countLines(QByteArrayView text)
{
    qsizetype lines = 0;
    const char *p = text.data();
    const char *const end = p + text.size();
    while (p < end) {
        const auto *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
        if (!cr)
            break;
        lines += cr + 1 < end && cr[1] == '\n';
        p = cr + 1;
    }
    return lines + 1;
}

void BM_SplitLines_List(benchmark::State &state)
{
    const QByteArray &text = texts().list;
    for (auto _ : state)
        benchmark::DoNotOptimize(countLines(text));
    reportBytes(state, text.size());
}

void BM_ConvertToRecord(benchmark::State &state)
{
    const QByteArray &text = texts().list;
    for (auto _ : state) {
        const auto result = zuno::convertToRecordLayout(text);
        if (!result.ok())
            state.SkipWithError("conversion failed");
        else
            benchmark::DoNotOptimize(result.value().size());
    }
    reportBytes(state, text.size());
}


void BM_SplitLines_Record(benchmark::State &state)
{
    const QByteArray &text = texts().record;
    for (auto _ : state)
        benchmark::DoNotOptimize(countLines(text));
    reportBytes(state, text.size());
}

void BM_ConvertToList(benchmark::State &state)
{
    const QByteArray &text = texts().record;
    for (auto _ : state) {
        const auto result = zuno::convertToListLayout(text);
        if (!result.ok())
            state.SkipWithError("conversion failed");
        else
            benchmark::DoNotOptimize(result.value().size());
    }
    reportBytes(state, text.size());
}

// The same into the memory of the last result, as the converter and the
// Record-view save write each piece: the conversion alone, without the
// first touch of fresh memory.
void BM_ConvertToList_IntoRoom(benchmark::State &state)
{
    const QByteArray &text = texts().record;
    QByteArray room = zuno::convertToListLayout(text).value();
    for (auto _ : state) {
        auto result = zuno::convertToListLayoutInto(text, std::move(room), false);
        if (!result.ok()) {
            state.SkipWithError("conversion failed");
            break;
        }
        room = std::move(result).value();
        benchmark::DoNotOptimize(room.size());
    }
    reportBytes(state, text.size());
}

void checkRoundTrip(benchmark::State &state, const QByteArray &text)
{
    for (auto _ : state) {
        const auto trip = zuno::checkRecordRoundTrip(text);
        if (!trip.ok() || !trip.value().unchanged)
            state.SkipWithError("the text would change");
        else
            benchmark::DoNotOptimize(trip.value().record.size());
    }
    reportBytes(state, text.size());
}

// The List text as ZUNOPad writes it: it comes back character for character.
void BM_CheckRoundTrip(benchmark::State &state) { checkRoundTrip(state, texts().list); }

// The same PL items cut by hand, without the trailing commas: the two List
// texts are compared item by item.
void BM_CheckRoundTrip_HandCut(benchmark::State &state)
{
    // Made here, not kept: the memory summary holds only the conversions' input.
    const QByteArray handCut = QByteArray(texts().list).replace(",\r\nPL:", "\r\nPL:");
    checkRoundTrip(state, handCut);
}

// Rates are per CPU second: the machine is shared, and time spent waiting for
// a core is not the conversion's. The summary gives wall-clock rates too.
BENCHMARK(BM_SplitLines_List)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitLines_Record)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertToList_IntoRoom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckRoundTrip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckRoundTrip_HandCut)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's CPU and wall-clock seconds per iteration (the last
// run of each, or the mean of repetitions) for the summary.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal.
    CollectingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    struct Times {
        double cpu = 0;
        double real = 0;
    };

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if (run.run_type == Run::RT_Iteration || mean)
                times[run.run_name.function_name] = {run.GetAdjustedCPUTime() / 1e3, run.GetAdjustedRealTime() / 1e3};
        }
    }
    std::map<std::string, Times> times;
};

// Kilobytes from a "Name:   1234 kB" line of /proc/self/status, or -1.
long statusKilobytes(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(qsizetype(std::strlen(name))).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

bool resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

// Peak resident memory (MB) while `convert` runs, and whether the peak could
// be reset before it (otherwise it is the peak of the whole run so far).
template <typename Convert>
std::pair<double, bool> peakWhile(Convert convert)
{
    const bool reset = resetPeak();
    convert();
    return {double(statusKilobytes("VmHWM:")) * 1024 / 1e6, reset};
}

void printSummary(const CollectingReporter &reporter)
{
    std::cout.flush(); // the benchmark's own table first
    const Texts &t = texts();
    const double listMb = double(t.list.size()) / 1e6;
    const double recordMb = double(t.record.size()) / 1e6;
    std::printf("\nText: List layout %.1f MB, Record layout %.1f MB (characters; ASCII, so bytes on disk)\n",
                listMb, recordMb);
    const auto line = [&](const char *what, const std::string &conversion, const std::string &floor, double mb) {
        const auto c = reporter.times.find(conversion);
        const auto f = reporter.times.find(floor);
        if (c == reporter.times.end() || f == reporter.times.end())
            return;
        const double speed = mb / c->second.cpu;
        const double ratio = c->second.cpu / f->second.cpu;
        std::printf("%-16s %6.0f MB/s, %4.2fx the floor of %.0f MB/s  [%s: >= 200 MB/s, <= 5x the floor]\n"
                    "%-16s (wall clock: %.0f MB/s, floor %.0f MB/s)\n",
                    what, speed, ratio, mb / f->second.cpu, speed >= 200 && ratio <= 5 ? "met" : "MISSED", "",
                    mb / c->second.real, mb / f->second.real);
    };
    std::printf("Speed per CPU second; the floor is splitting the same text into lines:\n");
    line("List -> Record", "BM_ConvertToRecord", "BM_SplitLines_List", listMb);
    line("Record -> List", "BM_ConvertToList", "BM_SplitLines_Record", recordMb);
    const auto toRecord = reporter.times.find("BM_ConvertToRecord");
    const auto toList = reporter.times.find("BM_ConvertToList");
    for (const auto &[name, what, allowed] : {std::tuple{"BM_CheckRoundTrip", "Round-trip check", 1.5},
                                              std::tuple{"BM_CheckRoundTrip_HandCut", "  hand-cut PL", 2.0}}) {
        const auto check = reporter.times.find(name);
        if (check == reporter.times.end() || toRecord == reporter.times.end() || toList == reporter.times.end())
            continue;
        const double both = toRecord->second.cpu + toList->second.cpu;
        std::printf("%-16s %6.0f ms, %4.2fx the two conversions (%.0f ms); wall clock %.0f ms  [%s: < 1 s, "
                    "<= %.1fx the two conversions]\n",
                    what, check->second.cpu * 1e3, check->second.cpu / both, both * 1e3, check->second.real * 1e3,
                    check->second.real < 1 && check->second.cpu <= allowed * both ? "met" : "MISSED", allowed);
    }

    // Memory: hold only the input of each conversion.
    QByteArray list = std::move(g_texts->list);
    QByteArray record = std::move(g_texts->record);
    g_texts.reset();
    record = QByteArray();
    const auto [toRecordPeak, reset1] =
        peakWhile([&] { record = zuno::convertToRecordLayout(list).value(); });
    list = QByteArray();
    const auto [toListPeak, reset2] = peakWhile([&] { list = zuno::convertToListLayout(record).value(); });
    std::printf("Peak resident memory while converting, holding only the input:\n");
    std::printf("%-16s %6.0f MB = %.2fx the text  [%s: < 5x]%s\n", "List -> Record", toRecordPeak,
                toRecordPeak / listMb, toRecordPeak < 5 * listMb ? "met" : "MISSED",
                reset1 ? "" : " (peak of the whole run)");
    std::printf("%-16s %6.0f MB = %.2fx the text  [%s: < 5x]%s\n", "Record -> List", toListPeak,
                toListPeak / recordMb, toListPeak < 5 * recordMb ? "met" : "MISSED",
                reset2 ? "" : " (peak of the whole run)");
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (g_texts)
        printSummary(reporter);
    return 0;
}
