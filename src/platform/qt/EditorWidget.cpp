#include "platform/qt/EditorWidget.h"

#include "textfile/TextFile.h"
#include "search/TextFind.h"
#include "TextScan.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

constexpr int TabCells = 8;
// A control character is shown as its abbreviation in a box ("NUL", "ESC").
constexpr int ControlCharacterCells = 4;
// A find decodes the document a stretch of whole lines at a time.
constexpr qint64 FindChunkBytes = 1 << 20;

// Width in character cells of the longest line of a text fed to it in
// pieces (lines end at any "\r" or "\n", as Scintilla shows them).
class LineMeasure {
public:
    void feed(const char *data, qint64 size)
    {
        for (qint64 i = 0; i < size; ++i) {
            const qint64 plain = scan::plainAsciiRun(data + i, size - i);
            m_cells += plain;
            i += plain;
            if (i == size)
                break;
            const auto c = static_cast<unsigned char>(data[i]);
            if (c >= 0x20) {
                // A UTF-8 continuation byte adds no character.
                m_cells += (c & 0xC0) != 0x80;
            } else if (c == '\r' || c == '\n') {
                m_widest = std::max(m_widest, m_cells);
                m_cells = 0;
            } else if (c == '\t') {
                m_cells = (m_cells / TabCells + 1) * TabCells;
            } else {
                m_cells += ControlCharacterCells;
            }
        }
    }
    qint64 widest() const { return std::max(m_widest, m_cells); }

private:
    qint64 m_widest = 0;
    qint64 m_cells = 0;
};

// Letters a to z as capitals; everything else as it is.
QString withCapitals(const QString &typed)
{
    QString result = typed;
    for (QChar &c : result) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return result;
}

// The control's accessible face: an editable text whose offsets are the
// program's. (QScintilla's own counts the characters from the start of the
// document to the caret after every change and every repaint, which on a
// 50 MB document makes each keystroke take a third of a second.)
class AccessibleEditor : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleEditor(EditorWidget *editor)
        : QAccessibleWidget(editor, QAccessible::EditableText), m_editor(editor)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && m_editor->selLength() > 0) {
            *startOffset = int(m_editor->selStart());
            *endOffset = int(m_editor->selStart() + m_editor->selLength());
        }
    }
    int selectionCount() const override { return m_editor->selLength() > 0 ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int) override { m_editor->setSelStart(cursorPosition()); }
    void setSelection(int, int startOffset, int endOffset) override
    {
        m_editor->setSelStart(startOffset);
        m_editor->setSelLength(endOffset - startOffset);
    }
    int cursorPosition() const override
    {
        return int(m_editor->toTextOffset(m_editor->SendScintilla(Sci::SCI_GETCURRENTPOS)));
    }
    void setCursorPosition(int position) override { m_editor->setSelStart(position); }
    QString text(int startOffset, int endOffset) const override
    {
        return m_editor->textBetween(startOffset, endOffset);
    }
    int characterCount() const override { return int(m_editor->textLength()); }
    QRect characterRect(int offset) const override
    {
        const auto position = static_cast<unsigned long>(m_editor->toDocumentPosition(offset));
        const QPoint at(int(m_editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, long(position))),
                        int(m_editor->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, long(position))));
        const int height = int(m_editor->SendScintilla(Sci::SCI_TEXTHEIGHT, 0UL));
        const int width = int(m_editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL,
                                                      m_editor->SendScintilla(Sci::SCI_POSITIONAFTER, position)))
            - at.x();
        return QRect(m_editor->viewport()->mapToGlobal(at), QSize(std::max(width, 1), height));
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint at = m_editor->viewport()->mapFromGlobal(point);
        return int(m_editor->toTextOffset(
            m_editor->SendScintilla(Sci::SCI_POSITIONFROMPOINTCLOSE, static_cast<unsigned long>(at.x()), long(at.y()))));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        setSelection(0, startIndex, endIndex);
        m_editor->showSelection(QRect());
    }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        Q_UNUSED(offset);
        return QString();
    }

private:
    EditorWidget *m_editor;
};

QAccessibleInterface *accessibleEditor(const QString &className, QObject *object)
{
    if (className == QLatin1String(EditorWidget::staticMetaObject.className()))
        if (auto *editor = qobject_cast<EditorWidget *>(object))
            return new AccessibleEditor(editor);
    return nullptr;
}

} // namespace

