#include "platform/qt/EditorWidget.h"

#include "platform/qt/AccessibleEditor.h"
#include "platform/qt/QuietScrollBar.h"
#include "platform/qt/ScintillaDocument.h"
#include "text/Utf8Text.h"
#include "text/TextFind.h"
#include "text/TextScan.h"

#include <QFontInfo>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

// A find decodes the document a stretch of whole lines at a time.
constexpr qint64 FindChunkBytes = 1 << 20;

} // namespace

EditorWidget::EditorWidget(QWidget *parent) : QsciScintillaBase(parent)
{
    setObjectName(QStringLiteral("rtbEditor"));
    AccessibleEditor::install();
    useNewDocument();
    send(Sci::SCI_SETPASTECONVERTENDINGS, 0);
    send(Sci::SCI_SETWRAPMODE, Sci::SC_WRAP_NONE);
    for (unsigned long margin = 0; margin < 5; ++margin)
        send(Sci::SCI_SETMARGINWIDTHN, margin, 0);
    send(Sci::SCI_SETSCROLLWIDTHTRACKING, 0);
    // The last lines may be scrolled up the window, out from under a
    // Find/Replace dialog that would hide an occurrence found there.
    send(Sci::SCI_SETENDATLASTLINE, 0);
    send(Sci::SCI_USEPOPUP, Sci::SC_POPUP_NEVER);
    send(Sci::SCI_SETMULTIPLESELECTION, 0);
    // No annotations: shown, a new document's 16 million lines take 70 ms.
    send(Sci::SCI_ANNOTATIONSETVISIBLE, Sci::ANNOTATION_HIDDEN);
    send(Sci::SCI_SETMODEVENTMASK, ChangeEvents);
    replaceHorizontalScrollBar(new QuietScrollBar(Qt::Horizontal));
    replaceVerticalScrollBar(new QuietScrollBar(Qt::Vertical));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char *, int length, int, int, int, int, int, int) {
                aboutToModify(position, type, length);
            });
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) {
        settleChange();
        m_accessibility.selectionMayHaveChanged();
        m_gap.poke();
        emit viewUpdated();
    });
    connect(this, &QsciScintillaBase::SCN_PAINTED, this, &EditorWidget::painted);
    // An undo or redo back to the saved text.
    connect(this, &QsciScintillaBase::SCN_SAVEPOINTREACHED, this, [this] {
        if (m_savePointHeld)
            showModified(false);
    });

    assignKeys();
    applyFont();
    updateScrollWidth();
}

EditorWidget::~EditorWidget()
{
    emit textAboutToChange();
}

// ------------------------------------------------------------ bytes and offsets

QByteArray EditorWidget::bytes(qint64 position, qint64 length) const
{
    if (length <= 0)
        return QByteArray();
    return QByteArray(sci::rangePointer(*this, position, length), length);
}

qint64 EditorWidget::textLength() const
{
    settleChange();
    return m_offsets.textLength();
}

qint64 EditorWidget::lineFromChar(qint64 offset) const
{
    settleChange();
    return m_offsets.lineFromChar(offset);
}

qint64 EditorWidget::toTextOffset(qint64 position) const
{
    settleChange();
    return m_offsets.toTextOffset(position);
}

qint64 EditorWidget::toDocumentPosition(qint64 offset) const
{
    settleChange();
    return m_offsets.toDocumentPosition(offset);
}

// ------------------------------------------------------------ text

QString EditorWidget::textBetween(qint64 from, qint64 to) const
{
    const qint64 start = toDocumentPosition(from);
    return utf8ToText(bytes(start, toDocumentPosition(to) - start));
}

QByteArrayView EditorWidget::utf8Text() const
{
    const QByteArrayView text = sci::wholeText(*this);
    m_gap.poke(); // the read left the gap at the end
    return text;
}

void EditorWidget::replaceRange(qint64 from, qint64 to, const QByteArray &utf8)
{
    if (from == to && utf8.isEmpty())
        return;
    send(Sci::SCI_BEGINUNDOACTION);
    send(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), to);
    SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(utf8.size()), utf8.constData());
    send(Sci::SCI_ENDUNDOACTION);
}

