#pragma once
// A sorted set of line numbers, each with a small value, kept beside a
// text whose lines come and go: when lines are inserted or removed, the
// lines of the set after them move in one step. Every step costs the
// logarithm of the set's size, whatever the number of lines in the text or
// the distance from one line of the set to the next (a treap whose subtrees
// carry a pending shift of their lines).
#include <QtGlobal>

#include <array>
#include <vector>

namespace zuno {

class LineSet {
public:
    // What a line carries: 1 to MaxValue; 0 is "not in the set".
    using Value = quint8;
    static constexpr Value MaxValue = 3;

    void clear();
    qint64 size() const { return m_counts[0]; }
    // How many lines carry `value` (1 to MaxValue).
    qint64 count(Value value) const { return m_counts[value]; }

    // The line's value, 0 when the line is not in the set.
    Value value(qint64 line) const;
    // Puts the line in the set with `value`, or takes it out (0).
    void set(qint64 line, Value value);
    // The first line of the set at or after `line`, or -1.
    qint64 next(qint64 line) const { return nearest(line, true); }
    // The last line of the set at or before `line`, or -1.
    qint64 previous(qint64 line) const { return nearest(line, false); }
    // How many lines of the set come before `line`.
    qint64 countBefore(qint64 line) const;

    // Lines `from` to `to` (both included) gave way to `to - from + 1 +
    // delta` others: those lines leave the set, and every line after `to`
    // moves by `delta`.
    void replaceLines(qint64 from, qint64 to, qint64 delta);

private:
    // next() (forward) or previous().
    qint64 nearest(qint64 line, bool forward) const;
    using Index = qint32;
    static constexpr Index None = -1;
    struct Node {
        qint64 line;
        qint64 pendingShift; // not yet applied to the lines below this one
        quint32 priority;
        Index left;
        Index right;
        Index size;
        Value value;
    };

    Index sizeOf(Index node) const { return node == None ? 0 : m_nodes[size_t(node)].size; }
    Node &at(Index node) { return m_nodes[size_t(node)]; }
    const Node &at(Index node) const { return m_nodes[size_t(node)]; }
    void shift(Index node, qint64 by);
    void pushDown(Index node);
    void update(Index node);
    // Splits `tree` into the lines before `line` and the rest.
    void split(Index tree, qint64 line, Index &before, Index &rest);
    Index merge(Index first, Index second);
    Index newNode(qint64 line, Value value);
    // Gives back every node of `tree`.
    void release(Index tree);

    std::vector<Node> m_nodes;
    std::vector<Index> m_free;
    Index m_root = None;
    // [0]: all lines; [v]: the lines that carry v.
    std::array<qint64, MaxValue + 1> m_counts{};
    quint32 m_seed = 0x9E3779B9u;
};

} // namespace zuno
