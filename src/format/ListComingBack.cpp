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

// Pieces converted back together, and what came of it.
struct Group {
    qsizetype first = 0;
    std::vector<ListPiece> pieces;
};

// The List layout of `recordText` cut at `cuts`, and what comes back from
// it; a piece marked `known` comes back as it is.
Result<RecordComingBack, ConversionFault> comingBack(QByteArrayView recordText, const ConversionSink &sink,
                                                     int threads, QList<qsizetype> cuts,
                                                     const std::vector<bool> &known)
{
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

    KnownPieces cameBack;
    cameBack.reset(recordText.size());
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
            if (known[size_t(index)] || recordLayoutEquals(list, piece)) {
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
            if (done.same == true)
                cameBack.add(cuts[index], cuts[index + 1] - 2);
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
    result.cameBack = std::move(cameBack);
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

} // namespace

Result<RecordComingBack, ConversionFault> convertToListComingBack(QByteArrayView recordText,
                                                                  const ConversionSink &sink, int threads,
                                                                  qsizetype pieceSize, bool anyListCut)
{
    QList<qsizetype> cuts = anyListCut ? conversionCuts(recordText, ConversionDirection::ToList, pieceSize)
                                       : cutsWhere(recordText, pieceSize, recordCut);
    const std::vector<bool> known(size_t(cuts.size()), false);
    return comingBack(recordText, sink, threads, std::move(cuts), known);
}

Result<RecordComingBack, ConversionFault> convertToListComingBack(QByteArrayView recordText,
                                                                  const ConversionSink &sink, int threads,
                                                                  const KnownPieces &known, qsizetype pieceSize)
{
    PiecePlan plan = planPieces(recordText, known, pieceSize);
    return comingBack(recordText, sink, threads, std::move(plan.cuts), plan.known);
}

} // namespace zuno
