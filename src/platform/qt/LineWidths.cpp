#include "platform/qt/LineWidths.h"

#include "platform/qt/ScintillaDocument.h"
#include "text/TextScan.h"

#include <algorithm>

namespace zuno {

namespace {
constexpr int TabCells = 8;
constexpr int ControlCharacterCells = 4;
} // namespace

void LineMeasure::feed(const char *data, qint64 size)
{
    for (qint64 i = 0; i < size; ++i) {
        const qint64 plain = scan::plainAsciiRun(data + i, size - i);
        m_cells += plain;
        i += plain;
        if (i == size)
            break;
        const auto c = static_cast<unsigned char>(data[i]);
        if (c >= 0x20) {
            // A UTF-8 continuation byte adds no character.
            m_cells += (c & 0xC0) != 0x80;
        } else if (c == '\r' || c == '\n') {
            m_widest = std::max(m_widest, m_cells);
            m_cells = 0;
        } else if (c == '\t') {
            m_cells = (m_cells / TabCells + 1) * TabCells;
        } else {
            m_cells += ControlCharacterCells;
        }
    }
}

void LineWidthTracker::reset(qint64 widestCells)
{
    m_widestCells = widestCells;
    m_stale = false;
    m_insertion.pending = false;
}

void LineWidthTracker::aboutToInsert(qint64 position, qint64 length)
{
    settle();
    m_insertion = {true, position, length};
}

bool LineWidthTracker::aboutToDelete(qint64 position, qint64 length)
{
    settle();
    const auto [lineStart, lastLineEnd] = sci::wholeLines(m_document, position, position + length);
    LineMeasure before;
    before.feed(sci::rangePointer(m_document, lineStart, lastLineEnd - lineStart), lastLineEnd - lineStart);
    const bool mayNarrow = before.widest() >= m_widestCells;
    if (mayNarrow)
        m_stale = true;
    // The line that the deletion joins.
    const qint64 after = position + length;
    LineMeasure joined;
    joined.feed(sci::rangePointer(m_document, lineStart, position - lineStart), position - lineStart);
    joined.feed(sci::rangePointer(m_document, after, lastLineEnd - after), lastLineEnd - after);
    m_widestCells = std::max(m_widestCells, joined.widest());
    return mayNarrow;
}

void LineWidthTracker::invalidate()
{
    m_insertion.pending = false;
    m_stale = true;
}

void LineWidthTracker::settle() const
{
    if (!m_insertion.pending)
        return;
    m_insertion.pending = false;
    // The lines the text made, with what stands before and after it.
    const qint64 from = m_insertion.position;
    const auto [lineStart, lineEnd] = sci::wholeLines(m_document, from, from + m_insertion.length);
    LineMeasure measure;
    measure.feed(sci::rangePointer(m_document, lineStart, lineEnd - lineStart), lineEnd - lineStart);
    m_widestCells = std::max(m_widestCells, measure.widest());
}

qint64 LineWidthTracker::widestCells() const
{
    settle();
    if (m_stale) {
        const QByteArrayView text = sci::wholeText(m_document);
        LineMeasure measure;
        measure.feed(text.data(), text.size());
        m_widestCells = measure.widest();
        m_stale = false;
    }
    return m_widestCells;
}

} // namespace zuno
