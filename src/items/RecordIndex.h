#pragma once
// The records of the document as a structure: every record by its AC item
// (the separated records AC:OS and AC:PR told apart), the NM item that names
// it, and its line items (BG, CP, SP, EG, DL), each with the control's line
// it stands on. Read by the same role table the conversions use, in the
// layout last checked. Built from the whole text when it is checked, and
// kept current by reading again only the lines an edit touched.
//
// Kept small for large files: an entry is its line, its kind and where it
// begins in its line (four bytes where it begins its line, as every List
// line's does; else eight), kept in blocks (ItemBlocks), so that an edit
// that adds lines moves blocks, not entries. The items' texts are not
// kept: they are read from the document (ItemText) when asked for. The
// lines before the first record are the file's head.
#include "items/ItemBlocks.h"
#include "items/ItemMarks.h"
#include "items/ItemText.h"
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
    // Reads the items' texts from `document`, whose text the index is read
    // from and kept current with.
    explicit RecordIndex(const ILineMarks *document = nullptr) : m_document(document) {}
    // Takes the entries read by another index (on another thread) from the
    // same document's text.
    void adopt(RecordIndex &&built);

    struct Entry {
        qint64 line = 0; // the control's line the item stands on
        EntryKind kind = EntryKind::Record;
        qint64 column = 0; // where it begins in its text's line, in bytes
    };

    // Reads the whole UTF-8 text in the given layout (stopping early, with
    // what it read so far, once `stopped` says so). Where `problems` is
    // given and the layout is the List layout, the text's problems are found
    // in the same pass (ItemMarks::findAll's, in order).
    void build(QByteArrayView utf8Text, bool recordLayout, const std::function<bool()> &stopped = {},
               std::vector<ItemMarks::Found> *problems = nullptr);

    // The text changed, the change in: reads again the lines it touched,
    // with the lines whose reading depends on them. Answers whether any
    // entry or name changed (lines that only moved do not count).
    bool changed(const ItemMarks &lines, const TextChange &change);
    // The same told by lines: the edit touched the lines first..lastBefore
    // of a text of countBefore lines; they are now first..last. Its bytes
    // begin at `position` where known: an item on those lines that ends
    // before it (two spaces in a row first) did not change.
    bool edited(const ItemMarks &lines, qint64 first, qint64 lastBefore, qint64 last, qint64 countBefore,
                qint64 position = -1);
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
        return Entry{item.line, item.kind, item.column};
    }
    // The item as the text has it ("AC:1002", "BG:CL").
    QString text(qsizetype index) const;
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
    // those whose AC value is `text` exactly first. Where `among` is given,
    // only those records are looked at: the records found for a text that
    // `text` begins with (whatever `text` finds, they found too).
    std::vector<qint32> findRecords(QStringView text, const std::vector<qint32> *among = nullptr) const;
    // What findRecords looks for, for `text`: trimmed, in upper case.
    static QByteArray searchKey(QStringView text);
    // Whether the key looks for an AC value only: "AC:1003".
    static bool isAcKey(QByteArrayView key);
    static constexpr QByteArrayView AcCode = "AC:";
    // Whether each entry's caption holds `folded` (upper-case UTF-8; letters
    // of either case alike). Where `among` is given (entries in order; -1
    // is passed over), only those are looked at; the others answer false.
    std::vector<bool> captionsHolding(const QByteArray &folded, const std::vector<qint32> *among = nullptr) const;

    // The record's line range: from its line to the line before the next
    // record (or the last line, `lineCount` - 1). For a BG item, to its EG
    // item where one follows within the record; -1 for other line items.
    qint64 foldEnd(qsizetype index, qint64 lineCount) const;
    // The line's place in the folds: a record folds from its line to its
    // end (depth 0), a BG item within it to its EG item (depth 1).
    FoldLevel foldLevelAt(qint64 line, qint64 lineCount) const;

private:
    // Tells an item found: its line, its kind (a name's is LineItem),
    // where its code begins in the line read (in UTF-16 units) and whether
    // it begins or ends a run of values.
    using Add = std::function<void(qint64 line, EntryKind kind, qsizetype from, ValueRun run, bool name)>;
    static void readLine(QStringView line, bool recordLayout, RecordLineContext &context, qint64 lineNumber,
                         const Add &add);
    // Reads the text from `begin` to `end`, a line's start and the text's
    // end or a line's start, its first line numbered 0, and in the List
    // layout its problems where asked; answers the number of the control's
    // lines it read.
    static qint64 read(QByteArrayView utf8, qsizetype begin, qsizetype end, bool recordLayout,
                       const std::function<bool()> &stopped, ItemBlocks &entries, ItemBlocks &names,
                       std::vector<ItemMarks::Found> *problems);
    // The name's index for the record entry, or -1.
    qsizetype nameOf(qsizetype index) const;
    ValueRun run(qsizetype index) const { return m_entries.item(index).run; }
    // The name's value (after "NM:") of the record entry, read by `reader`.
    QByteArrayView nameValue(ItemText &reader, qsizetype index) const;

    const ILineMarks *m_document = nullptr;
    ItemBlocks m_entries;
    ItemBlocks m_names;
    bool m_record = false;
    bool m_empty = true;
    // The control's lines of the text read, kept through the edits: an edit
    // can make or take away a line at either of its ends (a "\r\n" cut in
    // two, a lone "\r" and "\n" brought together) that its own bytes do not
    // tell; -1 where not known.
    qint64 m_lineCount = -1;
    Change m_change;
};

} // namespace zuno
