// The widest line in character cells: measured over a text, and kept up to
// date by the control through insertions and deletions.
#include "platform/qt/EditorWidget.h"
#include "support/EditText.h"
#include "platform/qt/LineWidths.h"

#include <QCoreApplication>
#include <Qsci/qsciscintillabase.h>
#include <gtest/gtest.h>

#include <random>

using namespace zuno;

namespace {

TEST(LineMeasure, CountsTabsControlCharactersAndLettersBeyondAsciiInCells)
{
    const struct {
        QString text;
        qint64 cells;
    } cases[] = {
        {QString(33, QLatin1Char('X')) + u'\t', 40},                              // to the next stop
        {QStringLiteral("\tX\t"), 16},
        {QString(20, QLatin1Char('X')) + QString(20, QChar(0x00E9)), 40},         // two bytes each
        {QString(20, QChar(0x20AC)) + QStringLiteral("X\U0001F600"), 22},         // three and four bytes
        {QStringLiteral("XX") + QChar(1) + QChar(0) + QChar(0x1B), 14},           // boxed names
        {QString(40, QLatin1Char('X')) + u'\n' + QString(30, QLatin1Char('X')), 40}, // a lone LF breaks it
        {QStringLiteral("AB\rABC\r\nA"), 3},
        {QString(), 0},
    };
    for (const auto &c : cases) {
        const QByteArray utf8 = c.text.toUtf8();
        LineMeasure whole;
        whole.feed(utf8.constData(), utf8.size());
        EXPECT_EQ(whole.widest(), c.cells) << c.text.toStdString();
        // Fed a byte at a time (a character cut between pieces), the same.
        LineMeasure pieces;
        for (char byte : utf8)
            pieces.feed(&byte, 1);
        EXPECT_EQ(pieces.widest(), c.cells) << c.text.toStdString();
    }
}

// A large piece is measured by windows of 64 bytes where they hold nothing
// but characters and "\r\n"; a byte at a time, never: both must agree.
TEST(LineMeasure, WindowsMeasureAsBytesDo)
{
    static const QByteArray plain[] = {"X", "XXXXXXXXXXXXXXXXXXXXXXXX", "\r\n", "\xc3\xa9", "\xe2\x82\xac",
                                       "\xf0\x9f\x98\x80", "\xa9"};
    // Rare, so that many windows hold none of them.
    static const QByteArray special[] = {"\r", "\n", "\t", "\x01"};
    std::mt19937 rng(38);
    const auto pick = [&rng](const auto &from) { return from[std::uniform_int_distribution<size_t>(0, std::size(from) - 1)(rng)]; };
    for (int i = 0; i < 2000; ++i) {
        QByteArray text;
        const int length = std::uniform_int_distribution<int>(0, 400)(rng);
        while (text.size() < length)
            text += std::uniform_int_distribution<int>(0, 40)(rng) == 0 ? pick(special) : pick(plain);
        LineMeasure whole;
        LineMeasure bytes;
        for (LineMeasure *measure : {&whole, &bytes}) {
            measure->countWidths();
            measure->findLoneBreaks();
        }
        whole.feed(text.constData(), text.size());
        for (char byte : text)
            bytes.feed(&byte, 1);
        ASSERT_EQ(whole.widest(), bytes.widest()) << text.toStdString();
        ASSERT_EQ(whole.loneBreaks(), bytes.loneBreaks()) << text.toStdString();
        ASSERT_TRUE(whole.widthCounts() == bytes.widthCounts()) << text.toStdString();
    }
}

TEST(LineWidthTracker, FollowsTheEditsOfTheControl)
{
    // The width of a text written whole, measured in one go.
    const auto measured = [](const QString &text) {
        EditorWidget reference;
        test::setTextOf(reference, text);
        return reference.contentWidth();
    };
    EditorWidget editor;
    test::setTextOf(editor, QStringLiteral("AC:1\r\n") + QString(40, QLatin1Char('X')));
    editor.setSelStart(4);
    editor.setSelLength(2);
    editor.setSelText(QString()); // joins the two lines
    EXPECT_EQ(editor.contentWidth(), measured(QString(44, QLatin1Char('X'))));
    editor.setSelStart(0);
    editor.setSelLength(44);
    editor.setSelText(QStringLiteral("AB\r\nABC\r\n"));
    EXPECT_EQ(editor.contentWidth(), measured(QStringLiteral("ABC"))) << "the widest line went: measured again";
    editor.setSelText(QStringLiteral("\tX"));
    EXPECT_EQ(editor.contentWidth(), measured(QString(9, QLatin1Char('X'))));
}

// The scroll range is the text's width while the text fits the window (no
// scroll bar for nothing); wider, it moves in steps, not on every letter
// typed at the end of the widest line.
TEST(LineWidthTracker, TheScrollRangeStepsOnlyOnceTheTextIsWiderThanTheWindow)
{
    EditorWidget editor;
    editor.resize(400, 200);
    editor.show();
    const auto range = [&editor] { return long(editor.SendScintilla(QsciScintillaBase::SCI_GETSCROLLWIDTH)); };
    // A letter at the end; the control settles the change (the width is
    // read) and sets the range it posted.
    const auto typeALetter = [&editor] {
        editor.setSelStart(editor.textLength());
        editor.setSelText(QStringLiteral("X"));
        editor.contentWidth();
        QCoreApplication::sendPostedEvents();
    };
    test::setTextOf(editor, QStringLiteral("AC:1"));
    for (int typed = 0; typed < 8; ++typed) {
        typeALetter();
        EXPECT_EQ(range(), editor.contentWidth());
    }
    test::setTextOf(editor, QStringLiteral("AC:1\r\n") + QString(200, QLatin1Char('X')));
    int changes = 0;
    for (int typed = 0; typed < 24; ++typed) {
        const long before = range();
        typeALetter();
        EXPECT_GE(range(), editor.contentWidth());
        changes += range() != before;
    }
    EXPECT_LE(changes, 3) << "24 letters, steps of eight";
}

// The count of lines of each width, kept through random edits that widen,
// narrow, make and join lines, gives the widest line a measure of the whole
// text gives.
TEST(LineWidthTracker, CountsOfWidthsAgreeWithTheWholeTextAfterRandomEdits)
{
    static const QString pieces[] = {"", "X", "XXXXXXXXXX", "\r\n", "\n", "\r", "\t", "AB\r\nABCDEFGHIJKLMNOP\r\n"};
    std::mt19937 rng(37);
    const auto below = [&rng](qint64 n) { return std::uniform_int_distribution<qint64>(0, n - 1)(rng); };
    EditorWidget editor;
    EditorWidget reference;
    QString start;
    for (int i = 0; i < 20; ++i)
        start += pieces[below(std::size(pieces))];
    test::setTextOf(editor, start);
    for (int edit = 0; edit < 150; ++edit) {
        const qint64 length = editor.textLength();
        editor.setSelStart(below(length + 1));
        editor.setSelLength(below(std::min<qint64>(length - editor.selStart(), 30) + 1));
        editor.setSelText(pieces[below(std::size(pieces))]);
        reference.setUtf8Text(editor.utf8Text().toByteArray());
        ASSERT_EQ(editor.contentWidth(), reference.contentWidth()) << editor.utf8Text().toByteArray().toStdString();
    }
}

} // namespace
