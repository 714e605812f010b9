#pragma once
// Runs of the edit control's text drawn in colours of their own, over the
// text's own colour (Scintilla indicators that change the text's colour,
// kept as runs, so that a run costs nothing per character), and the lines
// the control shows, which are all that need colouring.
#include <QColor>
#include <QtGlobal>

namespace zuno {

class EditorWidget;

class QtTextColours {
public:
    // Colours 0 to count - 1 (at most indicators::TextColourCount).
    QtTextColours(EditorWidget &editor, int count);

    void setColour(int colour, const QColor &value);
    // Draws `length` bytes from byte `position` in the colour.
    void fill(int colour, qint64 position, qint64 length);
    // Takes every colour off the bytes [from, to) (stopping at the end of
    // the text), when the text is still the one `document` named.
    void clear(quintptr document, qint64 from, qint64 to);
    // Names the text the control holds: another after each whole-text write.
    quintptr document() const;

    // The control's lines shown, the first and how many fit.
    qint64 firstVisibleLine() const;
    qint64 linesOnScreen() const;
    // Where a line of the control starts, and ends before its line break.
    qint64 lineStart(qint64 line) const;
    qint64 lineEnd(qint64 line) const;

private:
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;

    EditorWidget &m_editor;
    int m_count;
};

} // namespace zuno
