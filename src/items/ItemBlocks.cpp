#include "items/ItemBlocks.h"

#include <algorithm>

namespace zuno {

qsizetype ItemBlocks::blockOf(qsizetype at) const
{
    const auto it = std::upper_bound(m_blocks.begin(), m_blocks.end(), at,
                                     [](qsizetype a, const Block &block) { return a < block.first; });
    return qsizetype(it - m_blocks.begin()) - 1;
}

qint64 ItemBlocks::line(qsizetype at) const
{
    const Block &block = m_blocks[size_t(blockOf(at))];
    return block.line + block.items[size_t(at - block.first)].line;
}

EntryKind ItemBlocks::kind(qsizetype at) const
{
    const Block &block = m_blocks[size_t(blockOf(at))];
    return block.items[size_t(at - block.first)].kind();
}

qint64 ItemBlocks::column(qsizetype at) const
{
    const Block &block = m_blocks[size_t(blockOf(at))];
    return block.items[size_t(at - block.first)].column();
}

ItemBlocks::Item ItemBlocks::item(qsizetype at) const
{
    const Block &block = m_blocks[size_t(blockOf(at))];
    return block.item(at - block.first);
}

qsizetype ItemBlocks::lowerBound(qint64 line) const
{
    // The first block whose last item is on the line or after it.
    const auto it = std::lower_bound(m_blocks.begin(), m_blocks.end(), line, [](const Block &block, qint64 l) {
        return block.line + block.items.back().line < l;
    });
    if (it == m_blocks.end())
        return m_size;
    const auto in = std::lower_bound(it->items.begin(), it->items.end(), line - it->line,
                                     [](const Stored &s, qint64 l) { return s.line < l; });
    return it->first + qsizetype(in - it->items.begin());
}

void ItemBlocks::Block::add(const Item &item)
{
    const auto column = quint32(std::min(item.column, LastColumn));
    items.push_back(Stored{qint32(item.line - line), column << 2 | quint32(item.kind)});
}

void ItemBlocks::append(qint64 line, EntryKind kind, qint64 column)
{
    if (m_blocks.empty() || qsizetype(m_blocks.back().items.size()) >= m_blockSize) {
        finish();
        Block block;
        block.line = line;
        block.first = m_size;
        block.items.reserve(size_t(m_blockSize));
        m_blocks.push_back(std::move(block));
    }
    m_blocks.back().add(Item{line, kind, column});
    ++m_size;
}

void ItemBlocks::finish()
{
    if (!m_blocks.empty())
        m_blocks.back().items.shrink_to_fit();
}

void ItemBlocks::append(ItemBlocks &&later, qint64 lines)
{
    finish();
    m_blocks.reserve(m_blocks.size() + later.m_blocks.size());
    for (Block &block : later.m_blocks) {
        block.line += lines;
        block.first += m_size;
        m_blocks.push_back(std::move(block));
    }
    m_size += later.m_size;
    later = ItemBlocks(later.m_blockSize);
}

ItemBlocks::Block ItemBlocks::piece(const Block &block, qsizetype from, qsizetype to)
{
    Block part;
    part.line = block.line;
    part.items.assign(block.items.begin() + from, block.items.begin() + to);
    return part;
}

void ItemBlocks::replace(qsizetype first, qsizetype removed, const std::vector<Item> &fresh)
{
    if (removed == 0 && fresh.empty())
        return;
    if (m_blocks.empty()) {
        Block block;
        block.line = fresh.front().line;
        m_blocks.push_back(std::move(block));
    }
    const qsizetype at = first < m_size ? blockOf(first) : qsizetype(m_blocks.size()) - 1;
    const qsizetype pos = first - m_blocks[size_t(at)].first;
    // The block laid down again: its items before, the fresh ones, and
    // those after the removed ones; the blocks after it lose their items
    // up to the removed ones' end.
    qsizetype left = removed;
    const Block &old = m_blocks[size_t(at)];
    const qsizetype kept = std::min(qsizetype(old.items.size()), pos + left);
    left -= kept - pos;
    const auto count = qsizetype(old.items.size());
    Block block;
    block.line = old.line;
    block.items.reserve(size_t(pos + qsizetype(fresh.size()) + count - kept));
    block.items.insert(block.items.end(), old.items.begin(), old.items.begin() + pos);
    for (const Item &item : fresh)
        block.add(item);
    block.items.insert(block.items.end(), old.items.begin() + kept, old.items.end());
    m_blocks[size_t(at)] = std::move(block);
    for (qsizetype b = at + 1; left > 0; ++b) {
        Block &k = m_blocks[size_t(b)];
        const qsizetype n = std::min(left, qsizetype(k.items.size()));
        k = piece(k, n, qsizetype(k.items.size()));
        left -= n;
    }
    m_size += qsizetype(fresh.size()) - removed;
    tidy(at);
}

void ItemBlocks::tidy(qsizetype from)
{
    for (qsizetype b = from; b < qsizetype(m_blocks.size());) {
        const Block &block = m_blocks[size_t(b)];
        const auto count = qsizetype(block.items.size());
        if (count == 0) {
            m_blocks.erase(m_blocks.begin() + b);
            continue;
        }
        if (count > 2 * m_blockSize) {
            std::vector<Block> pieces;
            for (qsizetype i = 0; i < count; i += m_blockSize)
                pieces.push_back(piece(block, i, std::min(count, i + m_blockSize)));
            m_blocks.erase(m_blocks.begin() + b);
            m_blocks.insert(m_blocks.begin() + b, std::make_move_iterator(pieces.begin()),
                            std::make_move_iterator(pieces.end()));
            b += qsizetype(pieces.size());
            continue;
        }
        ++b;
    }
    qsizetype first = 0;
    if (from > 0 && from <= qsizetype(m_blocks.size()))
        first = m_blocks[size_t(from - 1)].first + qsizetype(m_blocks[size_t(from - 1)].items.size());
    for (auto b = m_blocks.begin() + std::min(from, qsizetype(m_blocks.size())); b != m_blocks.end(); ++b) {
        b->first = first;
        first += qsizetype(b->items.size());
    }
}

void ItemBlocks::moveLines(qsizetype first, qint64 delta)
{
    if (delta == 0 || first >= m_size)
        return;
    const qsizetype at = blockOf(first);
    Block &block = m_blocks[size_t(at)];
    if (first == block.first) {
        block.line += delta;
    } else {
        for (auto it = block.items.begin() + (first - block.first); it != block.items.end(); ++it)
            it->line += qint32(delta);
    }
    for (auto b = m_blocks.begin() + at + 1; b != m_blocks.end(); ++b)
        b->line += delta;
}

qsizetype ItemBlocks::memoryBytes() const
{
    qsizetype bytes = qsizetype(m_blocks.capacity() * sizeof(Block));
    for (const Block &block : m_blocks)
        bytes += qsizetype(block.items.capacity() * sizeof(Stored));
    static_assert(sizeof(Stored) == 8);
    return bytes;
}

} // namespace zuno
