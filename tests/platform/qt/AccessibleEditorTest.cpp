// The control's accessible face on the offscreen platform: what it says it
// is, its text in the program's offsets, and edits through it.
#include "platform/qt/EditorWidget.h"
#include "support/EditText.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>


using namespace zuno;

namespace {

TEST(EditorWidgetAccessible, ReadsTheTextWithTheProgramsOffsets)
{
    EditorWidget editor;
    editor.resize(300, 200);
    editor.show();
    test::setTextOf(editor, QStringLiteral("AB\r\n\u00E9X\nY"));
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&editor);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::EditableText);
    QAccessibleTextInterface *text = face->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 8);
    EXPECT_EQ(text->text(2, 6), QStringLiteral("\r\n\u00E9X"));
    text->setSelection(0, 4, 6);
    EXPECT_EQ(editor.selText(), QStringLiteral("\u00E9X"));
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(end, 6);
    text->setCursorPosition(7);
    EXPECT_EQ(text->cursorPosition(), 7);
    EXPECT_EQ(text->offsetAtPoint(text->characterRect(5).center()), 5);
}

TEST(EditorWidgetAccessible, SaysWhatItIsAndWhichDocumentItHolds)
{
    QWidget window;
    auto *editor = new EditorWidget(&window);
    window.show();
    window.activateWindow();
    editor->QWidget::setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 5000));
    editor->setFileName(QStringLiteral("/data/roads/EAST.PRJ"));

    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(editor);
    const QAccessible::State state = face->state();
    EXPECT_TRUE(state.editable);
    EXPECT_TRUE(state.multiLine);
    EXPECT_TRUE(state.focusable);
    EXPECT_TRUE(state.focused);
    EXPECT_FALSE(state.readOnly);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Editor"));
    EXPECT_EQ(face->text(QAccessible::Description), QStringLiteral("EAST.PRJ"));
    editor->setFileName(QString());
    EXPECT_EQ(face->text(QAccessible::Description), QString());
}

TEST(EditorWidgetAccessible, EditsThroughTheEditableTextInterface)
{
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("PN:1\r\nPL:2,3"));
    editor.setModified(false);
    QAccessibleEditableTextInterface *edit = QAccessible::queryAccessibleInterface(&editor)->editableTextInterface();
    ASSERT_NE(edit, nullptr);
    edit->insertText(6, QStringLiteral("x"));
    edit->replaceText(3, 4, QStringLiteral("77"));
    edit->deleteText(0, 3);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("77\r\nxPL:2,3"));
    EXPECT_TRUE(editor.isModified());
    editor.undo();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PN:77\r\nxPL:2,3"));
}

// An edit from outside that cannot be made exactly is not made at all: an
// end inside a surrogate pair or a "\r\n", or beyond the text; a text with
// memory no one wrote at its end (what Qt's adaptor makes of a length longer
// than the text) or cut inside a pair.
TEST(EditorWidgetAccessible, EditsThatCannotBeExactAreRefused)
{
    EditorWidget editor;
    const QString text = QStringLiteral("A\U0001F600B\r\nC"); // A0 pair1-2 B3 \r4 \n5 C6
    test::setTextOf(editor, text);
    QAccessibleEditableTextInterface *edit = QAccessible::queryAccessibleInterface(&editor)->editableTextInterface();
    ASSERT_NE(edit, nullptr);
    edit->deleteText(0, 2);
    edit->deleteText(2, 7);
    edit->replaceText(5, 6, QStringLiteral("x"));
    edit->insertText(8, QStringLiteral("x"));
    edit->insertText(-1, QStringLiteral("x"));
    edit->insertText(3, QString::fromUtf16(u"x\0\0\0", 4));
    edit->insertText(3, QString(QChar(0xD83D)));
    EXPECT_EQ(test::textOf(editor), text);
    edit->deleteText(1, 3);
    edit->insertText(4, QStringLiteral("\U0001F642"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AB\r\n\U0001F642C"));
    // While a question is open its answer may replace the whole text: an
    // edit made meanwhile would be lost with its undo, so none is made.
    QDialog question;
    question.setModal(true);
    question.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &question);
    edit->insertText(0, QStringLiteral("x"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AB\r\n\U0001F642C"));
    question.hide();
    edit->insertText(0, QStringLiteral("x"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("xAB\r\n\U0001F642C"));
}

TEST(EditorWidgetAccessible, FindsLinesAndWordsAroundAnOffset)
{
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("PN:1\r\nNA:EAST ROAD\r\nPL:2,3\r\nEND"));
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(&editor)->textInterface();
    struct Case {
        const char *what;
        QAccessible::TextBoundaryType type;
        int side; // -1 before, 0 at, 1 after
        int offset;
        QString expected;
        int start;
    };
    const Case cases[] = {
        {"line at", QAccessible::LineBoundary, 0, 8, QStringLiteral("NA:EAST ROAD\r\n"), 6},
        {"line before", QAccessible::LineBoundary, -1, 8, QStringLiteral("PN:1\r\n"), 0},
        {"line after", QAccessible::LineBoundary, 1, 8, QStringLiteral("PL:2,3\r\n"), 20},
        {"last line", QAccessible::LineBoundary, 0, -1, QStringLiteral("END"), 28},
        {"word at", QAccessible::WordBoundary, 0, 15, QStringLiteral("ROAD"), 14},
        {"character at", QAccessible::CharBoundary, 0, 22, QStringLiteral(":"), 22},
    };
    for (const Case &c : cases) {
        int start = -2, end = -2;
        const QString found = c.side < 0 ? text->textBeforeOffset(c.offset, c.type, &start, &end)
            : c.side > 0                 ? text->textAfterOffset(c.offset, c.type, &start, &end)
                                         : text->textAtOffset(c.offset, c.type, &start, &end);
        EXPECT_EQ(found, c.expected) << c.what;
        EXPECT_EQ(start, c.start) << c.what;
        EXPECT_EQ(end, c.start + c.expected.size()) << c.what;
    }
}

} // namespace
