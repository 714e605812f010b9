#pragma once
// The texts the conversions read and write: UTF-8 (the edit control's own
// bytes, read in place). The conversions work line by line, on UTF-16 views
// (a text decoded a line at a time and its result encoded a piece at a
// time, so that the whole text is never held as UTF-16) or, where
// characters need not be counted, on the UTF-8 bytes themselves.
//
// Readers: hasNext(), next() (a view valid until the next call of next(),
// or for as long as the string given to keepLine() is left alone),
// nextStartsWith(prefix, skipSpaces). Writers: append(piece), isEmpty(),
// settled() (nothing more written can change the outcome), take().
// Internal to the format library.

#include "format/ByteLines.h"
#include "format/DataItem.h"
#include "text/TextScan.h"
#include "text/Utf8Text.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringConverter>
#include <QtAlgorithms>

#include <algorithm>
#include <cstring>
#include <functional>

#include <sys/mman.h>


namespace zuno::text {

// ------------------------------------------------------------ reading

// The lines of a UTF-8 text, split on "\r\n" only, each decoded into a
// buffer of the reader's own.
class Utf8LineReader {
public:
    explicit Utf8LineReader(QByteArrayView text) : m_text(text), m_atEnd(text.isEmpty()) {}

    bool hasNext() const { return !m_atEnd; }
    // Where the next line begins, in bytes.
    qsizetype position() const { return m_pos; }

    QStringView next()
    {
        if (const qsizetype length = nextShortAsciiLine(); length >= 0)
            return QStringView(m_line.constData(), length);
        const qsizetype end = lineEnd();
        decode(m_text.sliced(m_pos, end - m_pos));
        if (end == m_text.size())
            m_atEnd = true;
        else
            m_pos = end + 2;
        return QStringView(m_line.constData(), m_length);
    }

    // Hands the line last read over to `holder`, which keeps it alive for
    // the views of it; the reader decodes on in holder's old buffer.
    void keepLine(QString &holder)
    {
        std::swap(m_line, holder);
        m_length = 0;
    }

    // The prefix is ASCII without "\r" or "\n": its bytes are its units.
    bool nextStartsWith(QStringView prefix, bool skipSpaces = false) const
    {
        return !m_atEnd && bytesStartWith(m_text.sliced(m_pos), prefix, skipSpaces);
    }

private:
    // Most lines are short and ASCII: such a line is widened 16 bytes at a
    // time while its "\r\n" is looked for, when that lies within its first
    // 64 bytes. Its length, or -1 for a line to be read the long way (one
    // beyond ASCII, with a lone "\r", longer, or near the text's end).
    qsizetype nextShortAsciiLine()
    {
#if defined(__SSE2__)
        constexpr qsizetype Block = 16;
        constexpr qsizetype Reach = 64;
        if (m_line.size() < Reach + Block)
            m_line.resize(Reach + Block);
        auto *out = reinterpret_cast<char16_t *>(m_line.data());
        const char *const begin = m_text.data() + m_pos;
        const qsizetype left = m_text.size() - m_pos;
        const __m128i zero = _mm_setzero_si128();
        const __m128i cr = _mm_set1_epi8('\r');
        // One byte beyond each block must be there, for the "\n".
        for (qsizetype i = 0; i < Reach && left - i > Block; i += Block) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(begin + i));
            if (_mm_movemask_epi8(bytes) != 0)
                return -1;
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(bytes, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(bytes, zero));
            if (const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, cr))) {
                const qsizetype end = i + qCountTrailingZeroBits(unsigned(found));
                if (begin[end + 1] != '\n')
                    return -1;
                m_pos += end + 2;
                m_length = end;
                return end;
            }
        }
