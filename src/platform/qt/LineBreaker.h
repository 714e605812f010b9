#pragma once
// Breaks the lines of a UTF-8 text into pieces that fit a width, each laid
// out as one line of a QTextLayout in a font measured on a paint device
// (the printer). A line is decoded a window at a time, never the whole
// text. Tabs stop every half inch.
#include "platform/Printer.h"

#include <QByteArrayView>
#include <QFont>
#include <QList>

#include <map>
#include <memory>

class QPaintDevice;
class QTextLayout;

namespace zuno {

class LineBreaker {
public:
    // A piece of a text line that fits the width: its `length` bytes
    // (spaces that end it included) as one line in `layout`.
    struct Piece {
        std::shared_ptr<QTextLayout> layout;
        qint64 length = 0;
        // Width up to the end of its last character that is not a space,
        // and the line's height, in device pixels.
        double width = 0;
        double height = 0;
        // False when not even its first character fits the width.
        bool fits = true;
    };

    // `text` must stay as it is while the breaker is used.
    LineBreaker(QByteArrayView text, const QFont &font, QPaintDevice *device, double lineWidth);

    // True when the breaker lays out this text (these bytes in the same
    // place: the text it was made for is never read again to compare) in
    // this font at this width.
    bool serves(QByteArrayView text, const QFont &font, double lineWidth) const;
    QByteArrayView text() const { return m_text; }
    // The text's lines.
    const QList<TextLineSpan> &lines() const { return m_lines; }

    // The piece of the line that starts at byte `start` and ends at `end`:
    // as much as fits the width, broken after the last space that lets it
    // fit, or within a word that is wider than a whole line. Spaces at the
    // break stay on the piece they end, beyond the right edge, as in the
    // edit control. Never between the parts of one character.
    const Piece &pieceAt(qint64 start, qint64 end);

private:
    static QByteArray endsOf(QByteArrayView text);
    std::shared_ptr<QTextLayout> layOutLine(qint64 start, qint64 length) const;

    QByteArrayView m_text;
    QByteArray m_ends; // a copy of the text's ends
    QFont m_font;
    QPaintDevice *m_device = nullptr;
    double m_lineWidth = 0;
    double m_tabStopDistance = 0;
    QList<TextLineSpan> m_lines;
    // The pieces made so far, keyed by the byte where each starts.
    std::map<qint64, Piece> m_pieces;
};

} // namespace zuno
