#pragma once
// The records of the document as a structure: every record by its AC item
// (the separated records AC:OS and AC:PR told apart), the NM item that names
// it, and its line items (BG, CP, SP, EG, DL), each with the control's line
// it stands on. Read by the same role table the conversions use, in the
// layout last checked. Built from the whole text when it is checked, and
// kept current by reading again only the lines an edit touched.
//
// Kept small for large files: an entry is twelve bytes, kept in blocks with
// the items' texts (UTF-8) one after another (ItemBlocks), so that an edit
// that adds lines moves blocks, not entries. The lines before the first
// record are the file's head.
#include "items/ItemBlocks.h"
#include "items/ItemMarks.h"
#include "platform/FoldLevel.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <algorithm>
#include <functional>
#include <vector>

namespace zuno {

class RecordIndex {
public:
    struct Entry {
        qint64 line = 0; // the control's line the item stands on
        EntryKind kind = EntryKind::Record;
    };

    // Reads the whole UTF-8 text in the given layout (stopping early, with
    // what it read so far, once `stopped` says so).
    void build(QByteArrayView utf8Text, bool recordLayout, const std::function<bool()> &stopped = {});

    // The text changed, the change in: reads again the lines it touched,
    // with the lines whose reading depends on them. Answers whether any
    // entry or name changed (lines that only moved do not count).
    bool changed(const ItemMarks &lines, const TextChange &change);
    // The same told by lines: the edit touched the lines first..lastBefore
    // of a text of countBefore lines; they are now first..last.
    bool edited(const ItemMarks &lines, qint64 first, qint64 lastBefore, qint64 last, qint64 countBefore);
    // What the last edit did to the entries: from `first` on, `removed`
    // of them gave way to `inserted` new ones.
    struct Change {
        qint64 fromLine = 0; // the first line read again
        qsizetype first = 0;
        qsizetype removed = 0;
        qsizetype inserted = 0;
    };
    const Change &lastChange() const { return m_change; }

    qsizetype size() const { return m_entries.size(); }
    Entry entry(qsizetype index) const
    {
        const ItemBlocks::Item item = m_entries.item(index);
        return Entry{item.line, item.kind};
    }
    // The item as the text has it ("AC:1002", "BG:CL").
    QString text(qsizetype index) const { return QString::fromUtf8(m_entries.text(index)); }
    // A record's NM item, or an empty text.
    QString name(qsizetype index) const;
    // "AC:1002  LEFT EDGE OF SEAL": the record and, where it has one, its
    // name's value; a line item's text.
    QString caption(qsizetype index) const;
    // The memory the index holds, in bytes.
    qsizetype memoryBytes() const { return m_entries.memoryBytes() + m_names.memoryBytes(); }
    // Whether the text has lines before its first record.
    bool hasHead() const;

    // The entry of the record that holds the line (-1 in the head).
    qsizetype recordAt(qint64 line) const;
    // The last entry at or before the line (-1 before the first).
    qsizetype entryAt(qint64 line) const;
    // The record after the line's record, or before it: -1 when none.
    qsizetype nextRecord(qint64 line, bool forward) const;
    // The entries of the records whose AC value begins with `text` or whose
    // name holds it (letters of either case alike), in the text's order,
    // those whose AC value is `text` exactly first.
    std::vector<qint32> findRecords(QStringView text) const;
    // Whether the entry's caption holds `text` (letters of either case alike).
    bool captionHolds(qsizetype index, const QByteArray &utf8) const;

    // The record's line range: from its line to the line before the next
    // record (or the last line, `lineCount` - 1). For a BG item, to its EG
    // item where one follows within the record; -1 for other line items.
    qint64 foldEnd(qsizetype index, qint64 lineCount) const;
    // The line's place in the folds: a record folds from its line to its
    // end (depth 0), a BG item within it to its EG item (depth 1).
    FoldLevel foldLevelAt(qint64 line, qint64 lineCount) const;

private:
    using Add = std::function<void(qint64 line, EntryKind kind, QStringView item)>;
    static void readLine(QStringView line, bool recordLayout, RecordLineContext &context, qint64 lineNumber,
                         const Add &add, const std::function<void(qint64, QStringView)> &addName);
    // Reads the text from `begin` to `end`, a line's start and the text's
    // end or a line's start, its first line numbered 0; answers the number
    // of the control's lines it read.
    static qint64 read(QByteArrayView utf8, qsizetype begin, qsizetype end, bool recordLayout,
                       const std::function<bool()> &stopped, ItemBlocks &entries, ItemBlocks &names);
    // The bytes kept of an item: its first 16,000 characters in UTF-8.
    static QByteArray kept(QStringView item);
    // The name's index for the record entry, or -1.
    qsizetype nameOf(qsizetype index) const;
    // The entry's code ("BG:"), or its text where shorter.
    QByteArrayView code(qsizetype index) const;

    ItemBlocks m_entries;
    ItemBlocks m_names;
    bool m_record = false;
    bool m_empty = true;
    Change m_change;
};

} // namespace zuno
