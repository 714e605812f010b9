#include "textfile/Digest.h"

#include <algorithm>
#include <cstring>

namespace zuno {

namespace {

constexpr quint64 Prime1 = 0x9E3779B185EBCA87ULL;
constexpr quint64 Prime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr quint64 Prime3 = 0x165667B19E3779F9ULL;
constexpr quint64 Prime4 = 0x85EBCA77C2B2AE63ULL;
constexpr quint64 Prime5 = 0x27D4EB2F165667C5ULL;

constexpr quint64 rotate(quint64 x, int bits)
{
    return (x << bits) | (x >> (64 - bits));
}

quint64 word(const char *p)
{
    quint64 w;
    std::memcpy(&w, p, sizeof w);
    return w; // little-endian machines only: the digest never leaves the process
}

quint64 round(quint64 lane, quint64 input)
{
    lane += input * Prime2;
    return rotate(lane, 31) * Prime1;
}

quint64 mergeLane(quint64 hash, quint64 lane)
{
    hash ^= round(0, lane);
    return hash * Prime1 + Prime4;
}

// The lanes take whole blocks of 32 bytes.
void takeBlocks(quint64 (&lanes)[4], const char *p, qsizetype blocks)
{
    quint64 a = lanes[0], b = lanes[1], c = lanes[2], d = lanes[3];
    for (; blocks > 0; --blocks, p += 32) {
        a = round(a, word(p));
        b = round(b, word(p + 8));
        c = round(c, word(p + 16));
        d = round(d, word(p + 24));
    }
    lanes[0] = a, lanes[1] = b, lanes[2] = c, lanes[3] = d;
}

} // namespace

void Digest::add(QByteArrayView bytes)
{
    if (m_total == 0) {
        m_lanes[0] = Prime1 + Prime2;
        m_lanes[1] = Prime2;
        m_lanes[2] = 0;
        m_lanes[3] = 0 - Prime1;
    }
    m_total += quint64(bytes.size());
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    if (m_pendingSize > 0) {
        const qsizetype taken = std::min<qsizetype>(left, 32 - m_pendingSize);
        std::memcpy(m_pending + m_pendingSize, p, size_t(taken));
        m_pendingSize += int(taken);
        p += taken;
        left -= taken;
        if (m_pendingSize < 32)
            return;
        takeBlocks(m_lanes, m_pending, 1);
        m_pendingSize = 0;
    }
    takeBlocks(m_lanes, p, left / 32);
    p += left / 32 * 32;
    m_pendingSize = int(left % 32);
    std::memcpy(m_pending, p, size_t(m_pendingSize));
}

quint64 Digest::value() const
{
    quint64 hash;
    if (m_total >= 32) {
        const quint64 a = m_lanes[0], b = m_lanes[1], c = m_lanes[2], d = m_lanes[3];
        hash = rotate(a, 1) + rotate(b, 7) + rotate(c, 12) + rotate(d, 18);
        hash = mergeLane(mergeLane(mergeLane(mergeLane(hash, a), b), c), d);
    } else {
        hash = Prime5;
    }
    hash += m_total;
    const char *p = m_pending;
    const char *const end = p + m_pendingSize;
    for (; end - p >= 8; p += 8)
        hash = rotate(hash ^ round(0, word(p)), 27) * Prime1 + Prime4;
    for (; p < end; ++p)
        hash = rotate(hash ^ (quint64(static_cast<unsigned char>(*p)) * Prime5), 11) * Prime1;
    hash ^= hash >> 33;
    hash *= Prime2;
    hash ^= hash >> 29;
    hash *= Prime3;
    hash ^= hash >> 32;
    return hash;
}

quint64 digestOf(QByteArrayView bytes)
{
    Digest digest;
    digest.add(bytes);
    return digest.value();
}

} // namespace zuno
