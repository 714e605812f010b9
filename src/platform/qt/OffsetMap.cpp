#include "platform/qt/OffsetMap.h"

#include "platform/qt/ScintillaDocument.h"
#include "text/TextScan.h"

#include <algorithm>

namespace zuno {

using Sci = QsciScintillaBase;

void OffsetMap::reset(bool beyondAscii)
{
    ++m_version;
    m_beyondAscii = beyondAscii;
    m_indexAllocated = false;
}

void OffsetMap::changed(const TextChange &change)
{
    if (change.wholeText)
        return;
    ++m_version;
    if (!m_beyondAscii && change.insertedBytes > 0
        && scan::hasByteBeyondAscii(sci::rangePointer(m_document, change.position, change.insertedBytes),
                                    change.insertedBytes))
        m_beyondAscii = true;
}

bool OffsetMap::usesCharacterIndex() const
{
    if (!m_beyondAscii)
        return false;
    if (!m_indexAllocated) {
        send(Sci::SCI_ALLOCATELINECHARACTERINDEX, Sci::SC_LINECHARACTERINDEX_UTF16);
        m_indexAllocated = true;
    }
    return true;
}

qint64 OffsetMap::textLength() const
{
    const qint64 length = send(Sci::SCI_GETLENGTH);
    if (!usesCharacterIndex())
        return length;
    const qint64 lastLine = send(Sci::SCI_GETLINECOUNT) - 1;
    const qint64 lastLineStart = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(lastLine));
    return send(Sci::SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(lastLine),
                Sci::SC_LINECHARACTERINDEX_UTF16)
        + send(Sci::SCI_COUNTCODEUNITS, static_cast<unsigned long>(lastLineStart), length);
}

qint64 OffsetMap::toTextOffset(qint64 position) const
{
    if (!usesCharacterIndex())
        return position;
    const qint64 line = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
    const qint64 lineStart = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    return send(Sci::SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                Sci::SC_LINECHARACTERINDEX_UTF16)
        + send(Sci::SCI_COUNTCODEUNITS, static_cast<unsigned long>(lineStart), position);
}

qint64 OffsetMap::toDocumentPosition(qint64 offset) const
{
    const qint64 length = send(Sci::SCI_GETLENGTH);
    if (offset <= 0)
        return 0;
    qint64 position = std::min(offset, length);
    if (usesCharacterIndex()) {
        if (offset >= textLength())
            return length;
        const auto index = static_cast<unsigned long>(offset);
        const qint64 line = send(Sci::SCI_LINEFROMINDEXPOSITION, index, Sci::SC_LINECHARACTERINDEX_UTF16);
        const qint64 lineOffset = send(Sci::SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                       Sci::SC_LINECHARACTERINDEX_UTF16);
        const qint64 lineStart = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        position = lineStart;
        if (offset > lineOffset) {
            const auto relative = [&](qint64 units) {
                return qint64(send(Sci::SCI_POSITIONRELATIVECODEUNITS, static_cast<unsigned long>(lineStart), units));
            };
            position = relative(offset - lineOffset);
            // Inside a character of two units (a surrogate pair), Scintilla
            // finds no position: the character's start, never elsewhere.
            if (position < lineStart || toTextOffset(position) != offset)
                position = std::max(relative(offset - lineOffset - 1), lineStart);
        }
    }
    // Between the "\r" and "\n" of a line break: the end of the line.
    const auto byteAt = [this](qint64 at) { return char(send(Sci::SCI_GETCHARAT, static_cast<unsigned long>(at))); };
    if (position > 0 && position < length && byteAt(position - 1) == '\r' && byteAt(position) == '\n')
        --position;
    return position;
}

bool OffsetMap::isCharacterBoundary(qint64 offset) const
{
    if (offset < 0 || offset > textLength())
        return false;
    return toTextOffset(toDocumentPosition(offset)) == offset;
}

const std::vector<qint64> &OffsetMap::loneBreakLines() const
{
    if (m_loneBreaksVersion == m_version)
        return m_loneBreakLines;
    m_loneBreaksVersion = m_version;
    m_loneBreakLines.clear();
    const QByteArrayView text = sci::wholeText(m_document);
    const char *data = text.data();
    const qint64 length = text.size();
    // Scintilla ends a line at every "\r\n", lone "\r" and lone "\n"; where
    // there are two break characters for every line end, each is a pair.
    const qint64 crs = std::count(data, data + length, '\r');
    const qint64 lfs = std::count(data, data + length, '\n');
    if (crs + lfs == 2 * (send(Sci::SCI_GETLINECOUNT) - 1))
        return m_loneBreakLines;
    for (qint64 i = 0; i < length; ++i) {
        const bool lone = (data[i] == '\r' && (i + 1 == length || data[i + 1] != '\n'))
            || (data[i] == '\n' && (i == 0 || data[i - 1] != '\r'));
        if (lone)
            m_loneBreakLines.push_back(send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(i)));
    }
    return m_loneBreakLines;
}

qint64 OffsetMap::lineFromChar(qint64 offset) const
{
    const qint64 line = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(toDocumentPosition(offset)));
    // Lines of the display that a lone "\r" or "\n" ends belong to the
    // program's line that goes on after them.
    const std::vector<qint64> &lone = loneBreakLines();
    return line - (std::lower_bound(lone.begin(), lone.end(), line) - lone.begin());
}

} // namespace zuno
