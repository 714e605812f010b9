#include "edit/modGoTo.h"

#include "text/TextFind.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>

namespace zuno {

namespace {

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

// A number as written: sign * digits * 10^scale, the digits without leading
// zeros (none at all for zero).
struct WrittenNumber {
    bool negative = false;
    std::string digits;
    qint64 scale = 0;
};

// Reads the characters of an entry one by one.
class EntryReader {
public:
    explicit EntryReader(QStringView entry) : m_entry(entry), m_end(entry.size())
    {
        while (m_at < m_end && isBlank(m_entry[m_at]))
            ++m_at;
        while (m_end > m_at && isBlank(m_entry[m_end - 1]))
            --m_end;
    }
    bool atEnd() const { return m_at == m_end; }
    bool take(QLatin1Char c)
    {
        if (atEnd() || m_entry[m_at] != c)
            return false;
        ++m_at;
        return true;
    }
    bool takeSign() // true for a minus
    {
        return !take(QLatin1Char('+')) && take(QLatin1Char('-'));
    }
    bool nextIsDigit() const { return !atEnd() && isDigit(m_entry[m_at]); }
    int takeDigit() { return m_entry[m_at++].unicode() - '0'; }

private:
    QStringView m_entry;
    qsizetype m_at = 0;
    qsizetype m_end = 0;
};

// Digits before and after an optional point, as one digit string; every
// digit after the point lowers the scale by one. Nothing without a digit.
std::optional<WrittenNumber> readMantissa(EntryReader &reader)
{
    WrittenNumber number;
    bool anyDigit = false;
    auto readDigits = [&](bool afterPoint) {
        while (reader.nextIsDigit()) {
            const int digit = reader.takeDigit();
            anyDigit = true;
            if (!number.digits.empty() || digit != 0)
                number.digits.push_back(char('0' + digit));
            if (afterPoint)
                --number.scale; // leading zeros of the fraction still scale
        }
    };
    readDigits(false);
    if (reader.take(QLatin1Char('.')))
        readDigits(true);
    if (!anyDigit)
        return std::nullopt;
    return number;
}

// An optional "e" or "E", a sign and digits; saturates at ExponentLimit.
std::optional<qint64> readExponent(EntryReader &reader)
{
    if (!reader.take(QLatin1Char('e')) && !reader.take(QLatin1Char('E')))
        return 0;
    const bool negative = reader.takeSign();
    if (!reader.nextIsDigit())
        return std::nullopt;
    qint64 exponent = 0;
    while (reader.nextIsDigit())
        exponent = std::min(exponent * 10 + reader.takeDigit(), ExponentLimit);
    return negative ? -exponent : exponent;
}

std::optional<WrittenNumber> readWrittenNumber(QStringView entry)
{
    EntryReader reader(entry);
    if (reader.atEnd())
        return std::nullopt;
    const bool negative = reader.takeSign();
    std::optional<WrittenNumber> number = readMantissa(reader);
    if (!number)
        return std::nullopt;
    const std::optional<qint64> exponent = readExponent(reader);
    if (!exponent || !reader.atEnd())
        return std::nullopt;
    number->negative = negative;
    number->scale += *exponent;
    return number;
}

// Whether the number lies within the range of a double.
bool fitsInDouble(const WrittenNumber &number)
{
    const qint64 leading = qint64(number.digits.size()) - 1 + number.scale;
    if (leading < DoubleMaxDecimalExponent)
        return true;
    if (leading > DoubleMaxDecimalExponent)
        return false;
    const std::string normal = number.digits + 'e' + std::to_string(number.scale);
    double value = 0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    return result.ec != std::errc::result_out_of_range;
}

// The magnitude rounded to a whole number, halves to the even neighbour,
// from the exact digits; at most LineNumberLimit.
qint64 roundedMagnitude(const WrittenNumber &number)
{
    const std::string &digits = number.digits;
    const qint64 wholeDigits = qint64(digits.size()) + number.scale; // digits before the point
    if (wholeDigits > 18)
        return LineNumberLimit;
    qint64 magnitude = 0;
    if (number.scale >= 0) {
        magnitude = std::stoll(digits);
        for (qint64 i = 0; i < number.scale; ++i)
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
    return std::min(magnitude, LineNumberLimit);
}

} // namespace

Result<qint64, NotALineNumber> readLineNumber(QStringView entry)
{
    const std::optional<WrittenNumber> number = readWrittenNumber(entry);
    if (!number)
        return NotALineNumber{};
    if (number->digits.empty())
        return qint64(0); // zero, whatever its exponent
    if (!fitsInDouble(*number))
        return NotALineNumber{};
    const qint64 magnitude = roundedMagnitude(*number);
    return number->negative ? -magnitude : magnitude;
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
        auto line = readLineNumber(dialog.entry());
        while (!line.ok()) {
            showWarning(messages, goToNotNumericText(), goToNotNumericTitle());
            // The dialog comes back still showing the entry. Cancel or the
            // close box now give up, leaving the caret where it was.
            if (show() != GoToLineOutcome::Ok)
                return;
            line = readLineNumber(dialog.entry());
        }
        dialog.setEntry(QString());
        target = goToLineTarget(editor, editor.selStart(), line.value());
    }
    editor.setSelStart(target);
}

} // namespace zuno
