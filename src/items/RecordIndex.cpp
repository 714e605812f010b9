#include "items/RecordIndex.h"

#include "format/DataItem.h"
#include "text/TextScan.h"
#include "text/Utf8Text.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace zuno {

namespace {

constexpr QStringView NameCode = u"NM:";
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool beyondAscii(QByteArrayView bytes)
{
    return scan::hasByteBeyondAscii(bytes.data(), bytes.size());
}

// A needle beyond ASCII, decoded once for the many items it is held against.
struct WideNeedle {
    QByteArray bytes;
    QString text;
    bool foldsBeyondAscii = false; // so only an item beyond ASCII can hold it
};

const WideNeedle &wide(QByteArrayView needle)
{
    thread_local WideNeedle last;
    if (last.bytes != needle) {
        last.bytes = needle.toByteArray();
        last.text = QString::fromUtf8(needle);
        last.foldsBeyondAscii = beyondAscii(last.text.toCaseFolded().toUtf8());
    }
    return last;
}

// `needle` is upper case already, as far as it is ASCII; a needle beyond
// ASCII is matched by Unicode's case folding ("müller" finds "MÜLLER").
bool holdsFolded(QByteArrayView hay, QByteArrayView needle)
{
    if (needle.isEmpty())
        return true;
    if (beyondAscii(needle)) {
        const WideNeedle &w = wide(needle);
        if (w.foldsBeyondAscii && !beyondAscii(hay))
            return false;
        return QString::fromUtf8(hay).contains(w.text, Qt::CaseInsensitive);
    }
    for (qsizetype i = 0; i + needle.size() <= hay.size(); ++i) {
        qsizetype j = 0;
        while (j < needle.size() && upperAscii(hay[i + j]) == needle[j])
            ++j;
        if (j == needle.size())
            return true;
    }
    return false;
}

bool beginsFolded(QByteArrayView hay, QByteArrayView needle)
{
    if (beyondAscii(needle))
        return QString::fromUtf8(hay).startsWith(wide(needle).text, Qt::CaseInsensitive);
    return hay.size() >= needle.size() && holdsFolded(hay.first(needle.size()), needle);
}

bool equalFolded(QByteArrayView value, QByteArrayView needle)
{
    if (beyondAscii(needle))
        return QString::fromUtf8(value).compare(wide(needle).text, Qt::CaseInsensitive) == 0;
    return value.size() == needle.size() && beginsFolded(value, needle);
}

QByteArray foldedUtf8(QStringView text) { return text.toUtf8().toUpper(); }

// An item's value, after its code.
QByteArrayView valueOf(QByteArrayView item) { return item.sliced(std::min<qsizetype>(3, item.size())); }


} // namespace

void RecordIndex::adopt(RecordIndex &&built)
{
    const ILineMarks *document = m_document;
    *this = std::move(built);
    m_document = document;
}

QString RecordIndex::text(qsizetype index) const
{
    if (!m_document)
        return {};
    const ItemBlocks::Item item = m_entries.item(index);
    return ItemText(*m_document).text(item.line, item.column);
}

bool RecordIndex::hasHead() const
{
    std::optional<bool> head;
    m_entries.forEach(0, [&](qsizetype, const ItemBlocks::Item &item) {
        if (item.kind != EntryKind::LineItem)
            head = item.line > 0;
        return !head;
    });
    return head.value_or(!m_empty);
}

bool RecordIndex::changed(const ItemMarks &lines, const TextChange &change)
{
    const qint64 first = lines.lineAt(change.position);
    const qint64 last = lines.lineAt(change.position + change.insertedBytes);
    // The lines before the edit's first and after its last are as they were,
    // so the count of lines tells the last line the edit took.
    const qint64 countBefore =
        m_lineCount >= 0 ? m_lineCount : lines.lineCount() - (last - first) + change.removedLines;
    return edited(lines, first, last - (lines.lineCount() - countBefore), last, countBefore, change.position);
}

