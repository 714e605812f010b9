#pragma once
// Items of a text in line order (the record index's entries, or its names),
// each with its line, its kind and where it begins within its line (its
// text is read from the document when asked), kept in blocks of a few
// thousand, four or eight bytes an item. A block holds its items' lines as offsets from a line of its
// own, so that
// - an edit that adds or removes lines moves the items after it by moving
//   each later block's line, not each item's;
// - a large text's items are laid down a block at a time, never copied to a
//   larger store as they grow, and parts read apart are joined block by block.
#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace zuno {

enum class EntryKind : quint8 { Record, SeparatedRecord, LineItem };
// Whether a line item begins a run of values (BG) or ends one (EG).
enum class ValueRun : quint8 { None, Begins, Ends };

class ItemBlocks {
public:
    struct Item {
        qint64 line = 0;
        EntryKind kind = EntryKind::LineItem;
        qint64 column = 0; // in bytes from the start of the text's line
        ValueRun run = ValueRun::None;
    };

    explicit ItemBlocks(qsizetype blockSize = 4096) : m_blockSize(blockSize) {}

    qsizetype size() const { return m_size; }
    qint64 line(qsizetype at) const;
    EntryKind kind(qsizetype at) const;
    qint64 column(qsizetype at) const;
    Item item(qsizetype at) const;
    // The first item on or after the line (size() when none).
    qsizetype lowerBound(qint64 line) const;
    // Calls `visit(at, item)` for the items from `from` on while it answers true.
    template <typename Visit>
    void forEach(qsizetype from, Visit visit) const;

    // Adds an item after the last, on its line or after it.
    void append(qint64 line, EntryKind kind, qint64 column, ValueRun run = ValueRun::None);
    // Adds `later`'s items after these, their lines moved by `lines`.
    void append(ItemBlocks &&later, qint64 lines);
    // Gives back the room the last block kept for more.
    void finish();
    // The furthest column an item keeps (256 MiB into its line); one
    // further on is kept as this.
    static constexpr qint64 LastColumn = (qint64(1) << 28) - 1;

    // The items first..first+removed-1 give way to `fresh`, which stand in
    // line order between the items before and after them.
    void replace(qsizetype first, qsizetype removed, const std::vector<Item> &fresh);
    // The items from `first` on move by `delta` lines.
    void moveLines(qsizetype first, qint64 delta);

    // The memory held, in bytes.
    qsizetype memoryBytes() const;

private:
    // An item's kind and value run, in four bits.
    static quint32 tag(const Item &item) { return quint32(item.kind) | quint32(item.run) << 2; }
    static Item tagged(qint64 line, qint64 column, quint32 tag)
    {
        return Item{line, EntryKind(tag & 3), column, ValueRun(tag >> 2 & 3)};
    }
    // Eight bytes an item: its line from the block's, and its column with
    // its tag in the four low bits.
    struct Stored {
        qint32 line = 0;
        quint32 place = 0;
    };
    // A block's items, four bytes each (their line from the block's with
    // the tag in the four low bits) while every one begins its line and
    // stands on or after the block's line and within 268 million lines of
    // it: every List line's item. Eight bytes each (Stored) once one does
    // not.
    class Block {
    public:
        qint64 line = 0;
        qsizetype first = 0; // the index of its first item

        qsizetype size() const { return m_wide ? qsizetype(m_stored.size()) : qsizetype(m_narrow.size()); }
        Item item(qsizetype i) const
        {
            if (!m_wide) {
                const quint32 n = m_narrow[size_t(i)];
                return tagged(line + qint64(n >> 4), 0, n & 15);
            }
            const Stored &s = m_stored[size_t(i)];
            return tagged(line + s.line, qint64(s.place >> 4), s.place & 15);
        }
        qint64 lineAt(qsizetype i) const
        {
            return line + (m_wide ? qint64(m_stored[size_t(i)].line) : qint64(m_narrow[size_t(i)] >> 4));
        }
        // The first item on or after the line (size() when none).
        qsizetype lowerBound(qint64 at) const;
        void reserve(qsizetype count);
        void add(const Item &item);
        // Adds the block's items from..to-1.
        void add(const Block &block, qsizetype from, qsizetype to);
        // The items from `from` on move by `delta` lines.
        void moveLines(qsizetype from, qint64 delta);
        void shrink();
        qsizetype memoryBytes() const;

    private:
        static constexpr qint64 NarrowLines = qint64(1) << 28;
        void widen();

        bool m_wide = false;
        std::vector<quint32> m_narrow;
        std::vector<Stored> m_stored;
    };
    qsizetype blockOf(qsizetype at) const;
    // A copy of the block's items from..to-1.
    static Block piece(const Block &block, qsizetype from, qsizetype to);
    // Drops empty blocks from `from` on, splits oversized ones, and numbers
    // the blocks' first items again.
    void tidy(qsizetype from);

    qsizetype m_blockSize;
    std::vector<Block> m_blocks;
    qsizetype m_size = 0;
};

template <typename Visit>
void ItemBlocks::forEach(qsizetype from, Visit visit) const
{
    if (from >= m_size)
        return;
    for (qsizetype b = blockOf(from); b < qsizetype(m_blocks.size()); ++b) {
        const Block &block = m_blocks[size_t(b)];
        for (qsizetype i = std::max<qsizetype>(0, from - block.first); i < block.size(); ++i) {
            if (!visit(block.first + i, block.item(i)))
                return;
        }
    }
}

} // namespace zuno
