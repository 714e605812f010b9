// The editor on a large file: open a 50 MB List file, switch to Record,
// back to List, save, and type a key at its end; beside the bare cost of
// Scintilla's SCI_SETTEXT of the same bytes (the floor). Reports the wall
// time of each step and the peak memory it reached over what the process
// held before.
#include "editor/frmEditor.h"
#include "platform/TextFile.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <Qsci/qsciscintillabase.h>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

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

// Peak resident memory since the last reset, in bytes.
long peakRss()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6)) * 1024;
    }
    return 0;
}
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
        file.write(encodeText(text, TextFileFormat{}));
    }
};
Fixture &fixture()
{
    static Fixture f;
    return f;
}

void report(benchmark::State &state, long baseline)
{
    state.counters["peak_MB"] = double(peakRss() - baseline) / 1e6;
    state.counters["text_MB"] = double(fixture().text.size()) / 1e6;
}

void BM_Floor_SciSetText(benchmark::State &state)
{
    const QByteArray bytes = encodeText(fixture().text, TextFileFormat{});
    for (auto _ : state) {
        QsciScintillaBase edit;
        resetPeakRss();
        const long baseline = peakRss();
        edit.SendScintilla(QsciScintillaBase::SCI_SETTEXT, uintptr_t(0), bytes.constData());
        benchmark::DoNotOptimize(edit.SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
        report(state, baseline);
    }
}

void BM_Open(benchmark::State &state)
{
    for (auto _ : state) {
        frmEditor window;
        resetPeakRss();
        const long baseline = peakRss();
        window.formLoad(fixture().path);
        benchmark::DoNotOptimize(window.editor()->textLength());
        report(state, baseline);
    }
}

// Each step runs on a window that has done the steps before it; only the
// step itself is timed.
void runStep(benchmark::State &state, int step)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<frmEditor>();
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
        report(state, baseline);
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
BENCHMARK(BM_KeystrokeAtTheEnd)->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();

} // namespace
