#include "items/RecordPlace.h"

#include "format/DataItem.h"

#include <QStringList>

namespace zuno {

namespace {

// How far the search goes from the caret's line, back and ahead.
constexpr qint64 LinesBack = 5000;
constexpr qint64 LinesAhead = 200;

constexpr QStringView NameCode = u"NM:";

// The item whose code is at `code` on the line: up to the next run of two
// spaces (or the line's end), trimmed.
QString itemAt(const QString &line, const CodeSpan &code)
{
    const QStringView from = QStringView(line).sliced(code.from);
    const qsizetype gap = from.indexOf(ItemSeparator);
    return trimSpaces(gap < 0 ? from : from.first(gap)).toString();
}

bool isName(const QString &line, const CodeSpan &code)
{
    return QStringView(line).sliced(code.from, code.length) == NameCode;
}

bool startsRecord(ItemRole role)
{
    return role == ItemRole::RecordStart || role == ItemRole::SeparatedRecordStart;
}

// The codes of the control's line `line` (one that begins a line of the
// text), read without the line before.
QList<CodeSpan> codesOf(const ItemMarks &lines, const ItemMarks::TextLine &text)
{
    RecordLineContext context;
    return lineCodes(text.text, lines.isRecordLayout(), context);
}

} // namespace

QString RecordPlace::text() const
{
    QStringList parts;
    for (const QString &part : {record, name, lineItem}) {
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.join(ItemSeparator);
}

RecordPlace recordPlaceAt(const ItemMarks &lines, qint64 line)
{
    RecordPlace place;
    const qint64 caretLine = lines.textLineStart(line);
    qint64 at = caretLine;
    for (qint64 read = 0; at >= 0 && read < LinesBack && place.record.isEmpty(); ++read) {
        at = lines.textLineStart(at);
        const ItemMarks::TextLine text = lines.textLine(at);
        const QList<CodeSpan> codes = codesOf(lines, text);
        for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
            if (place.lineItem.isEmpty() && code->role == ItemRole::LineStart)
                place.lineItem = itemAt(text.text, *code);
            else if (place.name.isEmpty() && isName(text.text, *code))
                place.name = itemAt(text.text, *code);
            else if (startsRecord(code->role)) {
                place.record = itemAt(text.text, *code);
                break;
            }
        }
        --at;
    }
    if (place.record.isEmpty())
        return RecordPlace{};
    // The record's name may stand after the caret's line.
    at = lines.textLine(caretLine).lastLine + 1;
    for (qint64 read = 0; place.name.isEmpty() && read < LinesAhead; ++read) {
        if (at >= lines.lineCount())
            break;
        const ItemMarks::TextLine text = lines.textLine(at);
        for (const CodeSpan &code : codesOf(lines, text)) {
            if (startsRecord(code.role))
                return place;
            if (isName(text.text, code)) {
                place.name = itemAt(text.text, code);
                break;
            }
        }
        at = text.lastLine + 1;
    }
    return place;
}

} // namespace zuno
