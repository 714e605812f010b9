#include "recovery/DocumentRecovery.h"

#include <QDateTime>

namespace zuno {

DocumentRecovery::DocumentRecovery(RecoveryStore &store, Snapshot snapshot, QObject *parent)
    : QObject(parent), m_store(store), m_snapshot(std::move(snapshot)),
      m_writer(store, [this](const QString &reason) {
          QMetaObject::invokeMethod(this, [this, reason] { emit writeFailed(reason); }, Qt::QueuedConnection);
      })
{
    m_idle.setSingleShot(true);
    m_latest.setSingleShot(true);
    setDelays(1000, 30000);
    connect(&m_idle, &QTimer::timeout, this, &DocumentRecovery::due);
    connect(&m_latest, &QTimer::timeout, this, &DocumentRecovery::due);
}

void DocumentRecovery::setDelays(int idleMs, int latestMs)
{
    m_idle.setInterval(idleMs);
    m_latest.setInterval(latestMs);
}

void DocumentRecovery::noteChange()
{
    m_changedMs = QDateTime::currentMSecsSinceEpoch();
    m_declined = false;
    m_idle.start();
    if (!m_latest.isActive())
        m_latest.start();
}

void DocumentRecovery::due()
{
    m_idle.stop();
    m_latest.stop();
    if (m_declined)
        return;
    std::optional<RecoveryData> data = m_snapshot(m_writer.takeSpareBuffer());
    if (!data) {
        m_writer.remove();
        return;
    }
    data->changedMs = m_changedMs;
    m_writer.write(std::move(*data));
}

void DocumentRecovery::settle()
{
    m_idle.stop();
    m_latest.stop();
    m_writer.remove();
}

void DocumentRecovery::decline()
{
    settle();
    m_declined = true;
}

bool DocumentRecovery::writeNow(int timeoutMs)
{
    due();
    return m_writer.finish(timeoutMs);
}

void DocumentRecovery::endCleanly(int timeoutMs)
{
    settle();
    m_writer.finish(timeoutMs);
}

} // namespace zuno
