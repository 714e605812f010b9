#include "text/TextFind.h"

#include "text/TextScan.h"

namespace zuno {

bool isWordCharacter(QChar c)
{
    return isWordCharacter(char32_t(c.unicode()));
}

bool isWordCharacter(char32_t c)
{
    return QChar::isLetterOrNumber(c) || c == U'_';
}

namespace {
// True when `at` falls between the "\r" and the "\n" of a line break: no
// occurrence may begin or end there, since the edit control cannot put a
// selection edge inside a line break.
bool insideLineBreak(QStringView text, qsizetype at)
{
    return at > 0 && at < text.size() && text[at - 1] == QLatin1Char('\r')
        && text[at] == QLatin1Char('\n');
}

// True when `at` falls between the two halves of a surrogate pair: no
// occurrence may begin or end inside a character, which the edit control
// holds as UTF-8 and cannot cut in two.
bool insideCharacter(QStringView text, qsizetype at)
{
    return at > 0 && at < text.size() && text[at - 1].isHighSurrogate() && text[at].isLowSurrogate();
}

// The character just before `at`, a surrogate pair taken as one.
char32_t characterBefore(QStringView text, qsizetype at)
{
    const QChar last = text[at - 1];
    if (last.isLowSurrogate() && at >= 2 && text[at - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[at - 2], last);
    return last.unicode();
}

// The character that begins at `at`, a surrogate pair taken as one.
char32_t characterAt(QStringView text, qsizetype at)
{
    const QChar first = text[at];
    if (first.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(first, text[at + 1]);
    return first.unicode();
}
} // namespace

qsizetype findText(QStringView haystack, QStringView needle, qsizetype from, bool matchCase,
                   bool wholeWord)
{
    if (needle.isEmpty() || from < 0 || from > haystack.size())
        return -1;
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = haystack.indexOf(needle, from, cs); at >= 0;
         at = haystack.indexOf(needle, at + 1, cs)) {
        const qsizetype end = at + needle.size();
        if (insideLineBreak(haystack, at) || insideLineBreak(haystack, end) || insideCharacter(haystack, at)
            || insideCharacter(haystack, end))
            continue;
        if (!wholeWord)
            return at;
        const bool startsWord = at == 0 || !isWordCharacter(characterBefore(haystack, at));
        const bool endsWord = end >= haystack.size() || !isWordCharacter(characterAt(haystack, end));
        if (startsWord && endsWord)
            return at;
    }
    return -1;
}

namespace {
char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c;
}

bool isAsciiWordCharacter(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool sameAscii(const char *a, const char *b, qsizetype n, bool matchCase)
{
    for (qsizetype i = 0; i < n; ++i) {
        if (a[i] != b[i] && (matchCase || lowerAscii(a[i]) != lowerAscii(b[i])))
            return false;
    }
    return true;
}

bool insideLineBreak(QByteArrayView text, qsizetype at)
{
    return at > 0 && at < text.size() && text[at - 1] == '\r' && text[at] == '\n';
}
} // namespace

qsizetype findAsciiText(QByteArrayView haystack, QByteArrayView needle, qsizetype from, bool matchCase,
                        bool wholeWord)
{
    if (needle.isEmpty() || from < 0 || from > haystack.size())
        return -1;
    const char first = needle[0];
    const char a = matchCase ? first : lowerAscii(first);
    const char b = matchCase ? first : upperAscii(first);
    const qsizetype last = haystack.size() - needle.size();
    for (qsizetype at = from; at <= last; ++at) {
        const qsizetype found = scan::indexOfEither(haystack.data() + at, last + 1 - at, a, b);
        if (found < 0)
            return -1;
        at += found;
        const qsizetype end = at + needle.size();
        if (!sameAscii(haystack.data() + at + 1, needle.data() + 1, needle.size() - 1, matchCase)
            || insideLineBreak(haystack, at) || insideLineBreak(haystack, end))
            continue;
        if (!wholeWord)
            return at;
        const bool startsWord = at == 0 || !isAsciiWordCharacter(haystack[at - 1]);
        const bool endsWord = end >= haystack.size() || !isAsciiWordCharacter(haystack[end]);
        if (startsWord && endsWord)
            return at;
    }
    return -1;
}

} // namespace zuno
