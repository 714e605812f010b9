#include "format/RoundTrip.h"

#include "format/DataItem.h"

#include <QCoreApplication>
#include <QList>

namespace zuno {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RecordRoundTrip", text);
}

// The data items of a List text, one by one, as the List layout reads them.
// A PL item made of several lines is joined into one; its parts remember the
// lines they came from.
class ListItems {
public:
    explicit ListItems(QStringView text) : m_reader(text) { advance(); }

    // Moves to the next item; false when there is none.
    bool next()
    {
        m_parts.clear();
        if (m_pending.isNull())
            return false;
        const QStringView first = m_pending;
        m_first = {0, m_pendingNumber, m_pendingLine};
        advance();
        if (!startsWithValueListCode(first) || !startsWithValueListCode(m_pending)) {
            m_item = first;
            return true;
        }
        m_parts.append(m_first);
        m_joined.resize(0);
        m_joined += first;
        while (startsWithValueListCode(m_pending)) {
            const QStringView values = m_pending.sliced(ValueListCode.size());
            const bool comma = !m_joined.endsWith(u',') && !values.startsWith(u',');
            m_parts.append({m_joined.size() + (comma ? 1 : 0), m_pendingNumber, m_pendingLine});
            if (comma)
                m_joined += u',';
            m_joined += values;
            advance();
        }
        m_item = m_joined;
        return true;
    }

    // The current item, trimmed. Valid until the next call of next().
    QStringView item() const { return m_item; }
    // Whether the current item is the last.
    bool isLast() const { return m_pending.isNull(); }

    struct Part {
        qsizetype offset;     // where the line's text begins in the item
        qsizetype lineNumber; // from 0
        QStringView line;     // as it stands in the text
    };
    // The part of the current item that holds its character at `offset`.
    const Part &partAt(qsizetype offset) const
    {
        if (m_parts.isEmpty())
            return m_first;
        qsizetype i = m_parts.size() - 1;
        while (i > 0 && m_parts[i].offset > offset)
            --i;
        return m_parts[i];
    }
    const Part &lastPart() const { return m_parts.isEmpty() ? m_first : m_parts.last(); }

private:
    // The next non-empty line, trimmed, or a null view at the end.
    void advance()
    {
        m_pending = QStringView();
        while (m_reader.hasNext()) {
            const QStringView line = m_reader.next();
            ++m_lineNumber;
            const QStringView trimmed = trimSpaces(line);
            if (!trimmed.isEmpty()) {
                m_pending = trimmed;
                m_pendingLine = line;
                m_pendingNumber = m_lineNumber;
                return;
            }
        }
    }

    LineReader m_reader;
    qsizetype m_lineNumber = -1;
    QStringView m_pending;
    QStringView m_pendingLine;
    qsizetype m_pendingNumber = -1;
    QStringView m_item;
    QString m_joined;
    Part m_first{};     // the line of an item of one line
    QList<Part> m_parts; // the lines of a PL item of several, else empty
};

qsizetype commonPrefixLength(QStringView a, QStringView b)
{
    const qsizetype length = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < length && a[i] == b[i])
        ++i;
    return i;
}

// At most about 80 characters of `item` from `from` on, marked where cut.
QString excerpt(QStringView item, qsizetype from)
{
    constexpr qsizetype Shown = 80;
    QString text;
    if (from > 0)
        text += QStringLiteral("...");
    text += item.sliced(from).first(std::min(Shown, item.size() - from));
    if (item.size() - from > Shown)
        text += QStringLiteral("...");
    return text;
}

RecordRoundTrip changed(const ListItems::Part &part, const QString &consequence)
{
    RecordRoundTrip result;
    result.outcome = RecordRoundTrip::Outcome::Changed;
    result.lineNumber = part.lineNumber;
    result.message = tr("The data item '%1' on line %2 would not come back unchanged from the Record view: %3")
                         .arg(part.line.toString(), QString::number(part.lineNumber), consequence);
    // A quoted warning brings its own full stop.
    if (!result.message.endsWith(u'.') && !result.message.endsWith(u".\""))
        result.message += u'.';
    return result;
}

} // namespace

RecordRoundTrip checkRecordRoundTrip(QStringView listText)
{
    RecordRoundTrip result;
    result.record = convertToRecordLayout(listText);
    if (!result.record.ok) {
        result.outcome = RecordRoundTrip::Outcome::Invalid;
        return result;
    }
    // On a fault, the items before it still tell which line is to blame.
    const ConversionResult back = convertToListLayoutUpToFault(result.record.text);
    // A text in the List layout's own form (as ZUNOPad writes it) comes back
    // character for character.
    if (back.ok && back.text == listText)
        return result;

    ListItems before(listText);
    ListItems after(back.text);
    qsizetype index = 0;
    for (;; ++index) {
        const bool hasBefore = before.next();
        const bool hasAfter = after.next();
        if (!hasBefore && !hasAfter && back.ok)
            break; // the same items
        if (!hasBefore) {
            if (!hasAfter)
                break; // cannot happen: a fault lies before some item
            RecordRoundTrip fault = changed(
                before.lastPart(), tr("the item '%1' would be added after it").arg(excerpt(after.item(), 0)));
            fault.record = std::move(result.record);
            return fault;
        }
        if (hasAfter && before.item() == after.item())
            continue;

        // The first item that does not come back as it was.
        const qsizetype same = hasAfter ? commonPrefixLength(before.item(), after.item()) : 0;
        const ListItems::Part &part = before.partAt(same);
        const QStringView line = trimSpaces(part.line);
        // The List conversion stopped at this item, or at the one before it
        // whose values this one would have continued.
        const bool stopsHere = !back.ok && (!hasAfter || after.isLast());
        QString consequence;
        if (stopsHere)
            consequence = tr("saving from the Record view would stop with the warning \"%1\"").arg(back.message);
        else if (line.contains(ItemSeparator))
            consequence = tr("it would come back as several items");
        else if (hasAfter)
            consequence = tr("it would come back as '%1'").arg(excerpt(after.item(), part.offset));
        else
            consequence = tr("it would be lost");
        if (line.contains(ItemSeparator))
            consequence = tr("it holds two spaces in a row, which the List layout reads as the gap between two "
                             "items, so %1")
                              .arg(consequence);
        RecordRoundTrip fault = changed(part, consequence);
        fault.record = std::move(result.record);
        return fault;
    }
    return result;
}

} // namespace zuno
