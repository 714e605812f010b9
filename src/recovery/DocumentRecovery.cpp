#include "recovery/DocumentRecovery.h"

#include <QDateTime>

namespace zuno {

DocumentRecovery::DocumentRecovery(RecoveryStore &store, Snapshot snapshot, QObject *parent)
    : QObject(parent), m_store(store), m_snapshot(std::move(snapshot)),
      m_writer(store, [this](const QString &reason) {
          QMetaObject::invokeMethod(
              this,
              [this, reason] {
                  failed();
                  emit writeFailed(reason);
              },
              Qt::QueuedConnection);
      })
{
    m_idle.setSingleShot(true);
    m_latest.setSingleShot(true);
    m_journal.setSingleShot(true);
    setDelays(1000, 30000);
    setJournalDelay(250);
    connect(&m_idle, &QTimer::timeout, this, &DocumentRecovery::due);
    connect(&m_latest, &QTimer::timeout, this, &DocumentRecovery::due);
    connect(&m_journal, &QTimer::timeout, this, &DocumentRecovery::flush);
}

void DocumentRecovery::setDelays(int idleMs, int latestMs)
{
    m_idle.setInterval(idleMs);
    m_latest.setInterval(latestMs);
}

void DocumentRecovery::setJournalDelay(int ms) { m_journal.setInterval(ms); }

void DocumentRecovery::newBase(RecoveryData base)
{
    m_pending.clear();
    m_copyDue = false;
    m_idle.stop();
    m_latest.stop();
    m_baseKnown = true;
    base.changedMs = QDateTime::currentMSecsSinceEpoch();
    if (base.base == RecoveryBase::Text) {
        // Written now (hidden while there is nothing unsaved), for the
        // text is let go of once written.
        m_base.reset();
        m_writer.write(std::move(base), !m_modified || m_declined);
        m_entry = true;
        return;
    }
    m_base = std::move(base);
    if (m_entry)
        m_writer.remove();
    m_entry = false;
    if (m_modified && !m_declined)
        startEntry();
}

void DocumentRecovery::startEntry()
{
    RecoveryData data = *m_base;
    data.changedMs = QDateTime::currentMSecsSinceEpoch();
    m_writer.write(std::move(data), !m_modified);
    m_entry = true;
}

void DocumentRecovery::edited(qint64 position, qint64 removed, QByteArray inserted)
{
    if (!m_baseKnown || m_copyDue) {
        noteChange();
        return;
    }
    m_declined = false;
    if (!m_entry)
        startEntry();
    m_changedMs = QDateTime::currentMSecsSinceEpoch();
    m_pending.append(JournalEdit{position, removed, std::move(inserted), 0, m_changedMs});
    if (!m_journal.isActive())
        m_journal.start();
}

void DocumentRecovery::flush()
{
    m_journal.stop();
    if (m_pending.isEmpty())
        return;
    const qint64 caret = m_caret ? m_caret() : 0;
    QByteArray records;
    for (JournalEdit &edit : m_pending) {
        edit.caret = caret;
        records += journalRecord(edit);
    }
    m_pending.clear();
    m_writer.append(std::move(records));
}

void DocumentRecovery::wholeTextReplaced()
{
    // What the old entry holds is not this text: a copy is due unless a
    // new base comes first.
    m_pending.clear();
    m_baseKnown = false;
    noteChange();
}

void DocumentRecovery::setModified(bool modified)
{
    m_modified = modified;
    if (m_entry) {
        flush();
        m_writer.setHidden(!modified);
    } else if (modified && m_baseKnown && m_base && !m_declined && !m_copyDue) {
        startEntry();
    }
}

void DocumentRecovery::noteChange()
{
    m_changedMs = QDateTime::currentMSecsSinceEpoch();
    m_declined = false;
    m_copyDue = true;
    m_idle.start();
    if (!m_latest.isActive())
        m_latest.start();
}

void DocumentRecovery::largeEdit()
{
    m_pending.clear();
    noteChange();
    // Once the edit is in, whatever typing follows.
    QTimer::singleShot(0, this, &DocumentRecovery::due);
}

void DocumentRecovery::due()
{
    m_idle.stop();
    m_latest.stop();
    if (m_declined || !m_copyDue)
        return;
    m_copyDue = false;
    m_pending.clear();
    // No buffer is kept for it: a second whole text would stay resident for
    // a copy the journal makes rare.
    std::optional<RecoveryData> data = m_snapshot(QByteArray());
    if (!data) {
        m_writer.remove();
        m_entry = false;
        m_baseKnown = false;
        return;
    }
    data->changedMs = m_changedMs;
    data->base = RecoveryBase::Text;
    m_writer.write(std::move(*data));
    // The edits that follow go on from this copy.
    m_entry = true;
    m_baseKnown = true;
    m_base.reset();
}

void DocumentRecovery::failed()
{
    // The entry on disk cannot be trusted to take more edits: the next
    // rest writes the whole text.
    if (m_entry || m_baseKnown) {
        m_entry = false;
        m_baseKnown = false;
        m_pending.clear();
    }
}

void DocumentRecovery::settle()
{
    m_idle.stop();
    m_latest.stop();
    m_journal.stop();
    m_pending.clear();
    m_copyDue = false;
    m_entry = false;
    m_baseKnown = false;
    m_base.reset();
    m_writer.remove();
}

void DocumentRecovery::decline()
{
    settle();
    m_declined = true;
}

bool DocumentRecovery::writeNow(int timeoutMs)
{
    flush();
    if (m_copyDue)
        due();
    return m_writer.finish(timeoutMs);
}

void DocumentRecovery::endCleanly(int timeoutMs)
{
    settle();
    m_writer.finish(timeoutMs);
}

} // namespace zuno
