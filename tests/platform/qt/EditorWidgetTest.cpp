// rtbEditor on the offscreen platform: the text exactly as given (lone "\r"
// and "\n", NUL, characters beyond ASCII), lines counted as the text counts
// them, the modified flag and the undo history, find, the keys the control
// handles itself and its display. Offsets: OffsetMapTest; widths:
// LineWidthsTest; accessible face: AccessibleEditorTest.
#include "platform/qt/EditorWidget.h"
#include "platform/qt/ScintillaDocument.h"
#include "support/EditText.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

const QString ThreeLines = QStringLiteral("AB\r\nC\r\nDEF");
using Sci = QsciScintillaBase;

long sci(const EditorWidget &editor, unsigned int message, unsigned long wParam = 0, long lParam = 0)
{
    return editor.SendScintilla(message, wParam, lParam);
}

// ------------------------------------------------------------------ the text

TEST(EditorWidgetText, HoldsOddTextsExactly)
{
    EditorWidget editor;
    const QString texts[] = {
        ThreeLines,
        QStringLiteral("AC:1\r\n"),                             // a final line break: a final empty line
        QString(),
        QStringLiteral("NM:A\rB\r\nXX:C\nD\r\n\n\r\r\n\r"),    // lone CR and LF are characters
        QStringLiteral("XX:A") + QChar(0) + QStringLiteral("B\r\n") + QChar(0), // NUL
        QStringLiteral("A\u00A0B\tC\r\n\u00E9\u20AC:\U0001F600"), // no-break space, tab, beyond Latin-1
        QStringLiteral("\uFEFFXX:BOM as text"),
    };
    for (const QString &text : texts) {
        test::setTextOf(editor, text);
        EXPECT_EQ(test::textOf(editor), text) << text.toStdString();
        EXPECT_EQ(editor.textLength(), text.size()) << text.toStdString();
        EXPECT_EQ(editor.utf8Text(), text.toUtf8()) << text.toStdString();
    }
    // Written as UTF-8 bytes, the same text with the same offsets, also
    // after a text of ASCII only.
    for (const QString &text : texts) {
        test::setTextOf(editor, QStringLiteral("ASCII"));
        editor.setModified(false);
        editor.setUtf8Text(text.toUtf8());
        EXPECT_TRUE(editor.isModified());
        EXPECT_EQ(test::textOf(editor), text) << text.toStdString();
        EXPECT_EQ(editor.textLength(), text.size()) << text.toStdString();
        editor.setSelStart(text.size());
        EXPECT_EQ(editor.selStart(), text.size()) << text.toStdString();
    }
}

TEST(EditorWidgetText, ALoneBreakIsShownAsABreakButCountsAsACharacterOfItsLine)
{
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("L1\r\nA\nB\r\nC\rD\r\nE"));
    EXPECT_EQ(sci(editor, Sci::SCI_GETLINECOUNT), 6) << "the display breaks at each";
    const QString text = test::textOf(editor);
    qint64 line = 0;
    for (qint64 offset = 0; offset <= text.size(); ++offset) {
        ASSERT_EQ(editor.lineFromChar(offset), line) << offset;
        if (offset >= 1 && text.mid(offset - 1, 2) == QStringLiteral("\r\n"))
            ++line; // the next offset starts the next line
    }
    EXPECT_EQ(editor.lineFromChar(text.size()), 3);
    // After an edit that makes a pair of a lone "\r" the count follows.
    editor.setSelStart(text.indexOf(QLatin1Char('\r'), 8) + 1); // after the "\r" of "C\rD"
    editor.setSelText(QStringLiteral("\n"));
    EXPECT_EQ(editor.lineFromChar(editor.textLength()), 4);
}

// ------------------------------------------------------------------ edits

