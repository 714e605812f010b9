#pragma once
// The recovery folder: one entry for each document with unsaved changes,
// "<id>.zrec" (see RecoveryData.h) beside "<id>.lock". The editor that owns
// an entry holds a lock on its lock file (which names the owner's process
// id) for as long as it runs, so an entry that nobody holds is one whose
// editor has ended: a crash, a kill, a lost display. Entries are written
// atomically (a temporary file, synced, renamed over the old one, and the
// folder synced); the edits made since are appended to the entry (its
// journal) and synced. While the document has no unsaved changes (an undo
// back to the saved text) its entry is kept hidden, ".<id>.clean", and not
// offered. Nothing in the folder is opened through a link or when it
// is not a regular file of this user, and a folder that another user owns
// or may write to is not used at all.

#include "recovery/RecoveryData.h"

#include <QList>
#include <QMutex>
#include <QString>

#include <optional>

namespace zuno {

// A long path shortened to its beginning and its end, for a question.
QString elidedPath(const QString &path);

// $XDG_STATE_HOME/zunopad/recovery, else ~/.local/state/zunopad/recovery.
QString defaultRecoveryFolder();

// A held lock on one entry: while it lives, no other editor takes the entry.
class RecoveryLock {
public:
    RecoveryLock() = default;
    explicit RecoveryLock(int fd) : m_fd(fd) {}
    RecoveryLock(RecoveryLock &&other) noexcept;
    RecoveryLock &operator=(RecoveryLock &&other) noexcept;
    RecoveryLock(const RecoveryLock &) = delete;
    RecoveryLock &operator=(const RecoveryLock &) = delete;
    ~RecoveryLock();
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// An entry as the folder lists it: its text is not read.
struct RecoveryEntry {
    QString id;
    RecoveryData data;
};

// An entry this editor has taken, to offer it.
struct ClaimedEntry {
    RecoveryEntry entry;
    RecoveryLock lock;
};

struct RecoveryError {
    QString message; // the system's reason
};

// The whole text of an entry's bytes: its base with its journal applied;
// an error when the base is gone or changed, or the journal does not fit
// it. A torn last record is left out.
Result<RecoveryData, RecoveryError> replayRecovery(QByteArrayView bytes);
// An entry's base that names the document's file, made whole: the file's
// text as the document read it (in the Record layout when that was shown),
// so that the entry no longer depends on the file staying as it was. False,
// with `data` unchanged, when the file has changed since or the memory is not
// there; the entry then names the file.
bool takeFileBaseIn(RecoveryData &data);
// Writes an entry's bytes (see RecoveryStore::write) to the new file `fd`:
// 0, or the system's error; `bytes` says how many were written.
int writeEntry(int fd, const RecoveryData &data, bool takeBaseIn, qint64 &bytes);

class RecoveryStore {
public:
    explicit RecoveryStore(const QString &folder);

    QString folder() const { return m_folder; }

    // Entries that no running editor holds, the latest change first.
    QList<RecoveryEntry> freeEntries() const;
    // Takes the entry; nothing when another editor holds it now or it is gone.
    std::optional<ClaimedEntry> claim(const RecoveryEntry &entry) const;
    // The entry with its text; an error when it cannot be read whole.
    Result<RecoveryData, RecoveryError> read(const ClaimedEntry &claimed) const;
    // Deletes a claimed entry for good.
    void discard(ClaimedEntry claimed) const;

    // This editor's own entry. adopt makes a claimed entry this editor's
    // own (its data stays until the next write). write and removeOwn may
    // run on another thread than the rest.
    // The entry's bytes hold `data` (its base text, or what names the base)
    // and nothing else; `hidden` keeps it from being offered.
    void adopt(ClaimedEntry claimed);
    // With `takeBaseIn`, a base that names the document's file is made
    // whole (see takeFileBaseIn): a file whose bytes are the text shown is
    // copied in a piece at a time, never held whole.
    Result<void, RecoveryError> write(const RecoveryData &data, bool hidden = false, bool takeBaseIn = false);
    // Appends journal records to the entry that write made; an error when
    // there is none, or when they could not all be written (the entry is
    // then as it was before).
    Result<void, RecoveryError> append(QByteArrayView records);
    // Hides or shows the entry, if there is one.
    void setHidden(bool hidden);
    // The size of the journal appended since the last write.
    qint64 journalBytes() const;
    // Writes the entry again as one whole text, its journal applied, when
    // the journal has grown past `limit` bytes; false when that failed (no
    // memory, the disk), which leaves the entry as it was.
    bool compact(qint64 limit);
    void removeOwn();

    // What the user is to be told once: a folder that is not used, entries
    // that could not be read and were put aside (renamed "<id>.unreadable").
    QStringList takeNotices();

private:
    QString checkFolder() const;

    QString m_folder;
    mutable QStringList m_notices;
    mutable bool m_folderTold = false;
    mutable QMutex m_mutex;
    QString ownName() const;

    QString m_ownId;
    RecoveryLock m_ownLock;
    // What the own entry is now: written, hidden, its size and that of its
    // journal.
    bool m_written = false;
    bool m_hidden = false;
    qint64 m_entryBytes = 0;
    qint64 m_journalBytes = 0;
};

} // namespace zuno
