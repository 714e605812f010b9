#include "platform/qt/LineWidths.h"

#include "platform/qt/ScintillaDocument.h"
#include "text/CrLfLines.h"
#include "text/TextScan.h"

#include <QScopeGuard>

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zuno {

namespace {
constexpr int TabCells = 8;
constexpr int ControlCharacterCells = 4;

#if defined(__SSE2__)
// What 64 bytes hold, a bit a byte.
struct WindowMasks {
    quint64 lineEnds = 0;     // the "\r" of each "\r\n"
    quint64 otherControl = 0; // any other byte below 0x20 (a tab, a lone "\r" or "\n")
    quint64 continuation = 0; // a UTF-8 continuation byte: no character of its own
};

// The masks of the 64 bytes at `p`; p[64] is read too.
WindowMasks windowAt(const char *p)
{
    quint64 cr = 0;
    quint64 lf = 0;
    quint64 below20 = 0;
    quint64 high = 0;
    quint64 continuation = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
        const auto bits = [i](__m128i test) { return quint64(quint32(_mm_movemask_epi8(test))) << (16 * i); };
        cr |= bits(_mm_cmpeq_epi8(b, _mm_set1_epi8('\r')));
        lf |= bits(_mm_cmpeq_epi8(b, _mm_set1_epi8('\n')));
        // Compared as signed bytes: 0x80 and above are below zero.
        below20 |= bits(_mm_cmplt_epi8(b, _mm_set1_epi8(0x20)));
        high |= bits(b);
        continuation |= bits(_mm_cmplt_epi8(b, _mm_set1_epi8(char(0xC0))));
    }
    const quint64 lineEnds = cr & ((lf >> 1) | (quint64(p[64] == '\n') << 63));
    return WindowMasks{lineEnds, below20 & ~high & ~(lineEnds | (lineEnds << 1)), continuation};
}

// The characters among the bytes from..to-1 of a window: the bytes less
// the continuation bytes (counted only where the window has any: the
// processors this is built for may count bits by a call, not an instruction).
int charactersBetween(quint64 continuation, int from, int to)
{
    if (from >= to)
        return 0;
    return (to - from) - (continuation == 0 ? 0 : __builtin_popcountll(continuation & crlf::bitsBetween(from, to)));
}
#endif
} // namespace

void WidthCounts::add(qint64 width, qint64 by)
{
    if (width >= Small) {
        const qint64 count = (m_large[width] += by);
        if (count == 0)
            m_large.erase(width);
        return;
    }
    if (qint64(m_small.size()) <= width)
        m_small.resize(size_t(width) + 1, 0);
    m_small[size_t(width)] += by;
    while (!m_small.empty() && m_small.back() == 0)
        m_small.pop_back();
}

void WidthCounts::add(const WidthCounts &other, int sign)
{
    for (size_t width = 0; width < other.m_small.size(); ++width) {
        if (other.m_small[width] != 0)
            add(qint64(width), sign * other.m_small[width]);
    }
    for (const auto &[width, count] : other.m_large)
        add(width, sign * count);
}

qint64 WidthCounts::widest() const
{
    if (!m_large.empty())
        return m_large.rbegin()->first;
    return m_small.empty() ? 0 : qint64(m_small.size()) - 1;
}

// Most lines end with "\r\n": both bytes at once, as each alone would count
// (the "\n" ends an empty line) and with no lone break.
void LineMeasure::crLfLineEnd()
{
    m_widest = std::max(m_widest, m_cells);
    if (m_countWidths) {
        m_counts.addOne(m_cells);
        ++m_crLfEmpties;
    }
    m_cells = 0;
    if (m_findLone && m_pendingCr >= 0) {
        m_loneBreaks.push_back(m_pendingCr);
        m_pendingCr = -1;
    }
}

WidthCounts &LineMeasure::widthCounts()
{
    if (m_crLfEmpties != 0)
        m_counts.add(0, m_crLfEmpties);
    m_crLfEmpties = 0;
    m_counts.add(m_cells, 1);
    m_widest = std::max(m_widest, m_cells);
    m_cells = 0;
    return m_counts;
}

