#pragma once
// rtbEditor: the real edit control, on Scintilla (QScintilla's base widget).
//
// The Scintilla document holds the program's text as UTF-8, byte for byte:
// lines are separated by "\r\n", and a lone "\r" or "\n" is a character of
// its line (Scintilla shows it as a line break, the program does not count
// it as one). Offsets of the program are UTF-16 units, as QString counts
// them; OffsetMap maps them to Scintilla's byte positions, LineWidthTracker
// keeps the width of the widest line, AccessibleEditor is the control's
// accessible face. Every change of the text reaches them, and whoever else
// listens, through one signal, textChanged (EditorWidgetChanges.cpp). Keys
// and mouse: EditorWidgetInput.cpp.
#include "platform/EditControl.h"
#include "platform/qt/AccessibleEditorEvents.h"
#include "platform/qt/GapKeeper.h"
#include "platform/qt/LineWidths.h"
#include "platform/qt/OffsetMap.h"

#include <Qsci/qsciscintillabase.h>

#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace zuno {

class EditorWidget : public QsciScintillaBase, public IEditControl {
    Q_OBJECT
public:
    explicit EditorWidget(QWidget *parent = nullptr);
    ~EditorWidget() override;

    QByteArrayView utf8Text() const override;
    std::shared_ptr<const void> pinText() override { return m_gap.pin(); }
    // Not with a view of the control's own text.
    void setUtf8Text(QByteArrayView text) override;
    QByteArray utf8Bytes(qint64 position, qint64 length) const override { return bytes(position, length); }
    std::unique_ptr<WholeTextPieces> takeWholeTextInPieces(qint64 sizeHint) override;
    // The characters between two offsets.
    QString textBetween(qint64 from, qint64 to) const;
    qint64 textLength() const override;

    bool isModified() const override { return m_modified; }
    // Clearing the flag marks the text as the saved one: an undo or redo
    // that comes back to it clears the flag again. Setting it says the text
    // is not the saved one, whatever the history holds.
    void setModified(bool modified) override;

    QString fileName() const override { return m_fileName; }
    void setFileName(const QString &path) override
    {
        m_fileName = path;
        m_accessibility.fileNameChanged();
    }

    qint64 selStart() const override;
    void setSelStart(qint64 start) override;
    qint64 selLength() const override;
    void setSelLength(qint64 length) override;
    QString selText() const override;
    void setSelText(const QString &text) override;
    void replaceRanges(const QList<Utf8Range> &ranges, QByteArrayView replacement) override;
    void replaceEach(const Utf8Replacements &replacements) override;
    qint64 bytePosition(qint64 offset) const override { return m_offsets.toDocumentPosition(offset); }
    qint64 textOffset(qint64 position) const override { return m_offsets.toTextOffset(position); }

    qint64 find(const QString &text, qint64 start, FindOptions options) override;
    qint64 lineFromChar(qint64 offset) const override;

    void setFocus() override;
    void undo() override;
    void redo();
    void setReadOnly(bool readOnly) override;
    void beginCompoundEdit() override;
    void endCompoundEdit() override;

    // Pixel width needed to show the widest line without scrolling; also
    // the horizontal scroll range.
    int contentWidth() const;

    // Width of the margins beside the text, in pixels.
    int marginsWidth() const;

    // Offsets of the program's text <-> Scintilla positions (bytes).
    qint64 toTextOffset(qint64 position) const;
    qint64 toDocumentPosition(qint64 offset) const;
    bool isCharacterBoundary(qint64 offset) const
    {
        settleChange();
        return m_offsets.isCharacterBoundary(offset);
    }

    // The program's line (from 0) that holds Scintilla's line `line`, and
    // Scintilla's line where that program's line begins: a lone "\r" or
    // "\n" ends a line of Scintilla's, not of the program's.
    qint64 textLineOf(qint64 line) const
    {
        settleChange();
        return m_offsets.textLineOf(line);
    }
    qint64 textLineStart(qint64 line) const
    {
        settleChange();
        return m_offsets.textLineStart(line);
    }

    // A change that is in but not yet told (the control tells each one once
    // the next begins, or the events of the moment are handled) is told now.
    void settleChange() const;

    void showSelection(const QRect &avoid) override;

