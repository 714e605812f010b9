#pragma once
// Keeps the recovery data of the one document up to date. The entry holds a
// base and the journal of the edits made on it since: each edit is handed
// over as it is made and written within a fraction of a second, on the
// writer's thread, so typing that goes on without a pause loses at most
// that much to a kill. The base is never copied whole here: it is the
// document's file as it was read (its text taken into the entry by the
// writer's thread, checked by its digest), the empty text, or a text the document holds anyway (shared
// with the writer, which writes it and lets it go). Where no such base is
// known (a whole text set from somewhere else, a write that failed), the
// text is copied whole as it was before there was a journal: once it has
// rested for a second after a change, and at least every 30 s while changes
// go on; the journal goes on from that copy.

#include "recovery/RecoveryJournal.h"
#include "recovery/RecoveryWriter.h"

#include <QList>
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

    // The rest after a change, and the longest wait while changes go on,
    // for a whole copy; how late the journal's edits may be written.
    void setDelays(int idleMs, int latestMs);
    void setJournalDelay(int ms);
    // Where the caret stands now, kept with the edits.
    void setCaretSource(std::function<qint64()> caret) { m_caret = std::move(caret); }
    RecoveryWriter &writer() { return m_writer; }

    // The text the edits that follow are made on. Its text, when the base
    // is Text, is handed to the writer and not kept here.
    void newBase(RecoveryData base);
    // At byte `position`, `removed` bytes gave way to `inserted`.
    void edited(qint64 position, qint64 removed, QByteArray inserted);
    // The whole text was replaced; a new base is to follow.
    void wholeTextReplaced();
    // Whether the document has unsaved changes.
    void setModified(bool modified);
    // The text has changed in a way not told by edited(): a whole copy.
    void noteChange();
    // An edit of most of the text at once (Replace All over a whole file):
    // a whole copy, written at once, instead of a journal record that would
    // hold the text twice more and be written twice over.
    void largeEdit();
    // The document has no unsaved changes any more (saved, discarded,
    // replaced): its data goes, and with it the base.
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
    void flush();
    void startEntry();
    void failed();

    RecoveryStore &m_store;
    Snapshot m_snapshot;
    std::function<qint64()> m_caret;
    QTimer m_idle;
    QTimer m_latest;
    QTimer m_journal;
    qint64 m_changedMs = 0;
    bool m_declined = false;
    bool m_modified = false;
    // The base of the current text is known: a descriptor (File, Empty) in
    // m_base, or a Text base the writer has.
    bool m_baseKnown = false;
    std::optional<RecoveryData> m_base;
    // An entry for the base has been handed to the writer.
    bool m_entry = false;
    // A whole copy is due at the next rest.
    bool m_copyDue = false;
    QList<JournalEdit> m_pending;
    RecoveryWriter m_writer;
};

} // namespace zuno
