#pragma once
// Folding on Scintilla: the fold margin (a box with a plus or minus beside
// each line that begins a fold; a click folds or unfolds it), fold all and
// unfold all, and a caret brought into a folded stretch (Go To, Find, F8,
// the panels) unfolds it. The levels come from the text's structure,
// through FoldLevelOf: the margin's symbols are drawn from them for the rows
// shown, and they are laid on Scintilla's lines only once something is
// folded, then as the lines come into view, so that a large text costs
// nothing until it is folded.
#include "platform/FoldLevel.h"

#include <QObject>

#include <map>

class QPainter;
class QRect;

namespace zuno {

class EditorWidget;

class QtFolds : public QObject {
    Q_OBJECT
public:
    QtFolds(EditorWidget &editor, FoldLevelOf levelOf, QObject *parent = nullptr);

    void foldAll();
    void unfoldAll();
    // Whether the line is hidden in a fold.
    bool isHidden(qint64 line) const;
    // Folds or unfolds the fold that begins on the line.
    void toggle(qint64 line);
    // Lays the levels on the lines first..last.
    void applyLevels(qint64 first, qint64 last);
    // The structure changed: the fold symbols that it changed are drawn
    // again (only those rows: a repaint the height of the window would make
    // the control paint every shown line's text again), and the lines shown
    // get their levels again.
    void refresh();

private:
    // What a row of the margin shows.
    struct RowSymbol {
        bool box = false;       // a fold begins on the row
        bool open = false;
        int depth = 0;          // the folds that hold the row
        bool carriedOn = false; // the fold around a box goes on past its fold
        int after = 0;          // the folds that hold the next line
        bool lastOfLine = false;
        bool operator==(const RowSymbol &) const = default;
    };
    RowSymbol symbolOf(qint64 line, bool firstOfLine, bool lastOfLine) const;
    // The lines shown (and a few around) get their levels, once something
    // has been folded.
    void layShownLevels();
    void paintSymbols(QPainter &painter, const QRect &painted) const;
    // Whether the fold that begins on the line is open.
    bool isExpanded(qint64 line) const;
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;
    void showCaretLine();

    EditorWidget &m_editor;
    FoldLevelOf m_levelOf;
    bool m_pending = false;
    // Whether any line has been given its level (something was folded).
    bool m_levelsLaid = false;
    // What each line's row showed when last painted (kept by line, so that
    // a scroll that moves the rows' pixels leaves it true).
    mutable std::map<qint64, RowSymbol> m_painted;
};

} // namespace zuno
