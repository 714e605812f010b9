// A key that splits a line or joins two moves the pixels of the lines below
// and paints only the rows it changed; what the window then shows is what a
// window painted afresh would show.
#include "platform/qt/EditorWidget.h"
#include "platform/qt/QtLineMarks.h"
#include "support/ScreenPixels.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace zuno;
using Sci = QsciScintillaBase;

namespace {

TEST(KeyRowShift, MovesTheRowsBelowAndPaintsOnlyTheChangedOnes)
{
    enum Place { Middle, Start, End };
    const struct {
        const char *key;
        Qt::Key code;
        Place place;
        long line; // from the first shown; -1: the last line shown whole
        int rows;  // the most rows of text painted afresh; 0: any
        int lines = 200;
        long top = 20;
    } cases[] = {
        {"Enter", Qt::Key_Return, Middle, 10, 2},
        {"Backspace at a line's start", Qt::Key_Backspace, Start, 10, 2},
        {"Delete at a line's end", Qt::Key_Delete, End, 10, 2},
        // The two rows and the part of a row below them.
        {"Enter on the last line shown, which scrolls", Qt::Key_Return, Middle, -1, 3},
        // Where the text ends in view, a line number comes or goes.
        {"Enter, the text's end in view", Qt::Key_Return, Middle, 2, 2, 200, 195},
        {"Backspace, the text's end in view", Qt::Key_Backspace, Start, 2, 2, 200, 195},
        // The line numbers take a digit more: the whole window moves.
        {"Enter that makes the 1000th line", Qt::Key_Return, Middle, 2, 0, 998, 990},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        EditorWidget editor;
        QtLineMarks marks(editor, editor, [](qint64) { return LineMark::None; });
        marks.showLineNumbers(true);
        QObject::connect(&editor, &EditorWidget::textChanged, [&marks] { marks.fitLineNumbers(); });
        QByteArray text;
        for (int i = 0; i < c.lines; ++i)
            text += "PL:" + QByteArray::number(i) + ",13,14,15\r\n";
        editor.SendScintilla(Sci::SCI_SETTEXT, text.constData());
        editor.SendScintilla(Sci::SCI_SETCARETPERIOD, 0UL);
        editor.resize(400, 300);
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor, 5000));
        editor.SendScintilla(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(c.top));
        const long line = c.top + (c.line >= 0 ? c.line : editor.SendScintilla(Sci::SCI_LINESONSCREEN) - 1);
        const long from = editor.SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        const long caret = c.place == Start ? from
            : c.place == End ? editor.SendScintilla(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line))
                             : from + 4;
        editor.SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(caret));
        editor.SendScintilla(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(c.top));
        editor.viewport()->repaint();
        QCoreApplication::processEvents();

        test::PaintedRegion painted;
        editor.viewport()->installEventFilter(&painted);
        QTest::keyClick(&editor, c.code);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !painted.region.isEmpty(); }, 5000));
        QCoreApplication::processEvents();
        editor.viewport()->removeEventFilter(&painted);

        const int row = int(editor.SendScintilla(Sci::SCI_TEXTHEIGHT, 0UL));
        const QRect textArea(editor.marginsWidth(), 0, editor.viewport()->width(), editor.viewport()->height());
        qint64 area = 0;
        for (const QRect &part : painted.region.intersected(textArea))
            area += qint64(part.width()) * part.height();
        if (c.rows > 0) {
            EXPECT_LE(area, qint64(c.rows) * row * textArea.width());
        }
        EXPECT_TRUE(test::showsWhatItWouldPaintAfresh(*editor.viewport()));
    }
}

} // namespace
