#pragma once
// The line marks on Scintilla: a symbol drawn in the symbol margin beside
// each marked line shown (which lines are marked, `markOf` tells; Scintilla's
// markers would cost 8 bytes on every line of the text once one is set) and
// an indicator under the offending text (kept as runs, not per character).
// Also the line-number margin beside it.
#include "platform/LineMarks.h"

#include <QColor>

#include <functional>

class QObject;
class QPainter;
class QRect;

namespace zuno {
class EditorWidget;
}


namespace zuno {

class QtLineMarks : public ILineMarks {
public:
    // `markOf` tells the mark of a line, for the symbols drawn while
    // `owner` (which holds this) lasts; while setMark() runs, the mark the
    // line had.
    QtLineMarks(EditorWidget &editor, const QObject &owner, std::function<LineMark(qint64 line)> markOf);

    QByteArrayView wholeText() const override;
    qint64 lineCount() const override;
    QByteArray lineBytes(qint64 line) const override;
    qint64 lineStart(qint64 line) const override;
    Pieces textInPlace() const override;
    qint64 lineAt(qint64 position) const override;
    qint64 textLineNumber(qint64 line) const override;
    void setMark(qint64 line, LineMark mark, qint64 from, qint64 length) override;
    void clearAll() override;
    qint64 caretLine() const override;
    void moveCaretToLine(qint64 line) override;

    // The line-number margin, counting from 1, wide enough for the last
    // line's number; call again when the number of lines or the font changes.
    void showLineNumbers(bool show);
    bool lineNumbersShown() const { return m_lineNumbers; }
    void fitLineNumbers();
    // The line beside a point of the control's viewport that falls on the
    // margins (numbers or marks); -1 for a point elsewhere.
    qint64 marginLineAt(int x, int y) const;
    // The colours of the marks, for the background they stand on.
    void applyColours(const QColor &background);

private:
    void paintSymbols(QPainter &painter, const QRect &painted) const;
    void repaintSymbols() const;
    // Only the row of `line`, where it is on screen: a line checked again
    // as it is typed in repaints its own symbol, not the whole strip (whose
    // repaint, the height of the window, made the control paint every
    // shown line's text again).
    void repaintSymbolOf(qint64 line) const;
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;

    EditorWidget &m_editor;
    std::function<LineMark(qint64)> m_markOf;
    QColor m_errorColour;
    QColor m_warningColour;
    bool m_lineNumbers = true;
    int m_digits = 0;
};

} // namespace zuno