void EditorWidget::setModified(bool modified)
{
    m_savePointHeld = !modified;
    if (!modified)
        send(Sci::SCI_SETSAVEPOINT);
    showModified(modified);
}

void EditorWidget::showModified(bool modified)
{
    if (m_modified != modified)
        emit modifiedChanged(m_modified = modified);
}

// ------------------------------------------------------------ selection

// One call sets the whole selection. Setting its two ends one after the
// other would select, in between, everything from the old anchor to the new
// caret; on X11 Scintilla hands each selection it makes to PRIMARY, so a
// jump to the end of a large text would copy all of it there. A caret alone
// leaves PRIMARY as it was, and so does a selection made within a compound
// edit: it is a step of the edit, not a selection the user sees.
// None of these calls scrolls, but for a selection shown at once: a
// compound edit moves the selection many times and shows it once, at its
// end.
void EditorWidget::select(qint64 anchor, qint64 caret)
{
    if (anchor == caret)
        send(Sci::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(caret));
    else if (m_compoundDepth > 0)
        send(Sci::SCI_SETSELECTION, static_cast<unsigned long>(caret), anchor);
    else
        send(Sci::SCI_SETSEL, static_cast<unsigned long>(anchor), caret);
    m_accessibility.selectionMayHaveChanged();
}

qint64 EditorWidget::selStart() const
{
    return toTextOffset(send(Sci::SCI_GETSELECTIONSTART));
}

qint64 EditorWidget::selLength() const
{
    return toTextOffset(send(Sci::SCI_GETSELECTIONEND)) - toTextOffset(send(Sci::SCI_GETSELECTIONSTART));
}

void EditorWidget::setSelStart(qint64 start)
{
    const qint64 position = toDocumentPosition(start);
    select(position, position);
    if (m_compoundDepth == 0)
        send(Sci::SCI_SCROLLCARET);
}

void EditorWidget::setSelLength(qint64 length)
{
    const qint64 anchor = send(Sci::SCI_GETSELECTIONSTART);
    select(anchor, toDocumentPosition(toTextOffset(anchor) + std::max<qint64>(length, 0)));
}

QString EditorWidget::selText() const
{
    const qint64 from = send(Sci::SCI_GETSELECTIONSTART);
    return utf8ToText(bytes(from, send(Sci::SCI_GETSELECTIONEND) - from));
}

void EditorWidget::setSelText(const QString &text)
{
    replaceRange(send(Sci::SCI_GETSELECTIONSTART), send(Sci::SCI_GETSELECTIONEND), text.toUtf8());
    const qint64 end = send(Sci::SCI_GETTARGETEND);
    select(end, end);
    if (m_compoundDepth == 0)
        send(Sci::SCI_SCROLLCARET);
}

void EditorWidget::replaceRanges(const QList<Utf8Range> &ranges, QByteArrayView replacement)
{
    if (ranges.isEmpty())
        return;
    beginCompoundEdit();
    // Scintilla tells of none of these changes: they are told as one, the
    // stretch from the first range to the last replaced.
    settleChange();
    TextChange change = removal(ranges.first().from, ranges.last().to);
    emit textAboutToChange();
    send(Sci::SCI_SETMODEVENTMASK, 0);
    // Each range moves by what the replacements before it added.
    qint64 shift = 0;
    for (const Utf8Range &range : ranges) {
        send(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(range.from + shift), range.to + shift);
        SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(replacement.size()), replacement.data());
        shift += replacement.size() - (range.to - range.from);
    }
    send(Sci::SCI_SETMODEVENTMASK, ChangeEvents);
    const qint64 end = send(Sci::SCI_GETTARGETEND);
    change.insertedBytes = end - change.position;
    noteChange();
    tellChange(change);
    select(end, end);
    endCompoundEdit();
}

