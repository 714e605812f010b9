// A save from the Record view converts back only the pieces not known to
// come back as they are. After edits in various places, the pieces still
// taken as known do come back, and the save's List text, fault and Record
// text coming back are those of a save that checks every piece.
#include "format/PieceConversion.h"
#include "format/PieceLines.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace zuno {
namespace {

// Record texts as the conversions make them (most come back as they are),
// and a few that do not.
QByteArray recordText(std::mt19937 &rng)
{
    static const char *const lines[] = {"AC:1", "AC:22", "AC:OS", "BG:A1", "EG:3", "XX:REMARK", "PL:1,2,3",
                                        "       PL:5,6", "", "AC:1  BG:2  PL:8,9", "CP:1", "AC:3  PL:1,2",
                                        "SP:9  XX:8", "XX:A  YY:B"};
    std::uniform_int_distribution<int> pick(0, int(std::size(lines)) - 1);
    std::uniform_int_distribution<int> count(1, 80);
    QByteArray list;
    for (int i = count(rng); i > 0; --i)
        list += QByteArray(lines[pick(rng)]) + (i > 1 ? "\r\n" : "");
    const auto listed = convertToListLayout(list);
    const auto record = listed.ok() ? convertToRecordLayout(listed.value()) : listed;
    return rng() % 8 == 0 || !record.ok() ? list : record.value();
}

// Where an edit falls: its position and the bytes it removes, given the
// text and where a save cut it before the edit.
using Span = std::pair<qsizetype, qsizetype>;
struct Place {
    const char *name;
    std::function<Span(qsizetype size, qsizetype middleCut, qsizetype secondCut)> where;
};

const Place Places[] = {
    {"at the start", [](qsizetype, qsizetype, qsizetype) { return Span{0, 0}; }},
    {"at the end", [](qsizetype size, qsizetype, qsizetype) { return Span{size, 0}; }},
    {"at a cut", [](qsizetype, qsizetype cut, qsizetype) { return Span{cut, 0}; }},
    {"before a cut's line break",
     [](qsizetype, qsizetype cut, qsizetype) { return Span{std::max(cut - 2, qsizetype(0)), 0}; }},
    {"inside a cut's line break",
     [](qsizetype, qsizetype cut, qsizetype) { return Span{std::max(cut - 1, qsizetype(0)), 0}; }},
    {"a cut's line break removed",
     [](qsizetype size, qsizetype, qsizetype second) { return second > 0 ? Span{second - 2, 2} : Span{size, 0}; }},
    {"inside a piece",
     [](qsizetype size, qsizetype, qsizetype) { return Span{size / 3, std::min(size - size / 3, qsizetype(3))}; }},
    {"across a cut",
     [](qsizetype size, qsizetype cut, qsizetype) {
         const qsizetype from = std::max(cut - 5, qsizetype(0));
         return Span{from, std::min(cut + 5, size) - from};
     }},
    {"all of it", [](qsizetype size, qsizetype, qsizetype) { return Span{0, size}; }},
};

const char *const Inserted[] = {"", "X", "\r\n", "\r\nAC:9", "AC:OS\r\n", "  PL:1,2", "\r\nXX:A  YY:B", "junk\r\n"};

TEST(KnownPieces, ASaveAfterEditsComesToWhatAFullCheckFinds)
{
    std::mt19937 rng(15);
    std::uniform_int_distribution<int> size(10, 80);
    qsizetype skipped = 0, pieces = 0;
    for (int round = 0; round < 150; ++round) {
        const QByteArray before = recordText(rng);
        const qsizetype pieceSize = size(rng);
        KnownPieces found;
        findPiecesComingBack(before, found, {}, pieceSize);
        const QList<qsizetype> cuts = planPieces(before, found, pieceSize).cuts;
        for (const Place &place : Places) {
            for (const char *inserted : Inserted) {
                const auto [position, removed] =
                    place.where(before.size(), cuts[cuts.size() / 2], cuts.size() > 1 ? cuts[1] : 0);
                SCOPED_TRACE(testing::Message() << place.name << " '" << inserted << "' in "
                                                << before.toStdString());
                const QByteArray text = QByteArray(before).replace(position, removed, inserted);
                KnownPieces known = found;
                known.edited(position, removed, qsizetype(std::strlen(inserted)));

                // Each piece still taken as known comes back as it is.
                const PiecePlan plan = planPieces(text, known, pieceSize);
                for (qsizetype i = 0; i < plan.cuts.size(); ++i) {
                    if (!plan.known[size_t(i)])
                        continue;
                    const qsizetype to = i + 1 < plan.cuts.size() ? plan.cuts[i + 1] - 2 : text.size();
                    const QByteArrayView piece = QByteArrayView(text).sliced(plan.cuts[i], to - plan.cuts[i]);
                    const auto list = convertToListLayoutInto(piece, {}, i > 0);
                    ASSERT_TRUE(list.ok() && recordLayoutEquals(pieces::ownListText(list.value(), i == 0), piece));
                    ++skipped;
                }
                pieces += plan.cuts.size();

                QByteArray fullList, savedList;
                const auto full =
                    convertToListComingBack(text, [&](QByteArrayView p) { fullList += p; }, 2, pieceSize);
                const auto saved =
                    convertToListComingBack(text, [&](QByteArrayView p) { savedList += p; }, 2, known, pieceSize);
                ASSERT_EQ(saved.ok(), full.ok());
                if (!full.ok()) {
                    ASSERT_EQ(saved.error(), full.error());
                    continue;
                }
                ASSERT_EQ(savedList, fullList);
                ASSERT_EQ(saved.value().kind, full.value().kind);
                ASSERT_EQ(saved.value().text, full.value().text);
            }
        }
    }
    // Most pieces were known and not converted back.
    EXPECT_GT(skipped, pieces / 2);
}

} // namespace
} // namespace zuno
