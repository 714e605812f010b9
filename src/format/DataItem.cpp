#include "format/DataItem.h"

#include "text/TextScan.h"

#include <algorithm>

namespace zuno {

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
