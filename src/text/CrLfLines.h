#pragma once
// The lines of a large UTF-8 text that end at "\r\n", read 64 bytes at a
// time by masks of their bytes: where each begins and ends, the edit
// control's number of its first line (a lone "\r" or "\n" within a line ends
// a line of the control, not of the text), and whether it holds a colon or
// two spaces in a row. Neither a colon nor a space is ever part of a longer
// UTF-8 sequence, so the bytes tell. The List layout's check and the record
// index read a whole text so, in one pass or in two.
#include <QByteArrayView>
#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zuno {

struct CrLfLine {
    qint64 number = 0;     // the control's line it begins on
    qsizetype begin = 0;   // in bytes, in the whole text
    qsizetype length = 0;  // up to its "\r\n" or the text's end
    bool colon = false;    // a ':' among its bytes
    bool spacePair = false; // two spaces in a row among its bytes
};

#if defined(__SSE2__)
namespace crlf {

// What 64 bytes hold, a bit a byte.
struct Window {
    quint64 pairs = 0;      // the "\r" of each "\r\n"
    quint64 lone = 0;       // a "\r" or "\n" that is no part of one
    quint64 colons = 0;
    quint64 spacePairs = 0; // a space with a space after it
};

// The bits from..to-1 (none when from >= to; 0 <= from, to <= 64).
inline quint64 bitsBetween(int from, int to)
{
    if (from >= to)
        return 0;
    return (to == 64 ? ~quint64(0) : (quint64(1) << to) - 1) & (~quint64(0) << from);
}

// The masks of the 64 bytes at `p`, of which the first `valid` count;
// p[64] is read too. `pairedLf` says whether the byte before them was the
// "\r" of a "\r\n"; it is set for the next window.
inline Window windowAt(const char *p, int valid, bool &pairedLf)
{
    quint64 cr = 0;
    quint64 lf = 0;
    quint64 colon = 0;
    quint64 space = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
        const auto bits = [i](__m128i test) { return quint64(quint32(_mm_movemask_epi8(test))) << (16 * i); };
        cr |= bits(_mm_cmpeq_epi8(b, _mm_set1_epi8('\r')));
        lf |= bits(_mm_cmpeq_epi8(b, _mm_set1_epi8('\n')));
        colon |= bits(_mm_cmpeq_epi8(b, _mm_set1_epi8(':')));
        space |= bits(_mm_cmpeq_epi8(b, _mm_set1_epi8(' ')));
    }
    const quint64 counted = bitsBetween(0, valid);
    const quint64 pairs = cr & ((lf >> 1) | (quint64(p[64] == '\n') << 63)) & counted;
    const quint64 lfInPairs = (pairs << 1) | quint64(pairedLf);
    pairedLf = (pairs >> 63) != 0;
    return Window{pairs, ((cr & ~pairs) | (lf & ~lfInPairs)) & counted, colon & counted,
                  space & ((space >> 1) | (quint64(p[64] == ' ') << 63)) & counted};
}

} // namespace crlf

// Calls `line(const CrLfLine &)` for each line of the text from `begin` to
// `end` (a line's start, and the text's end or a line's start), its first
// numbered 0, in order; answers the number of the control's line breaks
// read. The text's last line (where `end` is its end) is read too, empty
// where the text ends with "\r\n". Stops early once `stopped` says so.
template <typename Line>
qint64 forEachCrLfLine(QByteArrayView text, qsizetype begin, qsizetype end, const std::function<bool()> &stopped,
                       Line line)
{
    constexpr qsizetype Size = 64;
    // How often `stopped` is asked: every 256 KB.
    constexpr qsizetype AskEvery = Size << 12;
    const char *const data = text.data();
    CrLfLine now{0, begin, 0, false, false};
    // The lone breaks of the line being read, in the windows before.
    qint64 lone = 0;
    bool pairedLf = false;
    char tail[2 * Size];
    for (qsizetype base = begin; base < end; base += Size) {
        if (stopped && (base - begin) % AskEvery == 0 && stopped())
            return now.number;
        const char *p = data + base;
        if (text.size() - base <= Size) {
            // The last bytes, with nothing that counts after them.
            std::memset(tail, 0, sizeof tail);
            std::memcpy(tail, p, size_t(text.size() - base));
            p = tail;
        }
        const int valid = int(std::min(end - base, Size));
        const crlf::Window w = crlf::windowAt(p, valid, pairedLf);
        // Where the line begins in the window: 0 for one begun before it,
        // up to 65 for one that begins past a "\r\n" at its end.
        int from = int(std::max<qsizetype>(now.begin - base, 0));
        for (quint64 ends = w.pairs; ends != 0; ends &= ends - 1) {
            const int at = __builtin_ctzll(ends);
            const quint64 part = crlf::bitsBetween(from, at);
            now.colon = now.colon || (w.colons & part) != 0;
            now.spacePair = now.spacePair || (w.spacePairs & part) != 0;
            if (w.lone != 0)
                lone += __builtin_popcountll(w.lone & part);
            now.length = base + at - now.begin;
            line(std::as_const(now));
            now = CrLfLine{now.number + 1 + lone, base + at + 2, 0, false, false};
            lone = 0;
            from = at + 2;
        }
        const quint64 rest = crlf::bitsBetween(from, valid);
        now.colon = now.colon || (w.colons & rest) != 0;
        now.spacePair = now.spacePair || (w.spacePairs & rest) != 0;
        if (w.lone != 0)
            lone += __builtin_popcountll(w.lone & rest);
    }
    if (end == text.size() && now.begin <= end) {
        now.length = end - now.begin;
        line(std::as_const(now));
        return now.number + lone;
    }
    return now.number;
}
#else
// The same a byte at a time.
template <typename Line>
qint64 forEachCrLfLine(QByteArrayView text, qsizetype begin, qsizetype end, const std::function<bool()> &stopped,
                       Line line)
{
    const char *const data = text.data();
    CrLfLine now{0, begin, 0, false, false};
    qint64 lone = 0;
    for (qsizetype at = begin; at < end; ++at) {
        if (stopped && (at - begin) % (qsizetype(1) << 18) == 0 && stopped())
            return now.number;
        const char c = data[at];
        if (c == '\r' && at + 1 < text.size() && data[at + 1] == '\n') {
            now.length = at - now.begin;
            line(std::as_const(now));
            now = CrLfLine{now.number + 1 + lone, at + 2, 0, false, false};
            lone = 0;
            ++at;
        } else if (c == '\r' || c == '\n') {
            ++lone;
        } else if (c == ':') {
            now.colon = true;
        } else if (c == ' ' && at + 1 < text.size() && data[at + 1] == ' ') {
            now.spacePair = true;
        }
    }
    if (end == text.size() && now.begin <= end) {
        now.length = end - now.begin;
        line(std::as_const(now));
        return now.number + lone;
    }
    return now.number;
}
#endif

} // namespace zuno
