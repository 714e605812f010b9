#include "platform/qt/LineBreaker.h"

#include "platform/Units.h"
#include "text/TextFind.h"
#include "text/Utf8Text.h"

#include <QPaintDevice>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace zuno {

namespace {

// Tab stops every half inch, as in the edit control.
constexpr double TabStopTwips = 720.0;
// Slack for the sums of floating-point line heights, in device pixels.
constexpr double Slack = 1e-3;
// The first window of a line that is measured, in bytes.
constexpr qint64 FirstWindow = 256;

// Width of the first `count` characters of the one-line `layout`, without
// the spaces that end them.
double inkWidth(const QTextLayout &layout, qsizetype count)
{
    const QString &text = layout.text();
    while (count > 0 && isBlank(text[count - 1]))
        --count;
    const QTextLine line = layout.lineAt(0);
    return line.cursorToX(int(count)) - line.cursorToX(0);
}

} // namespace

LineBreaker::LineBreaker(QByteArrayView text, const QFont &font, QPaintDevice *device, double lineWidth)
    : m_text(text), m_ends(endsOf(text)), m_font(font), m_device(device), m_lineWidth(lineWidth),
      m_lines(splitTextLines(text))
{
    // QTextLayout scales tab stops from its own reference resolution to the
    // device's; a probe tells the scale.
    QTextLayout probe(QStringLiteral("\t"), m_font, m_device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(100);
    probe.setTextOption(option);
    probe.beginLayout();
    QTextLine line = probe.createLine();
    line.setLineWidth(m_lineWidth);
    probe.endLayout();
    const double scale = line.cursorToX(1) / 100;
    const double tabPixels = TabStopTwips * (m_device ? m_device->logicalDpiX() : 96) / TwipsPerInch;
    m_tabStopDistance = tabPixels / (scale > 0 ? scale : 1);
}

// A text that is the breaker's own is recognised without reading the one
// it was made for, which may be gone by now: by where it lies, its size and
// a copy of its ends (a new text at the same place is seldom the same at
// both its ends).
QByteArray LineBreaker::endsOf(QByteArrayView text)
{
    constexpr qsizetype Ends = 64;
    if (text.size() <= 2 * Ends)
        return text.toByteArray();
    return text.first(Ends).toByteArray() + text.last(Ends).toByteArray();
}

bool LineBreaker::serves(QByteArrayView text, const QFont &font, double lineWidth) const
{
    const bool sameText = text.data() == m_text.data() && text.size() == m_text.size() && endsOf(text) == m_ends;
    return sameText && font == m_font && lineWidth == m_lineWidth;
}

// The bytes [start, start + length) of the text as one line, unbroken, in
// the font measured on the device.
std::shared_ptr<QTextLayout> LineBreaker::layOutLine(qint64 start, qint64 length) const
{
    auto layout = std::make_shared<QTextLayout>(utf8ToText(m_text.sliced(start, length)), m_font, m_device);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(m_tabStopDistance);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(m_lineWidth);
        line.setPosition(QPointF(0, 0));
    }
    layout->endLayout();
    return layout;
}

const LineBreaker::Piece &LineBreaker::pieceAt(qint64 start, qint64 end)
{
    if (const auto found = m_pieces.find(start); found != m_pieces.end())
        return found->second;

    const qint64 remaining = end - start;
    // A window of the line ends between two characters.
    const auto windowOf = [&](qint64 bytes) {
        bytes = std::min(bytes, remaining);
        while (bytes < remaining && (static_cast<unsigned char>(m_text[start + bytes]) & 0xC0) == 0x80)
            ++bytes;
        return bytes;
    };
    // Measure a window of the line that reaches beyond the width (or holds
    // all the rest of it).
    qint64 window = windowOf(FirstWindow);
    std::shared_ptr<QTextLayout> measured = layOutLine(start, window);
    while (window < remaining && inkWidth(*measured, measured->text().size()) <= m_lineWidth) {
        window = windowOf(window * 2);
        measured = layOutLine(start, window);
    }
    const QString chars = measured->text();
    const qsizetype windowChars = chars.size();

    // The most characters whose ink fits the width.
    qsizetype low = 0, high = windowChars;
    while (low < high) {
        const qsizetype middle = low + (high - low + 1) / 2;
        if (inkWidth(*measured, middle) <= m_lineWidth + Slack)
            low = middle;
        else
            high = middle - 1;
    }
    const qsizetype fitting = low;

    qsizetype length = fitting;
    if (fitting < windowChars) {
        if (isBlank(chars[fitting])) {
            // The break falls on spaces: they end this piece.
            while (length < windowChars && isBlank(chars[length]))
                ++length;
        } else {
            // After the last space, if any (an indent too: the word then
            // starts the next line whole); else within the word.
            qsizetype space = fitting - 1;
            while (space >= 0 && !isBlank(chars[space]))
                --space;
            if (space >= 0)
                length = space + 1;
        }
        // Never between the parts of one character (a surrogate pair, a
        // letter and its accents).
        while (length > 0 && !measured->isValidCursorPosition(int(length)))
            --length;
    }

    const auto bytesOf = [&](qsizetype units) { return utf8PositionOf(m_text.sliced(start, window), units); };
    Piece piece;
    // The measured window is the piece itself when all of it fits.
    piece.layout = length == windowChars ? measured : layOutLine(start, bytesOf(length));
    piece.width = length > 0 ? inkWidth(*piece.layout, length) : 0;
    // Measured alone, the piece may come out wider than within its line
    // (shaping at its end, text that runs right to left): shorten it.
    while (piece.width > m_lineWidth + Slack && length > 0) {
        length = piece.layout->previousCursorPosition(int(length));
        piece.layout = layOutLine(start, bytesOf(length));
        piece.width = length > 0 ? inkWidth(*piece.layout, length) : 0;
    }
    piece.length = bytesOf(length);
    // A line is never empty of characters unless the text line is.
    piece.fits = length > 0 || remaining == 0;
    const QTextLine line = piece.layout->lineAt(0);
    piece.height = line.isValid() ? line.height() : 0;
    return m_pieces.emplace(start, std::move(piece)).first->second;
}

} // namespace zuno
