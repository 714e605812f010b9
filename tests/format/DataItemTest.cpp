// The data item: lines, codes, validity, roles and the layout constants.
#include "format/DataItem.h"
#include "format/TextStreams.h"

#include "TestText.h"

#include <gtest/gtest.h>

namespace zuno {
namespace {

using test::crlf;

TEST(Utf8LineReader, SplitsOnCrLfOnly)
{
    const struct {
        QByteArray text;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"AC:1", {"AC:1"}},
        {"AC:1\r\nBG:2", {"AC:1", "BG:2"}},
        // A lone carriage return or line feed is content of its line.
        {"A\rB\nC\r\nD", {"A\rB\nC", "D"}},
        {"A\n\r\nB\r", {"A\n", "B\r"}},
        {"\r\r\n\n", {"\r", "\n"}},
        // A text that ends with "\r\n" has a final empty line.
        {"AC:1\r\n", {"AC:1", ""}},
        {"\r\n\r\n", {"", "", ""}},
    };
    for (const auto &c : cases) {
        text::Utf8LineReader reader(c.text);
        QStringList lines;
        while (reader.hasNext())
            lines.append(reader.next().toString());
        EXPECT_EQ(lines, c.lines) << c.text.toStdString();
    }
}

TEST(Utf8LineReader, TestsTheNextLineWithoutMovingOn)
{
    const QString text = QStringLiteral("PL:1\r\n   PL:2\r\nPL\r\nXX:\u00e9\rA\n\U0001F600 \u20ac\r\n:3");
    const QByteArray utf8 = text.toUtf8();
    text::Utf8LineReader reader(utf8);
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
