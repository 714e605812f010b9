// The edit control's one change channel. Scintilla announces each change
// before it makes it; the control holds what was announced and tells it
// once it is in: when the next change is announced, once the events of the
// moment are handled, or as soon as anything asks the control about its
// offsets or widths. The bookkeeping beside the text (offset map, line
// widths, accessibility events) hears first, then whoever is connected to
// textChanged. Changes Scintilla does not announce (a whole new text, a
// Replace All) are told the same way, as one change each.
#include "platform/qt/EditorWidget.h"

namespace zuno {

namespace {
using Sci = QsciScintillaBase;
} // namespace

void EditorWidget::aboutToModify(int position, int type, int length)
{
    if (type & (Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE))
        emit textAboutToChange();
    // The change announced before this one is in by now.
    settleChange();
    if (m_writing)
        return;
    if (type & Sci::SC_MOD_BEFOREINSERT) {
        TextChange change;
        change.position = position;
        change.insertedBytes = length;
        holdChange(std::move(change));
    } else if (type & Sci::SC_MOD_BEFOREDELETE) {
        holdChange(removal(position, qint64(position) + length));
    } else {
        return;
    }
    noteChange();
}

TextChange EditorWidget::removal(qint64 from, qint64 to) const
{
    TextChange change;
    change.position = from;
    change.removedBytes = to - from;
    change.removedLines = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(to))
        - send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(from));
    if (change.removedBytes <= TextChange::KeptRemoval)
        change.removed = bytes(from, change.removedBytes);
    return change;
}

void EditorWidget::holdChange(TextChange change)
{
    m_held = std::move(change);
    // What a screen reader hears goes out once the work of the moment is
    // done, the change told by then.
    m_accessibility.changeComing();
    if (m_tellQueued)
        return;
    m_tellQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_tellQueued = false;
            settleChange();
        },
        Qt::QueuedConnection);
}

void EditorWidget::settleChange() const
{
    if (!m_held)
        return;
    const TextChange change = std::move(*m_held);
    m_held.reset();
    // Telling changes no state a caller of a const function can see but
    // the bookkeeping that it is about to read.
    const_cast<EditorWidget *>(this)->tellChange(change);
}

void EditorWidget::tellChange(const TextChange &change)
{
    m_offsets.changed(change);
    const bool widthMayChange = m_widths.changed(change);
    m_accessibility.changed(change);
    if (widthMayChange && m_compoundDepth == 0)
        QMetaObject::invokeMethod(this, &EditorWidget::updateScrollWidth, Qt::QueuedConnection);
    emit textChanged(change);
}

void EditorWidget::noteChange()
{
    showModified(true);
}

} // namespace zuno
