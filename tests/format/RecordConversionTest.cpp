// List layout -> Record layout.
#include "format/Conversion.h"
#include "format/DataItem.h"

#include "TestText.h"

#include <gtest/gtest.h>

namespace zuno {
namespace {

using test::crlf;
using test::repeated;
using test::toList;
using test::toRecord;
using test::valueList;
using test::WorkedExampleRecord;

// The List text of the worked example: a PL item of 162 characters.
const QString WorkedExampleList =
    crlf({"AC:7", "BG:A1", valueList(101, 140), "XX:END"});

// ---------------------------------------------------------------------------
// The worked examples

TEST(RecordConversion, EmptyTextStaysEmpty)
{
    const auto result = test::recordOf(u"");
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.value().isEmpty());
}

TEST(RecordConversion, SixLineExampleJoinsARecord)
{
    EXPECT_EQ(toRecord(crlf({"AC:1001", "BG:5", "PL:1,2,3", "XX:ABC", "AC:OS", "EG:7"})),
              crlf({"AC:1001", "BG:5  PL:1,2,3  XX:ABC", "", "AC:OS", "EG:7"}));
}

TEST(RecordConversion, WorkedExampleSplitsTheValueList)
{
    ASSERT_EQ(valueList(101, 140).size(), 162);
    EXPECT_EQ(toRecord(WorkedExampleList), WorkedExampleRecord);
}

// ---------------------------------------------------------------------------
// Line starts and empty lines

TEST(RecordConversion, LineStartItemsAlwaysBeginALine)
{
    // First line BG: the line being built is still empty and stays so.
    EXPECT_EQ(toRecord(crlf({"BG:1", "XX:2"})), crlf({"", "BG:1  XX:2"}));
    EXPECT_EQ(toRecord(crlf({"AC:1", "BG:1", "EG:2", "CP:3", "SP:4", "DL:5"})),
              crlf({"AC:1", "BG:1", "EG:2", "CP:3", "SP:4", "DL:5"}));
}

TEST(RecordConversion, RecordStartBeginsALineUnlessTheLineIsEmpty)
{
    EXPECT_EQ(toRecord(crlf({"AC:1", "XX:2", "AC:3", "AC:4"})), crlf({"AC:1  XX:2", "AC:3", "AC:4"}));
    // "AC:OS" with a trailing space is an ordinary record start.
    EXPECT_EQ(toRecord(crlf({"AC:1", "AC:OS "})), crlf({"AC:1", "AC:OS "}));
}

TEST(RecordConversion, SeparatedRecordStartGetsAnEmptyLineBefore)
{
    EXPECT_EQ(toRecord(crlf({"AC:OS", "XX:1"})), crlf({"AC:OS  XX:1"}));
    EXPECT_EQ(toRecord(crlf({"AC:OS", "AC:OS"})), crlf({"AC:OS", "", "AC:OS"}));
    EXPECT_EQ(toRecord(crlf({"AC:1", "AC:PR", "BG:2"})), crlf({"AC:1", "", "AC:PR", "BG:2"}));
}

TEST(RecordConversion, ValueListThatFitsOnAnEmptyLineBeginsWithTwoSpaces)
{
    EXPECT_EQ(toRecord(crlf({"PL:1,2", "XX:3"})), crlf({"  PL:1,2  XX:3"}));
}

TEST(RecordConversion, FinalEmptyLineAppendsTwoSpaces)
{
    EXPECT_EQ(toRecord(QStringLiteral("AC:1\r\n")), QStringLiteral("AC:1  "));
    EXPECT_EQ(toRecord(QStringLiteral("AC:1\r\nXX:2\r\n")), QStringLiteral("AC:1  XX:2  "));
}

TEST(RecordConversion, FinalEmptyLineAfterAFullLineBecomesAnIndentedLine)
{
    for (int width : {79, 80}) {
        const QString full = QStringLiteral("AC:") + repeated(u"1", width - 3);
        EXPECT_EQ(toRecord(full + QStringLiteral("\r\n")), crlf({full, "       "})) << width;
    }
    const QString fits = QStringLiteral("AC:") + repeated(u"1", 75);
    EXPECT_EQ(toRecord(fits + QStringLiteral("\r\n")), fits + QStringLiteral("  "));
}

TEST(RecordConversion, EmptyLinesOnAnEmptyLineChangeNothing)
{
    EXPECT_EQ(toRecord(QStringLiteral("\r\n\r\nXX:1")), QStringLiteral("XX:1"));
    EXPECT_EQ(toRecord(QStringLiteral("\r\n")), QString());
}

// ---------------------------------------------------------------------------
// Joined items

TEST(RecordConversion, JoinedItemFillsTheLineToEightyCharacters)
{
    const QString first = QStringLiteral("AC:") + repeated(u"1", 37); // 40
    const QString second = QStringLiteral("XX:") + repeated(u"2", 35); // 38: 40 + 2 + 38 = 80
    EXPECT_EQ(toRecord(crlf({first, second})), first + QStringLiteral("  ") + second);
    const QString third = second + QStringLiteral("9"); // 81
    EXPECT_EQ(toRecord(crlf({first, third})), crlf({first, QStringLiteral("       ") + third}));
}

TEST(RecordConversion, ContinuationLineTakesFurtherItems)
{
    const QString first = QStringLiteral("AC:") + repeated(u"1", 60);
    const QString second = QStringLiteral("XX:") + repeated(u"2", 30);
    EXPECT_EQ(toRecord(crlf({first, second, "YY:3", "ZZ:4"})),
              crlf({first, QStringLiteral("       ") + second + QStringLiteral("  YY:3  ZZ:4")}));
}

TEST(RecordConversion, LongItemsStandWhole)
{
    const QString longStart = QStringLiteral("BG:") + repeated(u"5", 100);
    const QString longJoined = QStringLiteral("XX:") + repeated(u"6", 100);
    EXPECT_EQ(toRecord(crlf({longStart, longJoined, "YY:1"})),
              crlf({"", longStart, QStringLiteral("       ") + longJoined, "       YY:1"}));
    EXPECT_EQ(toRecord(longJoined), longJoined);
}

TEST(RecordConversion, UnknownLowerCaseAndIndentedCodesAreJoined)
{
    EXPECT_EQ(toRecord(crlf({"AC:1", "pl:1,2", "  BG:5", "ac:OS", "REMARK: X", ":"})),
              crlf({"AC:1  pl:1,2    BG:5  ac:OS  REMARK: X  :"}));
}

TEST(RecordConversion, RecordTextIsConvertedAsJoinedItems)
{
    // Its continuation lines are Joined items: indented by seven more spaces
    // when they do not fit.
    EXPECT_EQ(toRecord(WorkedExampleRecord),
              crlf({
                  "AC:7",
                  "BG:A1  PL:101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117",
                  "              PL:118,119,120,121,122,123,124,125,126,127,128,129,130,131,132,133,134",
                  "              PL:135,136,137,138,139,140  XX:END",
              }));
}

// ---------------------------------------------------------------------------
// Splitting PL items

TEST(RecordConversion, SplitValueListLeavesAFreshLine)
{
    const QString body = crlf({"AC:7", "BG:A1", valueList(101, 140)});
    const QString split = crlf({
        "AC:7",
        "BG:A1  PL:101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117",
        "       PL:118,119,120,121,122,123,124,125,126,127,128,129,130,131,132,133,134",
        "       PL:135,136,137,138,139,140",
    });
    // Last line of the text: the output ends with the fresh empty line.
    EXPECT_EQ(toRecord(body), split + QStringLiteral("\r\n"));
    // A line start after it leaves the fresh line empty.
    EXPECT_EQ(toRecord(crlf({body, "BG:1"})), crlf({split, "", "BG:1"}));
    // Anything else begins the fresh line at column 1.
    EXPECT_EQ(toRecord(crlf({body, "XX:1"})), crlf({split, "XX:1"}));
    EXPECT_EQ(toRecord(crlf({body, "AC:1"})), crlf({split, "AC:1"}));
    EXPECT_EQ(toRecord(crlf({body, "AC:OS"})), crlf({split, "AC:OS"}));
}

TEST(RecordConversion, HeadOnAnEmptyLineKeepsTheTwoSpaces)
{
    const QString record = toRecord(crlf({valueList(101, 140), "XX:1"}));
    // The head ends at the last comma at or before position 78: after 118.
    EXPECT_EQ(record, crlf({
                          "  PL:101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117,118",
                          "       PL:119,120,121,122,123,124,125,126,127,128,129,130,131,132,133,134,135",
                          "       PL:136,137,138,139,140",
                          "XX:1",
                      }));
}

TEST(RecordConversion, FollowingValueListLinesAreTakenUpWithACommaWhereNoneIs)
{
    // Each line but the last ends with the comma at which it was cut: no
    // comma is added.
    EXPECT_EQ(toRecord(crlf({"AC:7", "BG:A1", valueList(101, 140) + ",", "PL:7,", "PL:8", "XX:END"})),
              crlf({
                  "AC:7",
                  "BG:A1  PL:101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117",
                  "       PL:118,119,120,121,122,123,124,125,126,127,128,129,130,131,132,133,134",
                  "       PL:135,136,137,138,139,140,7,8",
                  "XX:END",
              }));
    // Without the trailing commas a comma goes between the values, so that
    // 140, 7 and 8 stay three values.
    EXPECT_EQ(toRecord(crlf({"AC:7", "BG:A1", valueList(101, 140), "PL:7", "PL:8"})),
              crlf({
                  "AC:7",
                  "BG:A1  PL:101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117",
                  "       PL:118,119,120,121,122,123,124,125,126,127,128,129,130,131,132,133,134",
                  "       PL:135,136,137,138,139,140,7,8",
                  "",
              }));
    // Nor when the line taken up begins with the comma.
    EXPECT_EQ(toRecord(crlf({"BG:A1", valueList(101, 140), "PL:,7"})).split(QStringLiteral("\r\n"))[3],
              QStringLiteral("       PL:135,136,137,138,139,140,7"));
}

TEST(RecordConversion, HandWrittenValueListLinesKeepTheirValuesApart)
{
    // A long PL line without its trailing comma, then another PL line: a save
    // from the Record view gives back 124 and 999 as two values.
    const QString list = crlf({"AC:1", valueList(100, 124), "PL:999"});
    const QString back = toList(toRecord(list));
    EXPECT_EQ(back, crlf({"AC:1", "PL:100,101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117,118,",
                          "PL:119,120,121,122,123,124,999"}));
}

TEST(RecordConversion, ValueListThatFitsTakesUpNothing)
{
    EXPECT_EQ(toRecord(crlf({"BG:1", "PL:1,2,", "PL:3"})), crlf({"", "BG:1  PL:1,2,  PL:3"}));
}

TEST(RecordConversion, HeadRunsOnFromAValueListContinuationLine)
{
    // The line being built is "       PL:5,6,7"; the next PL item must be
    // split, and its values before the split comma follow after a comma; the
    // split comma itself is dropped.
    const QString list = crlf({"       PL:5,6,7", valueList(101, 140)});
    const QString record = toRecord(list);
    EXPECT_EQ(record, crlf({
                          "       PL:5,6,7,101,102,103,104,105,106,107,108,109,110,111,112,113,114,115",
                          "       PL:116,117,118,119,120,121,122,123,124,125,126,127,128,129,130,131,132",
                          "       PL:133,134,135,136,137,138,139,140",
                          "",
                      }));
    // Back in the List layout, no value is merged and none is empty.
    EXPECT_EQ(toList(record).remove(QStringLiteral("\r\nPL:")), QStringLiteral("PL:5,6,7,") + valueList(101, 140).sliced(3));

    // No comma is added where the line being built already ends with one
    // (one character longer, it leaves room for a value less).
    EXPECT_EQ(toRecord(crlf({"       PL:5,6,7,", valueList(101, 140)})).split(QStringLiteral("\r\n"))[0],
              QStringLiteral("       PL:5,6,7,101,102,103,104,105,106,107,108,109,110,111,112,113,114"));
}

TEST(RecordConversion, HeadDoesNotRunOnFromAnItemJoinedAfterTheContinuation)
{
    // XX:1 stands after the PL values on the line being built: the head is
    // joined with two spaces as on any other line, or XX:1 would take the
    // values into its own.
    const QString list = crlf({"       PL:5,6,7", "XX:1", valueList(101, 140)});
    const QString record = toRecord(list);
    EXPECT_EQ(record.split(QStringLiteral("\r\n"))[0],
              QStringLiteral("       PL:5,6,7  XX:1  PL:101,102,103,104,105,106,107,108,109,110,111,112,113"));
    EXPECT_EQ(toList(record).split(QStringLiteral("\r\n")).mid(0, 2), QStringList({"PL:5,6,7", "XX:1"}));
}

TEST(RecordConversion, UnsplittableHeadRunsOnFromAValueListContinuationLine)
{
    // The first value is too long for the window left on the line being
    // built: the head runs on up to the first comma, which is dropped.
    const QString longValue = repeated(u"7", 70);
    const QString record = toRecord(crlf({"       PL:5,6", QStringLiteral("PL:") + longValue + QStringLiteral(",1,2")}));
    EXPECT_EQ(record, crlf({QStringLiteral("       PL:5,6,") + longValue, "       PL:1,2", ""}));
    EXPECT_EQ(toList(record), QStringLiteral("PL:5,6,") + longValue + QStringLiteral(",1,2"));
}

TEST(RecordConversion, ContinuationWithoutCommaInItsFirstSeventyTakesTheRest)
{
    const QString longValue = repeated(u"9", 75);
    const QString record = toRecord(crlf({"BG:1", QStringLiteral("PL:1,2,") + longValue + QStringLiteral(",3,4")}));
    EXPECT_EQ(record, crlf({"", "BG:1  PL:1,2", QStringLiteral("       PL:") + longValue + QStringLiteral(",3,4"), ""}));
}

TEST(RecordConversion, CommaThatEndsTheValuesIsKept)
{
    // The values still to place are 69 characters and a comma. Cutting at
    // that comma would drop it for good, so it stays on the line.
    const QString values = repeated(u"B", 69) + QStringLiteral(",");
    const QString list = crlf({"BG:1", QStringLiteral("PL:1,") + values});
    const QString record = toRecord(list);
    EXPECT_EQ(record, crlf({"", "BG:1  PL:1", QStringLiteral("       PL:") + values, ""}));
    EXPECT_EQ(toList(record), list);
}

// A PL item with no comma within the first 78 - L characters.

TEST(RecordConversion, UnsplittableValueListGoesOnContinuationLines)
{
    // The line being built already holds 79 characters.
    const QString full = QStringLiteral("AC:") + repeated(u"1", 76);
    EXPECT_EQ(toRecord(crlf({full, "PL:1,2,3", "XX:9"})),
              crlf({full, "       PL:1,2,3", "XX:9"}));
    // A first value too long for the window; the values wrap as usual.
    const QString longValue = repeated(u"7", 72);
    EXPECT_EQ(toRecord(crlf({"BG:1", QStringLiteral("PL:") + longValue + QStringLiteral(",1,2")})),
              crlf({"", "BG:1", QStringLiteral("       PL:") + longValue + QStringLiteral(",1,2"), ""}));
    // On a full line the values wrap as usual.
    const QString fullLine = QStringLiteral("AC:") + repeated(u"1", 77);
    const QString sixtyNine = repeated(u"7", 69);
    EXPECT_EQ(toRecord(crlf({fullLine, QStringLiteral("PL:") + sixtyNine + QStringLiteral(",") + sixtyNine
                                           + QStringLiteral(",1")})),
              crlf({fullLine, QStringLiteral("       PL:") + sixtyNine, QStringLiteral("       PL:") + sixtyNine,
                    "       PL:1", ""}));
}

TEST(RecordConversion, UnsplittableValueListOnAnEmptyLineStartsThere)
{
    const QString longValue = repeated(u"7", 90);
    EXPECT_EQ(toRecord(crlf({QStringLiteral("PL:") + longValue, "XX:1"})),
              crlf({QStringLiteral("       PL:") + longValue, "XX:1"}));
}

TEST(RecordConversion, UnsplittableValueListWithoutValuesIsKept)
{
    const QString full = QStringLiteral("AC:") + repeated(u"1", 77); // 80
    const QString record = toRecord(crlf({full, "PL:", "XX:1"}));
    EXPECT_EQ(record, crlf({full, "       PL:", "XX:1"}));
    EXPECT_EQ(toList(record), crlf({full, "PL:", "XX:1"}));
}

TEST(RecordConversion, UnsplittableValueListTakesUpFollowingLines)
{
    const QString full = QStringLiteral("AC:") + repeated(u"1", 77);
    EXPECT_EQ(toRecord(crlf({full, "PL:1,2,", "PL:3", "XX:1"})),
              crlf({full, "       PL:1,2,3", "XX:1"}));
}

TEST(RecordConversion, UnsplittableValueListAfterAValueListKeepsItsHead)
{
    // A PL item cut in the List layout into a short first line (ending with
    // its comma) and a second line whose first value is long. The first line
    // fits on the BG line; continuation lines after it would be merged into it
    // by the List layout, so the second item's head stays on the BG line.
    const QString first = QStringLiteral("PL:") + repeated(u"A", 30) + QStringLiteral(",");
    const QString second = QStringLiteral("PL:") + repeated(u"B", 60) + QStringLiteral(",C");
    const QString list = crlf({"AC:1", "BG:1", first, second, "EG:2"});
    const QString record = toRecord(list);
    EXPECT_EQ(record, crlf({"AC:1", QStringLiteral("BG:1  ") + first + QStringLiteral("  PL:") + repeated(u"B", 60),
                            "       PL:C", "", "EG:2"}));
    EXPECT_EQ(toList(record), list);
}

TEST(RecordConversion, UnsplittableValueListWithoutCommaAfterAValueList)
{
    const QString first = QStringLiteral("PL:") + repeated(u"A", 30) + QStringLiteral(",");
    const QString second = QStringLiteral("PL:") + repeated(u"B", 60);
    const QString list = crlf({"BG:1", first, second, "XX:2"});
    const QString record = toRecord(list);
    EXPECT_EQ(record, crlf({"", QStringLiteral("BG:1  ") + first + QStringLiteral("  ") + second, "XX:2"}));
    EXPECT_EQ(toList(record), list);
}

// ---------------------------------------------------------------------------
// Invalid lines

TEST(RecordConversion, InvalidLineStopsWithItsNumberFromZero)
{
    const auto first = test::recordOf(u"X Y");
    EXPECT_FALSE(first.ok());
    EXPECT_EQ(test::warningOf(first), QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 1"));

    const auto second = test::recordOf(crlf({"AC:1", "X Y"}));
    EXPECT_FALSE(second.ok());
    EXPECT_EQ(test::warningOf(second), QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 2"));

    const auto third = test::recordOf(crlf({"AC:1", "", "REMARK X", "Q"}));
    EXPECT_EQ(test::warningOf(third), QStringLiteral("Invalid ZUNO Data Item 'REMARK X' on line 3"));
}

TEST(RecordConversion, LineIsQuotedUntrimmed)
{
    const auto spaces = test::recordOf(crlf({"AC:1", "   "}));
    EXPECT_EQ(test::warningOf(spaces), QStringLiteral("Invalid ZUNO Data Item '   ' on line 2"));
    const auto padded = test::recordOf(crlf({"  X Y "}));
    EXPECT_EQ(test::warningOf(padded), QStringLiteral("Invalid ZUNO Data Item '  X Y ' on line 1"));
}

TEST(RecordConversion, LinesTakenUpStillCountInLineNumbers)
{
    const auto result =
        test::recordOf(crlf({"AC:7", "BG:A1", valueList(101, 140) + ",", "PL:7,", "PL:8", "BAD"}));
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(test::warningOf(result), QStringLiteral("Invalid ZUNO Data Item 'BAD' on line 6"));
}

TEST(RecordConversion, LoneCarriageReturnAndLineFeedAreContent)
{
    // "A\rB" has no colon: one invalid line, quoted whole (its line breaks
    // as escapes).
    EXPECT_EQ(test::warningOf(test::recordOf(u"AC:1\r\nA\rB\nC")),
              QStringLiteral("Invalid ZUNO Data Item 'A\\rB\\nC' on line 2"));
    EXPECT_EQ(toRecord(QStringLiteral("AC:1\r\nXX:A\rB\nC")), QStringLiteral("AC:1  XX:A\rB\nC"));
}

} // namespace
} // namespace zuno
