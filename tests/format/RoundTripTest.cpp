// Whether a List text comes back from the Record layout with the same data
// items: the check before the Record view and in --check.
#include "format/RoundTrip.h"
#include "format/ConversionMessages.h"

#include "TestText.h"

#include <gtest/gtest.h>

#include <QDir>

namespace zuno {
namespace {

using test::crlf;
using test::valueList;

using Trip = Result<RecordRoundTrip<QByteArray>, ConversionFault>;
Trip check(const QString &list)
{
    return checkRecordRoundTrip(list.toUtf8());
}

// The warning for a text that would change.
QString expectChanged(const QString &list, qsizetype lineNumber)
{
    const Trip checked = check(list);
    if (!checked.ok()) {
        ADD_FAILURE() << "invalid: " << list.toStdString();
        return QString();
    }
    const RecordRoundTrip<QByteArray> &trip = checked.value();
    const QString warning = roundTripWarning(trip.change);
    EXPECT_FALSE(trip.unchanged) << list.toStdString();
    EXPECT_EQ(trip.change.lineNumber, lineNumber) << warning.toStdString();
    // The Record text is there all the same, for a user who switches anyway.
    EXPECT_FALSE(trip.record.isEmpty());
    return warning;
}

void expectUnchanged(const QString &list)
{
    const Trip checked = check(list);
    ASSERT_TRUE(checked.ok());
    const RecordRoundTrip<QByteArray> &trip = checked.value();
    EXPECT_TRUE(trip.unchanged) << roundTripWarning(trip.change).toStdString();
    EXPECT_EQ(QString::fromUtf8(trip.record), test::toRecord(list));
}

TEST(RoundTrip, ValueWithTwoSpacesIsNamedWithWhatWouldHappen)
{
    // Nothing after the two spaces holds a colon: the save would stop.
    EXPECT_EQ(expectChanged(crlf({"AC:1", "NM:MAIN  ROAD"}), 1),
              QStringLiteral("The data item 'NM:MAIN  ROAD' on line 2 would not come back unchanged from the "
                             "Record view: it holds two spaces in a row, which the List layout reads as the gap "
                             "between two items, so saving from the Record view would stop with the warning "
                             "\"Unexpected data 'NM:MAIN  ROAD'.\""));
    // A colon after them: the value would be split into two items.
    EXPECT_EQ(expectChanged(crlf({"AC:1", "BG:2", "NM:A  B:C", "XX:3"}), 2),
              QStringLiteral("The data item 'NM:A  B:C' on line 3 would not come back unchanged from the "
                             "Record view: it holds two spaces in a row, which the List layout reads as the gap "
                             "between two items, so it would come back as several items."));
    // Followed by an item on the same Record line, the save would not stop,
    // but ROAD would become an item of its own.
    EXPECT_TRUE(expectChanged(crlf({"AC:1", "NM:MAIN  ROAD", "XX:3"}), 1)
                    .endsWith(QStringLiteral("so it would come back as several items.")));
}

TEST(RoundTrip, TwoItemsOnOneListLine)
{
    expectChanged(crlf({"AC:1  XX:2"}), 0);
    expectChanged(crlf({"AC:1", "BG:5", "XX:1  YY:2", "EG:3"}), 2);
    // The line is quoted as it stands.
    EXPECT_TRUE(expectChanged(crlf({"AC:1", "   XX:1  YY:2 "}), 1)
                    .startsWith(QStringLiteral("The data item '   XX:1  YY:2 ' on line 2 ")));
}

TEST(RoundTrip, TextAlreadyInTheRecordLayout)
{
    // Its line 1 holds BG:A1 and the head of the PL item.
    expectChanged(test::WorkedExampleRecord, 1);
    expectChanged(crlf({"AC:1001", "BG:5  PL:1,2,3  XX:ABC", "", "AC:OS", "EG:7"}), 1);
}

TEST(RoundTrip, FirstChangedLineOfAValueListIsNamed)
{
    // The PL item runs over three lines; its third one holds the two spaces.
    const QString warning = expectChanged(crlf({"AC:1", "PL:1,2,", "PL:3,4,", "PL:5  X", "XX:2"}), 3);
    EXPECT_TRUE(warning.startsWith(QStringLiteral("The data item 'PL:5  X' on line 4 "))) << warning.toStdString();
}

TEST(RoundTrip, InvalidLineGetsTheConversionsOwnMessage)
{
    const Trip checked = check(crlf({"AC:1", "NM:A  B", "X Y"}));
    ASSERT_FALSE(checked.ok());
    EXPECT_EQ(conversionWarning(checked.error()), QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 3"));
}

TEST(RoundTrip, WorkedExamplesAndLayoutFreedomsAreNotWarned)
{
    expectUnchanged(QString());
    expectUnchanged(crlf({"AC:1001", "BG:5", "PL:1,2,3", "XX:ABC", "AC:OS", "EG:7"}));
    expectUnchanged(crlf({"AC:7", "BG:A1", valueList(101, 140), "XX:END"}));
    expectUnchanged(test::toList(test::WorkedExampleRecord));
    // What the List layout itself irons out: spaces around items, empty
    // lines, a final line break, and PL lines cut anywhere, with or without
    // their trailing comma.
    expectUnchanged(crlf({"  AC:1 ", "", "XX:A B", " BG:1", "AC:OS", ""}));
    expectUnchanged(crlf({"AC:1", valueList(100, 124), "PL:999"}));
    expectUnchanged(crlf({"AC:7", "BG:A1", valueList(101, 140) + ",", "PL:7,", "PL:8", "XX:END"}));
    expectUnchanged(crlf({"AC:7", "BG:A1", valueList(101, 140), "PL:7", "PL:8", "XX:END"}));
    expectUnchanged(crlf({"       PL:5,6,7", valueList(101, 140)}));
    expectUnchanged(crlf({"       PL:5,6,7", "XX:1", valueList(101, 140)}));
}

TEST(RoundTrip, ExampleFilesAreNotWarned)
{
    const QDir dir(QStringLiteral(ZUNO_EXAMPLES_DIR));
    const QStringList names = dir.entryList(QDir::Files);
    ASSERT_GE(names.size(), 3);
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        SCOPED_TRACE(name.toStdString());
        expectUnchanged(QString::fromUtf8(file.readAll()));
    }
}

} // namespace
} // namespace zuno
