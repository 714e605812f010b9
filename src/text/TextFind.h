#pragma once
// The matching rule behind the edit control's find operation, shared by the
// real control and its double.
#include <QByteArrayView>
#include <QStringView>

namespace zuno {

// A space or a tab.
inline bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// A character that continues a word: a letter, a digit or the underscore.
// Letters outside the Basic Multilingual Plane count as well: the word test
// of findText takes a surrogate pair as one character.
bool isWordCharacter(QChar c);
bool isWordCharacter(char32_t c);

// Offset of the first occurrence of `needle` in `haystack` that begins at or
// after `from`, or -1. Without match case, letters match whatever their case
// (Unicode case folding). With whole word, the characters just before and
// just after an occurrence must not continue a word. An occurrence never
// begins or ends between the "\r" and "\n" of a line break, nor between the
// two halves of a surrogate pair. An empty needle is never found.
qsizetype findText(QStringView haystack, QStringView needle, qsizetype from, bool matchCase,
                   bool wholeWord);

// The same rule where both texts are ASCII, as bytes (a byte is a
// character): what Replace All uses on the stretches of a document that hold
// nothing else, where it gives what findText would give on their characters.
qsizetype findAsciiText(QByteArrayView haystack, QByteArrayView needle, qsizetype from, bool matchCase,
                        bool wholeWord);

} // namespace zuno
