#include "recovery/RecoveryJournal.h"

#include "textfile/Digest.h"

#include <QCoreApplication>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace zuno {

namespace {

constexpr char RecordMark = 'J';
// The mark, position, removed and inserted lengths before the inserted
// bytes; caret, time, the record's size and its digest after them.
constexpr qint64 HeadBytes = 1 + 3 * 8;
constexpr qint64 TailBytes = 4 * 8;
constexpr qint64 FixedBytes = HeadBytes + TailBytes;

void put(char *at, qint64 value) { qToLittleEndian<qint64>(value, at); }
qint64 take(const char *at) { return qFromLittleEndian<qint64>(at); }

// The edit's text, kept in a gap buffer: typing moves the gap a little at a
// time, so a long journal of edits close together replays in time
// proportional to the edits, not to the text times the edits.
class GapText {
public:
    explicit GapText(QByteArray text) : m_bytes(std::move(text)), m_gapStart(m_bytes.size()), m_gapEnd(m_bytes.size()) {}

    qint64 size() const { return m_bytes.size() - (m_gapEnd - m_gapStart); }

    void replace(qint64 position, qint64 removed, QByteArrayView inserted)
    {
        moveGap(position);
        m_gapEnd += removed;
        if (m_gapEnd - m_gapStart < inserted.size())
            widen(inserted.size());
        std::memcpy(m_bytes.data() + m_gapStart, inserted.data(), size_t(inserted.size()));
        m_gapStart += inserted.size();
    }

    QByteArray take()
    {
        moveGap(size());
        m_bytes.truncate(m_gapStart);
        return std::move(m_bytes);
    }

private:
    void moveGap(qint64 position)
    {
        char *data = m_bytes.data();
        const qint64 gap = m_gapEnd - m_gapStart;
        if (position < m_gapStart)
            std::memmove(data + position + gap, data + position, size_t(m_gapStart - position));
        else if (position > m_gapStart)
            std::memmove(data + m_gapStart, data + m_gapEnd, size_t(position - m_gapStart));
        m_gapStart = position;
        m_gapEnd = position + gap;
    }

    void widen(qint64 atLeast)
    {
        const qint64 tail = m_bytes.size() - m_gapEnd;
        const qint64 more = std::max<qint64>(atLeast, std::max<qint64>(m_bytes.size() / 8, 4096));
        m_bytes.resize(m_bytes.size() + more);
        char *data = m_bytes.data();
        std::memmove(data + m_gapEnd + more, data + m_gapEnd, size_t(tail));
        m_gapEnd += more;
    }

    QByteArray m_bytes;
    qint64 m_gapStart;
    qint64 m_gapEnd;
};

} // namespace

QByteArray journalRecord(const JournalEdit &edit)
{
    QByteArray record(FixedBytes + edit.inserted.size(), Qt::Uninitialized);
    char *at = record.data();
    *at = RecordMark;
    put(at + 1, edit.position);
    put(at + 9, edit.removed);
    put(at + 17, edit.inserted.size());
    std::memcpy(at + HeadBytes, edit.inserted.constData(), size_t(edit.inserted.size()));
    char *tail = at + HeadBytes + edit.inserted.size();
    put(tail, edit.caret);
    put(tail + 8, edit.changedMs);
    put(tail + 16, record.size());
    put(tail + 24, qint64(digestOf(QByteArrayView(record).first(record.size() - 8))));
    return record;
}

std::optional<JournalEnd> journalEnd(QByteArrayView journal)
{
    if (journal.size() < FixedBytes)
        return std::nullopt;
    const char *end = journal.data() + journal.size();
    const qint64 size = take(end - 16);
    if (size < FixedBytes || size > journal.size())
        return std::nullopt;
    const QByteArrayView record = journal.last(size);
    if (record.front() != RecordMark || take(record.data() + 17) != size - FixedBytes
        || quint64(take(end - 8)) != digestOf(record.first(size - 8)))
        return std::nullopt;
    return JournalEnd{take(end - 32), take(end - 24)};
}

Result<ReplayedText, ReplayError> replayJournal(QByteArray base, QByteArrayView journal)
{
    ReplayedText replayed;
    GapText text(std::move(base));
    qint64 at = 0;
    while (at < journal.size()) {
        const QByteArrayView rest = journal.sliced(at);
        // A record that is not whole, or not as it was written, can only be
        // the last one, which a kill cut short: the edits before it stand.
        if (rest.size() < FixedBytes || rest.front() != RecordMark)
            break;
        const qint64 inserted = take(rest.data() + 17);
        if (inserted < 0 || inserted > rest.size() - FixedBytes)
            break;
        const qint64 size = FixedBytes + inserted;
        const char *tail = rest.data() + HeadBytes + inserted;
        if (take(tail + 16) != size || quint64(take(tail + 24)) != digestOf(rest.first(size - 8)))
            break;
        const qint64 position = take(rest.data() + 1);
        const qint64 removed = take(rest.data() + 9);
        if (position < 0 || removed < 0 || position > text.size() || removed > text.size() - position)
            return ReplayError{QCoreApplication::translate(
                "Recovery", "The recorded changes do not fit the text they were made on.")};
        text.replace(position, removed, rest.sliced(HeadBytes, inserted));
        replayed.end = JournalEnd{take(tail), take(tail + 8)};
        ++replayed.edits;
        at += size;
    }
    replayed.droppedBytes = journal.size() - at;
    replayed.text = text.take();
    return replayed;
}

} // namespace zuno
