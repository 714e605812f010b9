#pragma once
// The lines of a text as the conversions in pieces see them: where a line
// ends, which lines a text may be cut between, and one piece's conversion.
#include "format/Conversion.h"
#include "format/PieceConversion.h"

#include <QList>

#include <cstring>
#include <mutex>
#include <vector>

namespace zuno::pieces {

inline bool startsWith(const char *p, const char *end, const char *prefix)
{
    const size_t length = std::strlen(prefix);
    return size_t(end - p) >= length && std::memcmp(p, prefix, length) == 0;
}

// Whether a line `[begin, end)` may follow a cut, and whether the line
// before it allows one.
inline bool mayStartPiece(const char *begin, const char *end, ConversionDirection direction)
{
    if (direction == ConversionDirection::ToRecord) {
        if (!startsWith(begin, end, "AC:"))
            return false;
        return !(end - begin == 5 && (startsWith(begin, end, "AC:OS") || startsWith(begin, end, "AC:PR")));
    }
    while (begin < end && *begin == ' ')
        ++begin;
    return !startsWith(begin, end, "PL:");
}

inline bool mayEndPiece(const char *begin, const char *end, ConversionDirection direction)
{
    if (direction == ConversionDirection::ToRecord)
        return begin < end && !startsWith(begin, end, "PL:");
    while (begin < end && *begin == ' ')
        ++begin;
    return begin < end;
}

// The end of the line that begins at `p` (its "\r\n", or the text's end).
inline const char *lineEnd(const char *p, const char *end)
{
    while (p < end) {
        p = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
        if (!p || end - p < 2)
            return end;
        if (p[1] == '\n')
            return p;
        ++p;
    }
    return end;
}

inline qsizetype lineBreaksBefore(QByteArrayView text, qsizetype at)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i + 1 < at; ++i) {
        if (text[i] == '\r' && text[i + 1] == '\n')
            ++count;
    }
    return count;
}

// A Record line that a record begins on, as far as the Record text tells:
// its first item AC:, not AC:OS or AC:PR.
inline bool beginsRecord(const char *begin, const char *end)
{
    if (!startsWith(begin, end, "AC:"))
        return false;
    for (const char *code : {"AC:OS", "AC:PR"}) {
        if (startsWith(begin, end, code) && (end - begin == 5 || begin[5] == ' '))
            return false;
    }
    return true;
}

// A Record line whose last item is no PL item.
inline bool endsWithoutValueList(const char *begin, const char *end)
{
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    if (begin == end)
        return false;
    const char *item = end;
    while (item > begin && !(item - begin >= 2 && item[-1] == ' ' && item[-2] == ' '))
        --item;
    return !startsWith(item, end, "PL:");
}

// Where a save from the Record view may cut its text: before a record's
// first line that follows a line whose last item is no PL item. What is
// written on either side of such a cut is what the whole text's List layout
// holds there.
inline bool recordCut(const char *previousStart, const char *previousEnd, const char *start, const char *finish)
{
    return endsWithoutValueList(previousStart, previousEnd) && beginsRecord(start, finish);
}

// The List text of a piece without the line break that joins it to the
// pieces before it.
inline QByteArrayView ownListText(const QByteArray &list, bool first)
{
    return !first && list.startsWith("\r\n") ? QByteArrayView(list).sliced(2) : QByteArrayView(list);
}

// Where the pieces of `text` begin, about `pieceSize` bytes apart: at the
// start of a line [start, finish) for which `mayCut(previousStart,
// previousEnd, start, finish)` holds.
template <typename MayCut>
QList<qsizetype> cutsWhere(QByteArrayView text, qsizetype pieceSize, const MayCut &mayCut)
{
    QList<qsizetype> cuts{0};
    const char *const begin = text.data();
    const char *const end = begin + text.size();
    qsizetype from = pieceSize;
    while (from < text.size()) {
        // The line that holds `from`, then the lines after it.
        const char *line = lineEnd(begin + from, end);
        if (line == end)
            break;
        // The start of the line that ends at `line`.
        const char *previousStart = line;
        while (previousStart > begin && !(previousStart - begin >= 2 && previousStart[-2] == '\r'
                                          && previousStart[-1] == '\n'))
            --previousStart;
        const char *previousEnd = line;
        bool cut = false;
        while (previousEnd < end) {
            const char *start = previousEnd + 2;
            const char *finish = lineEnd(start, end);
            if (mayCut(previousStart, previousEnd, start, finish)) {
                cuts.append(start - begin);
                cut = true;
                break;
            }
            previousStart = start;
            previousEnd = finish;
        }
        if (!cut)
            break;
        from = cuts.last() + pieceSize;
    }
    return cuts;
}

// Texts of pieces already handed on, whose memory the next pieces' results
// use again: memory asked afresh of the system is faulted in a page at a
// time, which costs as much as converting what it holds.
class Rooms {
public:
    QByteArray take()
    {
        std::lock_guard lock(m_mutex);
        if (m_rooms.empty())
            return QByteArray();
        QByteArray room = std::move(m_rooms.back());
        m_rooms.pop_back();
        return room;
    }
    void giveBack(QByteArray text)
    {
        std::lock_guard lock(m_mutex);
        if (m_rooms.size() < MaxRooms)
            m_rooms.push_back(std::move(text));
    }

private:
    static constexpr size_t MaxRooms = 12;
    std::mutex m_mutex;
    std::vector<QByteArray> m_rooms;
};

inline ConversionResult<QByteArray> convertPiece(QByteArrayView piece, ConversionDirection direction, bool first,
                                                 Rooms &rooms)
{
    if (direction == ConversionDirection::ToList)
        return convertToListLayoutInto(piece, rooms.take(), !first);
    return convertToRecordLayoutInto(piece, rooms.take());
}

} // namespace zuno::pieces
