#pragma once
// The marks on the document's lines: a symbol in the margin (error or
// warning) and an underline under the offending text. The underlines are
// kept by the edit control beside its text, so that they move with it as it
// is edited; which lines are marked, the owner of the marks keeps (and the
// margin asks it). The lines are the control's own: a lone "\r" or "\n"
// ends one too. QtLineMarks (Scintilla indicators, the symbols drawn in its
// margin) is the real one, FakeLineMarks the in-memory double.

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

namespace zuno {

enum class LineMark { None, Error, Warning };

class ILineMarks {
public:
    virtual ~ILineMarks() = default;

    // The whole text as UTF-8, in place (valid until it next changes).
    virtual QByteArrayView wholeText() const = 0;
    virtual qint64 lineCount() const = 0;
    // A line's bytes, with its line end.
    virtual QByteArray lineBytes(qint64 line) const = 0;
    // Where the line begins, in bytes (-1 for a line beyond the last).
    virtual qint64 lineStart(qint64 line) const = 0;
    // The whole text in place as it lies in the control's store: the bytes
    // before its gap and those after it, read without moving the gap (so
    // that the next key typed at the caret costs no more). Valid until the
    // text next changes or the gap moves.
    struct Pieces {
        QByteArrayView before;
        QByteArrayView after;
        qint64 size() const { return before.size() + after.size(); }
    };
    virtual Pieces textInPlace() const = 0;
    // The line that holds the byte at `position`.
    virtual qint64 lineAt(qint64 position) const = 0;
    // The number (from 0) of the text's line that holds the line's start,
    // counting only "\r\n" as a line end, as the conversions count.
    virtual qint64 textLineNumber(qint64 line) const = 0;

    // Marks the line and underlines `length` bytes from `from` (counted
    // from the line's start); None takes both away.
    virtual void setMark(qint64 line, LineMark mark, qint64 from = 0, qint64 length = 0) = 0;
    virtual void clearAll() = 0;

    virtual qint64 caretLine() const = 0;
    // Puts the caret at the start of the line and shows it.
    virtual void moveCaretToLine(qint64 line) = 0;
};

} // namespace zuno
