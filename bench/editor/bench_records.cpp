// The records as a structure on a large file: open a 50 MB List file and
// switch to Record with the records and problems panels shown, type a key at
// its end, and go to a record by its AC value (the whole index searched),
// each with the memory it reached. Argument 0: the panels hidden; 1: shown.
#include "items/DataItemView.h"
#include "panels/RecordsView.h"
#include "panels/frmGoToRecord.h"
#include "window/frmEditor.h"
#include "textfile/TextFile.h"
#include "../support/ProcessMemory.h"
#include "../support/WindowSteps.h"

#include <cstdlib>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <Qsci/qsciscintillabase.h>
#include <benchmark/benchmark.h>

#include <ctime>

using namespace zuno;
using bench::pressKey;

namespace {

constexpr qsizetype TargetBytes = 50 * 1000 * 1000;

// The List text of bench_editor: AC lines, BG/EG lines, PL lists, XX items
// and the occasional AC:OS; here every record also has a name.
struct Fixture {
    QTemporaryDir dir;
    QString path;
    qint64 bytes = 0;
    int records = 0;
    Fixture()
    {
        QString text;
        text.reserve(TargetBytes + 200);
        for (; text.size() < TargetBytes; ++records) {
            text += QStringLiteral("AC:%1\r\nNM:RECORD %1\r\nBG:A%1\r\nPL:").arg(records);
            const int values = 5 + records % 40;
            for (int v = 0; v < values; ++v)
                text += QString::number(100 + v) + (v + 1 < values ? QStringLiteral(",") : QString());
            text += QStringLiteral("\r\nXX:REMARK %1\r\nEG:%1\r\n").arg(records);
            if (records % 10 == 0)
                text += QStringLiteral("AC:OS\r\n");
        }
        text += QStringLiteral("XX:END");
        path = dir.filePath(QStringLiteral("BIG.PRJ"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        const QByteArray encoded = encodeText(text.toUtf8(), TextFileFormat{});
        bytes = encoded.size();
        file.write(encoded);
    }
};
Fixture &fixture()
{
    static Fixture f;
    return f;
}

// The process's CPU time, every thread's.
double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void settle(frmEditor &window)
{
    if (!bench::settleWindow(window))
        std::abort(); // a check that never ends: no figure to give
}

void showPanels(benchmark::State &state, frmEditor &window)
{
    const bool shown = state.range(0) == 1;
    window.recordsView().recordsPanel()->setVisible(shown);
    window.recordsView().problemsPanel()->setVisible(shown);
}

// The step's peak and what the process holds after it, over what it held
// before; the record index's own share.
void report(benchmark::State &state, long baseline, long before, frmEditor &window)
{
    state.counters["peak_MB"] = double(bench::peakRss() - baseline) / 1e6;
    state.counters["held_MB"] = double(bench::rss() - before) / 1e6;
    state.counters["index_MB"] = double(window.findChild<DataItemView *>()->records().memoryBytes()) / 1e6;
    state.counters["records"] = fixture().records;
}

void BM_OpenWithPanels(benchmark::State &state)
{
    fixture();
    for (auto _ : state) {
        state.PauseTiming();
        frmEditor window;
        showPanels(state, window);
        window.show();
        QApplication::processEvents();
        bench::resetPeakRss();
        const long baseline = bench::peakRss();
        const long before = bench::rss();
        const double cpu = processCpuMs();
        state.ResumeTiming();
        window.formLoad(fixture().path);
        settle(window);
        state.PauseTiming();
        state.counters["process_cpu_ms"] = processCpuMs() - cpu;
        report(state, baseline, before, window);
        state.ResumeTiming();
    }
}

void BM_ViewRecordWithPanels(benchmark::State &state)
{
    fixture();
    for (auto _ : state) {
        state.PauseTiming();
        frmEditor window;
        showPanels(state, window);
        window.show();
        window.formLoad(fixture().path);
        settle(window);
        bench::resetPeakRss();
        const long baseline = bench::peakRss();
        const long before = bench::rss();
        const double cpu = processCpuMs();
        state.ResumeTiming();
        window.findChild<QAction *>(QStringLiteral("mnuViewRecord"))->trigger();
        settle(window);
        state.PauseTiming();
        state.counters["process_cpu_ms"] = processCpuMs() - cpu;
        report(state, baseline, before, window);
        window.editor()->setModified(false);
        state.ResumeTiming();
    }
}

// Both panels shown over the open document: what they add to the process.
void BM_ShowPanels(benchmark::State &state)
{
    fixture();
    for (auto _ : state) {
        state.PauseTiming();
        frmEditor window;
        window.recordsView().recordsPanel()->hide();
        window.recordsView().problemsPanel()->hide();
        window.show();
        window.formLoad(fixture().path);
        settle(window);
        bench::resetPeakRss();
        const long baseline = bench::peakRss();
        const long before = bench::rss();
        state.ResumeTiming();
        window.recordsView().recordsPanel()->show();
        window.recordsView().problemsPanel()->show();
        QApplication::processEvents();
        state.PauseTiming();
        report(state, baseline, before, window);
        state.ResumeTiming();
    }
}

void BM_KeystrokeAtTheEndWithPanels(benchmark::State &state)
{
    frmEditor window;
    showPanels(state, window);
    window.show();
    window.formLoad(fixture().path);
    settle(window);
    EditorWidget *editor = window.editor();
    editor->setSelStart(editor->textLength());
    QApplication::processEvents();
    for (auto _ : state) {
        pressKey(editor, Qt::Key_X, QStringLiteral("x"));
        QApplication::processEvents();
    }
    editor->setModified(false);
}

// The last record typed into Go To Record (its matches found as typed),
// then Enter to the caret on its line.
void BM_GoToRecord(benchmark::State &state)
{
    frmEditor window;
    showPanels(state, window);
    window.show();
    window.formLoad(fixture().path);
    settle(window);
    const QString last = QString::number(fixture().records - 1);
    for (auto _ : state) {
        state.PauseTiming();
        window.editor()->setSelStart(0);
        window.findChild<QAction *>(QStringLiteral("mnuEditGoToRecord"))->trigger();
        auto *dialog = window.findChild<frmGoToRecord *>();
        dialog->txtGRRecord->clear();
        QApplication::processEvents();
        state.ResumeTiming();
        dialog->txtGRRecord->setText(last);
        pressKey(dialog->txtGRRecord, Qt::Key_Return);
        QApplication::processEvents();
        state.PauseTiming();
        if (dialog->isVisible() || window.editor()->selStart() == 0)
            state.SkipWithError("Go To Record did not go");
        state.ResumeTiming();
    }
}

// A name typed whole into the records panel's filter: every entry's
// caption read and tested, the list laid out again.
void BM_FilterRecords(benchmark::State &state)
{
    frmEditor window;
    window.recordsView().recordsPanel()->show();
    window.show();
    window.formLoad(fixture().path);
    settle(window);
    // Arg 1: a text beyond ASCII, matched by Unicode's case folding against
    // every entry (here it finds none).
    const bool beyondAscii = state.range(0) == 1;
    const QString name = beyondAscii ? QStringLiteral("r\u00E9cord") : QStringLiteral("record %1").arg(fixture().records - 1);
    for (auto _ : state) {
        window.recordsView().recordsFilter()->setText(name);
        QApplication::processEvents();
        state.PauseTiming();
        if ((window.recordsView().recordsList()->model()->rowCount() == 0) != beyondAscii)
            state.SkipWithError("the filter found what it should not, or nothing");
        window.recordsView().recordsFilter()->clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_OpenWithPanels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ViewRecordWithPanels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ShowPanels)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_KeystrokeAtTheEndWithPanels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(200)->UseRealTime();
BENCHMARK(BM_GoToRecord)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_FilterRecords)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace
