#include "format/PieceConversion.h"

#include "format/PieceLines.h"
#include "format/PieceWork.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <thread>

namespace zuno {

using namespace pieces;

int conversionThreads()
{
    return std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
}

QList<qsizetype> conversionCuts(QByteArrayView text, ConversionDirection direction, qsizetype pieceSize)
{
    return cutsWhere(text, pieceSize, [direction](const char *previousStart, const char *previousEnd,
                                                  const char *start, const char *finish) {
        return mayEndPiece(previousStart, previousEnd, direction) && mayStartPiece(start, finish, direction);
    });
}

Result<void, ConversionFault> convertInPieces(QByteArrayView text, ConversionDirection direction,
                                              const ConversionSink &sink, int threads, qsizetype pieceSize)
{
    QList<qsizetype> cuts = conversionCuts(text, direction, pieceSize);
    const qsizetype count = cuts.size();
    cuts.append(text.size() + 2); // as though a line break followed the text
    if (count == 1 || threads < 2) {
        return direction == ConversionDirection::ToRecord ? convertToRecordLayout(text, sink)
                                                          : convertToListLayout(text, sink);
    }
    std::optional<ConversionFault> fault;
    Rooms rooms;
    pieces::runInOrder(
        count, threads,
        [&](qsizetype index) {
            return convertPiece(text.sliced(cuts[index], cuts[index + 1] - 2 - cuts[index]), direction, index == 0,
                                rooms);
        },
        [&](qsizetype index, ConversionResult<QByteArray> done) {
            if (!done.ok()) {
                ConversionFault located = done.error();
                located.lineNumber += lineBreaksBefore(text, cuts[index]);
                fault = located;
                return false;
            }
            // To the Record layout, the line being built before a cut ends
            // there with a line break.
            if (direction == ConversionDirection::ToRecord && index > 0)
                sink(QByteArrayView("\r\n"));
            sink(done.value());
            rooms.giveBack(std::move(done).value());
            return true;
        });
    if (fault)
        return *fault;
    return {};
}

} // namespace zuno
