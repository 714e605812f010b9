#pragma once
// Items of a text in line order (the record index's entries, or its names),
// each with its line, its kind and a short UTF-8 text, kept in blocks of a
// few thousand. A block holds its items' lines as offsets from a line of its
// own, and their texts one after another, so that
// - an edit that adds or removes lines moves the items after it by moving
//   each later block's line, not each item's;
// - a large text's items are laid down a block at a time, never copied to a
//   larger store as they grow, and parts read apart are joined block by block.
#include <QByteArray>
#include <QByteArrayView>

#include <string>
#include <vector>

namespace zuno {

enum class EntryKind : quint8 { Record, SeparatedRecord, LineItem };

class ItemBlocks {
public:
    struct Item {
        qint64 line = 0;
        EntryKind kind = EntryKind::LineItem;
        QByteArrayView text;
    };

    explicit ItemBlocks(qsizetype blockSize = 4096) : m_blockSize(blockSize) {}

    qsizetype size() const { return m_size; }
    qint64 line(qsizetype at) const;
    EntryKind kind(qsizetype at) const;
    QByteArrayView text(qsizetype at) const;
    Item item(qsizetype at) const;
    // The first item on or after the line (size() when none).
    qsizetype lowerBound(qint64 line) const;
    // Calls `visit(at, item)` for the items from `from` on while it answers true.
    template <typename Visit>
    void forEach(qsizetype from, Visit visit) const;

    // Adds an item after the last, on its line or after it.
    void append(qint64 line, EntryKind kind, QByteArrayView text);
    // Adds `later`'s items after these, their lines moved by `lines`.
    void append(ItemBlocks &&later, qint64 lines);
    // Gives back the room the last block kept for more.
    void finish();

    // The items first..first+removed-1 give way to `fresh`, which stand in
    // line order between the items before and after them.
    void replace(qsizetype first, qsizetype removed, const std::vector<Item> &fresh);
    // The items from `first` on move by `delta` lines.
    void moveLines(qsizetype first, qint64 delta);

    // The memory held, in bytes.
    qsizetype memoryBytes() const;

private:
    // Eight bytes an item: its line from the block's, and where its text
    // begins with its kind in the two low bits. The texts stand in the
    // items' order without a gap, so each ends where the next begins.
    struct Stored {
        qint32 line = 0;
        quint32 place = 0;
        EntryKind kind() const { return EntryKind(place & 3); }
        qsizetype text() const { return qsizetype(place >> 2); }
    };
    struct Block {
        qint64 line = 0;
        qsizetype first = 0; // the index of its first item
        std::vector<Stored> items;
        std::string texts;

        qsizetype textAt(qsizetype i) const
        {
            return i < qsizetype(items.size()) ? items[size_t(i)].text() : qsizetype(texts.size());
        }
        QByteArrayView text(qsizetype i) const
        {
            const qsizetype from = items[size_t(i)].text();
            return QByteArrayView(texts.data() + from, textAt(i + 1) - from);
        }
        void add(qint64 line, EntryKind kind, QByteArrayView text);
    };
    qsizetype blockOf(qsizetype at) const;
    // A copy of the block's items from..to-1 with only their texts.
    static Block piece(const Block &block, qsizetype from, qsizetype to);
    // Drops empty blocks from `from` on, splits oversized ones, and numbers
    // the blocks' first items again.
    void tidy(qsizetype from);

    qsizetype m_blockSize;
    // The room the next block takes for its texts: at first a guess that a
    // block of short items does not outgrow, then what the last full one took.
    qsizetype m_textRoom = m_blockSize * 16;
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
        for (qsizetype i = std::max<qsizetype>(0, from - block.first); i < qsizetype(block.items.size()); ++i) {
            const Stored &s = block.items[size_t(i)];
            if (!visit(block.first + i, Item{block.line + s.line, s.kind(), block.text(i)}))
                return;
        }
    }
}

} // namespace zuno
