// The record index read from a whole UTF-8 text: the List layout's lines
// straight from their bytes, the Record layout's through the role table.
#include "items/RecordIndex.h"

#include "format/DataItem.h"
#include "text/TextScan.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace zuno {

namespace {

// The code of the item that names a record.
constexpr QStringView NameCode = u"NM:";
// An item's text is kept up to this many characters.
constexpr qsizetype LongestKept = 16000;

bool startsRecord(ItemRole role)
{
    return role == ItemRole::RecordStart || role == ItemRole::SeparatedRecordStart;
}

// The item whose code begins at `from`: up to the next run of two spaces
// (or the line's end), trimmed.
QStringView itemAt(QStringView line, qsizetype from)
{
    const QStringView rest = line.sliced(from);
    const qsizetype gap = scan::indexOfPair(rest, u' ', u' ');
    return trimSpaces(gap < 0 ? rest : rest.first(gap));
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

// Decodes a line into `buffer` (ASCII without a copy through UTF-8's
// decoder) and answers a view of it; tells whether it was ASCII.
QStringView decode(const char *p, qsizetype n, QString &buffer, bool &ascii)
{
    ascii = !scan::hasByteBeyondAscii(p, n);
    if (!ascii) {
        buffer = QString::fromUtf8(p, n);
        return buffer;
    }
    if (buffer.size() < n)
        buffer.resize(n);
    auto *out = reinterpret_cast<char16_t *>(buffer.data());
    scan::widenAscii(p, n, out);
    return QStringView(buffer.constData(), n);
}

// The bytes kept of an item: its first LongestKept characters in UTF-8.
QByteArray keptOf(QStringView item) { return item.first(std::min(item.size(), LongestKept)).toUtf8(); }

// The bytes kept of an item read as UTF-8: the bytes themselves where they are
// ASCII (a character a byte), else through UTF-16 into `buffer`.
QByteArrayView keptBytes(QByteArrayView item, QByteArray &buffer)
{
    if (item.size() <= LongestKept && !scan::hasByteBeyondAscii(item.data(), item.size()))
        return item;
    buffer = keptOf(QString::fromUtf8(item));
    return buffer;
}

// A List line's item as readLine finds it, read from its bytes: up to the
// first two spaces, trailing spaces trimmed (the line begins with a code).
QByteArrayView listItem(const char *p, qsizetype n)
{
    qsizetype end = n;
    for (qsizetype at = 0; at + 1 < n;) {
        // A space with a byte after it.
        const auto *space = static_cast<const char *>(std::memchr(p + at, ' ', size_t(n - at - 1)));
        if (!space)
            break;
        at = space - p;
        if (p[at + 1] == ' ') {
            end = at;
            break;
        }
        ++at;
    }
    while (end > 0 && p[end - 1] == ' ')
        --end;
    return QByteArrayView(p, end);
}

// Where a text of this size is read in two parts side by side.
constexpr qsizetype SplitFrom = qsizetype(8) << 20;

} // namespace

QByteArray RecordIndex::kept(QStringView item)
{
    return keptOf(item);
}

void RecordIndex::readLine(QStringView line, bool recordLayout, RecordLineContext &context, qint64 lineNumber,
                           const Add &add, const std::function<void(qint64, QStringView)> &addName)
{
    for (const CodeSpan &code : lineCodes(line, recordLayout, context)) {
        if (startsRecord(code.role))
            add(lineNumber, code.role == ItemRole::RecordStart ? EntryKind::Record : EntryKind::SeparatedRecord,
                itemAt(line, code.from));
        else if (code.role == ItemRole::LineStart)
            add(lineNumber, EntryKind::LineItem, itemAt(line, code.from));
        else if (line.sliced(code.from, code.length) == NameCode)
            addName(lineNumber, itemAt(line, code.from));
    }
}

qint64 RecordIndex::read(QByteArrayView utf8, qsizetype begin, qsizetype end, bool recordLayout,
                         const std::function<bool()> &stopped, ItemBlocks &entries, ItemBlocks &names)
{
    QByteArray kept;
    // The line being read in the Record layout, where it is ASCII: its
    // bytes and their decoding, so that an item's bytes are taken as they
    // stand rather than encoded again.
    const char *asciiBytes = nullptr;
    const QChar *asciiChars = nullptr;
    const auto add = [&](ItemBlocks &to, qint64 line, EntryKind kind, QStringView item) {
        if (asciiChars) {
            to.append(line, kind, QByteArrayView(asciiBytes + (item.data() - asciiChars), std::min(item.size(), LongestKept)));
            return;
        }
        kept = RecordIndex::kept(item);
        to.append(line, kind, kept);
    };
    const Add addEntry = [&](qint64 line, EntryKind kind, QStringView item) { add(entries, line, kind, item); };
    const auto addName = [&](qint64 line, QStringView item) { add(names, line, EntryKind::LineItem, item); };
    RecordLineContext context;
    QString buffer;
    const char *const data = utf8.data();
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
            bool ascii = false;
            const QStringView text = decode(line, length, buffer, ascii);
            asciiBytes = ascii ? line : nullptr;
            asciiChars = ascii ? text.data() : nullptr;
            readLine(text, true, context, lineNumber, addEntry, addName);
        } else if (mayBeEntry(line, length)) {
            // A List line holds one code, at its start: read from its bytes.
            const QByteArrayView item = keptBytes(listItem(line, length), kept);
            if (line[0] == 'N')
                names.append(lineNumber, EntryKind::LineItem, item);
            else if (line[0] != 'A')
                entries.append(lineNumber, EntryKind::LineItem, item);
            else if (length == 5 && (QByteArrayView(line, 5) == "AC:OS" || QByteArrayView(line, 5) == "AC:PR"))
                entries.append(lineNumber, EntryKind::SeparatedRecord, item);
            else
                entries.append(lineNumber, EntryKind::Record, item);
        }
        pos = next;
    }
    entries.finish();
    names.finish();
    return control;
}

void RecordIndex::build(QByteArrayView utf8, bool recordLayout, const std::function<bool()> &stopped)
{
    *this = RecordIndex{};
    m_record = recordLayout;
    m_empty = utf8.isEmpty();
    // A large text is read in two parts side by side, cut where a record
    // begins a line (no value list reaches across it).
    const qsizetype cut = utf8.size() < SplitFrom ? -1 : utf8.indexOf("\r\nAC:", utf8.size() / 2);
    if (cut < 0) {
        read(utf8, 0, utf8.size(), recordLayout, stopped, m_entries, m_names);
        return;
    }
    ItemBlocks laterEntries;
    ItemBlocks laterNames;
    std::thread later(
        [&] { read(utf8, cut + 2, utf8.size(), recordLayout, stopped, laterEntries, laterNames); });
    const qint64 lines = read(utf8, 0, cut + 2, recordLayout, stopped, m_entries, m_names);
    later.join();
    m_entries.append(std::move(laterEntries), lines);
    m_names.append(std::move(laterNames), lines);
}


} // namespace zuno
