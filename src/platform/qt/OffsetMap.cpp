#include "platform/qt/OffsetMap.h"

#include "platform/qt/ScintillaDocument.h"
#include "text/TextScan.h"

#include <algorithm>

namespace zuno {

using Sci = QsciScintillaBase;

void OffsetMap::reset(bool beyondAscii, const std::vector<qint64> &loneBreaks)
{
    m_beyondAscii = beyondAscii;
    m_indexAllocated = false;
    m_loneBreakLines.clear();
    for (const qint64 position : loneBreaks)
        m_loneBreakLines.set(send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)), 1);
    m_lineCount = lineCount();
}

void OffsetMap::changed(const TextChange &change)
{
    if (change.wholeText)
        return;
    if (!m_beyondAscii && change.insertedBytes > 0
        && scan::hasByteBeyondAscii(sci::rangePointer(m_document, change.position, change.insertedBytes),
                                    change.insertedBytes))
        m_beyondAscii = true;
    // Scintilla's lines from the one before the change (whose "\r" the
    // change may have parted from a "\n", or joined to one) to the one that
    // holds its end are those it made; the lines after it only move.
    const qint64 count = lineCount();
    const qint64 delta = count - m_lineCount;
    m_lineCount = count;
    const auto lineAt = [this](qint64 position) {
        return qint64(send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
    };
    const qint64 first = lineAt(std::max<qint64>(change.position - 1, 0));
    const qint64 last = lineAt(change.position + change.insertedBytes);
    m_loneBreakLines.replaceLines(first, last - delta, delta);
    const qint64 from = send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(first));
    const qint64 to = last + 1 < count ? send(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(last + 1))
                                       : send(Sci::SCI_GETLENGTH);
    // The range ends where a line begins: a "\r" at its end is lone.
    const char *bytes = sci::rangePointer(m_document, from, to - from);
    const qint64 length = to - from;
    qint64 line = first;
    for (qint64 i = 0; i < length; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        const bool pair = c == '\r' && i + 1 < length && bytes[i + 1] == '\n';
        if (!pair)
            m_loneBreakLines.set(line, 1);
        i += pair;
        ++line;
    }
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

qint64 OffsetMap::lineFromChar(qint64 offset) const
{
    const qint64 line = send(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(toDocumentPosition(offset)));
    // Lines of the display that a lone "\r" or "\n" ends belong to the
    // program's line that goes on after them.
    return textLineOf(line);
}

qint64 OffsetMap::textLineStart(qint64 line) const
{
    while (line > 0 && m_loneBreakLines.value(line - 1) != 0)
        --line;
    return line;
}

} // namespace zuno