void EditorWidget::replaceEach(const Utf8Replacements &replacements)
{
    if (replacements.ranges.isEmpty())
        return;
    beginCompoundEdit();
    // As with replaceRanges: told as one change, the stretch from the first
    // range to the last replaced.
    settleChange();
    TextChange change = removal(replacements.ranges.first().from, replacements.ranges.last().to);
    emit textAboutToChange();
    send(Sci::SCI_SETMODEVENTMASK, 0);
    qint64 shift = 0;
    for (qsizetype i = 0; i < replacements.count(); ++i) {
        const Utf8Range &range = replacements.ranges[i];
        const QByteArrayView text = replacements.text(i);
        send(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(range.from + shift), range.to + shift);
        SendScintilla(Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(text.size()), text.data());
        shift += text.size() - (range.to - range.from);
    }
    send(Sci::SCI_SETMODEVENTMASK, ChangeEvents);
    const qint64 end = send(Sci::SCI_GETTARGETEND);
    change.insertedBytes = end - change.position;
    noteChange();
    tellChange(change);
    select(end, end);
    endCompoundEdit();
}

void EditorWidget::showSelection(const QRect &avoid)
{
    const qint64 anchor = send(Sci::SCI_GETANCHOR);
    const qint64 caret = send(Sci::SCI_GETCURRENTPOS);
    send(Sci::SCI_SCROLLRANGE, static_cast<unsigned long>(anchor), caret);
    if (avoid.isEmpty())
        return;
    const qint64 from = std::min(anchor, caret);
    const int lineHeight = std::max(1, int(send(Sci::SCI_TEXTHEIGHT, 0)));
    const QPoint start(int(send(Sci::SCI_POINTXFROMPOSITION, 0, from)),
                       int(send(Sci::SCI_POINTYFROMPOSITION, 0, from)));
    const int width = int(send(Sci::SCI_POINTXFROMPOSITION, 0, std::max(anchor, caret))) - start.x();
    const QRect found(viewport()->mapToGlobal(start), QSize(std::max(width, 1), lineHeight));
    if (!found.intersects(avoid))
        return;
    // Whole lines, until the occurrence stands just above the window in the
    // way or just below it: whichever is nearer and still on the editor.
    const QRect shown(viewport()->mapToGlobal(QPoint(0, 0)), viewport()->size());
    const int up = found.top() - (avoid.top() - lineHeight);
    const int down = avoid.bottom() + 1 - found.top();
    const bool aboveFits = avoid.top() - lineHeight >= shown.top();
    const bool belowFits = avoid.bottom() + 1 + lineHeight <= shown.bottom() + 1;
    long lines = 0;
    if (aboveFits && (!belowFits || up <= down))
        lines = (up + lineHeight - 1) / lineHeight;
    else if (belowFits)
        lines = -((down + lineHeight - 1) / lineHeight);
    if (lines != 0)
        send(Sci::SCI_LINESCROLL, 0, lines);
}

// ------------------------------------------------------------ find

qint64 EditorWidget::find(const QString &needle, qint64 start, FindOptions options)
{
    const bool matchCase = options & FindOption::MatchCase;
    const bool wholeWord = options & FindOption::WholeWord;
    if (needle.isEmpty() || start < 0 || start > textLength())
        return -1;

    if (needle.contains(QLatin1Char('\r')) || needle.contains(QLatin1Char('\n'))) {
        // An occurrence that may span lines: search the whole text.
        const qsizetype at = findText(utf8ToText(utf8Text()), needle, start, matchCase, wholeWord);
        if (at < 0)
            return -1;
        select(toDocumentPosition(at), toDocumentPosition(at + needle.size()));
        return at;
    }

    // A stretch of whole lines at a time: a line break never continues a
    // word, and an occurrence without one never crosses it.
    const qint64 length = send(Sci::SCI_GETLENGTH);
    const qint64 from = toDocumentPosition(start);
    qint64 line = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(from));
    qint64 chunkStart = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    qsizetype within = utf8ToText(bytes(chunkStart, from - chunkStart)).size();
    while (chunkStart < length) {
        const qint64 lastLine = send(Sci::SCI_LINEFROMPOSITION,
                                     static_cast<unsigned long>(std::min(length, chunkStart + FindChunkBytes)));
        qint64 chunkEnd = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(lastLine + 1));
        if (chunkEnd <= chunkStart || lastLine + 1 >= send(Sci::SCI_GETLINECOUNT))
            chunkEnd = length;
        const QString chunk = utf8ToText(bytes(chunkStart, chunkEnd - chunkStart));
        const qsizetype at = findText(chunk, needle, within, matchCase, wholeWord);
        if (at >= 0) {
            const qint64 offset = toTextOffset(chunkStart) + at;
            select(toDocumentPosition(offset), toDocumentPosition(offset + needle.size()));
            return offset;
        }
        chunkStart = chunkEnd;
        within = 0;
    }
    return -1;
}

