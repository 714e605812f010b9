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
//   Settled/200MB       File > Open of 200 MB in the shown window until the
//                       window is settled: the whole text checked (off the
//                       window's thread) and every event handled; the
//                       process's CPU time beside the wall time, and the
//                       memory it faulted in (fault_MB)
//   Keystroke/200MB     a key typed near the start of a 200 MB document whose
//                       only problem is on its last line, marks, colours and
//                       the status bar on, with the repaint: CPU per key
//   KeyAtANewPlace/200MB the first key after the caret went from the start
//                       to the middle or back, the user idle in between
//   GoToAfterEdit/200MB Go To the last line, the first jump after a key
//   F8AfterEdit/200MB   F8 from the start to the problem on the last line,
//                       the first after a key
// peak_x is the process's peak resident memory during the step over the
// file's size; over_idle_x the same less what the empty window held.
#include "edit/modGoTo.h"
#include "../support/ProcessMemory.h"
#include "../support/WindowSteps.h"
#include "items/DataItemView.h"
#include "window/frmEditor.h"
#include "search/modFindReplaceRichText.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <ctime>

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
QString writeListFile(const QTemporaryDir &dir, const char *name, qint64 bytes, int every,
                      const QByteArray &lastLine = "XX:END")
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
    file.write(chunk + lastLine);
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

// The process's CPU time so far (every thread), in milliseconds.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The pages the process has faulted in so far: each page written for the
// first time costs, on a virtual machine, more than most work done on it.
long pageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

// The CPU time of the children waited for so far, in milliseconds. (Their
// peak memory is not told here: a child forked from this process counts
// this process's as its own.)
double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
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
    // GNU time tells gvim's own peak, where it is installed.
    const QString peakFile = dir.filePath(QStringLiteral("peak"));
    const bool timed = std::system("test -x /usr/bin/time") == 0;
    const std::string withFileCommand = (timed ? "/usr/bin/time -f %M -o '" + peakFile.toStdString() + "' " : "")
        + gvim + " '" + path.toStdString() + "'";
    double cpu = 0;
    for (auto _ : state) {
        const double before = childrenCpuMs();
        const double empty = secondsOf(gvim);
        const double between = childrenCpuMs();
        const double withFile = secondsOf(withFileCommand);
        if (empty < 0 || withFile < 0)
            state.SkipWithError("gvim failed");
        state.SetIterationTime(withFile - empty);
        cpu += (childrenCpuMs() - between) - (between - before);
    }
    state.counters["cpu_ms"] = cpu / double(state.iterations());
    QFile peak(peakFile);
    if (timed && peak.open(QIODevice::ReadOnly))
        state.counters["peak_x"] = peak.readAll().trimmed().toDouble() * 1024 / double(QFileInfo(path).size());
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

// The 200 MB document of the steps below (or as many megabytes as
// ZUNO_BENCH_LARGE_MB says, to try a step on less): no problem but on its
// last line.
const QString &problemAtTheEnd()
{
    static QTemporaryDir dir;
    const qint64 megabytes =
        qEnvironmentVariableIsSet("ZUNO_BENCH_LARGE_MB") ? qEnvironmentVariableIntValue("ZUNO_BENCH_LARGE_MB") : 200;
    static const QString path = writeListFile(dir, "LAST.PRJ", megabytes * 1'000'000, 1000, "REMARK X");
    return path;
}

void waitUntilSettled(frmEditor &window)
{
    if (!bench::settleWindow(window))
        std::abort(); // a check that never ends: no figure to give
}

void BM_Settled200MB(benchmark::State &state)
{
    const QString path = problemAtTheEnd();
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<frmEditor>();
        window->show();
        QApplication::processEvents();
        const long idle = rss();
        resetPeakRss();
        const double cpuBefore = cpuMs();
        const long faultsBefore = pageFaults();
        QElapsedTimer shown;
        shown.start();
        state.ResumeTiming();
        window->formLoad(path);
        QApplication::processEvents();
        const double shownMs = double(shown.nsecsElapsed()) / 1e6;
        waitUntilSettled(*window);
        state.PauseTiming();
        state.counters["shown_ms"] = shownMs;
        state.counters["cpu_ms"] = cpuMs() - cpuBefore;
        state.counters["fault_MB"] = double(pageFaults() - faultsBefore) * 4096 / 1e6;
        report(state, idle, QFileInfo(path).size());
        // What stays once settled, beside the peak on the way.
        state.counters["held_x"] = double(rss() - idle) / double(QFileInfo(path).size());
        state.counters["index_x"] = double(window->findChild<DataItemView *>()->records().memoryBytes())
            / double(QFileInfo(path).size());
        if (window->findChild<DataItemView *>()->marks().problems() != 1)
            state.SkipWithError("the problem on the last line is not marked");
        window->editor()->setModified(false);
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Settled200MB)->Name("Settled/200MB")->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void typeKey(QWidget *widget, Qt::Key key = Qt::Key_X, const QString &text = QStringLiteral("x"))
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

