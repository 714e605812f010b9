// The editor on a large file: open a 50 MB List file, switch to Record,
// back to List, save in either view (in the Record view also after a key
// typed in its middle), type a key at its end, go to a problem on its last
// line and scroll a page; beside the bare cost of Scintilla's SCI_SETTEXT
// of the same bytes (the floor). Each step runs without (argument 0) and
// with (1) the data items shown as the text is edited: problem marks, line
// numbers, code colours and the record under the caret. Reports the wall
// time of each step and the peak memory it reached over what the process
// held before.
#include "items/DataItemView.h"
#include "panels/RecordsView.h"
#include "window/frmEditor.h"
#include "support/EditText.h"
#include "textfile/TextFile.h"
#include "../support/ProcessMemory.h"
#include "../support/WindowSteps.h"

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
using bench::pressKey;

namespace {

// 50 MB, or as many megabytes as ZUNO_BENCH_EDITOR_MB says.
const qsizetype TargetBytes =
    qsizetype(qEnvironmentVariableIsSet("ZUNO_BENCH_EDITOR_MB") ? qEnvironmentVariableIntValue("ZUNO_BENCH_EDITOR_MB")
                                                                 : 50)
    * 1000 * 1000;

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

using bench::peakRss;
using bench::resetPeakRss;
using bench::rss;

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

// Without argument 1, the window as it was before it showed the data items.
void chooseDataItems(benchmark::State &state, frmEditor &window)
{
    if (state.range(0) == 1)
        return;
    delete window.findChild<RecordsView *>();
    delete window.findChild<DataItemView *>();
    for (unsigned long margin = 0; margin < 5; ++margin)
        window.editor()->SendScintilla(QsciScintillaBase::SCI_SETMARGINWIDTHN, margin, 0L);
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
        chooseDataItems(state, window);
        window.show();
        QApplication::processEvents();
        resetPeakRss();
        const long baseline = peakRss();
        window.formLoad(fixture().path);
        // The whole text is checked once the load is done, when the window
        // shows the new text.
        QApplication::processEvents();
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
        chooseDataItems(state, *window);
        const long idle = rss();
        window->formLoad(fixture().path);
        auto trigger = [&](const char *name) {
            window->findChild<QAction *>(QString::fromLatin1(name))->trigger();
        };
        if (step > 0)
            trigger("mnuViewRecord");
        if (step == 2)
            trigger("mnuViewList");
        if (step == 4) {
            // A digit typed at the end of a line in the middle of the Record
            // text once it is settled: a value changed.
            bench::settleWindow(*window);
            window->editor()->setSelStart(window->editor()->textLength() / 2);
            pressKey(window->editor(), Qt::Key_End);
            pressKey(window->editor(), Qt::Key_1, QStringLiteral("1"));
        }
        // What the steps before left to do (the whole-text check, off the
        // window's thread for a large text) is theirs, not this step's.
        if (!bench::settleWindow(*window))
            state.SkipWithError("the whole-text check did not end");
        resetPeakRss();
        const long baseline = peakRss();
        state.ResumeTiming();
        switch (step) {
        case 0: trigger("mnuViewRecord"); break;
        case 1: trigger("mnuViewList"); break;
        case 2:
        case 3:
        case 4: trigger("mnuFileSave"); break;
        }
        QApplication::processEvents();
        state.PauseTiming();
        // A text that came back as it is was left alone, with its history.
        if (step == 4 && !window->editor()->SendScintilla(QsciScintillaBase::SCI_CANUNDO))
            state.SkipWithError("the edited text did not come back as it is");
        report(state, baseline, idle);
        window->editor()->setModified(false);
        window.reset();
        state.ResumeTiming();
    }
}
void BM_SwitchToRecord(benchmark::State &state) { runStep(state, 0); }
void BM_SwitchBackToList(benchmark::State &state) { runStep(state, 1); }
void BM_Save(benchmark::State &state) { runStep(state, 2); }
void BM_SaveInRecordView(benchmark::State &state) { runStep(state, 3); }
void BM_SaveInRecordViewAfterAKey(benchmark::State &state) { runStep(state, 4); }

// A key typed at the end of the open document, with the repaint it asks for.
void BM_KeystrokeAtTheEnd(benchmark::State &state)
{
    frmEditor window;
    chooseDataItems(state, window);
    window.show();
    window.formLoad(fixture().path);
    EditorWidget *editor = window.editor();
    editor->setSelStart(editor->textLength());
    QApplication::processEvents();
    for (auto _ : state) {
        pressKey(editor, Qt::Key_X, QStringLiteral("x"));
        QApplication::processEvents();
    }
    if (!test::textOf(*editor).endsWith(QStringLiteral("XXX")))
        state.SkipWithError("the keys did not arrive");
    editor->setModified(false);
}

// F8 from the first line to a problem on the last.
void BM_NextProblemToTheLastLine(benchmark::State &state)
{
    frmEditor window;
    window.show();
    window.formLoad(fixture().path);
    EditorWidget *editor = window.editor();
    editor->setSelStart(editor->textLength());
    editor->setSelText(QStringLiteral("\r\nREMARK X"));
    QApplication::processEvents();
    QAction *next = window.findChild<QAction *>(QStringLiteral("mnuViewNextProblem"));
    const long last = editor->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT) - 1;
    for (auto _ : state) {
        state.PauseTiming();
        editor->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0UL);
        QApplication::processEvents();
        state.ResumeTiming();
        next->trigger();
        QApplication::processEvents();
    }
    if (editor->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS)) != last)
        state.SkipWithError("F8 did not reach the last line");
    editor->setModified(false);
}

// A page scrolled down, with its repaint (and the colouring of the lines
// that come into view).
void BM_ScrollAPage(benchmark::State &state)
{
    frmEditor window;
    chooseDataItems(state, window);
    window.show();
    window.formLoad(fixture().path);
    EditorWidget *editor = window.editor();
    QApplication::processEvents();
    for (auto _ : state) {
        pressKey(editor, Qt::Key_PageDown);
        editor->repaint();
        QApplication::processEvents();
    }
    if (editor->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE) == 0)
        state.SkipWithError("the page did not scroll");
}

BENCHMARK(BM_Floor_SciSetText)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Open)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_SwitchToRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_SwitchBackToList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_Save)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_SaveInRecordView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_SaveInRecordViewAfterAKey)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_KeystrokeAtTheEnd)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();
BENCHMARK(BM_NextProblemToTheLastLine)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();
BENCHMARK(BM_ScrollAPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();
BENCHMARK(BM_Floor_WriteFsyncRename)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
