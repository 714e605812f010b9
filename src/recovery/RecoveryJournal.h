#pragma once
// The journal of a recovery entry: the edits made since the entry's base
// text, appended as they are made, so that the entry never needs a whole
// copy of the text between snapshots. Each record holds one edit (at byte
// `position`, `removed` bytes gave way to `inserted`), the caret and the time
// after it, and a digest of the record: a record cut short or damaged by a
// killed write ends the journal there, and the edits before it still stand.

#include "Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace zuno {

struct JournalEdit {
    qint64 position = 0;
    qint64 removed = 0;
    QByteArray inserted;
    qint64 caret = 0;
    qint64 changedMs = 0;
};

// The bytes of one record.
QByteArray journalRecord(const JournalEdit &edit);

// The caret and time of the last whole record of `journal`, found from its
// end without reading the rest; nothing when the end is torn.
struct JournalEnd {
    qint64 caret = 0;
    qint64 changedMs = 0;
};
std::optional<JournalEnd> journalEnd(QByteArrayView journal);

// The text after the journal's edits, made on `base`; the caret and time
// are those of the last edit (unchanged without one). An edit that does not
// fit the text it is made on means the journal does not belong to the base:
// an error, never a text put together wrongly.
struct ReplayedText {
    QByteArray text;
    std::optional<JournalEnd> end; // nothing: no edit
    qint64 edits = 0;
    qint64 droppedBytes = 0;       // of a torn last record
};
struct ReplayError {
    QString message;
};
Result<ReplayedText, ReplayError> replayJournal(QByteArray base, QByteArrayView journal);

} // namespace zuno