// ------------------------------------------------------------ commands

void EditorWidget::setFocus()
{
    if (QWidget *top = window()) {
        top->raise();
        top->activateWindow();
    }
    QWidget::setFocus(Qt::OtherFocusReason);
}

void EditorWidget::undo()
{
    send(Sci::SCI_UNDO);
    send(Sci::SCI_SCROLLCARET);
}

void EditorWidget::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    send(Sci::SCI_SETREADONLY, readOnly ? 1 : 0);
}

void EditorWidget::redo()
{
    send(Sci::SCI_REDO);
    send(Sci::SCI_SCROLLCARET);
}

void EditorWidget::beginCompoundEdit()
{
    if (m_compoundDepth++ == 0)
        send(Sci::SCI_BEGINUNDOACTION);
}

void EditorWidget::endCompoundEdit()
{
    if (m_compoundDepth == 0 || --m_compoundDepth > 0)
        return;
    send(Sci::SCI_ENDUNDOACTION);
    send(Sci::SCI_SCROLLCARET);
    updateScrollWidth();
}

// ------------------------------------------------------------ display

void EditorWidget::applyFont()
{
    const QFont shown = font();
    const QByteArray family = QFontInfo(shown).family().toUtf8();
    const double points = shown.pointSizeF() > 0 ? shown.pointSizeF() : 9.75;
    SendScintilla(Sci::SCI_STYLESETFONT, static_cast<uintptr_t>(Sci::STYLE_DEFAULT), family.constData());
    send(Sci::SCI_STYLESETSIZEFRACTIONAL, Sci::STYLE_DEFAULT, std::lround(points * 100));
    send(Sci::SCI_STYLESETWEIGHT, Sci::STYLE_DEFAULT, shown.weight());
    send(Sci::SCI_STYLESETITALIC, Sci::STYLE_DEFAULT, shown.italic() ? 1 : 0);
    applyPalette();
    QFont measured(QFontInfo(shown).family());
    measured.setPointSizeF(points);
    measured.setWeight(shown.weight());
    measured.setItalic(shown.italic());
    m_cellWidth = QFontMetricsF(measured).horizontalAdvance(QLatin1Char('X'));
    updateScrollWidth();
}

void EditorWidget::applyPalette()
{
    const QPalette colours = palette();
    SendScintilla(Sci::SCI_STYLESETFORE, static_cast<unsigned long>(Sci::STYLE_DEFAULT),
                  colours.color(QPalette::Text));
    SendScintilla(Sci::SCI_STYLESETBACK, static_cast<unsigned long>(Sci::STYLE_DEFAULT),
                  colours.color(QPalette::Base));
    // Every style takes the default's font and colours.
    send(Sci::SCI_STYLECLEARALL);
    SendScintilla(Sci::SCI_SETSELFORE, 1UL, colours.color(QPalette::HighlightedText));
    SendScintilla(Sci::SCI_SETSELBACK, 1UL, colours.color(QPalette::Highlight));
    SendScintilla(Sci::SCI_SETCARETFORE, colours.color(QPalette::Text));
    // The fold margin in one colour: its checks, moved a row with the lines
    // below a key (a row is an odd number of pixels high), would no longer
    // line up with those painted afresh.
    SendScintilla(Sci::SCI_SETFOLDMARGINCOLOUR, 1UL, colours.color(QPalette::Window));
    SendScintilla(Sci::SCI_SETFOLDMARGINHICOLOUR, 1UL, colours.color(QPalette::Window));
}

void EditorWidget::changeEvent(QEvent *event)
{
    QsciScintillaBase::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyFont();
    else if (event->type() == QEvent::PaletteChange)
        applyPalette();
}

} // namespace zuno
