#include "textfile/Digest.h"

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

} // namespace

quint64 digestOf(QByteArrayView bytes)
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    quint64 hash;
    if (bytes.size() >= 32) {
        quint64 a = Prime1 + Prime2;
        quint64 b = Prime2;
        quint64 c = 0;
        quint64 d = 0 - Prime1;
        for (; end - p >= 32; p += 32) {
            a = round(a, word(p));
            b = round(b, word(p + 8));
            c = round(c, word(p + 16));
            d = round(d, word(p + 24));
        }
        hash = rotate(a, 1) + rotate(b, 7) + rotate(c, 12) + rotate(d, 18);
        hash = mergeLane(mergeLane(mergeLane(mergeLane(hash, a), b), c), d);
    } else {
        hash = Prime5;
    }
    hash += quint64(bytes.size());
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

} // namespace zuno
