#pragma once
// The edit control's accessible face: an editable, multi-line text named
// "Editor", described by the document's name, whose offsets are the
// program's. (QScintilla's own counts the characters from the start of the
// document to the caret after every change and every repaint, which makes
// each keystroke on a large document slow: docs/benchmarks.md.) Words and
// lines around an offset are looked for in the lines about it, never in
// the whole text. What it tells of changes: AccessibleEditorEvents.
#include <QAccessibleWidget>
#include <QCoreApplication>

namespace zuno {

class EditorWidget;

class AccessibleEditor : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public QAccessibleEditableTextInterface {
    Q_DECLARE_TR_FUNCTIONS(AccessibleEditor)
public:
    explicit AccessibleEditor(EditorWidget *editor);

    // Makes Qt ask for this face for every EditorWidget (once per process).
    static void install();

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;

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
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                             int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                            int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                         int *endOffset) const override;

    // Each an undoable edit; letters are inserted as given. An edit that
    // cannot be made exactly as asked is not made at all (see mayEdit).
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    bool mayEdit(int startOffset, int endOffset, const QString &text) const;

    EditorWidget *m_editor;
};

} // namespace zuno
