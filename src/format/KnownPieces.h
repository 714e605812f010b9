#pragma once
// Pieces of a Record text known to come back from their List layout as they
// are, so that a save from the Record view converts back only the rest. Each
// piece was found so on its own, cut where the save cuts the text; that is a
// fact of its bytes (and of whether it begins the text), so it holds for as
// long as no edit touches them. Edits move the pieces after them and drop
// those they touch; a text of another size than the one the pieces were
// kept for has none.
#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace zuno {

class KnownPieces {
public:
    struct Piece {
        qsizetype from = 0;
        qsizetype to = 0;   // the piece's end, before the line break after it
        bool first = false; // it began the text
        friend bool operator==(const Piece &, const Piece &) = default;
    };

    // Nothing known of a text of `size` bytes.
    void reset(qsizetype size);
    // Bytes [from, to) of the text come back as they are. Pieces are added
    // in order, none overlapping the last.
    void add(qsizetype from, qsizetype to);
    // `removed` bytes at `position` gave way to `inserted` others.
    void edited(qsizetype position, qsizetype removed, qsizetype inserted);

    // The size of the text the pieces are of (-1: none yet).
    qsizetype textSize() const { return m_size; }
    const std::vector<Piece> &pieces() const { return m_pieces; }

private:
    qsizetype m_size = -1;
    std::vector<Piece> m_pieces; // in order, none overlapping
};

// How a save cuts `recordText`: the known pieces that still stand between
// cuts of the text, and the rest cut about `pieceSize` bytes apart. Piece i
// runs from cuts[i] to the line break before cuts[i + 1] (or the text's end).
struct PiecePlan {
    QList<qsizetype> cuts;
    std::vector<bool> known;
};
PiecePlan planPieces(QByteArrayView recordText, const KnownPieces &known, qsizetype pieceSize = qsizetype(1) << 20);

// Converts the pieces of the plan not known yet to the List layout and back,
// one at a time on the calling thread, and adds to `known` those that come
// back as they are. Asks `stopped` between pieces.
void findPiecesComingBack(QByteArrayView recordText, KnownPieces &known, const std::function<bool()> &stopped,
                          qsizetype pieceSize = qsizetype(1) << 20);

} // namespace zuno
