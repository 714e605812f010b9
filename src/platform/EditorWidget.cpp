#include "platform/EditorWidget.h"

#include "platform/TextFind.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace zuno {

namespace {
const QString CrLf = QStringLiteral("\r\n");

// Built in one pass: replacing each separator in place moves the rest of
// the text again and again, which takes tens of seconds on a 50 MB document.
QString withCrLf(const QString &text)
{
    const qsizetype breaks = text.count(QChar::ParagraphSeparator);
    if (breaks == 0)
        return text;
    QString result(text.size() + breaks, Qt::Uninitialized);
    QChar *out = result.data();
    for (const QChar c : text) {
        if (c == QChar::ParagraphSeparator) {
            *out++ = QLatin1Char('\r');
            *out++ = QLatin1Char('\n');
        } else {
            *out++ = c;
        }
    }
    return result;
}
} // namespace

EditorWidget::EditorWidget(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("rtbEditor"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (m_replacingAll || (removed == 0 && added == 0))
            return;
        m_modified = true;
        emit changed();
    });
}

QString EditorWidget::text() const
{
    // The raw text keeps every character as stored (toPlainText() would turn
    // a no-break space into a plain one).
    return withCrLf(document()->toRawText());
}

void EditorWidget::setText(const QString &text)
{
    // Emptying and refilling the document is one change of the text.
    m_replacingAll = true;
    setPlainText(text);
    m_replacingAll = false;
    m_modified = true;
    emit changed();
}

qint64 EditorWidget::textLength() const
{
    const QTextDocument *doc = document();
    return qint64(doc->characterCount() - 1) + (doc->blockCount() - 1);
}

qint64 EditorWidget::toTextOffset(int position) const
{
    return qint64(position) + document()->findBlock(position).blockNumber();
}

int EditorWidget::toDocumentPosition(qint64 offset) const
{
    const QTextDocument *doc = document();
    if (offset <= 0)
        return 0;
    if (offset >= textLength())
        return doc->characterCount() - 1;
    // Callers tend to go from one place to a nearby one (Replace All goes
    // through its occurrences one after the other): look around the block
    // found last before searching by halves.
    {
        int number = std::min(m_lastBlockNumber, doc->blockCount() - 1);
        QTextBlock block = doc->findBlockByNumber(number);
        qint64 start = qint64(block.position()) + number; // offset of its first character
        for (int step = 0; step < 16; ++step) {
            if (offset < start) {
                block = block.previous();
                --number;
                start -= block.length() + 1;
            } else if (offset >= start + block.length() + 1 && block.next().isValid()) {
                start += block.length() + 1;
                block = block.next();
                ++number;
            } else {
                m_lastBlockNumber = number;
                const qint64 within = offset - start;
                return block.position() + int(std::min<qint64>(within, block.length() - 1));
            }
        }
    }
    // The last block whose first character's offset is at or before `offset`.
    int low = 0, high = doc->blockCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (qint64(doc->findBlockByNumber(mid).position()) + mid <= offset)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    m_lastBlockNumber = low;
    const qint64 within = offset - (qint64(block.position()) + low);
    // Between the "\r" and "\n" of the line break: the end of the line.
    return block.position() + int(std::min<qint64>(within, block.length() - 1));
}

// While a compound edit is open the selection is kept in m_compoundCursor
// and handed to the widget once, when the edit ends: setting the widget's
// own cursor scrolls it into view every time, which an edit made of many
// steps (Replace All) cannot afford.
QTextCursor EditorWidget::currentCursor() const
{
    return m_compoundDepth > 0 ? m_compoundCursor : textCursor();
}

void EditorWidget::setCurrentCursor(const QTextCursor &cursor)
{
    if (m_compoundDepth > 0)
        m_compoundCursor = cursor;
    else
        setTextCursor(cursor);
}

qint64 EditorWidget::selStart() const
{
    return toTextOffset(currentCursor().selectionStart());
}

qint64 EditorWidget::selLength() const
{
    const QTextCursor cursor = currentCursor();
    return toTextOffset(cursor.selectionEnd()) - toTextOffset(cursor.selectionStart());
}

void EditorWidget::setSelStart(qint64 start)
{
    QTextCursor cursor = currentCursor();
    cursor.setPosition(toDocumentPosition(start));
    setCurrentCursor(cursor);
    if (m_compoundDepth == 0)
        ensureCursorVisible();
}

void EditorWidget::setSelLength(qint64 length)
{
    QTextCursor cursor = currentCursor();
    const int anchor = cursor.selectionStart();
    const int end = toDocumentPosition(toTextOffset(anchor) + std::max<qint64>(length, 0));
    select(anchor, end);
}

