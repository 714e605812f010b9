#include "platform/qt/QtFolds.h"

#include "platform/qt/EditorWidget.h"

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
    const struct {
        int marker;
        int symbol;
    } markers[] = {
        {Sci::SC_MARKNUM_FOLDEROPEN, Sci::SC_MARK_BOXMINUS},
        {Sci::SC_MARKNUM_FOLDER, Sci::SC_MARK_BOXPLUS},
        {Sci::SC_MARKNUM_FOLDERSUB, Sci::SC_MARK_VLINE},
        {Sci::SC_MARKNUM_FOLDERTAIL, Sci::SC_MARK_LCORNER},
        {Sci::SC_MARKNUM_FOLDEREND, Sci::SC_MARK_BOXPLUSCONNECTED},
        {Sci::SC_MARKNUM_FOLDEROPENMID, Sci::SC_MARK_BOXMINUSCONNECTED},
        {Sci::SC_MARKNUM_FOLDERMIDTAIL, Sci::SC_MARK_TCORNER},
    };
    for (const auto &m : markers)
        send(Sci::SCI_MARKERDEFINE, m.marker, m.symbol);
    // A folded line shows a line under it; a fold whose first line changes
    // so that it no longer begins one is shown again.
    send(Sci::SCI_SETFOLDFLAGS, Sci::SC_FOLDFLAG_LINEAFTER_CONTRACTED);
    send(Sci::SCI_SETAUTOMATICFOLD, Sci::SC_AUTOMATICFOLD_SHOW);

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
            refresh();
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
