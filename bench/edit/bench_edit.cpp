// Go To Line across a 50 MB document, first line to last and back, and
// Select All + Copy of the whole of it, in the real edit control on the
// offscreen platform. Target: well under 0.2 s per jump.
#include "edit/modGoTo.h"
#include "support/EditText.h"
#include "edit/modTextEditor.h"
#include "platform/qt/EditorWidget.h"
#include "platform/qt/QtClipboard.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>

namespace zuno {
namespace {

constexpr qint64 DocumentChars = 50LL * 1024 * 1024;

// A List-layout document of about 50 MB: records of data items.
QString makeDocument()
{
    const QStringList record = {
        QStringLiteral("PR:ROAD-%1"),   QStringLiteral("PN:%1"),
        QStringLiteral("PL:12,13,14,15,16,17,18,19,20,21"),
        QStringLiteral("EL:104.25"),    QStringLiteral("CH:%1.500"),
        QStringLiteral("OS:-3.75"),     QStringLiteral("DE:SIDEWALK EDGE"),
    };
    QString text;
    text.reserve(DocumentChars + 64);
    for (int n = 0; text.size() < DocumentChars; ++n) {
        for (const QString &item : record) {
            text += item.contains(QLatin1String("%1")) ? item.arg(n) : item;
            text += QLatin1String("\r\n");
        }
    }
    text += QStringLiteral("EN:END");
    return text;
}

// Answers every use of the dialog with one entry.
class EntryDialog : public IGoToLineDialog {
public:
    GoToLineOutcome showModal() override { return GoToLineOutcome::Ok; }
    QString entry() const override { return m_entry; }
    void setEntry(const QString &entry) override { m_entry = entry.isEmpty() ? m_next : entry; }
    void answer(const QString &entry) { m_entry = m_next = entry; }

private:
    QString m_entry;
    QString m_next;
};

class NoMessages : public IMessageBox {
public:
    MessageResult show(const QString &, MessageButtons, MessageIcon, const QString &) override
    {
        return MessageResult::Ok;
    }
};

struct Document {
    EditorWidget editor;
    qint64 lineCount = 0;
    qint64 lastLineStart = 0;

    Document()
    {
        editor.resize(800, 600);
        editor.show();
        test::setTextOf(editor, makeDocument());
        lineCount = editor.lineFromChar(editor.textLength()) + 1;
        lastLineStart = test::textOf(editor).lastIndexOf(QStringLiteral("\r\n")) + 2;
        QApplication::processEvents();
    }
};

// Made on first use and never destroyed: a widget must not outlive the
// application object, which main() ends first.
Document &document()
{
    static Document *instance = new Document;
    return *instance;
}

// One jump to the last line and one back to the first, through the whole
// command; the time is per pair of jumps.
void BM_GoToFirstToLastAndBack(benchmark::State &state)
{
    Document &doc = document();
    EntryDialog toLast;
    toLast.answer(QString::number(doc.lineCount));
    EntryDialog toFirst;
    toFirst.answer(QStringLiteral("1"));
    NoMessages messages;
    doc.editor.setSelStart(0);
    for (auto _ : state) {
        GoToLine(doc.editor, toLast, messages);
        if (doc.editor.selStart() != doc.lastLineStart)
            state.SkipWithError("the jump to the last line missed");
        GoToLine(doc.editor, toFirst, messages);
        if (doc.editor.selStart() != 0)
            state.SkipWithError("the jump to the first line missed");
    }
    // Seconds per jump (two jumps per iteration).
    state.counters["per_jump"] = benchmark::Counter(
        2.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["lines"] = double(doc.lineCount);
    state.counters["MB"] = double(doc.editor.textLength()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_GoToFirstToLastAndBack)->Unit(benchmark::kMillisecond)->UseRealTime();

// A jump into the middle of the document from the last line.
void BM_GoToMiddleFromLast(benchmark::State &state)
{
    Document &doc = document();
    EntryDialog middle;
    middle.answer(QString::number(doc.lineCount / 2));
    NoMessages messages;
    for (auto _ : state) {
        state.PauseTiming();
        doc.editor.setSelStart(doc.lastLineStart);
        state.ResumeTiming();
        GoToLine(doc.editor, middle, messages);
    }
}
BENCHMARK(BM_GoToMiddleFromLast)->Unit(benchmark::kMillisecond)->UseRealTime();

// Select All and Copy of the whole 50 MB document to the clipboard.
void BM_SelectAllAndCopy(benchmark::State &state)
{
    Document &doc = document();
    for (auto _ : state) {
        EditSelectAll(doc.editor);
        EditCopy(doc.editor, systemClipboard());
    }
    if (systemClipboard().text().size() != doc.editor.textLength())
        state.SkipWithError("the clipboard does not hold the whole document");
    state.SetBytesProcessed(state.iterations() * doc.editor.textLength() * qint64(sizeof(QChar)));
}
BENCHMARK(BM_SelectAllAndCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
} // namespace zuno
