// The problem marks against the in-memory line marks: the whole check, the
// line-by-line check after an edit, F8 and Shift+F8, what a mark says, and
// the record under the caret.
#include "items/ItemMarks.h"
#include "items/RecordPlace.h"
#include "platform/doubles/FakeLineMarks.h"

#include <gtest/gtest.h>

#include <random>

namespace zuno {
namespace {

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray text;
    for (qsizetype i = 0; i < lines.size(); ++i)
        text += (i ? "\r\n" : "") + lines[i];
    return text;
}

// Every line's mark, as a string: '.' none, 'E' error, 'W' warning.
QString marksOf(const FakeLineMarks &lines)
{
    QString shown;
    for (qint64 line = 0; line < lines.lineCount(); ++line)
        shown += lines.mark(line) == LineMark::Error ? u'E' : lines.mark(line) == LineMark::Warning ? u'W' : u'.';
    return shown;
}

// Replaces line `line` of the text, as the edit control tells an edit of
// that line alone.
void editLine(FakeLineMarks &lines, ItemMarks &marks, QList<QByteArray> &text, qsizetype line, const QByteArray &now)
{
    TextChange change;
    change.position = line > 0 ? crlf(text.first(line)).size() + 2 : 0;
    change.removed = text[line];
    change.removedBytes = text[line].size();
    change.insertedBytes = now.size();
    text[line] = now;
    lines.editText(crlf(text));
    ASSERT_TRUE(marks.changed(change, 1000));
}

TEST(ItemMarks, WholeCheckMarksEveryLineTheViewSwitchWouldStopAtOrAskAbout)
{
    FakeLineMarks lines;
    ItemMarks marks(lines);
    lines.setText(crlf({"AC:1", "REMARK X", "NM:MAIN  ROAD", "BG:5  PL:1", "", "XX:2"}));
    marks.checkAll(false);
    EXPECT_EQ(marksOf(lines), QStringLiteral(".EWW.."));
    EXPECT_EQ(marks.errors(), 1);
    EXPECT_EQ(marks.warnings(), 2);
    // The underline is under the offending text.
    EXPECT_EQ(lines.underline(2).from, 7);
    EXPECT_EQ(lines.underline(2).length, 6);
    // Read as the Record layout, only what View > List would stop at: a
    // run of two spaces with no colon after it stops it too.
    marks.checkAll(true);
    EXPECT_EQ(marksOf(lines), QStringLiteral(".EE..."));
    EXPECT_EQ(marks.errors(), 2);
}

TEST(ItemMarks, AnEditChangesTheMarkOfItsLineOnly)
{
    FakeLineMarks lines;
    ItemMarks marks(lines);
    QList<QByteArray> text = {"AC:1", "NM:A", "BG:1", "XX:2", "REMARK X"};
    lines.setText(crlf(text));
    marks.checkAll(false);
    EXPECT_EQ(marksOf(lines), QStringLiteral("....E"));
    editLine(lines, marks, text, 2, "BG 1");
    EXPECT_EQ(marksOf(lines), QStringLiteral("..E.E"));
    editLine(lines, marks, text, 1, "NM:A  B");
    EXPECT_EQ(marksOf(lines), QStringLiteral(".WE.E"));
    EXPECT_EQ(marks.problems(), 3);
    editLine(lines, marks, text, 2, "BG:1");
    editLine(lines, marks, text, 4, "REMARK: X");
    EXPECT_EQ(marksOf(lines), QStringLiteral(".W..."));
    EXPECT_EQ(marks.errors(), 0);
    EXPECT_EQ(marks.warnings(), 1);
}

TEST(ItemMarks, AnEditThatOpensOrClosesAValueListRechecksTheLinesItTakesUp)
{
    FakeLineMarks lines;
    ItemMarks marks(lines);
    QList<QByteArray> text = {"AC:1  PL:1,2", "       PL:3  junk", "       PL:4  junk", "XX:5"};
    lines.setText(crlf(text));
    marks.checkAll(true);
    EXPECT_EQ(marksOf(lines), QStringLiteral("...."));
    editLine(lines, marks, text, 0, "AC:1  XX:2");
    EXPECT_EQ(marksOf(lines), QStringLiteral(".EE."));
    EXPECT_EQ(marks.problems(), 2);
    editLine(lines, marks, text, 1, "       PL:3");
    EXPECT_EQ(marksOf(lines), QStringLiteral("...."));
    editLine(lines, marks, text, 1, "       YY:3");
    EXPECT_EQ(marksOf(lines), QStringLiteral("..E."));
}

// Lines joined by a removal: the control merges their marks into one line,
// and the count follows what is left.
TEST(ItemMarks, ARemovalThatJoinsMarkedLinesCountsTheirMarksAgain)
{
    FakeLineMarks lines;
    ItemMarks marks(lines);
    lines.setText(crlf({"REMARK X", "REMARK Y", "NM:A  B", "AC:1"}));
    marks.checkAll(false);
    ASSERT_EQ(marksOf(lines), QStringLiteral("EEW."));
    // "\r\nREMARK Y\r\n" goes: three lines become one.
    const TextChange change = lines.replace(8, 12, "");
    EXPECT_EQ(change.removedLines, 2);
    ASSERT_TRUE(marks.changed(change, 1000));
    // "REMARK XNM:A  B": a code, and two spaces in its value.
    EXPECT_EQ(marksOf(lines), QStringLiteral("W."));
    EXPECT_EQ(marks.errors(), 0);
    EXPECT_EQ(marks.warnings(), 1);
}

// Random edits of any size, also ones that make or join lines or bring a
// "\r" and "\n" together: the marks kept edit by edit, in the control and in
// the marks' own set of lines, are those a whole check of the text makes.
TEST(ItemMarks, LineByLineAgreesWithTheWholeCheck)
{
    static const QList<QByteArray> pieces = {"AC:1", "AC:OS", "BG:5", "PL:1,2", "  PL:3", "NM:A  B", "X Y",
                                             "XX:1  YY:2", "       PL:4  junk", "", "Z:1  q", "AC:1\nB",
                                             "\r\n", "\r", "\n", "\r\nX Y\r\n", "AC:1\r\nNM:A  B"};
    std::mt19937 rng(8);
    const auto below = [&rng](qint64 n) { return std::uniform_int_distribution<qint64>(0, n - 1)(rng); };
    const auto pick = [&] { return pieces[below(pieces.size())]; };
    for (int round = 0; round < 300; ++round) {
        const bool record = round % 2;
        QList<QByteArray> text;
        for (int i = 0; i < 12; ++i)
            text.append(pick());
        FakeLineMarks lines;
        ItemMarks marks(lines);
        lines.setText(crlf(text));
        marks.checkAll(record);
        for (int edit = 0; edit < 10; ++edit) {
            const QByteArray before(lines.wholeText().toByteArray());
            const qint64 position = below(before.size() + 1);
            const qint64 removed = below(std::min<qint64>(before.size() - position, 20) + 1);
            const QByteArray inserted = pick();
            ASSERT_TRUE(marks.changed(lines.replace(position, removed, inserted), 1000));
            FakeLineMarks whole;
            ItemMarks wholeMarks(whole);
            whole.setText(lines.wholeText().toByteArray());
            wholeMarks.checkAll(record);
            QString kept;
            for (qint64 line = 0; line < lines.lineCount(); ++line)
                kept += marks.markAt(line) == LineMark::Error ? u'E' : marks.markAt(line) == LineMark::Warning ? u'W' : u'.';
            ASSERT_EQ(marksOf(lines), marksOf(whole)) << before.toStdString() << " at " << position;
            ASSERT_EQ(kept, marksOf(whole));
            ASSERT_EQ(marks.nextMarked(0), wholeMarks.nextMarked(0));
            ASSERT_EQ(marks.errors(), wholeMarks.errors());
            ASSERT_EQ(marks.warnings(), wholeMarks.warnings());
        }
    }
}

TEST(ItemMarks, NextAndPreviousProblemWrapRoundTheEnds)
{
    FakeLineMarks lines;
    ItemMarks marks(lines);
    lines.setText(crlf({"AC:1", "X Y", "BG:1", "NM:A  B", "EG:2"}));
    marks.checkAll(false);
    const struct {
        bool forward;
        qint64 line;
    } steps[] = {{true, 1}, {true, 3}, {true, 1}, {false, 3}, {false, 1}, {false, 3}};
    for (const auto &step : steps) {
        marks.nextProblem(step.forward);
        EXPECT_EQ(lines.caretLine(), step.line);
    }
    EXPECT_EQ(marks.nextProblem(true), QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 2"));
    EXPECT_TRUE(marks.nextProblem(true).startsWith(QStringLiteral("The data item 'NM:A  B' on line 4 would not come back")));

    lines.setText(crlf({"AC:1", "BG:1"}));
    marks.checkAll(false);
    lines.moveCaretToLine(1);
    EXPECT_EQ(marks.nextProblem(true), QStringLiteral("No problems"));
    EXPECT_EQ(lines.caretLine(), 1);
    EXPECT_EQ(ItemMarks::countText(0), QStringLiteral("No problems"));
}

TEST(ItemMarks, DescriptionCountsLinesAsTheConversionsDo)
{
    FakeLineMarks lines;
    ItemMarks marks(lines);
    // A lone line feed ends a line of the control, not of the text.
    lines.setText(crlf({"AC:1\nNM:2", "AC:1  BG:2  junk"}));
    marks.checkAll(true);
    EXPECT_EQ(marksOf(lines), QStringLiteral("..E"));
    EXPECT_EQ(marks.describe(2), QStringLiteral("Unexpected data 'BG:2  junk'."));
    marks.checkAll(false);
    EXPECT_TRUE(marks.describe(2).contains(QStringLiteral("' on line 2 "))) << marks.describe(2).toStdString();
}

TEST(RecordPlace, RecordNameAndLineItemAroundTheCaret)
{
    FakeLineMarks lines;
    ItemMarks marks(lines);
    lines.setText(crlf({"AC:1", "BG:A", "AC:7", "BG:A1", "PL:1,2", "NM:MAIN ROAD", "EG:3", "XX:1"}));
    marks.checkAll(false);
    EXPECT_EQ(recordPlaceAt(marks, 4).text(), QStringLiteral("AC:7  NM:MAIN ROAD  BG:A1"));
    EXPECT_EQ(recordPlaceAt(marks, 7).text(), QStringLiteral("AC:7  NM:MAIN ROAD  EG:3"));
    EXPECT_EQ(recordPlaceAt(marks, 1).text(), QStringLiteral("AC:1  BG:A"));

    lines.setText(crlf({"AC:1", "", "AC:OS  NM:X", "BG:5  PL:1,2,3  XX:ABC", "       PL:4"}));
    marks.checkAll(true);
    EXPECT_EQ(recordPlaceAt(marks, 4).text(), QStringLiteral("AC:OS  NM:X  BG:5"));
    EXPECT_EQ(recordPlaceAt(marks, 0).text(), QStringLiteral("AC:1"));

    lines.setText(crlf({"XX:1"}));
    marks.checkAll(false);
    EXPECT_EQ(recordPlaceAt(marks, 0).text(), QString());
}

} // namespace
} // namespace zuno
