#pragma once
// Where the caret stands in the file's structure: the record (its AC item,
// and its NM item where it has one) and the line item (BG, CP, SP, EG or
// DL) that the caret's line belongs to. Read from the lines around the
// caret, a bounded number of them, so that it costs the same in any file.
#include "items/ItemMarks.h"

#include <QString>

namespace zuno {

struct RecordPlace {
    QString record;   // "AC:7", or empty before the first record
    QString name;     // "NM:MAIN ROAD", or empty
    QString lineItem; // "BG:A1", or empty

    // The three, two spaces apart, those that are empty left out.
    QString text() const;
};

// `lines` reads the control's lines in the layout last checked.
RecordPlace recordPlaceAt(const ItemMarks &lines, qint64 line);

} // namespace zuno
