#include "items/ItemBlocks.h"

#include <algorithm>

namespace zuno {

namespace {
// Room for the texts of a block being filled, a guess that a block of
// short items does not outgrow.
constexpr qsizetype TextRoomPerItem = 16;
} // namespace

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
    return block.items[size_t(at - block.first)].kind;
}

QByteArrayView ItemBlocks::text(qsizetype at) const
{
    const Block &block = m_blocks[size_t(blockOf(at))];
    const Stored &s = block.items[size_t(at - block.first)];
    return QByteArrayView(block.texts).sliced(s.text, s.length);
}

ItemBlocks::Item ItemBlocks::item(qsizetype at) const
{
    const Block &block = m_blocks[size_t(blockOf(at))];
    const Stored &s = block.items[size_t(at - block.first)];
    return Item{block.line + s.line, s.kind, QByteArrayView(block.texts).sliced(s.text, s.length)};
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

void ItemBlocks::add(Block &block, qint64 line, EntryKind kind, QByteArrayView text, std::vector<Stored> &to)
{
    to.push_back(Stored{qint32(line - block.line), quint32(block.texts.size()), quint16(text.size()), kind});
    block.texts.append(text);
    block.liveBytes += text.size();
}

void ItemBlocks::append(qint64 line, EntryKind kind, QByteArrayView text)
{
    if (m_blocks.empty() || qsizetype(m_blocks.back().items.size()) >= m_blockSize) {
        finish();
        Block block;
        block.line = line;
        block.first = m_size;
        block.items.reserve(size_t(m_blockSize));
        block.texts.reserve(m_blockSize * TextRoomPerItem);
        m_blocks.push_back(std::move(block));
    }
    Block &block = m_blocks.back();
    add(block, line, kind, text, block.items);
    ++m_size;
}

void ItemBlocks::finish()
{
    if (m_blocks.empty())
        return;
    Block &last = m_blocks.back();
    last.items.shrink_to_fit();
    last.texts.squeeze();
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
    part.items.reserve(size_t(to - from));
    for (qsizetype i = from; i < to; ++i) {
        const Stored &s = block.items[size_t(i)];
        add(part, block.line + s.line, s.kind, QByteArrayView(block.texts).sliced(s.text, s.length), part.items);
    }
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
    Block &block = m_blocks[size_t(at)];
    const qsizetype pos = first - block.first;
    // The items removed, from this block and those after it.
    qsizetype left = removed;
    for (qsizetype b = at, from = pos; left > 0; ++b, from = 0) {
        Block &k = m_blocks[size_t(b)];
        const qsizetype n = std::min(left, qsizetype(k.items.size()) - from);
        const auto begin = k.items.begin() + from;
        for (auto it = begin; it != begin + n; ++it)
            k.liveBytes -= it->length;
        k.items.erase(begin, begin + n);
        left -= n;
    }
    std::vector<Stored> added;
    added.reserve(fresh.size());
    for (const Item &item : fresh)
        add(block, item.line, item.kind, item.text, added);
    block.items.insert(block.items.begin() + pos, added.begin(), added.end());
    m_size += qsizetype(fresh.size()) - removed;
    // The texts replaced go once they are half the block's.
    if (block.texts.size() > 2 * block.liveBytes + 4096)
        block = piece(block, 0, qsizetype(block.items.size()));
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
        bytes += qsizetype(block.items.capacity() * sizeof(Stored)) + block.texts.capacity();
    return bytes;
}

} // namespace zuno
