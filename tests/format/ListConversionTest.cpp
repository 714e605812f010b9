// Record layout -> List layout.
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

void expectFailure(const QString &record, const QString &message)
{
    const auto result = test::listOf(record);
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(test::warningOf(result), message);
}

const QString WorkedExampleList = crlf({
    "AC:7",
    "BG:A1",
    "PL:101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117,118,119,",
    "PL:120,121,122,123,124,125,126,127,128,129,130,131,132,133,134,135,136,137,138,",
    "PL:139,140",
    "XX:END",
});

// ---------------------------------------------------------------------------
// The worked examples

TEST(ListConversion, EmptyTextStaysEmpty)
{
    const auto result = test::listOf(u"");
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.value().isEmpty());
}

TEST(ListConversion, SixLineExampleComesBack)
{
    const QString list = crlf({"AC:1001", "BG:5", "PL:1,2,3", "XX:ABC", "AC:OS", "EG:7"});
    EXPECT_EQ(toList(crlf({"AC:1001", "BG:5  PL:1,2,3  XX:ABC", "", "AC:OS", "EG:7"})), list);
    EXPECT_EQ(toList(toRecord(list)), list);
}

TEST(ListConversion, WorkedExampleMergesAndCutsTheValueList)
{
    EXPECT_EQ(toList(WorkedExampleRecord), WorkedExampleList);
    // And back: the Record layout takes the cut lines up again.
    EXPECT_EQ(toRecord(WorkedExampleList), WorkedExampleRecord);
}

// ---------------------------------------------------------------------------
// Items, separators and empty lines

TEST(ListConversion, EmptyLinesAndLinesOfSpacesVanish)
{
    EXPECT_EQ(toList(crlf({"", "AC:1", "", "   ", "AC:OS", "", ""})), crlf({"AC:1", "AC:OS"}));
    EXPECT_EQ(toList(QStringLiteral("\r\n  \r\n")), QString());
}

TEST(ListConversion, ItemsAreTrimmed)
{
    EXPECT_EQ(toList(crlf({"   AC:1   ", "       XX:2  YY:3  "})), crlf({"AC:1", "XX:2", "YY:3"}));
    // Tabs are not spaces.
    EXPECT_EQ(toList(crlf({"\tAC:1\t"})), QStringLiteral("\tAC:1\t"));
}

TEST(ListConversion, AnyRunOfTwoOrMoreSpacesIsOneSeparator)
{
    EXPECT_EQ(toList(QStringLiteral("AC:1     BG:2   XX:3")), crlf({"AC:1", "BG:2", "XX:3"}));
    // A single space is part of the value.
    EXPECT_EQ(toList(QStringLiteral("XX:A B  YY:C D")), crlf({"XX:A B", "YY:C D"}));
}

TEST(ListConversion, SpacesBeforeTheFirstColonDoNotSeparate)
{
    EXPECT_EQ(toList(QStringLiteral("REM  X:1")), QStringLiteral("REM  X:1"));
    EXPECT_EQ(toList(QStringLiteral("REM  X:1  Y:2")), crlf({"REM  X:1", "Y:2"}));
    // After the first item, what is left is searched from its start.
    EXPECT_EQ(toList(QStringLiteral("AC:1  B  C:2")), crlf({"AC:1", "B", "C:2"}));
}

TEST(ListConversion, SeparatorMustBeFollowedByAColon)
{
    expectFailure(QStringLiteral("AC:1  junk"), QStringLiteral("Unexpected data 'AC:1  junk'."));
    // Only what is left of the line is quoted.
    expectFailure(QStringLiteral("AC:1  BG:2  junk"), QStringLiteral("Unexpected data 'BG:2  junk'."));
    expectFailure(crlf({"AC:1", "  XX:1  Y  Z  "}), QStringLiteral("Unexpected data 'XX:1  Y  Z'."));
    // A colon anywhere later on the line will do.
    EXPECT_EQ(toList(QStringLiteral("AC:1  X  Y:")), crlf({"AC:1", "X", "Y:"}));
}

