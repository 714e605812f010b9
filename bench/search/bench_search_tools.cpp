// The search tools on large documents, side by side in one run (run:
// build/bench/search/bench_search_tools):
//
//   RegexReplaceAll/100MB   Replace All of "PL:1(\d+)" by "PL:2\1" (one
//                           capture) in the real window, one undo step
//   SedE/100MB              sed -E doing the same to the same file
//   Keystroke/50MB/...      a letter typed mid-document with the events it
//                           brings (repaint, marks, a slice of the count),
//                           with and without the matches marked
//   Scroll/50MB/...         a jump of the view to another place, with its
//                           repaint, with and without the marks
//   CountSlice/100MB        the longest slice of the count (what it may hold
//                           up a keystroke by) and the whole count, for a
//                           search with 1 match (every byte read) and one
//                           with 250,000 (stops past 10,000)
#include "window/frmEditor.h"

#include "search/MatchHighlight.h"
#include "search/SearchWithOptions.h"
#include "../support/ProcessMemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace zuno;
using namespace zuno::bench;

namespace {

// Records of about 70 bytes; one in `every` holds a PL run that starts
// with 1 (the rest start with 3).
QString writeListFile(const QTemporaryDir &dir, const char *name, qint64 bytes, int every)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray chunk;
    qint64 written = 0;
    for (int record = 0; written < bytes; ++record) {
        const QByteArray n = QByteArray::number(record);
        chunk += "AC:" + n + "\r\nBG:A" + n + "\r\nPL:" + (record % every == 0 ? "1" : "3") + n
                 + ",101,102,103\r\nOF:-" + n + "\r\nEG:" + n + "\r\n";
        if (chunk.size() > (1 << 20)) {
            written += file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk + "XX:END");
    return path;
}

const SearchRequest Renumber{QStringLiteral("PL:1(\\d+)"), true, false, true, std::nullopt};

void BM_RegexReplaceAll100MB(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeListFile(dir, "REPLACE.PRJ", 100'000'000, 6);
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<frmEditor>();
        const long idle = rss();
        window->formLoad(path);
        resetPeakRss();
        state.ResumeTiming();
        const auto outcome = ReplaceAllWith(*window->editor(), QStringLiteral("PL:2\\1"), Renumber);
        state.PauseTiming();
        const long peak = peakRss();
        const qint64 fileBytes = QFileInfo(path).size();
        state.counters["replaced"] = double(outcome.ok() ? outcome.value().count : -1);
        state.counters["file_MB"] = double(fileBytes) / 1e6;
        state.counters["peak_x"] = double(peak) / double(fileBytes);
        state.counters["over_idle_x"] = double(peak - idle) / double(fileBytes);
        window->editor()->setModified(false);
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RegexReplaceAll100MB)->Name("RegexReplaceAll/100MB")->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_SedE100MB(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeListFile(dir, "SED.PRJ", 100'000'000, 6);
    const std::string command = "sed -E 's/PL:1([0-9]+)/PL:2\\1/g' '" + path.toStdString() + "' > '"
        + dir.filePath(QStringLiteral("out")).toStdString() + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sed failed");
    }
}
BENCHMARK(BM_SedE100MB)->Name("SedE/100MB")->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// A window with the 50 MB document, shown, the caret mid-way.
std::unique_ptr<frmEditor> openWindow(const QTemporaryDir &dir, bool marked)
{
    auto window = std::make_unique<frmEditor>();
    window->resize(900, 700);
    window->show();
    window->formLoad(writeListFile(dir, "TYPE.PRJ", 50'000'000, 6));
    window->editor()->setSelStart(window->editor()->textLength() / 2);
    window->editor()->showSelection({});
    if (marked)
        window->matchHighlight().show({QStringLiteral("PL:1\\d+"), true, false, true});
    QApplication::processEvents();
    return window;
}

void BM_Keystroke50MB(benchmark::State &state)
{
    QTemporaryDir dir;
    auto window = openWindow(dir, state.range(0) != 0);
    for (auto _ : state) {
        window->editor()->setSelText(QStringLiteral("A"));
        QApplication::processEvents();
    }
    window->editor()->setModified(false);
}
BENCHMARK(BM_Keystroke50MB)->Name("Keystroke/50MB/marked")->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_Keystroke50MB)->Name("Keystroke/50MB/unmarked")->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_Scroll50MB(benchmark::State &state)
{
    QTemporaryDir dir;
    auto window = openWindow(dir, state.range(0) != 0);
    const qint64 length = window->editor()->textLength();
    qint64 at = 0;
    for (auto _ : state) {
        at = (at + length / 97) % length;
        window->editor()->setSelStart(at);
        window->editor()->showSelection({});
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Scroll50MB)->Name("Scroll/50MB/marked")->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_Scroll50MB)->Name("Scroll/50MB/unmarked")->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_CountSlices100MB(benchmark::State &state)
{
    QTemporaryDir dir;
    auto window = std::make_unique<frmEditor>();
    window->formLoad(writeListFile(dir, "COUNT.PRJ", 100'000'000, 6));
    const LastSearch search = state.range(0) ? LastSearch{QStringLiteral("PL:1\\d+"), true, false, true}
                                             : LastSearch{QStringLiteral("XX:END"), true, false, false};
    MatchHighlight &highlight = window->matchHighlight();
    double longest = 0;
    int slices = 0;
    for (auto _ : state) {
        highlight.show(search);
        while (highlight.isCounting()) {
            QElapsedTimer slice;
            slice.start();
            highlight.countSlice();
            longest = std::max(longest, double(slice.nsecsElapsed()) / 1e6);
            ++slices;
        }
    }
    state.counters["longest_slice_ms"] = longest;
    state.counters["slices"] = slices;
    state.SetLabel(highlight.countText().toStdString());
    highlight.clear();
}
BENCHMARK(BM_CountSlices100MB)->Name("CountSlice/100MB/1match")->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_CountSlices100MB)->Name("CountSlice/100MB/250k")->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
