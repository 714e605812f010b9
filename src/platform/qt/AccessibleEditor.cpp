#include "platform/qt/AccessibleEditor.h"

#include "platform/qt/EditorWidget.h"

#include <QApplication>
#include <QFileInfo>

#include <algorithm>
#include <limits>

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

// A stretch of the text, standing in for all of it when words and lines
// are looked for: Qt's own search through a text interface, run on the
// lines about an offset instead of the whole document.
class TextWindow : public QAccessibleTextInterface {
public:
    TextWindow(QString text, int start) : m_text(std::move(text)), m_start(start) {}

    enum Side { Before, At, After };
    QString find(Side side, int offset, QAccessible::TextBoundaryType type, int *startOffset, int *endOffset) const
    {
        const int within = offset - m_start;
        QString found;
        switch (side) {
        case Before: found = QAccessibleTextInterface::textBeforeOffset(within, type, startOffset, endOffset); break;
        case At: found = QAccessibleTextInterface::textAtOffset(within, type, startOffset, endOffset); break;
        case After: found = QAccessibleTextInterface::textAfterOffset(within, type, startOffset, endOffset); break;
        }
        if (*startOffset >= 0)
            *startOffset += m_start;
        if (*endOffset >= 0)
            *endOffset += m_start;
        return found;
    }

    QString text(int startOffset, int endOffset) const override
    {
        return m_text.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(m_text.size()); }
    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = -1;
        return QString();
    }

private:
    QString m_text;
    int m_start;
};

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
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State AccessibleEditor::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    state.focusable = true;
    return state;
}

QString AccessibleEditor::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        if (!m_editor->accessibleName().isEmpty())
            return m_editor->accessibleName();
        return tr("Editor");
    case QAccessible::Description:
        if (!m_editor->accessibleDescription().isEmpty())
            return m_editor->accessibleDescription();
        return QFileInfo(m_editor->fileName()).fileName();
    case QAccessible::Value:
        return QString(); // the text is read through the text interface
    default:
        return QAccessibleWidget::text(t);
    }
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

// The text before, at or after `offset` up to the boundaries of `type`,
// looked for in the lines about it: the one that holds it and one on
// either side. Only the text at no boundary at all is the whole text.
static QString lookAround(const EditorWidget &editor, TextWindow::Side side, int offset,
                          QAccessible::TextBoundaryType type, int *startOffset, int *endOffset)
{
    using Sci = QsciScintillaBase;
    const qint64 length = editor.textLength();
    if (offset == -1)
        offset = int(length);
    *startOffset = *endOffset = -1;
    if (type == QAccessible::NoBoundary) {
        if (side != TextWindow::At)
            return QString();
        *startOffset = 0;
        *endOffset = int(length);
        return editor.textBetween(0, length);
    }
    if (offset < 0 || offset > length)
        return QString();
    const auto position = static_cast<unsigned long>(editor.toDocumentPosition(offset));
    const long line = editor.SendScintilla(Sci::SCI_LINEFROMPOSITION, position);
    const long from = editor.SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(std::max(0L, line - 1)));
    const long to = editor.SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line + 2));
    const qint64 start = editor.toTextOffset(from);
    const qint64 end = to < 0 ? length : editor.toTextOffset(to);
    return TextWindow(editor.textBetween(start, end), int(start)).find(side, offset, type, startOffset, endOffset);
}

QString AccessibleEditor::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int *startOffset, int *endOffset) const
{
    return lookAround(*m_editor, TextWindow::Before, offset, boundaryType, startOffset, endOffset);
}

QString AccessibleEditor::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int *startOffset, int *endOffset) const
{
    return lookAround(*m_editor, TextWindow::After, offset, boundaryType, startOffset, endOffset);
}

QString AccessibleEditor::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                       int *endOffset) const
{
    return lookAround(*m_editor, TextWindow::At, offset, boundaryType, startOffset, endOffset);
}

void AccessibleEditor::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void AccessibleEditor::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

// Whether an edit from outside (a screen reader, any client of the
// accessibility bus) may go ahead; what it gives is not trusted:
// - both ends between two characters of the text: one inside a surrogate
//   pair or a "\r\n", or beyond the text, cannot be made exact;
// - a text that is whole: Qt's adaptor cuts or stretches what it was sent to
//   the length that came with it, and a length longer than the text leaves
//   memory no one wrote at its end (a NUL, unpaired surrogates), one shorter
//   may cut a pair in two;
// - a size the control can hold, its positions below 2^31;
// - no question open: its answer may replace the whole text, and an edit
//   made meanwhile would be lost with its undo.
bool AccessibleEditor::mayEdit(int startOffset, int endOffset, const QString &text) const
{
    if (m_editor->SendScintilla(Sci::SCI_GETREADONLY) || !m_editor->isEnabled() || QApplication::activeModalWidget())
        return false;
    if (!m_editor->isCharacterBoundary(startOffset) || !m_editor->isCharacterBoundary(endOffset))
        return false;
    const qint64 room = qint64(std::numeric_limits<int>::max()) - m_editor->SendScintilla(Sci::SCI_GETLENGTH);
    if (3 * qint64(text.size()) > room)
        return false;
    const QStringView view(text);
    return !view.contains(QChar(0)) && view.isValidUtf16();
}

void AccessibleEditor::replaceText(int startOffset, int endOffset, const QString &text)
{
    if (!mayEdit(startOffset, endOffset, text))
        return;
    m_editor->setSelStart(std::min(startOffset, endOffset));
    m_editor->setSelLength(std::abs(endOffset - startOffset));
    m_editor->setSelText(text);
}

QString AccessibleEditor::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    Q_UNUSED(offset);
    return QString();
}

} // namespace zuno
