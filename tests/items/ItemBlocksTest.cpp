// The blocks of the record index's items against a plain list of the same
// items after random edits, with blocks small enough that the edits cross,
// empty and overfill them, and items that begin their lines or do not
// (four bytes an item, or eight).
#include "items/ItemBlocks.h"

#include <gtest/gtest.h>

#include <random>

namespace zuno {
namespace {

struct Plain {
    qint64 line;
    EntryKind kind;
    qint64 column;
    ValueRun run;
    bool operator==(const Plain &) const = default;
};

std::vector<Plain> all(const ItemBlocks &blocks)
{
    std::vector<Plain> items;
    for (qsizetype at = 0; at < blocks.size(); ++at)
        items.push_back(Plain{blocks.line(at), blocks.kind(at), blocks.column(at), blocks.item(at).run});
    std::vector<Plain> visited;
    blocks.forEach(0, [&](qsizetype at, const ItemBlocks::Item &item) {
        EXPECT_EQ(at, qsizetype(visited.size()));
        visited.push_back(Plain{item.line, item.kind, item.column, item.run});
        return true;
    });
    EXPECT_EQ(visited, items);
    return items;
}

TEST(ItemBlocks, RandomEditsLeaveTheItemsOfAPlainList)
{
    std::mt19937 random(37);
    const auto below = [&](qint64 n) { return qint64(random() % quint64(std::max<qint64>(1, n))); };
    // Built in two parts, the later joined on with its lines moved.
    ItemBlocks blocks(3);
    ItemBlocks later(3);
    std::vector<Plain> plain;
    for (int i = 0; i < 40; ++i) {
        const Plain item{2 * i, EntryKind(i % 3), i % 7 ? 0 : qint64(i) * 1000, ValueRun(i % 3)};
        plain.push_back(item);
        ItemBlocks &part = i < 17 ? blocks : later;
        part.append(i < 17 ? item.line : item.line - 34, item.kind, item.column, item.run);
    }
    blocks.append(std::move(later), 34);
    ASSERT_EQ(all(blocks), plain);

    for (int round = 0; round < 3000; ++round) {
        const auto size = qint64(plain.size());
        const qint64 first = below(size + 1);
        const qint64 removed = below(std::min<qint64>(size - first, 8) + 1);
        // Fresh items on the lines between the neighbours, then the rest
        // moved by a few lines (up or down, never past the item before).
        const qint64 low = first > 0 ? plain[size_t(first - 1)].line : 0;
        const qint64 high = first + removed < size ? plain[size_t(first + removed)].line : low + 10;
        std::vector<Plain> fresh(size_t(below(5)));
        for (Plain &item : fresh)
            item = Plain{low + below(high - low + 1), EntryKind(below(3)), below(8) ? 0 : below(ItemBlocks::LastColumn + 1),
                         ValueRun(below(3))};
        std::sort(fresh.begin(), fresh.end(), [](const Plain &a, const Plain &b) { return a.line < b.line; });
        std::vector<ItemBlocks::Item> items;
        for (const Plain &item : fresh)
            items.push_back(ItemBlocks::Item{item.line, item.kind, item.column, item.run});
        blocks.replace(first, removed, items);
        plain.erase(plain.begin() + first, plain.begin() + first + removed);
        plain.insert(plain.begin() + first, fresh.begin(), fresh.end());

        const qint64 from = below(qint64(plain.size()) + 1);
        const qint64 floor = from > 0 ? plain[size_t(from - 1)].line : 0;
        const qint64 delta = from < qint64(plain.size()) ? below(7) - std::min<qint64>(3, plain[size_t(from)].line - floor) : 0;
        blocks.moveLines(from, delta);
        for (auto it = plain.begin() + from; it != plain.end(); ++it)
            it->line += delta;

        ASSERT_EQ(all(blocks), plain) << "round " << round;
        const qint64 line = below(plain.empty() ? 5 : plain.back().line + 3);
        const auto expected = std::lower_bound(plain.begin(), plain.end(), line,
                                               [](const Plain &p, qint64 l) { return p.line < l; });
        ASSERT_EQ(blocks.lowerBound(line), qsizetype(expected - plain.begin())) << "round " << round;
    }
}

} // namespace
} // namespace zuno
