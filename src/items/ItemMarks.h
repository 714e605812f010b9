#pragma once
// The problem marks of the document: every line that the view switch (or
// the Record view's round-trip check) would stop at or ask about carries a
// mark, kept current line by line as the text is edited. Counts the marks,
// walks from one to the next and says what each one means, in the words of
// the conversion or the check. Works through the line-marks seam only.
#include "format/LineProblems.h"
#include "platform/EditControl.h"
#include "platform/LineMarks.h"

#include <QCoreApplication>
#include <QString>

namespace zuno {

class ItemMarks {
    Q_DECLARE_TR_FUNCTIONS(ItemMarks)

public:
    explicit ItemMarks(ILineMarks &lines) : m_lines(lines) {}

    // Checks the whole text, in the Record layout or the List layout; every
    // earlier mark goes.
    void checkAll(bool recordLayout);
    bool isRecordLayout() const { return m_record; }

    // A change of the text is in (as the edit control tells it): the lines
    // it made are checked again, with the lines that depend on them. False,
    // with nothing done, for a whole new text or one that made more than
    // `manyLines` lines: checkAll() reads those quicker.
    bool changed(const TextChange &change, qint64 manyLines);

    qint64 errors() const { return m_errors; }
    qint64 warnings() const { return m_warnings; }
    qint64 problems() const { return m_errors + m_warnings; }

    // Moves the caret to the start of the next marked line after the
    // caret's (forward) or the one before it, wrapping round the ends, and
    // answers that line; -1 (the caret stays) when nothing is marked.
    qint64 goToProblem(bool forward);
    // What is wrong with the line, or empty when nothing is.
    QString describe(qint64 line) const;
    // F8 and Shift+F8: goes to the next (or previous) problem and answers
    // what is wrong there, or "No problems".
    QString nextProblem(bool forward);

    // "No problems", "1 problem", "N problems".
    static QString countText(qint64 problems);
    static QString noProblemsText() { return tr("No problems"); }

    // A line as the text has it (from its first line of the control to its
    // "\r\n"), and the control's last line that it spans.
    struct TextLine {
        QString text;
        QByteArray bytes; // the same, as the control holds it
        qint64 lastLine;
    };
    TextLine textLine(qint64 first) const;
    qint64 lineCount() const { return m_lines.lineCount(); }
    // The control's line that holds the byte at `position`.
    qint64 lineAt(qint64 position) const { return m_lines.lineAt(position); }
    // The Record context in which the text's line at `line` is read.
    RecordLineContext contextBefore(qint64 line) const;
    // The control's line where the text's line holding `line` begins.
    qint64 textLineStart(qint64 line) const;

private:
    // The problem of the text's line that begins at `line`, in the layout
    // checked, given the line before.
    LineProblem problemAt(const TextLine &text, RecordLineContext &context) const;
    void count(LineMark mark, int by);
    // Counts every mark again.
    void recount();
    // Marks the text's line that begins at `line`.
    void apply(qint64 line, const TextLine &text, const LineProblem &problem);

    ILineMarks &m_lines;
    bool m_record = false;
    qint64 m_errors = 0;
    qint64 m_warnings = 0;
};

} // namespace zuno