#endif
        return -1;
    }

    qsizetype lineEnd() const
    {
        const char *const begin = m_text.data();
        const char *const end = begin + m_text.size();
        for (const char *p = begin + m_pos; p < end; ++p) {
            p = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
            if (!p || end - p < 2)
                break;
            if (p[1] == '\n')
                return p - begin;
        }
        return m_text.size();
    }

    // Decodes into m_line, which keeps its room from line to line (only its
    // first m_length units are the line).
    void decode(QByteArrayView bytes)
    {
        // A UTF-8 text takes no fewer bytes than UTF-16 units (one spare
        // for the decoder).
        const qsizetype size = bytes.size();
        if (m_line.size() <= size)
            m_line.resize(std::max(size + 1, 2 * m_line.size()));
        auto *out = reinterpret_cast<char16_t *>(m_line.data());
        const qsizetype i = scan::widenAscii(bytes.data(), size, out);
        if (i == size) {
            m_length = size;
            return;
        }
        const QChar *end = utf8ToTextAt(reinterpret_cast<QChar *>(out + i), bytes.sliced(i));
        m_length = end - m_line.constData();
    }

    QByteArrayView m_text;
    qsizetype m_pos = 0;
    bool m_atEnd;
    QString m_line;
    qsizetype m_length = 0;
};

// ------------------------------------------------------------ writing



// Room for a converted text: about the size of the input, plus the
// "       PL:" heads and extra line breaks that a conversion may add. Large
// blocks are only backed by memory where they are written, so a generous
// reserve costs nothing, and growth beyond it is amortised.
inline qsizetype outputReserve(qsizetype inputSize)
{
    return inputSize + inputSize / 8 + 64;
}

// A text written straight into one buffer reserved ahead and grown by
// doubling. It asks for no large pages: in the editor, whose memory is no
// longer fresh, waiting for the kernel to gather one costs more than the
// page faults it saves (docs/benchmarks.md).
class Buffer {
public:
    explicit Buffer(qsizetype capacity) { grow(capacity); }
    // In the memory of `room`, a text no longer needed, where it is large
    // enough: its pages are in place already.
    Buffer(qsizetype capacity, QByteArray room) : m_text(std::move(room))
    {
        m_text.resize(0);
        grow(capacity);
    }

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }

    // Room for `length` more units; where they go.
    char *reserve(qsizetype length)
    {
        if (length > m_capacity - m_size)
            grow(std::max(2 * m_capacity, m_size + length));
        return m_data + m_size;
    }
    // The units up to `end` (within the last reserve) are written.
    void commit(char *end) { m_size = end - m_data; }

    const char *data() const { return m_data; }
    // Forgets what was written, keeping the room.
    void clear() { m_size = 0; }

    QByteArray take()
    {
        m_text.resize(m_size);
        m_data = nullptr;
        m_size = m_capacity = 0;
        return std::move(m_text);
    }

private:
    void grow(qsizetype capacity)
    {
        // Keeps what was written; the rest stays uninitialised.
        const bool fresh = capacity > m_text.capacity();
        m_text.resize(capacity);
        m_data = m_text.data();
        m_capacity = capacity;
        if (fresh)
            prefault(m_data + m_size, m_data + m_capacity);
    }

    // Maps the memory of a large buffer in one call rather than one page
    // fault at a time as it is first written: on a virtual machine the
    // faults are a large share of a conversion (docs/benchmarks.md).
    static void prefault(char *from, char *to)
    {
#if defined(MADV_POPULATE_WRITE)
        constexpr quintptr page = 4096;
        const quintptr begin = (quintptr(from) + page - 1) & ~(page - 1);
        const quintptr end = quintptr(to) & ~(page - 1);
        if (end > begin && end - begin >= (quintptr(1) << 20))
            ::madvise(reinterpret_cast<void *>(begin), size_t(end - begin), MADV_POPULATE_WRITE);
#else
        Q_UNUSED(from);
        Q_UNUSED(to);
#endif
    }

    QByteArray m_text;
    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
};

// Writes a text into one buffer, or, given a sink, hands it to the sink a
// piece of about a megabyte at a time and keeps no more than that.
class Utf8Writer {
public:
    static constexpr qsizetype PieceSize = qsizetype(1) << 20;

    explicit Utf8Writer(qsizetype inputSize) : m_out(outputReserve(inputSize)) {}
    Utf8Writer(qsizetype inputSize, QByteArray room) : m_out(outputReserve(inputSize), std::move(room)) {}
    // A small input's pieces need no more room than it.
    Utf8Writer(const std::function<void(QByteArrayView)> &sink, qsizetype inputSize)
        : m_out(std::min(PieceSize, outputReserve(inputSize)) + 4096), m_sink(&sink)
    {
    }

