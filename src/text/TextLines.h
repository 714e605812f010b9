#pragma once
// The lines of a UTF-8 text as the edit control shows them and the printer
// prints them: a line ends at "\r\n", and at a lone "\r" or "\n" too.
#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

namespace zuno {

// One line of a UTF-8 text whose lines end in "\r\n" (a lone "\r" or "\n"
// also ends a line): where it starts, how many bytes it holds and how many
// the line break after it takes (0 for the last line).
struct TextLineSpan {
    qint64 start = 0;
    qint64 length = 0;
    qint64 breakLength = 0;

    qint64 end() const { return start + length; }
    qint64 next() const { return start + length + breakLength; }
    bool operator==(const TextLineSpan &) const = default;
};

// The lines of `text`, in order. An empty text has one empty line; a text
// that ends with a line break has an empty last line after it.
QList<TextLineSpan> splitTextLines(QByteArrayView text);

} // namespace zuno
