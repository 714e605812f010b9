#pragma once
// The two whole-text conversions between the List layout (one data item per
// line, the layout of the files on disk) and the Record layout (the items of
// a record joined on lines of at most 80 characters, with long PL items
// wrapped onto indented continuation lines).
//
// Both read the text once, convert it in one pass over its lines and build
// the result once. Both check every line on the way; the first fault stops
// the conversion and is reported in `message`, and no partial text is given.

#include <QString>
#include <QStringView>

namespace zuno {

struct ConversionResult {
    bool ok = true;
    QString text;    // the converted text, when ok
    QString message; // when !ok: the warning to show
    QString title;   // when !ok: "Invalid File"
};

// List layout -> Record layout.
ConversionResult convertToRecordLayout(QStringView listText);
// Record layout -> List layout.
ConversionResult convertToListLayout(QStringView recordText);
// The same, except that on a fault `text` holds the List text of the items
// taken off before it, so that a caller can tell where the fault lies.
ConversionResult convertToListLayoutUpToFault(QStringView recordText);

// The title of every conversion warning.
inline constexpr QStringView InvalidFileTitle = u"Invalid File";

} // namespace zuno
