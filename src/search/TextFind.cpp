#include "search/TextFind.h"

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

} // namespace zuno
