#pragma once
// The edit control as the program sees it: one document whose text separates
// lines with "\r\n", and whose offsets count that pair as two characters.
// EditorWidget (QPlainTextEdit) is the real one; FakeEditControl the
// in-memory double used by the logic tests.

#include <QString>
#include <QtGlobal>
#include <optional>

#include "platform/TextFile.h"

namespace zuno {

// Options of the find operation; they may be or-ed together.
enum FindOption : int {
    FindNoOptions = 0,
    FindWholeWord = 2,
    FindMatchCase = 4,
};

class IEditControl {
public:
    virtual ~IEditControl() = default;

    // Whole text, lines separated by "\r\n". Writing replaces everything in
    // one change and raises the change notification (which sets the
    // modified flag). A whole-text write may reset the undo history.
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
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

    // Offset of the first occurrence of `text` at or after `start`, or -1.
    // A found occurrence becomes the selection. Never wraps.
    virtual qint64 find(const QString &text, qint64 start, int options) = 0;

    // Line (from 0) that holds the character at `offset`.
    virtual qint64 lineFromChar(qint64 offset) const = 0;

    virtual void setFocus() = 0;
    // The control's own undo (what Ctrl+Z does in it).
    virtual void undo() = 0;

    // Edits between begin and end form one undo step and redraw once.
    virtual void beginCompoundEdit() = 0;
    virtual void endCompoundEdit() = 0;

    // Loads a file as plain text: replaces the text (raising the change
    // notification), records the path as the file name and remembers the
    // file's encoding and line endings for later saves. On failure nothing
    // changes and the system's reason comes back.
    std::optional<QString> loadFile(const QString &path);
    // Writes the whole text to `path` atomically, in the encoding and line
    // endings the document was read with. Does not change the file name or
    // the modified flag. On failure the file is left as it was and the
    // system's reason comes back.
    std::optional<QString> saveFile(const QString &path) const;

    const TextFileFormat &fileFormat() const { return m_fileFormat; }
    void setFileFormat(const TextFileFormat &format) { m_fileFormat = format; }

private:
    TextFileFormat m_fileFormat;
};

} // namespace zuno
