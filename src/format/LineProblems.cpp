#include "format/LineProblems.h"

#include "format/LineItems.h"
#include "format/TextStreams.h"
#include "text/CrLfLines.h"

namespace zuno {

namespace {

// Where `part` (a view into `line`) begins in it.
qsizetype offsetIn(QStringView line, QStringView part)
{
    return part.utf16() - line.utf16();
}

LineProblem error(QStringView line, QStringView offending, ConversionFault fault)
{
    return LineProblem{ProblemKind::Error, offsetIn(line, offending), offending.size(), std::move(fault)};
}

} // namespace

void checkListLine(QByteArrayView text, qsizetype begin, qsizetype end, qsizetype number, const ProblemFound &found)
{
    text::Utf8LineReader reader(text.sliced(begin, end - begin));
    const QStringView line = reader.hasNext() ? reader.next() : QStringView();
    const LineProblem problem = listLineProblem(line);
    if (problem.kind != ProblemKind::None)
        found(number, begin, line, problem);
}

namespace {

// The List layout's lines, read by their bytes (see mayHaveListProblem):
// only a line that may have a problem is read the long way.
void findListLineProblems(QByteArrayView text, const ProblemFound &found, const std::function<bool()> &stopped)
{
    qsizetype number = 0;
    forEachCrLfLine(text, 0, text.size(), stopped, [&](const CrLfLine &line) {
        if (mayHaveListProblem(line))
            checkListLine(text, line.begin, line.begin + line.length, number, found);
        ++number;
    });
}

} // namespace

LineProblem listLineProblem(QStringView line)
{
    // The Record conversion tests the line untrimmed.
    if (!isValidDataLine(line))
        return error(line, line, ConversionFault::invalidItem(line, -1));
    // The round-trip check: two spaces in a row, once trimmed, are read back
    // as the gap between two items.
    const QStringView trimmed = trimSpaces(line);
    const qsizetype gap = scan::indexOfPair(trimmed, u' ', u' ');
    if (gap < 0)
        return LineProblem{};
    const qsizetype from = offsetIn(line, trimmed) + gap;
    return LineProblem{ProblemKind::Warning, from, offsetIn(line, trimmed) + trimmed.size() - from, {}};
}

bool mayContinueValueList(QStringView line)
{
    return startsWithValueListCode(trimSpaces(line));
}

LineProblem recordLineProblem(QStringView line, RecordLineContext &context)
{
    const QStringView trimmed = trimSpaces(line);
    if (context.valueListOpen && startsWithValueListCode(trimmed))
        return LineProblem{}; // taken up whole by the PL item before
    context.valueListOpen = false;
    if (!isValidDataLine(trimmed))
        return error(line, trimmed, ConversionFault::invalidItem(trimmed, -1));
    const ItemsTaken taken = takeItems(trimmed, [](QStringView, qsizetype) {});
    if (!taken.ok)
        return error(line, taken.rest, {ConversionFault::Kind::UnexpectedData, taken.rest.toString(), -1});
    context.valueListOpen = startsWithValueListCode(taken.rest);
    return LineProblem{};
}

void findLineProblems(QByteArrayView utf8Text, bool recordLayout, const ProblemFound &found,
                      const std::function<bool()> &stopped)
{
    if (!recordLayout) {
        findListLineProblems(utf8Text, found, stopped);
        return;
    }
    text::Utf8LineReader reader(utf8Text);
    RecordLineContext context;
    for (qsizetype number = 0; reader.hasNext(); ++number) {
        if (stopped && number % 4096 == 0 && stopped())
            return;
        const qsizetype position = reader.position();
        const QStringView line = reader.next();
        const LineProblem problem = recordLayout ? recordLineProblem(line, context) : listLineProblem(line);
        if (problem.kind != ProblemKind::None)
            found(number, position, line, problem);
    }
}

QList<CodeSpan> lineCodes(QStringView line, bool recordLayout, RecordLineContext &context)
{
    QList<CodeSpan> codes;
    const auto add = [&](QStringView item, qsizetype at, ItemRole role) {
        const qsizetype colon = firstColon(item);
        if (colon >= 0)
            codes.append(CodeSpan{at, colon + 1, role});
    };
    if (!recordLayout) {
        add(line, 0, classifyLine(line));
        return codes;
    }
    const QStringView trimmed = trimSpaces(line);
    const qsizetype start = offsetIn(line, trimmed);
    if (context.valueListOpen && startsWithValueListCode(trimmed)) {
        codes.append(CodeSpan{start, ValueListCode.size(), ItemRole::ValueList});
        return codes;
    }
    context.valueListOpen = false;
    if (!isValidDataLine(trimmed))
        return codes;
    const ItemsTaken taken = takeItems(trimmed, [&](QStringView item, qsizetype at) {
        add(item, start + at, classifyLine(trimSpaces(item)));
    });
    if (taken.ok) {
        add(taken.rest, start + taken.restOffset, classifyLine(taken.rest));
        context.valueListOpen = startsWithValueListCode(taken.rest);
    }
    return codes;
}

} // namespace zuno
