#include "items/ItemMarks.h"

#include "format/ConversionMessages.h"
#include "format/FileProblems.h"
#include "format/RoundTrip.h"
#include "text/Utf8Text.h"

namespace zuno {

namespace {

bool endsWithLineBreak(const QByteArray &bytes)
{
    return bytes.endsWith("\r\n");
}

LineMark markOf(ProblemKind kind)
{
    switch (kind) {
    case ProblemKind::Error:
        return LineMark::Error;
    case ProblemKind::Warning:
        return LineMark::Warning;
    case ProblemKind::None:
        break;
    }
    return LineMark::None;
}

} // namespace

QString ItemMarks::countText(qint64 problems)
{
    if (problems == 0)
        return noProblemsText();
    if (problems == 1)
        return tr("1 problem");
    return tr("%1 problems").arg(problems);
}

qint64 ItemMarks::textLineStart(qint64 line) const
{
    while (line > 0 && !endsWithLineBreak(m_lines.lineBytes(line - 1)))
        --line;
    return line;
}

ItemMarks::TextLine ItemMarks::textLine(qint64 first) const
{
    QByteArray bytes = m_lines.lineBytes(first);
    qint64 last = first;
    const qint64 count = m_lines.lineCount();
    // A lone "\r" or "\n" ends a line of the control, not of the text.
    while (!endsWithLineBreak(bytes) && last + 1 < count) {
        ++last;
        bytes += m_lines.lineBytes(last);
    }
    if (endsWithLineBreak(bytes))
        bytes.chop(2);
    QString text = utf8ToText(bytes);
    return TextLine{std::move(text), std::move(bytes), last};
}

LineProblem ItemMarks::problemAt(const TextLine &text, RecordLineContext &context) const
{
    return m_record ? recordLineProblem(text.text, context) : listLineProblem(text.text);
}

RecordLineContext ItemMarks::contextBefore(qint64 line) const
{
    RecordLineContext context;
    if (!m_record || line == 0)
        return context;
    // Only lines that begin with "PL:" carry a value list on: go back to the
    // first line of such a run and read forward from there.
    qint64 from = textLineStart(line - 1);
    while (from > 0 && mayContinueValueList(textLine(from).text))
        from = textLineStart(from - 1);
    while (from < line) {
        const TextLine text = textLine(from);
        recordLineProblem(text.text, context);
        from = text.lastLine + 1;
    }
    return context;
}

LineMark ItemMarks::markAt(qint64 line) const
{
    switch (m_marked.value(line)) {
    case ErrorValue:
        return LineMark::Error;
    case WarningValue:
        return LineMark::Warning;
    default:
        return LineMark::None;
    }
}

void ItemMarks::setMark(qint64 line, LineMark mark, qint64 from, qint64 length)
{
    // The control is told first: its symbol is repainted only if the mark
    // it had is another.
    m_lines.setMark(line, mark, from, length);
    m_marked.set(line, mark == LineMark::Error ? ErrorValue : mark == LineMark::Warning ? WarningValue : 0);
}

void ItemMarks::apply(qint64 line, const TextLine &text, const LineProblem &problem)
{
    // The control's lines after the first of the text's line carry none
    // (nor an underline an edit brought onto them: such lines are rare).
    for (qint64 l = line + 1; l <= text.lastLine; ++l)
        setMark(l, LineMark::None);
    Utf8Walker bytes(text.bytes);
    const qint64 from = bytes.positionOf(problem.from);
    const qint64 to = bytes.positionOf(problem.from + problem.length);
    setMark(line, markOf(problem.kind), from, to - from);
}

std::vector<ItemMarks::Found> ItemMarks::findAll(QByteArrayView text, bool recordLayout,
                                                 const std::function<bool()> &stopped)
{
    std::vector<Found> found;
    findLineProblems(
        text, recordLayout,
        [&](qsizetype, qsizetype position, QStringView, const LineProblem &problem) {
            found.push_back(foundAt(text, position, problem));
        },
        stopped);
    return found;
}

ItemMarks::Found ItemMarks::foundAt(QByteArrayView text, qsizetype position, const LineProblem &problem)
{
    Utf8Walker bytes(text.sliced(position));
    const qint64 from = bytes.positionOf(problem.from);
    const qint64 to = bytes.positionOf(problem.from + problem.length);
    return Found{position, markOf(problem.kind), from, to - from};
}

void ItemMarks::applyAll(bool recordLayout, const std::vector<Found> &found)
{
    m_record = recordLayout;
    m_lines.clearAll();
    m_marked.clear();
    m_lineCount = m_lines.lineCount();
    for (const Found &problem : found)
        setMark(m_lines.lineAt(problem.position), problem.mark, problem.from, problem.length);
}

void ItemMarks::checkAll(bool recordLayout)
{
    applyAll(recordLayout, findAll(m_lines.wholeText(), recordLayout));
}

bool ItemMarks::changed(const TextChange &change, qint64 manyLines)
{
    if (change.wholeText)
        return false;
    // The lines from the change's first to the one that holds its end are
    // all that it made; those after are the lines that were after it, moved
    // (a "\r" and "\n" it brought together or parted stand within).
    const qint64 count = m_lines.lineCount();
    const qint64 delta = count - m_lineCount;
    const qint64 first = m_lines.lineAt(change.position);
    const qint64 last = m_lines.lineAt(change.position + change.insertedBytes);
    if (last - first > manyLines)
        return false;
    m_lineCount = count;
    // The control has moved its marks by its own rules (the marks of lines
    // a removal joined merge into one); those of the lines the change made
    // go, and every line from its first is marked again below.
    m_marked.replaceLines(first, last - delta, delta);
    qint64 line = textLineStart(first);
    RecordLineContext context = contextBefore(line);
    while (line < count) {
        const TextLine text = textLine(line);
        // Past the edit, the first line is read again (a line break the edit
        // made may have cut it from the line before it), and then a line
        // only while the value list before it may take it up.
        if (line > last + 1 && !(m_record && mayContinueValueList(text.text)))
            break;
        apply(line, text, problemAt(text, context));
        line = text.lastLine + 1;
    }
    return true;
}

qint64 ItemMarks::goToProblem(bool forward)
{
    const qint64 caret = m_lines.caretLine();
    qint64 found = -1;
    if (forward) {
        found = m_marked.next(caret + 1);
        if (found < 0)
            found = m_marked.next(0);
    } else {
        found = caret > 0 ? m_marked.previous(caret - 1) : -1;
        if (found < 0)
            found = m_marked.previous(m_lines.lineCount() - 1);
    }
    if (found >= 0)
        m_lines.moveCaretToLine(found);
    return found;
}

QString ItemMarks::nextProblem(bool forward)
{
    const qint64 line = goToProblem(forward);
    return line < 0 ? noProblemsText() : describe(line);
}

QString ItemMarks::describe(qint64 line) const
{
    const qint64 start = textLineStart(line);
    const TextLine text = textLine(start);
    RecordLineContext context = contextBefore(start);
    const LineProblem problem = problemAt(text, context);
    return problemMessage(text.text, problem, m_lines.textLineNumber(start));
}

} // namespace zuno
