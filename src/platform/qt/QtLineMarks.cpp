#include "platform/qt/QtLineMarks.h"

#include "platform/qt/EditorWidget.h"
#include "platform/qt/Indicators.h"
#include "platform/qt/ScintillaDocument.h"

#include <algorithm>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

// The margins: numbers, then symbols.
constexpr unsigned long NumberMargin = 0;
constexpr unsigned long SymbolMargin = 1;
constexpr int SymbolMarginWidth = 14;
using indicators::ErrorMarker;
using indicators::WarningMarker;
using indicators::ErrorIndicator;
using indicators::WarningIndicator;
constexpr int MarkerMask = (1 << ErrorMarker) | (1 << WarningMarker);

long colourRef(const QColor &colour)
{
    return long(colour.red()) | (long(colour.green()) << 8) | (long(colour.blue()) << 16);
}

} // namespace

QtLineMarks::QtLineMarks(EditorWidget &editor) : m_editor(editor)
{
    send(Sci::SCI_SETMARGINTYPEN, NumberMargin, Sci::SC_MARGIN_NUMBER);
    send(Sci::SCI_SETMARGINMASKN, NumberMargin, 0);
    send(Sci::SCI_SETMARGINTYPEN, SymbolMargin, Sci::SC_MARGIN_SYMBOL);
    send(Sci::SCI_SETMARGINMASKN, SymbolMargin, MarkerMask);
    send(Sci::SCI_SETMARGINWIDTHN, SymbolMargin, SymbolMarginWidth);
    send(Sci::SCI_MARKERDEFINE, ErrorMarker, Sci::SC_MARK_CIRCLE);
    send(Sci::SCI_MARKERDEFINE, WarningMarker, Sci::SC_MARK_SHORTARROW);
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
    for (const auto &[marker, indicator, colour] :
         {std::tuple{ErrorMarker, ErrorIndicator, error}, std::tuple{WarningMarker, WarningIndicator, warning}}) {
        send(Sci::SCI_MARKERSETFORE, marker, colourRef(colour));
        send(Sci::SCI_MARKERSETBACK, marker, colourRef(colour));
        send(Sci::SCI_INDICSETFORE, indicator, colourRef(colour));
    }
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
    return sci::wholeText(m_editor);
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

qint64 QtLineMarks::lineAt(qint64 position) const
{
    return send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
}

qint64 QtLineMarks::textLineNumber(qint64 line) const
{
    const qint64 position = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    return m_editor.lineFromChar(m_editor.toTextOffset(position));
}

LineMark QtLineMarks::mark(qint64 line) const
{
    const long markers = send(Sci::SCI_MARKERGET, static_cast<unsigned long>(line));
    if (markers & (1 << ErrorMarker))
        return LineMark::Error;
    if (markers & (1 << WarningMarker))
        return LineMark::Warning;
    return LineMark::None;
}

void QtLineMarks::setMark(qint64 line, LineMark mark, qint64 from, qint64 length)
{
    const qint64 start = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const qint64 end = send(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    const bool marked = mark != LineMark::None;
    // Nothing to take away from a line that holds no mark.
    if (marked || this->mark(line) != LineMark::None) {
        send(Sci::SCI_MARKERDELETE, static_cast<unsigned long>(line), -1);
        for (const int indicator : {ErrorIndicator, WarningIndicator}) {
            send(Sci::SCI_SETINDICATORCURRENT, indicator);
            send(Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(start),
                 std::max<long>(0, long(std::max(end, start + from + length) - start)));
        }
    }
    if (!marked)
        return;
    const bool error = mark == LineMark::Error;
    send(Sci::SCI_MARKERADD, static_cast<unsigned long>(line), error ? ErrorMarker : WarningMarker);
    if (length > 0) {
        send(Sci::SCI_SETINDICATORCURRENT, error ? ErrorIndicator : WarningIndicator);
        send(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(start + from), long(length));
    }
}

void QtLineMarks::clearAll()
{
    send(Sci::SCI_MARKERDELETEALL, static_cast<unsigned long>(-1));
    const long length = send(Sci::SCI_GETLENGTH);
    for (const int indicator : {ErrorIndicator, WarningIndicator}) {
        send(Sci::SCI_SETINDICATORCURRENT, indicator);
        send(Sci::SCI_INDICATORCLEARRANGE, 0, length);
    }
}

qint64 QtLineMarks::nextMarked(qint64 line) const
{
    return send(Sci::SCI_MARKERNEXT, static_cast<unsigned long>(line), MarkerMask);
}

qint64 QtLineMarks::previousMarked(qint64 line) const
{
    if (line < 0)
        return -1;
    return send(Sci::SCI_MARKERPREVIOUS, static_cast<unsigned long>(line), MarkerMask);
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
