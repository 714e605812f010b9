#include "platform/qt/SessionPeers.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

#ifdef ZUNO_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#endif

namespace zuno {

namespace {

const QString ServicePrefix = QStringLiteral("org.zunopad.ZUNOPad.p");
const QString ObjectPath = QStringLiteral("/Editor");
const QString Interface = QStringLiteral("org.zunopad.ZUNOPad");
// A window that does not answer within this is taken as unreachable.
constexpr int AnswerMs = 1000;

// The lock file that stands for `path`: named after the file's full,
// resolved path, so that two names of one file share it.
QString lockPathFor(const QString &path)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QFileInfo file(path);
    const QString full = file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
    const QByteArray digest = QCryptographicHash::hash(full.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(folder).filePath(QStringLiteral("zunopad-%1.lock").arg(QString::fromLatin1(digest)));
}

std::unique_ptr<QLockFile> lockFor(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(lockPathFor(path));
    // Only a holder that has ended makes a lock stale, however old it is.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

SessionPeers::SessionPeers(QWidget &window) : QObject(&window), m_window(window)
{
#ifdef ZUNO_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        const QString service = ServicePrefix + QString::number(QCoreApplication::applicationPid());
        m_onBus = bus.registerService(service)
                  && bus.registerObject(ObjectPath, this, QDBusConnection::ExportScriptableSlots);
    }
#endif
}

SessionPeers::~SessionPeers()
{
#ifdef ZUNO_HAVE_DBUS
    if (m_onBus) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(ObjectPath);
        bus.unregisterService(ServicePrefix + QString::number(QCoreApplication::applicationPid()));
    }
#endif
}

void SessionPeers::hold(const QString &path)
{
    if (m_lock && m_heldPath == path)
        return;
    m_lock.reset();
    m_heldPath.clear();
    if (path.isEmpty())
        return;
    // Held by another window already (opened read-only here): that window
    // stays the holder.
    auto lock = lockFor(path);
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        m_heldPath = path;
    }
}

HeldElsewhere SessionPeers::bringForwardHolder(const QString &path)
{
    if (path.isEmpty())
        return HeldElsewhere::No;
    auto lock = lockFor(path);
    if (lock->tryLock(0))
        return HeldElsewhere::No; // released with `lock`
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock->getLockInfo(&pid, &host, &application) || pid == QCoreApplication::applicationPid())
        return HeldElsewhere::No;
#ifdef ZUNO_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        QDBusInterface holder(ServicePrefix + QString::number(pid), ObjectPath, Interface, bus);
        holder.setTimeout(AnswerMs);
        const QDBusReply<bool> reply = holder.call(QStringLiteral("bringForward"));
        if (reply.isValid() && reply.value())
            return HeldElsewhere::BroughtForward;
    }
#endif
    return HeldElsewhere::Unreachable;
}

QList<QPoint> SessionPeers::places() const
{
    QList<QPoint> corners;
#ifdef ZUNO_HAVE_DBUS
    if (!m_onBus)
        return corners;
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString self = ServicePrefix + QString::number(QCoreApplication::applicationPid());
    const QStringList names = bus.interface()->registeredServiceNames().value();
    for (const QString &name : names) {
        if (!name.startsWith(ServicePrefix) || name == self)
            continue;
        QDBusInterface peer(name, ObjectPath, Interface, bus);
        peer.setTimeout(AnswerMs);
        const QDBusReply<QString> reply = peer.call(QStringLiteral("place"));
        const QStringList xy = reply.isValid() ? reply.value().split(QLatin1Char(' ')) : QStringList();
        if (xy.size() == 2)
            corners << QPoint(xy[0].toInt(), xy[1].toInt());
    }
#endif
    return corners;
}

bool SessionPeers::bringForward()
{
    if (m_window.isMinimized())
        m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
    return true;
}

QString SessionPeers::place()
{
    const QPoint corner = m_window.frameGeometry().topLeft();
    return QStringLiteral("%1 %2").arg(corner.x()).arg(corner.y());
}

} // namespace zuno