TEST(EditorWidgetEdits, WritingTheSelectionReplacesItAndPutsTheCaretAfter)
{
    EditorWidget editor;
    test::setTextOf(editor, ThreeLines);
    editor.setSelStart(1);
    editor.setSelLength(4); // "B\r\nC"
    editor.setSelText(QStringLiteral("xy\r\nz") + QChar(0) + QStringLiteral("\n"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("Axy\r\nz") + QChar(0) + QStringLiteral("\n\r\nDEF"));
    EXPECT_EQ(editor.selStart(), 8);
    EXPECT_EQ(editor.selLength(), 0);
}

TEST(EditorWidgetEdits, EveryChangeSetsTheFlag)
{
    EditorWidget editor;
    EXPECT_FALSE(editor.isModified());
    test::setTextOf(editor, ThreeLines);
    EXPECT_TRUE(editor.isModified()) << "the program's own changes count";
    editor.setModified(false);
    editor.setSelStart(2);
    EXPECT_FALSE(editor.isModified()) << "moving the caret is no change";
    editor.setSelText(QStringLiteral("!"));
    EXPECT_TRUE(editor.isModified());
    editor.setModified(false);
    editor.undo();
    EXPECT_EQ(test::textOf(editor), ThreeLines);
    EXPECT_TRUE(editor.isModified()) << "undo is a change too";
}

TEST(EditorWidgetEdits, AWholeTextWriteEmptiesTheHistoryAndACompoundEditIsOneStep)
{
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("a a a"));
    editor.setSelStart(5);
    editor.setSelText(QStringLiteral("!"));
    test::setTextOf(editor, QStringLiteral("b b b"));
    EXPECT_FALSE(sci(editor, Sci::SCI_CANUNDO)) << "no undo brings back the text before";
    editor.undo();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("b b b"));

    editor.beginCompoundEdit();
    for (qint64 at : {4, 2, 0}) {
        editor.setSelStart(at);
        editor.setSelLength(1);
        editor.setSelText(QStringLiteral("cc"));
    }
    editor.endCompoundEdit();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("cc cc cc"));
    editor.undo();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("b b b"));
    EXPECT_FALSE(sci(editor, Sci::SCI_CANUNDO));
}

TEST(EditorWidgetEdits, AWholeTextInPiecesShowsOnlyOnceFinished)
{
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("old"));
    editor.setModified(false);
    {
        auto dropped = editor.takeWholeTextInPieces(9);
        ASSERT_TRUE(dropped->append("new\r\n"));
    }
    EXPECT_EQ(test::textOf(editor), QStringLiteral("old"));
    EXPECT_FALSE(editor.isModified());

    auto pieces = editor.takeWholeTextInPieces(11);
    ASSERT_TRUE(pieces->append("n\xC3\xA9w\r"));
    ASSERT_TRUE(pieces->append("\nline"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("old"));
    pieces->finish();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("n\u00E9w\r\nline"));
    EXPECT_EQ(editor.lineFromChar(editor.textLength()), 1);
    EXPECT_EQ(editor.selStart(), 0);
    EXPECT_TRUE(editor.isModified());
    EXPECT_FALSE(sci(editor, Sci::SCI_CANUNDO));
    editor.setSelStart(3);
    editor.setSelText(QStringLiteral("X"));
    editor.undo();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("n\u00E9w\r\nline")) << "the new text keeps a history";
}

// A new whole text, handed over at once or in pieces as a file is read.
bool writeWholeText(EditorWidget &editor, const QByteArray &text, bool inPieces)
{
    if (!inPieces) {
        editor.setUtf8Text(text);
        return true;
    }
    auto pieces = editor.takeWholeTextInPieces(text.size());
    if (!pieces->append(text))
        return false;
    pieces->finish();
    return true;
}

