// rtbEditor on the offscreen platform: the "\r\n" text model, offsets that
// count a line break as two characters, the modified flag and the change
// notification, find, and the keys the control handles itself.
#include "platform/EditorWidget.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

const QString ThreeLines = QStringLiteral("AB\r\nC\r\nDEF");

TEST(EditorWidgetText, ReadsAndWritesWithCrLfBetweenLines)
{
    EditorWidget editor;
    editor.setText(ThreeLines);
    EXPECT_EQ(editor.text(), ThreeLines);
    EXPECT_EQ(editor.textLength(), 10);
    EXPECT_EQ(editor.document()->blockCount(), 3);

    editor.setText(QStringLiteral("AC:1\r\n"));
    EXPECT_EQ(editor.text(), QStringLiteral("AC:1\r\n")) << "a final line break is a final empty line";
    EXPECT_EQ(editor.textLength(), 6);

    editor.setText(QString());
    EXPECT_EQ(editor.text(), QString());
    EXPECT_EQ(editor.textLength(), 0);
}

TEST(EditorWidgetText, KeepsEveryCharacterAsStored)
{
    EditorWidget editor;
    const QString text = QStringLiteral("A\u00A0B\tC\r\n\u00E9\u20AC:\U0001F600");
    editor.setText(text);
    EXPECT_EQ(editor.text(), text) << "no-break space, tab and non-Latin characters survive";
}

TEST(EditorWidgetOffsets, CountALineBreakAsTwoCharacters)
{
    EditorWidget editor;
    editor.setText(ThreeLines);
    // Offsets: A0 B1 \r2 \n3 C4 \r5 \n6 D7 E8 F9
    editor.setSelStart(4);
    EXPECT_EQ(editor.selStart(), 4);
    EXPECT_EQ(editor.textCursor().block().text(), QStringLiteral("C"));
    editor.setSelLength(5);
    EXPECT_EQ(editor.selLength(), 5);
    EXPECT_EQ(editor.selText(), QStringLiteral("C\r\nDE"));

    editor.setSelStart(7);
    EXPECT_EQ(editor.selLength(), 0) << "setting the start leaves nothing selected";
    EXPECT_EQ(editor.lineFromChar(7), 2);
    EXPECT_EQ(editor.lineFromChar(0), 0);
    EXPECT_EQ(editor.lineFromChar(3), 0) << "the line break belongs to its line";
    EXPECT_EQ(editor.lineFromChar(4), 1);

    editor.setSelStart(3); // between "\r" and "\n"
    EXPECT_EQ(editor.selStart(), 2) << "goes to the end of the line";
    editor.setSelStart(1000);
    EXPECT_EQ(editor.selStart(), 10) << "stops at the end of the text";
    editor.setSelStart(-5);
    EXPECT_EQ(editor.selStart(), 0);
}

TEST(EditorWidgetOffsets, MapBothWaysOnManyLines)
{
    EditorWidget editor;
    QString text;
    for (int i = 0; i < 500; ++i)
        text += QString(i % 7, QLatin1Char('x')) + QStringLiteral("\r\n");
    editor.setText(text);
    for (qint64 offset = 0; offset <= text.size(); ++offset) {
        editor.setSelStart(offset);
        const bool insideBreak = offset > 0 && text[offset - 1] == QLatin1Char('\r');
        ASSERT_EQ(editor.selStart(), insideBreak ? offset - 1 : offset) << offset;
    }
}

TEST(EditorWidgetSelection, WritingTheSelectionReplacesItAndPutsTheCaretAfter)
{
    EditorWidget editor;
    editor.setText(ThreeLines);
    editor.setSelStart(1);
    editor.setSelLength(4); // "B\r\nC"
    editor.setSelText(QStringLiteral("xy\r\nz"));
    EXPECT_EQ(editor.text(), QStringLiteral("Axy\r\nz\r\nDEF"));
    EXPECT_EQ(editor.selStart(), 6);
    EXPECT_EQ(editor.selLength(), 0);
}

