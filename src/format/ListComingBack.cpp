#include "format/PieceConversion.h"

#include "format/PieceLines.h"
#include "format/PieceWork.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace zuno {

using namespace pieces;

namespace {

QByteArrayView firstLine(QByteArrayView text)
{
    return text.first(lineEnd(text.data(), text.data() + text.size()) - text.data());
}

QByteArrayView lastLine(QByteArrayView text)
{
    const qsizetype lineBreak = text.lastIndexOf("\r\n");
    return lineBreak < 0 ? text : text.sliced(lineBreak + 2);
}

// A Record line that a record begins on, as far as the Record text tells:
// its first item AC:, not AC:OS or AC:PR.
bool beginsRecord(const char *begin, const char *end)
{
    if (!startsWith(begin, end, "AC:"))
        return false;
    for (const char *code : {"AC:OS", "AC:PR"}) {
        if (startsWith(begin, end, code) && (end - begin == 5 || begin[5] == ' '))
            return false;
    }
    return true;
}

// A Record line whose last item is no PL item.
bool endsWithoutValueList(const char *begin, const char *end)
{
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    if (begin == end)
        return false;
    const char *item = end;
    while (item > begin && !(item - begin >= 2 && item[-1] == ' ' && item[-2] == ' '))
        --item;
    return !startsWith(item, end, "PL:");
}

// One piece of the Record text: its List layout, whether that may stand on
// either side of a cut of the Record conversion, and its Record layout
// against the piece.
struct ListPiece {
    ConversionResult<QByteArray> list;
    bool startsRecord = false;
    bool endsRecord = false;
    std::optional<bool> same; // none: it does not convert back
    QByteArray back;          // when not the same
};

// The List text of a piece without the line break that joins it to the
// pieces before it.
QByteArrayView ownListText(const QByteArray &list, bool first)
{
    return !first && list.startsWith("\r\n") ? QByteArrayView(list).sliced(2) : QByteArrayView(list);
}

// Pieces converted back together, and what came of it.
struct Group {
    qsizetype first = 0;
    std::vector<ListPiece> pieces;
};

} // namespace

Result<RecordComingBack, ConversionFault> convertToListComingBack(QByteArrayView recordText,
                                                                  const ConversionSink &sink, int threads,
                                                                  qsizetype pieceSize, bool anyListCut)
{
    QList<qsizetype> cuts = anyListCut ? conversionCuts(recordText, ConversionDirection::ToList, pieceSize)
                                       : cutsWhere(recordText, pieceSize, [](const char *previousStart,
                                                                             const char *previousEnd,
                                                                             const char *start, const char *finish) {
                                             return endsWithoutValueList(previousStart, previousEnd)
                                                 && beginsRecord(start, finish);
                                         });
    const qsizetype count = cuts.size();
    cuts.append(recordText.size() + 2); // as though a line break followed the text
    auto recordPiece = [&](qsizetype first, qsizetype last) {
        return recordText.sliced(cuts[first], cuts[last + 1] - 2 - cuts[first]);
    };

    // The Record text as it comes back: runs of pieces, each the same as
    // the Record text or replaced.
    struct Run {
        qsizetype first, last;
        std::optional<QByteArray> replaced;
    };
    std::vector<Run> runs;
    Rooms rooms;
    bool unknown = false;
    Group group;
    auto closeGroup = [&] {
        if (group.pieces.empty() || unknown)
            return;
        const qsizetype last = group.first + qsizetype(group.pieces.size()) - 1;
        std::optional<bool> same;
        QByteArray back;
        if (group.pieces.size() == 1) {
            same = group.pieces.front().same;
            back = std::move(group.pieces.front().back);
        } else {
            QByteArray list;
            for (size_t i = 0; i < group.pieces.size(); ++i) {
                const QByteArray &text = group.pieces[i].list.value();
                list += i == 0 ? ownListText(text, group.first == 0) : QByteArrayView(text);
            }
            if (auto converted = convertToRecordLayout(list); converted.ok()) {
                same = converted.value() == recordPiece(group.first, last);
                back = std::move(converted).value();
            }
        }
        for (ListPiece &piece : group.pieces)
            rooms.giveBack(std::move(piece.list).value());
        unknown = !same;
        if (same)
            runs.push_back(Run{group.first, last, *same ? std::nullopt : std::optional<QByteArray>(std::move(back))});
        group.pieces.clear();
    };

    std::optional<ConversionFault> fault;
    runInOrder(
        count, std::max(threads, 1),
        [&](qsizetype index) {
            const QByteArrayView piece = recordPiece(index, index);
            ListPiece done{convertPiece(piece, ConversionDirection::ToList, index == 0, rooms), false, false,
                           std::nullopt, {}};
            if (!done.list.ok())
                return done;
            const QByteArrayView list = ownListText(done.list.value(), index == 0);
            const QByteArrayView head = firstLine(list);
            const QByteArrayView tail = lastLine(list);
            done.startsRecord = !list.isEmpty() && mayStartPiece(head.begin(), head.end(), ConversionDirection::ToRecord);
            done.endsRecord = mayEndPiece(tail.begin(), tail.end(), ConversionDirection::ToRecord);
            // Compared as it is made; built only where it differs.
            if (recordLayoutEquals(list, piece)) {
                done.same = true;
            } else if (auto back = convertToRecordLayoutInto(list, rooms.take()); back.ok()) {
                done.same = false;
                done.back = std::move(back).value();
            }
            return done;
        },
        [&](qsizetype index, ListPiece done) {
            if (!done.list.ok()) {
                ConversionFault located = done.list.error();
                located.lineNumber += lineBreaksBefore(recordText, cuts[index]);
                fault = located;
                return false;
            }
            sink(done.list.value());
            const bool cut = index == 0 || (group.pieces.back().endsRecord && done.startsRecord);
            if (cut) {
                closeGroup();
                group.first = index;
            }
            group.pieces.push_back(std::move(done));
            return true;
        });
    if (fault)
        return *fault;
    closeGroup();

    RecordComingBack result;
    if (unknown) {
        result.kind = RecordComingBack::Kind::Unknown;
        return result;
    }
    if (std::all_of(runs.begin(), runs.end(), [](const Run &run) { return !run.replaced; }))
        return result;
    result.kind = RecordComingBack::Kind::Differs;
    result.text.reserve(recordText.size() + recordText.size() / 8 + 64);
    for (const Run &run : runs) {
        if (&run != &runs.front())
            result.text += "\r\n";
        result.text += run.replaced ? QByteArrayView(*run.replaced) : recordPiece(run.first, run.last);
    }
    return result;
}

} // namespace zuno
