#include "items/ItemText.h"

#include "text/TextScan.h"
#include "text/Utf8Text.h"

#include <algorithm>

namespace zuno {

namespace {

// Enough bytes for LongestKept characters however they are encoded (three
// bytes at most a UTF-16 unit), and the two that may end them.
constexpr qint64 LongestRead = 3 * ItemText::LongestKept + 2;

// Where the first "  " or "\r\n" begins in the bytes, or -1.
qsizetype itemEnd(QByteArrayView bytes)
{
    const char *const p = bytes.data();
    const qsizetype n = bytes.size();
    for (qsizetype at = 0; at + 1 < n;) {
        const qsizetype found = scan::indexOfEither(p + at, n - at - 1, ' ', '\r');
        if (found < 0)
            return -1;
        at += found;
        if (p[at + 1] == (p[at] == ' ' ? ' ' : '\n'))
            return at;
        ++at;
    }
    return -1;
}

} // namespace

QByteArrayView ItemText::bytesAt(qint64 position, qint64 length)
{
    const QByteArrayView before = m_pieces.before;
    const QByteArrayView after = m_pieces.after;
    if (position < 0 || position >= m_pieces.size())
        return {};
    length = std::min(length, m_pieces.size() - position);
    if (position >= before.size())
        return after.sliced(position - before.size(), length);
    if (position + length <= before.size())
        return before.sliced(position, length);
    m_buffer.clear();
    m_buffer.append(before.sliced(position));
    m_buffer.append(after.first(length - (before.size() - position)));
    return m_buffer;
}

ItemText::Read ItemText::read(qint64 line, qint64 column)
{
    const qint64 start = m_document.lineStart(line);
    if (start < 0)
        return {};
    // Most items end well within their first bytes: read those first.
    for (qint64 length = 256;; length = LongestRead) {
        const QByteArrayView bytes = bytesAt(start + column, length);
        const qsizetype end = itemEnd(bytes);
        const bool whole = end >= 0 || bytes.size() < length;
        if (!whole && length < LongestRead)
            continue;
        Read read;
        QByteArrayView item = bytes;
        if (end >= 0) {
            item = item.first(end);
            if (bytes[end] == ' ')
                read.pairAt = start + column + end;
        }
        if (whole) {
            while (!item.isEmpty() && item.back() == ' ')
                item.chop(1);
        }
        if (item.size() > LongestKept || scan::hasByteBeyondAscii(item.data(), item.size()))
            item = item.first(utf8PositionOf(item, LongestKept));
        read.bytes = item;
        return read;
    }
}

QString ItemText::decoded(QByteArrayView bytes)
{
    return utf8ToText(bytes);
}

} // namespace zuno
