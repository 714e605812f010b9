#include "platform/qt/AccessibleEditorEvents.h"

#include "platform/qt/EditorWidget.h"
#include "platform/qt/ScintillaDocument.h"
#include "text/Utf8Text.h"

#include <QAccessible>

#include <algorithm>

namespace zuno {

namespace {
using Sci = QsciScintillaBase;
} // namespace

bool AccessibleEditorEvents::listening() const
{
    return QAccessible::isActive();
}

void AccessibleEditorEvents::changed(const TextChange &change)
{
    if (!listening())
        return;
    if (change.removedBytes > LargestToldChange || change.insertedBytes > LargestToldChange) {
        m_tooLarge = true;
        m_changes.clear();
    }
    add(false, change.position, change.removed);
    if (!m_tooLarge)
        add(true, change.position,
            QByteArrayView(sci::rangePointer(m_editor, change.position, change.insertedBytes), change.insertedBytes));
    scheduleFlush();
}

void AccessibleEditorEvents::selectionMayHaveChanged()
{
    if (listening())
        scheduleFlush();
}

void AccessibleEditorEvents::fileNameChanged()
{
    if (!listening())
        return;
    QAccessibleEvent renamed(&m_editor, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&renamed);
}

// A change is read as text only while the changes gathered stay small;
// beyond that the rest of the round is told by the caret alone.
void AccessibleEditorEvents::add(bool inserted, qint64 position, QByteArrayView bytes)
{
    if (bytes.isEmpty() || m_tooLarge)
        return;
    m_toldBytes += bytes.size();
    if (m_toldBytes > LargestToldChange) {
        m_tooLarge = true;
        m_changes.clear();
        return;
    }
    m_changes.push_back({inserted, int(m_editor.toTextOffset(position)), utf8ToText(bytes)});
}

void AccessibleEditorEvents::scheduleFlush()
{
    if (m_flushScheduled)
        return;
    m_flushScheduled = true;
    QMetaObject::invokeMethod(&m_editor, [this] { flush(); }, Qt::QueuedConnection);
}

void AccessibleEditorEvents::flush()
{
    // A change still held is told first (and adds to what goes out).
    m_editor.settleChange();
    m_flushScheduled = false;
    if (!listening()) {
        m_changes.clear();
        m_tooLarge = false;
        m_toldBytes = 0;
        return;
    }
    const std::vector<Change> changes = std::move(m_changes);
    m_changes.clear();
    m_toldBytes = 0;
    m_tooLarge = false;
    for (const Change &change : changes) {
        if (change.inserted) {
            QAccessibleTextInsertEvent event(&m_editor, change.offset, change.text);
            QAccessible::updateAccessibility(&event);
        } else {
            QAccessibleTextRemoveEvent event(&m_editor, change.offset, change.text);
            QAccessible::updateAccessibility(&event);
        }
    }

    const qint64 anchor = sci::send(m_editor, Sci::SCI_GETANCHOR);
    const qint64 caretPosition = sci::send(m_editor, Sci::SCI_GETCURRENTPOS);
    const int caret = int(m_editor.toTextOffset(caretPosition));
    const int anchorOffset = anchor == caretPosition ? caret : int(m_editor.toTextOffset(anchor));
    const int start = std::min(caret, anchorOffset), end = std::max(caret, anchorOffset);
    if (start != m_selectionStart || end != m_selectionEnd) {
        // An empty selection that stays empty is only a caret move.
        const bool wasEmpty = m_selectionStart == m_selectionEnd;
        m_selectionStart = start;
        m_selectionEnd = end;
        if (!(wasEmpty && start == end)) {
            QAccessibleTextSelectionEvent event(&m_editor, start, end);
            event.setCursorPosition(caret);
            QAccessible::updateAccessibility(&event);
        }
    }
    if (caret != m_caret) {
        m_caret = caret;
        QAccessibleTextCursorEvent event(&m_editor, caret);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace zuno
