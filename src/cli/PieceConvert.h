#pragma once
// The converter's conversions on every core for one large text
// (PieceConversion.h), into an output that can be taken back on a fault, or
// into one that cannot.
#include "format/PieceConversion.h"

namespace zuno {

// Converts `text` a piece at a time into `sink`.
Result<void, ConversionFault> convertForOutput(QByteArrayView text, bool toRecord, const ConversionSink &sink);

// The same for an output that cannot be taken back (a pipe, a terminal):
// the text is checked whole first, converting into nothing, and only a text
// that converts is converted again into `sink`. Neither the whole result nor
// a partial one is ever held or handed over.
Result<void, ConversionFault> convertCheckedFirst(QByteArrayView text, bool toRecord, const ConversionSink &sink);

} // namespace zuno