// The problem check reads a new whole text in place: Scintilla must not
// copy it to a buffer of its own to hand it over (a second text held).
TEST(EditorWidgetEdits, ANewWholeTextIsReadInPlaceWithoutACopy)
{
    const QByteArray text = QByteArray(100'000, 'A') + "\r\nB";
    for (const bool inPieces : {false, true}) {
        EditorWidget editor;
        ASSERT_TRUE(writeWholeText(editor, text, inPieces));
        const char *held = sci::rangePointer(editor, 0, text.size());
        const QByteArrayView whole = sci::wholeText(editor);
        EXPECT_EQ(whole.data(), held) << "in pieces: " << inPieces;
        EXPECT_EQ(whole, QByteArrayView(text));
    }
}

// Nor must the first keys typed into a new whole text make Scintilla grow
// its buffer: a copy of the whole text into fresh memory, on a large file a
// key that takes a quarter of a second.
TEST(EditorWidgetEdits, KeysTypedIntoANewWholeTextFitTheRoomItWasGiven)
{
    const QByteArray text = QByteArray("ABCDEFGHI\r\n").repeated(10'000);
    for (const bool inPieces : {false, true}) {
        EditorWidget editor;
        ASSERT_TRUE(writeWholeText(editor, text, inPieces));
        const char *block = sci::wholeText(editor).data();
        for (int key = 0; key < 200; ++key) {
            editor.setSelStart(key % 2 ? 0 : editor.textLength()); // the gap to and fro
            editor.setSelText(QStringLiteral("x"));
        }
        const QByteArrayView whole = sci::wholeText(editor);
        EXPECT_EQ(whole.data(), block) << "in pieces: " << inPieces;
        EXPECT_EQ(whole.size(), text.size() + 200);
    }
}

// ------------------------------------------------------------------ find

TEST(EditorWidgetFind, SelectsTheOccurrenceAndCountsOffsetsWithCrLf)
{
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("cat\r\nconcat Cat\r\ncat"));
    EXPECT_EQ(editor.find(QStringLiteral("cat"), 0, {}), 0);
    EXPECT_EQ(editor.find(QStringLiteral("cat"), 1, {}), 8);
    EXPECT_EQ(editor.selStart(), 8);
    EXPECT_EQ(editor.selLength(), 3);
    EXPECT_EQ(editor.find(QStringLiteral("cat"), 9, FindOption::WholeWord), 12) << "whole word, any case";
    EXPECT_EQ(editor.find(QStringLiteral("cat"), 9, FindOption::WholeWord | FindOption::MatchCase), 17);
    EXPECT_EQ(editor.find(QStringLiteral("cat"), 18, {}), -1);
    EXPECT_EQ(editor.selStart(), 17) << "a failed search keeps the selection";
    EXPECT_EQ(editor.find(QStringLiteral("t\r\nc"), 0, {}), 2) << "across a line break";
    EXPECT_EQ(editor.selText(), QStringLiteral("t\r\nc"));
    EXPECT_EQ(editor.find(QString(), 0, {}), -1);
}

TEST(EditorWidgetFind, WholeWordsAndCaseBeyondAsciiAndFromInsideAWord)
{
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("\u00C9T\u00C9 \u00E9t\u00E9\r\nXCAT CAT\nCAT"));
    EXPECT_EQ(editor.find(QStringLiteral("\u00E9t\u00E9"), 1, FindOption::WholeWord), 4) << "folded case";
    EXPECT_EQ(editor.find(QStringLiteral("\u00E9t\u00E9"), 0, FindOption::WholeWord | FindOption::MatchCase), 4);
    EXPECT_EQ(editor.find(QStringLiteral("CAT"), 10, FindOption::WholeWord), 14)
        << "a search from inside a word sees the word";
    EXPECT_EQ(editor.find(QStringLiteral("CAT"), 15, FindOption::WholeWord), 18)
        << "a lone line feed ends a word";
}

// ------------------------------------------------------------------ keys

class EditorWidgetKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor.resize(300, 200);
        editor.show();
        editor.activateWindow();
        editor.QWidget::setFocus();
        QApplication::processEvents();
    }
    EditorWidget editor;
};

TEST_F(EditorWidgetKeys, TypedAndComposedLettersBecomeCapitals)
{
    QTest::keyClicks(&editor, QStringLiteral("ab{`1z"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AB{`1Z"));
    QInputMethodEvent composed(QString(), {});
    composed.setCommitString(QStringLiteral("q\u00E9x"));
    QApplication::sendEvent(&editor, &composed);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AB{`1ZQ\u00E9X"));
}

TEST_F(EditorWidgetKeys, AltWithALetterTypesNothingAndAltGrStillTypes)
{
    test::setTextOf(editor, QStringLiteral("PR:"));
    editor.setSelStart(3);
    for (Qt::Key key : {Qt::Key_N, Qt::Key_Q, Qt::Key_E, Qt::Key_V})
        QTest::keyClick(&editor, key, Qt::AltModifier);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:"));
    // AltGr arrives as the character it makes, without the Alt modifier.
    QKeyEvent altGr(QEvent::KeyPress, Qt::Key_At, Qt::GroupSwitchModifier, QStringLiteral("@"));
    QApplication::sendEvent(&editor, &altGr);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:@"));
}

TEST_F(EditorWidgetKeys, ClipboardKeysAskTheOwnerAndCodeEditorKeysAreGone)
{
    QSignalSpy pastes(&editor, &EditorWidget::pasteRequested);
    QSignalSpy cuts(&editor, &EditorWidget::cutRequested);
    QSignalSpy copies(&editor, &EditorWidget::copyRequested);
    QApplication::clipboard()->setText(QStringLiteral("a\nb"));
    test::setTextOf(editor, QStringLiteral("ab\r\ncd"));
    QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(pastes.count(), 2);
    EXPECT_EQ(cuts.count(), 1);
    EXPECT_EQ(copies.count(), 2);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("ab\r\ncd")) << "the control pastes nothing itself";

    // Lower case, duplicate, transpose, cut and delete a line, zoom.
    editor.setSelStart(0);
    editor.setSelLength(2);
    for (auto [key, modifiers] : std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
             {Qt::Key_U, Qt::ControlModifier}, {Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier},
             {Qt::Key_D, Qt::ControlModifier}, {Qt::Key_T, Qt::ControlModifier},
             {Qt::Key_L, Qt::ControlModifier}, {Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier},
             {Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier}})
        QTest::keyClick(&editor, key, modifiers);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("ab\r\ncd"));
    EXPECT_EQ(sci(editor, Sci::SCI_GETZOOM), 0);

    // The plain editor's keys stay.
    QTest::keyClick(&editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QTest::keyClick(&editor, Qt::Key_Home);
    QTest::keyClick(&editor, Qt::Key_Delete);
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("ab\r\n\r\n"));
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("ab\r\n"));
    QTest::keyClick(&editor, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("ab\r\n\r\n"));
    QTest::keyClick(&editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor.selLength(), 6);
}