bool RecordIndex::edited(const ItemMarks &lines, qint64 first, qint64 lastBefore, qint64 last, qint64 countBefore,
                         qint64 position)
{
    const qint64 delta = lines.lineCount() - countBefore;
    const qint64 count = lines.lineCount();
    m_empty = count == 1 && lines.textLine(0).text.isEmpty();
    // Read the touched lines again, and past them the lines that a value
    // list before them may take up.
    std::vector<ItemBlocks::Item> entries;
    std::vector<ItemBlocks::Item> names;
    QByteArrayView lineBytes;
    const Add add = [&](qint64 line, EntryKind kind, qsizetype from, ValueRun run, bool name) {
        (name ? names : entries).push_back(ItemBlocks::Item{line, kind, utf8PositionOf(lineBytes, from), run});
    };
    const qint64 from = lines.textLineStart(first);
    RecordLineContext context = lines.contextBefore(from);
    qint64 line = from;
    qint64 to = from - 1;
    while (line < count) {
        const ItemMarks::TextLine text = lines.textLine(line);
        // Past the edit: its first line, then while a value list goes on.
        if (line > last + 1 && !(m_record && mayContinueValueList(text.text)))
            break;
        lineBytes = text.bytes;
        readLine(text.text, m_record, context, line, add);
        to = text.lastLine;
        line = text.lastLine + 1;
    }
    const qint64 oldTo = std::max(to, last) - delta;

    // Replaces the entries of the lines read with those read now, unless
    // they are the same, where the lines now stand; moves those after. An
    // item on a line the edit touched is the same only where it ends (two
    // spaces in a row) before the edit's bytes: the text before them is as
    // it was.
    std::optional<ItemText> reader;
    const auto unchangedText = [&](const ItemBlocks::Item &item) {
        if (item.line > last)
            return true;
        if (position < 0 || !m_document)
            return false;
        if (!reader)
            reader.emplace(*m_document);
        const qint64 pairAt = reader->read(item.line, item.column).pairAt;
        return pairAt >= 0 && pairAt + 2 <= position;
    };
    const auto replace = [&](ItemBlocks &all, const std::vector<ItemBlocks::Item> &fresh) {
        const qsizetype begin = all.lowerBound(from);
        const qsizetype end = all.lowerBound(oldTo + 1);
        const auto moved = [&](qint64 line) { return line > lastBefore ? line + delta : line; };
        bool same = end - begin == qsizetype(fresh.size());
        if (same) {
            all.forEach(begin, [&](qsizetype at, const ItemBlocks::Item &item) {
                if (at == end)
                    return false;
                const ItemBlocks::Item &b = fresh[size_t(at - begin)];
                same = moved(item.line) == b.line && item.column == b.column && item.kind == b.kind
                       && item.run == b.run && unchangedText(b);
                return same;
            });
        }
        if (same) {
            all.moveLines(std::max(begin, all.lowerBound(lastBefore + 1)), delta);
        } else {
            all.replace(begin, end - begin, fresh);
            all.moveLines(begin + qsizetype(fresh.size()), delta);
        }
        return std::pair{same, std::pair{begin, end - begin}};
    };
    const auto [sameEntries, range] = replace(m_entries, entries);
    const bool sameNames = replace(m_names, names).first;
    m_change = Change{from, range.first, sameEntries ? 0 : range.second, sameEntries ? 0 : qsizetype(entries.size())};
    m_lineCount = count;
    return !(sameEntries && sameNames);
}

qsizetype RecordIndex::entryAt(qint64 line) const
{
    return m_entries.lowerBound(line + 1) - 1;
}

qsizetype RecordIndex::recordAt(qint64 line) const
{
    qsizetype at = entryAt(line);
    while (at >= 0 && m_entries.kind(at) == EntryKind::LineItem)
        --at;
    return at;
}

qsizetype RecordIndex::nextRecord(qint64 line, bool forward) const
{
    qsizetype at = forward ? entryAt(line) + 1 : recordAt(line);
    if (!forward && at >= 0 && m_entries.line(at) >= line)
        --at;
    if (forward) {
        qsizetype found = -1;
        m_entries.forEach(at, [&](qsizetype index, const ItemBlocks::Item &item) {
            if (item.kind != EntryKind::LineItem)
                found = index;
            return found < 0;
        });
        return found;
    }
    for (; at >= 0; --at) {
        if (m_entries.kind(at) != EntryKind::LineItem)
            return at;
    }
    return -1;
}

