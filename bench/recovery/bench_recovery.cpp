// Keeping a large document for recovery. What the window's thread does per
// edit (hand the edit's bytes to the journal, encode a batch) and per new
// base (hand over a text it holds, shared), against 50 and 200 MB texts;
// what a kill -9 would lose while typing goes on without a pause (how late
// an edit reaches the disk, synced); and a whole snapshot written by the
// writer's thread. Typing waits only for the window's part.
#include "recovery/DocumentRecovery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

using namespace zuno;

namespace {

const QByteArray &text(qint64 megabytes)
{
    static QByteArray texts[2];
    QByteArray &kept = texts[megabytes > 100 ? 1 : 0];
    if (kept.isEmpty())
        kept = QByteArray("AC:1001\r\nPL:1,2,3,45\r\n").repeated(megabytes * 1'000'000 / 22);
    return kept;
}

RecoveryData textBase(qint64 megabytes)
{
    RecoveryData base;
    base.path = QStringLiteral("/data/ROAD1.PRJ");
    base.text = text(megabytes);
    return base;
}

// One keystroke's part on the window's thread, batch encoding included.
void BM_EditOnTheWindowsThread(benchmark::State &state)
{
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    DocumentRecovery recovery(store, [](QByteArray) { return std::optional<RecoveryData>(); });
    recovery.setJournalDelay(1'000'000);
    recovery.setModified(true);
    recovery.newBase(textBase(state.range(0)));
    qint64 at = text(state.range(0)).size() / 2;
    int n = 0;
    for (auto _ : state) {
        recovery.edited(at++, 0, QByteArray("x"));
        if (++n % 8 == 0)
            recovery.writeNow(0); // the batch timer's work: encode, hand over
    }
    recovery.writeNow(60000);
}
BENCHMARK(BM_EditOnTheWindowsThread)->ArgName("MB")->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

// A whole new text the document holds (a view switch): handed over shared.
void BM_NewBaseOnTheWindowsThread(benchmark::State &state)
{
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    DocumentRecovery recovery(store, [](QByteArray) { return std::optional<RecoveryData>(); });
    recovery.setModified(true);
    const RecoveryData base = textBase(state.range(0));
    for (auto _ : state) {
        recovery.newBase(base);
        state.PauseTiming();
        recovery.writeNow(120000); // the writer's part, not timed
        state.ResumeTiming();
    }
}
BENCHMARK(BM_NewBaseOnTheWindowsThread)->ArgName("MB")->Arg(50)->Arg(200)->Iterations(3)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();

// Typing at 25 keys a second for 4 s on a text just handed over as the
// base: the longest time from a key to its record synced on disk, which is
// what a kill -9 at the worst moment loses.
void BM_SecondsLostToAKillWhileTyping(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        RecoveryStore store(dir.path());
        DocumentRecovery recovery(store, [](QByteArray) { return std::optional<RecoveryData>(); });
        recovery.setModified(true);
        recovery.newBase(textBase(state.range(0)));
        recovery.writeNow(120000);
        QElapsedTimer clock;
        clock.start();
        QList<qint64> typedAt;
        qint64 worst = 0;
        qint64 recordBytes = journalRecord(JournalEdit{0, 0, "x", 0, 0}).size();
        qint64 at = text(state.range(0)).size() / 2;
        while (clock.elapsed() < 4000 || store.journalBytes() < typedAt.size() * recordBytes) {
            if (clock.elapsed() < 4000 && clock.elapsed() >= typedAt.size() * 40) {
                typedAt.append(clock.elapsed());
                recovery.edited(at++, 0, QByteArray("x"));
            }
            const qint64 onDisk = store.journalBytes() / recordBytes;
            if (onDisk > 0)
                worst = std::max(worst, clock.elapsed() - typedAt[onDisk - 1] - 40 * (typedAt.size() - onDisk));
            for (qint64 k = onDisk; k < typedAt.size(); ++k)
                worst = std::max(worst, clock.elapsed() - typedAt[k]);
            QTest::qWait(2);
        }
        state.counters["worst_lost_s"] = double(worst) / 1000;
        state.counters["keys"] = double(typedAt.size());
    }
}
BENCHMARK(BM_SecondsLostToAKillWhileTyping)->ArgName("MB")->Arg(50)->Arg(200)->Iterations(1)
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole snapshot a compaction or a base writes, on the writer's thread.
void BM_SnapshotOnTheWritersThread(benchmark::State &state)
{
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    const RecoveryData data = textBase(state.range(0));
    for (auto _ : state) {
        if (!store.write(data).ok())
            state.SkipWithError("the recovery data could not be written");
    }
    store.removeOwn();
}
BENCHMARK(BM_SnapshotOnTheWritersThread)->ArgName("MB")->Arg(50)->Arg(200)->Iterations(2)
    ->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
