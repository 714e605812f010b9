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

// The first List line whose data item would not come back as it was, and
// what would happen to it. The words are the editor's and the command
// line's (ConversionMessages).
struct RoundTripChange {
    enum class Consequence {
        ItemAdded,       // `item` would be added after the line's item
        ConversionStops, // saving from the Record view would stop at `stop`
        SplitIntoItems,  // it would come back as several items
        ComesBackAs,     // it would come back as `item`
        Lost,            // it would be lost
    };
    qsizetype lineNumber = -1; // from 0
    QString line;              // the line as it stands in the text
    Consequence consequence = Consequence::Lost;
    // ItemAdded, ComesBackAs: the item as it would come back, from where it
    // differs, at most about 80 characters and "..." where cut.
    QString item;
    ConversionFault stop; // ConversionStops: the List conversion's fault
    // The line holds a run of two spaces, which the List layout reads as the
    // gap between two items (the cause of every consequence but ItemAdded).
    bool holdsTwoSpaces = false;
};

template <typename Text>
struct RecordRoundTrip {
    Text record;            // the Record layout of the text
    bool unchanged = true;  // every data item comes back as it was
    RoundTripChange change; // when not
};

// Converts the List text to the Record layout and back, and compares the two
// List texts: a text that comes back character for character (as ZUNOPad
// writes it) costs the two conversions and holds only the Record text;
// any other is then compared item by item. Fails when the Record conversion
// stops at an invalid line.
Result<RecordRoundTrip<QByteArray>, ConversionFault> checkRecordRoundTrip(QByteArrayView listText);

} // namespace zuno
