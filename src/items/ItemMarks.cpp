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

void ItemMarks::count(LineMark mark, int by)
{
    if (mark == LineMark::Error)
        m_errors += by;
    else if (mark == LineMark::Warning)
        m_warnings += by;
}

void ItemMarks::apply(qint64 line, const TextLine &text, const LineProblem &problem)
{
    for (qint64 l = line; l <= text.lastLine; ++l) {
        count(m_lines.mark(l), -1);
        if (l > line && m_lines.mark(l) != LineMark::None)
            m_lines.setMark(l, LineMark::None);
    }
    const LineMark mark = markOf(problem.kind);
    count(mark, 1);
    Utf8Walker bytes(text.bytes);
    const qint64 from = bytes.positionOf(problem.from);
    const qint64 to = bytes.positionOf(problem.from + problem.length);
    m_lines.setMark(line, mark, from, to - from);
}

void ItemMarks::checkAll(bool recordLayout)
{
    m_record = recordLayout;
    m_lines.clearAll();
    m_errors = m_warnings = 0;
    findLineProblems(m_lines.wholeText(), recordLayout,
                     [this](qsizetype, qsizetype position, QStringView, const LineProblem &problem) {
                         Utf8Walker bytes(m_lines.wholeText().sliced(position));
                         const qint64 from = bytes.positionOf(problem.from);
                         const qint64 to = bytes.positionOf(problem.from + problem.length);
                         const LineMark mark = markOf(problem.kind);
                         count(mark, 1);
                         m_lines.setMark(m_lines.lineAt(position), mark, from, to - from);
                     });
}

void ItemMarks::recount()
{
    m_errors = m_warnings = 0;
    for (qint64 line = m_lines.nextMarked(0); line >= 0; line = m_lines.nextMarked(line + 1))
        count(m_lines.mark(line), 1);
}

bool ItemMarks::changed(const TextChange &change, qint64 manyLines)
{
    if (change.wholeText)
        return false;
    const qint64 first = m_lines.lineAt(change.position);
    const qint64 last = m_lines.lineAt(change.position + change.insertedBytes);
    if (last - first > manyLines)
        return false;
    // The marks of the lines a removal joined have merged into one line:
    // how many there were is not known any more.
    if (change.removedLines > 0)
        recount();
    // An insertion moves the mark of its line along with that line's text,
    // and never further than its last line.
    for (qint64 line = m_lines.nextMarked(first); line >= 0 && line <= last; line = m_lines.nextMarked(line + 1)) {
        count(m_lines.mark(line), -1);
        m_lines.setMark(line, LineMark::None);
    }
    qint64 line = textLineStart(first);
    RecordLineContext context = contextBefore(line);
    const qint64 count = m_lines.lineCount();
    while (line < count) {
        const TextLine text = textLine(line);
        // Past the edit, a line is read again only while the value list
        // before it may take it up.
        if (line > last && !(m_record && mayContinueValueList(text.text)))
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
        found = m_lines.nextMarked(caret + 1);
        if (found < 0)
            found = m_lines.nextMarked(0);
    } else {
        found = caret > 0 ? m_lines.previousMarked(caret - 1) : -1;
        if (found < 0)
            found = m_lines.previousMarked(m_lines.lineCount() - 1);
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
