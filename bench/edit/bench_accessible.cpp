// What a screen reader costs on a 50 MB document in the real edit control:
// reading the line, the word and the caret where the caret stands (at the
// end, the far side of the document), and a keystroke there with its
// inserted-text and caret events. The keystroke needs Qt's accessibility on
// (run under tests/e2e/with_xvfb.sh tests/e2e/with_a11y_bus.sh); elsewhere
// it is skipped. Target: well under a millisecond, whatever the size.
#include "platform/qt/EditorWidget.h"
#include "support/EditText.h"

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QThread>
#include <benchmark/benchmark.h>

namespace zuno {
namespace {

constexpr qint64 DocumentChars = 50LL * 1024 * 1024;

struct Document {
    EditorWidget editor;
    Document()
    {
        QString text;
        text.reserve(DocumentChars + 64);
        for (int n = 0; text.size() < DocumentChars; ++n)
            text += QStringLiteral("PN:%1\r\nDE:SIDEWALK EDGE \u00E9\r\nPL:12,13,14,15\r\n").arg(n);
        editor.resize(800, 600);
        editor.show();
        test::setTextOf(editor, text);
        editor.setSelStart(editor.textLength());
        QApplication::processEvents();
    }
};

Document &document()
{
    static Document *instance = new Document; // outlives no application object
    return *instance;
}

void BM_ReadWhereTheCaretIs(benchmark::State &state)
{
    Document &doc = document();
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&doc.editor);
    QAccessibleTextInterface *text = face->textInterface();
    for (auto _ : state) {
        const int caret = text->cursorPosition();
        int start = 0, end = 0;
        benchmark::DoNotOptimize(text->textAtOffset(caret - 3, QAccessible::LineBoundary, &start, &end));
        benchmark::DoNotOptimize(text->textAtOffset(caret - 3, QAccessible::WordBoundary, &start, &end));
        benchmark::DoNotOptimize(text->characterCount());
    }
}
BENCHMARK(BM_ReadWhereTheCaretIs)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_KeystrokeToldToAScreenReader(benchmark::State &state)
{
    Document &doc = document();
    QDeadlineTimer deadline(5000);
    while (!QAccessible::isActive() && !deadline.hasExpired()) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    if (!QAccessible::isActive()) {
        state.SkipWithError("Qt's accessibility is off: run under with_a11y_bus.sh");
        return;
    }
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(&doc.editor, &press);
        QApplication::processEvents(); // the events go out
    }
}
BENCHMARK(BM_KeystrokeToldToAScreenReader)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace zuno
