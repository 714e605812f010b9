#pragma once
// What a screen reader is told about the edit control: text inserted and
// removed, the caret moved, the selection changed, the document renamed.
//
// Nothing is worked out while no assistive technology listens. When one
// does, each change costs what its own text costs: Scintilla announces a
// change before it is made, a removal's text is read then, an insertion's
// once it is in (before the next change, or when the events go out, which
// is once the control's work of the moment is done). A change too large to
// be read out (a new document, a Replace All over a long text) is told as
// what follows it: the caret's new place.
#include <QString>
#include <QtGlobal>

#include <vector>

namespace zuno {

class EditorWidget;

class AccessibleEditorEvents {
public:
    // Changes whose text together is longer than this many bytes are not
    // sent as text.
    static constexpr qint64 LargestToldChange = 64 * 1024;

    explicit AccessibleEditorEvents(EditorWidget &editor) : m_editor(editor) {}

    // Before Scintilla changes the text (positions in bytes).
    void aboutToInsert(qint64 position, qint64 length);
    void aboutToDelete(qint64 position, qint64 length);
    // Around a write of the whole text.
    void aboutToReplaceAll();
    void replacedAll();
    // The caret or the selection may have moved.
    void selectionMayHaveChanged();
    void fileNameChanged();

    // Sends what has gathered (also called once the event loop comes round).
    void flush();

private:
    struct Change {
        bool inserted;
        int offset;
        QString text;
    };
    bool listening() const;
    void readPendingInsertion();
    void add(bool inserted, qint64 position, qint64 length);
    void scheduleFlush();

    EditorWidget &m_editor;
    std::vector<Change> m_changes;
    qint64 m_toldBytes = 0;
    bool m_tooLarge = false;
    bool m_insertionPending = false;
    qint64 m_insertionPosition = 0;
    qint64 m_insertionLength = 0;
    bool m_flushScheduled = false;
    int m_caret = -1;
    int m_selectionStart = -1;
    int m_selectionEnd = -1;
};

} // namespace zuno
