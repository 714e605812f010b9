#pragma once
// The words of the conversions' faults and of the Record view's round-trip
// warning, as the editor's message boxes and the command line show them.
// Qt Core only, so that the command-line converter shares them.

#include "format/Conversion.h"
#include "format/RoundTrip.h"

#include <QString>
#include <QStringView>

namespace zuno {

// "Invalid ZUNO Data Item '<line>' on line <number>" (counting from 1) or
// "Unexpected data '<rest of the line>'.", the line quoted as quotedLine()
// quotes it.
QString conversionWarning(const ConversionFault &fault);
// The title of every conversion warning: "Invalid File".
QString conversionWarningTitle();

// "The data item '<line>' on line <number> would not come back unchanged
// from the Record view: <what would happen to it>."
QString roundTripWarning(const RoundTripChange &change);

// A line as a message quotes it: at most its first QuotedLineLimit
// characters, followed by "…" when it is longer, with its control
// characters shown as visibleControls() shows them, so that neither a
// terminal nor a message box is flooded or disturbed by it. A line of the
// Record layout (80 characters at most) is quoted whole.
inline constexpr qsizetype QuotedLineLimit = 80;
QString quotedLine(QStringView line);

// `text` with its control characters other than the tab written as escapes
// ("\r", "\n", "\x1b", "\u2028").
QString visibleControls(QStringView text);

} // namespace zuno
