#pragma once
// What a screen reader is told about the edit control: text inserted and
// removed, the caret moved, the selection changed, the document renamed.
//
// Nothing is worked out while no assistive technology listens. When one
// does, each change costs what its own text costs: the control tells it
// once it is in, with the bytes it removed; the events go out once the
// control's work of the moment is done. A change too large to be read out
// (a new document, a Replace All over a long text) is told as what follows
// it: the caret's new place.
#include "platform/EditControl.h"

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

    // A change of the text is about to be made; it is in once told.
    void changeComing() { selectionMayHaveChanged(); }
    void changed(const TextChange &change);
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
    void add(bool inserted, qint64 position, QByteArrayView bytes);
    void scheduleFlush();

    EditorWidget &m_editor;
    std::vector<Change> m_changes;
    qint64 m_toldBytes = 0;
    bool m_tooLarge = false;
    bool m_flushScheduled = false;
    int m_caret = -1;
    int m_selectionStart = -1;
    int m_selectionEnd = -1;
};

} // namespace zuno
