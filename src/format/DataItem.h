#pragma once
// The data item of ZUNO data files and the vocabulary of the two layouts.
//
// A data item is a code, a colon and a value ("PL:12,13,14"). The editor text
// separates its lines with "\r\n"; a lone carriage return or line feed is
// ordinary content of its line. Lines are numbered from 0.
//
// All functions here are pure and work on views into the caller's text.
// Characters are UTF-16 code units, the units the editor counts.

#include "text/TextScan.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zuno {

// Separates the lines of the editor text.
inline constexpr QStringView LineSeparator = u"\r\n";
// Stands between two items on a Record line; the List conversion splits items
// at every run of two spaces.
inline constexpr QStringView ItemSeparator = u"  ";
// An item is joined to a Record line only while the joined line holds at most
// this many characters.
inline constexpr int RecordLineWidth = 80;
// Begins every continuation line of the Record layout.
inline constexpr QStringView ContinuationIndent = u"       ";
// Begins every continuation line of a split PL item.
inline constexpr QStringView ValueListContinuation = u"       PL:";
// The head of a split PL item ends at the last comma at or before position
// HeadSplitLimit - (length of the line being built) of the item.
inline constexpr int HeadSplitLimit = 78;
// A PL continuation line takes the values up to the last comma at or before
// this position of the values still to place.
inline constexpr int ContinuationSplitLimit = 70;
// A PL line of the List layout longer than this is cut after the last comma
// at or before this position.
inline constexpr int ListCutLimit = 80;

// The code of a PL item.
inline constexpr QStringView ValueListCode = u"PL:";

// Whether the values `after`, taken up onto the values `before` of the same
// PL item, need a comma between them: not when either side already has it.
// A PL line written by hand without its trailing comma so keeps its last
// value apart from the next line's first.
inline bool needsJoiningComma(QStringView before, QStringView after)
{
    return !before.endsWith(u',') && !after.startsWith(u',');
}

// The role that a line's code gives it in the Record conversion, tested in
// this order:
enum class ItemRole {
    SeparatedRecordStart, // the whole line is "AC:OS" or "AC:PR"
    RecordStart,          // code "AC:"
    LineStart,            // code "BG:", "EG:", "CP:", "SP:" or "DL:"
    ValueList,            // code "PL:"
    Joined,               // any other code, also the empty code
};

// Spaces only: tabs and other white space stay.
QStringView trimSpaces(QStringView text);

// Whether the text begins with "PL:".
inline bool startsWithValueListCode(QStringView text)
{
    return text.size() >= 3 && text[0] == u'P' && text[1] == u'L' && text[2] == u':';
}

// The index of the line's first colon, or -1.
qsizetype firstColon(QStringView line);

// The same three on UTF-8 bytes: the characters they look for are ASCII,
// which stand for themselves in UTF-8, so positions are in bytes.
// Inline: they run several times on every line of a large text.
inline QByteArrayView trimSpaces(QByteArrayView text)
{
    const char *begin = text.data();
    const char *end = begin + text.size();
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    return QByteArrayView(begin, end - begin);
}

inline bool startsWithValueListCode(QByteArrayView text)
{
    return text.size() >= 3 && text[0] == 'P' && text[1] == 'L' && text[2] == ':';
}

inline qsizetype firstColon(QByteArrayView line)
{
    if (line.size() >= 3 && line[2] == ':' && line[0] != ':' && line[1] != ':')
        return 2;
    return scan::indexOf(line, ':');
}

// Empty, or holds a colon anywhere.
bool isValidDataLine(QStringView line);

// The line's role by its untrimmed code (see ItemRole).
ItemRole classifyLine(QStringView line);

} // namespace zuno
