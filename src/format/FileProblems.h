#pragma once
// Every problem of a text, as the editor marks it, in the words it shows for
// it: for the command line's reports and the language server. A line of the
// List layout that View > Record would stop at is an error, one that the
// Record view's round-trip check would ask about a warning; in the Record
// layout a line that View > List would stop at is an error.

#include "format/LineProblems.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace zuno {

// The kinds of problem, one rule each in the reports.
enum class ProblemRule {
    InvalidItem,    // a line that is not a data item
    UnexpectedData, // two spaces with no item after them (Record layout)
    RoundTrip,      // a line that would not come back from the Record layout
};

ProblemRule ruleOf(const LineProblem &problem);
// "invalid-item", "unexpected-data", "round-trip".
QString ruleId(ProblemRule rule);
// A sentence on what the rule finds, for the reports that describe rules.
QString ruleDescription(ProblemRule rule);

// What is wrong with `line` (the text's line number `lineNumber`, from 0),
// as the editor says it: the conversion's warning for an error, the
// round-trip check's for a warning.
QString problemMessage(QStringView line, const LineProblem &problem, qsizetype lineNumber);

struct FileProblem {
    qsizetype line = 0;      // from 1
    qsizetype column = 0;    // from 1, in characters
    qsizetype endColumn = 0; // the column after the problem's last character
    ProblemKind kind = ProblemKind::Error;
    ProblemRule rule = ProblemRule::InvalidItem;
    QString message;

    bool operator==(const FileProblem &) const = default;
};

// Every problem of a UTF-8 text in the given layout, in line order.
QList<FileProblem> fileProblems(QByteArrayView utf8Text, bool recordLayout);

// The number of characters in the first `units` UTF-16 units of `text`.
qsizetype characterCount(QStringView text, qsizetype units);

} // namespace zuno
