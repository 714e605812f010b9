#include "items/RecordIndex.h"

#include "format/DataItem.h"
#include "text/TextScan.h"

#include <algorithm>
#include <optional>

namespace zuno {

namespace {

constexpr QStringView NameCode = u"NM:";
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// `needle` is upper case already.
bool holdsFolded(QByteArrayView hay, QByteArrayView needle)
{
    if (needle.isEmpty())
        return true;
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
    return hay.size() >= needle.size() && holdsFolded(hay.first(needle.size()), needle);
}

QByteArray foldedUtf8(QStringView text) { return text.toUtf8().toUpper(); }


} // namespace

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
    const qint64 countBefore = lines.lineCount() - (last - first) + change.removedLines;
    return edited(lines, first, first + change.removedLines, last, countBefore);
}

bool RecordIndex::edited(const ItemMarks &lines, qint64 first, qint64 lastBefore, qint64 last, qint64 countBefore)
{
    const qint64 delta = lines.lineCount() - countBefore;
    const qint64 count = lines.lineCount();
    m_empty = count == 1 && lines.textLine(0).text.isEmpty();
    // Read the touched lines again, and past them the lines that a value
    // list before them may take up.
    struct Read {
        qint64 line;
        EntryKind kind;
        QByteArray text;
    };
    std::vector<Read> entries;
    std::vector<Read> names;
    const Add add = [&](qint64 line, EntryKind kind, QStringView item) {
        entries.push_back(Read{line, kind, kept(item)});
    };
    const auto addName = [&](qint64 line, QStringView item) {
        names.push_back(Read{line, EntryKind::LineItem, kept(item)});
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
        readLine(text.text, m_record, context, line, add, addName);
        to = text.lastLine;
        line = text.lastLine + 1;
    }
    const qint64 oldTo = std::max(to, last) - delta;

    // Replaces the entries of the lines read with those read now, unless
    // they are the same, where the lines now stand; moves those after.
    const auto replace = [&](ItemBlocks &all, const std::vector<Read> &fresh) {
        const qsizetype begin = all.lowerBound(from);
        const qsizetype end = all.lowerBound(oldTo + 1);
        const auto moved = [&](qint64 line) { return line > lastBefore ? line + delta : line; };
        bool same = end - begin == qsizetype(fresh.size());
        if (same) {
            all.forEach(begin, [&](qsizetype at, const ItemBlocks::Item &item) {
                if (at == end)
                    return false;
                const Read &b = fresh[size_t(at - begin)];
                same = moved(item.line) == b.line && item.text == QByteArrayView(b.text) && item.kind == b.kind;
                return same;
            });
        }
        if (same) {
            all.moveLines(std::max(begin, all.lowerBound(lastBefore + 1)), delta);
        } else {
            std::vector<ItemBlocks::Item> items;
            items.reserve(fresh.size());
            for (const Read &read : fresh)
                items.push_back(ItemBlocks::Item{read.line, read.kind, read.text});
            all.replace(begin, end - begin, items);
            all.moveLines(begin + qsizetype(fresh.size()), delta);
        }
        return std::pair{same, std::pair{begin, end - begin}};
    };
    const auto [sameEntries, range] = replace(m_entries, entries);
    const bool sameNames = replace(m_names, names).first;
    m_change = Change{from, range.first, sameEntries ? 0 : range.second, sameEntries ? 0 : qsizetype(entries.size())};
    return !(sameEntries && sameNames);
}

qsizetype RecordIndex::entryAt(qint64 line) const
{
    return m_entries.lowerBound(line + 1) - 1;
}

QByteArrayView RecordIndex::code(qsizetype index) const
{
    const QByteArrayView text = m_entries.text(index);
    return text.first(std::min<qsizetype>(3, text.size()));
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
    return at < 0 ? QString() : QString::fromUtf8(m_names.text(at));
}

QString RecordIndex::caption(qsizetype index) const
{
    QString shown = text(index);
    if (m_entries.kind(index) == EntryKind::LineItem)
        return shown;
    const QString named = name(index);
    if (named.size() > NameCode.size())
        shown.append(ItemSeparator).append(QStringView(named).sliced(NameCode.size()));
    return shown;
}

bool RecordIndex::captionHolds(qsizetype index, const QByteArray &folded) const
{
    const ItemBlocks::Item entry = m_entries.item(index);
    if (holdsFolded(entry.text, folded))
        return true;
    if (entry.kind == EntryKind::LineItem)
        return false;
    const qsizetype at = nameOf(index);
    return at >= 0 && holdsFolded(m_names.text(at).sliced(NameCode.size()), folded);
}

std::vector<qint32> RecordIndex::findRecords(QStringView text) const
{
    const QByteArray wanted = foldedUtf8(trimSpaces(text));
    std::vector<qint32> found;
    if (wanted.isEmpty())
        return found;
    m_entries.forEach(0, [&](qsizetype at, const ItemBlocks::Item &entry) {
        if (entry.kind != EntryKind::LineItem && beginsFolded(entry.text.sliced(3), wanted))
            found.push_back(qint32(at));
        return true;
    });
    m_names.forEach(0, [&](qsizetype, const ItemBlocks::Item &name) {
        if (name.text.size() < NameCode.size() || !holdsFolded(name.text.sliced(NameCode.size()), wanted))
            return true;
        const qsizetype record = recordAt(name.line);
        if (record >= 0)
            found.push_back(qint32(record));
        return true;
    });
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::stable_partition(found.begin(), found.end(), [&](qint32 at) {
        const QByteArrayView value = m_entries.text(at).sliced(3);
        return value.size() == wanted.size() && beginsFolded(value, wanted);
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
    if (code(index) != "BG:")
        return -1;
    qint64 end = -1;
    m_entries.forEach(index + 1, [&](qsizetype, const ItemBlocks::Item &after) {
        if (after.kind != EntryKind::LineItem)
            return false;
        const QByteArrayView code = after.text.first(std::min<qsizetype>(3, after.text.size()));
        if (code == "EG:")
            end = after.line;
        return code != "EG:" && code != "BG:";
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
        const QByteArrayView itemCode = code(item);
        if (itemCode == "EG:" && itemLine < line)
            break;
        if (itemCode != "BG:")
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

