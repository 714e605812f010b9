// Replace All on a 10 MB document with 100,000 occurrences.
//
//   ReplaceAll/EditorWidget   what the "Replace &All" button does, on the
//                             real edit control (offscreen platform)
//   ReplaceAllStepwise/...    ReplaceOne in a loop, the literal procedure
//   ReplaceAll/PlanOnly       finding the occurrences, without the edits
//   Sed                       sed 's/CAT/DOG/g' on the same text, as a
//                             reference figure for the machine
#include "platform/qt/EditorWidget.h"
#include "support/EditText.h"
#include "search/modFindReplaceRichText.h"
#include "ReplaceAllStepwise.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace zuno;
namespace engine = zuno::modFindReplaceRichText;

namespace {

constexpr int Occurrences = 100000;

// About 10 MB of data items in the List layout; every fourth line holds the
// word CAT once, among letters and digits that are not CAT.
const QString &documentText()
{
    static const QString text = [] {
        QString s;
        s.reserve(11'000'000);
        for (int line = 0; line < Occurrences * 4; ++line) {
            const QString number = QString::number(100000 + line);
            if (line % 4 == 0)
                s += QStringLiteral("PL:") + number + QStringLiteral(",CAT,12.50,0.00\r\n");
            else
                s += QStringLiteral("XX:") + number + QStringLiteral(",CAB,12.50,0.00\r\n");
        }
        return s;
    }();
    return text;
}

void checkCount(benchmark::State &state, qint64 count)
{
    if (count != Occurrences)
        state.SkipWithError("wrong replacement count");
}

void ReplaceAllOnEditorWidget(benchmark::State &state)
{
    EditorWidget editor;
    for (auto _ : state) {
        state.PauseTiming();
        test::setTextOf(editor, documentText());
        editor.setSelStart(5'000'000);
        state.ResumeTiming();
        checkCount(state, engine::ReplaceAll(editor, "DOG", "cat", false, true));
    }
    state.counters["MB"] = documentText().size() / 1e6;
}
BENCHMARK(ReplaceAllOnEditorWidget)->Name("ReplaceAll/EditorWidget")->Unit(benchmark::kMillisecond);

void ReplaceAllStepwiseOnEditorWidget(benchmark::State &state)
{
    EditorWidget editor;
    for (auto _ : state) {
        state.PauseTiming();
        test::setTextOf(editor, documentText());
        state.ResumeTiming();
        checkCount(state, test::ReplaceAllStepwise(editor, "DOG", "cat", false, true));
    }
}
BENCHMARK(ReplaceAllStepwiseOnEditorWidget)
    ->Name("ReplaceAllStepwise/EditorWidget")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void ReplaceAllPlanOnly(benchmark::State &state)
{
    const QByteArray bytes = documentText().toUtf8();
    for (auto _ : state)
        checkCount(state, engine::PlanReplaceAll(bytes, "DOG", "cat", false, true).count());
}
BENCHMARK(ReplaceAllPlanOnly)->Name("ReplaceAll/PlanOnly")->Unit(benchmark::kMillisecond);

void Sed(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.txt"), out = dir.filePath("out.txt");
    QFile file(in);
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the text");
        return;
    }
    file.write(documentText().toUtf8());
    file.close();
    const std::string command =
        "sed 's/\\bCAT\\b/DOG/gI' '" + in.toStdString() + "' > '" + out.toStdString() + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sed failed");
    }
}
BENCHMARK(Sed)->Unit(benchmark::kMillisecond);

} // namespace
