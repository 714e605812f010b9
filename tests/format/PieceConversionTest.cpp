// A text converted in pieces on two threads gives the whole text's result
// byte for byte, or its first fault, for random texts cut into small pieces.
#include "format/PieceConversion.h"

#include <gtest/gtest.h>

#include <random>

namespace zuno {
namespace {

// Lines rich in what decides where a text may be cut and what is joined
// across lines: record starts, PL lines (indented or not), empty lines,
// lines of spaces, runs of two spaces, invalid lines and long value lists.
QByteArray randomText(std::mt19937 &rng)
{
    static const char *const lines[] = {
        "AC:1", "AC:22", "AC:OS", "AC:PR", "BG:A1", "EG:3", "XX:REMARK", "XX:A  YY:B", "PL:1,2,3", "PL:4,",
        "       PL:5,6", "  PL:7", "", "  ", "AC:1  BG:2  PL:8,9", "CP:1", "DL:2", "junk", "AC:1  junk", "\xc3\xa9:1",
        "PL:100,101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117,118,119,120,121,122,123",
        "AC:3  PL:1,2", "XX:1\r", "SP:9  XX:8"};
    std::uniform_int_distribution<int> pick(0, int(std::size(lines)) - 1);
    std::uniform_int_distribution<int> count(0, 60);
    std::uniform_int_distribution<int> invalid(0, 40);
    QByteArray text;
    const int n = count(rng);
    for (int i = 0; i < n; ++i) {
        QByteArray line = lines[pick(rng)];
        // Most texts convert; some stop at a fault.
        while (invalid(rng) != 0 && (line == "junk" || line == "AC:1  junk"))
            line = lines[pick(rng)];
        text += line;
        if (i + 1 < n)
            text += "\r\n";
    }
    return text;
}

TEST(PieceConversion, GivesTheWholeTextsResultOnRandomTexts)
{
    std::mt19937 rng(37);
    std::uniform_int_distribution<int> size(1, 60);
    int cutTexts = 0;
    for (int round = 0; round < 3000; ++round) {
        const QByteArray text = randomText(rng);
        const qsizetype pieceSize = size(rng);
        for (const auto direction : {ConversionDirection::ToRecord, ConversionDirection::ToList}) {
            SCOPED_TRACE(text.toStdString());
            const bool toRecord = direction == ConversionDirection::ToRecord;
            const auto whole = toRecord ? convertToRecordLayout(text) : convertToListLayout(text);
            QByteArray pieces;
            const auto done = convertInPieces(text, direction, [&](QByteArrayView piece) { pieces += piece; }, 2,
                                              pieceSize);
            cutTexts += conversionCuts(text, direction, pieceSize).size() > 1;
            ASSERT_EQ(done.ok(), whole.ok()) << (toRecord ? "to Record" : "to List");
            if (whole.ok())
                ASSERT_EQ(pieces, whole.value()) << (toRecord ? "to Record" : "to List");
            else
                ASSERT_EQ(done.error(), whole.error()) << (toRecord ? "to Record" : "to List");
        }
    }
    EXPECT_GT(cutTexts, 3000) << "most texts were cut";
}

// A conversion into the text of an earlier one uses its memory again when it
// is large enough, and gives the same text either way.
TEST(PieceConversion, ConversionsIntoAnEarlierTextUseItsMemory)
{
    const QByteArray list = "AC:1\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC";
    const QByteArray record = convertToRecordLayout(list).value();
    for (const qsizetype roomSize : {qsizetype(0), qsizetype(4), qsizetype(1) << 16}) {
        SCOPED_TRACE(roomSize);
        QByteArray room(roomSize, 'x');
        const char *memory = room.constData();
        const auto toRecord = convertToRecordLayoutInto(list, std::move(room));
        ASSERT_TRUE(toRecord.ok());
        EXPECT_EQ(toRecord.value(), record);
        EXPECT_EQ(toRecord.value().constData() == memory, roomSize > 1024);
        for (const bool following : {false, true}) {
            QByteArray listRoom(roomSize, 'x');
            const char *listMemory = listRoom.constData();
            const auto toList = convertToListLayoutInto(record, std::move(listRoom), following);
            ASSERT_TRUE(toList.ok());
            EXPECT_EQ(toList.value(), following ? "\r\n" + list : list);
            EXPECT_EQ(toList.value().constData() == listMemory, roomSize > 1024);
        }
    }
}

// A save from the Record view writes the List layout and compares its Record
// layout with the text shown, piece by piece as it writes: the List text, the
// fault, and what comes back are those of the whole-text conversions.
TEST(PieceConversion, ListLayoutComesBackAsTheWholeTextsRecordLayout)
{
    std::mt19937 rng(38);
    std::uniform_int_distribution<int> size(1, 60);
    int kinds[3] = {};
    for (int round = 0; round < 3000; ++round) {
        const QByteArray random = randomText(rng);
        // Also the Record layout the conversions make, which comes back as it is.
        const auto made = convertToListLayout(random);
        const auto canonical = made.ok() ? convertToRecordLayout(made.value()) : made;
        for (const QByteArray &text : {random, canonical.ok() ? canonical.value() : random}) {
            SCOPED_TRACE(text.toStdString());
            const auto list = convertToListLayout(text);
            QByteArray pieces;
            // Cut before records, or anywhere the List conversion can be cut:
            // pieces that cannot be converted back alone are joined.
            const bool anyListCut = round % 2 == 1;
            const auto done = convertToListComingBack(text, [&](QByteArrayView piece) { pieces += piece; }, 2,
                                                      size(rng), anyListCut);
            ASSERT_EQ(done.ok(), list.ok());
            if (!list.ok()) {
                ASSERT_EQ(done.error(), list.error());
                continue;
            }
            ASSERT_EQ(pieces, list.value());
            const auto back = convertToRecordLayout(list.value());
            using Kind = RecordComingBack::Kind;
            const Kind expected = !back.ok() ? Kind::Unknown : back.value() == text ? Kind::Same : Kind::Differs;
            ASSERT_EQ(done.value().kind, expected);
            if (expected == Kind::Differs) {
                ASSERT_EQ(done.value().text, back.value());
            }
            ++kinds[int(expected)];
        }
    }
    EXPECT_GT(kinds[0], 1000) << "texts that come back the same";
    EXPECT_GT(kinds[1], 1000) << "texts that come back otherwise";
}

} // namespace
} // namespace zuno
