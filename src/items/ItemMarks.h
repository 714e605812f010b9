#pragma once
// The problem marks of the document: every line that the view switch (or
// the Record view's round-trip check) would stop at or ask about carries a
// mark, kept current line by line as the text is edited. Counts the marks,
// walks from one to the next and says what each one means, in the words of
// the conversion or the check. Works through the line-marks seam only.
#include "format/LineProblems.h"
#include "platform/EditControl.h"
#include "platform/LineMarks.h"
#include "text/LineSet.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <vector>

namespace zuno {

class ItemMarks {
    Q_DECLARE_TR_FUNCTIONS(ItemMarks)

public:
    explicit ItemMarks(ILineMarks &lines) : m_lines(lines) {}

    // Checks the whole text, in the Record layout or the List layout; every
    // earlier mark goes.
    void checkAll(bool recordLayout);
    // The same in two steps: finding the problems reads only the text (on
    // any thread, stopping early once `stopped` says so), applying them
    // marks the control's lines (on the window's).
    struct Found {
        qint64 position; // where the line begins, in bytes
        LineMark mark;
        qint64 from;     // the underline, in bytes from the line's start
        qint64 length;

        bool operator==(const Found &) const = default;
    };
    static std::vector<Found> findAll(QByteArrayView text, bool recordLayout,
                                      const std::function<bool()> &stopped = {});
    // The problem of the text's line that begins at `position`, as found.
    static Found foundAt(QByteArrayView text, qsizetype position, const LineProblem &problem);
    void applyAll(bool recordLayout, const std::vector<Found> &found);
    bool isRecordLayout() const { return m_record; }

    // A change of the text is in (as the edit control tells it): the lines
    // it made are checked again, with the lines that depend on them. False,
    // with nothing done, for a whole new text or one that made more than
    // `manyLines` lines: checkAll() reads those quicker.
    bool changed(const TextChange &change, qint64 manyLines);

    qint64 errors() const { return m_marked.count(ErrorValue); }
    qint64 warnings() const { return m_marked.count(WarningValue); }
    qint64 problems() const { return m_marked.size(); }

    // The line's mark, and the first marked line at or after `line` (-1
    // when none): read from the marks' own set of lines, not the control's
    // per-line table, so that neither costs more in a larger text.
    LineMark markAt(qint64 line) const;
    qint64 nextMarked(qint64 line) const { return m_marked.next(line); }

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
    // Marks the text's line that begins at `line`.
    void apply(qint64 line, const TextLine &text, const LineProblem &problem);
    // Marks the line, in the control and in the set.
    void setMark(qint64 line, LineMark mark, qint64 from = 0, qint64 length = 0);

    static constexpr LineSet::Value ErrorValue = 1;
    static constexpr LineSet::Value WarningValue = 2;

    ILineMarks &m_lines;
    bool m_record = false;
    // The marked lines, moved along with the control's lines as edits come
    // in; the control's number of lines when the set was last brought up
    // to date.
    LineSet m_marked;
    qint64 m_lineCount = 1;
};

} // namespace zuno
