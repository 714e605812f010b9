// The record index read from a whole UTF-8 text: the List layout's lines
// straight from their bytes, the Record layout's through the role table.
#include "items/RecordIndex.h"

#include "format/DataItem.h"
#include "text/TextScan.h"
#include "text/Utf8Text.h"

#include <algorithm>
#include <cstring>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zuno {

namespace {

// The code of the item that names a record.
constexpr QStringView NameCode = u"NM:";

bool startsRecord(ItemRole role)
{
    return role == ItemRole::RecordStart || role == ItemRole::SeparatedRecordStart;
}

// Whether a List line's first bytes may make it an entry: a code of the
// role table that begins a record or a line, or NM.
bool mayBeEntry(const char *p, qsizetype n)
{
    if (n < 3 || p[2] != ':')
        return false;
    switch (p[0]) {
    case 'A': return p[1] == 'C';
    case 'B':
    case 'E': return p[1] == 'G';
    case 'C':
    case 'S': return p[1] == 'P';
    case 'D': return p[1] == 'L';
    case 'N': return p[1] == 'M';
    default: return false;
    }
}

// A List line holds one code, at its start: its entry, if any, read from
// its bytes.
void addListLine(const char *line, qsizetype length, qint64 number, ItemBlocks &entries, ItemBlocks &names)
{
    if (!mayBeEntry(line, length))
        return;
    if (line[0] == 'N')
        names.append(number, EntryKind::LineItem, 0);
    else if (line[0] != 'A')
        entries.append(number, EntryKind::LineItem, 0,
                       line[1] != 'G'   ? ValueRun::None
                       : line[0] == 'B' ? ValueRun::Begins
                                        : ValueRun::Ends);
    else if (length == 5 && (QByteArrayView(line, 5) == "AC:OS" || QByteArrayView(line, 5) == "AC:PR"))
        entries.append(number, EntryKind::SeparatedRecord, 0);
    else
        entries.append(number, EntryKind::Record, 0);
}

// Decodes a line into `buffer` (ASCII without a copy through UTF-8's
// decoder) and answers a view of it; tells whether it was ASCII.
QStringView decode(const char *p, qsizetype n, QString &buffer, bool &ascii)
{
    ascii = !scan::hasByteBeyondAscii(p, n);
    if (buffer.size() < n)
        buffer.resize(n);
    if (!ascii)
        return QStringView(buffer.constData(), utf8ToTextAt(buffer.data(), QByteArrayView(p, n)) - buffer.constData());
    auto *out = reinterpret_cast<char16_t *>(buffer.data());
    scan::widenAscii(p, n, out);
    return QStringView(buffer.constData(), n);
}

// Where a text of this size is read in two parts side by side.
constexpr qsizetype SplitFrom = qsizetype(8) << 20;

#if defined(__SSE2__)
// The "\r" and "\n" bytes among the 64 at `p`, a bit a byte.
std::pair<quint64, quint64> breaksAt(const char *p)
{
    quint64 cr = 0;
    quint64 lf = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
        cr |= quint64(quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(b, _mm_set1_epi8('\r'))))) << (16 * i);
        lf |= quint64(quint32(_mm_movemask_epi8(_mm_cmpeq_epi8(b, _mm_set1_epi8('\n'))))) << (16 * i);
    }
    return {cr, lf};
}

// The bits from..to-1 (none when from >= to; 0 <= from, to <= 64).
quint64 bitsBetween(int from, int to)
{
    if (from >= to)
        return 0;
    return (to == 64 ? ~quint64(0) : (quint64(1) << to) - 1) & (~quint64(0) << from);
}

// Calls `line(number, from, length)` for each of the text's lines from
// `begin` to `end` (a line's start, and the text's end or a line's start),
// numbered by the control's lines from 0, and answers the number of the
// control's line breaks read. A line of the text ends at "\r\n"; a lone
// "\r" or "\n" within it ends a line of the control. The bytes are taken
// 64 at a time, by masks of their line breaks.
template <typename Line>
qint64 forEachListLine(QByteArrayView utf8, qsizetype begin, qsizetype end, const std::function<bool()> &stopped,
                       Line line)
{
    constexpr qsizetype Window = 64;
    constexpr qsizetype AskEvery = Window << 12;
    const char *const data = utf8.data();
    qsizetype pos = begin;
    qint64 control = 0;
    // Lone breaks in the line being read, before the window.
    qint64 lone = 0;
    // Whether the window before ended with the "\r" of a "\r\n".
    bool pairedCr = false;
    char tail[2 * Window];
    for (qsizetype base = begin; base < end; base += Window) {
        if (stopped && (base - begin) % AskEvery == 0 && stopped())
            return control;
        const char *p = data + base;
        if (utf8.size() - base <= Window) {
            std::memset(tail, 0, sizeof tail);
            std::memcpy(tail, p, size_t(utf8.size() - base));
            p = tail;
        }
        const int valid = int(std::min(end - base, Window));
        const auto [cr, lf] = breaksAt(p);
        const quint64 pairs = cr & ((lf >> 1) | (quint64(p[Window] == '\n') << 63)) & bitsBetween(0, valid);
        const quint64 pairedLf = (pairs << 1) | quint64(pairedCr);
        const quint64 loneBreaks = ((cr & ~pairs) | (lf & ~pairedLf)) & bitsBetween(0, valid);
        pairedCr = (pairs >> 63) != 0;
        int from = int(std::max<qsizetype>(pos - base, 0));
        for (quint64 ends = pairs; ends != 0; ends &= ends - 1) {
            const int at = __builtin_ctzll(ends);
            if (loneBreaks != 0)
                lone += __builtin_popcountll(loneBreaks & bitsBetween(from, at));
            line(control, pos, base + at - pos);
            control += 1 + lone;
            lone = 0;
            pos = base + at + 2;
            from = at + 2;
        }
        if (loneBreaks != 0)
            lone += __builtin_popcountll(loneBreaks & bitsBetween(from, valid));
    }
    // The last line runs to the text's end.
    if (end == utf8.size() && pos <= end) {
        line(control, pos, end - pos);
        control += lone;
    }
    return control;
}
#endif

} // namespace

