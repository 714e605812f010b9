#pragma once
// Keeps the recovery data of the one document up to date: written once the
// text has rested for a second after a change, and at least every 30 s
// while changes go on, so that at most the last few seconds of typing are
// ever lost. The text is copied here, on the caller's thread; the rest is
// done by the writer's thread.

#include "recovery/RecoveryWriter.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

namespace zuno {

class DocumentRecovery : public QObject {
    Q_OBJECT
public:
    // What to keep of the document now, its text copied into the buffer
    // given (which may be empty); nothing when it has no unsaved changes.
    using Snapshot = std::function<std::optional<RecoveryData>(QByteArray buffer)>;

    DocumentRecovery(RecoveryStore &store, Snapshot snapshot, QObject *parent = nullptr);

    // The rest after a change, and the longest wait while changes go on.
    void setDelays(int idleMs, int latestMs);

    // The text has changed.
    void noteChange();
    // The document has no unsaved changes any more (saved, discarded,
    // replaced): its data goes.
    void settle();
    // The user chose not to keep the changes: the data goes and stays gone
    // until the text changes again.
    void decline();
    // Writes the data at once and waits for it (at most `timeoutMs`): for
    // a signal or the end of the session. False when it did not finish.
    bool writeNow(int timeoutMs);
    // The program ends normally: nothing is left behind.
    void endCleanly(int timeoutMs);

signals:
    void writeFailed(const QString &reason);

private:
    void due();

    RecoveryStore &m_store;
    Snapshot m_snapshot;
    QTimer m_idle;
    QTimer m_latest;
    qint64 m_changedMs = 0;
    bool m_declined = false;
    RecoveryWriter m_writer;
};

} // namespace zuno
