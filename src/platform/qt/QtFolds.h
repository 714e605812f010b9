#pragma once
// Folding on Scintilla: the fold margin (a box with a plus or minus beside
// each line that begins a fold; a click folds or unfolds it), fold all and
// unfold all, and a caret brought into a folded stretch (Go To, Find, F8,
// the panels) unfolds it. The levels come from the text's structure,
// through FoldLevelOf, and are laid on the lines as they come into view, so
// that a large text costs nothing until it is folded whole.
#include "platform/FoldLevel.h"

#include <QObject>

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
    // The structure changed: the lines shown get their levels again.
    void refresh();

private:
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const;
    void showCaretLine();

    EditorWidget &m_editor;
    FoldLevelOf m_levelOf;
    bool m_pending = false;
};

} // namespace zuno
