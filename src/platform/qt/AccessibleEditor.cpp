#include "platform/qt/AccessibleEditor.h"

#include "platform/qt/EditorWidget.h"

#include <algorithm>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

QAccessibleInterface *accessibleEditor(const QString &className, QObject *object)
{
    if (className == QLatin1String(EditorWidget::staticMetaObject.className()))
        if (auto *editor = qobject_cast<EditorWidget *>(object))
            return new AccessibleEditor(editor);
    return nullptr;
}

} // namespace

AccessibleEditor::AccessibleEditor(EditorWidget *editor)
    : QAccessibleWidget(editor, QAccessible::EditableText), m_editor(editor)
{
}

void AccessibleEditor::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleEditor);
        return true;
    }();
    Q_UNUSED(installed);
}

void *AccessibleEditor::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void AccessibleEditor::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && m_editor->selLength() > 0) {
        *startOffset = int(m_editor->selStart());
        *endOffset = int(m_editor->selStart() + m_editor->selLength());
    }
}

int AccessibleEditor::selectionCount() const
{
    return m_editor->selLength() > 0 ? 1 : 0;
}

void AccessibleEditor::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void AccessibleEditor::removeSelection(int)
{
    m_editor->setSelStart(cursorPosition());
}

void AccessibleEditor::setSelection(int, int startOffset, int endOffset)
{
    m_editor->setSelStart(startOffset);
    m_editor->setSelLength(endOffset - startOffset);
}

int AccessibleEditor::cursorPosition() const
{
    return int(m_editor->toTextOffset(m_editor->SendScintilla(Sci::SCI_GETCURRENTPOS)));
}

void AccessibleEditor::setCursorPosition(int position)
{
    m_editor->setSelStart(position);
}

QString AccessibleEditor::text(int startOffset, int endOffset) const
{
    return m_editor->textBetween(startOffset, endOffset);
}

int AccessibleEditor::characterCount() const
{
    return int(m_editor->textLength());
}

QRect AccessibleEditor::characterRect(int offset) const
{
    const auto position = static_cast<unsigned long>(m_editor->toDocumentPosition(offset));
    const QPoint at(int(m_editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, long(position))),
                    int(m_editor->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, long(position))));
    const int height = int(m_editor->SendScintilla(Sci::SCI_TEXTHEIGHT, 0UL));
    const int width = int(m_editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL,
                                                  m_editor->SendScintilla(Sci::SCI_POSITIONAFTER, position)))
        - at.x();
    return QRect(m_editor->viewport()->mapToGlobal(at), QSize(std::max(width, 1), height));
}

int AccessibleEditor::offsetAtPoint(const QPoint &point) const
{
    const QPoint at = m_editor->viewport()->mapFromGlobal(point);
    return int(m_editor->toTextOffset(
        m_editor->SendScintilla(Sci::SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(at.x()), long(at.y()))));
}

void AccessibleEditor::scrollToSubstring(int startIndex, int endIndex)
{
    setSelection(0, startIndex, endIndex);
    m_editor->showSelection(QRect());
}

QString AccessibleEditor::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    Q_UNUSED(offset);
    return QString();
}

} // namespace zuno
