// After a save from the Record view, the Record layout of what was written is
// built only where it differs from the text shown.
#include "document/RecordViewSave.h"
#include "platform/doubles/FakeTextFiles.h"

#include <gtest/gtest.h>

namespace zuno {
namespace {

TEST(RecordViewSave, RecordLayoutIsBuiltOnlyWhereItDiffersFromTheTextShown)
{
    // Record layout of "AC:1\r\nBG:2\r\nXX:3": "AC:1\r\nBG:2  XX:3".
    const QByteArray list = "AC:1\r\nBG:2\r\nXX:3";
    struct Case {
        const char *shown;
        std::optional<QByteArray> expected; // nothing: the text shown stays
    };
    const Case cases[] = {
        {"AC:1\r\nBG:2  XX:3", std::nullopt},
        {"AC:1  BG:2  XX:3", QByteArray("AC:1\r\nBG:2  XX:3")},  // differs in the middle
        {"AC:1\r\nBG:2  XX:3\r\nEG:4", QByteArray("AC:1\r\nBG:2  XX:3")}, // the shown text runs on
        {"AC:1", QByteArray("AC:1\r\nBG:2  XX:3")},               // it stops short
        {"", QByteArray("AC:1\r\nBG:2  XX:3")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shown);
        const auto record = recordLayoutUnlessShown(list, c.shown);
        ASSERT_TRUE(record.ok());
        EXPECT_EQ(record.value(), c.expected);
    }
    // An empty text shown as something is shown empty.
    const auto empty = recordLayoutUnlessShown("", "   ");
    ASSERT_TRUE(empty.ok());
    ASSERT_TRUE(empty.value().has_value());
    EXPECT_TRUE(empty.value()->isEmpty());
    // A text that cannot be shown as records fails as the conversion does.
    const auto invalid = recordLayoutUnlessShown("AC:1\r\nB", "AC:1");
    ASSERT_FALSE(invalid.ok());
    EXPECT_EQ(invalid.error().lineNumber, 1);
}

// A text of many records in the Record layout, as the conversion makes it:
// more than a megabyte, so several pieces.
QByteArray manyRecords()
{
    QByteArray list;
    for (int record = 0; record < 100000; ++record)
        list += "AC:" + QByteArray::number(record) + "\r\nBG:5\r\nPL:1,2,3,4\r\nXX:ABC\r\n";
    list += "EG:7";
    return convertToRecordLayout(list).value();
}

// The save writes the List layout and, piece by piece beside the write,
// finds whether its Record layout is the text shown; where it is not, the
// text to show is the whole Record layout of what was written.
TEST(RecordViewSave, WritesTheListLayoutAndComparesItsRecordLayoutWithTheTextShown)
{
    using Kind = RecordComingBack::Kind;
    const QByteArray many = manyRecords();
    QByteArray oneJoined = many; // one record in the middle typed on one line
    const qsizetype middle = oneJoined.indexOf("AC:50000\r\n");
    oneJoined.replace(middle, int(qstrlen("AC:50000\r\n")), "AC:50000  ");
    const struct {
        const char *name;
        QByteArray shown;
        Kind kind;
    } cases[] = {
        {"as the conversion makes it", "AC:1\r\nBG:5  PL:1,2,3", Kind::Same},
        {"typed by hand", "AC:1  BG:2", Kind::Differs},
        {"many pieces", many, Kind::Same},
        {"many pieces, one record typed by hand", oneJoined, Kind::Differs},
        {"not shown as records again", "AC:1  B  XX:2", Kind::Unknown},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeTextFiles files;
        const ListLayoutSave save = saveListLayout(files, QStringLiteral("/R.PRJ"), c.shown, TextFileFormat{}, {});
        ASSERT_TRUE(save.written.ok());
        const QByteArray list = convertToListLayout(c.shown).value();
        EXPECT_EQ(files.bytes.value(QStringLiteral("/R.PRJ")), list);
        ASSERT_EQ(save.back.kind, c.kind);
        if (c.kind == Kind::Differs) {
            EXPECT_EQ(save.back.text, convertToRecordLayout(list).value());
            EXPECT_NE(save.back.text, c.shown);
        }
    }
}

} // namespace
} // namespace zuno
