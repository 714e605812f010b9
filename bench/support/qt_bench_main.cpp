// Entry point of the benchmarks that need Qt widgets: they run on the
// offscreen platform unless the caller chose another.
#include "platform/LargeBlocks.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Memory as the program keeps it.
    zuno::keepLargeBlocksForReuse();
    zuno::shareOneHeapAmongThreads();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
