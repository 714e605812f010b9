#pragma once
// What is wrong with a line, found as the view switch from the line's layout
// would find it, one line at a time, so that the editor can mark each line
// as it is typed.
//
// In the List layout, a line that View > Record would stop at is an error,
// and a line that the Record view's round-trip check would ask about (it
// holds two spaces in a row once trimmed: a value with two spaces, two
// items, a line of the Record layout) is a warning. In the Record layout, a
// line that View > List would stop at is an error. A text has no error
// exactly when its conversion goes through.

#include "format/Conversion.h"
#include "format/DataItem.h"
#include "text/CrLfLines.h"

#include <QByteArrayView>
#include <QList>
#include <QStringView>

#include <functional>

namespace zuno {

enum class ProblemKind { None, Error, Warning };

struct LineProblem {
    ProblemKind kind = ProblemKind::None;
    // The offending text: where it begins in the line and how long it is.
    qsizetype from = 0;
    qsizetype length = 0;
    // An error: what the conversion would stop with (its line number is
    // the caller's to give).
    ConversionFault fault;

    bool operator==(const LineProblem &) const = default;
};

// A line of the List layout, as it stands.
LineProblem listLineProblem(QStringView line);

// Whether the line before ended with a PL item (or was taken up by one):
// a following line that begins with "PL:" once trimmed is then taken up by
// that item, whole and unchecked. Carried from line to line.
struct RecordLineContext {
    bool valueListOpen = false;
};

// A line of the Record layout, as it stands; updates `context` for the next.
LineProblem recordLineProblem(QStringView line, RecordLineContext &context);

// Whether the problems of a Record line depend on the line before: only a
// line that begins with "PL:" once trimmed can be taken up.
bool mayContinueValueList(QStringView line);

// A List line's problem is a fact of a few of its bytes: it is a data item
// when it is empty or holds a colon, and it reads back as it stands unless
// two spaces stand in a row within it once trimmed. So a line that holds a
// colon and no two spaces in a row has no problem, whatever else it holds.
inline bool mayHaveListProblem(const CrLfLine &line)
{
    return line.spacePair || (!line.colon && line.length > 0);
}

// Every line of a UTF-8 text that has a problem in the given layout, in
// order: its number (from 0), where it begins (in bytes) and the line.
using ProblemFound = std::function<void(qsizetype lineNumber, qsizetype position, QStringView line,
                                        const LineProblem &problem)>;
// `stopped`, where given, is asked now and then whether to stop early.
void findLineProblems(QByteArrayView utf8Text, bool recordLayout, const ProblemFound &found,
                      const std::function<bool()> &stopped = {});
// The List line from `begin` to `end` of the text (its "\r\n" or the text's
// end), checked the long way: decoded; `found` is told its problem.
void checkListLine(QByteArrayView text, qsizetype begin, qsizetype end, qsizetype number, const ProblemFound &found);

// The code of an item on a line and its role: where the code begins in the
// line and its length, the colon included.
struct CodeSpan {
    qsizetype from = 0;
    qsizetype length = 0;
    ItemRole role = ItemRole::Joined;

    bool operator==(const CodeSpan &) const = default;
};

// The codes of a line. In the List layout the line's own code, with the role
// the Record conversion gives it; in the Record layout every item's code by
// its own role, and "PL:" of a line taken up by a PL item as a value list.
// Updates `context` in the Record layout.
QList<CodeSpan> lineCodes(QStringView line, bool recordLayout, RecordLineContext &context);

} // namespace zuno
