#include "platform/doubles/FakeEditControl.h"

#include "text/TextFind.h"

#include <algorithm>

namespace zuno {

// An offset between the "\r" and "\n" of a line break moves to the "\r",
// the end of that line, as it does in the real control.
qint64 FakeEditControl::snapOffset(const QString &text, qint64 offset)
{
    offset = std::clamp<qint64>(offset, 0, text.size());
    if (offset > 0 && offset < text.size() && text[offset - 1] == QLatin1Char('\r')
        && text[offset] == QLatin1Char('\n'))
        --offset;
    return offset;
}

void FakeEditControl::changed(const QString &before)
{
    if (m_compoundDepth > 0) {
        if (!m_compoundChanged)
            undoStack.append(before);
        m_compoundChanged = true;
        return;
    }
    undoStack.append(before);
    ++changeCount;
    m_modified = true;
}

QByteArrayView FakeEditControl::utf8Text() const
{
    if (m_utf8Of.isNull() || m_utf8Of.constData() != m_text.constData() || m_utf8Of.size() != m_text.size()) {
        m_utf8 = m_text.toUtf8();
        m_utf8Of = m_text;
    }
    return m_utf8;
}

void FakeEditControl::setUtf8Text(QByteArrayView text)
{
    m_text = utf8ToText(text);
    m_selStart = 0;
    m_selLength = 0;
    ++setTextCount;
    // A whole-text write starts a new history, as the real control does.
    undoStack.clear();
    ++changeCount;
    m_modified = true;
}

std::unique_ptr<WholeTextPieces> FakeEditControl::takeWholeTextInPieces(qint64)
{
    class Pieces : public WholeTextPieces {
    public:
        explicit Pieces(FakeEditControl &control) : m_control(control) {}
        bool append(QByteArrayView piece) override
        {
            m_text += piece;
            return true;
        }
        void finish() override { m_control.setUtf8Text(m_text); }

    private:
        FakeEditControl &m_control;
        QByteArray m_text;
    };
    return std::make_unique<Pieces>(*this);
}

void FakeEditControl::setSelStart(qint64 start)
{
    m_selStart = snapOffset(m_text, start);
    m_selLength = 0;
}

void FakeEditControl::setSelLength(qint64 length)
{
    const qint64 end = snapOffset(m_text, m_selStart + std::max<qint64>(length, 0));
    m_selLength = end - m_selStart;
    if (m_selLength > 0 && m_compoundDepth == 0)
        selectionsMade.append({m_selStart, m_selLength});
}

void FakeEditControl::setSelText(const QString &text)
{
    // Inserting nothing over nothing is no edit; anything else is one.
    const bool edit = m_selLength > 0 || !text.isEmpty();
    const QString before = m_text;
    m_text.replace(m_selStart, m_selLength, text);
    m_selStart += text.size();
    m_selLength = 0;
    if (edit)
        changed(before);
}

void FakeEditControl::replaceRanges(const QList<Utf8Range> &ranges, QByteArrayView replacement)
{
    if (ranges.isEmpty())
        return;
    const QString before = m_text;
    const QByteArray old = m_text.toUtf8();
    QByteArray replaced;
    qint64 from = 0;
    for (const Utf8Range &range : ranges) {
        replaced += QByteArrayView(old).sliced(from, range.from - from);
        replaced += replacement;
        from = range.to;
    }
    const qint64 caret = utf8ToText(replaced).size();
    replaced += QByteArrayView(old).sliced(from);
    m_text = utf8ToText(replaced);
    m_selStart = caret;
    m_selLength = 0;
    changed(before);
}

void FakeEditControl::replaceEach(const Utf8Replacements &replacements)
{
    if (replacements.ranges.isEmpty())
        return;
    const QString before = m_text;
    const QByteArray old = m_text.toUtf8();
    QByteArray replaced;
    qint64 from = 0;
    for (qsizetype i = 0; i < replacements.count(); ++i) {
        const Utf8Range &range = replacements.ranges[i];
        replaced += QByteArrayView(old).sliced(from, range.from - from);
        replaced += replacements.text(i);
        from = range.to;
    }
    const qint64 caret = utf8ToText(replaced).size();
    replaced += QByteArrayView(old).sliced(from);
    m_text = utf8ToText(replaced);
    m_selStart = caret;
    m_selLength = 0;
    changed(before);
}

qint64 FakeEditControl::bytePosition(qint64 offset) const
{
    return QStringView(m_text).first(std::clamp<qint64>(offset, 0, m_text.size())).toUtf8().size();
}

qint64 FakeEditControl::textOffset(qint64 position) const
{
    const QByteArrayView bytes = utf8Text();
    return utf8ToText(bytes.first(std::clamp<qint64>(position, 0, bytes.size()))).size();
}

qint64 FakeEditControl::find(const QString &text, qint64 start, FindOptions options)
{
    if (start < 0 || start > m_text.size())
        return -1;
    const qsizetype at = findText(m_text, text, start, (options & FindOption::MatchCase) != 0,
                                  (options & FindOption::WholeWord) != 0);
    if (at < 0)
        return -1;
    m_selStart = at;
    m_selLength = text.size();
    if (m_compoundDepth == 0)
        selectionsMade.append({m_selStart, m_selLength});
    return at;
}

qint64 FakeEditControl::lineFromChar(qint64 offset) const
{
    offset = std::clamp<qint64>(offset, 0, m_text.size());
    qint64 line = 0;
    for (qsizetype at = m_text.indexOf(QStringLiteral("\r\n")); at >= 0 && at + 2 <= offset;
         at = m_text.indexOf(QStringLiteral("\r\n"), at + 2))
        ++line;
    return line;
}

void FakeEditControl::undo()
{
    if (undoStack.isEmpty())
        return;
    m_text = undoStack.takeLast();
    m_selStart = std::min<qint64>(m_selStart, m_text.size());
    m_selLength = 0;
    ++changeCount;
    m_modified = true;
}

void FakeEditControl::beginCompoundEdit()
{
    if (m_compoundDepth++ == 0)
        m_compoundChanged = false;
}

void FakeEditControl::endCompoundEdit()
{
    if (m_compoundDepth == 0 || --m_compoundDepth > 0)
        return;
    if (m_compoundChanged) {
        ++changeCount;
        m_modified = true;
    }
}

} // namespace zuno
