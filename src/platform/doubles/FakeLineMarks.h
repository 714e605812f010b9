#pragma once
// The line marks in memory, over a text split as the edit control splits
// it: at "\r\n", and at a lone "\r" or "\n".
#include "platform/LineMarks.h"

#include <QList>
#include <QMap>

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
        m_starts = {0};
        for (qint64 i = 0; i < m_text.size(); ++i) {
            if (m_text[i] == '\r' && i + 1 < m_text.size() && m_text[i + 1] == '\n')
                ++i;
            if (m_text[i] == '\r' || m_text[i] == '\n')
                m_starts.append(i + 1);
        }
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
    Underline underline(qint64 line) const { return m_underlines.value(line); }

    QByteArrayView wholeText() const override { return m_text; }
    qint64 lineCount() const override { return m_starts.size(); }
    QByteArray lineBytes(qint64 line) const override
    {
        const qint64 end = line + 1 < m_starts.size() ? m_starts[line + 1] : m_text.size();
        return m_text.sliced(m_starts[line], end - m_starts[line]);
    }
    qint64 lineAt(qint64 position) const override
    {
        return qint64(std::upper_bound(m_starts.begin(), m_starts.end(), position) - m_starts.begin()) - 1;
    }
    qint64 textLineNumber(qint64 line) const override
    {
        return m_text.first(m_starts[line]).count("\r\n");
    }
    LineMark mark(qint64 line) const override { return m_marks.value(line, LineMark::None); }
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
    qint64 nextMarked(qint64 line) const override
    {
        const auto it = m_marks.lowerBound(line);
        return it == m_marks.end() ? -1 : it.key();
    }
    qint64 previousMarked(qint64 line) const override
    {
        auto it = m_marks.upperBound(line);
        return it == m_marks.begin() ? -1 : (--it).key();
    }
    qint64 caretLine() const override { return m_caretLine; }
    void moveCaretToLine(qint64 line) override { m_caretLine = line; }

private:
    QByteArray m_text;
    QList<qint64> m_starts{0};
    QMap<qint64, LineMark> m_marks;
    QMap<qint64, Underline> m_underlines;
    qint64 m_caretLine = 0;
};

} // namespace zuno
