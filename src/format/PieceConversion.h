#pragma once
// The two conversions of one large text on several threads: the text is cut
// at the starts of lines that the conversion cannot join to the lines before
// them, each piece is converted on its own, and the results are handed on in
// order. The result is byte for byte the whole text's, and so is the first
// fault (its line counted in the whole text).
#include "format/Conversion.h"
#include "format/KnownPieces.h"

#include <QList>

namespace zuno {

enum class ConversionDirection { ToRecord, ToList };

// Where the pieces of `text` begin (the first at 0), about `pieceSize` bytes
// apart. A cut stands at the start of a line
// - to the Record layout: a record's first line (AC:, but not AC:OS or
//   AC:PR) after a line that is not empty and no PL line: the line being
//   built ends there with a line break, whatever came before;
// - to the List layout: a line that is no PL line once trimmed, after a line
//   that is not empty once trimmed: nothing is taken up across the cut, and
//   items stand before it.
QList<qsizetype> conversionCuts(QByteArrayView text, ConversionDirection direction, qsizetype pieceSize);

// The threads a conversion uses: one a core, at most four.
int conversionThreads();

// Converts `text` in the pieces conversionCuts gives, on `threads` threads
// (the calling one among them), handing the result to `sink` in order as the
// pieces are done; no more than a few pieces' results are held at once. On a
// fault what was handed over is only the result's beginning.
Result<void, ConversionFault> convertInPieces(QByteArrayView text, ConversionDirection direction,
                                              const ConversionSink &sink, int threads,
                                              qsizetype pieceSize = qsizetype(1) << 20);

// What the Record layout of the List text written from a Record text came
// to, against that Record text.
struct RecordComingBack {
    enum class Kind {
        Same,    // it is the Record text itself
        Differs, // it is `text`
        Unknown, // the List text does not convert back: the caller finds out why
    };
    Kind kind = Kind::Same;
    QByteArray text;
    // The pieces of the Record text that came back as they are, each alone
    // (those known before among them).
    KnownPieces cameBack;
};

// The List layout of `recordText`, handed to `sink` in order as
// convertInPieces does, and beside it, on the same threads and while each
// List piece is in memory, that piece's Record layout compared with the
// Record piece it came from: no second pass over the List text. The pieces
// are cut where the List text can be cut for the Record layout too (before a
// record's first line); where a cut turns out not to be one, the pieces on
// either side are converted back together (with `anyListCut`, the pieces
// are cut wherever the List conversion allows, as a test of that joining).
// Fails as the List conversion does.
Result<RecordComingBack, ConversionFault> convertToListComingBack(QByteArrayView recordText,
                                                                  const ConversionSink &sink, int threads,
                                                                  qsizetype pieceSize = qsizetype(1) << 20,
                                                                  bool anyListCut = false);

// The same, the text cut as planPieces cuts it with what is `known` of it:
// a piece known to come back as it is is converted to the List layout only.
Result<RecordComingBack, ConversionFault> convertToListComingBack(QByteArrayView recordText,
                                                                  const ConversionSink &sink, int threads,
                                                                  const KnownPieces &known,
                                                                  qsizetype pieceSize = qsizetype(1) << 20);

} // namespace zuno
