// The editor on a large file: open a 50 MB List file, switch to Record,
// back to List, save, and type a key at its end; beside the bare cost of
// Scintilla's SCI_SETTEXT of the same bytes (the floor). Reports the wall
// time of each step and the peak memory it reached over what the process
// held before.
#include "editor/frmEditor.h"
#include "textfile/TextFile.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <Qsci/qsciscintillabase.h>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

using namespace zuno;

namespace {

constexpr qsizetype TargetBytes = 50 * 1000 * 1000;

// A List text of realistic records: AC lines, BG/EG lines, PL lists (some
// long enough to be cut), XX items and the occasional AC:OS.
QString makeListText(qsizetype bytes)
{
    QString text;
    text.reserve(bytes + 200);
    for (int record = 0; text.size() < bytes; ++record) {
        text += QStringLiteral("AC:%1\r\nBG:A%1\r\nPL:").arg(record);
        const int values = 5 + record % 40;
        for (int v = 0; v < values; ++v)
            text += QString::number(100 + v) + (v + 1 < values ? QStringLiteral(",") : QString());
        text += QStringLiteral("\r\nXX:REMARK %1\r\nEG:%1\r\n").arg(record);
        if (record % 10 == 0)
            text += QStringLiteral("AC:OS\r\n");
    }
    text += QStringLiteral("XX:END");
    return text;
}

// A figure of /proc/self/status, in bytes.
long statusBytes(const char *field)
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
long peakRss() { return statusBytes("VmHWM:"); }
long rss() { return statusBytes("VmRSS:"); }
void resetPeakRss()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct Fixture {
    QTemporaryDir dir;
    QString path;
    QString text;
    Fixture()
    {
        text = makeListText(TargetBytes);
        path = dir.filePath(QStringLiteral("BIG.PRJ"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(encodeText(text.toUtf8(), TextFileFormat{}));
    }
};
Fixture &fixture()
{
    static Fixture f;
    return f;
}

// The step's peak over what the process held before it, and over the idle
// process (the empty window, before the file was opened).
void report(benchmark::State &state, long baseline, long idle)
{
    const long peak = peakRss();
    state.counters["peak_MB"] = double(peak - baseline) / 1e6;
    state.counters["over_idle_MB"] = double(peak - idle) / 1e6;
    state.counters["over_idle_x"] = double(peak - idle) / double(fixture().text.size());
    state.counters["text_MB"] = double(fixture().text.size()) / 1e6;
}

void BM_Floor_SciSetText(benchmark::State &state)
{
    const QByteArray bytes = encodeText(fixture().text.toUtf8(), TextFileFormat{});
    for (auto _ : state) {
        QsciScintillaBase edit;
        resetPeakRss();
        const long baseline = peakRss();
        edit.SendScintilla(QsciScintillaBase::SCI_SETTEXT, uintptr_t(0), bytes.constData());
        benchmark::DoNotOptimize(edit.SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
        report(state, baseline, baseline);
    }
}

// The floor of File > Save: the same bytes written to a new file beside the
// document, flushed to disk and renamed over it.
void BM_Floor_WriteFsyncRename(benchmark::State &state)
{
    const QByteArray bytes = encodeText(fixture().text.toUtf8(), TextFileFormat{});
    const QByteArray target = QFile::encodeName(fixture().path);
    const QByteArray temporary = target + ".new";
    for (auto _ : state) {
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const bool written = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size()
            && ::fsync(fd) == 0;
        if (fd >= 0)
            ::close(fd);
        if (!written || ::rename(temporary.constData(), target.constData()) != 0)
            state.SkipWithError("could not write the file");
    }
}

void BM_Open(benchmark::State &state)
{
    fixture(); // made before anything is measured
    for (auto _ : state) {
        frmEditor window;
        resetPeakRss();
        const long baseline = peakRss();
        window.formLoad(fixture().path);
        benchmark::DoNotOptimize(window.editor()->textLength());
        report(state, baseline, baseline);
    }
}

// Each step runs on a window that has done the steps before it; only the
// step itself is timed.
void runStep(benchmark::State &state, int step)
{
    fixture();
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<frmEditor>();
        const long idle = rss();
        window->formLoad(fixture().path);
        auto trigger = [&](const char *name) {
            window->findChild<QAction *>(QString::fromLatin1(name))->trigger();
        };
        if (step > 0)
            trigger("mnuViewRecord");
        if (step > 1)
            trigger("mnuViewList");
        resetPeakRss();
        const long baseline = peakRss();
        state.ResumeTiming();
        switch (step) {
        case 0: trigger("mnuViewRecord"); break;
        case 1: trigger("mnuViewList"); break;
        case 2: trigger("mnuFileSave"); break;
        }
        state.PauseTiming();
        report(state, baseline, idle);
        window->editor()->setModified(false);
        window.reset();
        state.ResumeTiming();
    }
}
void BM_SwitchToRecord(benchmark::State &state) { runStep(state, 0); }
void BM_SwitchBackToList(benchmark::State &state) { runStep(state, 1); }
void BM_Save(benchmark::State &state) { runStep(state, 2); }

// A key typed at the end of the open document, with the repaint it asks for.
void BM_KeystrokeAtTheEnd(benchmark::State &state)
{
    frmEditor window;
    window.show();
    window.formLoad(fixture().path);
    EditorWidget *editor = window.editor();
    editor->setSelStart(editor->textLength());
    QApplication::processEvents();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(editor, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(editor, &release);
        QApplication::processEvents();
    }
    if (!editor->text().endsWith(QStringLiteral("XXX")))
        state.SkipWithError("the keys did not arrive");
    editor->setModified(false);
}

BENCHMARK(BM_Floor_SciSetText)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_SwitchToRecord)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_SwitchBackToList)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Floor_WriteFsyncRename)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_KeystrokeAtTheEnd)->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();

} // namespace