void RecordIndex::readLine(QStringView line, bool recordLayout, RecordLineContext &context, qint64 lineNumber,
                           const Add &add)
{
    for (const CodeSpan &code : lineCodes(line, recordLayout, context)) {
        const QStringView text = line.sliced(code.from, code.length);
        if (startsRecord(code.role))
            add(lineNumber, code.role == ItemRole::RecordStart ? EntryKind::Record : EntryKind::SeparatedRecord,
                code.from, ValueRun::None, false);
        else if (code.role == ItemRole::LineStart)
            add(lineNumber, EntryKind::LineItem, code.from,
                text == u"BG:" ? ValueRun::Begins : text == u"EG:" ? ValueRun::Ends : ValueRun::None, false);
        else if (text == NameCode)
            add(lineNumber, EntryKind::LineItem, code.from, ValueRun::None, true);
    }
}

qint64 RecordIndex::read(QByteArrayView utf8, qsizetype begin, qsizetype end, bool recordLayout,
                         const std::function<bool()> &stopped, ItemBlocks &entries, ItemBlocks &names)
{
    // The line being read in the Record layout: its bytes, and whether
    // they are ASCII (a column in units is then one in bytes).
    QByteArrayView lineBytes;
    bool ascii = false;
    const Add add = [&](qint64 line, EntryKind kind, qsizetype from, ValueRun run, bool name) {
        (name ? names : entries).append(line, kind, ascii ? from : utf8PositionOf(lineBytes, from), run);
    };
    const char *const data = utf8.data();
#if defined(__SSE2__)
    if (!recordLayout) {
        const qint64 lines = forEachListLine(utf8, begin, end, stopped, [&](qint64 number, qsizetype from, qsizetype length) {
            addListLine(data + from, length, number, entries, names);
        });
        entries.finish();
        names.finish();
        return lines;
    }
#endif
    RecordLineContext context;
    QString buffer;
    const bool last = end == utf8.size();
    qsizetype pos = begin;
    qint64 control = 0;
    for (qint64 lines = 0; (last ? pos <= end : pos < end) && !(stopped && lines % 4096 == 0 && stopped()); ++lines) {
        // The text's line from `pos` to its "\r\n"; a lone "\r" or "\n"
        // ends a line of the control within it.
        const qint64 lineNumber = control;
        qsizetype lineEnd = pos;
        qsizetype next = end + 1;
        while (lineEnd < end) {
            const qsizetype found = scan::indexOfEither(data + lineEnd, end - lineEnd, '\r', '\n');
            if (found < 0) {
                lineEnd = end;
                break;
            }
            lineEnd += found;
            ++control;
            if (data[lineEnd] == '\r' && lineEnd + 1 < end && data[lineEnd + 1] == '\n') {
                next = lineEnd + 2;
                break;
            }
            ++lineEnd;
        }
        if (next > end)
            lineEnd = end;
        const char *line = data + pos;
        const qsizetype length = lineEnd - pos;
        if (recordLayout) {
            lineBytes = QByteArrayView(line, length);
            readLine(decode(line, length, buffer, ascii), true, context, lineNumber, add);
        } else {
            addListLine(line, length, lineNumber, entries, names);
        }
        pos = next;
    }
    entries.finish();
    names.finish();
    return control;
}

void RecordIndex::build(QByteArrayView utf8, bool recordLayout, const std::function<bool()> &stopped)
{
    *this = RecordIndex(m_document);
    m_record = recordLayout;
    m_empty = utf8.isEmpty();
    // A large text is read in two parts side by side, cut where a record
    // begins a line (no value list reaches across it).
    const qsizetype cut = utf8.size() < SplitFrom ? -1 : utf8.indexOf("\r\nAC:", utf8.size() / 2);
    if (cut < 0) {
        m_lineCount = read(utf8, 0, utf8.size(), recordLayout, stopped, m_entries, m_names) + 1;
        return;
    }
    ItemBlocks laterEntries;
    ItemBlocks laterNames;
    qint64 laterLines = 0;
    std::thread later(
        [&] { laterLines = read(utf8, cut + 2, utf8.size(), recordLayout, stopped, laterEntries, laterNames); });
    const qint64 lines = read(utf8, 0, cut + 2, recordLayout, stopped, m_entries, m_names);
    later.join();
    m_lineCount = lines + laterLines + 1;
    m_entries.append(std::move(laterEntries), lines);
    m_names.append(std::move(laterNames), lines);
}


} // namespace zuno