TEST(ListConversion, InvalidLineIsQuotedTrimmedWithItsNumber)
{
    expectFailure(QStringLiteral("X Y"), QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 1"));
    expectFailure(crlf({"AC:1", "X Y"}), QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 2"));
    expectFailure(crlf({"AC:1", "", "   X Y  "}), QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 3"));
}

TEST(ListConversion, IndentedLineIsTrimmedBeforeItIsTested)
{
    EXPECT_EQ(toList(QStringLiteral("  BG:5")), QStringLiteral("BG:5"));
}

TEST(ListConversion, LoneCarriageReturnAndLineFeedAreContent)
{
    EXPECT_EQ(toList(QStringLiteral("XX:A\rB  YY:C\nD")), QStringLiteral("XX:A\rB\r\nYY:C\nD"));
}

// ---------------------------------------------------------------------------
// Continuation lines

TEST(ListConversion, FollowingValueListLinesAreMergedWithAComma)
{
    EXPECT_EQ(toList(crlf({"AC:1", "PL:1,2", "PL:3"})), crlf({"AC:1", "PL:1,2,3"}));
    EXPECT_EQ(toList(crlf({"AC:1", "PL:1,2", "      PL:3", "  PL:4  "})), crlf({"AC:1", "PL:1,2,3,4"}));
    // Only the last item of a line takes continuation lines up.
    EXPECT_EQ(toList(crlf({"AC:1  PL:1  XX:2", "PL:3"})), crlf({"AC:1", "PL:1", "XX:2", "PL:3"}));
    // Not an item that merely holds "PL:".
    EXPECT_EQ(toList(crlf({"AC:1  XX:PL:1", "PL:3"})), crlf({"AC:1", "XX:PL:1", "PL:3"}));
}

TEST(ListConversion, ContinuationLineIsAppendedWhole)
{
    EXPECT_EQ(toList(crlf({"AC:1  PL:1,2", "  PL:5,6  XX:3"})), crlf({"AC:1", "PL:1,2,5,6  XX:3"}));
    // Unchecked: it may hold anything.
    EXPECT_EQ(toList(crlf({"AC:1  PL:1", "PL:2  junk"})), crlf({"AC:1", "PL:1,2  junk"}));
}

TEST(ListConversion, LinesTakenUpStillCountInLineNumbers)
{
    expectFailure(crlf({"AC:1  PL:1", "  PL:2", "PL:3", "X Y"}),
                  QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 4"));
}

TEST(ListConversion, ValueListOnTheLastLineEndsTheLookAhead)
{
    EXPECT_EQ(toList(crlf({"AC:1", "BG:2  PL:1,2"})), crlf({"AC:1", "BG:2", "PL:1,2"}));
    EXPECT_EQ(toList(crlf({"AC:1", "BG:2  PL:1,2", "       PL:3"})), crlf({"AC:1", "BG:2", "PL:1,2,3"}));
}

// ---------------------------------------------------------------------------
// Cutting long PL items

TEST(ListConversion, LongValueListIsCutAfterTheLastCommaWithinEighty)
{
    const QString list = toList(crlf({"AC:1", valueList(1, 60)}));
    const QStringList lines = list.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 3);
    QString joined;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].startsWith(QStringLiteral("PL:")));
        EXPECT_LE(lines[i].size(), 80);
        if (i + 1 < lines.size()) {
            EXPECT_TRUE(lines[i].endsWith(u','));
        }
        joined += lines[i].mid(3);
    }
    EXPECT_EQ(QStringLiteral("PL:") + joined, valueList(1, 60));
    // 80 characters stand on one line; beyond, the cut comma may stand at
    // position 80.
    EXPECT_EQ(toList(crlf({"AC:1", QStringLiteral("PL:") + repeated(u"1", 75) + QStringLiteral(",2")})),
              crlf({"AC:1", QStringLiteral("PL:") + repeated(u"1", 75) + QStringLiteral(",2")}));
    EXPECT_EQ(toList(crlf({"AC:1", QStringLiteral("PL:") + repeated(u"1", 76) + QStringLiteral(",2")})),
              crlf({"AC:1", QStringLiteral("PL:") + repeated(u"1", 76) + QStringLiteral(","), "PL:2"}));
    // With the first comma at position 81, that comma is taken.
    EXPECT_EQ(toList(crlf({"AC:1", QStringLiteral("PL:") + repeated(u"1", 77) + QStringLiteral(",2")})),
              crlf({"AC:1", QStringLiteral("PL:") + repeated(u"1", 77) + QStringLiteral(","), "PL:2"}));
}

TEST(ListConversion, FirstItemAndItemsFollowedOnTheirLineAreNotCut)
{
    const QString longList = valueList(1, 60);
    EXPECT_EQ(toList(longList), longList);
    // Empty lines before it leave the output empty: still the first item.
    EXPECT_EQ(toList(crlf({"", "  " + longList})), longList);
    EXPECT_EQ(toList(crlf({"AC:1", longList + QStringLiteral("  XX:1")})), crlf({"AC:1", longList, "XX:1"}));
}

TEST(ListConversion, ValueListWithoutCommaWithinEightyIsCutAtTheNextComma)
{
    const QString longValue = repeated(u"7", 90);
    EXPECT_EQ(toList(crlf({"AC:1", QStringLiteral("PL:") + longValue + QStringLiteral(",1,2")})),
              crlf({"AC:1", QStringLiteral("PL:") + longValue + QStringLiteral(","), "PL:1,2"}));
    EXPECT_EQ(toList(crlf({"AC:1", QStringLiteral("PL:1,") + longValue + QStringLiteral(",1,") + longValue})),
              crlf({"AC:1", QStringLiteral("PL:1,"), QStringLiteral("PL:") + longValue + QStringLiteral(","),
                    QStringLiteral("PL:1,"), QStringLiteral("PL:") + longValue}));
}

TEST(ListConversion, ValueListWithoutCommaToCutAtStandsWhole)
{
    const QString noComma = QStringLiteral("PL:") + repeated(u"7", 90);
    EXPECT_EQ(toList(crlf({"AC:1", noComma})), crlf({"AC:1", noComma}));
    // A comma that ends the item separates nothing.
    EXPECT_EQ(toList(crlf({"AC:1", noComma + QStringLiteral(",")})), crlf({"AC:1", noComma + QStringLiteral(",")}));
}

} // namespace
} // namespace zuno
