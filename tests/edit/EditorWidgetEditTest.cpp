// Typing and the Edit commands on the real edit control with the system
// clipboard (offscreen). The control's own keys and the right-click menu are
// tested in the main window (EditMenuWindowTest).
#include "edit/modTextEditor.h"
#include "support/EditText.h"
#include "platform/qt/EditorWidget.h"
#include "platform/qt/QtClipboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace zuno {
namespace {

class EditorWidgetEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor.resize(400, 300);
        editor.show();
        editor.activateWindow();
        editor.QWidget::setFocus();
        QApplication::processEvents();
    }

    void typeText(const QString &text)
    {
        // One key event per character, carrying the character as typed.
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&editor, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&editor, &release);
        }
    }

    EditorWidget editor;
};

// ------------------------------------------------------------------ typing

TEST_F(EditorWidgetEdit, OnlyLettersAToZTypedBecomeCapitals)
{
    typeText(QStringLiteral("pr:a"));
    QTest::keyClick(&editor, Qt::Key_B, Qt::ShiftModifier);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:AB"));
    test::setTextOf(editor, QString());
    typeText(QStringLiteral("{`}~09AZ@[") + QChar(0xe9) + QChar(0xdf) + QChar(0x3b1));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("{`}~09AZ@[") + QChar(0xe9) + QChar(0xdf) + QChar(0x3b1));
}

// ------------------------------------------------------------------ commands

TEST_F(EditorWidgetEdit, CutCopyAndPasteGoThroughTheSystemClipboard)
{
    test::setTextOf(editor, QStringLiteral("PR:ROAD\r\nPL:12"));
    editor.setSelStart(5);
    editor.setSelLength(6); // "AD\r\nPL"
    EditCopy(editor, systemClipboard());
    EXPECT_EQ(systemClipboard().text(), QStringLiteral("AD\r\nPL"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:ROAD\r\nPL:12"));

    EditCut(editor, systemClipboard());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:RO:12"));
    EXPECT_EQ(editor.selStart(), 5);

    editor.setSelStart(0);
    EditPaste(editor, systemClipboard());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AD\r\nPLPR:RO:12"));
    EXPECT_EQ(editor.selStart(), 6);
}

TEST_F(EditorWidgetEdit, CopyTakesSmallAndLargeSelectionsExactly)
{
    // No-break space and line separator stay what they are.
    const QString text = QStringLiteral("PR:A\u00a0B\r\nDE:X\u2028Y\r\n\r\nPL:1,2,3\r\nEN:");
    test::setTextOf(editor, text);
    for (qint64 from = 0; from <= text.size(); ++from) {
        for (qint64 length = 0; from + length <= text.size(); ++length) {
            // Offsets inside a line break are not caret positions.
            if ((from > 0 && text[from - 1] == QLatin1Char('\r'))
                || (from + length > 0 && from + length < text.size()
                    && text[from + length - 1] == QLatin1Char('\r')))
                continue;
            editor.setSelStart(from);
            editor.setSelLength(length);
            EditCopy(editor, systemClipboard());
            ASSERT_EQ(systemClipboard().text(), text.mid(from, length))
                << "from " << from << " length " << length;
        }
    }
}

TEST_F(EditorWidgetEdit, CopyWithNothingSelectedEmptiesTheClipboard)
{
    systemClipboard().setText(QStringLiteral("previous"));
    test::setTextOf(editor, QStringLiteral("PR:ROAD"));
    editor.setSelStart(2);
    EditCopy(editor, systemClipboard());
    EXPECT_EQ(systemClipboard().text(), QString());
    EditCut(editor, systemClipboard());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:ROAD"));
}

TEST_F(EditorWidgetEdit, PastedTextGoesInUnchanged)
{
    test::setTextOf(editor, QStringLiteral("AB"));
    editor.setSelStart(1);
    systemClipboard().setText(QStringLiteral("pl:1\npl:2\rpl:3\r\n"));
    EditPaste(editor, systemClipboard());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("Apl:1\npl:2\rpl:3\r\nB")) << "no case change, no line-end conversion";
}

TEST_F(EditorWidgetEdit, ClearThenUndoRestoresTheText)
{
    test::setTextOf(editor, QStringLiteral("PR:ROAD\r\nPL:12"));
    editor.setSelStart(9);
    QTest::keyClicks(&editor, QStringLiteral("x"));
    editor.setModified(false);
    editor.setSelStart(2);
    editor.setSelLength(3);

    EditClear(editor);
    EXPECT_EQ(test::textOf(editor), QString());
    EXPECT_TRUE(editor.isModified());

    EditUndo(editor);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:ROAD\r\nXPL:12"));
    EXPECT_FALSE(editor.isModified()) << "back at the saved text";
    EditUndo(editor); // the history before Clear is still there
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:ROAD\r\nPL:12"));
}

TEST_F(EditorWidgetEdit, ClearOnAnEmptyDocumentSetsTheModifiedFlag)
{
    test::setTextOf(editor, QString());
    editor.setModified(false);
    EditClear(editor);
    EXPECT_EQ(test::textOf(editor), QString());
    EXPECT_TRUE(editor.isModified());
}

TEST_F(EditorWidgetEdit, SelectAllCountsLineBreaksAsTwo)
{
    test::setTextOf(editor, QStringLiteral("AB\r\nC"));
    EditSelectAll(editor);
    EXPECT_EQ(editor.selStart(), 0);
    EXPECT_EQ(editor.selLength(), 5);
    test::setTextOf(editor, QString());
    EditSelectAll(editor);
    EXPECT_EQ(editor.selStart(), 0);
    EXPECT_EQ(editor.selLength(), 0);
}

} // namespace
} // namespace zuno
