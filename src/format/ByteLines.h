#pragma once
// UTF-8 text a line at a time as bytes, for the conversions (TextStreams.h):
// the test of what the next line begins with, the encoding of a line's
// UTF-16 text, and the reader that gives ASCII lines as the bytes they are.
// Internal to the format library.

#include "text/TextScan.h"
#include "text/Utf8Text.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringConverter>
#include <QStringView>
#include <QtAlgorithms>

namespace zuno::text {

// Whether `bytes` begin with `prefix` (ASCII: its bytes are its units),
// after their leading spaces when `skipSpaces`.
inline bool bytesStartWith(QByteArrayView bytes, QStringView prefix, bool skipSpaces)
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    if (skipSpaces) {
        while (p < end && *p == ' ')
            ++p;
    }
    if (end - p < prefix.size())
        return false;
    for (const QChar ch : prefix) {
        if (static_cast<unsigned char>(*p++) != ch.unicode())
            return false;
    }
    return true;
}

// Writes `text` as UTF-8 at `out`, which has room for three bytes a unit;
// returns the end of what was written.
inline char *encodeUtf8(QStringView text, char *out)
{
    const qsizetype ascii = scan::narrowAscii(text.utf16(), text.size(), out);
    if (ascii == text.size())
        return out + ascii;
    QStringEncoder encoder(QStringEncoder::Utf8);
    return encoder.appendToBuffer(out + ascii, text.sliced(ascii));
}

// The lines of a UTF-8 text, split on "\r\n" only, as UTF-8 bytes: a line
// of ASCII (most of them) is a view into the text itself, told as such
// while its end is looked for. Any other line is given as the UTF-8 of the
// text Utf8LineReader (TextStreams.h) decodes it to (a malformed byte there is a U+FFFD
// here too), written into a buffer of the reader's own: what is read is the
// same text either way, and valid UTF-8 comes through as it is.
class Utf8ByteLineReader {
public:
    explicit Utf8ByteLineReader(QByteArrayView text) : m_text(text), m_atEnd(text.isEmpty()) {}

    bool hasNext() const { return !m_atEnd; }

    // A view into the text, or into the reader's buffer until the next call.
    QByteArrayView next()
    {
        const char *const begin = m_text.data() + m_pos;
        const qsizetype left = m_text.size() - m_pos;
        bool beyondAscii = false;
        const qsizetype length = lineLength(begin, left, beyondAscii);
        if (length == left)
            m_atEnd = true;
        else
            m_pos += length + 2;
        const QByteArrayView line(begin, length);
        if (!beyondAscii)
            return line;
        m_allAscii = false;
        return reencoded(line);
    }

    // Whether every line read so far was ASCII.
    bool allAscii() const { return m_allAscii; }

    bool nextStartsWith(QStringView prefix, bool skipSpaces = false) const
    {
        return !m_atEnd && bytesStartWith(m_text.sliced(m_pos), prefix, skipSpaces);
    }

private:
    // The length of the line at `p` (up to its "\r\n", or all n bytes),
    // and whether it holds a byte beyond ASCII.
    static qsizetype lineLength(const char *p, qsizetype n, bool &beyondAscii)
    {
        qsizetype i = 0;
        quint64 high = 0;
#if defined(__SSE2__)
        // Thirty-two bytes at a time: most lines take one or two rounds.
        const __m128i cr = _mm_set1_epi8('\r');
        for (; n - i >= 32; i += 32) {
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 16));
            const quint64 beyond =
                quint64(unsigned(_mm_movemask_epi8(first))) | quint64(unsigned(_mm_movemask_epi8(second))) << 16;
            quint64 found = quint64(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(first, cr))))
                | quint64(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(second, cr)))) << 16;
            for (; found != 0; found &= found - 1) {
                const unsigned at = unsigned(qCountTrailingZeroBits(found));
                if (i + at + 1 < n && p[i + at + 1] == '\n') {
                    beyondAscii = (high | (beyond & ((quint64(1) << at) - 1))) != 0;
                    return i + at;
                }
            }
            high |= beyond;
        }
#endif
        for (; i < n; ++i) {
            if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n')
                break;
            high |= static_cast<unsigned char>(p[i]) & 0x80u;
        }
        beyondAscii = high != 0;
        return i;
    }

    QByteArrayView reencoded(QByteArrayView line)
    {
        // A UTF-8 text takes no fewer bytes than UTF-16 units; a unit takes
        // three bytes at most.
        if (m_units.size() < line.size())
            m_units.resize(line.size());
        const QChar *end = utf8ToTextAt(m_units.data(), line);
        const QStringView text(m_units.constData(), end - m_units.constData());
        if (m_bytes.size() < 3 * text.size())
            m_bytes.resize(3 * text.size());
        return QByteArrayView(m_bytes.constData(), encodeUtf8(text, m_bytes.data()) - m_bytes.constData());
    }

    QByteArrayView m_text;
    qsizetype m_pos = 0;
    bool m_atEnd;
    bool m_allAscii = true;
    QString m_units;
    QByteArray m_bytes;
};

} // namespace zuno::text
