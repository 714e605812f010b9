#include "recovery/RecoveryStore.h"

#include "recovery/RecoveryFiles.h"
#include "recovery/RecoveryJournal.h"
#include "textfile/PosixIo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// The header of an entry is read from at most this many bytes.
constexpr qint64 HeaderLimit = 64 * 1024;

} // namespace

namespace recovery_files {

QByteArray encoded(const QString &folder, const QString &name)
{
    return QFile::encodeName(folder + QLatin1Char('/') + name);
}

QString hiddenName(const QString &id) { return QLatin1Char('.') + id + HiddenSuffix; }

// Opens one of the folder's files without following a link or waiting on
// a pipe, and keeps it only when it is a regular file of this user with no
// other name: nothing planted in the folder is written or read through.
// -1 with errno set otherwise.
int openOwnFile(const QByteArray &path, int flags)
{
    const int fd = ::open(path.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() || info.st_nlink != 1) {
        ::close(fd);
        errno = EPERM;
        return -1;
    }
    return fd;
}

QString incompleteReason() { return QCoreApplication::translate("Recovery", "The recovery data is incomplete."); }

} // namespace recovery_files

using namespace recovery_files;

namespace {

QString temporaryName(const QString &id) { return QLatin1Char('.') + id + QStringLiteral(".tmp"); }
// The end of an entry read to find when its last change was made.
constexpr qint64 TailLimit = qint64(1) << 20;

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

// Whether the folder's entry `name` is missing, or a regular file of ours.
bool missingOrOwn(const QString &folder, const QString &name)
{
    struct stat info {};
    if (::lstat(encoded(folder, name).constData(), &info) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && info.st_nlink == 1;
}

// Opens and takes the lock file of entry `id`; an invalid lock when another
// editor holds it or it cannot be made.
RecoveryLock lockEntry(const QString &folder, const QString &id)
{
    const int fd = openOwnFile(encoded(folder, id + LockSuffix), O_RDWR | O_CREAT);
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
    ::unlink(encoded(folder, hiddenName(id)).constData());
    ::unlink(encoded(folder, id + LockSuffix).constData());
}

// Whether any running editor (this one too) holds the entry's lock.
bool isHeld(const QString &folder, const QString &id)
{
    Fd fd(openOwnFile(encoded(folder, id + LockSuffix), O_RDWR));
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

// The entry's bytes: the first `limit` of them, all of them (0), or the
// last -`limit` of them.
Result<QByteArray, RecoveryError> readEntry(const QString &folder, const QString &id, qint64 limit)
{
    Fd fd(openOwnFile(encoded(folder, id + DataSuffix), O_RDONLY));
    if (!fd.valid() && (errno == EPERM || errno == ELOOP))
        return RecoveryError{QCoreApplication::translate("Recovery", "It is not a regular file of yours.")};
    if (!fd.valid())
        return RecoveryError{systemReason(errno)};
    // Regular files never block; the flag was only for the open.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    QByteArray bytes;
    qint64 from = 0;
    if (limit < 0) {
        struct stat info {};
        ::fstat(fd.get(), &info);
        from = std::max<qint64>(0, info.st_size + limit);
        limit = info.st_size - from;
    }
    if (limit > 0) {
        bytes.resize(limit);
        qint64 got = 0;
        while (got < limit) {
            const ssize_t n = ::pread(fd.get(), bytes.data() + got, size_t(limit - got), off_t(from + got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return RecoveryError{systemReason(errno)};
            if (n == 0)
                break;
            got += n;
        }
        bytes.truncate(got);
        return bytes;
    }
    struct stat info {};
    ::fstat(fd.get(), &info);
    if (const int error = textfile::readAllFrom(fd.get(), info.st_size, std::numeric_limits<qint64>::max(), bytes))
        return RecoveryError{systemReason(error == textfile::TooLarge ? EFBIG : error)};
    return bytes;
}

// Why the recovery folder is not to be used, if it is not: it must be a
// folder of this user that no one else may write to, or anyone could put
// entries there for this editor to offer, or links for it to write through.
QString folderProblem(const QString &folder)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0)
        return systemReason(errno);
    if (!S_ISDIR(info.st_mode))
        return QCoreApplication::translate("Recovery", "It is not a folder.");
    if (info.st_uid != ::geteuid())
        return QCoreApplication::translate("Recovery", "It belongs to another user.");
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return QCoreApplication::translate("Recovery", "Other users may write to it.");
    return QString();
}

// Puts aside an entry that cannot be read: out of the list, so that it is
// not reported again, but kept (it may still be read by hand). Its lock
// goes whatever it is; unlinking never follows a link.
void setAside(const QString &folder, const QString &id)
{
    const QString kept = id + QStringLiteral(".unreadable");
    ::rename(encoded(folder, id + DataSuffix).constData(), encoded(folder, kept).constData());
    ::unlink(encoded(folder, id + LockSuffix).constData());
}

// The text of an entry: its base with its journal applied. A base that is
// the document's file must still be that file, or the edits would be put
// on a text they were not made on.
} // namespace


QString elidedPath(const QString &path)
{
    constexpr qsizetype Head = 40;
    constexpr qsizetype Tail = 60;
    if (path.size() <= Head + Tail + 1)
        return path;
    return path.left(Head) + QChar(0x2026) + path.right(Tail);
}

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

QString RecoveryStore::checkFolder() const
{
    const QString problem = folderProblem(m_folder);
    if (!problem.isEmpty() && !m_folderTold) {
        m_folderTold = true;
        m_notices.append(QCoreApplication::translate("Recovery",
                                                     "The recovery folder '%1' is not used: %2 Unsaved changes "
                                                     "are not kept for recovery.")
                             .arg(elidedPath(m_folder), problem));
    }
    return problem;
}

QList<RecoveryEntry> RecoveryStore::freeEntries() const
{
    QMutexLocker locker(&m_mutex);
    QList<RecoveryEntry> entries;
    struct stat info {};
    if (::lstat(QFile::encodeName(m_folder).constData(), &info) != 0 || !checkFolder().isEmpty())
        return entries;
    // Links and other odd things too: each is reported and put aside.
    const QStringList names =
        QDir(m_folder).entryList({QStringLiteral("*") + DataSuffix}, QDir::AllEntries | QDir::System | QDir::Hidden);
    for (const QString &name : names) {
        const QString id = name.chopped(DataSuffix.size());
        if (!missingOrOwn(m_folder, id + LockSuffix)) {
            // A lock that is not a file of ours was planted: not trusted.
            setAside(m_folder, id);
            m_notices.append(QCoreApplication::translate("Recovery", "The recovery entry '%1' has a lock that is "
                                                                     "not a file of yours; it was put aside.")
                                 .arg(name));
            continue;
        }
        if (isHeld(m_folder, id))
            continue;
        auto bytes = readEntry(m_folder, id, HeaderLimit);
        auto data = bytes.ok() ? parseRecovery(bytes.value(), true) : Result<RecoveryData, RecoveryFormatError>(RecoveryFormatError{});
        if (data.ok()) {
            // The journal's last record tells when the last change was made.
            if (auto tail = readEntry(m_folder, id, -TailLimit); tail.ok()) {
                if (const auto end = journalEnd(tail.value()))
                    data.value().changedMs = std::max(data.value().changedMs, end->changedMs);
            }
            entries.append({id, std::move(data).value()});
            continue;
        }
        const QString reason = bytes.ok() ? QCoreApplication::translate("Recovery", "The recovery data is incomplete.")
                                          : bytes.error().message;
        setAside(m_folder, id);
        m_notices.append(QCoreApplication::translate("Recovery", "The recovery entry '%1' could not be read (%2); "
                                                                 "it was put aside as '%3'.")
                             .arg(name, reason, id + QStringLiteral(".unreadable")));
    }
    // Hidden entries of editors that have ended held no unsaved changes.
    const QStringList hidden = QDir(m_folder).entryList({QStringLiteral(".*") + HiddenSuffix},
                                                         QDir::AllEntries | QDir::System | QDir::Hidden);
    for (const QString &name : hidden) {
        const QString id = name.sliced(1).chopped(HiddenSuffix.size());
        if (id != m_ownId && missingOrOwn(m_folder, id + LockSuffix) && !isHeld(m_folder, id))
            removeEntryFiles(m_folder, id);
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
    // An entry cut short stays (a later start may find it whole); one
    // whose journal cannot be put on its base never will be: it is kept
    // aside, as an entry that cannot be listed is, and the caller says why.
    if (!parseRecovery(bytes.value(), true).ok())
        return RecoveryError{incompleteReason()};
    auto data = replayRecovery(bytes.value());
    if (!data.ok() && parseRecovery(bytes.value(), false).ok())
        setAside(m_folder, claimed.entry.id);
    if (!data.ok())
        return data.error();
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
    m_written = false;
}

QString RecoveryStore::ownName() const
{
    return m_hidden ? hiddenName(m_ownId) : m_ownId + DataSuffix;
}

Result<void, RecoveryError> RecoveryStore::write(const RecoveryData &data, bool hidden, bool takeBaseIn)
{
    QMutexLocker locker(&m_mutex);
    if (m_ownId.isEmpty()) {
        // Made for this user alone; one that was there is checked.
        const QByteArray folder = QFile::encodeName(m_folder);
        if (!QDir().mkpath(QFileInfo(m_folder).path()) || (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST))
            return RecoveryError{systemReason(errno)};
        if (const QString problem = checkFolder(); !problem.isEmpty())
            return RecoveryError{problem};
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
    // A fresh file: whatever has the name is only unlinked, never written.
    ::unlink(temporary.constData());
    Fd fd(::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid())
        return RecoveryError{systemReason(errno)};
    qint64 entryBytes = 0;
    int error = writeEntry(fd.get(), data, takeBaseIn, entryBytes);
    if (!error && ::fsync(fd.get()) != 0)
        error = errno;
    const QString other = ownName();
    m_hidden = hidden;
    if (!error && ::rename(temporary.constData(), encoded(m_folder, ownName()).constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.constData());
        m_written = false;
        return RecoveryError{systemReason(error)};
    }
    if (other != ownName())
        ::unlink(encoded(m_folder, other).constData());
    m_written = true;
    m_entryBytes = entryBytes;
    m_journalBytes = 0;
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
    m_written = false;
    m_hidden = false;
}

QStringList RecoveryStore::takeNotices()
{
    QMutexLocker locker(&m_mutex);
    return std::exchange(m_notices, {});
}

} // namespace zuno
