#include "platform/qt/LineWidths.h"

#include "platform/qt/ScintillaDocument.h"
#include "text/TextScan.h"

#include <QScopeGuard>

#include <algorithm>

namespace zuno {

namespace {
constexpr int TabCells = 8;
constexpr int ControlCharacterCells = 4;
} // namespace

void LineMeasure::lineBreak(qint64 position, char c)
{
    if (c == '\n' && m_pendingCr >= 0 && m_pendingCr == position - 1) {
        m_pendingCr = -1; // "\r\n"
        return;
    }
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
            if (m_findLone)
                lineBreak(m_fed + i, char(c));
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
    // The lines the change made, with what stands before and after it.
    const qint64 from = change.position;
    const qint64 to = from + change.insertedBytes;
    const auto [lineStart, lineEnd] = sci::wholeLines(m_document, from, to);
    LineMeasure now;
    feed(now, lineStart, lineEnd);
    const qint64 widest = m_widestCells;
    m_widestCells = std::max(widest, now.widest());
    bool mayChange = m_widestCells > widest;
    if (change.removedBytes > 0) {
        // The lines as they were: the same start and end, the removed bytes
        // in place of the inserted ones.
        LineMeasure before;
        feed(before, lineStart, from);
        before.feed(change.removed.constData(), change.removed.size());
        feed(before, to, lineEnd);
        if (!change.removedKept() || before.widest() >= widest) {
            m_stale = true;
            mayChange = true;
        }
    }
    return mayChange || change.insertedBytes > 0;
}

qint64 LineWidthTracker::widestCells() const
{
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
