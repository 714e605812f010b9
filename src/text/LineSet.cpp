#include "text/LineSet.h"

namespace zuno {

void LineSet::clear()
{
    m_nodes.clear();
    m_free.clear();
    m_root = None;
    m_counts.fill(0);
}

void LineSet::shift(Index node, qint64 by)
{
    if (node == None || by == 0)
        return;
    at(node).line += by;
    at(node).pendingShift += by;
}

void LineSet::pushDown(Index node)
{
    Node &n = at(node);
    if (n.pendingShift == 0)
        return;
    const qint64 by = n.pendingShift;
    n.pendingShift = 0;
    shift(n.left, by);
    shift(at(node).right, by);
}

void LineSet::update(Index node)
{
    Node &n = at(node);
    n.size = 1 + sizeOf(n.left) + sizeOf(n.right);
}

void LineSet::split(Index tree, qint64 line, Index &before, Index &rest)
{
    if (tree == None) {
        before = rest = None;
        return;
    }
    pushDown(tree);
    if (at(tree).line < line) {
        Index right = None;
        split(at(tree).right, line, right, rest);
        at(tree).right = right;
        before = tree;
    } else {
        Index left = None;
        split(at(tree).left, line, before, left);
        at(tree).left = left;
        rest = tree;
    }
    update(tree);
}

LineSet::Index LineSet::merge(Index first, Index second)
{
    if (first == None)
        return second;
    if (second == None)
        return first;
    if (at(first).priority > at(second).priority) {
        pushDown(first);
        const Index right = merge(at(first).right, second);
        at(first).right = right;
        update(first);
        return first;
    }
    pushDown(second);
    const Index left = merge(first, at(second).left);
    at(second).left = left;
    update(second);
    return second;
}

LineSet::Index LineSet::newNode(qint64 line, Value value)
{
    // xorshift: priorities need only be spread, not unpredictable.
    m_seed ^= m_seed << 13;
    m_seed ^= m_seed >> 17;
    m_seed ^= m_seed << 5;
    const Node node{line, 0, m_seed, None, None, 1, value};
    ++m_counts[0];
    ++m_counts[value];
    if (!m_free.empty()) {
        const Index index = m_free.back();
        m_free.pop_back();
        at(index) = node;
        return index;
    }
    m_nodes.push_back(node);
    return Index(m_nodes.size() - 1);
}

void LineSet::release(Index tree)
{
    std::vector<Index> stack;
    if (tree != None)
        stack.push_back(tree);
    while (!stack.empty()) {
        const Index node = stack.back();
        stack.pop_back();
        const Node &n = at(node);
        --m_counts[0];
        --m_counts[n.value];
        for (const Index child : {n.left, n.right})
            if (child != None)
                stack.push_back(child);
        m_free.push_back(node);
    }
    if (m_counts[0] == 0)
        clear(); // gives the memory back
}

LineSet::Value LineSet::value(qint64 line) const
{
    qint64 shifted = 0;
    for (Index node = m_root; node != None;) {
        const Node &n = at(node);
        const qint64 here = n.line + shifted;
        if (here == line)
            return n.value;
        shifted += n.pendingShift;
        node = line < here ? n.left : n.right;
    }
    return 0;
}

void LineSet::set(qint64 line, Value value)
{
    Q_ASSERT(value <= MaxValue);
    Index before = None;
    Index rest = None;
    Index here = None;
    Index after = None;
    split(m_root, line, before, rest);
    split(rest, line + 1, here, after);
    if (here != None && value != 0) {
        --m_counts[at(here).value];
        ++m_counts[value];
        at(here).value = value;
    } else if (here != None) {
        release(here);
        here = None;
    } else if (value != 0) {
        here = newNode(line, value);
    }
    m_root = merge(merge(before, here), after);
}

qint64 LineSet::nearest(qint64 line, bool forward) const
{
    qint64 found = -1;
    qint64 shifted = 0;
    for (Index node = m_root; node != None;) {
        const Node &n = at(node);
        const qint64 here = n.line + shifted;
        shifted += n.pendingShift;
        const bool onTheSide = forward ? here >= line : here <= line;
        if (onTheSide)
            found = here;
        // Nearer to `line` lies towards it from a line on the side wanted.
        node = onTheSide == forward ? n.left : n.right;
    }
    return found;
}

qint64 LineSet::countBefore(qint64 line) const
{
    qint64 count = 0;
    qint64 shifted = 0;
    for (Index node = m_root; node != None;) {
        const Node &n = at(node);
        const qint64 here = n.line + shifted;
        shifted += n.pendingShift;
        if (here < line) {
            count += sizeOf(n.left) + 1;
            node = n.right;
        } else {
            node = n.left;
        }
    }
    return count;
}

void LineSet::replaceLines(qint64 from, qint64 to, qint64 delta)
{
    Q_ASSERT(to + 1 + delta >= from);
    if (m_root == None)
        return;
    Index before = None;
    Index rest = None;
    Index gone = None;
    Index after = None;
    split(m_root, from, before, rest);
    split(rest, to + 1, gone, after);
    shift(after, delta);
    m_root = merge(before, after);
    // Released last: emptying the set gives its memory back.
    release(gone);
}

} // namespace zuno
