#pragma once
// The edit control's accessible face: an editable text whose offsets are the
// program's. (QScintilla's own counts the characters from the start of the
// document to the caret after every change and every repaint, which on a
// 50 MB document makes each keystroke take a third of a second.)
#include <QAccessibleWidget>

namespace zuno {

class EditorWidget;

class AccessibleEditor : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleEditor(EditorWidget *editor);

    // Makes Qt ask for this face for every EditorWidget (once per process).
    static void install();

    void *interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    EditorWidget *m_editor;
};

} // namespace zuno
