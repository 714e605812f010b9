// The editor on very large files, each step as the whole process sees it:
//   Open/200MB          File > Open of a 200 MB List file (frmEditor)
//   ReplaceAll/100MB    Replace All of about 227,000 whole-word occurrences
//                       (match case off) in a 100 MB file, on the open file
//   Sed/100MB           sed doing the same to the same file, for the machine
//   Gvim/200MB          gvim opening the file of Open/200MB and quitting,
//                       less gvim starting and quitting without it (needs a
//                       display and gvim; skipped without them)
//   GoToLastLine/50MB   the caret to the last line of a 50 MB file and back,
//                       with the repaint; run it under Xvfb with
//                       QT_QPA_PLATFORM=xcb to see the real window and PRIMARY
// peak_x is the process's peak resident memory during the step over the
// file's size; over_idle_x the same less what the empty window held.
#include "edit/modGoTo.h"
#include "../support/ProcessMemory.h"
#include "window/frmEditor.h"
#include "search/modFindReplaceRichText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

using namespace zuno;

namespace {

using bench::peakRss;
using bench::resetPeakRss;
using bench::rss;

// A List file of `bytes` bytes, written a record at a time; one record in
// `every` holds the word CAT (the others CAB, CATS, XCAT).
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
        chunk += "AC:" + n + "\r\nBG:A" + n + "\r\nPL:100,101,102,103,104\r\nXX:";
        chunk += (record % every == 0) ? "cat" : (record % 3 ? "CAB" : "CATS XCAT");
        chunk += "\r\nEG:" + n + "\r\n";
        if (chunk.size() > (1 << 20)) {
            written += file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk + "XX:END");
    return path;
}

void report(benchmark::State &state, long idle, qint64 fileBytes)
{
    const long peak = peakRss();
    state.counters["file_MB"] = double(fileBytes) / 1e6;
    state.counters["peak_x"] = double(peak) / double(fileBytes);
    state.counters["over_idle_x"] = double(peak - idle) / double(fileBytes);
}

void BM_Open200MB(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeListFile(dir, "OPEN.PRJ", 200'000'000, 1000);
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<frmEditor>();
        const long idle = rss();
        resetPeakRss();
        state.ResumeTiming();
        window->formLoad(path);
        state.PauseTiming();
        report(state, idle, QFileInfo(path).size());
        window->editor()->setModified(false);
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Open200MB)->Name("Open/200MB")->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Records of about 70 bytes, one in six with the word: about 227,000
// occurrences in 100 MB.
constexpr int ReplaceEvery = 6;

void BM_ReplaceAll100MB(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeListFile(dir, "REPLACE.PRJ", 100'000'000, ReplaceEvery);
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<frmEditor>();
        const long idle = rss();
        window->formLoad(path);
        resetPeakRss();
        state.ResumeTiming();
        const qint64 count = modFindReplaceRichText::ReplaceAll(*window->editor(), QStringLiteral("DOG"),
                                                                QStringLiteral("CAT"), false, true);
        state.PauseTiming();
        state.counters["replaced"] = double(count);
        report(state, idle, QFileInfo(path).size());
        window->editor()->setModified(false);
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReplaceAll100MB)->Name("ReplaceAll/100MB")->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_Sed100MB(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeListFile(dir, "SED.PRJ", 100'000'000, ReplaceEvery);
    const std::string command = "sed 's/\\bCAT\\b/DOG/gI' '" + path.toStdString() + "' > '"
        + dir.filePath(QStringLiteral("out")).toStdString() + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sed failed");
    }
}
BENCHMARK(BM_Sed100MB)->Name("Sed/100MB")->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The wall-clock seconds of a shell command.
double secondsOf(const std::string &command)
{
    QElapsedTimer timer;
    timer.start();
    if (std::system(command.c_str()) != 0)
        return -1;
    return double(timer.nsecsElapsed()) / 1e9;
}

void BM_Gvim200MB(benchmark::State &state)
{
    if (std::system("command -v gvim > /dev/null") != 0 || qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("gvim or a display is missing");
        return;
    }
    QTemporaryDir dir;
    const QString path = writeListFile(dir, "OPEN.PRJ", 200'000'000, 1000);
    const std::string gvim = "gvim -f -u NONE -U NONE -i NONE -n -c 'qa!'";
    for (auto _ : state) {
        const double empty = secondsOf(gvim);
        const double withFile = secondsOf(gvim + " '" + path.toStdString() + "'");
        if (empty < 0 || withFile < 0)
            state.SkipWithError("gvim failed");
        state.SetIterationTime(withFile - empty);
    }
}
BENCHMARK(BM_Gvim200MB)->Name("Gvim/200MB")->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

void BM_GoToLastLine50MB(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeListFile(dir, "GOTO.PRJ", 50'000'000, 1000);
    frmEditor window;
    window.show();
    window.formLoad(path);
    EditorWidget *editor = window.editor();
    const qint64 lineCount = editor->lineFromChar(editor->textLength()) + 1;
    QApplication::processEvents();
    bool atEnd = false;
    for (auto _ : state) {
        // What Edit > Go To does with the entry: the line's start, the jump.
        editor->setSelStart(goToLineTarget(*editor, editor->selStart(), atEnd ? 1 : lineCount));
        QApplication::processEvents();
        atEnd = !atEnd;
    }
    if (editor->selStart() != 0)
        state.SkipWithError("the caret is not where Go To put it");
    editor->setModified(false);
}
BENCHMARK(BM_GoToLastLine50MB)->Name("GoToLastLine/50MB")->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

} // namespace
