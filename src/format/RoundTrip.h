#pragma once
// Whether a List text comes back from the Record layout with the same data
// items. A save from the Record view writes the List layout back to the
// file, so a text that does not would lose, split or merge items there.
//
// Both texts are compared as the List layout reads them: each item trimmed,
// empty lines dropped, and the consecutive PL lines of one item taken as one
// value list, wherever they were cut (a comma joins two PL lines unless one
// already ends or begins the join).

#include "format/Conversion.h"

#include <QString>
#include <QStringView>

namespace zuno {

struct RecordRoundTrip {
    enum class Outcome {
        Unchanged, // every data item comes back as it was
        Invalid,   // the Record conversion stops at an invalid line
        Changed,   // some data item would not come back as it was
    };
    Outcome outcome = Outcome::Unchanged;
    // The Record conversion's result: the Record text, or its own message
    // when Invalid.
    ConversionResult record;
    // When Changed: the first List line that would change (numbered from 0)
    // and a message that quotes it and says what would happen to it.
    qsizetype lineNumber = -1;
    QString message;
};

// Converts the List text to the Record layout and back, and compares the two
// List texts item by item. Costs the two conversions and one pass over each
// text.
RecordRoundTrip checkRecordRoundTrip(QStringView listText);

} // namespace zuno