void LineMeasure::loneOrCr(qint64 position, char c)
{
    if (m_pendingCr >= 0)
        m_loneBreaks.push_back(m_pendingCr);
    m_pendingCr = -1;
    if (c == '\r')
        m_pendingCr = position;
    else
        m_loneBreaks.push_back(position);
}

const std::vector<qint64> &LineMeasure::loneBreaks()
{
    if (m_pendingCr >= 0)
        m_loneBreaks.push_back(m_pendingCr);
    m_pendingCr = -1;
    return m_loneBreaks;
}

void LineMeasure::feed(const char *data, qint64 size)
{
    const auto fed = qScopeGuard([&] { m_fed += size; });
    // Where the bytes are read one at a time: up to the end of the window
    // that holds a tab, a control character or a lone line break.
    qint64 byBytesTo = 0;
    for (qint64 i = 0; i < size; ++i) {
#if defined(__SSE2__)
        // Most windows of 64 bytes hold plain characters and "\r\n" alone:
        // their lines are measured by the window's masks.
        if (i >= byBytesTo && size - i > 64) {
            const WindowMasks masks = windowAt(data + i);
            if (masks.otherControl != 0) {
                byBytesTo = i + 64;
            } else {
                int from = 0;
                for (quint64 ends = masks.lineEnds; ends != 0; ends &= ends - 1) {
                    const int end = __builtin_ctzll(ends);
                    m_cells += charactersBetween(masks.continuation, from, end);
                    crLfLineEnd();
                    from = end + 2;
                }
                m_cells += charactersBetween(masks.continuation, from, 64);
                // The next window begins after this one, or after its last
                // "\r\n" where that ends past it.
                i += std::max(64, from) - 1;
                continue;
            }
        }
#endif
        const qint64 plain = scan::plainAsciiRun(data + i, size - i);
        m_cells += plain;
        i += plain;
        if (i == size)
            break;
        const auto c = static_cast<unsigned char>(data[i]);
        if (c >= 0x20) {
            // A UTF-8 continuation byte adds no character.
            m_cells += (c & 0xC0) != 0x80;
        } else if (c == '\r' && i + 1 < size && data[i + 1] == '\n') {
            crLfLineEnd();
            ++i;
        } else if (c == '\r' || c == '\n') {
            m_widest = std::max(m_widest, m_cells);
            if (m_countWidths)
                m_counts.addOne(m_cells);
            m_cells = 0;
            if (m_findLone)
                lineBreak(m_fed + i, char(c));
        } else if (c == '\t') {
            m_cells = (m_cells / TabCells + 1) * TabCells;
        } else {
            m_cells += ControlCharacterCells;
        }
    }
}

void LineWidthTracker::reset(WidthCounts counts)
{
    m_counts = std::move(counts);
    m_stale = false;
}

void LineWidthTracker::feed(LineMeasure &measure, qint64 from, qint64 to) const
{
    if (to > from)
        measure.feed(sci::rangePointer(m_document, from, to - from), to - from);
}

bool LineWidthTracker::changed(const TextChange &change)
{
    if (change.wholeText || m_stale)
        return !change.wholeText;
    // The lines the change made, with what stands before and after it,
    // against the same lines as they were: the same start and end, the
    // removed bytes in place of the inserted ones.
    const qint64 from = change.position;
    const qint64 to = from + change.insertedBytes;
    if (!change.removedKept()) {
        m_stale = true;
        return true;
    }
    const auto [lineStart, lineEnd] = sci::wholeLines(m_document, from, to);
    LineMeasure now;
    now.countWidths();
    feed(now, lineStart, lineEnd);
    LineMeasure before;
    before.countWidths();
    feed(before, lineStart, from);
    before.feed(change.removed.constData(), change.removed.size());
    feed(before, to, lineEnd);
    const qint64 widest = m_counts.widest();
    m_counts.add(before.widthCounts(), -1);
    m_counts.add(now.widthCounts(), 1);
    return m_counts.widest() != widest || change.insertedBytes > 0;
}

qint64 LineWidthTracker::widestCells() const
{
    if (m_stale) {
        const QByteArrayView text = sci::wholeText(m_document);
        LineMeasure measure;
        measure.countWidths();
        measure.feed(text.data(), text.size());
        m_counts = std::move(measure.widthCounts());
        m_stale = false;
    }
    return m_counts.widest();
}

} // namespace zuno