qsizetype RecordIndex::nameOf(qsizetype index) const
{
    const qint64 line = m_entries.line(index);
    qint64 end = std::numeric_limits<qint64>::max();
    m_entries.forEach(index + 1, [&](qsizetype, const ItemBlocks::Item &item) {
        if (item.kind != EntryKind::LineItem)
            end = item.line;
        return item.kind == EntryKind::LineItem;
    });
    const qsizetype at = m_names.lowerBound(line);
    // A name on the record's own line stands after it only in the Record
    // layout, where the record begins the line.
    return at == m_names.size() || m_names.line(at) >= end ? -1 : at;
}

QString RecordIndex::name(qsizetype index) const
{
    const qsizetype at = nameOf(index);
    if (at < 0 || !m_document)
        return {};
    const ItemBlocks::Item name = m_names.item(at);
    return ItemText(*m_document).text(name.line, name.column);
}

QByteArrayView RecordIndex::nameValue(ItemText &reader, qsizetype index) const
{
    const qsizetype at = nameOf(index);
    if (at < 0)
        return {};
    const ItemBlocks::Item name = m_names.item(at);
    return valueOf(reader.read(name.line, name.column).bytes);
}

QString RecordIndex::caption(qsizetype index) const
{
    if (!m_document)
        return {};
    ItemText reader(*m_document);
    const ItemBlocks::Item entry = m_entries.item(index);
    QString shown = ItemText::decoded(reader.read(entry.line, entry.column).bytes);
    if (entry.kind == EntryKind::LineItem)
        return shown;
    const QByteArrayView named = nameValue(reader, index);
    if (!named.isEmpty())
        shown.append(ItemSeparator).append(ItemText::decoded(named));
    return shown;
}

std::vector<bool> RecordIndex::captionsHolding(const QByteArray &folded, const std::vector<qint32> *among) const
{
    std::vector<bool> holding(size_t(size()), false);
    if (!m_document)
        return holding;
    ItemText reader(*m_document);
    if (among) {
        for (const qint32 at : *among) {
            if (at < 0)
                continue;
            const ItemBlocks::Item entry = m_entries.item(at);
            holding[size_t(at)] = holdsFolded(reader.read(entry.line, entry.column).bytes, folded)
                                  || (entry.kind != EntryKind::LineItem && holdsFolded(nameValue(reader, at), folded));
        }
        return holding;
    }
    // The records in order, each with the line it begins on.
    std::vector<std::pair<qsizetype, qint64>> records;
    m_entries.forEach(0, [&](qsizetype at, const ItemBlocks::Item &entry) {
        holding[size_t(at)] = holdsFolded(reader.read(entry.line, entry.column).bytes, folded);
        if (entry.kind != EntryKind::LineItem)
            records.emplace_back(at, entry.line);
        return true;
    });
    // A record's caption holds its name's value too: its name is the first
    // from its line on, before the next record's line (as nameOf finds it).
    qsizetype name = 0;
    for (size_t r = 0; r < records.size(); ++r) {
        const auto [at, line] = records[r];
        const qint64 end = r + 1 < records.size() ? records[r + 1].second : std::numeric_limits<qint64>::max();
        while (name < m_names.size() && m_names.line(name) < line)
            ++name;
        if (name == m_names.size() || m_names.line(name) >= end || holding[size_t(at)])
            continue;
        const ItemBlocks::Item item = m_names.item(name);
        holding[size_t(at)] = holdsFolded(valueOf(reader.read(item.line, item.column).bytes), folded);
    }
    return holding;
}

bool RecordIndex::isAcKey(QByteArrayView key)
{
    return key.startsWith(AcCode);
}

QByteArray RecordIndex::searchKey(QStringView text)
{
    return foldedUtf8(trimSpaces(text));
}

