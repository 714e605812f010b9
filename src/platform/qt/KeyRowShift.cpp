#include "platform/qt/KeyRowShift.h"

#include "platform/qt/EditorWidget.h"

#include <QKeyEvent>

#include <algorithm>

namespace zuno {

namespace {
using Sci = QsciScintillaBase;
} // namespace

long KeyRowShift::send(unsigned int message, unsigned long wParam, long lParam) const
{
    return m_editor.SendScintilla(message, wParam, lParam);
}

KeyRowShift::View KeyRowShift::view() const
{
    return View{send(Sci::SCI_GETLINECOUNT), send(Sci::SCI_GETFIRSTVISIBLELINE), send(Sci::SCI_GETXOFFSET),
                m_editor.marginsWidth(), m_editor.viewport()->size()};
}

KeyRowShift::KeyRowShift(EditorWidget &editor, const QKeyEvent &key) : m_editor(editor)
{
    // Any other key (a letter, on every key typed) asks Scintilla nothing.
    const int code = key.key();
    if ((key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        || (code != Qt::Key_Return && code != Qt::Key_Enter && code != Qt::Key_Backspace && code != Qt::Key_Delete))
        return;
    QWidget *viewport = m_editor.viewport();
    if (!viewport->isVisible() || !viewport->updatesEnabled() || send(Sci::SCI_GETREADONLY)
        || !send(Sci::SCI_GETSELECTIONEMPTY) || send(Sci::SCI_GETSELECTIONS) != 1
        || send(Sci::SCI_GETWRAPMODE) != Sci::SC_WRAP_NONE || !send(Sci::SCI_GETALLLINESVISIBLE))
        return;
    const long caret = send(Sci::SCI_GETCURRENTPOS);
    const long line = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    m_before = view();
    switch (code) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_line = line;
        m_added = 1;
        break;
    case Qt::Key_Backspace:
        if (line > 0 && caret == send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line))) {
            m_line = line - 1;
            m_added = -1;
        }
        break;
    case Qt::Key_Delete:
        if (line + 1 < m_before.lines && caret == send(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line))) {
            m_line = line;
            m_added = -1;
        }
        break;
    }
    // Only where the key's line is in view.
    if (m_added && (line < m_before.top || line >= m_before.top + send(Sci::SCI_LINESONSCREEN)))
        m_added.reset();
    if (m_added)
        viewport->setAttribute(Qt::WA_UpdatesDisabled, true);
}

KeyRowShift::~KeyRowShift()
{
    if (!m_added)
        return;
    QWidget *viewport = m_editor.viewport();
    viewport->setAttribute(Qt::WA_UpdatesDisabled, false);
    View expected = m_before;
    expected.lines += *m_added;
    const View now = view();
    const int rowHeight = int(send(Sci::SCI_TEXTHEIGHT, static_cast<unsigned long>(m_line)));
    // Enter on the last row shown scrolls the view a row: the lines above
    // move up, as a scroll moves them, margins and all.
    expected.top += *m_added;
    if (*m_added > 0 && now == expected) {
        const int changedTop = int(m_line - now.top) * rowHeight;
        viewport->scroll(0, -*m_added * rowHeight, QRect(0, 0, viewport->width(), changedTop + rowHeight));
        viewport->update(QRect(0, changedTop, viewport->width(), viewport->height() - changedTop));
        emit m_editor.rowsMoved(m_line, *m_added);
        return;
    }
    expected.top = m_before.top;
    if (now != expected) {
        viewport->update();
        return;
    }
    const int changedTop = int(m_line - m_before.top) * rowHeight;
    const int below = changedTop + rowHeight;
    // A problem's symbol and a fold's go with their lines. A row's line
    // number stays: whatever line moves into a row, it has the row's number;
    // only where the text ends in view does a number come or go.
    const int numbers = int(send(Sci::SCI_GETMARGINWIDTHN, 0));
    const QRect moved(numbers, below, viewport->width() - numbers, viewport->height() - below);
    if (moved.height() > rowHeight && moved.width() > 0)
        viewport->scroll(0, *m_added * rowHeight, moved);
    else
        viewport->update(moved);
    viewport->update(QRect(0, changedTop, viewport->width(), rowHeight));
    if (numbers > 0) {
        const long rows = viewport->height() / std::max(1, rowHeight) + 1;
        const long from = std::clamp(std::min(m_before.lines, now.lines) - now.top, 0L, rows);
        const long to = std::clamp(std::max(m_before.lines, now.lines) - now.top, 0L, rows);
        if (to > from)
            viewport->update(QRect(0, int(from) * rowHeight, numbers, int(to - from) * rowHeight));
    }
    emit m_editor.rowsMoved(m_line, *m_added);
}

} // namespace zuno
