// Go To Line against the in-memory edit control, a scripted dialog and the
// recording message box; the jump also against the real edit control.
#include "FakeGoToLineDialog.h"
#include "support/EditText.h"

#include "edit/modGoTo.h"
#include "platform/qt/EditorWidget.h"
#include "platform/doubles/FakeEditControl.h"
#include "platform/doubles/FakeMessageBox.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace zuno {
namespace {

// Lines L1 to L5, two characters each: L1 at 0, L2 at 4, L3 at 8, L4 at 12,
// L5 at 16.
const QString FiveLines = QStringLiteral("L1\r\nL2\r\nL3\r\nL4\r\nL5");

struct Jump {
    FakeEditControl editor;
    FakeGoToLineDialog dialog;
    FakeMessageBox messages;

    Jump(const QString &text, qint64 caret) : editor(text) { editor.setSelStart(caret); }

    // Runs the command with the user's steps; returns where the caret ends.
    qint64 run(QList<GoToStep> steps)
    {
        dialog.steps = std::move(steps);
        GoToLine(editor, dialog, messages);
        EXPECT_TRUE(dialog.steps.isEmpty()) << "steps left unused";
        return editor.selStart();
    }
    qint64 to(const QString &entry) { return run({ok(entry)}); }
};

qint64 jump(const QString &text, qint64 caret, const QString &entry)
{
    Jump j(text, caret);
    const qint64 at = j.to(entry);
    EXPECT_TRUE(j.messages.shown.isEmpty());
    return at;
}

// ------------------------------------------------------------------ the walk

TEST(GoToLineWalk, BackwardsFromTheLastLineLandsOnLineStarts)
{
    EXPECT_EQ(jump(FiveLines, 16, QStringLiteral("1")), 0);
    EXPECT_EQ(jump(FiveLines, 16, QStringLiteral("2")), 4);
    EXPECT_EQ(jump(FiveLines, 16, QStringLiteral("4")), 12);
    // From the middle of line 5.
    EXPECT_EQ(jump(FiveLines, 17, QStringLiteral("4")), 12);
    // From the end of line 3 back to line 2.
    EXPECT_EQ(jump(FiveLines, 10, QStringLiteral("2")), 4);
}

TEST(GoToLineWalk, ForwardsFromTheStartLandsOnLineStarts)
{
    EXPECT_EQ(jump(FiveLines, 0, QStringLiteral("3")), 8);
    EXPECT_EQ(jump(FiveLines, 0, QStringLiteral("5")), 16);
    EXPECT_EQ(jump(FiveLines, 6, QStringLiteral("4")), 12); // from the end of line 2
    EXPECT_EQ(jump(FiveLines, 9, QStringLiteral("4")), 12); // from inside line 3
}

TEST(GoToLineWalk, BeyondTheLastLineGoesToTheLastLinesStart)
{
    EXPECT_EQ(jump(FiveLines, 0, QStringLiteral("9")), 16);
    EXPECT_EQ(jump(FiveLines, 5, QStringLiteral("32767")), 16);
    EXPECT_EQ(jump(FiveLines, 5, QStringLiteral("1e300")), 16);
}

TEST(GoToLineWalk, OnTheLastLineAForwardJumpLeavesTheCaret)
{
    EXPECT_EQ(jump(FiveLines, 18, QStringLiteral("9")), 18);
    EXPECT_EQ(jump(QStringLiteral("PR:ROAD"), 3, QStringLiteral("7")), 3);
}

TEST(GoToLineWalk, TheCaretsOwnLineLeavesTheCaretWhereItIs)
{
    EXPECT_EQ(jump(FiveLines, 9, QStringLiteral("3")), 9);
    EXPECT_EQ(jump(FiveLines, 17, QStringLiteral("5")), 17);
    // A caret at the very start counts as standing at 1.
    EXPECT_EQ(jump(FiveLines, 0, QStringLiteral("1")), 1);
}

TEST(GoToLineWalk, LinesBelowOneGoToTheStartOfTheText)
{
    EXPECT_EQ(jump(FiveLines, 9, QStringLiteral("0")), 0);
    EXPECT_EQ(jump(FiveLines, 17, QStringLiteral("-3")), 0);
    EXPECT_EQ(jump(FiveLines, 17, QStringLiteral("-40000")), 0);
    EXPECT_EQ(jump(FiveLines, 17, QStringLiteral("-1e300")), 0);
    EXPECT_EQ(jump(FiveLines, 2, QStringLiteral("0.4")), 0);
}

TEST(GoToLineWalk, AnEmptyFirstLineDoesNotSwallowLineTwo)
{
    // Line 1 empty, line 2 "L2" at 2, line 3 "L3" at 6.
    const QString text = QStringLiteral("\r\nL2\r\nL3");
    EXPECT_EQ(jump(text, 6, QStringLiteral("2")), 2);
    EXPECT_EQ(jump(text, 6, QStringLiteral("1")), 0);
    EXPECT_EQ(jump(text, 0, QStringLiteral("3")), 6);
}

TEST(GoToLineWalk, EmptyLinesAndATrailingLineBreak)
{
    // "A", "", "", "B", "": starts 0, 3, 5, 7, 10.
    const QString text = QStringLiteral("A\r\n\r\n\r\nB\r\n");
    EXPECT_EQ(jump(text, 0, QStringLiteral("3")), 5);
    EXPECT_EQ(jump(text, 0, QStringLiteral("5")), 10);
    EXPECT_EQ(jump(text, 0, QStringLiteral("6")), 10);
    EXPECT_EQ(jump(text, 10, QStringLiteral("2")), 3);
    EXPECT_EQ(jump(text, 8, QStringLiteral("4")), 8);
}

TEST(GoToLineWalk, AnEmptyDocumentKeepsTheCaretAtZero)
{
    EXPECT_EQ(jump(QString(), 0, QStringLiteral("1")), 0);
    EXPECT_EQ(jump(QString(), 0, QStringLiteral("5")), 0);
    EXPECT_EQ(jump(QString(), 0, QStringLiteral("-5")), 0);
}

TEST(GoToLineWalk, LinesAndPositionsBeyondSixteenBits)
{
    // 40001 lines "L" at 3 characters per line: line n starts at 3 (n - 1).
    QString text;
    for (int i = 0; i < 40000; ++i)
        text += QStringLiteral("L\r\n");
    text += QStringLiteral("L");
    EXPECT_EQ(jump(text, 0, QStringLiteral("40000")), 119997);
    EXPECT_EQ(jump(text, 0, QStringLiteral("40001")), 120000);
    EXPECT_EQ(jump(text, 0, QStringLiteral("99999")), 120000);
    EXPECT_EQ(jump(text, 120000, QStringLiteral("32769")), 98304);
    EXPECT_EQ(jump(text, 120000, QStringLiteral("2")), 3);
}

TEST(GoToLineWalk, OnlyTheCaretMoves)
{
    Jump j(FiveLines, 16);
    j.editor.setSelLength(2);
    j.editor.setModified(false);
    j.editor.selectionsMade.clear();
    EXPECT_EQ(j.to(QStringLiteral("2")), 4);
    EXPECT_EQ(j.editor.selLength(), 0);
    // Not even for a moment is any text selected (X11 would copy it).
    EXPECT_TRUE(j.editor.selectionsMade.isEmpty());
    EXPECT_EQ(test::textOf(j.editor), FiveLines);
    EXPECT_FALSE(j.editor.isModified());
    EXPECT_EQ(j.editor.changeCount, 0);
}

// The jump exactly as the command's walk describes it, line break by line
// break over the text with 1-based positions; the one difference is that a
// backward walk that ends on a line break at the very start of the text
// still moves past it.
qint64 literalWalk(const QString &text, qint64 caret, qint64 line)
{
    const QString crlf = QStringLiteral("\r\n");
    auto at = [&](qint64 r) { return text.mid(r - 1, 2) == crlf; }; // 1-based
    qint64 caretLine = 1;
    for (qint64 i = 0; i + 2 <= caret; ++i)
        caretLine += text.mid(i, 2) == crlf;
    const qint64 d = line - caretLine;
    qint64 p = caret == 0 ? 1 : caret;
    if (d < 0) {
        bool found = false;
        for (qint64 step = 0; step < 1 - d; ++step) {
            qint64 r = p - 1; // the last pair ending at or before p starts here
            while (r >= 1 && !at(r))
                --r;
            found = r >= 1;
            p = found ? r - 1 : 0;
        }
        if (found)
            p += 2;
    } else {
        for (qint64 step = 0; step < d; ++step) {
            qint64 r = p;
            while (r + 1 <= text.size() && !at(r))
                ++r;
            if (r + 1 > text.size())
                break;
            p = r + 1;
        }
    }
    return p;
}

QString randomText(QRandomGenerator &random)
{
    QStringList lines;
    const int count = random.bounded(1, 8);
    // A lone "\r" or "\n" is a character of its line, not a line break.
    static const char characters[] = {'A', 'B', 'C', 'A', 'B', '\r', '\n'};
    for (int i = 0; i < count; ++i) {
        QString line;
        for (int length = random.bounded(0, 4); length > 0; --length)
            line += QLatin1Char(characters[random.bounded(0, int(sizeof characters))]);
        lines << line;
    }
    return lines.join(QStringLiteral("\r\n"));
}

// Every caret the control can hold: none between "\r" and "\n".
QList<qint64> carets(const QString &text)
{
    QList<qint64> all;
    for (qint64 at = 0; at <= text.size(); ++at) {
        if (at > 0 && at < text.size() && text[at - 1] == QLatin1Char('\r') && text[at] == QLatin1Char('\n'))
            continue;
        all << at;
    }
    return all;
}

TEST(GoToLineTarget, AgreesWithTheLiteralWalkOnTheDouble)
{
    QRandomGenerator random(20240607);
    int compared = 0;
    for (int round = 0; round < 300; ++round) {
        const QString text = randomText(random);
        FakeEditControl editor(text);
        const qint64 lines = text.count(QStringLiteral("\r\n")) + 1;
        for (qint64 caret : carets(text)) {
            for (qint64 line = -2; line <= lines + 2; ++line) {
                ASSERT_EQ(goToLineTarget(editor, caret, line), literalWalk(text, caret, line))
                    << "text " << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("|")).toStdString()
                    << " caret " << caret << " line " << line;
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 3000);
}

TEST(GoToLineTarget, AgreesWithTheLiteralWalkOnTheRealControl)
{
    QRandomGenerator random(77);
    EditorWidget editor;
    for (int round = 0; round < 60; ++round) {
        const QString text = randomText(random);
        test::setTextOf(editor, text);
        ASSERT_EQ(test::textOf(editor), text);
        const qint64 lines = text.count(QStringLiteral("\r\n")) + 1;
        for (qint64 caret : carets(text)) {
            for (qint64 line = -1; line <= lines + 1; ++line) {
                ASSERT_EQ(goToLineTarget(editor, caret, line), literalWalk(text, caret, line))
                    << "text " << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("|")).toStdString()
                    << " caret " << caret << " line " << line;
            }
        }
    }
}

// ------------------------------------------------------------------ the entry

TEST(GoToLineEntry, IsRoundedHalfToEvenAndMayHaveBlanks)
{
    EXPECT_EQ(jump(FiveLines, 0, QStringLiteral("2.5")), 4);   // line 2
    EXPECT_EQ(jump(FiveLines, 0, QStringLiteral("3.5")), 12);  // line 4
    EXPECT_EQ(jump(FiveLines, 0, QStringLiteral(" 3 ")), 8);   // line 3
    EXPECT_EQ(jump(FiveLines, 0, QStringLiteral("+4")), 12);
    EXPECT_EQ(jump(FiveLines, 0, QStringLiteral("3e0")), 8);
}

TEST(GoToLineEntry, AnEmptyEntryGoesToTheStartWithoutAMessage)
{
    for (const GoToStep &step : {cancel(), closeBox(), ok(QString())}) {
        Jump j(FiveLines, 17);
        EXPECT_EQ(j.run({step}), 0);
        EXPECT_TRUE(j.messages.shown.isEmpty());
        EXPECT_EQ(j.dialog.entry(), QString());
    }
}

TEST(GoToLineEntry, AfterAJumpTheNextUseOpensEmpty)
{
    Jump j(FiveLines, 0);
    EXPECT_EQ(j.to(QStringLiteral("4")), 12);
    EXPECT_EQ(j.dialog.entry(), QString());
    EXPECT_EQ(j.to(QStringLiteral("2")), 4);
    EXPECT_EQ(j.dialog.shownWith, (QStringList{QString(), QString()}));
}

TEST(GoToLineEntry, ANonNumberBringsTheWarningAndTheDialogStillShowingIt)
{
    Jump j(FiveLines, 17);
    EXPECT_EQ(j.run({ok(QStringLiteral("abc")), ok(QStringLiteral("3"))}), 8);

    ASSERT_EQ(j.messages.shown.size(), 1);
    const ShownMessage &warning = j.messages.shown.first();
    EXPECT_EQ(warning.text, QStringLiteral("You must enter a numeric value"));
    EXPECT_EQ(warning.title, QStringLiteral("Invalid Line Number"));
    EXPECT_EQ(warning.icon, MessageIcon::Warning);
    EXPECT_EQ(warning.buttons, MessageButtons::Ok);
    EXPECT_EQ(j.dialog.shownWith, (QStringList{QString(), QStringLiteral("abc")}));
    EXPECT_EQ(j.dialog.entry(), QString()); // emptied once read
}

TEST(GoToLineEntry, TheWarningComesAgainUntilANumberIsEntered)
{
    Jump j(FiveLines, 0);
    EXPECT_EQ(j.run({ok(QStringLiteral("12a")), ok(QStringLiteral("   ")), ok(QString()),
                     ok(QStringLiteral("nan")), ok(QStringLiteral("5"))}),
              16);
    EXPECT_EQ(j.messages.shown.size(), 4);
    EXPECT_EQ(j.dialog.shownWith,
              (QStringList{QString(), QStringLiteral("12a"), QStringLiteral("   "), QString(),
                           QStringLiteral("nan")}));
}

TEST(GoToLineEntry, CancelOrTheCloseBoxAfterTheWarningLeaveTheCaret)
{
    for (const GoToStep &giveUp : {cancel(), closeBox()}) {
        Jump j(FiveLines, 17);
        EXPECT_EQ(j.run({ok(QStringLiteral("abc")), giveUp}), 17);
        EXPECT_EQ(j.messages.shown.size(), 1);
        EXPECT_EQ(j.dialog.entry(), QString());
        // The next use opens empty and works as usual.
        EXPECT_EQ(j.to(QStringLiteral("2")), 4);
        EXPECT_EQ(j.dialog.shownWith.last(), QString());
    }
}

TEST(GoToLineEntry, NumbersTooLargeForADoubleAreNotNumbers)
{
    Jump j(FiveLines, 0);
    EXPECT_EQ(j.run({ok(QStringLiteral("1e400")), ok(QStringLiteral("2"))}), 4);
    EXPECT_EQ(j.messages.shown.size(), 1);
}

TEST(GoToLineEntry, TheCloseBoxOnFirstUseCountsAsCancel)
{
    Jump j(FiveLines, 9);
    j.dialog.setEntry(QStringLiteral("left over"));
    EXPECT_EQ(j.run({closeBox()}), 0);
    EXPECT_EQ(j.dialog.entry(), QString());
    EXPECT_TRUE(j.messages.shown.isEmpty());
}

} // namespace
} // namespace zuno