TEST_F(EditorWidgetKeys, TypingUndoesAsTheControlGroupsIt)
{
    test::setTextOf(editor, QStringLiteral("AC:1"));
    editor.setSelStart(4);
    QTest::keyClicks(&editor, QStringLiteral("23"));
    editor.setSelStart(0);
    QTest::keyClicks(&editor, QStringLiteral("x"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("XAC:123"));
    editor.undo();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:123"));
    editor.undo();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1")) << "one run of typing is one step";
}

TEST_F(EditorWidgetKeys, MouseButtonsAskForTheMenuAndPasteTheSelectionExactly)
{
    QSignalSpy requests(&editor, &EditorWidget::editMenuRequested);
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(requests.count(), 0);
    QTest::mousePress(editor.viewport(), Qt::RightButton, Qt::ShiftModifier, QPoint(10, 10));
    EXPECT_EQ(requests.count(), 1);

    QClipboard *clipboard = QApplication::clipboard();
    if (!clipboard->supportsSelection())
        return; // no primary selection on this platform
    test::setTextOf(editor, QString());
    clipboard->setText(QStringLiteral("a\nb"), QClipboard::Selection);
    QTest::mouseClick(editor.viewport(), Qt::MiddleButton, {}, QPoint(5, 5));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("a\nb"));
}

// ------------------------------------------------------------------ display

TEST(EditorWidgetDisplay, PlainMonospacedAndScrollingToTheWidestLine)
{
    EditorWidget editor;
    QFont courier(QStringLiteral("Courier"));
    courier.setPointSizeF(9.75);
    editor.setFont(courier);
    EXPECT_EQ(sci(editor, Sci::SCI_GETWRAPMODE), Sci::SC_WRAP_NONE);
    for (unsigned long margin = 0; margin < 5; ++margin)
        EXPECT_EQ(sci(editor, Sci::SCI_GETMARGINWIDTHN, margin), 0) << margin;

    test::setTextOf(editor, QStringLiteral("AC:1"));
    const int narrow = editor.contentWidth();
    test::setTextOf(editor, QStringLiteral("AC:1\r\n") + QString(80, QLatin1Char('X')));
    const int wide = editor.contentWidth();
    QFont shown(QFontInfo(courier).family());
    shown.setPointSizeF(9.75);
    const QFontMetricsF metrics(shown);
    EXPECT_NEAR(wide - narrow, metrics.horizontalAdvance(QString(76, QLatin1Char('X'))), 2.0);
    EXPECT_EQ(sci(editor, Sci::SCI_GETSCROLLWIDTH), wide);

    // Typing widens the range; deleting the widest line narrows it again.
    editor.setSelStart(editor.textLength());
    editor.setSelText(QString(20, QLatin1Char('Y')));
    EXPECT_NEAR(editor.contentWidth() - wide, metrics.horizontalAdvance(QString(20, QLatin1Char('Y'))), 2.0);
    editor.setSelStart(4);
    editor.setSelLength(editor.textLength());
    editor.setSelText(QString());
    EXPECT_EQ(editor.contentWidth(), narrow);
    QApplication::processEvents();
    EXPECT_EQ(sci(editor, Sci::SCI_GETSCROLLWIDTH), narrow);
}

TEST(EditorWidgetDisplay, SelectionAndTextFollowThePalette)
{
    EditorWidget editor;
    QPalette colours = editor.palette();
    colours.setColor(QPalette::Highlight, QColor(10, 20, 30));
    colours.setColor(QPalette::Base, QColor(250, 240, 230));
    editor.setPalette(colours);
    const auto bgr = [](const QColor &c) { return long(c.red() | (c.green() << 8) | (c.blue() << 16)); };
    EXPECT_EQ(sci(editor, Sci::SCI_STYLEGETBACK, Sci::STYLE_DEFAULT), bgr(QColor(250, 240, 230)));
    EXPECT_EQ(sci(editor, Sci::SCI_STYLEGETBACK, 0), bgr(QColor(250, 240, 230)));
}

} // namespace
