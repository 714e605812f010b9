#include "items/ItemBlocks.h"

#include <algorithm>

namespace zuno {

qsizetype ItemBlocks::Block::lowerBound(qint64 at) const
{
    const qint64 offset = at - line;
    if (!m_wide) {
        if (offset <= 0)
            return 0;
        const auto it = std::lower_bound(m_narrow.begin(), m_narrow.end(), offset,
                                         [](quint32 n, qint64 l) { return qint64(n >> 4) < l; });
        return qsizetype(it - m_narrow.begin());
    }
    const auto it = std::lower_bound(m_stored.begin(), m_stored.end(), offset,
                                     [](const Stored &s, qint64 l) { return s.line < l; });
    return qsizetype(it - m_stored.begin());
}

void ItemBlocks::Block::reserve(qsizetype count)
{
    if (m_wide)
        m_stored.reserve(size_t(count));
    else
        m_narrow.reserve(size_t(count));
}

void ItemBlocks::Block::widen()
{
    m_stored.reserve(std::max(m_narrow.capacity(), m_narrow.size() + 1));
    for (const quint32 n : m_narrow)
        m_stored.push_back(Stored{qint32(n >> 4), n & 15});
    m_narrow = {};
    m_wide = true;
}

void ItemBlocks::Block::add(const Item &item)
{
    const qint64 offset = item.line - line;
    if (!m_wide && (item.column != 0 || offset < 0 || offset >= NarrowLines))
        widen();
    if (!m_wide) {
        m_narrow.push_back(quint32(offset) << 4 | tag(item));
        return;
    }
    const auto column = quint32(std::min(item.column, LastColumn));
    m_stored.push_back(Stored{qint32(offset), column << 4 | tag(item)});
}

void ItemBlocks::Block::add(const Block &block, qsizetype from, qsizetype to)
{
    if (!m_wide && !block.m_wide && line == block.line) {
        m_narrow.insert(m_narrow.end(), block.m_narrow.begin() + from, block.m_narrow.begin() + to);
        return;
    }
    for (qsizetype i = from; i < to; ++i)
        add(block.item(i));
}

void ItemBlocks::Block::moveLines(qsizetype from, qint64 delta)
{
    if (from >= size())
        return;
    // The items stand in line order: the first and last moved bound the rest.
    if (!m_wide && (qint64(m_narrow[size_t(from)] >> 4) + delta < 0
                    || qint64(m_narrow.back() >> 4) + delta >= NarrowLines))
        widen();
    if (!m_wide) {
        for (auto it = m_narrow.begin() + from; it != m_narrow.end(); ++it)
            *it = quint32(qint64(*it) + delta * 16);
        return;
    }
    for (auto it = m_stored.begin() + from; it != m_stored.end(); ++it)
        it->line += qint32(delta);
}

void ItemBlocks::Block::shrink()
{
    m_narrow.shrink_to_fit();
    m_stored.shrink_to_fit();
}

qsizetype ItemBlocks::Block::memoryBytes() const
{
    static_assert(sizeof(Stored) == 8);
    return qsizetype(m_narrow.capacity() * sizeof(quint32) + m_stored.capacity() * sizeof(Stored));
}

qsizetype ItemBlocks::blockOf(qsizetype at) const
{
    const auto it = std::upper_bound(m_blocks.begin(), m_blocks.end(), at,
                                     [](qsizetype a, const Block &block) { return a < block.first; });
    return qsizetype(it - m_blocks.begin()) - 1;
}

qint64 ItemBlocks::line(qsizetype at) const
{
    const Block &block = m_blocks[size_t(blockOf(at))];
    return block.lineAt(at - block.first);
}

EntryKind ItemBlocks::kind(qsizetype at) const
{
    return item(at).kind;
}

qint64 ItemBlocks::column(qsizetype at) const
{
    return item(at).column;
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
        return block.lineAt(block.size() - 1) < l;
    });
    if (it == m_blocks.end())
        return m_size;
    return it->first + it->lowerBound(line);
}

void ItemBlocks::append(qint64 line, EntryKind kind, qint64 column, ValueRun run)
{
    if (m_blocks.empty() || m_blocks.back().size() >= m_blockSize) {
        finish();
        Block block;
        block.line = line;
        block.first = m_size;
        block.reserve(m_blockSize);
        m_blocks.push_back(std::move(block));
    }
    m_blocks.back().add(Item{line, kind, column, run});
    ++m_size;
}

void ItemBlocks::finish()
{
    if (!m_blocks.empty())
        m_blocks.back().shrink();
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
    part.reserve(to - from);
    part.add(block, from, to);
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
    const qsizetype count = old.size();
    const qsizetype kept = std::min(count, pos + left);
    left -= kept - pos;
    Block block;
    block.line = old.line;
    block.reserve(pos + qsizetype(fresh.size()) + count - kept);
    block.add(old, 0, pos);
    for (const Item &item : fresh)
        block.add(item);
    block.add(old, kept, count);
    m_blocks[size_t(at)] = std::move(block);
    for (qsizetype b = at + 1; left > 0; ++b) {
        Block &k = m_blocks[size_t(b)];
        const qsizetype n = std::min(left, k.size());
        k = piece(k, n, k.size());
        left -= n;
    }
    m_size += qsizetype(fresh.size()) - removed;
    tidy(at);
}

void ItemBlocks::tidy(qsizetype from)
{
    for (qsizetype b = from; b < qsizetype(m_blocks.size());) {
        const Block &block = m_blocks[size_t(b)];
        const qsizetype count = block.size();
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
        first = m_blocks[size_t(from - 1)].first + m_blocks[size_t(from - 1)].size();
    for (auto b = m_blocks.begin() + std::min(from, qsizetype(m_blocks.size())); b != m_blocks.end(); ++b) {
        b->first = first;
        first += b->size();
    }
}

void ItemBlocks::moveLines(qsizetype first, qint64 delta)
{
    if (delta == 0 || first >= m_size)
        return;
    const qsizetype at = blockOf(first);
    Block &block = m_blocks[size_t(at)];
    if (first == block.first)
        block.line += delta;
    else
        block.moveLines(first - block.first, delta);
    for (auto b = m_blocks.begin() + at + 1; b != m_blocks.end(); ++b)
        b->line += delta;
}

qsizetype ItemBlocks::memoryBytes() const
{
    qsizetype bytes = qsizetype(m_blocks.capacity() * sizeof(Block));
    for (const Block &block : m_blocks)
        bytes += block.memoryBytes();
    return bytes;
}

} // namespace zuno