// One window on the 200 MB document, settled, the caret on its tenth line.
struct LargeWindow {
    frmEditor window;
    EditorWidget *editor = nullptr;
    LargeWindow()
    {
        window.show();
        window.formLoad(problemAtTheEnd());
        waitUntilSettled(window);
        editor = window.editor();
        toTheStart();
    }
    ~LargeWindow() { editor->setModified(false); }
    void toTheStart()
    {
        editor->SendScintilla(QsciScintillaBase::SCI_GOTOLINE, 10UL);
        QApplication::processEvents();
    }
    qint64 caretLine() const
    {
        return editor->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                     editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
    }
};

void BM_Keystroke200MB(benchmark::State &state)
{
    LargeWindow large;
    double cpu = 0;
    for (auto _ : state) {
        const double before = cpuMs();
        typeKey(large.editor);
        QApplication::processEvents();
        cpu += cpuMs() - before;
    }
    state.counters["cpu_ms"] = cpu / double(state.iterations());
    if (large.window.findChild<DataItemView *>()->marks().problems() != 1)
        state.SkipWithError("the problem on the last line is not marked");
}
BENCHMARK(BM_Keystroke200MB)->Name("Keystroke/200MB")->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();

// Enter near the start: a line more, so every record index entry, mark and
// line after it moves down.
void BM_Enter200MB(benchmark::State &state)
{
    LargeWindow large;
    const qint64 linesBefore = large.editor->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
    const qint64 entriesBefore = large.window.findChild<DataItemView *>()->records().size();
    double cpu = 0;
    for (auto _ : state) {
        const double before = cpuMs();
        typeKey(large.editor, Qt::Key_Return, QStringLiteral("\r"));
        QApplication::processEvents();
        cpu += cpuMs() - before;
    }
    state.counters["cpu_ms"] = cpu / double(state.iterations());
    const auto &records = large.window.findChild<DataItemView *>()->records();
    const qint64 added = large.editor->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT) - linesBefore;
    if (added != qint64(state.iterations()) || records.size() != entriesBefore
        || records.entry(records.size() - 1).line + 2 != linesBefore + added) // the last EG, then one line
        state.SkipWithError("the lines or the record index did not follow the keys");
}
BENCHMARK(BM_Enter200MB)->Name("Enter/200MB")->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();

void BM_KeyAtANewPlace200MB(benchmark::State &state)
{
    LargeWindow large;
    EditorWidget *editor = large.editor;
    const unsigned long middle = editor->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT) / 2;
    double cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        editor->SendScintilla(QsciScintillaBase::SCI_GOTOLINE, state.iterations() % 2 ? 10UL : middle);
        QElapsedTimer idle;
        idle.start();
        while (idle.elapsed() < 500)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        const double before = cpuMs();
        state.ResumeTiming();
        typeKey(editor);
        QApplication::processEvents();
        state.PauseTiming();
        cpu += cpuMs() - before;
        state.ResumeTiming();
    }
    state.counters["cpu_ms"] = cpu / double(state.iterations());
}
BENCHMARK(BM_KeyAtANewPlace200MB)->Name("KeyAtANewPlace/200MB")->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_GoToAfterEdit200MB(benchmark::State &state)
{
    LargeWindow large;
    EditorWidget *editor = large.editor;
    for (auto _ : state) {
        state.PauseTiming();
        large.toTheStart();
        typeKey(editor);
        QApplication::processEvents();
        state.ResumeTiming();
        // What Edit > Go To does with the entry, the first reader of the
        // lines since the key.
        const qint64 lastLine = editor->lineFromChar(editor->textLength()) + 1;
        editor->setSelStart(goToLineTarget(*editor, editor->selStart(), lastLine));
        QApplication::processEvents();
    }
    if (large.caretLine() + 1 != editor->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT))
        state.SkipWithError("the caret is not on the last line");
}
BENCHMARK(BM_GoToAfterEdit200MB)->Name("GoToAfterEdit/200MB")->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_F8AfterEdit200MB(benchmark::State &state)
{
    LargeWindow large;
    QAction *next = large.window.findChild<QAction *>(QStringLiteral("mnuViewNextProblem"));
    for (auto _ : state) {
        state.PauseTiming();
        large.toTheStart();
        typeKey(large.editor);
        QApplication::processEvents();
        state.ResumeTiming();
        next->trigger();
        QApplication::processEvents();
    }
    if (large.caretLine() + 1 != large.editor->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT))
        state.SkipWithError("F8 did not reach the last line");
}
BENCHMARK(BM_F8AfterEdit200MB)->Name("F8AfterEdit/200MB")->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

} // namespace