EditorWidget::EditorWidget(QWidget *parent) : QsciScintillaBase(parent)
{
    setObjectName(QStringLiteral("rtbEditor"));
    static const bool accessibleFaceInstalled = [] {
        QAccessible::installFactory(accessibleEditor);
        return true;
    }();
    Q_UNUSED(accessibleFaceInstalled);

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
    send(Sci::SCI_SETMODEVENTMASK, Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char *, int length, int, int, int, int, int, int) {
                aboutToModify(position, type, length);
            });

    assignKeys();
    applyFont();
    updateScrollWidth();
}

// A new, empty document in place of the old one, which is freed before the
// new one grows: a whole-text write never holds both texts. It has no
// styling (nothing is coloured, and it needs no byte of styles for every
// byte of text), and neither history nor character index.
void EditorWidget::useNewDocument()
{
    const long document = send(Sci::SCI_CREATEDOCUMENT, 0, Sci::SC_DOCUMENTOPTION_STYLES_NONE);
    send(Sci::SCI_SETDOCPOINTER, 0, document);
    send(Sci::SCI_RELEASEDOCUMENT, 0, document);
    send(Sci::SCI_SETCODEPAGE, Sci::SC_CP_UTF8);
    send(Sci::SCI_SETEOLMODE, Sci::SC_EOL_CRLF);
    m_indexAllocated = false;
}

// ------------------------------------------------------------ bytes

const char *EditorWidget::rangePointer(qint64 position, qint64 length) const
{
    return reinterpret_cast<const char *>(
        send(Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(position), std::max<qint64>(length, 0)));
}

QByteArray EditorWidget::bytes(qint64 position, qint64 length) const
{
    if (length <= 0)
        return QByteArray();
    return QByteArray(rangePointer(position, length), length);
}

char EditorWidget::byteAt(qint64 position) const
{
    return static_cast<char>(send(Sci::SCI_GETCHARAT, static_cast<unsigned long>(position)));
}

// ------------------------------------------------------------ offsets

bool EditorWidget::usesCharacterIndex() const
{
    settleInsertion();
    if (!m_beyondAscii)
        return false;
    if (!m_indexAllocated) {
        send(Sci::SCI_ALLOCATELINECHARACTERINDEX, Sci::SC_LINECHARACTERINDEX_UTF16);
        m_indexAllocated = true;
    }
    return true;
}

qint64 EditorWidget::textLength() const
{
    const qint64 length = send(Sci::SCI_GETLENGTH);
    if (!usesCharacterIndex())
        return length;
    const qint64 lastLine = send(Sci::SCI_GETLINECOUNT) - 1;
    const qint64 lastLineStart = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(lastLine));
    return send(Sci::SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(lastLine),
                Sci::SC_LINECHARACTERINDEX_UTF16)
        + send(Sci::SCI_COUNTCODEUNITS, static_cast<unsigned long>(lastLineStart), length);
}

qint64 EditorWidget::toTextOffset(qint64 position) const
{
    if (!usesCharacterIndex())
        return position;
    const qint64 line = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
    const qint64 lineStart = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    return send(Sci::SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                Sci::SC_LINECHARACTERINDEX_UTF16)
        + send(Sci::SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), position);
}

qint64 EditorWidget::toDocumentPosition(qint64 offset) const
{
    const qint64 length = send(Sci::SCI_GETLENGTH);
    if (offset <= 0)
        return 0;
    qint64 position = std::min(offset, length);
    if (usesCharacterIndex()) {
        if (offset >= textLength())
            return length;
        const auto index = static_cast<unsigned long>(offset);
        const qint64 line = send(Sci::SCI_LINEFROMINDEXPOSITION, index, Sci::SC_LINECHARACTERINDEX_UTF16);
        const qint64 lineOffset = send(Sci::SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                       Sci::SC_LINECHARACTERINDEX_UTF16);
        position = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        if (offset > lineOffset)
            position = send(Sci::SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(position),
                            offset - lineOffset);
    }
    // Between the "\r" and "\n" of a line break: the end of the line.
    if (position > 0 && position < length && byteAt(position - 1) == '\r' && byteAt(position) == '\n')
        --position;
    return position;
}

const std::vector<qint64> &EditorWidget::loneBreakLines() const
{
    if (m_loneBreaksVersion == m_version)
        return m_loneBreakLines;
    m_loneBreaksVersion = m_version;
    m_loneBreakLines.clear();
    const QByteArrayView text = utf8Text();
    const char *data = text.data();
    const qint64 length = text.size();
    // Scintilla ends a line at every "\r\n", lone "\r" and lone "\n"; where
    // there are two break characters for every line end, each is a pair.
    const qint64 crs = std::count(data, data + length, '\r');
    const qint64 lfs = std::count(data, data + length, '\n');
    if (crs + lfs == 2 * (send(Sci::SCI_GETLINECOUNT) - 1))
        return m_loneBreakLines;
    for (qint64 i = 0; i < length; ++i) {
        const bool lone = (data[i] == '\r' && (i + 1 == length || data[i + 1] != '\n'))
            || (data[i] == '\n' && (i == 0 || data[i - 1] != '\r'));
        if (lone)
            m_loneBreakLines.push_back(send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(i)));
    }
    return m_loneBreakLines;
}

qint64 EditorWidget::lineFromChar(qint64 offset) const
{
    const qint64 line = send(Sci::SCI_LINEFROMPOSITION,
                             static_cast<unsigned long>(toDocumentPosition(offset)));
    // Lines of the display that a lone "\r" or "\n" ends belong to the
    // program's line that goes on after them.
    const std::vector<qint64> &lone = loneBreakLines();
    return line - (std::lower_bound(lone.begin(), lone.end(), line) - lone.begin());
}

// ------------------------------------------------------------ text

QString EditorWidget::textBetween(qint64 from, qint64 to) const
{
    const qint64 start = toDocumentPosition(from);
    return utf8ToText(bytes(start, toDocumentPosition(to) - start));
}

QByteArrayView EditorWidget::utf8Text() const
{
    const qint64 length = send(Sci::SCI_GETLENGTH);
    return QByteArrayView(static_cast<const char *>(SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER)), length);
}

QString EditorWidget::text() const
{
    return utf8ToText(utf8Text());
}

// A whole-text write: the text is handed over a piece at a time (so that it
// is never held twice more) with the length-taking call (it may hold NUL),
// and measured on the way.
class EditorWidget::WholeTextWrite {
public:
    WholeTextWrite(EditorWidget &editor, qsizetype bytes) : m_editor(editor)
    {
        // A new text starts a new history: an undo must not bring back
        // another file or the other view.
        m_editor.m_writing = true;
        m_editor.m_insertion.pending = false;
        m_editor.useNewDocument();
        m_editor.send(Sci::SCI_SETUNDOCOLLECTION, 0);
        m_editor.send(Sci::SCI_ALLOCATE, static_cast<unsigned long>(bytes) + 1);
    }

    void append(QByteArrayView utf8)
    {
        m_beyondAscii = m_beyondAscii
            || scan::hasByteBeyondAscii(utf8.data(), utf8.size());
        m_measure.feed(utf8.data(), utf8.size());
        m_editor.SendScintilla(Sci::SCI_APPENDTEXT, static_cast<uintptr_t>(utf8.size()), utf8.data());
    }

    ~WholeTextWrite()
    {
        EditorWidget &e = m_editor;
        e.send(Sci::SCI_EMPTYUNDOBUFFER);
        e.send(Sci::SCI_SETUNDOCOLLECTION, 1);
        e.m_writing = false;
        ++e.m_version;
        e.m_beyondAscii = m_beyondAscii;
        e.send(Sci::SCI_GOTOPOS, 0);
        e.m_widestCells = m_measure.widest();
        e.m_widthStale = false;
        e.updateScrollWidth();
        e.noteChange();
    }

private:
    EditorWidget &m_editor;
    LineMeasure m_measure;
    bool m_beyondAscii = false;
};

namespace {
constexpr qsizetype WritePiece = qsizetype(1) << 20;
} // namespace

void EditorWidget::setText(const QString &text)
{
    WholeTextWrite write(*this, text.size());
    for (qsizetype from = 0; from < text.size();) {
        qsizetype length = std::min(WritePiece, text.size() - from);
        if (from + length < text.size() && text[from + length - 1].isHighSurrogate())
            --length; // a character is never cut in two
        write.append(QStringView(text).sliced(from, length).toUtf8());
        from += length;
    }
}

void EditorWidget::setUtf8Text(QByteArrayView text)
{
    WholeTextWrite write(*this, text.size());
    for (qsizetype from = 0; from < text.size(); from += WritePiece)
        write.append(text.sliced(from, std::min(WritePiece, text.size() - from)));
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

// Scintilla tells of each change before it is made. (QScintilla answers
// each after-change notification for accessibility by counting characters
// from the start of the document, 170 ms at the end of a 50 MB document:
// those stay switched off.)
void EditorWidget::aboutToModify(int position, int type, int length)
{
    ++m_version;
    if (m_writing)
        return;
    settleInsertion();
    if (type & Sci::SC_MOD_BEFOREINSERT) {
        // QScintilla passes no text before an insertion: look at it once it
        // is in (before the next change, or when asked).
        m_insertion = {true, position, length};
        if (m_compoundDepth == 0)
            QMetaObject::invokeMethod(this, &EditorWidget::updateScrollWidth, Qt::QueuedConnection);
    } else if (type & Sci::SC_MOD_BEFOREDELETE) {
        const qint64 line = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
        const qint64 lineStart = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        const qint64 lastLine = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position + length));
        const qint64 lastLineEnd = send(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(lastLine));
        LineMeasure before;
        before.feed(rangePointer(lineStart, lastLineEnd - lineStart), lastLineEnd - lineStart);
        // The widest line may lose characters: measure everything again
        // when the width is next needed.
        if (before.widest() >= m_widestCells) {
            m_widthStale = true;
            if (m_compoundDepth == 0)
                QMetaObject::invokeMethod(this, &EditorWidget::updateScrollWidth, Qt::QueuedConnection);
        }
        // The line that the deletion joins.
        const qint64 after = position + length;
        LineMeasure joined;
        joined.feed(rangePointer(lineStart, position - lineStart), position - lineStart);
        joined.feed(rangePointer(after, lastLineEnd - after), lastLineEnd - after);
        m_widestCells = std::max(m_widestCells, joined.widest());
    }
    noteChange();
}

void EditorWidget::settleInsertion() const
{
    if (!m_insertion.pending)
        return;
    m_insertion.pending = false;
    const qint64 from = m_insertion.position;
    const qint64 to = from + m_insertion.length;
    const char *inserted = rangePointer(from, to - from);
    if (scan::hasByteBeyondAscii(inserted, to - from))
        m_beyondAscii = true;
    // The lines the text made, with what stands before and after it.
    const qint64 lineStart = send(Sci::SCI_POSITIONFROMLINE,
                                  static_cast<unsigned long>(send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(from))));
    const qint64 lineEnd = send(Sci::SCI_GETLINEENDPOSITION,
                                static_cast<unsigned long>(send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(to))));
    LineMeasure measure;
    measure.feed(rangePointer(lineStart, lineEnd - lineStart), lineEnd - lineStart);
    m_widestCells = std::max(m_widestCells, measure.widest());
}

void EditorWidget::noteChange()
{
    m_modified = true;
}

// ------------------------------------------------------------ selection

