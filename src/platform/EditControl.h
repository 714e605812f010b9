#pragma once
// The edit control as the program sees it: one document whose text separates
// lines with "\r\n", and whose offsets count that pair as two characters.
// A lone "\r" or "\n" is a character of its line. EditorWidget (on
// Scintilla) is the real one; FakeEditControl the in-memory double used by
// the logic tests. Files are read and written by the shell, not here.

#include <QByteArray>
#include <QByteArrayView>
#include <QFlags>
#include <QList>
#include <QRect>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace zuno {

// Options of the find operation.
enum class FindOption {
    WholeWord = 0x1,
    MatchCase = 0x2,
};
Q_DECLARE_FLAGS(FindOptions, FindOption)

// Bytes [from, to) of the UTF-8 text.
struct Utf8Range {
    qint64 from = 0;
    qint64 to = 0;
    friend bool operator==(const Utf8Range &, const Utf8Range &) = default;
};

// One change of the text, told once it is in: at byte `position` of the
// UTF-8 text, `removedBytes` bytes gave way to `insertedBytes` new ones.
// Lines here are the control's: a lone "\r" or "\n" ends one too.
struct TextChange {
    // Removed bytes up to this many are kept in `removed`.
    static constexpr qint64 KeptRemoval = qint64(1) << 20;

    qint64 position = 0;
    qint64 removedBytes = 0;
    qint64 insertedBytes = 0;
    // The line ends among the removed bytes ("\r\n" counting one).
    qint64 removedLines = 0;
    // The removed bytes, when there are no more than KeptRemoval; else empty.
    QByteArray removed;
    // The whole text was replaced (a file, the other view): it starts a new
    // history, and what was kept beside the old text goes with it.
    bool wholeText = false;

    bool removedKept() const { return removed.size() == removedBytes; }
};

// Ranges of the UTF-8 text each replaced with a text of its own: text i is
// the bytes of `texts` from ends[i - 1] (0 for the first) to ends[i].
struct Utf8Replacements {
    QList<Utf8Range> ranges;
    QByteArray texts;
    QList<qint64> ends;

    void add(Utf8Range range, QByteArrayView text)
    {
        ranges.append(range);
        texts.append(text);
        ends.append(texts.size());
    }
    qint64 count() const { return ranges.size(); }
    QByteArrayView text(qsizetype i) const
    {
        const qint64 from = i == 0 ? 0 : ends[i - 1];
        return QByteArrayView(texts).sliced(from, ends[i] - from);
    }
};

// A whole new text handed to the control a piece at a time, as a file is
// read. The control shows its old text until finish(); a writer dropped
// unfinished leaves the old text as it was.
class WholeTextPieces {
public:
    virtual ~WholeTextPieces() = default;
    // False when there is no memory for the piece.
    virtual bool append(QByteArrayView piece) = 0;
    // The new text replaces the old, as setUtf8Text() would put it.
    virtual void finish() = 0;
};

class IEditControl {
public:
    virtual ~IEditControl() = default;

    // Whole text as UTF-8 bytes, lines separated by "\r\n": read in place
    // where the control holds them so (valid until the text next changes).
    // Writing replaces everything in one change, sets the modified flag and
    // empties the undo history (a new file or the other view is no edit to
    // take back).
    virtual QByteArrayView utf8Text() const = 0;
    // While what this returns is kept (on any thread), the text also stays
    // where it lies in memory: a view of it read on another thread stays
    // valid until the text next changes. Released once the reading is done.
    virtual std::shared_ptr<const void> pinText() = 0;
    virtual void setUtf8Text(QByteArrayView text) = 0;
    // `length` bytes of it from byte `position`, copied; costs what they
    // are, whatever the text's size.
    virtual QByteArray utf8Bytes(qint64 position, qint64 length) const = 0;
    // The same, the new text (of about `sizeHint` bytes) handed over a piece
    // at a time.
    virtual std::unique_ptr<WholeTextPieces> takeWholeTextInPieces(qint64 sizeHint) = 0;
    // Length of the whole text, "\r\n" counting two; cheap.
    virtual qint64 textLength() const = 0;

    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;

    // Full path of the file last loaded; empty for an untitled document.
    virtual QString fileName() const = 0;
    virtual void setFileName(const QString &path) = 0;

    // Selection. Setting the start leaves nothing selected, stops at the end
    // of the text and keeps the caret in view. Offsets that would fall
    // between the "\r" and "\n" of a line break go to the end of that line.
    virtual qint64 selStart() const = 0;
    virtual void setSelStart(qint64 start) = 0;
    virtual qint64 selLength() const = 0;
    virtual void setSelLength(qint64 length) = 0;
    virtual QString selText() const = 0;
    // Replaces the selection (inserts at the caret when nothing is
    // selected); afterwards the caret stands after the inserted text. One
    // undoable edit.
    virtual void setSelText(const QString &text) = 0;

    // Replaces each range of the UTF-8 text (byte positions in utf8Text(),
    // first to last, none overlapping, none cutting a character or a line
    // break in two) with `replacement`, as one undoable edit. Afterwards
    // nothing is selected and the caret stands after the last replacement.
    virtual void replaceRanges(const QList<Utf8Range> &ranges, QByteArrayView replacement) = 0;

    // The same with a text of its own for each range.
    virtual void replaceEach(const Utf8Replacements &replacements) = 0;

    // The byte position in utf8Text() of an offset, and the offset of a
    // byte position (which starts a character); both cheap.
    virtual qint64 bytePosition(qint64 offset) const = 0;
    virtual qint64 textOffset(qint64 position) const = 0;

    // Offset of the first occurrence of `text` at or after `start`, or -1.
    // A found occurrence becomes the selection. Never wraps.
    virtual qint64 find(const QString &text, qint64 start, FindOptions options) = 0;

    // Line (from 0) that holds the character at `offset`, counting lines as
    // the text separates them: only "\r\n" ends one.
    virtual qint64 lineFromChar(qint64 offset) const = 0;

    // Scrolls the selection into view and, where a window of the program
    // stands over it at `avoid` (global pixels), out from under that window.
    virtual void showSelection(const QRect &avoid) = 0;

    virtual void setFocus() = 0;
    // A read-only text takes no edits, the user's or the program's, until
    // another text replaces it.
    virtual void setReadOnly(bool readOnly) = 0;
    // The control's own undo (what Ctrl+Z does in it).
    virtual void undo() = 0;

    // Edits between begin and end form one undo step and redraw once.
    virtual void beginCompoundEdit() = 0;
    virtual void endCompoundEdit() = 0;
};

} // namespace zuno

Q_DECLARE_OPERATORS_FOR_FLAGS(zuno::FindOptions)
