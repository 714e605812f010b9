#include "format/RoundTrip.h"

#include "format/DataItem.h"
#include "format/TextStreams.h"

#include <QList>

#include <utility>

namespace zuno {

namespace {

// The data items of a List text, one by one, as the List layout reads them.
// A PL item made of several lines is joined into one; its parts remember the
// lines they came from. Keeps the lines it holds alive itself, as a
// reader's lines may last only until it reads the next.
class ListItems {
public:
    explicit ListItems(QByteArrayView text) : m_reader(text)
    {
        advance();
    }

    // Moves to the next item; false when there is none.
    bool next()
    {
        m_parts.clear();
        if (!m_hasPending)
            return false;
        m_first = m_pending;
        std::swap(m_firstHolder, m_pendingHolder);
        m_firstPart = {0, m_pendingNumber};
        advance();
        if (!startsWithValueListCode(m_first) || !m_hasPending || !startsWithValueListCode(m_pending)) {
            m_item = m_first;
            return true;
        }
        m_parts.append(m_firstPart);
        m_joined.resize(0);
        m_joined += m_first;
        while (m_hasPending && startsWithValueListCode(m_pending)) {
            const QStringView values = m_pending.sliced(ValueListCode.size());
            const bool comma = needsJoiningComma(m_joined, values);
            m_parts.append({m_joined.size() + (comma ? 1 : 0), m_pendingNumber});
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
    bool isLast() const { return !m_hasPending; }

    struct Part {
        qsizetype offset;     // where the line's text begins in the item
        qsizetype lineNumber; // from 0
    };
    // The part of the current item that holds its character at `offset`.
    const Part &partAt(qsizetype offset) const
    {
        if (m_parts.isEmpty())
            return m_firstPart;
        qsizetype i = m_parts.size() - 1;
        while (i > 0 && m_parts[i].offset > offset)
            --i;
        return m_parts[i];
    }
    const Part &lastPart() const { return m_parts.isEmpty() ? m_firstPart : m_parts.last(); }

private:
    // The next non-empty line, trimmed, if any.
    void advance()
    {
        m_hasPending = false;
        while (m_reader.hasNext()) {
            const QStringView trimmed = trimSpaces(m_reader.next());
            ++m_lineNumber;
            if (!trimmed.isEmpty()) {
                m_reader.keepLine(m_pendingHolder);
                m_pending = trimmed;
                m_pendingNumber = m_lineNumber;
                m_hasPending = true;
                return;
            }
        }
    }

    text::Utf8LineReader m_reader;
    qsizetype m_lineNumber = -1;
    bool m_hasPending = false;
    QStringView m_pending; // the next item's first line, trimmed
    QString m_pendingHolder;
    qsizetype m_pendingNumber = -1;
    QStringView m_first; // the current item's first line, trimmed
    QString m_firstHolder;
    QStringView m_item;
    QString m_joined;
    Part m_firstPart{0, 0}; // the line of an item of one line
    QList<Part> m_parts;    // the lines of a PL item of several, else empty
};

// The line of the text numbered `number` (from 0), as it stands.
QString lineNumbered(QByteArrayView text, qsizetype number)
{
    text::Utf8LineReader reader(text);
    for (qsizetype n = 0; reader.hasNext(); ++n) {
        const QStringView line = reader.next();
        if (n == number)
            return line.toString();
    }
    return QString();
}

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

// Compares the List text with the List text that came back from its Record
// layout, item by item, and puts the first item that changes into `trip`.
void compareItems(QByteArrayView listText, const PartialConversion<QByteArray> &back,
                  RecordRoundTrip<QByteArray> &trip)
{
    ListItems before(listText);
    ListItems after(back.text);
    RoundTripChange &change = trip.change;
    for (;;) {
        const bool hasBefore = before.next();
        const bool hasAfter = after.next();
        if (!hasBefore && !hasAfter && back.complete)
            return; // the same items
        if (!hasBefore) {
            if (!hasAfter)
                return; // cannot happen: a fault lies before some item
            trip.unchanged = false;
            change.lineNumber = before.lastPart().lineNumber;
            change.line = lineNumbered(listText, change.lineNumber);
            change.consequence = RoundTripChange::Consequence::ItemAdded;
            change.item = excerpt(after.item(), 0);
            return;
        }
        if (hasAfter && before.item() == after.item())
            continue;

        // The first item that does not come back as it was.
        trip.unchanged = false;
        const qsizetype same = hasAfter ? commonPrefixLength(before.item(), after.item()) : 0;
        const auto &part = before.partAt(same);
        change.lineNumber = part.lineNumber;
        change.line = lineNumbered(listText, part.lineNumber);
        change.holdsTwoSpaces = trimSpaces(change.line).contains(ItemSeparator);
        // The List conversion stopped at this item, or at the one before it
        // whose values this one would have continued.
        const bool stopsHere = !back.complete && (!hasAfter || after.isLast());
        using Consequence = RoundTripChange::Consequence;
        if (stopsHere) {
            change.consequence = Consequence::ConversionStops;
            change.stop = back.fault;
        } else if (change.holdsTwoSpaces) {
            change.consequence = Consequence::SplitIntoItems;
        } else if (hasAfter) {
            change.consequence = Consequence::ComesBackAs;
            change.item = excerpt(after.item(), part.offset);
        } else {
            change.consequence = Consequence::Lost;
        }
        return;
    }
}

} // namespace

Result<RecordRoundTrip<QByteArray>, ConversionFault> checkRecordRoundTrip(QByteArrayView listText)
{
    auto record = convertToRecordLayout(listText);
    if (!record.ok())
        return record.error();
    RecordRoundTrip<QByteArray> trip;
    trip.record = std::move(record).value();
    // A text in the List layout's own form (as ZUNOPad writes it) comes back
    // character for character.
    if (listLayoutEquals(trip.record, listText))
        return trip;
    // On a fault, the items before it still tell which line is to blame.
    compareItems(listText, convertToListLayoutUpToFault(trip.record), trip);
    return trip;
}

} // namespace zuno