void EditorWidget::select(qint64 anchor, qint64 caret)
{
    // Neither call scrolls: a compound edit moves the selection many times
    // and shows it once, at its end.
    send(Sci::SCI_SETCURRENTPOS, static_cast<unsigned long>(caret));
    send(Sci::SCI_SETANCHOR, static_cast<unsigned long>(anchor));
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

qint64 EditorWidget::find(const QString &needle, qint64 start, int options)
{
    const bool matchCase = options & FindMatchCase;
    const bool wholeWord = options & FindWholeWord;
    if (needle.isEmpty() || start < 0 || start > textLength())
        return -1;

    if (needle.contains(QLatin1Char('\r')) || needle.contains(QLatin1Char('\n'))) {
        // An occurrence that may span lines: search the whole text.
        const qsizetype at = findText(text(), needle, start, matchCase, wholeWord);
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
    send(Sci::SCI_STYLESETBOLD, Sci::STYLE_DEFAULT, 0);
    send(Sci::SCI_STYLESETITALIC, Sci::STYLE_DEFAULT, 0);
    applyPalette();
    QFont measured(QFontInfo(shown).family());
    measured.setPointSizeF(points);
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
}

void EditorWidget::assignKeys()
{
    // A plain editor's keys only: Scintilla's code-editor commands (change
    // case, duplicate, transpose, cut or delete a line, zoom...) are gone.
    send(Sci::SCI_CLEARALLCMDKEYS);
    const auto assign = [this](int key, int modifiers, int command) {
        send(Sci::SCI_ASSIGNCMDKEY, static_cast<unsigned long>(key | (modifiers << 16)), command);
    };
    constexpr int None = Sci::SCMOD_NORM, Shift = Sci::SCMOD_SHIFT, Ctrl = Sci::SCMOD_CTRL;
    const struct {
        int key, modifiers, command;
    } keys[] = {
        {Sci::SCK_DOWN, None, Sci::SCI_LINEDOWN},
        {Sci::SCK_DOWN, Shift, Sci::SCI_LINEDOWNEXTEND},
        {Sci::SCK_DOWN, Ctrl, Sci::SCI_LINESCROLLDOWN},
        {Sci::SCK_UP, None, Sci::SCI_LINEUP},
        {Sci::SCK_UP, Shift, Sci::SCI_LINEUPEXTEND},
        {Sci::SCK_UP, Ctrl, Sci::SCI_LINESCROLLUP},
        {Sci::SCK_LEFT, None, Sci::SCI_CHARLEFT},
        {Sci::SCK_LEFT, Shift, Sci::SCI_CHARLEFTEXTEND},
        {Sci::SCK_LEFT, Ctrl, Sci::SCI_WORDLEFT},
        {Sci::SCK_LEFT, Ctrl | Shift, Sci::SCI_WORDLEFTEXTEND},
        {Sci::SCK_RIGHT, None, Sci::SCI_CHARRIGHT},
        {Sci::SCK_RIGHT, Shift, Sci::SCI_CHARRIGHTEXTEND},
        {Sci::SCK_RIGHT, Ctrl, Sci::SCI_WORDRIGHT},
        {Sci::SCK_RIGHT, Ctrl | Shift, Sci::SCI_WORDRIGHTEXTEND},
        {Sci::SCK_HOME, None, Sci::SCI_HOME},
        {Sci::SCK_HOME, Shift, Sci::SCI_HOMEEXTEND},
        {Sci::SCK_HOME, Ctrl, Sci::SCI_DOCUMENTSTART},
        {Sci::SCK_HOME, Ctrl | Shift, Sci::SCI_DOCUMENTSTARTEXTEND},
        {Sci::SCK_END, None, Sci::SCI_LINEEND},
        {Sci::SCK_END, Shift, Sci::SCI_LINEENDEXTEND},
        {Sci::SCK_END, Ctrl, Sci::SCI_DOCUMENTEND},
        {Sci::SCK_END, Ctrl | Shift, Sci::SCI_DOCUMENTENDEXTEND},
        {Sci::SCK_PRIOR, None, Sci::SCI_PAGEUP},
        {Sci::SCK_PRIOR, Shift, Sci::SCI_PAGEUPEXTEND},
        {Sci::SCK_NEXT, None, Sci::SCI_PAGEDOWN},
        {Sci::SCK_NEXT, Shift, Sci::SCI_PAGEDOWNEXTEND},
        {Sci::SCK_DELETE, None, Sci::SCI_CLEAR},
        {Sci::SCK_DELETE, Ctrl, Sci::SCI_DELWORDRIGHT},
        {Sci::SCK_BACK, None, Sci::SCI_DELETEBACK},
        {Sci::SCK_BACK, Shift, Sci::SCI_DELETEBACK},
        {Sci::SCK_BACK, Ctrl, Sci::SCI_DELWORDLEFT},
        {Sci::SCK_INSERT, None, Sci::SCI_EDITTOGGLEOVERTYPE},
        {Sci::SCK_ESCAPE, None, Sci::SCI_CANCEL},
        {Sci::SCK_TAB, None, Sci::SCI_TAB},
        {Sci::SCK_RETURN, None, Sci::SCI_NEWLINE},
        {Sci::SCK_RETURN, Shift, Sci::SCI_NEWLINE},
        {'Z', Ctrl, Sci::SCI_UNDO},
        {'Y', Ctrl, Sci::SCI_REDO},
        {'A', Ctrl, Sci::SCI_SELECTALL},
    };
    for (const auto &k : keys)
        assign(k.key, k.modifiers, k.command);
}

void EditorWidget::measureAllLines() const
{
    const QByteArrayView text = utf8Text();
    LineMeasure measure;
    measure.feed(text.data(), text.size());
    m_widestCells = measure.widest();
    m_widthStale = false;
}

int EditorWidget::contentWidth() const
{
    settleInsertion();
    if (m_widthStale)
        measureAllLines();
    const double margins = double(send(Sci::SCI_GETMARGINLEFT) + send(Sci::SCI_GETMARGINRIGHT));
    return int(std::ceil(double(m_widestCells) * m_cellWidth + margins)) + int(send(Sci::SCI_GETCARETWIDTH));
}

void EditorWidget::updateScrollWidth()
{
    send(Sci::SCI_SETSCROLLWIDTH, static_cast<unsigned long>(std::max(1, contentWidth())));
}

// ------------------------------------------------------------ input

void EditorWidget::keyPressEvent(QKeyEvent *event)
{
    // The clipboard keys go through the program's own commands, which take
    // and give the clipboard's text exactly.
    if (event->matches(QKeySequence::Paste)) {
        event->accept();
        emit pasteRequested();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        event->accept();
        emit cutRequested();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        emit copyRequested();
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const QString typed = event->text();
    // Alt with a letter is a menu's key, never text (AltGr, or Ctrl+Alt
    // where the system reports AltGr so, still types its character).
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) && !typed.isEmpty()) {
        event->ignore();
        return;
    }
    // With Ctrl (and no Alt) a key is a command or nothing, never text.
    if ((modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && !(modifiers & Qt::AltModifier)
        && !typed.isEmpty()) {
        QKeyEvent bare(event->type(), event->key(), modifiers, QString(), event->isAutoRepeat(),
                       ushort(event->count()));
        QsciScintillaBase::keyPressEvent(&bare);
        event->setAccepted(bare.isAccepted());
        return;
    }
    const bool plainKey = !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const QString capitals = withCapitals(typed);
    if (plainKey && capitals != typed) {
        QKeyEvent upper(event->type(), event->key(), modifiers, capitals, event->isAutoRepeat(),
                        ushort(event->count()));
        QsciScintillaBase::keyPressEvent(&upper);
        event->setAccepted(upper.isAccepted());
        return;
    }
    QsciScintillaBase::keyPressEvent(event);
}

void EditorWidget::inputMethodEvent(QInputMethodEvent *event)
{
    // Text committed by an input method is typed text too.
    const QString capitals = withCapitals(event->commitString());
    if (capitals == event->commitString()) {
        QsciScintillaBase::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent upper(event->preeditString(), event->attributes());
    upper.setCommitString(capitals, event->replacementStart(), event->replacementLength());
    QsciScintillaBase::inputMethodEvent(&upper);
    event->setAccepted(upper.isAccepted());
}

void EditorWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit editMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::MiddleButton) {
        event->accept(); // pasted when the button comes up
        return;
    }
    QsciScintillaBase::mousePressEvent(event);
}

void EditorWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::MiddleButton) {
        QsciScintillaBase::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    // The middle button pastes the primary selection where it is clicked,
    // exactly as it is (Scintilla's own paste would convert line ends).
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        return;
    const QPoint at = event->position().toPoint();
    const qint64 position = send(Sci::SCI_POSITIONFROMPOINT, static_cast<unsigned long>(std::max(0, at.x())),
                                 std::max(0, at.y()));
    const qint64 snapped = toDocumentPosition(toTextOffset(position));
    select(snapped, snapped);
    const QString pasted = clipboard->text(QClipboard::Selection);
    if (!pasted.isEmpty())
        setSelText(pasted);
}

bool EditorWidget::canInsertFromMimeData(const QMimeData *) const
{
    // Nothing is dropped into the text: Scintilla would convert its line
    // ends.
    return false;
}

void EditorWidget::contextMenuEvent(QContextMenuEvent *event)
{
    // The right button is handled when it goes down; only the keyboard's
    // menu key arrives here.
    event->accept();
    if (event->reason() != QContextMenuEvent::Keyboard)
        return;
    const qint64 caret = send(Sci::SCI_GETCURRENTPOS);
    const QPoint point(int(send(Sci::SCI_POINTXFROMPOSITION, 0, caret)),
                       int(send(Sci::SCI_POINTYFROMPOSITION, 0, caret) + send(Sci::SCI_TEXTHEIGHT, 0)));
    emit editMenuRequested(viewport()->mapToGlobal(point));
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
