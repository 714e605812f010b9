#include "format/LineProblems.h"

#include "format/LineItems.h"
#include "format/TextStreams.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zuno {

namespace {

// Where `part` (a view into `line`) begins in it.
qsizetype offsetIn(QStringView line, QStringView part)
{
    return part.utf16() - line.utf16();
}

LineProblem error(QStringView line, QStringView offending, ConversionFault fault)
{
    return LineProblem{ProblemKind::Error, offsetIn(line, offending), offending.size(), std::move(fault)};
}

// The line's problem in the List layout, read the long way: decoded.
void readListLine(QByteArrayView text, qsizetype begin, qsizetype end, qsizetype number, const ProblemFound &found)
{
    text::Utf8LineReader reader(text.sliced(begin, end - begin));
    const QStringView line = reader.hasNext() ? reader.next() : QStringView();
    const LineProblem problem = listLineProblem(line);
    if (problem.kind != ProblemKind::None)
        found(number, begin, line, problem);
}

#if defined(__SSE2__)
// A List line's problem is a fact of a few of its bytes: it is a data item
// when it is empty or holds a colon, and it reads back as it stands unless
// two spaces stand in a row within it once trimmed. Neither a colon nor a
// space is ever part of a longer UTF-8 sequence, so a line that holds a
// colon and no two spaces in a row has no problem, whatever else it holds.
// Such lines are passed over 64 bytes at a time, by masks of those bytes;
// any other line is read the long way, which says what is wrong and where.
struct ByteMasks {
    quint64 lineEnds = 0;   // the "\r" of each "\r\n"
    quint64 colons = 0;
    quint64 spacePairs = 0; // a space with a space after it
};

quint64 maskOf(const __m128i (&bytes)[4], char wanted)
{
    const __m128i w = _mm_set1_epi8(wanted);
    quint64 mask = 0;
    for (int i = 0; i < 4; ++i)
        mask |= quint64(quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes[i], w)))) << (16 * i);
    return mask;
}

// The masks of the 64 bytes at `p`; p[64] is read too (the byte after).
ByteMasks masksAt(const char *p)
{
    __m128i bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
    const quint64 lf = (maskOf(bytes, '\n') >> 1) | (quint64(p[64] == '\n') << 63);
    const quint64 space = maskOf(bytes, ' ');
    const quint64 nextSpace = (space >> 1) | (quint64(p[64] == ' ') << 63);
    return ByteMasks{maskOf(bytes, '\r') & lf, maskOf(bytes, ':'), space & nextSpace};
}

// The bits from..to-1 (0 <= from, to <= 64; none when from >= to).
quint64 bitsBetween(int from, int to)
{
    if (from >= to)
        return 0;
    const quint64 below = to == 64 ? ~quint64(0) : (quint64(1) << to) - 1;
    return below & (~quint64(0) << from);
}

void findListLineProblems(QByteArrayView text, const ProblemFound &found, const std::function<bool()> &stopped)
{
    constexpr qsizetype Window = 64;
    // How often `stopped` is asked: every 256 KB.
    constexpr qsizetype AskEvery = Window << 12;
    const char *const data = text.data();
    const qsizetype size = text.size();
    qsizetype lineStart = 0;
    qsizetype number = 0;
    bool colon = false;
    bool spacePair = false;
    char tail[2 * Window];
    for (qsizetype base = 0; base < size; base += Window) {
        if (stopped && base % AskEvery == 0 && stopped())
            return;
        const qsizetype left = size - base;
        const char *p = data + base;
        if (left <= Window) {
            // The last bytes, with nothing that counts after them.
            std::memset(tail, 0, sizeof tail);
            std::memcpy(tail, p, size_t(left));
            p = tail;
        }
        const ByteMasks masks = masksAt(p);
        const int valid = int(std::min(left, Window));
        // Where the line begins in the window: 0 for one begun before it, up
        // to 65 for one that begins past a "\r\n" at its end.
        int from = int(std::max<qsizetype>(lineStart - base, 0));
        quint64 ends = masks.lineEnds & bitsBetween(std::min(from, 64), valid);
        while (ends != 0) {
            const int end = __builtin_ctzll(ends);
            ends &= ends - 1;
            const quint64 line = bitsBetween(from, end);
            colon = colon || (masks.colons & line) != 0;
            spacePair = spacePair || (masks.spacePairs & line) != 0;
            if (spacePair || (!colon && base + end > lineStart))
                readListLine(text, lineStart, base + end, number, found);
            ++number;
            colon = spacePair = false;
            lineStart = base + end + 2;
            from = end + 2;
        }
        const quint64 rest = bitsBetween(std::min(from, 64), valid);
        colon = colon || (masks.colons & rest) != 0;
        spacePair = spacePair || (masks.spacePairs & rest) != 0;
    }
    // The last line runs to the text's end.
    if (size > 0 && (spacePair || (!colon && size > lineStart)))
        readListLine(text, lineStart, size, number, found);
}
#endif

} // namespace

