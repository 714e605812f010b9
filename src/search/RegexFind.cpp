#include "search/RegexFind.h"

#include "text/TextScan.h"
#include "text/Utf8Text.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace zuno {

namespace {

// "\r\n" as the expression's own line break, so that "." never takes the
// "\r" of one and "^" and "$" stand beside it (a lone "\r" or "\n" belongs
// to its line).
const QString LineBreakVerb = QStringLiteral("(*CRLF)");
// Neither side of a whole-word match may continue a word (letters, digits
// and the underscore, as the plain search counts them).
const QString NoWordBefore = QStringLiteral("(?<![\\p{L}\\p{N}_])(?:");
const QString NoWordAfter = QStringLiteral(")(?![\\p{L}\\p{N}_])");

bool namesLineBreak(const QString &pattern)
{
    return pattern.contains(QLatin1String("\\r\\n")) || pattern.contains(QLatin1String("\\R"));
}

bool insidePair(QStringView text, qsizetype at)
{
    return at > 0 && at < text.size() && text[at - 1] == u'\r' && text[at] == u'\n';
}

bool insideSurrogates(QStringView text, qsizetype at)
{
    return at > 0 && at < text.size() && text[at - 1].isHighSurrogate() && text[at].isLowSurrogate();
}

// The next place a search may begin after `at`: one character on.
qsizetype stepOn(QStringView text, qsizetype at)
{
    ++at;
    if (insidePair(text, at) || insideSurrogates(text, at))
        ++at;
    return at;
}

// UTF-8 bytes of the UTF-16 unit at `i` (a surrogate pair's four at its
// high half).
int utf8Bytes(QStringView text, qsizetype i)
{
    const char16_t unit = text[i].unicode();
    if (unit < 0x80)
        return 1;
    if (unit < 0x800)
        return 2;
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
        return 4;
    if (QChar::isLowSurrogate(unit) && i > 0 && QChar::isHighSurrogate(text[i - 1].unicode()))
        return 0;
    return 3;
}

} // namespace

Result<SearchExpression, ExpressionError> SearchExpression::compile(const QString &pattern, bool matchCase,
                                                                    bool wholeWord)
{
    // "\w", "\d", "\b" and the POSIX classes take letters and digits beyond
    // ASCII too, as the whole-word rule and the plain search do.
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (!matchCase)
        options |= QRegularExpression::CaseInsensitiveOption;
    // The expression as written is checked first, so that a fault's place
    // is one in the text the user typed.
    const QRegularExpression asWritten(pattern, options);
    if (!asWritten.isValid())
        return ExpressionError{asWritten.errorString(), std::max<qsizetype>(0, asWritten.patternErrorOffset())};
    SearchExpression expression;
    expression.m_spansLines = namesLineBreak(pattern);
    QString decorated = wholeWord ? NoWordBefore + pattern + NoWordAfter : pattern;
    if (!expression.m_spansLines)
        decorated = LineBreakVerb + decorated;
    expression.m_regex = QRegularExpression(decorated, options | QRegularExpression::MultilineOption);
    if (!expression.m_regex.isValid())
        return ExpressionError{expression.m_regex.errorString(), 0};
    expression.m_regex.optimize();
    return expression;
}

// ------------------------------------------------------------ replacement

ReplacementTemplate::ReplacementTemplate(const QString &text)
{
    QString literal;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\' || i + 1 == text.size()) {
            literal += c;
            continue;
        }
        const QChar after = text[++i];
        if (after >= u'0' && after <= u'9') {
            if (!literal.isEmpty())
                m_pieces.append({literal, -1});
            literal.clear();
            m_pieces.append({QString(), after.unicode() - u'0'});
        } else if (after == u'\\') {
            literal += u'\\';
        } else if (after == u'n') {
            literal += u'\n';
        } else if (after == u'r') {
            literal += u'\r';
        } else if (after == u't') {
            literal += u'\t';
        } else {
            literal += c;
            literal += after;
        }
    }
    if (!literal.isEmpty() || m_pieces.isEmpty())
        m_pieces.append({literal, -1});
}

