// The data item: lines, codes, validity, roles and the layout constants.
#include "format/DataItem.h"
#include "format/TextStreams.h"

#include "TestText.h"

#include <gtest/gtest.h>

namespace zuno {
namespace {

using test::crlf;

QStringList toStrings(const QList<QStringView> &views)
{
    QStringList strings;
    for (QStringView view : views)
        strings.append(view.toString());
    return strings;
}

TEST(SplitLines, EmptyTextHasNoLines)
{
    EXPECT_TRUE(splitLines(u"").isEmpty());
}

TEST(SplitLines, SplitsOnCrLfOnly)
{
    EXPECT_EQ(toStrings(splitLines(u"AC:1")), QStringList({"AC:1"}));
    EXPECT_EQ(toStrings(splitLines(u"AC:1\r\nBG:2")), QStringList({"AC:1", "BG:2"}));
    // A lone carriage return or line feed is content of its line.
    EXPECT_EQ(toStrings(splitLines(u"A\rB\nC\r\nD")), QStringList({"A\rB\nC", "D"}));
    EXPECT_EQ(toStrings(splitLines(u"A\n\r\nB\r")), QStringList({"A\n", "B\r"}));
    EXPECT_EQ(toStrings(splitLines(u"\r\r\n\n")), QStringList({"\r", "\n"}));
}

TEST(SplitLines, TrailingSeparatorGivesFinalEmptyLine)
{
    EXPECT_EQ(toStrings(splitLines(u"AC:1\r\n")), QStringList({"AC:1", ""}));
    EXPECT_EQ(toStrings(splitLines(u"\r\n")), QStringList({"", ""}));
    EXPECT_EQ(toStrings(splitLines(u"\r\n\r\n")), QStringList({"", "", ""}));
}

// The lines of a text as UTF-16 and as UTF-8 (decoded a line at a time).
template <typename Reader, typename Text>
void expectTheSameLinesTested(const Text &text)
{
    Reader reader{text};
    EXPECT_TRUE(reader.nextStartsWith(u"PL:"));
    EXPECT_EQ(reader.next(), u"PL:1");
    EXPECT_FALSE(reader.nextStartsWith(u"PL:"));
    EXPECT_TRUE(reader.nextStartsWith(u"PL:", true));
    EXPECT_EQ(reader.next(), u"   PL:2");
    // "PL" at the end of a line does not run on into the next one.
    EXPECT_FALSE(reader.nextStartsWith(u"PL:"));
    EXPECT_EQ(reader.next(), u"PL");
    EXPECT_EQ(reader.next(), u"XX:\u00e9\rA\n\U0001F600 \u20ac");
    EXPECT_TRUE(reader.hasNext());
    EXPECT_EQ(reader.next(), u":3");
    EXPECT_FALSE(reader.hasNext());
    EXPECT_FALSE(reader.nextStartsWith(u""));
}

TEST(LineReader, TestsTheNextLineWithoutMovingOn)
{
    const QString text = QStringLiteral("PL:1\r\n   PL:2\r\nPL\r\nXX:\u00e9\rA\n\U0001F600 \u20ac\r\n:3");
    expectTheSameLinesTested<LineReader>(QStringView(text));
    expectTheSameLinesTested<text::Utf8LineReader>(QByteArrayView(text.toUtf8()));
}

TEST(TrimSpaces, RemovesSpacesOnly)
{
    EXPECT_EQ(trimSpaces(u"  BG:5  "), u"BG:5");
    EXPECT_EQ(trimSpaces(u"\tBG:5\t"), u"\tBG:5\t");
    EXPECT_EQ(trimSpaces(u" \t X \t "), u"\t X \t");
    EXPECT_EQ(trimSpaces(u"    "), u"");
    EXPECT_EQ(trimSpaces(u""), u"");
}

TEST(FirstColon, IsWhereTheCodeEnds)
{
    EXPECT_EQ(firstColon(u"PL:12,13"), 2);
    EXPECT_EQ(firstColon(u"       PL:12"), 9);
    EXPECT_EQ(firstColon(u"REMARK: X:Y"), 6);
    EXPECT_EQ(firstColon(u"::"), 0);
    EXPECT_EQ(firstColon(u"A::"), 1);
    EXPECT_EQ(firstColon(u""), -1);
    EXPECT_EQ(firstColon(u"REMARK X"), -1);
}

TEST(IsValidDataLine, EmptyOrHoldsAColon)
{
    EXPECT_TRUE(isValidDataLine(u""));
    EXPECT_TRUE(isValidDataLine(u":"));
    EXPECT_TRUE(isValidDataLine(u"REMARK: X"));
    EXPECT_TRUE(isValidDataLine(u"X Y Z:"));
    EXPECT_FALSE(isValidDataLine(u"REMARK X"));
    // Untrimmed: a line of spaces is not empty.
    EXPECT_FALSE(isValidDataLine(u"   "));
}

TEST(ClassifyLine, FollowsTheTableFromTheTop)
{
    EXPECT_EQ(classifyLine(u"AC:OS"), ItemRole::SeparatedRecordStart);
    EXPECT_EQ(classifyLine(u"AC:PR"), ItemRole::SeparatedRecordStart);
    // Only the whole line "AC:OS" separates: with a trailing space it is an
    // ordinary record start.
    EXPECT_EQ(classifyLine(u"AC:OS "), ItemRole::RecordStart);
    EXPECT_EQ(classifyLine(u"AC:OSX"), ItemRole::RecordStart);
    EXPECT_EQ(classifyLine(u"AC:1001"), ItemRole::RecordStart);
    EXPECT_EQ(classifyLine(u"AC:"), ItemRole::RecordStart);
    for (QStringView line : {u"BG:5", u"EG:", u"CP:1", u"SP:2,3", u"DL:X"})
        EXPECT_EQ(classifyLine(line), ItemRole::LineStart) << line.toString().toStdString();
    EXPECT_EQ(classifyLine(u"PL:1,2,3"), ItemRole::ValueList);
    EXPECT_EQ(classifyLine(u"PL:"), ItemRole::ValueList);
}

TEST(ClassifyLine, EverythingElseIsJoined)
{
    for (QStringView line : {u"XX:ABC", u"", u"pl:1", u"ac:OS", u"  BG:5", u"       PL:12",
                             u"P:1", u"PLX:1", u"AC", u"BG", u":", u"REMARK X"})
        EXPECT_EQ(classifyLine(line), ItemRole::Joined) << line.toString().toStdString();
}

TEST(LayoutConstants, HaveTheirValues)
{
    EXPECT_EQ(LineSeparator, u"\r\n");
    EXPECT_EQ(ItemSeparator, u"  ");
    EXPECT_EQ(ContinuationIndent, u"       ");
    EXPECT_EQ(ValueListContinuation, u"       PL:");
    EXPECT_EQ(RecordLineWidth, 80);
    EXPECT_EQ(HeadSplitLimit, 78);
    EXPECT_EQ(ContinuationSplitLimit, 70);
    EXPECT_EQ(ListCutLimit, 80);
}

} // namespace
} // namespace zuno
