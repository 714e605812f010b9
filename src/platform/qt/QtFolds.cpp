#include "platform/qt/QtFolds.h"

#include "platform/qt/EditorWidget.h"

#include <QPainter>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

constexpr unsigned long FoldMargin = 2;
constexpr int FoldMarginWidth = 14;
// Lines beyond the screen that get their levels with it, so that a fold
// seen at its edge is drawn whole.
constexpr qint64 Around = 2;

long levelOf(const FoldLevel &level)
{
    long value = Sci::SC_FOLDLEVELBASE + level.depth;
    if (level.header)
        value |= Sci::SC_FOLDLEVELHEADERFLAG;
    return value;
}

} // namespace

QtFolds::QtFolds(EditorWidget &editor, FoldLevelOf levelOf, QObject *parent)
    : QObject(parent), m_editor(editor), m_levelOf(std::move(levelOf))
{
    send(Sci::SCI_SETMARGINTYPEN, FoldMargin, Sci::SC_MARGIN_SYMBOL);
    send(Sci::SCI_SETMARGINMASKN, FoldMargin, Sci::SC_MASK_FOLDERS);
    send(Sci::SCI_SETMARGINWIDTHN, FoldMargin, FoldMarginWidth);
    send(Sci::SCI_SETMARGINSENSITIVEN, FoldMargin, 1);
    // Scintilla draws no fold symbols (its fold levels, 4 bytes on every
    // line of the text once one is set, are laid only once something is
    // folded): the symbols are drawn over its margin from the text's
    // structure.
    for (int marker = Sci::SC_MARKNUM_FOLDEREND; marker <= int(Sci::SC_MARKNUM_FOLDEROPEN); ++marker)
        send(Sci::SCI_MARKERDEFINE, marker, Sci::SC_MARK_EMPTY);
    // What a row shows moved with its line.
    connect(&editor, &EditorWidget::rowsMoved, this, [this](qint64 line, qint64 rows) {
        std::map<qint64, RowSymbol> moved;
        for (const auto &[shown, symbol] : m_painted) {
            if (shown <= line)
                moved.emplace(shown, symbol);
            else if (shown > line - std::min<qint64>(rows, 0))
                moved.emplace(shown + rows, symbol);
        }
        m_painted = std::move(moved);
    });
    m_editor.paintOver(this, [this](QPainter &painter, const QRect &painted) { paintSymbols(painter, painted); });
    // A folded line shows a line under it; a fold whose first line changes
    // so that it no longer begins one (its AC line deleted or renamed) is
    // shown again, and so is a folded fold that comes to hold shown lines.
    send(Sci::SCI_SETFOLDFLAGS, Sci::SC_FOLDFLAG_LINEAFTER_CONTRACTED);
    send(Sci::SCI_SETAUTOMATICFOLD, Sci::SC_AUTOMATICFOLD_SHOW | Sci::SC_AUTOMATICFOLD_CHANGE);

    connect(&editor, &Sci::SCN_MARGINCLICK, this, [this](int position, int, int margin) {
        if (margin == int(FoldMargin))
            toggle(send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
    });
    // Not while Scintilla paints (it sends the notice from its painting):
    // new levels would abandon the paint.
    connect(&editor, &Sci::SCN_UPDATEUI, this, [this](int) {
        if (m_pending)
            return;
        m_pending = true;
        QMetaObject::invokeMethod(this, [this] {
            m_pending = false;
            layShownLevels();
            showCaretLine();
        }, Qt::QueuedConnection);
    });
}

long QtFolds::send(unsigned int message, unsigned long wParam, long lParam) const
{
    return m_editor.SendScintilla(message, wParam, lParam);
}

void QtFolds::applyLevels(qint64 first, qint64 last)
{
    m_levelsLaid = true;
    last = std::min(last, qint64(send(Sci::SCI_GETLINECOUNT)) - 1);
    for (qint64 line = std::max<qint64>(first, 0); line <= last;) {
        const FoldLevel level = m_levelOf(line);
        const long value = levelOf(level);
        const qint64 end = std::min(std::max(level.same, line), last);
        for (; line <= end; ++line) {
            if (send(Sci::SCI_GETFOLDLEVEL, static_cast<unsigned long>(line)) != value)
                send(Sci::SCI_SETFOLDLEVEL, static_cast<unsigned long>(line), value);
        }
    }
}

void QtFolds::refresh()
{
    // Scintilla repaints the lines it changes; a change of the structure
    // may change the symbols of others.
    const QRect margin = m_editor.marginRect(int(FoldMargin));
    if (send(Sci::SCI_GETWRAPMODE) != Sci::SC_WRAP_NONE) {
        m_editor.viewport()->update(margin);
    } else if (margin.width() > 0) {
        std::map<qint64, RowSymbol> shown;
        m_editor.forEachShownRow(0, margin.bottom() + 1, [&](const EditorWidget::ShownRow &row) {
            const auto painted = m_painted.find(row.line);
            if (painted == m_painted.end() || painted->second != symbolOf(row.line, true, true))
                m_editor.viewport()->update(QRect(margin.left(), row.top, margin.width(), row.height));
            else
                shown.insert(*painted);
        });
        // What scrolled away is painted afresh when it comes back.
        m_painted = std::move(shown);
    }
    layShownLevels();
}

void QtFolds::layShownLevels()
{
    // Before anything is folded, no line needs a level.
    if (!m_levelsLaid)
        return;
    const qint64 top = send(Sci::SCI_DOCLINEFROMVISIBLE, send(Sci::SCI_GETFIRSTVISIBLELINE));
    const qint64 shown = send(Sci::SCI_LINESONSCREEN);
    const qint64 bottom = send(Sci::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(send(Sci::SCI_GETFIRSTVISIBLELINE) + shown));
    applyLevels(top - Around, bottom + Around);
}

void QtFolds::toggle(qint64 line)
{
    const FoldLevel level = m_levelOf(line);
    if (!level.header)
        return;
    applyLevels(line, level.last + 1);
    send(Sci::SCI_TOGGLEFOLD, static_cast<unsigned long>(line));
}

void QtFolds::foldAll()
{
    applyLevels(0, send(Sci::SCI_GETLINECOUNT) - 1);
    send(Sci::SCI_FOLDALL, Sci::SC_FOLDACTION_CONTRACT);
    send(Sci::SCI_SCROLLCARET);
}

void QtFolds::unfoldAll()
{
    send(Sci::SCI_FOLDALL, Sci::SC_FOLDACTION_EXPAND);
    send(Sci::SCI_SCROLLCARET);
}

bool QtFolds::isExpanded(qint64 line) const
{
    return !m_levelsLaid || send(Sci::SCI_GETFOLDEXPANDED, static_cast<unsigned long>(line));
}

QtFolds::RowSymbol QtFolds::symbolOf(qint64 line, bool firstOfLine, bool lastOfLine) const
{
    const qint64 lines = send(Sci::SCI_GETLINECOUNT);
    // How many folds hold the line (a fold's first line stands outside it).
    const auto inside = [&](qint64 at) { return at < lines ? m_levelOf(at).depth : 0; };
    const FoldLevel level = m_levelOf(line);
    RowSymbol symbol;
    symbol.box = level.header && firstOfLine;
    symbol.lastOfLine = lastOfLine;
    if (symbol.box) {
        symbol.open = isExpanded(line);
        symbol.depth = level.depth;
        symbol.carriedOn = inside(level.last + 1) > 0;
    } else {
        // The later rows of a wrapped first line are within its fold.
        symbol.depth = level.header ? level.depth + 1 : level.depth;
        symbol.after = symbol.depth > 0 ? inside(line + 1) : 0;
    }
    return symbol;
}

void QtFolds::paintSymbols(QPainter &painter, const QRect &painted) const
{
    const QRect margin = m_editor.marginRect(int(FoldMargin));
    if (!margin.intersects(painted) || margin.width() <= 0)
        return;
    const QColor colour = m_editor.palette().color(QPalette::Text);
    painter.setPen(QPen(colour, 1));
    const int x = margin.left() + margin.width() / 2;
    m_editor.forEachShownRow(painted.top(), painted.bottom() + 1, [&](const EditorWidget::ShownRow &row) {
        const RowSymbol symbol = symbolOf(row.line, row.firstOfLine, row.lastOfLine);
        m_painted[row.line] = symbol;
        const int top = row.top;
        const int bottom = row.top + row.height;
        const int middle = row.top + row.height / 2;
        if (symbol.box) {
            // A box with a minus (open) or a plus (folded), joined to the
            // fold around it and to its own lines below.
            const int half = std::max(2, std::min(margin.width(), row.height) / 2 - 3);
            const QRect box(x - half, middle - half, 2 * half, 2 * half);
            if (symbol.depth > 0) {
                painter.drawLine(x, top, x, box.top());
                if (symbol.open || symbol.carriedOn)
                    painter.drawLine(x, box.bottom() + 1, x, bottom);
            } else if (symbol.open) {
                painter.drawLine(x, box.bottom() + 1, x, bottom);
            }
            painter.drawRect(box);
            painter.drawLine(box.left() + 2, middle, box.right() - 1, middle);
            if (!symbol.open)
                painter.drawLine(x, box.top() + 2, x, box.bottom() - 1);
            return;
        }
        if (symbol.depth <= 0)
            return;
        // The last row of a fold turns towards the text; a fold around it
        // that goes on carries its line down.
        if (symbol.lastOfLine && symbol.after < symbol.depth) {
            painter.drawLine(x, top, x, middle);
            painter.drawLine(x, middle, margin.right() - 1, middle);
            if (symbol.after > 0)
                painter.drawLine(x, middle, x, bottom);
        } else {
            painter.drawLine(x, top, x, bottom);
        }
    });
}

bool QtFolds::isHidden(qint64 line) const
{
    return !send(Sci::SCI_GETLINEVISIBLE, static_cast<unsigned long>(line));
}

void QtFolds::showCaretLine()
{
    const qint64 caret = send(Sci::SCI_LINEFROMPOSITION, send(Sci::SCI_GETCURRENTPOS));
    if (isHidden(caret)) {
        send(Sci::SCI_ENSUREVISIBLE, static_cast<unsigned long>(caret));
        send(Sci::SCI_SCROLLCARET);
    }
}

} // namespace zuno
