#pragma once
// Fast scans over text for the conversions and the edit control: the texts
// are tens of megabytes of short lines, where a call into a general search
// per line costs more than the search itself. Eight characters are compared at a
// time with SSE2 where the compiler offers it (bench_format measures what that
// gains; docs/benchmarks.md has the figures). The conversions of UTF-8 text decode and
// encode their lines sixteen ASCII characters at a time with it.

#include <QByteArrayView>
#include <QStringView>
#include <QtAlgorithms>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zuno::scan {

// A character of a UTF-16 text, or a byte of a UTF-8 one, as a unit to
// compare with an ASCII character: code written once for both reads either.
inline char16_t unit(QChar ch)
{
    return ch.unicode();
}
inline char16_t unit(char byte)
{
    return char16_t(static_cast<unsigned char>(byte));
}

// The first `ch` in [p, end), or end.
inline const char16_t *findChar(const char16_t *p, const char16_t *end, char16_t ch)
{
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(short(ch));
    while (end - p >= 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, wanted));
        if (mask != 0)
            return p + __builtin_ctz(unsigned(mask)) / 2;
        p += 8;
    }
#endif
    while (p < end && *p != ch)
        ++p;
    return p;
}

// The index of the first `ch` in text at or after `from`, or -1.
inline qsizetype indexOf(QStringView text, char16_t ch, qsizetype from = 0)
{
    const char16_t *const begin = text.utf16();
    const char16_t *const end = begin + text.size();
    const char16_t *const found = findChar(begin + from, end, ch);
    return found == end ? -1 : found - begin;
}

// The index of the first two characters `first`, `second` in a row in text
// at or after `from`, or -1.
inline qsizetype indexOfPair(QStringView text, char16_t first, char16_t second, qsizetype from = 0)
{
    const char16_t *const begin = text.utf16();
    const char16_t *const end = begin + text.size();
    for (const char16_t *p = begin + from; p < end; ++p) {
        p = findChar(p, end, first);
        if (end - p < 2)
            return -1;
        if (p[1] == second)
            return p - begin;
    }
    return -1;
}

// The same two searches on UTF-8 bytes, for ASCII characters (which never
// occur inside the sequence of another character).
// What is looked for mostly lies a few bytes on: those are looked at before
// memchr is called.
inline qsizetype indexOf(QByteArrayView text, char ch, qsizetype from = 0)
{
    const qsizetype n = text.size();
    const qsizetype near = std::min(n, from + 8);
    for (qsizetype i = from; i < near; ++i) {
        if (text[i] == ch)
            return i;
    }
    if (near >= n)
        return -1;
    const void *found = std::memchr(text.data() + near, ch, size_t(n - near));
    return found ? static_cast<const char *>(found) - text.data() : -1;
}

// The index of the last `ch` in text before `end`, or -1. What is looked
// for mostly lies a few characters back.
template <typename View>
qsizetype lastIndexOf(View text, char16_t ch, qsizetype end)
{
    for (qsizetype i = end - 1; i >= 0; --i) {
        if (unit(text[i]) == ch)
            return i;
    }
    return -1;
}

inline qsizetype indexOfPair(QByteArrayView text, char first, char second, qsizetype from = 0)
{
    const char *const p = text.data();
    const qsizetype n = text.size();
    qsizetype i = from;
#if defined(__SSE2__)
    const __m128i wantedFirst = _mm_set1_epi8(first);
    const __m128i wantedSecond = _mm_set1_epi8(second);
    // Each block and the byte after it.
    for (; n - i > 16; i += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + 1));
        const int mask = _mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(here, wantedFirst), _mm_cmpeq_epi8(next, wantedSecond)));
        if (mask != 0)
            return i + __builtin_ctz(unsigned(mask));
    }
#endif
    // Two bytes on where the next byte begins no pair either.
    while (i + 1 < n) {
        const char next = p[i + 1];
        if (next == second && p[i] == first)
            return i;
        i += next == first ? 1 : 2;
    }
    return -1;
}

// Copies the leading ASCII bytes of `in` (n of them at most) to `out` as
// UTF-16 units; returns how many there were. Sixteen at a time with SSE2.
inline qsizetype widenAscii(const char *in, qsizetype n, char16_t *out)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; n - i >= 16; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        if (_mm_movemask_epi8(bytes) != 0)
            break; // a byte of 0x80 or more
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; i < n && static_cast<unsigned char>(in[i]) < 0x80; ++i)
        out[i] = char16_t(in[i]);
    return i;
}

// Copies the leading ASCII units of `in` (n of them at most) to `out` as
// bytes; returns how many there were. Sixteen at a time with SSE2.
inline qsizetype narrowAscii(const char16_t *in, qsizetype n, char *out)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    for (; n - i >= 16; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i + 8));
        const __m128i beyond = _mm_and_si128(_mm_or_si128(a, b), high);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(beyond, _mm_setzero_si128())) != 0xFFFF)
            break; // a unit of 0x80 or more
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_packus_epi16(a, b));
    }
#endif
    for (; i < n && in[i] < 0x80; ++i)
        out[i] = char(in[i]);
    return i;
}

// The length of the leading run of bytes from 0x20 to 0x7F (ASCII, no
// control characters) of `p`, n bytes at most.
inline qsizetype plainAsciiRun(const char *p, qsizetype n)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i belowPlain = _mm_set1_epi8(0x1F);
    for (; n - i >= 16; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        // As signed bytes, 0x20 to 0x7F are the ones above 0x1F.
        const int plain = _mm_movemask_epi8(_mm_cmpgt_epi8(bytes, belowPlain));
        if (plain != 0xFFFF)
            return i + qCountTrailingZeroBits(unsigned(~plain & 0xFFFF));
    }
#endif
    while (i < n && static_cast<signed char>(p[i]) > 0x1F)
        ++i;
    return i;
}

// Whether any of the n bytes at `p` is 0x80 or more.
inline bool hasByteBeyondAscii(const char *p, qsizetype n)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    __m128i any = _mm_setzero_si128();
    for (; n - i >= 16; i += 16)
        any = _mm_or_si128(any, _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i)));
    if (_mm_movemask_epi8(any) != 0)
        return true;
#endif
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return true;
    }
    return false;
}

// The index of the first byte that is `a` or `b` in [p, p + n), or -1.
inline qsizetype indexOfEither(const char *p, qsizetype n, char a, char b)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i wantedA = _mm_set1_epi8(a);
    const __m128i wantedB = _mm_set1_epi8(b);
    for (; n - i >= 16; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, wantedA), _mm_cmpeq_epi8(bytes, wantedB)));
        if (mask != 0)
            return i + __builtin_ctz(unsigned(mask));
    }
#endif
    for (; i < n; ++i) {
        if (p[i] == a || p[i] == b)
            return i;
    }
    return -1;
}

} // namespace zuno::scan