bool ReplacementTemplate::isFixed() const
{
    return std::none_of(m_pieces.cbegin(), m_pieces.cend(), [](const Piece &p) { return p.group >= 0; });
}

QString ReplacementTemplate::expand(const QRegularExpressionMatch &match) const
{
    if (m_pieces.size() == 1 && m_pieces[0].group < 0)
        return m_pieces[0].text;
    QString out;
    for (const Piece &piece : m_pieces) {
        if (piece.group < 0)
            out += piece.text;
        else if (piece.group <= match.lastCapturedIndex())
            out += match.capturedView(piece.group);
    }
    return out;
}

// ------------------------------------------------------------ scan

qint64 lineStartByte(QByteArrayView utf8, qint64 position)
{
    position = std::clamp<qint64>(position, 0, utf8.size());
    while (position >= 2) {
        const auto *start = utf8.data();
        // The last "\n" before `position`.
        qint64 at = position - 1;
        while (at >= 0 && start[at] != '\n')
            --at;
        if (at < 0)
            return 0;
        if (at >= 1 && start[at - 1] == '\r')
            return at + 1;
        position = at;
    }
    return 0;
}

RegexScan::RegexScan(const SearchExpression &expression, QByteArrayView utf8, qint64 scopeFrom, qint64 scopeTo,
                     qint64 searchFrom, bool skipEmptyAtStart, qint64 stretchBytes)
    : m_expression(expression), m_utf8(utf8), m_scopeTo(std::clamp<qint64>(scopeTo, 0, utf8.size())),
      m_stretchBytes(std::max<qint64>(stretchBytes, 1)), m_firstSearch(searchFrom)
{
    scopeFrom = std::clamp<qint64>(scopeFrom, 0, m_scopeTo);
    m_firstSearch = std::clamp<qint64>(searchFrom, scopeFrom, m_scopeTo);
    // The text around the scope is read too, so that "^", "$", "\b", a
    // whole word and a look around see the characters beside its ends; a
    // match must still lie inside it.
    m_stretchFrom = lineStartByte(utf8, m_firstSearch);
    // An expression that runs over lines may look back over them too.
    if (expression.spansLines())
        m_stretchFrom = std::min(scopeFrom, m_stretchFrom);
    m_contextTo = m_scopeTo;
    if (m_scopeTo < utf8.size()) {
        const std::string_view rest(utf8.data() + m_scopeTo, size_t(utf8.size() - m_scopeTo));
        const size_t at = rest.find("\r\n");
        m_contextTo = at == std::string_view::npos ? utf8.size() : m_scopeTo + qint64(at) + 2;
        // A scope that ends after a line break holds no part of the next line.
        m_scopeEndsAfterBreak = m_scopeTo >= 2 && utf8[m_scopeTo - 2] == '\r' && utf8[m_scopeTo - 1] == '\n';
    }
    m_lastEnd = skipEmptyAtStart ? -2 : -1;
}

bool RegexScan::loadStretch(qint64 fromByte)
{
    if (fromByte > m_scopeTo || (fromByte == m_scopeTo && m_loaded))
        return false;
    qint64 to = m_contextTo;
    if (!m_expression.spansLines()) {
        // Whole lines: just after the first "\r\n" at or beyond the size.
        qint64 at = std::min(m_contextTo, fromByte + m_stretchBytes);
        while (at < m_contextTo) {
            const void *lf = std::memchr(m_utf8.data() + at, '\n', size_t(m_contextTo - at));
            if (!lf)
                break;
            at = static_cast<const char *>(lf) - m_utf8.data() + 1;
            if (at >= 2 && m_utf8[at - 2] == '\r') {
                to = at;
                break;
            }
        }
    }
    m_stretchFrom = fromByte;
    m_stretchTo = to;
    const QByteArrayView bytes = m_utf8.sliced(fromByte, to - fromByte);
    m_ascii = !scan::hasByteBeyondAscii(bytes.data(), bytes.size());
    m_text = m_ascii ? QString::fromLatin1(bytes) : utf8ToText(bytes);
    m_countedUnits = 0;
    m_countedBytes = 0;
    m_loaded = true;
    return true;
}

