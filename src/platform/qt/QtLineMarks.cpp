#include "platform/qt/QtLineMarks.h"

#include "platform/qt/EditorWidget.h"
#include "platform/qt/Indicators.h"
#include "platform/qt/ScintillaDocument.h"

#include <QPainter>

#include <algorithm>
#include <iterator>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

// The margins: numbers, then symbols.
constexpr unsigned long NumberMargin = 0;
constexpr unsigned long SymbolMargin = 1;
constexpr int SymbolMarginWidth = 14;
using indicators::ErrorIndicator;
using indicators::WarningIndicator;

long colourRef(const QColor &colour)
{
    return long(colour.red()) | (long(colour.green()) << 8) | (long(colour.blue()) << 16);
}

} // namespace

QtLineMarks::QtLineMarks(EditorWidget &editor, const QObject &owner, std::function<LineMark(qint64 line)> markOf)
    : m_editor(editor), m_markOf(std::move(markOf))
{
    send(Sci::SCI_SETMARGINTYPEN, NumberMargin, Sci::SC_MARGIN_NUMBER);
    send(Sci::SCI_SETMARGINMASKN, NumberMargin, 0);
    // An empty margin of Scintilla's, the symbols drawn over it.
    send(Sci::SCI_SETMARGINTYPEN, SymbolMargin, Sci::SC_MARGIN_SYMBOL);
    send(Sci::SCI_SETMARGINMASKN, SymbolMargin, 0);
    send(Sci::SCI_SETMARGINWIDTHN, SymbolMargin, SymbolMarginWidth);
    m_editor.paintOver(&owner, [this](QPainter &painter, const QRect &painted) { paintSymbols(painter, painted); });
    send(Sci::SCI_INDICSETSTYLE, ErrorIndicator, Sci::INDIC_SQUIGGLE);
    send(Sci::SCI_INDICSETSTYLE, WarningIndicator, Sci::INDIC_DASH);
    applyColours(m_editor.palette().color(QPalette::Base));
    fitLineNumbers();
}

long QtLineMarks::send(unsigned int message, unsigned long wParam, long lParam) const
{
    return m_editor.SendScintilla(message, wParam, lParam);
}

void QtLineMarks::applyColours(const QColor &background)
{
    const bool dark = background.lightnessF() < 0.5;
    const QColor error = dark ? QColor(0xFF, 0x6B, 0x6B) : QColor(0xC0, 0x1C, 0x28);
    const QColor warning = dark ? QColor(0xF6, 0xC1, 0x42) : QColor(0xB0, 0x6A, 0x00);
    m_errorColour = error;
    m_warningColour = warning;
    send(Sci::SCI_INDICSETFORE, ErrorIndicator, colourRef(error));
    send(Sci::SCI_INDICSETFORE, WarningIndicator, colourRef(warning));
    repaintSymbols();
}

void QtLineMarks::paintSymbols(QPainter &painter, const QRect &painted) const
{
    const QRect margin = m_editor.marginRect(int(SymbolMargin));
    if (!margin.intersects(painted) || margin.width() <= 0)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    m_editor.forEachShownRow(painted.top(), painted.bottom() + 1, [&](const EditorWidget::ShownRow &row) {
        if (!row.firstOfLine)
            return;
        const LineMark mark = m_markOf(row.line);
        if (mark == LineMark::None)
            return;
        // As Scintilla's circle and short arrow were: a round dot for an
        // error, an arrow pointing at the text for a warning.
        const qreal size = std::min<qreal>(margin.width() - 4, row.height - 4);
        const QRectF box(margin.center().x() - size / 2.0, row.top + (row.height - size) / 2.0, size, size);
        const QColor &colour = mark == LineMark::Error ? m_errorColour : m_warningColour;
        painter.setPen(QPen(colour, 1));
        painter.setBrush(colour);
        if (mark == LineMark::Error) {
            painter.drawEllipse(box);
            return;
        }
        const qreal midY = box.center().y();
        const qreal shaft = box.height() / 4.0;
        const QPointF arrow[] = {
            {box.left(), midY - shaft},  {box.center().x(), midY - shaft}, {box.center().x(), box.top()},
            {box.right(), midY},         {box.center().x(), box.bottom()}, {box.center().x(), midY + shaft},
            {box.left(), midY + shaft},
        };
        painter.drawPolygon(arrow, int(std::size(arrow)));
    });
}

void QtLineMarks::repaintSymbols() const
{
    m_editor.viewport()->update(m_editor.marginRect(int(SymbolMargin)));
}