TEST(EditorWidgetFlag, EveryChangeSetsTheFlagAndRaisesTheNotification)
{
    EditorWidget editor;
    QSignalSpy changes(&editor, &EditorWidget::changed);
    EXPECT_FALSE(editor.isModified());
    editor.setText(ThreeLines);
    EXPECT_TRUE(editor.isModified()) << "the program's own changes count";
    EXPECT_EQ(changes.count(), 1) << "one notification for a whole-text write";

    editor.setModified(false);
    editor.setSelStart(2);
    EXPECT_FALSE(editor.isModified()) << "moving the caret is no change";
    editor.setSelText(QStringLiteral("!"));
    EXPECT_TRUE(editor.isModified());

    editor.setModified(false);
    editor.undo();
    EXPECT_EQ(editor.text(), ThreeLines);
    EXPECT_TRUE(editor.isModified()) << "undo is a change too";
}

TEST(EditorWidgetFlag, CompoundEditIsOneChangeAndOneUndo)
{
    EditorWidget editor;
    editor.setText(QStringLiteral("a a a"));
    QSignalSpy changes(&editor, &EditorWidget::changed);
    editor.beginCompoundEdit();
    for (qint64 at : {4, 2, 0}) {
        editor.setSelStart(at);
        editor.setSelLength(1);
        editor.setSelText(QStringLiteral("bb"));
    }
    editor.endCompoundEdit();
    EXPECT_EQ(editor.text(), QStringLiteral("bb bb bb"));
    EXPECT_EQ(changes.count(), 1);
    editor.undo();
    EXPECT_EQ(editor.text(), QStringLiteral("a a a"));
}

TEST(EditorWidgetFind, SelectsTheOccurrenceAndCountsOffsetsWithCrLf)
{
    EditorWidget editor;
    editor.setText(QStringLiteral("cat\r\nconcat Cat\r\ncat"));
    EXPECT_EQ(editor.find(QStringLiteral("cat"), 0, 0), 0);
    EXPECT_EQ(editor.find(QStringLiteral("cat"), 1, 0), 8);
    EXPECT_EQ(editor.selStart(), 8);
    EXPECT_EQ(editor.selLength(), 3);
    EXPECT_EQ(editor.find(QStringLiteral("cat"), 9, FindWholeWord), 12) << "whole word, any case";
    EXPECT_EQ(editor.find(QStringLiteral("cat"), 9, FindWholeWord | FindMatchCase), 17);
    EXPECT_EQ(editor.find(QStringLiteral("cat"), 18, 0), -1);
    EXPECT_EQ(editor.selStart(), 17) << "a failed search keeps the selection";
    EXPECT_EQ(editor.find(QStringLiteral("t\r\nc"), 0, 0), 2) << "across a line break";
    EXPECT_EQ(editor.selText(), QStringLiteral("t\r\nc"));
    EXPECT_EQ(editor.find(QString(), 0, 0), -1);
}

TEST(EditorWidgetKeys, TypedLettersBecomeCapitalsAndOtherKeysStay)
{
    EditorWidget editor;
    editor.show();
    QTest::keyClicks(&editor, QStringLiteral("ab{`1z"));
    EXPECT_EQ(editor.text(), QStringLiteral("AB{`1Z"));
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(editor.text(), QStringLiteral("AB{`1Z")) << "Ctrl+Z reaches the control as undo";
}

TEST(EditorWidgetMouse, RightButtonAsksForTheEditMenuAndLeftDoesNot)
{
    EditorWidget editor;
    editor.resize(200, 100);
    editor.show();
    QSignalSpy requests(&editor, &EditorWidget::editMenuRequested);
    QTest::mousePress(editor.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(editor.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mousePress(editor.viewport(), Qt::MiddleButton, {}, QPoint(10, 10));
    EXPECT_EQ(requests.count(), 0);
    QTest::mousePress(editor.viewport(), Qt::RightButton, Qt::ShiftModifier, QPoint(10, 10));
    EXPECT_EQ(requests.count(), 1);
}

TEST(EditorWidgetLayout, ContentWidthFollowsTheWidestLine)
{
    EditorWidget editor;
    editor.setText(QStringLiteral("AC:1"));
    const int narrow = editor.contentWidth();
    editor.setText(QStringLiteral("AC:1\r\n") + QString(80, QLatin1Char('X')));
    const int wide = editor.contentWidth();
    const QFontMetricsF metrics(editor.font());
    EXPECT_NEAR(wide - narrow,
                metrics.horizontalAdvance(QString(80, QLatin1Char('X'))) - metrics.horizontalAdvance(QStringLiteral("AC:1")),
                2.0);
}

} // namespace