qint64 RegexScan::byteOf(qsizetype offset)
{
    if (m_ascii)
        return m_stretchFrom + offset;
    if (offset < m_countedUnits) {
        m_countedUnits = 0;
        m_countedBytes = 0;
    }
    for (; m_countedUnits < offset; ++m_countedUnits)
        m_countedBytes += utf8Bytes(m_text, m_countedUnits);
    return m_stretchFrom + m_countedBytes;
}

std::optional<QRegularExpressionMatch> RegexScan::matchFrom(qsizetype from)
{
    const QStringView text(m_text);
    const QRegularExpression &regex = m_expression.regex();
    while (from <= text.size()) {
        // The stretch is valid UTF-16 (decoded from UTF-8 or Latin-1): the
        // check of the whole subject at every call is left out.
        QRegularExpressionMatch match =
            regex.match(text, from, QRegularExpression::NormalMatch, QRegularExpression::DontCheckSubjectStringMatchOption);
        if (!match.hasMatch())
            return std::nullopt;
        const qsizetype start = match.capturedStart();
        const qsizetype end = match.capturedEnd();
        if (m_expression.spansLines()) {
            if (insidePair(text, start) || insidePair(text, end)) {
                from = stepOn(text, start);
                continue;
            }
        } else {
            // The line the match begins in, without its line break.
            const qsizetype lineStart = start >= 2 ? text.lastIndexOf(u"\r\n", start - 2) : -1;
            const qsizetype contentFrom = lineStart < 0 ? 0 : lineStart + 2;
            qsizetype contentEnd = text.indexOf(u"\r\n", contentFrom);
            if (contentEnd < 0)
                contentEnd = text.size();
            if (start < contentFrom || end > contentEnd) {
                // It ran over a line break: the line is matched on its own.
                if (start <= contentEnd) {
                    const QStringView line = text.sliced(contentFrom, contentEnd - contentFrom);
                    QRegularExpressionMatch inLine =
                        regex.match(line, std::max(from, contentFrom) - contentFrom, QRegularExpression::NormalMatch,
                                    QRegularExpression::DontCheckSubjectStringMatchOption);
                    if (inLine.hasMatch()) {
                        const qsizetype lineMatchStart = contentFrom + inLine.capturedStart();
                        if (inLine.capturedLength() == 0 && lineMatchStart == m_lastEnd) {
                            from = stepOn(text, lineMatchStart);
                            continue;
                        }
                        m_lineOffset = contentFrom;
                        return inLine;
                    }
                }
                from = contentEnd + 2;
                continue;
            }
        }
        if (match.capturedLength() == 0 && start == m_lastEnd) {
            from = stepOn(text, start);
            continue;
        }
        m_lineOffset = 0;
        return match;
    }
    return std::nullopt;
}

std::optional<RegexHit> RegexScan::next()
{
    if (m_finished)
        return std::nullopt;
    if (!m_loaded) {
        const qint64 first = m_firstSearch;
        if (!loadStretch(m_stretchFrom))
            return std::nullopt;
        m_at = m_ascii ? first - m_stretchFrom
                       : utf8ToText(m_utf8.sliced(m_stretchFrom, first - m_stretchFrom)).size();
        if (m_lastEnd == -2)
            m_lastEnd = m_at;
    }
    for (;;) {
        if (std::optional<QRegularExpressionMatch> match = matchFrom(m_at)) {
            const qsizetype start = m_lineOffset + match->capturedStart();
            const qsizetype end = m_lineOffset + match->capturedEnd();
            RegexHit hit;
            hit.from = byteOf(start);
            hit.to = byteOf(end);
            if (hit.to > m_scopeTo || (hit.from == m_scopeTo && m_scopeEndsAfterBreak)) {
                // Past the scope's end: so is every later match.
                m_finished = true;
                return std::nullopt;
            }
            hit.match = std::move(*match);
            m_lastEnd = end;
            m_at = end;
            return hit;
        }
        if (m_stretchTo >= m_scopeTo || !loadStretch(m_stretchTo))
            return std::nullopt;
        m_at = 0;
        m_lastEnd = -1;
    }
}

} // namespace zuno