void QtLineMarks::repaintSymbolOf(qint64 line) const
{
    if (!send(Sci::SCI_GETLINEVISIBLE, static_cast<unsigned long>(line)))
        return;
    const QRect margin = m_editor.marginRect(int(SymbolMargin));
    // From the rows shown, not the line's place in pixels, which has
    // Scintilla lay the line out.
    const long height = send(Sci::SCI_TEXTHEIGHT, static_cast<unsigned long>(line));
    const long top = (send(Sci::SCI_VISIBLEFROMDOCLINE, static_cast<unsigned long>(line)) - send(Sci::SCI_GETFIRSTVISIBLELINE))
                     * height;
    const QRect row(margin.left(), int(top), margin.width(), int(height));
    if (row.intersects(margin))
        m_editor.viewport()->update(row);
}

void QtLineMarks::showLineNumbers(bool show)
{
    m_lineNumbers = show;
    m_digits = 0;
    fitLineNumbers();
}

void QtLineMarks::fitLineNumbers()
{
    if (!m_lineNumbers) {
        send(Sci::SCI_SETMARGINWIDTHN, NumberMargin, 0);
        return;
    }
    const int digits = std::max(3, int(QString::number(lineCount()).size()));
    if (digits == m_digits)
        return;
    m_digits = digits;
    // One digit more as room on either side.
    const QByteArray sample = QByteArray(digits + 1, '9');
    const long width = m_editor.SendScintilla(Sci::SCI_TEXTWIDTH, Sci::STYLE_LINENUMBER, sample.constData());
    send(Sci::SCI_SETMARGINWIDTHN, NumberMargin, width);
}

QByteArrayView QtLineMarks::wholeText() const
{
    return m_editor.utf8Text();
}

qint64 QtLineMarks::lineCount() const
{
    return send(Sci::SCI_GETLINECOUNT);
}

QByteArray QtLineMarks::lineBytes(qint64 line) const
{
    const qint64 start = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const qint64 end = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line + 1));
    const qint64 length = (end < start ? send(Sci::SCI_GETLENGTH) : end) - start;
    if (length <= 0)
        return QByteArray();
    return QByteArray(sci::rangePointer(m_editor, start, length), length);
}

qint64 QtLineMarks::lineStart(qint64 line) const
{
    return send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
}

ILineMarks::Pieces QtLineMarks::textInPlace() const
{
    // A range that ends at the gap or begins there lies on one side of it:
    // Scintilla answers it in place.
    const qint64 length = send(Sci::SCI_GETLENGTH);
    const qint64 gap = std::clamp<qint64>(send(Sci::SCI_GETGAPPOSITION), 0, length);
    return Pieces{QByteArrayView(sci::rangePointer(m_editor, 0, gap), gap),
                  QByteArrayView(sci::rangePointer(m_editor, gap, length - gap), length - gap)};
}

qint64 QtLineMarks::lineAt(qint64 position) const
{
    return send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
}

qint64 QtLineMarks::textLineNumber(qint64 line) const
{
    const qint64 position = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    return m_editor.lineFromChar(m_editor.toTextOffset(position));
}

void QtLineMarks::setMark(qint64 line, LineMark mark, qint64 from, qint64 length)
{
    const qint64 start = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const qint64 end = send(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    for (const int indicator : {ErrorIndicator, WarningIndicator}) {
        send(Sci::SCI_SETINDICATORCURRENT, indicator);
        send(Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(start),
             std::max<long>(0, long(std::max(end, start + from + length) - start)));
    }
    if (m_markOf(line) != mark)
        repaintSymbolOf(line);
    if (mark == LineMark::None)
        return;
    const bool error = mark == LineMark::Error;
    if (length > 0) {
        send(Sci::SCI_SETINDICATORCURRENT, error ? ErrorIndicator : WarningIndicator);
        send(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start + from), long(length));
    }
}

void QtLineMarks::clearAll()
{
    repaintSymbols();
    const long length = send(Sci::SCI_GETLENGTH);
    for (const int indicator : {ErrorIndicator, WarningIndicator}) {
        send(Sci::SCI_SETINDICATORCURRENT, indicator);
        send(Sci::SCI_INDICATORCLEARRANGE, 0, length);
    }
}

qint64 QtLineMarks::marginLineAt(int x, int y) const
{
    const long margins = send(Sci::SCI_GETMARGINWIDTHN, NumberMargin) + send(Sci::SCI_GETMARGINWIDTHN, SymbolMargin);
    if (x < 0 || x >= margins || y < 0)
        return -1;
    const long visible = send(Sci::SCI_GETFIRSTVISIBLELINE) + y / std::max(1L, send(Sci::SCI_TEXTHEIGHT, 0));
    const long line = send(Sci::SCI_DOCLINEFROMVISIBLE, static_cast<unsigned long>(visible));
    return line < lineCount() ? line : -1;
}

qint64 QtLineMarks::caretLine() const
{
    return lineAt(send(Sci::SCI_GETCURRENTPOS));
}

void QtLineMarks::moveCaretToLine(qint64 line)
{
    send(Sci::SCI_GOTOLINE, static_cast<unsigned long>(line));
}

} // namespace zuno
