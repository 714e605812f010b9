#include "format/KnownPieces.h"

#include "format/PieceLines.h"

#include <algorithm>

namespace zuno {

using namespace pieces;

void KnownPieces::reset(qsizetype size)
{
    m_size = size;
    m_pieces.clear();
}

void KnownPieces::add(qsizetype from, qsizetype to)
{
    const auto at = std::lower_bound(m_pieces.begin(), m_pieces.end(), from,
                                     [](const Piece &piece, qsizetype start) { return piece.from < start; });
    m_pieces.insert(at, Piece{from, to, from == 0});
}

void KnownPieces::edited(qsizetype position, qsizetype removed, qsizetype inserted)
{
    if (m_size < 0)
        return;
    const qsizetype end = position + removed;
    const qsizetype shift = inserted - removed;
    // Bytes inserted at either end of a piece touch it too: its first and
    // last lines decide the cuts around it.
    std::erase_if(m_pieces, [&](const Piece &piece) { return piece.from <= end && position <= piece.to; });
    for (Piece &piece : m_pieces) {
        if (piece.from > end) {
            piece.from += shift;
            piece.to += shift;
        }
    }
    m_size += shift;
}

namespace {

// The start of the line that ends at `at`.
const char *lineStart(const char *begin, const char *at)
{
    while (at > begin && !(at - begin >= 2 && at[-2] == '\r' && at[-1] == '\n'))
        --at;
    return at;
}

// Whether the text may be cut before byte `at`, as the save cuts it.
bool cutBefore(QByteArrayView text, qsizetype at)
{
    if (at < 2 || at >= text.size() || text[at - 2] != '\r' || text[at - 1] != '\n')
        return false;
    const char *const begin = text.data();
    const char *const previousEnd = begin + at - 2;
    return recordCut(lineStart(begin, previousEnd), previousEnd, begin + at, lineEnd(begin + at, begin + text.size()));
}

bool comesBackAlone(QByteArrayView piece, bool first, Rooms &rooms)
{
    auto list = convertPiece(piece, ConversionDirection::ToList, first, rooms);
    if (!list.ok())
        return false;
    const bool same = recordLayoutEquals(ownListText(list.value(), first), piece);
    rooms.giveBack(std::move(list).value());
    return same;
}

} // namespace

PiecePlan planPieces(QByteArrayView recordText, const KnownPieces &known, qsizetype pieceSize)
{
    PiecePlan plan;
    // Lines [from, to) that begin the text or follow a cut, cut as the save
    // cuts a text of which nothing is known.
    auto cutRest = [&](qsizetype from, qsizetype to) {
        for (const qsizetype cut : cutsWhere(recordText.sliced(from, to - from), pieceSize, recordCut)) {
            plan.cuts.append(from + cut);
            plan.known.push_back(false);
        }
    };
    qsizetype next = 0; // where the next piece begins
    if (known.textSize() == recordText.size()) {
        for (const KnownPieces::Piece &piece : known.pieces()) {
            // A piece stands where the text may still be cut on either side
            // of it, and where it is first only if it was.
            const bool stands = piece.from >= next && piece.to <= recordText.size()
                && piece.first == (piece.from == 0) && (piece.from == 0 || cutBefore(recordText, piece.from))
                && (piece.to == recordText.size() || cutBefore(recordText, piece.to + 2));
            if (!stands)
                continue;
            if (piece.from > next)
                cutRest(next, piece.from - 2);
            plan.cuts.append(piece.from);
            plan.known.push_back(true);
            next = piece.to + 2;
        }
    }
    if (next <= recordText.size())
        cutRest(next, recordText.size());
    return plan;
}

void findPiecesComingBack(QByteArrayView recordText, KnownPieces &known, const std::function<bool()> &stopped,
                          qsizetype pieceSize)
{
    if (known.textSize() != recordText.size())
        known.reset(recordText.size());
    const PiecePlan plan = planPieces(recordText, known, pieceSize);
    Rooms rooms;
    for (qsizetype i = 0; i < plan.cuts.size(); ++i) {
        if (plan.known[size_t(i)])
            continue;
        if (stopped && stopped())
            return;
        const qsizetype from = plan.cuts[i];
        const qsizetype to = i + 1 < plan.cuts.size() ? plan.cuts[i + 1] - 2 : recordText.size();
        if (comesBackAlone(recordText.sliced(from, to - from), from == 0, rooms))
            known.add(from, to);
    }
}

} // namespace zuno
