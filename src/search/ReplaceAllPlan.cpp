#include "search/ReplaceAllPlan.h"

#include "text/TextFind.h"
#include "text/TextScan.h"
#include "text/Utf8Text.h"


#include <algorithm>
#include <cstring>

namespace zuno::modFindReplaceRichText {

namespace {

// A stretch of the text as planInText reads it: decoded, with the
// matching rule of findText.
struct DecodedStretch {
    QStringView text;
    const QString &find;
    bool matchCase;
    bool wholeWord;

    QString piece(qsizetype from, qsizetype length) const { return text.mid(from, length).toString(); }
    qsizetype findFrom(qsizetype from) const { return findText(text, find, from, matchCase, wholeWord); }
};

// A stretch of ASCII bytes with an ASCII find text, read as it is: each
// byte a character.
struct AsciiStretch {
    QByteArrayView text;
    QByteArrayView find;
    bool matchCase;
    bool wholeWord;

    QString piece(qsizetype from, qsizetype length) const
    {
        if (from >= text.size())
            return QString();
        return QString::fromLatin1(text.sliced(from, std::min(length, text.size() - from)));
    }
    qsizetype findFrom(qsizetype from) const { return findAsciiText(text, find, from, matchCase, wholeWord); }
};

// The offsets (characters of the stretch) at which the loop replaces
// `sFind` in `text`. The text as the loop sees it is what it has written
// so far followed by the untouched rest of the text from `pos`. An
// occurrence that begins right at `pos` is judged against the last
// characters written (`tail`), which may come from the replacement; any
// later one lies wholly in the untouched text.
template <typename Stretch>
QList<qsizetype> planInText(const Stretch &text, const QString &sReplace, const QString &sFind, bool bMatchCase,
                            bool bWholeWord)
{
    QList<qsizetype> positions;
    const Qt::CaseSensitivity cs = bMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QString tail;
    qsizetype pos = 0;
    for (;;) {
        qsizetype at = -1;
        // The written characters are looked at only where the find text
        // stands right at `pos`.
        if (text.piece(pos, sFind.size()).compare(sFind, cs) == 0) {
            const QString window = tail + text.piece(pos, sFind.size() + 2);
            if (findText(window, sFind, tail.size(), bMatchCase, bWholeWord) == tail.size())
                at = pos;
        }
        if (at < 0)
            at = text.findFrom(pos + 1);
        if (at < 0)
            break;
        positions.append(at);
        const qsizetype kept = std::max(pos, at - 2);
        tail = (tail + text.piece(kept, at - kept) + sReplace.right(2)).right(2);
        pos = at + sFind.size();
    }
    return positions;
}

// The end of the stretch that starts at `from`: just after the first
// "\r\n" at or beyond `from + size`, or the end of the text.
qsizetype stretchEnd(QByteArrayView text, qsizetype from, qsizetype size)
{
    qsizetype at = std::min(text.size(), from + std::max<qsizetype>(size, 1));
    while (at < text.size()) {
        const auto *lf = static_cast<const char *>(std::memchr(text.data() + at, '\n', size_t(text.size() - at)));
        if (!lf)
            return text.size();
        at = lf - text.data() + 1;
        if (at >= 2 && text[at - 2] == '\r')
            return at;
    }
    return text.size();
}

} // namespace

ReplaceAllPlan PlanReplaceAll(QByteArrayView utf8Text, const QString &sReplace, const QString &sFind,
                              bool bMatchCase, bool bWholeWord, qsizetype stretchBytes)
{
    ReplaceAllPlan plan;
    if (sFind.isEmpty())
        return plan;
    // Without a line break an occurrence never crosses one, and a line
    // break never continues a word: each stretch of whole lines is planned
    // on its own.
    const bool multiLine = sFind.contains(QLatin1Char('\r')) || sFind.contains(QLatin1Char('\n'));
    // A stretch of ASCII needs no decoding when the find text is ASCII too:
    // its bytes are its characters.
    const bool findIsAscii = std::all_of(sFind.cbegin(), sFind.cend(), [](QChar c) { return c.unicode() < 0x80; });
    const QByteArray asciiFind = findIsAscii ? sFind.toLatin1() : QByteArray();
    for (qsizetype from = 0; from < utf8Text.size();) {
        const qsizetype to = multiLine ? utf8Text.size() : stretchEnd(utf8Text, from, stretchBytes);
        const QByteArrayView bytes = utf8Text.sliced(from, to - from);
        if (findIsAscii && !scan::hasByteBeyondAscii(bytes.data(), bytes.size())) {
            const AsciiStretch stretch{bytes, asciiFind, bMatchCase, bWholeWord};
            for (const qsizetype at : planInText(stretch, sReplace, sFind, bMatchCase, bWholeWord))
                plan.ranges.append({from + at, from + at + sFind.size()});
        } else {
            const QString decoded = utf8ToText(bytes);
            const DecodedStretch stretch{decoded, sFind, bMatchCase, bWholeWord};
            Utf8Walker counter(bytes);
            for (const qsizetype at : planInText(stretch, sReplace, sFind, bMatchCase, bWholeWord)) {
                const qint64 start = from + counter.positionOf(at);
                plan.ranges.append({start, from + counter.positionOf(at + sFind.size())});
            }
        }
        from = to;
    }
    return plan;
}

} // namespace zuno::modFindReplaceRichText
