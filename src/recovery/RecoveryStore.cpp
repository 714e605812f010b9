#include "recovery/RecoveryStore.h"

#include "textfile/PosixIo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdlib>
#include <cerrno>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zuno {

using textfile::Fd;
using textfile::systemReason;

namespace {

const QString DataSuffix = QStringLiteral(".zrec");
const QString LockSuffix = QStringLiteral(".lock");
// The header of an entry is read from at most this many bytes.
constexpr qint64 HeaderLimit = 64 * 1024;

QByteArray encoded(const QString &folder, const QString &name)
{
    return QFile::encodeName(folder + QLatin1Char('/') + name);
}

QString temporaryName(const QString &id) { return QLatin1Char('.') + id + QStringLiteral(".tmp"); }

// Takes the lock on an open lock file without waiting. Where the file
// system has no locks, the process id written in it decides: the lock is
// free when that process has ended.
bool takeLock(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return true;
    if (errno == EWOULDBLOCK || errno == EINTR)
        return false;
    char text[32] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    const long pid = got > 0 ? std::atol(text) : 0;
    if (pid <= 0)
        return true;
    if (pid == long(::getpid()))
        return false;
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// Opens and takes the lock file of entry `id`; an invalid lock when another
// editor holds it or it cannot be made.
RecoveryLock lockEntry(const QString &folder, const QString &id)
{
    const int fd = ::open(encoded(folder, id + LockSuffix).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return RecoveryLock();
    if (!takeLock(fd)) {
        ::close(fd);
        return RecoveryLock();
    }
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) == 0)
        textfile::writeAll(fd, pid, 0);
    return RecoveryLock(fd);
}

void removeEntryFiles(const QString &folder, const QString &id)
{
    ::unlink(encoded(folder, id + DataSuffix).constData());
    ::unlink(encoded(folder, temporaryName(id)).constData());
    ::unlink(encoded(folder, id + LockSuffix).constData());
}

// Whether any running editor (this one too) holds the entry's lock.
bool isHeld(const QString &folder, const QString &id)
{
    Fd fd(::open(encoded(folder, id + LockSuffix).constData(), O_RDWR | O_CLOEXEC));
    return fd.valid() && !takeLock(fd.get());
}

QString newId()
{
    static constexpr char digits[] = "0123456789abcdef";
    QString id;
    for (int i = 0; i < 16; ++i)
        id += QLatin1Char(digits[QRandomGenerator::global()->bounded(16)]);
    return id;
}

Result<QByteArray, RecoveryError> readEntry(const QString &folder, const QString &id, qint64 limit)
{
    QFile file(folder + QLatin1Char('/') + id + DataSuffix);
    if (!file.open(QIODevice::ReadOnly))
        return RecoveryError{file.errorString()};
    QByteArray bytes = limit > 0 ? file.read(limit) : file.readAll();
    if (file.error() != QFileDevice::NoError)
        return RecoveryError{file.errorString()};
    return bytes;
}

} // namespace

QString defaultRecoveryFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // Only an absolute path counts, as the base directory rules say.
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/zunopad/recovery");
}

RecoveryLock::RecoveryLock(RecoveryLock &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

RecoveryLock &RecoveryLock::operator=(RecoveryLock &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

RecoveryLock::~RecoveryLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

RecoveryStore::RecoveryStore(const QString &folder) : m_folder(folder) {}

QList<RecoveryEntry> RecoveryStore::freeEntries() const
{
    QList<RecoveryEntry> entries;
    const QStringList names = QDir(m_folder).entryList({QStringLiteral("*") + DataSuffix}, QDir::Files);
    for (const QString &name : names) {
        const QString id = name.chopped(DataSuffix.size());
        if (isHeld(m_folder, id))
            continue;
        auto bytes = readEntry(m_folder, id, HeaderLimit);
        if (!bytes.ok())
            continue;
        auto data = parseRecovery(bytes.value(), true);
        if (data.ok())
            entries.append({id, std::move(data).value()});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const RecoveryEntry &a, const RecoveryEntry &b) {
        return a.data.changedMs > b.data.changedMs;
    });
    return entries;
}

std::optional<ClaimedEntry> RecoveryStore::claim(const RecoveryEntry &entry) const
{
    RecoveryLock lock = lockEntry(m_folder, entry.id);
    if (!lock.held())
        return std::nullopt;
    if (!QFile::exists(m_folder + QLatin1Char('/') + entry.id + DataSuffix)) {
        // Taken and removed by another editor meanwhile.
        removeEntryFiles(m_folder, entry.id);
        return std::nullopt;
    }
    return ClaimedEntry{entry, std::move(lock)};
}

Result<RecoveryData, RecoveryError> RecoveryStore::read(const ClaimedEntry &claimed) const
{
    auto bytes = readEntry(m_folder, claimed.entry.id, 0);
    if (!bytes.ok())
        return bytes.error();
    auto data = parseRecovery(bytes.value(), false);
    if (!data.ok())
        return RecoveryError{QCoreApplication::translate("Recovery", "The recovery data is incomplete.")};
    return std::move(data).value();
}

void RecoveryStore::discard(ClaimedEntry claimed) const
{
    removeEntryFiles(m_folder, claimed.entry.id);
}

void RecoveryStore::adopt(ClaimedEntry claimed)
{
    QMutexLocker locker(&m_mutex);
    if (!m_ownId.isEmpty())
        removeEntryFiles(m_folder, m_ownId);
    m_ownId = claimed.entry.id;
    m_ownLock = std::move(claimed.lock);
}

Result<void, RecoveryError> RecoveryStore::write(const RecoveryData &data)
{
    QMutexLocker locker(&m_mutex);
    if (m_ownId.isEmpty()) {
        if (!QDir().mkpath(m_folder))
            return RecoveryError{systemReason(errno)};
        ::chmod(QFile::encodeName(m_folder).constData(), 0700);
        for (int attempt = 0; attempt < 10 && !m_ownLock.held(); ++attempt) {
            const QString id = newId();
            if (QFile::exists(m_folder + QLatin1Char('/') + id + LockSuffix))
                continue;
            m_ownLock = lockEntry(m_folder, id);
            if (m_ownLock.held())
                m_ownId = id;
        }
        if (m_ownId.isEmpty())
            return RecoveryError{systemReason(errno ? errno : EEXIST)};
    }

    const QByteArray temporary = encoded(m_folder, temporaryName(m_ownId));
    Fd fd(::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid())
        return RecoveryError{systemReason(errno)};
    const QByteArray header = recoveryHeader(data);
    int error = textfile::writeAll(fd.get(), header, 0);
    if (!error)
        error = textfile::writeAll(fd.get(), data.text, off_t(header.size()));
    if (!error && ::fsync(fd.get()) != 0)
        error = errno;
    if (!error && ::rename(temporary.constData(), encoded(m_folder, m_ownId + DataSuffix).constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.constData());
        return RecoveryError{systemReason(error)};
    }
    // The rename itself is made durable.
    if (Fd folder(::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); folder.valid())
        ::fsync(folder.get());
    return {};
}

void RecoveryStore::removeOwn()
{
    QMutexLocker locker(&m_mutex);
    if (m_ownId.isEmpty())
        return;
    removeEntryFiles(m_folder, m_ownId);
    m_ownId.clear();
    m_ownLock = RecoveryLock();
}

} // namespace zuno
