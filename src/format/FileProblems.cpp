#include "format/FileProblems.h"

#include "format/ConversionMessages.h"
#include "format/RoundTrip.h"

#include <QCoreApplication>

namespace zuno {

namespace {

class FileProblems {
    Q_DECLARE_TR_FUNCTIONS(FileProblems)
};

} // namespace

ProblemRule ruleOf(const LineProblem &problem)
{
    if (problem.kind == ProblemKind::Warning)
        return ProblemRule::RoundTrip;
    return problem.fault.kind == ConversionFault::Kind::UnexpectedData ? ProblemRule::UnexpectedData
                                                                        : ProblemRule::InvalidItem;
}

QString ruleId(ProblemRule rule)
{
    switch (rule) {
    case ProblemRule::UnexpectedData:
        return QStringLiteral("unexpected-data");
    case ProblemRule::RoundTrip:
        return QStringLiteral("round-trip");
    case ProblemRule::InvalidItem:
        break;
    }
    return QStringLiteral("invalid-item");
}

QString ruleDescription(ProblemRule rule)
{
    switch (rule) {
    case ProblemRule::UnexpectedData:
        return FileProblems::tr("Two spaces in a line of the Record layout with no data item after them: "
                                "View > List stops there.");
    case ProblemRule::RoundTrip:
        return FileProblems::tr("A data item that would not come back unchanged from the Record view.");
    case ProblemRule::InvalidItem:
        break;
    }
    return FileProblems::tr("A line that is not a data item (it is not empty and holds no colon): "
                            "the view switch stops there.");
}

QString problemMessage(QStringView line, const LineProblem &problem, qsizetype lineNumber)
{
    if (problem.kind == ProblemKind::Error) {
        ConversionFault fault = problem.fault;
        fault.lineNumber = lineNumber;
        return conversionWarning(fault);
    }
    if (problem.kind != ProblemKind::Warning)
        return QString();
    // The check's own words, for this line read on its own.
    const QByteArray bytes = line.toUtf8();
    const auto trip = checkRecordRoundTrip(QByteArrayView(bytes));
    if (trip.ok() && !trip.value().unchanged) {
        RoundTripChange change = trip.value().change;
        change.lineNumber = lineNumber;
        return roundTripWarning(change);
    }
    return FileProblems::tr("The data item '%1' on line %2 holds two spaces in a row, which the List layout reads "
                            "as the gap between two items.")
        .arg(quotedLine(line), QString::number(lineNumber + 1));
}

qsizetype characterCount(QStringView text, qsizetype units)
{
    qsizetype count = units;
    for (qsizetype i = 1; i < units && i < text.size(); ++i) {
        if (text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
            --count;
    }
    return count;
}

QList<FileProblem> fileProblems(QByteArrayView utf8Text, bool recordLayout)
{
    QList<FileProblem> problems;
    findLineProblems(utf8Text, recordLayout,
                     [&](qsizetype number, qsizetype, QStringView line, const LineProblem &problem) {
                         const qsizetype from = characterCount(line, problem.from);
                         const qsizetype to = characterCount(line, problem.from + problem.length);
                         problems.append(FileProblem{number + 1, from + 1, to + 1,
                                                     problem.kind, ruleOf(problem),
                                                     problemMessage(line, problem, number)});
                     });
    return problems;
}

} // namespace zuno
