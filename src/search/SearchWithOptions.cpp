#include "search/SearchWithOptions.h"

#include "platform/MessageBox.h"
#include "search/ReplaceAllPlan.h"
#include "search/modFindReplaceRichText.h"
#include "text/TextFind.h"
#include "text/Utf8Text.h"

#include <QCoreApplication>

#include <algorithm>

namespace zuno {

namespace {

FindOptions optionValue(const SearchRequest &request)
{
    FindOptions options;
    options.setFlag(FindOption::WholeWord, request.wholeWord);
    options.setFlag(FindOption::MatchCase, request.matchCase);
    return options;
}

// The range searched: the request's, inside the text, or the whole text.
OffsetRange rangeOf(const IEditControl &control, const SearchRequest &request)
{
    const qint64 length = control.textLength();
    if (!request.scope)
        return {0, length};
    const qint64 to = std::clamp<qint64>(request.scope->to, 0, length);
    return {std::clamp<qint64>(request.scope->from, 0, to), to};
}

class CompoundEdit {
public:
    explicit CompoundEdit(IEditControl &control) : m_control(control) { m_control.beginCompoundEdit(); }
    ~CompoundEdit() { m_control.endCompoundEdit(); }
    CompoundEdit(const CompoundEdit &) = delete;
    CompoundEdit &operator=(const CompoundEdit &) = delete;

private:
    IEditControl &m_control;
};

void selectBytes(IEditControl &control, qint64 from, qint64 to)
{
    const qint64 start = control.textOffset(from);
    control.setSelStart(start);
    control.setSelLength(control.textOffset(to) - start);
}

// The first match of the expression in the range at or after `start`.
// What it captured stays readable while `scan` lives.
std::optional<RegexHit> firstMatch(IEditControl &control, const SearchExpression &expression, OffsetRange range,
                                   qint64 start, bool skipEmptyAtStart, std::optional<RegexScan> &scan)
{
    scan.emplace(expression, control.utf8Text(), control.bytePosition(range.from), control.bytePosition(range.to),
                 control.bytePosition(start), skipEmptyAtStart);
    return scan->next();
}

// The character of a UTF-8 text that begins at byte `at` (after) or ends
// there (before) continues a word.
bool wordCharacterAfter(QByteArrayView text, qint64 at)
{
    if (at < 0 || at >= text.size())
        return false;
    const int length = std::max(1, utf8SequenceLength(text.data() + at, text.size() - at));
    const QList<uint> characters = utf8ToText(text.sliced(at, length)).toUcs4();
    return !characters.isEmpty() && isWordCharacter(char32_t(characters.front()));
}

bool wordCharacterBefore(QByteArrayView text, qint64 at)
{
    qint64 from = at - 1;
    while (from > 0 && at - from < 4 && (uchar(text[from]) & 0xC0) == 0x80)
        --from;
    return at > 0 && wordCharacterAfter(text.first(at), from);
}

SearchOutcome findNextPlain(IEditControl &control, const SearchRequest &request, OffsetRange range, qint64 start)
{
    if (request.find.isEmpty() || start > range.to)
        return false;
    const qint64 oldStart = control.selStart();
    const qint64 oldLength = control.selLength();
    const qint64 at = control.find(request.find, start, optionValue(request));
    if (at < 0)
        return false;
    if (at + request.find.size() > range.to) {
        // Beyond the range: as if nothing was found.
        control.setSelStart(oldStart);
        control.setSelLength(oldLength);
        return false;
    }
    control.setFocus();
    return true;
}

} // namespace

SearchOutcome FindNextWith(IEditControl &control, const SearchRequest &request)
{
    const OffsetRange range = rangeOf(control, request);
    const qint64 start = request.fromScopeStart && request.scope
                             ? range.from
                             : std::max(range.from, control.selStart() + control.selLength());
    if (!request.regex) {
        if (!request.scope)
            return modFindReplaceRichText::FindNext(control, request.find, request.matchCase, request.wholeWord);
        return findNextPlain(control, request, range, start);
    }
    const auto expression = SearchExpression::compile(request.find, request.matchCase, request.wholeWord);
    if (!expression.ok())
        return expression.error();
    if (start > range.to)
        return false;
    std::optional<RegexScan> scan;
    const std::optional<RegexHit> hit = firstMatch(control, expression.value(), range, start,
                                                   control.selLength() == 0 && !request.fromScopeStart, scan);
    if (!hit)
        return false;
    selectBytes(control, hit->from, hit->to);
    control.setFocus();
    return true;
}

Result<ReplaceOutcome, ExpressionError> ReplaceOneWith(IEditControl &control, const QString &replacement,
                                                       const SearchRequest &request)
{
    const OffsetRange range = rangeOf(control, request);
    const qint64 selStart = control.selStart();
    const qint64 selLength = control.selLength();
    const bool inside = selStart >= range.from && selStart + selLength <= range.to;
    ReplaceOutcome outcome;
    bool replaced = false;
    if (request.regex) {
        const auto expression = SearchExpression::compile(request.find, request.matchCase, request.wholeWord);
        if (!expression.ok())
            return expression.error();
        std::optional<RegexScan> scan;
        const std::optional<RegexHit> hit =
            inside ? firstMatch(control, expression.value(), range, selStart, false, scan) : std::nullopt;
        if (hit && hit->from == control.bytePosition(selStart)
            && hit->to == control.bytePosition(selStart + selLength)) {
            const QString text = ReplacementTemplate(replacement).expand(hit->match);
            control.setSelText(text);
            outcome.lengthChange = text.size() - selLength;
            replaced = true;
        }
    } else if (inside && !request.find.isEmpty() && selLength == request.find.size()
               && findText(control.selText(), request.find, 0, request.matchCase, false) == 0) {
        control.setSelText(replacement);
        outcome.lengthChange = replacement.size() - selLength;
        replaced = true;
    }
    SearchRequest after = request;
    // After a replacement the search goes on after it.
    after.fromScopeStart = request.fromScopeStart && !replaced;
    if (after.scope)
        after.scope->to += outcome.lengthChange;
    const SearchOutcome found = FindNextWith(control, after);
    outcome.found = found.ok() && found.value();
    if (outcome.found)
        control.setFocus();
    return outcome;
}

Result<ReplaceAllOutcome, ExpressionError> ReplaceAllWith(IEditControl &control, const QString &replacement,
                                                          const SearchRequest &request)
{
    const OffsetRange range = rangeOf(control, request);
    const qint64 remembered = control.selStart();
    const QByteArrayView text = control.utf8Text();
    const qint64 fromByte = control.bytePosition(range.from);
    const qint64 toByte = control.bytePosition(range.to);
    ReplaceAllOutcome outcome;
    Utf8Replacements replacements;
    QList<Utf8Range> plainRanges;
    if (request.regex) {
        const auto expression = SearchExpression::compile(request.find, request.matchCase, request.wholeWord);
        if (!expression.ok())
            return expression.error();
        const ReplacementTemplate pieces(replacement);
        RegexScan scan(expression.value(), text, fromByte, toByte, fromByte);
        while (const std::optional<RegexHit> hit = scan.next()) {
            const QString with = pieces.expand(hit->match);
            replacements.add({hit->from, hit->to}, with.toUtf8());
            outcome.lengthChange += with.size() - hit->match.capturedLength();
        }
        outcome.count = replacements.count();
    } else {
        const modFindReplaceRichText::ReplaceAllPlan plan = modFindReplaceRichText::PlanReplaceAll(
            text.sliced(fromByte, toByte - fromByte), replacement, request.find, request.matchCase,
            request.wholeWord);
        for (const Utf8Range &r : plan.ranges) {
            // A whole word at an end of the range is one only when the text
            // beside the range does not go on with the word.
            if (request.wholeWord && ((r.from == 0 && wordCharacterBefore(text, fromByte))
                                      || (fromByte + r.to == toByte && wordCharacterAfter(text, toByte))))
                continue;
            plainRanges.append({r.from + fromByte, r.to + fromByte});
        }
        outcome.count = plainRanges.size();
        outcome.lengthChange = outcome.count * (replacement.size() - request.find.size());
    }
    {
        CompoundEdit edit(control);
        if (request.regex)
            control.replaceEach(replacements);
        else if (!plainRanges.isEmpty())
            control.replaceRanges(plainRanges, replacement.toUtf8());
        if (request.scope) {
            // The range stays selected, as it is now, for the next search in it.
            control.setSelStart(range.from);
            control.setSelLength(range.to + outcome.lengthChange - range.from);
        } else {
            control.setSelStart(remembered);
        }
    }
    if (outcome.count > 0)
        control.setFocus();
    return outcome;
}

Result<qint64, ExpressionError> FindPreviousWith(IEditControl &control, const SearchRequest &request,
                                                 qint64 before)
{
    const auto expression = SearchExpression::compile(request.find, request.matchCase, request.wholeWord);
    if (!expression.ok())
        return expression.error();
    const QByteArrayView text = control.utf8Text();
    const qint64 beforeByte = control.bytePosition(std::clamp<qint64>(before, 0, control.textLength()));
    constexpr qint64 ChunkBytes = qint64(1) << 20;
    // A stretch of whole lines at a time, backwards; the last match of the
    // first stretch that has one.
    for (qint64 chunkEnd = beforeByte;;) {
        const qint64 chunkStart = expression.value().spansLines()
                                      ? 0
                                      : lineStartByte(text, std::max<qint64>(0, chunkEnd - ChunkBytes));
        RegexScan scan(expression.value(), text, chunkStart, chunkEnd, chunkStart);
        std::optional<RegexHit> last;
        while (std::optional<RegexHit> hit = scan.next()) {
            // An empty match at the start itself would be found again and again.
            if (!(hit->from == hit->to && hit->from == beforeByte))
                last = std::move(hit);
        }
        if (last) {
            selectBytes(control, last->from, last->to);
            control.setFocus();
            return control.selStart();
        }
        if (chunkStart == 0)
            break;
        chunkEnd = chunkStart;
    }
    return qint64(-1);
}

bool findAgainExpression(IEditControl &control, const LastSearch &search, bool backwards, IMessageBox &messages)
{
    const SearchRequest request{search.text, search.matchCase, search.wholeWord, true, std::nullopt};
    bool found = false;
    if (backwards) {
        const auto at = FindPreviousWith(control, request, control.selStart());
        if (!at.ok()) {
            showExpressionError(messages, at.error());
            return true;
        }
        found = at.value() >= 0;
    } else {
        const SearchOutcome outcome = FindNextWith(control, request);
        if (!outcome.ok()) {
            showExpressionError(messages, outcome.error());
            return true;
        }
        found = outcome.value();
    }
    if (!found)
        messages.show(QCoreApplication::translate("FindReplaceCommands", "Search String Not Found."),
                      MessageButtons::Ok, MessageIcon::Information);
    return true;
}

void showExpressionError(IMessageBox &messages, const ExpressionError &error)
{
    messages.show(QCoreApplication::translate("FindReplaceCommands",
                                              "The regular expression is not valid at position %1: %2.")
                      .arg(error.position + 1)
                      .arg(error.what),
                  MessageButtons::Ok, MessageIcon::Warning,
                  QCoreApplication::translate("FindReplaceCommands", "Invalid Regular Expression"));
}

// ------------------------------------------------------------ scope

void SearchScope::take(const IEditControl &control)
{
    if (control.selLength() > 0)
        m_range = OffsetRange{control.selStart(), control.selStart() + control.selLength()};
    m_leftStart = control.selStart();
    m_leftLength = control.selLength();
    m_fresh = true;
}

void SearchScope::clear()
{
    m_range.reset();
    m_leftStart = m_leftLength = -1;
    m_fresh = false;
}

std::optional<OffsetRange> SearchScope::resolve(const IEditControl &control)
{
    if (control.selLength() > 0 && (control.selStart() != m_leftStart || control.selLength() != m_leftLength))
        take(control);
    if (m_range) {
        const qint64 length = control.textLength();
        m_range->to = std::clamp<qint64>(m_range->to, 0, length);
        m_range->from = std::clamp<qint64>(m_range->from, 0, m_range->to);
    }
    return m_range;
}

void SearchScope::searched(const IEditControl &control, qint64 lengthChange, bool rangeSelected)
{
    if (m_range)
        m_range->to += lengthChange;
    m_leftStart = control.selStart();
    m_leftLength = control.selLength();
    m_fresh = rangeSelected;
}

} // namespace zuno