    // What is drawn over Scintilla's own painting of the viewport (the
    // margins' symbols), each time it paints, clipped to what it painted;
    // no more once `owner` is gone.
    using OverPainter = std::function<void(QPainter &painter, const QRect &painted)>;
    void paintOver(const QObject *owner, OverPainter painter)
    {
        m_overPainters.push_back({QPointer<const QObject>(owner), std::move(painter)});
    }
    // A row of the viewport and the line it shows (a wrapped line takes
    // several rows).
    struct ShownRow {
        qint64 line = 0;
        int top = 0;
        int height = 0;
        bool firstOfLine = true;
        bool lastOfLine = true;
    };
    // The rows shown between two heights of the viewport, top to bottom.
    void forEachShownRow(int fromY, int toY, const std::function<void(const ShownRow &)> &visit) const;
    // Where margin `margin` stands across the viewport: its left edge and width.
    QRect marginRect(int margin) const;

signals:
    // The right mouse button went down (or the menu key was pressed): the
    // owner shows its Edit menu at `globalPos`.
    void editMenuRequested(const QPoint &globalPos);
    // The control's own clipboard keys (Ctrl+X, Ctrl+C, Ctrl+V and their
    // Insert/Delete forms): the owner runs its Cut, Copy or Paste.
    void cutRequested();
    void copyRequested();
    void pasteRequested();
    // The modified flag changed.
    void modifiedChanged(bool modified);
    // The text changed: told once per change, once the change is in, and
    // before any other change is made.
    void textChanged(const zuno::TextChange &change);
    // The text is about to change, or its document to go: whoever reads it
    // in place (utf8Text()) on another thread stops before this returns.
    void textAboutToChange();
    // The caret, the selection, the text or the lines shown may have moved
    // (after each change, scroll or resize).
    void viewUpdated();
    // The control has painted what it shows.
    void painted();
    // The pixels of the lines after `line` moved `rows` rows down (up, below
    // zero) with their lines, which a key added or took away after `line`.
    void rowsMoved(qint64 line, qint64 rows);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;

private:
    // Scintilla's painting of one part of a paint, and what is drawn over it.
    void paintPart(QPaintEvent &event);
    // The changes Scintilla tells of: each before it is made. (QScintilla
    // answers each after-change notice for accessibility by counting
    // characters from the start of the document, 170 ms at the end of a
    // 50 MB document: those stay switched off.)
    static constexpr unsigned long ChangeEvents = SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE;

    struct WholeTextMeasure;
    class LoaderPieces;
    void useNewDocument();
    void useDocument(long document);
    // What a whole-text write takes away, told with what it put in place.
    TextChange wholeTextRemoval();
    void wholeTextWritten(WholeTextMeasure &measure, TextChange change);
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const
    {
        return SendScintilla(message, wParam, lParam);
    }
    QByteArray bytes(qint64 position, qint64 length) const;
    void select(qint64 anchor, qint64 caret);
    void replaceRange(qint64 from, qint64 to, const QByteArray &utf8);
    void aboutToModify(int position, int type, int length);
    // A change about to be made, told once it is in.
    void holdChange(TextChange change);
    void tellChange(const TextChange &change);
    // What a whole-text write or a Replace All takes away: [from, to).
    TextChange removal(qint64 from, qint64 to) const;
    void noteChange();
    void showModified(bool modified);

    void applyFont();
    void applyPalette();
    void assignKeys();
    void updateScrollWidth();

    QString m_fileName;
    bool m_modified = false;
    // Whether the history's save point stands for the text last saved.
    bool m_savePointHeld = false;
    // Kept across the documents a new text comes in.
    bool m_readOnly = false;
    int m_compoundDepth = 0;
    // Set while the program writes the text itself: Scintilla's delete and
    // insert notifications then count as one change.
    bool m_writing = false;
    // The change made, not yet told.
    mutable std::optional<TextChange> m_held;
    bool m_tellQueued = false;

    OffsetMap m_offsets{*this};
    LineWidthTracker m_widths{*this};
    AccessibleEditorEvents m_accessibility{*this};
    double m_cellWidth = 8;
    std::vector<std::pair<QPointer<const QObject>, OverPainter>> m_overPainters;
    // Moves Scintilla's gap back to the caret after reads; looks again
    // after every read of the whole text.
    mutable GapKeeper m_gap{*this};
};

} // namespace zuno
