#pragma once
// The codes of the lines on screen coloured by their roles: only the lines
// shown are coloured (with indicators that change the text's colour, kept
// as runs), again whenever others come into view or the text changes, so
// that the cost does not grow with the file. After an edit within the lines
// shown, only the lines it made, and those whose codes it changed, are
// coloured again: the control repaints every line whose colours are set.
#include "items/ItemMarks.h"
#include "format/DataItem.h"
#include "platform/qt/QtTextColours.h"

#include <QColor>
#include <QObject>

#include <limits>
#include <optional>
#include <vector>

namespace zuno {

class EditorWidget;

class CodeColours : public QObject {
    Q_OBJECT
public:
    // `lines` reads the control's lines in the layout last checked.
    CodeColours(EditorWidget &editor, const ItemMarks &lines, QObject *parent);

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // The lines shown must be coloured again (the text or its layout changed).
    void invalidate() { m_dirty = true; }
    // The text changed: the lines the change made are coloured again, and
    // those after it whose codes it changed.
    void textChanged(const TextChange &change);
    // Colours the lines on screen, if they are not yet.
    void update();

    // The colour of a role's code on a light or a dark background.
    static QColor colour(ItemRole role, bool darkBackground);

    // The colours for the control's background, after it changed.
    void applyColours();

private:
    void clear();
    void linesMoved(const TextChange &change, qint64 line, qint64 added);
    // Lines first..last; none when first > last.
    struct LineRange {
        qint64 first = std::numeric_limits<qint64>::max();
        qint64 last = -1;
    };
    // Colours the lines shown; given the lines an edit made, again only
    // those and the lines whose codes are no longer those coloured.
    void colourLines(qint64 first, qint64 last, std::optional<LineRange> edited);

    EditorWidget &m_editor;
    QtTextColours m_colours;
    const ItemMarks &m_lines;
    bool m_enabled = true;
    bool m_dirty = true;
    // What was coloured: the lines and the document.
    qint64 m_first = -1;
    qint64 m_last = -1;
    qint64 m_from = 0;
    qint64 m_to = 0;
    quintptr m_document = 0;
    qint64 m_lineCount = -1;
    // The lines the edits made since the last colouring.
    LineRange m_edited;
    // The codes each text line shown was coloured with, from the first.
    struct Coloured {
        qint64 line = 0;
        QList<CodeSpan> codes;
    };
    std::vector<Coloured> m_coloured;
};

} // namespace zuno
