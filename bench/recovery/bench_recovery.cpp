// Keeping a 50 MB document for recovery: what the window's thread does (copy
// the editor's bytes) beside what the writer's thread does (write the
// entry, sync it, rename it into place). Typing waits only for the first.
#include "recovery/RecoveryStore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>

using namespace zuno;

namespace {

const QByteArray &fiftyMegabytes()
{
    static const QByteArray text = QByteArray("AC:1001\r\nPL:1,2,3,45\r\n").repeated(50'000'000 / 22);
    return text;
}

// The first copy goes to a new buffer; the later ones reuse the buffer the
// writer hands back.
void BM_CopyOnTheWindowsThread(benchmark::State &state)
{
    const QByteArrayView editorBytes = fiftyMegabytes();
    QByteArray buffer;
    for (auto _ : state) {
        if (!state.range(0))
            buffer = QByteArray();
        buffer.resize(editorBytes.size());
        std::memcpy(buffer.data(), editorBytes.data(), size_t(editorBytes.size()));
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_CopyOnTheWindowsThread)->ArgName("reused")->Arg(0)->Arg(1)
    ->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_WriteOnTheWritersThread(benchmark::State &state)
{
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    RecoveryData data;
    data.path = QStringLiteral("/data/ROAD1.PRJ");
    data.text = fiftyMegabytes();
    for (auto _ : state) {
        if (!store.write(data).ok())
            state.SkipWithError("the recovery data could not be written");
    }
    store.removeOwn();
}
BENCHMARK(BM_WriteOnTheWritersThread)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
