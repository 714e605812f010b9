#pragma once
// The marks over every match of the last search, laid on the lines on
// screen only (so that their cost does not grow with the text): what the
// edit control offers the search for them. QtMatchMarks (a Scintilla
// indicator) is the real one, FakeMatchMarks the double.
#include "platform/EditControl.h"

#include <QList>

namespace zuno {

class IMatchMarks {
public:
    virtual ~IMatchMarks() = default;
    // Bytes of the whole lines on screen (a line break ending the last one
    // included).
    virtual Utf8Range visibleLines() const = 0;
    // Marks these byte ranges, and no others.
    virtual void setMatchMarks(const QList<Utf8Range> &ranges) = 0;
    // Counts the changes of the text: a new value, a new text.
    virtual quint64 textVersion() const = 0;
    // The text's length in bytes, and bytes [from, to) of it read in place
    // (valid until the text changes), without making the whole text one
    // block: a screenful or a slice costs what it holds.
    virtual qint64 textBytes() const = 0;
    virtual QByteArrayView textRange(qint64 from, qint64 to) const = 0;
};

} // namespace zuno
