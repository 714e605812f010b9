#pragma once
// Regular expressions for Find and Replace: Perl-compatible syntax (Qt's
// QRegularExpression), matched over the document's UTF-8 text a stretch of
// whole lines at a time.
//
// The lines rule: a match never runs over the "\r\n" between two lines
// unless the expression itself names the line break ("\r\n" or "\R"); each
// line is then matched as a subject of its own, so "^" and "$" stand at the
// ends of lines, "." takes a lone "\r" or "\n" (a character of its line) and
// "\s+" stops at the end of its line. An expression that names the line
// break is matched over the whole text, and its matches may run over lines,
// but they never begin or end between the "\r" and "\n" of a line break.
#include "Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringView>

#include <optional>
#include <variant>

namespace zuno {

// Why an expression cannot be used, and where (a character of the
// expression, counted from 0).
struct ExpressionError {
    QString what;
    qsizetype position = 0;
};

class SearchExpression {
public:
    // Case follows `matchCase`; with `wholeWord` a match must neither begin
    // nor end inside a word.
    static Result<SearchExpression, ExpressionError> compile(const QString &pattern, bool matchCase,
                                                             bool wholeWord);

    // The expression names the line break: its matches may run over lines.
    bool spansLines() const { return m_spansLines; }
    const QRegularExpression &regex() const { return m_regex; }

private:
    QRegularExpression m_regex;
    bool m_spansLines = false;
};

// A replacement text with the captures of a match in it: "\0" the whole
// match, "\1" to "\9" the groups (empty for a group that took no part);
// "\\" a backslash, "\n", "\r" and "\t" those characters; any other
// backslash stands for itself.
class ReplacementTemplate {
public:
    explicit ReplacementTemplate(const QString &text);
    QString expand(const QRegularExpressionMatch &match) const;
    // The text holds no capture: every expansion gives the same.
    bool isFixed() const;

private:
    // A piece is literal text, or a group's number (group >= 0).
    struct Piece {
        QString text;
        int group = -1;
    };
    QList<Piece> m_pieces;
};

// A match found in the UTF-8 text: its bytes and what it captured.
struct RegexHit {
    qint64 from = 0; // byte positions
    qint64 to = 0;
    QRegularExpressionMatch match;
};

// The matches of an expression in bytes [scopeFrom, scopeTo) of a UTF-8
// text, first to last, beginning at byte `searchFrom` (which starts a
// character; a match never begins before it). A line cut by the ends of the
// scope is matched whole, so that "^", "$", word boundaries and look-arounds
// see the text beside the scope, and a match counts only when it ends inside
// the scope (an empty one at its end only when that is not the start of a
// line the scope leaves out). After a match, the next is
// looked for from its end; an empty match right where the previous one
// ended, or at `searchFrom` when `skipEmptyAtStart`, is passed over, so
// that a scan always moves on.
class RegexScan {
public:
    RegexScan(const SearchExpression &expression, QByteArrayView utf8, qint64 scopeFrom, qint64 scopeTo,
              qint64 searchFrom, bool skipEmptyAtStart = false, qint64 stretchBytes = qint64(1) << 20);

    std::optional<RegexHit> next();

private:
    bool loadStretch(qint64 fromByte);
    std::optional<QRegularExpressionMatch> matchFrom(qsizetype from);
    qint64 byteOf(qsizetype offset);

    const SearchExpression &m_expression;
    QByteArrayView m_utf8;
    qint64 m_scopeTo;
    // The end of the text read: the end of the line the scope ends in.
    qint64 m_contextTo = 0;
    bool m_scopeEndsAfterBreak = false;
    bool m_finished = false;
    qint64 m_stretchBytes;

    // The stretch being matched: its bytes from m_stretchFrom, decoded.
    qint64 m_stretchFrom = 0;
    qint64 m_stretchTo = 0;
    QString m_text;
    bool m_ascii = true;
    // Where the next search in the stretch begins, and where the last match
    // ended (-1: an empty match is not passed over there).
    qsizetype m_at = 0;
    qsizetype m_lastEnd = -1;
    // Where the subject of the last match began in the stretch (a line of
    // its own, or the stretch).
    qsizetype m_lineOffset = 0;
    bool m_loaded = false;
    qint64 m_firstSearch;
    // Turning increasing offsets of the stretch into bytes.
    qsizetype m_countedUnits = 0;
    qint64 m_countedBytes = 0;
};

// The text between the "\r\n" line breaks around byte `position` of a
// UTF-8 text: the byte where its line starts.
qint64 lineStartByte(QByteArrayView utf8, qint64 position);

} // namespace zuno
