#include "platform/qt/QtTextColours.h"

#include "platform/qt/EditorWidget.h"
#include "platform/qt/Indicators.h"

#include <algorithm>

namespace zuno {

namespace {

using Sci = QsciScintillaBase;

int indicatorOf(int colour)
{
    return indicators::FirstTextColour + colour;
}

long colourRef(const QColor &colour)
{
    return long(colour.red()) | (long(colour.green()) << 8) | (long(colour.blue()) << 16);
}

} // namespace

QtTextColours::QtTextColours(EditorWidget &editor, int count)
    : m_editor(editor), m_count(std::min(count, indicators::TextColourCount))
{
    for (int colour = 0; colour < m_count; ++colour)
        send(Sci::SCI_INDICSETSTYLE, indicatorOf(colour), Sci::INDIC_TEXTFORE);
}

long QtTextColours::send(unsigned int message, unsigned long wParam, long lParam) const
{
    return m_editor.SendScintilla(message, wParam, lParam);
}

void QtTextColours::setColour(int colour, const QColor &value)
{
    send(Sci::SCI_INDICSETFORE, indicatorOf(colour), colourRef(value));
}

void QtTextColours::fill(int colour, qint64 position, qint64 length)
{
    send(Sci::SCI_SETINDICATORCURRENT, indicatorOf(colour));
    send(Sci::SCI_INDICATORFILLRANGE, static_cast<unsigned long>(position), long(length));
}

void QtTextColours::clear(quintptr document, qint64 from, qint64 to)
{
    if (document != this->document())
        return;
    to = std::min<qint64>(to, send(Sci::SCI_GETLENGTH));
    from = std::min(from, to);
    if (to <= from)
        return;
    for (int colour = 0; colour < m_count; ++colour) {
        send(Sci::SCI_SETINDICATORCURRENT, indicatorOf(colour));
        send(Sci::SCI_INDICATORCLEARRANGE, static_cast<unsigned long>(from), long(to - from));
    }
}

quintptr QtTextColours::document() const
{
    return quintptr(send(Sci::SCI_GETDOCPOINTER));
}

qint64 QtTextColours::firstVisibleLine() const
{
    return send(Sci::SCI_GETFIRSTVISIBLELINE);
}

qint64 QtTextColours::linesOnScreen() const
{
    return send(Sci::SCI_LINESONSCREEN);
}

qint64 QtTextColours::lineStart(qint64 line) const
{
    return send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
}

qint64 QtTextColours::lineEnd(qint64 line) const
{
    return send(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
}

} // namespace zuno