std::vector<qint32> RecordIndex::findRecords(QStringView text, const std::vector<qint32> *among) const
{
    QByteArray wanted = searchKey(text);
    std::vector<qint32> found;
    if (wanted.isEmpty() || !m_document)
        return found;
    // "AC:1003", the record as the panel shows it, looks for the AC value
    // alone.
    const bool byCode = isAcKey(wanted);
    if (byCode)
        wanted.remove(0, AcCode.size());
    ItemText reader(*m_document);
    if (among) {
        // Each record by its AC value, then by every name within it.
        for (const qint32 at : *among) {
            const ItemBlocks::Item entry = m_entries.item(at);
            bool holds = beginsFolded(valueOf(reader.read(entry.line, entry.column).bytes), wanted);
            const qsizetype next = nextRecord(entry.line, true);
            const qint64 end = next < 0 ? std::numeric_limits<qint64>::max() : m_entries.line(next);
            for (qsizetype name = m_names.lowerBound(entry.line); !byCode && !holds && name < m_names.size(); ++name) {
                const ItemBlocks::Item item = m_names.item(name);
                if (item.line >= end)
                    break;
                holds = holdsFolded(valueOf(reader.read(item.line, item.column).bytes), wanted);
            }
            if (holds)
                found.push_back(at);
        }
    } else {
        m_entries.forEach(0, [&](qsizetype at, const ItemBlocks::Item &entry) {
            if (entry.kind != EntryKind::LineItem
                && beginsFolded(valueOf(reader.read(entry.line, entry.column).bytes), wanted))
                found.push_back(qint32(at));
            return true;
        });
        m_names.forEach(0, [&](qsizetype, const ItemBlocks::Item &name) {
            if (byCode || !holdsFolded(valueOf(reader.read(name.line, name.column).bytes), wanted))
                return true;
            const qsizetype record = recordAt(name.line);
            if (record >= 0)
                found.push_back(qint32(record));
            return true;
        });
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::stable_partition(found.begin(), found.end(), [&](qint32 at) {
        const ItemBlocks::Item entry = m_entries.item(at);
        const QByteArrayView value = valueOf(reader.read(entry.line, entry.column).bytes);
        return equalFolded(value, wanted);
    });
    return found;
}

qint64 RecordIndex::foldEnd(qsizetype index, qint64 lineCount) const
{
    const Entry entry = this->entry(index);
    if (entry.kind != EntryKind::LineItem) {
        const qsizetype next = nextRecord(entry.line, true);
        return next < 0 ? lineCount - 1 : m_entries.line(next) - 1;
    }
    if (run(index) != ValueRun::Begins)
        return -1;
    qint64 end = -1;
    m_entries.forEach(index + 1, [&](qsizetype, const ItemBlocks::Item &after) {
        if (after.kind != EntryKind::LineItem)
            return false;
        if (after.run == ValueRun::Ends)
            end = after.line;
        return after.run == ValueRun::None;
    });
    return end;
}

FoldLevel RecordIndex::foldLevelAt(qint64 line, qint64 lineCount) const
{
    const qsizetype record = recordAt(line);
    const qsizetype next = nextRecord(line, true);
    // Lines up to the next record, or the text's end.
    const qint64 beforeNext = next < 0 ? lineCount - 1 : m_entries.line(next) - 1;
    if (record < 0)
        return FoldLevel{0, false, -1, beforeNext};
    const qint64 recordLine = m_entries.line(record);
    if (line == recordLine)
        return FoldLevel{0, beforeNext > line, beforeNext, line};
    // Within the record: in a BG item's run when the last BG before the
    // line reaches it.
    const qsizetype at = entryAt(line);
    const qint64 nextEntryLine = at + 1 < size() ? m_entries.line(at + 1) : lineCount;
    for (qsizetype item = at; item > record; --item) {
        const qint64 itemLine = m_entries.line(item);
        const ValueRun itemRun = run(item);
        if (itemRun == ValueRun::Ends && itemLine < line)
            break;
        if (itemRun != ValueRun::Begins)
            continue;
        const qint64 end = foldEnd(item, lineCount);
        if (end < line)
            break;
        if (line == itemLine)
            return FoldLevel{1, end > line, end, line};
        return FoldLevel{2, false, -1, std::min(end, nextEntryLine - 1)};
    }
    return FoldLevel{1, false, -1, std::max(line, std::min(beforeNext, nextEntryLine - 1))};
}

} // namespace zuno

