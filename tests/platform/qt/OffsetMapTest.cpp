// The program's offsets (UTF-16 units, "\r\n" as two) against the bytes of
// the control's document, seen through the control's selection.
#include "platform/qt/EditorWidget.h"
#include "support/EditText.h"

#include <gtest/gtest.h>

#include <random>

using namespace zuno;

namespace {

const QString ThreeLines = QStringLiteral("AB\r\nC\r\nDEF");

TEST(EditorWidgetOffsets, CountUtf16UnitsWithALineBreakAsTwo)
{
    EditorWidget editor;
    test::setTextOf(editor, ThreeLines);
    // Offsets: A0 B1 \r2 \n3 C4 \r5 \n6 D7 E8 F9
    editor.setSelStart(4);
    editor.setSelLength(5);
    EXPECT_EQ(editor.selStart(), 4);
    EXPECT_EQ(editor.selLength(), 5);
    EXPECT_EQ(editor.selText(), QStringLiteral("C\r\nDE"));
    editor.setSelStart(7);
    EXPECT_EQ(editor.selLength(), 0) << "setting the start leaves nothing selected";
    EXPECT_EQ(editor.lineFromChar(3), 0) << "the line break belongs to its line";
    EXPECT_EQ(editor.lineFromChar(4), 1);
    editor.setSelStart(3); // between "\r" and "\n"
    EXPECT_EQ(editor.selStart(), 2) << "goes to the end of the line";
    editor.setSelStart(1000);
    EXPECT_EQ(editor.selStart(), 10) << "stops at the end of the text";
    editor.setSelStart(-5);
    EXPECT_EQ(editor.selStart(), 0);
}

TEST(EditorWidgetOffsets, MapEveryOffsetOfATextBeyondAscii)
{
    EditorWidget editor;
    // Two-, three- and four-byte characters; the last takes two UTF-16 units.
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QString(i % 5, QChar(0xE9)) + QStringLiteral("\u20ACX\U0001F600") + (i % 3 ? "\r\n" : "\n");
    test::setTextOf(editor, text);
    ASSERT_EQ(editor.textLength(), text.size());
    for (qint64 offset = 0; offset <= text.size(); ++offset) {
        if (offset > 0 && offset < text.size() && text[offset].isLowSurrogate())
            continue; // inside a character
        editor.setSelStart(offset);
        const bool insidePair = offset > 0 && text.mid(offset - 1, 2) == QStringLiteral("\r\n");
        ASSERT_EQ(editor.selStart(), insidePair ? offset - 1 : offset) << offset;
    }
    editor.setSelStart(text.indexOf(QChar(0x20AC), 40));
    editor.setSelLength(4);
    EXPECT_EQ(editor.selText(), QStringLiteral("\u20ACX\U0001F600"));
}

// Inside a character (the two units of a surrogate pair, the "\r\n" of a
// line break) no edit may begin or end; such an offset reads as the
// character's start, never as the start of the text.
TEST(EditorWidgetOffsets, AnOffsetInsideACharacterIsNoBoundary)
{
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("A\U0001F600B\r\nC")); // A0 pair1-2 B3 \r4 \n5 C6
    const struct {
        qint64 offset;
        qint64 position;
        bool boundary;
    } cases[] = {{0, 0, true}, {1, 1, true}, {2, 1, false}, {3, 5, true}, {4, 6, true},
                 {5, 6, false}, {6, 8, true}, {7, 9, true}, {8, 9, false}, {-1, 0, false}};
    for (const auto &c : cases) {
        EXPECT_EQ(editor.toDocumentPosition(c.offset), c.position) << c.offset;
        EXPECT_EQ(editor.isCharacterBoundary(c.offset), c.boundary) << c.offset;
    }
}

TEST(EditorWidgetOffsets, FollowTypingOfACharacterBeyondAscii)
{
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("AB\r\nCD"));
    editor.setSelStart(1);
    editor.setSelText(QStringLiteral("\u00E9")); // the first character beyond ASCII
    EXPECT_EQ(test::textOf(editor), QStringLiteral("A\u00E9B\r\nCD"));
    EXPECT_EQ(editor.selStart(), 2);
    EXPECT_EQ(editor.textLength(), 7);
    EXPECT_EQ(editor.find(QStringLiteral("d"), 0, {}), 6);
}



// The lines that end with a lone "\r" or "\n" are kept through every edit
// (ones that make, part or join line breaks, and their undo): the program's
// line of every offset is the number of "\r\n" before it, as a scan of the
// whole text counts.
TEST(EditorWidgetOffsets, LinesCountOnlyCrLfThroughRandomEdits)
{
    static const QString pieces[] = {"A", "\r", "\n", "\r\n", "B\rC", "D\nE\r\nF", "", "\n\r", "GH\r\n\r"};
    std::mt19937 rng(37);
    const auto below = [&rng](qint64 n) { return std::uniform_int_distribution<qint64>(0, n - 1)(rng); };
    for (int round = 0; round < 40; ++round) {
        EditorWidget editor;
        QString start;
        for (int i = 0; i < 8; ++i)
            start += pieces[below(std::size(pieces))];
        test::setTextOf(editor, start);
        for (int edit = 0; edit < 25; ++edit) {
            if (edit % 7 == 6) {
                editor.undo();
            } else {
                const qint64 length = editor.textLength();
                editor.setSelStart(below(length + 1));
                editor.setSelLength(below(std::min<qint64>(length - editor.selStart(), 6) + 1));
                editor.setSelText(pieces[below(std::size(pieces))]);
            }
            const QByteArray text = editor.utf8Text().toByteArray();
            for (qint64 offset = 0; offset <= text.size(); ++offset)
                ASSERT_EQ(editor.lineFromChar(offset), text.first(offset).count("\r\n"))
                    << offset << " in " << text.toPercentEncoding().toStdString();
        }
    }
}

} // namespace
