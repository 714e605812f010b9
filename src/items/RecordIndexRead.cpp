// The record index read from a whole UTF-8 text: the List layout's lines
// straight from their bytes, the Record layout's through the role table.
#include "items/RecordIndex.h"

#include "format/DataItem.h"
#include "text/CrLfLines.h"
#include "text/TextScan.h"
#include "text/Utf8Text.h"

#include <algorithm>
#include <thread>

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
                         const std::function<bool()> &stopped, ItemBlocks &entries, ItemBlocks &names,
                         std::vector<ItemMarks::Found> *problems)
{
    // The line being read in the Record layout: its bytes, and whether
    // they are ASCII (a column in units is then one in bytes).
    QByteArrayView lineBytes;
    bool ascii = false;
    const Add add = [&](qint64 line, EntryKind kind, qsizetype from, ValueRun run, bool name) {
        (name ? names : entries).append(line, kind, ascii ? from : utf8PositionOf(lineBytes, from), run);
    };
    const char *const data = utf8.data();
    RecordLineContext context;
    QString buffer;
    const auto found = [&](qsizetype, qsizetype position, QStringView, const LineProblem &problem) {
        problems->push_back(ItemMarks::foundAt(utf8, position, problem));
    };
    const qint64 lines = forEachCrLfLine(utf8, begin, end, stopped, [&](const CrLfLine &line) {
        const char *bytes = data + line.begin;
        if (recordLayout) {
            lineBytes = QByteArrayView(bytes, line.length);
            readLine(decode(bytes, line.length, buffer, ascii), true, context, line.number, add);
            return;
        }
        addListLine(bytes, line.length, line.number, entries, names);
        if (problems && mayHaveListProblem(line))
            checkListLine(utf8, line.begin, line.begin + line.length, 0, found);
    });
    entries.finish();
    names.finish();
    return lines;
}

void RecordIndex::build(QByteArrayView utf8, bool recordLayout, const std::function<bool()> &stopped,
                        std::vector<ItemMarks::Found> *problems)
{
    *this = RecordIndex(m_document);
    m_record = recordLayout;
    m_empty = utf8.isEmpty();
    // A large text is read in two parts side by side, cut where a record
    // begins a line (no value list reaches across it).
    const qsizetype cut = utf8.size() < SplitFrom ? -1 : utf8.indexOf("\r\nAC:", utf8.size() / 2);
    if (cut < 0) {
        m_lineCount = read(utf8, 0, utf8.size(), recordLayout, stopped, m_entries, m_names, problems) + 1;
        return;
    }
    ItemBlocks laterEntries;
    ItemBlocks laterNames;
    std::vector<ItemMarks::Found> laterProblems;
    qint64 laterLines = 0;
    std::thread later([&] {
        laterLines = read(utf8, cut + 2, utf8.size(), recordLayout, stopped, laterEntries, laterNames,
                          problems ? &laterProblems : nullptr);
    });
    const qint64 lines = read(utf8, 0, cut + 2, recordLayout, stopped, m_entries, m_names, problems);
    later.join();
    if (problems)
        problems->insert(problems->end(), laterProblems.begin(), laterProblems.end());
    m_lineCount = lines + laterLines + 1;
    m_entries.append(std::move(laterEntries), lines);
    m_names.append(std::move(laterNames), lines);
}


} // namespace zuno
