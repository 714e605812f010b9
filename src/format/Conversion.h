#pragma once
// The two whole-text conversions between the List layout (one data item per
// line, the layout of the files on disk) and the Record layout (the items of
// a record joined on lines of at most 80 characters, with long PL items
// wrapped onto indented continuation lines).
//
// Both read the text once, convert it in one pass over its lines and build
// the result once. Both check every line on the way; the first fault stops
// the conversion and is what it answers, and no partial text is given.
//
// Both take their text as UTF-8 bytes, as the edit control and the files
// hold it, and answer in UTF-8; a large text is never held as UTF-16.
// Characters are counted as UTF-16 units.

#include "Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>

namespace zuno {

// What stopped a conversion. The words are the editor's and the command
// line's (ConversionMessages).
struct ConversionFault {
    enum class Kind {
        // A line that is not a valid data item (not empty, and no colon).
        InvalidItem,
        // A run of two spaces with no colon anywhere after it on its line
        // (List conversion only).
        UnexpectedData,
    };
    Kind kind = Kind::InvalidItem;
    // InvalidItem: the line as the conversion tested it (the Record
    // conversion untrimmed, the List conversion trimmed). UnexpectedData:
    // what was left of the line after the items taken off it.
    QString line;
    qsizetype lineNumber = -1; // from 0

    static ConversionFault invalidItem(QStringView line, qsizetype lineNumber)
    {
        return ConversionFault{Kind::InvalidItem, line.toString(), lineNumber};
    }

    bool operator==(const ConversionFault &) const = default;
};

template <typename Text>
using ConversionResult = Result<Text, ConversionFault>;

// List layout -> Record layout.
ConversionResult<QByteArray> convertToRecordLayout(QByteArrayView listText);
// Record layout -> List layout.
ConversionResult<QByteArray> convertToListLayout(QByteArrayView recordText);

// The List layout of a text that follows items written before it: its first
// item begins with a line break and is cut like any other.
ConversionResult<QByteArray> convertToListLayoutFollowing(QByteArrayView recordText);

// The same conversions written into `room`, the text of an earlier one
// that is no longer needed: a large enough room's memory is used again
// instead of memory asked afresh of the system (the List layout, as one that
// follows items written before it when `following`).
ConversionResult<QByteArray> convertToRecordLayoutInto(QByteArrayView listText, QByteArray room);
ConversionResult<QByteArray> convertToListLayoutInto(QByteArrayView recordText, QByteArray room, bool following);

// Takes the pieces of a converted text in order.
using ConversionSink = std::function<void(QByteArrayView piece)>;
// The same two conversions handing their result to `sink` a piece of about
// a megabyte at a time as it is built, instead of holding it whole. On a
// fault the pieces handed over so far are only the result's beginning: a
// caller that must not show a partial result takes them back.
Result<void, ConversionFault> convertToRecordLayout(QByteArrayView listText, const ConversionSink &sink);
Result<void, ConversionFault> convertToListLayout(QByteArrayView recordText, const ConversionSink &sink);

// The List layout as far as it goes: on a fault, the List text of the items
// taken off before it, so that a caller can tell where the fault lies.
template <typename Text>
struct PartialConversion {
    Text text;
    bool complete = true;
    ConversionFault fault; // when !complete
};
PartialConversion<QByteArray> convertToListLayoutUpToFault(QByteArrayView recordText);

// Whether the List layout of `recordText` is exactly `expected`, without
// building it.
bool listLayoutEquals(QByteArrayView recordText, QByteArrayView expected);
// Whether the Record layout of `listText` is exactly `expected`, without
// building it (false where it cannot be built).
bool recordLayoutEquals(QByteArrayView listText, QByteArrayView expected);

} // namespace zuno
