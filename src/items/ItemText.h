#pragma once
// The text of an item of the record index, read from the document when it
// is asked for: from where the item begins in its line up to two spaces in
// a row or the line's "\r\n" (a lone "\r" or "\n" within a line does not
// end it), trimmed, its first 16,000 characters. The same rule the index
// was read by, so that what it shows is what it found.
//
// Reads the document's store in place on either side of its gap and never
// moves the gap: an item that straddles it is copied (a few bytes).
// Valid while the text does not change; one reader serves many items.
#include "platform/LineMarks.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zuno {

class ItemText {
public:
    explicit ItemText(const ILineMarks &document) : m_document(document), m_pieces(document.textInPlace()) {}

    // An item's characters are kept up to this many.
    static constexpr qsizetype LongestKept = 16000;

    struct Read {
        // The kept bytes (UTF-8 as the text holds it).
        QByteArrayView bytes;
        // Where the two spaces that end the item stand in the text, or -1
        // when the line's end, the text's end or its length ends it.
        qint64 pairAt = -1;
    };
    // The item that begins `column` bytes into the text's line that begins
    // on the control's line `line`.
    Read read(qint64 line, qint64 column);
    QString text(qint64 line, qint64 column) { return decoded(read(line, column).bytes); }

    static QString decoded(QByteArrayView bytes);

private:
    // Up to `length` bytes from `position`, in place or copied.
    QByteArrayView bytesAt(qint64 position, qint64 length);

    const ILineMarks &m_document;
    ILineMarks::Pieces m_pieces;
    QByteArray m_buffer;
};

} // namespace zuno