void EditorWidget::select(int from, int to)
{
    QTextCursor cursor = currentCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    setCurrentCursor(cursor);
}

QString EditorWidget::selText() const
{
    const QTextCursor cursor = currentCursor();
    const int from = cursor.selectionStart();
    const int length = cursor.selectionEnd() - from;
    // A large selection is cut from the whole text, which the document
    // copies in one go; piecing it together fragment by fragment takes many
    // times longer (seconds for Select All on a 50 MB document).
    if (length > 0 && length >= document()->characterCount() / 2)
        return withCrLf(document()->toRawText().mid(from, length));
    return withCrLf(cursor.selectedText());
}

void EditorWidget::setSelText(const QString &text)
{
    QTextCursor cursor = currentCursor();
    cursor.insertText(text);
    setCurrentCursor(cursor);
}

qint64 EditorWidget::find(const QString &needle, qint64 start, int options)
{
    const bool matchCase = options & FindMatchCase;
    const bool wholeWord = options & FindWholeWord;
    if (needle.isEmpty() || start < 0 || start > textLength())
        return -1;

    if (needle.contains(QLatin1Char('\r')) || needle.contains(QLatin1Char('\n'))) {
        // An occurrence that spans lines: search the whole text.
        const QString all = text();
        const qsizetype at = findText(all, needle, start, matchCase, wholeWord);
        if (at < 0)
            return -1;
        select(toDocumentPosition(at), toDocumentPosition(at + needle.size()));
        return at;
    }

    // Line by line: a line break never continues a word, so each line can be
    // searched on its own.
    const int from = toDocumentPosition(start);
    QTextBlock block = document()->findBlock(from);
    qsizetype offsetInBlock = from - block.position();
    for (; block.isValid(); block = block.next(), offsetInBlock = 0) {
        const qsizetype at = findText(block.text(), needle, offsetInBlock, matchCase, wholeWord);
        if (at >= 0) {
            const int position = block.position() + int(at);
            select(position, position + int(needle.size()));
            return toTextOffset(position);
        }
    }
    return -1;
}

qint64 EditorWidget::lineFromChar(qint64 offset) const
{
    return document()->findBlock(toDocumentPosition(offset)).blockNumber();
}

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
    QPlainTextEdit::undo();
}

void EditorWidget::beginCompoundEdit()
{
    if (m_compoundDepth++ > 0)
        return;
    viewport()->setUpdatesEnabled(false);
    m_compoundCursor = textCursor();
    m_compoundCursor.beginEditBlock();
}

void EditorWidget::endCompoundEdit()
{
    if (m_compoundDepth == 0 || --m_compoundDepth > 0)
        return;
    m_compoundCursor.endEditBlock();
    setTextCursor(m_compoundCursor);
    m_compoundCursor = QTextCursor();
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
    ensureCursorVisible();
}

int EditorWidget::contentWidth() const
{
    // The widest line, measured in the editor's font. Only the candidates
    // for the widest are measured: in a fixed-pitch font a line no longer
    // than one already measured cannot be wider (tabs aside), and in any
    // font one whose every character could be the widest glyph and still
    // not reach the widest so far cannot either.
    const QFontMetricsF metrics(font());
    const bool fixedPitch = QFontInfo(font()).fixedPitch();
    const qreal widestChar = std::max<qreal>(metrics.maxWidth(), 1.0);
    qreal widest = 0;
    int longestMeasured = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const int length = block.length() - 1;
        if (length <= 0 || length * widestChar <= widest || (fixedPitch && length <= longestMeasured))
            continue;
        widest = std::max(widest, metrics.horizontalAdvance(block.text()));
        longestMeasured = std::max(longestMeasured, length);
    }
    const qreal margins = 2 * document()->documentMargin() + cursorWidth();
    return int(std::ceil(widest + margins));
}

void EditorWidget::keyPressEvent(QKeyEvent *event)
{
    // Letters a to z are typed as capitals; everything else goes in as it is.
    const QString typed = event->text();
    const bool plainKey = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plainKey && typed.size() == 1 && typed[0] >= QLatin1Char('a') && typed[0] <= QLatin1Char('z')) {
        QKeyEvent upper(event->type(), event->key(), event->modifiers(), typed.toUpper(),
                        event->isAutoRepeat(), ushort(event->count()));
        QPlainTextEdit::keyPressEvent(&upper);
        event->setAccepted(upper.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditorWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        emit editMenuRequested(event->globalPosition().toPoint());
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void EditorWidget::contextMenuEvent(QContextMenuEvent *event)
{
    // The right button is handled when it goes down; only the keyboard's
    // menu key arrives here.
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard)
        emit editMenuRequested(viewport()->mapToGlobal(cursorRect().bottomLeft()));
}

} // namespace zuno
