#include "cli/PieceConvert.h"

namespace zuno {

Result<void, ConversionFault> convertForOutput(QByteArrayView text, bool toRecord, const ConversionSink &sink)
{
    return convertInPieces(text, toRecord ? ConversionDirection::ToRecord : ConversionDirection::ToList, sink,
                           conversionThreads());
}

Result<void, ConversionFault> convertCheckedFirst(QByteArrayView text, bool toRecord, const ConversionSink &sink)
{
    if (auto checked = convertForOutput(text, toRecord, [](QByteArrayView) {}); !checked.ok())
        return checked;
    return convertForOutput(text, toRecord, sink);
}

} // namespace zuno
