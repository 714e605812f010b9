#pragma once
// The line marks in memory, over a text split as the edit control splits
// it: at "\r\n", and at a lone "\r" or "\n".
#include "platform/EditControl.h"
#include "platform/LineMarks.h"
#include "text/TextLines.h"

#include <QList>
#include <QMap>

#include <algorithm>
#include <limits>

namespace zuno {

class FakeLineMarks : public ILineMarks {
public:
    struct Underline {
        qint64 from = 0;
        qint64 length = 0;
    };

    // A new text: the marks go with the old one.
    void setText(const QByteArray &text)
    {
        m_text = text;
        m_starts.clear();
        for (const TextLineSpan &line : splitTextLines(m_text))
            m_starts.append(line.start);
        m_marks.clear();
    }
    // An edit: the text changes and the marks stay on their line numbers
    // (as if the edit kept the number of lines).
    void editText(const QByteArray &text)
    {
        const auto marks = m_marks;
        setText(text);
        m_marks = marks;
    }
    // Replaces `removedBytes` bytes at `position`, as the control does: the
    // marks of the lines the removal joins merge into the first of them
    // (an error outweighing a warning), those after it move with their
    // lines. Answers the change as the control tells it.
    TextChange replace(qint64 position, qint64 removedBytes, const QByteArray &inserted)
    {
        TextChange change;
        change.position = position;
        change.removedBytes = removedBytes;
        change.removed = m_text.sliced(position, removedBytes);
        change.insertedBytes = inserted.size();
        const qint64 first = lineAt(position);
        const qint64 last = lineAt(position + removedBytes);
        change.removedLines = last - first;
        const qint64 oldCount = lineCount();
        const auto marks = m_marks;
        setText(QByteArray(m_text).replace(position, removedBytes, inserted));
        for (auto it = marks.begin(); it != marks.end(); ++it) {
            const qint64 line = it.key() < first ? it.key() : it.key() <= last ? first : it.key() + lineCount() - oldCount;
            if (m_marks.value(line) != LineMark::Error)
                m_marks.insert(line, it.value());
        }
        return change;
    }
    Underline underline(qint64 line) const { return m_underlines.value(line); }

    QByteArrayView wholeText() const override { return m_text; }
    qint64 lineCount() const override { return m_starts.size(); }
    QByteArray lineBytes(qint64 line) const override
    {
        const qint64 end = line + 1 < m_starts.size() ? m_starts[line + 1] : m_text.size();
        return m_text.sliced(m_starts[line], end - m_starts[line]);
    }
    qint64 lineStart(qint64 line) const override
    {
        return line >= 0 && line < m_starts.size() ? m_starts[line] : -1;
    }
    // The text's store split at `gap` (clipped to the text), as the
    // control's is around its gap.
    void setGap(qint64 gap) { m_gap = gap; }
    Pieces textInPlace() const override
    {
        const qint64 gap = std::clamp<qint64>(m_gap, 0, m_text.size());
        return Pieces{QByteArrayView(m_text).first(gap), QByteArrayView(m_text).sliced(gap)};
    }
    qint64 lineAt(qint64 position) const override
    {
        return qint64(std::upper_bound(m_starts.begin(), m_starts.end(), position) - m_starts.begin()) - 1;
    }
    qint64 textLineNumber(qint64 line) const override
    {
        return m_text.first(m_starts[line]).count("\r\n");
    }
    LineMark mark(qint64 line) const { return m_marks.value(line, LineMark::None); }
    void setMark(qint64 line, LineMark mark, qint64 from, qint64 length) override
    {
        m_marks.remove(line);
        m_underlines.remove(line);
        if (mark == LineMark::None)
            return;
        m_marks.insert(line, mark);
        m_underlines.insert(line, {from, length});
    }
    void clearAll() override
    {
        m_marks.clear();
        m_underlines.clear();
    }
    qint64 caretLine() const override { return m_caretLine; }
    void moveCaretToLine(qint64 line) override { m_caretLine = line; }

private:
    QByteArray m_text;
    QList<qint64> m_starts{0};
    QMap<qint64, LineMark> m_marks;
    QMap<qint64, Underline> m_underlines;
    qint64 m_caretLine = 0;
    qint64 m_gap = std::numeric_limits<qint64>::max();
};

} // namespace zuno
