#include "format/DataItem.h"

#include "text/TextScan.h"

#include <algorithm>

namespace zuno {

namespace {

// Index of the next "\r\n" at or after `from`, or -1.
qsizetype findLineBreak(QStringView text, qsizetype from)
{
    return scan::indexOfPair(text, u'\r', u'\n', from);
}

} // namespace

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    LineReader reader(text);
    while (reader.hasNext())
        lines.append(reader.next());
    return lines;
}

qsizetype LineReader::lineEnd() const
{
    const qsizetype end = findLineBreak(m_text, m_pos);
    return end < 0 ? m_text.size() : end;
}

QStringView LineReader::next()
{
    const qsizetype end = lineEnd();
    const QStringView line = m_text.sliced(m_pos, end - m_pos);
    if (end == m_text.size())
        m_atEnd = true;
    else
        m_pos = end + LineSeparator.size();
    return line;
}

bool LineReader::nextStartsWith(QStringView prefix, bool skipSpaces) const
{
    if (m_atEnd)
        return false;
    // The prefix holds neither "\r" nor "\n", so it cannot reach past the end
    // of the next line: testing the rest of the text is testing that line.
    const char16_t *p = m_text.utf16() + m_pos;
    const char16_t *const end = m_text.utf16() + m_text.size();
    if (skipSpaces) {
        while (p < end && *p == u' ')
            ++p;
    }
    if (end - p < prefix.size())
        return false;
    for (const QChar ch : prefix) {
        if (*p++ != ch.unicode())
            return false;
    }
    return true;
}

QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

qsizetype firstColon(QStringView line)
{
    // Most lines begin with a two-letter code.
    if (line.size() >= 3 && line[2] == u':' && line[0] != u':' && line[1] != u':')
        return 2;
    return scan::indexOf(line, u':');
}

bool isValidDataLine(QStringView line)
{
    return line.isEmpty() || firstColon(line) >= 0;
}

ItemRole classifyLine(QStringView line)
{
    // Every code of the table is two upper-case letters and a colon, so the
    // line's code is one of them exactly when the line begins with it.
    if (line.size() < 3 || line[2] != u':')
        return ItemRole::Joined;
    const char16_t first = line[0].unicode();
    const char16_t second = line[1].unicode();
    switch (first) {
    case u'A':
        if (second != u'C')
            return ItemRole::Joined;
        if (line.size() == 5 && ((line[3] == u'O' && line[4] == u'S') || (line[3] == u'P' && line[4] == u'R')))
            return ItemRole::SeparatedRecordStart; // exactly "AC:OS" or "AC:PR"
        return ItemRole::RecordStart;
    case u'B':
    case u'E':
        return second == u'G' ? ItemRole::LineStart : ItemRole::Joined;
    case u'C':
    case u'S':
        return second == u'P' ? ItemRole::LineStart : ItemRole::Joined;
    case u'D':
        return second == u'L' ? ItemRole::LineStart : ItemRole::Joined;
    case u'P':
        return second == u'L' ? ItemRole::ValueList : ItemRole::Joined;
    default:
        return ItemRole::Joined;
    }
}

} // namespace zuno
