#include "edit/modGoTo.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>

namespace zuno {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Past this an exponent only saturates: no entry has enough digits for the
// difference to matter.
constexpr qint64 ExponentLimit = 1'000'000'000'000;

// The largest double is just below 1.8e308: a value whose leading digit
// stands at 10^309 or beyond is out of its range, one at 10^308 may be.
constexpr qint64 DoubleMaxDecimalExponent = 308;

} // namespace

std::optional<qint64> readLineNumber(QStringView entry)
{
    qsizetype at = 0;
    qsizetype end = entry.size();
    while (at < end && isBlank(entry[at]))
        ++at;
    while (end > at && isBlank(entry[end - 1]))
        --end;
    if (at == end)
        return std::nullopt;

    bool negative = false;
    if (entry[at] == QLatin1Char('+') || entry[at] == QLatin1Char('-')) {
        negative = entry[at] == QLatin1Char('-');
        ++at;
    }

    // Mantissa: the digits before and after the point, as one digit string
    // whose value is scaled by 10^-fractionDigits.
    std::string digits;
    qint64 fractionDigits = 0;
    bool anyDigit = false;
    while (at < end && isDigit(entry[at])) {
        anyDigit = true;
        if (!digits.empty() || entry[at] != QLatin1Char('0'))
            digits.push_back(char(entry[at].unicode()));
        ++at;
    }
    if (at < end && entry[at] == QLatin1Char('.')) {
        ++at;
        while (at < end && isDigit(entry[at])) {
            anyDigit = true;
            if (!digits.empty() || entry[at] != QLatin1Char('0'))
                digits.push_back(char(entry[at].unicode()));
            ++fractionDigits; // leading zeros of the fraction still scale
            ++at;
        }
    }
    if (!anyDigit)
        return std::nullopt;

    qint64 exponent = 0;
    if (at < end && (entry[at] == QLatin1Char('e') || entry[at] == QLatin1Char('E'))) {
        ++at;
        bool negativeExponent = false;
        if (at < end && (entry[at] == QLatin1Char('+') || entry[at] == QLatin1Char('-'))) {
            negativeExponent = entry[at] == QLatin1Char('-');
            ++at;
        }
        if (at == end || !isDigit(entry[at]))
            return std::nullopt;
        while (at < end && isDigit(entry[at])) {
            exponent = std::min(exponent * 10 + (entry[at].unicode() - '0'), ExponentLimit);
            ++at;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    if (at != end)
        return std::nullopt;

    if (digits.empty())
        return 0; // zero, whatever its exponent

    // The value is digits * 10^scale; its leading digit stands at
    // 10^(count - 1 + scale).
    const qint64 count = qint64(digits.size());
    const qint64 scale = exponent - fractionDigits;
    const qint64 leading = count - 1 + scale;
    if (leading > DoubleMaxDecimalExponent)
        return std::nullopt;
    if (leading == DoubleMaxDecimalExponent) {
        const std::string normal = digits + 'e' + std::to_string(scale);
        double value = 0;
        const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
        if (result.ec == std::errc::result_out_of_range)
            return std::nullopt;
    }

    // Whole part and rounding, from the exact digits.
    const qint64 wholeDigits = count + scale; // digits before the point
    qint64 magnitude = 0;
    if (wholeDigits > 18) {
        magnitude = LineNumberLimit;
    } else if (scale >= 0) {
        magnitude = std::stoll(digits);
        for (qint64 i = 0; i < scale; ++i)
            magnitude *= 10;
    } else {
        if (wholeDigits > 0)
            magnitude = std::stoll(digits.substr(0, size_t(wholeDigits)));
        // The first dropped digit decides, the rest only break a tie.
        const int dropped = wholeDigits >= 0 ? digits[size_t(wholeDigits)] - '0' : 0;
        const bool beyondHalf = wholeDigits >= 0
            && digits.find_first_not_of('0', size_t(wholeDigits) + 1) != std::string::npos;
        if (dropped > 5 || (dropped == 5 && (beyondHalf || magnitude % 2 == 1)))
            ++magnitude;
    }
    magnitude = std::min(magnitude, LineNumberLimit);
    return negative ? -magnitude : magnitude;
}

namespace {

// The first offset on line `line` (from 0), which must exist: the line
// number of an offset never decreases along the text.
qint64 lineStart(const IEditControl &editor, qint64 line)
{
    qint64 low = 0;
    qint64 high = editor.textLength();
    while (low < high) {
        const qint64 mid = low + (high - low) / 2;
        if (editor.lineFromChar(mid) >= line)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

} // namespace

qint64 goToLineTarget(const IEditControl &editor, qint64 caret, qint64 line)
{
    // Passing no line break leaves the caret where it is; a caret at the
    // very start counts as standing at 1.
    const qint64 stay = caret == 0 ? 1 : caret;
    const qint64 caretLine = editor.lineFromChar(caret) + 1;
    if (line == caretLine)
        return stay;
    if (line > caretLine) {
        // Forwards: one line break after another, stopping at the last.
        const qint64 lineCount = editor.lineFromChar(editor.textLength()) + 1;
        if (caretLine >= lineCount)
            return stay;
        return lineStart(editor, std::min(line, lineCount) - 1);
    }
    // Backwards: back past the line break that ends line - 1, or to the
    // start of the text when there is none.
    if (line <= 1)
        return 0;
    return lineStart(editor, line - 1);
}

void GoToLine(IEditControl &editor, IGoToLineDialog &dialog, IMessageBox &messages)
{
    // A dialog closed by its close box is gone with its entry; the next use
    // finds an empty one.
    auto show = [&dialog] {
        const GoToLineOutcome outcome = dialog.showModal();
        if (outcome == GoToLineOutcome::Closed)
            dialog.setEntry(QString());
        return outcome;
    };

    show();
    qint64 target = 0; // an empty entry: the start of the text
    if (!dialog.entry().isEmpty()) {
        std::optional<qint64> line = readLineNumber(dialog.entry());
        while (!line) {
            showWarning(messages, GoToNotNumericText, GoToNotNumericTitle);
            // The dialog comes back still showing the entry. Cancel or the
            // close box now give up, leaving the caret where it was.
            if (show() != GoToLineOutcome::Ok)
                return;
            line = readLineNumber(dialog.entry());
        }
        dialog.setEntry(QString());
        target = goToLineTarget(editor, editor.selStart(), *line);
    }
    editor.setSelStart(target);
}

} // namespace zuno
