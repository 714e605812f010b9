#pragma once
// Scintilla repaints the whole window when a key splits a line or joins
// two, though every line below only moves a row down or up. For such a key
// (Enter; Backspace at a line's start; Delete at its end) in a window whose
// lines are neither wrapped nor folded away, the window's repaints are held
// while Scintilla takes the key. Then the pixels of the text below move, as
// a scroll moves them, with their margins' symbols, and only the rows the
// key changed are painted afresh (with the line numbers that come or go
// where the text ends).
// Whatever else the key did (the view scrolled sideways, the window changed
// size, the margins their widths, another number of lines than expected)
// has the whole window
// painted, as Scintilla would have.
#include <QSize>

#include <optional>

class QKeyEvent;

namespace zuno {

class EditorWidget;

class KeyRowShift {
public:
    // Holds the window's repaints if `key` splits or joins lines here.
    KeyRowShift(EditorWidget &editor, const QKeyEvent &key);
    // Lets them through again, with the rows moved or the window repainted.
    ~KeyRowShift();
    KeyRowShift(const KeyRowShift &) = delete;
    KeyRowShift &operator=(const KeyRowShift &) = delete;

private:
    struct View {
        long lines = 0;
        long top = 0;
        long xOffset = 0;
        int margins = 0;
        QSize size;
        bool operator==(const View &) const = default;
    };
    View view() const;
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;

    EditorWidget &m_editor;
    View m_before;
    // The first line the key changes, and the lines it adds (or, below
    // zero, takes away); unset when the key is left to Scintilla alone.
    long m_line = 0;
    std::optional<int> m_added;
};

} // namespace zuno
