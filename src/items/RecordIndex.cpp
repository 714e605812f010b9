#include "items/RecordIndex.h"

#include "format/DataItem.h"
#include "text/TextScan.h"

#include <algorithm>

namespace zuno {

namespace {

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
    const qsizetype gap = rest.indexOf(ItemSeparator);
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

EntryKind kindOf(const RecordIndex::Entry &entry) { return entry.kind; }
template <typename Name>
EntryKind kindOf(const Name &) { return EntryKind::LineItem; }

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

// Decodes a line into `buffer` (ASCII without a copy through UTF-8's
// decoder) and answers a view of it.
QStringView decode(const char *p, qsizetype n, QString &buffer)
{
    if (scan::hasByteBeyondAscii(p, n)) {
        buffer = QString::fromUtf8(p, n);
        return buffer;
    }
    if (buffer.size() < n)
        buffer.resize(n);
    auto *out = reinterpret_cast<char16_t *>(buffer.data());
    scan::widenAscii(p, n, out);
    return QStringView(buffer.constData(), n);
}

} // namespace

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

quint32 RecordIndex::keep(QStringView item, quint16 &length)
{
    const QByteArray bytes = item.first(std::min(item.size(), LongestKept)).toUtf8();
    const auto at = quint32(m_texts.size());
    m_texts.append(bytes);
    length = quint16(bytes.size());
    m_liveBytes += bytes.size();
    return at;
}

QString RecordIndex::textOf(const Entry &entry) const
{
    return QString::fromUtf8(bytesOf(entry.text, entry.length));
}

void RecordIndex::build(QByteArrayView utf8, bool recordLayout, const std::function<bool()> &stopped)
{
    *this = RecordIndex{};
    m_record = recordLayout;
    m_empty = utf8.isEmpty();
    const Add add = [this](qint64 line, EntryKind kind, QStringView item) {
        Entry entry{qint32(line), 0, 0, kind};
        entry.text = keep(item, entry.length);
        m_entries.push_back(entry);
    };
    const auto addName = [this](qint64 line, QStringView item) {
        Name name{qint32(line), 0, 0};
        name.text = keep(item, name.length);
        m_names.push_back(name);
    };
    RecordLineContext context;
    QString buffer;
    const char *const data = utf8.data();
    const qsizetype size = utf8.size();
    qsizetype pos = 0;
    qint64 control = 0;
    for (qint64 read = 0; pos <= size && !(stopped && read % 4096 == 0 && stopped()); ++read) {
        // The text's line from `pos` to its "\r\n"; a lone "\r" or "\n"
        // ends a line of the control within it.
        const qint64 lineNumber = control;
        qsizetype end = pos;
        qsizetype next = size + 1;
        while (end < size) {
            const qsizetype found = scan::indexOfEither(data + end, size - end, '\r', '\n');
            if (found < 0) {
                end = size;
                break;
            }
            end += found;
            ++control;
            if (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') {
                next = end + 2;
                break;
            }
            ++end;
        }
        if (next > size)
            end = size;
        const char *line = data + pos;
        const qsizetype length = end - pos;
        if (recordLayout || mayBeEntry(line, length))
            readLine(decode(line, length, buffer), recordLayout, context, lineNumber, add, addName);
        pos = next;
    }
    // No room kept for growth: an edit adds a few at a time.
    m_entries.shrink_to_fit();
    m_names.shrink_to_fit();
    m_texts.squeeze();
}

bool RecordIndex::hasHead() const
{
    for (const Entry &entry : m_entries) {
        if (entry.kind != EntryKind::LineItem)
            return entry.line > 0;
    }
    return !m_empty;
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
    std::vector<Entry> entries;
    std::vector<Name> names;
    const auto sizeBefore = m_texts.size();
    const Add add = [&](qint64 line, EntryKind kind, QStringView item) {
        Entry entry{qint32(line), 0, 0, kind};
        entry.text = keep(item, entry.length);
        entries.push_back(entry);
    };
    const auto addName = [&](qint64 line, QStringView item) {
        Name name{qint32(line), 0, 0};
        name.text = keep(item, name.length);
        names.push_back(name);
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

    const auto byLine = [](const auto &item, qint64 line) { return item.line < line; };
    // Replaces the entries of the lines read with those read now, unless
    // they are the same, where the lines now stand; moves those after.
    const auto replace = [&](auto &all, auto &fresh) {
        auto begin = std::lower_bound(all.begin(), all.end(), from, byLine);
        auto end = std::lower_bound(begin, all.end(), oldTo + 1, byLine);
        const auto moved = [&](qint64 line) { return line > lastBefore ? line + delta : line; };
        const bool same = std::equal(begin, end, fresh.begin(), fresh.end(), [&](const auto &a, const auto &b) {
            return moved(a.line) == b.line && bytesOf(a.text, a.length) == bytesOf(b.text, b.length)
                && kindOf(a) == kindOf(b);
        });
        const auto first = qsizetype(begin - all.begin());
        const auto removed = qsizetype(end - begin);
        if (same) {
            for (const auto &item : fresh)
                m_liveBytes -= item.length;
            for (auto it = begin; it != end; ++it)
                it->line = qint32(moved(it->line));
        } else {
            for (auto it = begin; it != end; ++it)
                m_liveBytes -= it->length;
            const auto at = all.erase(begin, end);
            end = all.insert(at, fresh.begin(), fresh.end()) + qsizetype(fresh.size());
        }
        if (delta != 0) {
            for (auto it = end; it != all.end(); ++it)
                it->line += qint32(delta);
        }
        return std::pair{same, std::pair{first, removed}};
    };
    const auto [sameEntries, range] = replace(m_entries, entries);
    const bool sameNames = replace(m_names, names).first;
    m_change = Change{from, range.first, sameEntries ? 0 : range.second, sameEntries ? 0 : qsizetype(entries.size())};
    // The texts read again for nothing go.
    if (sameEntries && sameNames)
        m_texts.truncate(sizeBefore);
    if (m_texts.size() > 2 * m_liveBytes + 65536)
        compactTexts();
    return !(sameEntries && sameNames);
}

void RecordIndex::compactTexts()
{
    QByteArray texts;
    texts.reserve(m_liveBytes);
    const auto move = [&](auto &item) {
        const auto at = quint32(texts.size());
        texts.append(bytesOf(item.text, item.length));
        item.text = at;
    };
    for (Entry &entry : m_entries)
        move(entry);
    for (Name &name : m_names)
        move(name);
    m_texts = std::move(texts);
}

qsizetype RecordIndex::entryAt(qint64 line) const
{
    const auto it = std::upper_bound(m_entries.begin(), m_entries.end(), line,
                                     [](qint64 l, const Entry &entry) { return l < entry.line; });
    return qsizetype(it - m_entries.begin()) - 1;
}

qsizetype RecordIndex::recordAt(qint64 line) const
{
    qsizetype at = entryAt(line);
    while (at >= 0 && m_entries[size_t(at)].kind == EntryKind::LineItem)
        --at;
    return at;
}

qsizetype RecordIndex::nextRecord(qint64 line, bool forward) const
{
    qsizetype at = forward ? entryAt(line) + 1 : recordAt(line);
    if (!forward && at >= 0 && m_entries[size_t(at)].line >= line)
        --at;
    const qsizetype step = forward ? 1 : -1;
    for (; at >= 0 && at < size(); at += step) {
        if (m_entries[size_t(at)].kind != EntryKind::LineItem)
            return at;
    }
    return -1;
}

qsizetype RecordIndex::nameOf(qsizetype index) const
{
    const qint64 line = m_entries[size_t(index)].line;
    qint64 end = std::numeric_limits<qint64>::max();
    for (qsizetype at = index + 1; at < size(); ++at) {
        if (m_entries[size_t(at)].kind != EntryKind::LineItem) {
            end = m_entries[size_t(at)].line;
            break;
        }
    }
    const auto it = std::lower_bound(m_names.begin(), m_names.end(), line,
                                     [](const Name &name, qint64 l) { return name.line < l; });
    if (it == m_names.end() || it->line >= end)
        return -1;
    // A name on the record's own line stands after it only in the Record
    // layout, where the record begins the line.
    return qsizetype(it - m_names.begin());
}

QString RecordIndex::name(qsizetype index) const
{
    const qsizetype at = nameOf(index);
    return at < 0 ? QString() : QString::fromUtf8(bytesOf(m_names[size_t(at)].text, m_names[size_t(at)].length));
}

QString RecordIndex::caption(qsizetype index) const
{
    QString shown = text(index);
    if (m_entries[size_t(index)].kind == EntryKind::LineItem)
        return shown;
    const QString named = name(index);
    if (named.size() > NameCode.size())
        shown.append(ItemSeparator).append(QStringView(named).sliced(NameCode.size()));
    return shown;
}

bool RecordIndex::captionHolds(qsizetype index, const QByteArray &folded) const
{
    const Entry &entry = m_entries[size_t(index)];
    if (holdsFolded(bytesOf(entry.text, entry.length), folded))
        return true;
    if (entry.kind == EntryKind::LineItem)
        return false;
    const qsizetype at = nameOf(index);
    return at >= 0 && holdsFolded(bytesOf(m_names[size_t(at)].text, m_names[size_t(at)].length).sliced(NameCode.size()),
                                  folded);
}

std::vector<qint32> RecordIndex::findRecords(QStringView text) const
{
    const QByteArray wanted = foldedUtf8(trimSpaces(text));
    std::vector<qint32> found;
    if (wanted.isEmpty())
        return found;
    for (qsizetype at = 0; at < size(); ++at) {
        const Entry &entry = m_entries[size_t(at)];
        if (entry.kind == EntryKind::LineItem)
            continue;
        const QByteArrayView value = bytesOf(entry.text, entry.length).sliced(3);
        if (beginsFolded(value, wanted))
            found.push_back(qint32(at));
    }
    for (const Name &name : m_names) {
        if (name.length < NameCode.size() || !holdsFolded(bytesOf(name.text, name.length).sliced(NameCode.size()), wanted))
            continue;
        const qsizetype record = recordAt(name.line);
        if (record >= 0)
            found.push_back(qint32(record));
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::stable_partition(found.begin(), found.end(), [&](qint32 at) {
        const Entry &entry = m_entries[size_t(at)];
        const QByteArrayView value = bytesOf(entry.text, entry.length).sliced(3);
        return value.size() == wanted.size() && beginsFolded(value, wanted);
    });
    return found;
}

qint64 RecordIndex::foldEnd(qsizetype index, qint64 lineCount) const
{
    const Entry &entry = m_entries[size_t(index)];
    if (entry.kind != EntryKind::LineItem) {
        const qsizetype next = nextRecord(entry.line, true);
        return next < 0 ? lineCount - 1 : m_entries[size_t(next)].line - 1;
    }
    if (!bytesOf(entry.text, entry.length).startsWith("BG:"))
        return -1;
    for (qsizetype at = index + 1; at < size(); ++at) {
        const Entry &after = m_entries[size_t(at)];
        if (after.kind != EntryKind::LineItem)
            return -1;
        const QByteArrayView code = bytesOf(after.text, after.length).first(std::min<qsizetype>(3, after.length));
        if (code == "EG:")
            return after.line;
        if (code == "BG:")
            return -1;
    }
    return -1;
}

FoldLevel RecordIndex::foldLevelAt(qint64 line, qint64 lineCount) const
{
    const qsizetype record = recordAt(line);
    const qsizetype next = nextRecord(line, true);
    // Lines up to the next record, or the text's end.
    const qint64 beforeNext = next < 0 ? lineCount - 1 : m_entries[size_t(next)].line - 1;
    if (record < 0)
        return FoldLevel{0, false, -1, beforeNext};
    const qint64 recordLine = m_entries[size_t(record)].line;
    if (line == recordLine)
        return FoldLevel{0, beforeNext > line, beforeNext, line};
    // Within the record: in a BG item's run when the last BG before the
    // line reaches it.
    const qsizetype at = entryAt(line);
    const qint64 nextEntryLine = at + 1 < size() ? m_entries[size_t(at + 1)].line : lineCount;
    for (qsizetype item = at; item > record; --item) {
        const Entry &entry = m_entries[size_t(item)];
        const QByteArrayView code = bytesOf(entry.text, entry.length).first(std::min<qsizetype>(3, entry.length));
        if (code == "EG:" && entry.line < line)
            break;
        if (code != "BG:")
            continue;
        const qint64 end = foldEnd(item, lineCount);
        if (end < line)
            break;
        if (line == entry.line)
            return FoldLevel{1, end > line, end, line};
        return FoldLevel{2, false, -1, std::min(end, nextEntryLine - 1)};
    }
    return FoldLevel{1, false, -1, std::max(line, std::min(beforeNext, nextEntryLine - 1))};
}

} // namespace zuno
