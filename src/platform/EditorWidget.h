#pragma once
// rtbEditor: the real edit control, a QPlainTextEdit that presents the text
// with "\r\n" line breaks and counts offsets the same way.
//
// In the document each line break is one character (a block boundary);
// in the program's text it is two. An offset in the program's text is the
// document position plus the number of the block that holds it.
#include "platform/EditControl.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace zuno {

class EditorWidget : public QPlainTextEdit, public IEditControl {
    Q_OBJECT
public:
    explicit EditorWidget(QWidget *parent = nullptr);

    QString text() const override;
    void setText(const QString &text) override;
    qint64 textLength() const override;

    bool isModified() const override { return m_modified; }
    void setModified(bool modified) override { m_modified = modified; }

    QString fileName() const override { return m_fileName; }
    void setFileName(const QString &path) override { m_fileName = path; }

    qint64 selStart() const override;
    void setSelStart(qint64 start) override;
    qint64 selLength() const override;
    void setSelLength(qint64 length) override;
    QString selText() const override;
    void setSelText(const QString &text) override;

    qint64 find(const QString &text, qint64 start, int options) override;
    qint64 lineFromChar(qint64 offset) const override;

    void setFocus() override;
    void undo() override;
    void beginCompoundEdit() override;
    void endCompoundEdit() override;

    // Pixel width needed to show the widest line without scrolling.
    int contentWidth() const;

    // Offsets of the program's text <-> document positions.
    qint64 toTextOffset(int position) const;
    int toDocumentPosition(qint64 offset) const;

signals:
    // Raised after every change of the text, the program's own included.
    void changed();
    // The right mouse button went down (or the menu key was pressed): the
    // owner shows its Edit menu at `globalPos`.
    void editMenuRequested(const QPoint &globalPos);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void select(int from, int to);
    QTextCursor currentCursor() const;
    void setCurrentCursor(const QTextCursor &cursor);

    QString m_fileName;
    bool m_modified = false;
    bool m_replacingAll = false;
    QTextCursor m_compoundCursor;
    int m_compoundDepth = 0;
    // Where toDocumentPosition last found its offset: a hint, not a promise.
    mutable int m_lastBlockNumber = 0;
};

} // namespace zuno