LineProblem listLineProblem(QStringView line)
{
    // The Record conversion tests the line untrimmed.
    if (!isValidDataLine(line))
        return error(line, line, ConversionFault::invalidItem(line, -1));
    // The round-trip check: two spaces in a row, once trimmed, are read back
    // as the gap between two items.
    const QStringView trimmed = trimSpaces(line);
    const qsizetype gap = scan::indexOfPair(trimmed, u' ', u' ');
    if (gap < 0)
        return LineProblem{};
    const qsizetype from = offsetIn(line, trimmed) + gap;
    return LineProblem{ProblemKind::Warning, from, offsetIn(line, trimmed) + trimmed.size() - from, {}};
}

bool mayContinueValueList(QStringView line)
{
    return startsWithValueListCode(trimSpaces(line));
}

LineProblem recordLineProblem(QStringView line, RecordLineContext &context)
{
    const QStringView trimmed = trimSpaces(line);
    if (context.valueListOpen && startsWithValueListCode(trimmed))
        return LineProblem{}; // taken up whole by the PL item before
    context.valueListOpen = false;
    if (!isValidDataLine(trimmed))
        return error(line, trimmed, ConversionFault::invalidItem(trimmed, -1));
    const ItemsTaken taken = takeItems(trimmed, [](QStringView, qsizetype) {});
    if (!taken.ok)
        return error(line, taken.rest, {ConversionFault::Kind::UnexpectedData, taken.rest.toString(), -1});
    context.valueListOpen = startsWithValueListCode(taken.rest);
    return LineProblem{};
}

void findLineProblems(QByteArrayView utf8Text, bool recordLayout, const ProblemFound &found,
                      const std::function<bool()> &stopped)
{
#if defined(__SSE2__)
    if (!recordLayout) {
        findListLineProblems(utf8Text, found, stopped);
        return;
    }
#endif
    text::Utf8LineReader reader(utf8Text);
    RecordLineContext context;
    for (qsizetype number = 0; reader.hasNext(); ++number) {
        if (stopped && number % 4096 == 0 && stopped())
            return;
        const qsizetype position = reader.position();
        const QStringView line = reader.next();
        const LineProblem problem = recordLayout ? recordLineProblem(line, context) : listLineProblem(line);
        if (problem.kind != ProblemKind::None)
            found(number, position, line, problem);
    }
}

QList<CodeSpan> lineCodes(QStringView line, bool recordLayout, RecordLineContext &context)
{
    QList<CodeSpan> codes;
    const auto add = [&](QStringView item, qsizetype at, ItemRole role) {
        const qsizetype colon = firstColon(item);
        if (colon >= 0)
            codes.append(CodeSpan{at, colon + 1, role});
    };
    if (!recordLayout) {
        add(line, 0, classifyLine(line));
        return codes;
    }
    const QStringView trimmed = trimSpaces(line);
    const qsizetype start = offsetIn(line, trimmed);
    if (context.valueListOpen && startsWithValueListCode(trimmed)) {
        codes.append(CodeSpan{start, ValueListCode.size(), ItemRole::ValueList});
        return codes;
    }
    context.valueListOpen = false;
    if (!isValidDataLine(trimmed))
        return codes;
    const ItemsTaken taken = takeItems(trimmed, [&](QStringView item, qsizetype at) {
        add(item, start + at, classifyLine(trimSpaces(item)));
    });
    if (taken.ok) {
        add(taken.rest, start + taken.restOffset, classifyLine(taken.rest));
        context.valueListOpen = startsWithValueListCode(taken.rest);
    }
    return codes;
}

} // namespace zuno