    bool isEmpty() const { return m_out.isEmpty() && !m_handedOver && !m_follows; }
    // What is written follows text written elsewhere: the writer is never
    // empty.
    void follow() { m_follows = true; }
    bool settled() const { return false; }
    void append(QStringView text)
    {
        if (text.isEmpty())
            return;
        m_out.commit(encodeUtf8(text, m_out.reserve(3 * text.size())));
        if (m_sink && m_out.size() >= PieceSize)
            handOver();
    }
    // UTF-8 bytes as they are.
    void append(QByteArrayView bytes)
    {
        if (bytes.isEmpty())
            return;
        char *at = m_out.reserve(bytes.size());
        std::memcpy(at, bytes.data(), size_t(bytes.size()));
        m_out.commit(at + bytes.size());
        if (m_sink && m_out.size() >= PieceSize)
            handOver();
    }
    // An item of the List layout: a line break when `lineBreak`, then
    // `head` and `tail`, as UTF-8 bytes, in one go.
    void appendItem(bool lineBreak, QByteArrayView head, QByteArrayView tail)
    {
        char *at = m_out.reserve(2 + head.size() + tail.size());
        if (lineBreak) {
            at[0] = '\r';
            at[1] = '\n';
            at += 2;
        }
        std::memcpy(at, head.data(), size_t(head.size()));
        at += head.size();
        if (!tail.isEmpty()) {
            std::memcpy(at, tail.data(), size_t(tail.size()));
            at += tail.size();
        }
        m_out.commit(at);
        if (m_sink && m_out.size() >= PieceSize)
            handOver();
    }
    // "\r\n", the most frequent piece, without encoding it.
    void appendLineBreak()
    {
        char *at = m_out.reserve(2);
        at[0] = '\r';
        at[1] = '\n';
        m_out.commit(at + 2);
    }
    QByteArray take() { return m_out.take(); }
    // Hands the rest to the sink.
    void finish()
    {
        if (!m_out.isEmpty())
            handOver();
    }

private:
    void handOver()
    {
        (*m_sink)(QByteArrayView(m_out.data(), m_out.size()));
        m_out.clear();
        m_handedOver = true;
    }

    Buffer m_out;
    const std::function<void(QByteArrayView)> *m_sink = nullptr;
    bool m_handedOver = false;
    bool m_follows = false;
};

// Compares what is written with an expected text instead of keeping it:
// whether the two are the same is known at the end without holding a
// second text.
class Utf8Comparison {
public:
    explicit Utf8Comparison(QByteArrayView expected) : m_expected(expected) {}
    bool isEmpty() const { return m_written == 0; }
    bool settled() const { return !m_same; }
    void append(QStringView text)
    {
        m_written += text.size();
        if (text.isEmpty() || !m_same)
            return;
        m_scratch.resize(3 * text.size());
        const qsizetype length = encodeUtf8(text, m_scratch.data()) - m_scratch.data();
        m_same = m_expected.size() - m_size >= length
            && std::memcmp(m_expected.data() + m_size, m_scratch.constData(), size_t(length)) == 0;
        m_size += length;
    }
    void append(QByteArrayView bytes)
    {
        m_written += bytes.size();
        if (bytes.isEmpty() || !m_same)
            return;
        m_same = m_expected.size() - m_size >= bytes.size()
            && std::memcmp(m_expected.data() + m_size, bytes.data(), size_t(bytes.size())) == 0;
        m_size += bytes.size();
    }
    void appendLineBreak() { append(QByteArrayView("\r\n")); }
    void appendItem(bool lineBreak, QByteArrayView head, QByteArrayView tail)
    {
        if (lineBreak)
            appendLineBreak();
        append(head);
        append(tail);
    }
    bool same() const { return m_same && m_size == m_expected.size(); }

private:
    QByteArrayView m_expected;
    qsizetype m_size = 0;    // bytes compared
    qsizetype m_written = 0; // units written
    bool m_same = true;
    QByteArray m_scratch;
};

} // namespace zuno::text
