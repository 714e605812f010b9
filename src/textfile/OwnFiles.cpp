#include "textfile/OwnFiles.h"

#include "textfile/FilePlace.h"
#include "textfile/PosixIo.h"

#include <QList>
#include <QRandomGenerator>

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zuno::textfile {

namespace {

// Our temporary files and backups: "." + the file's name (shortened to fit)
// + ".zunopad-" + the writer's process id + "-" + six random characters,
// and for a backup ".bak" after that. The process id tells whether the
// writer still runs.
constexpr char OwnMarker[] = ".zunopad-";
constexpr char BackupSuffix[] = ".bak";
constexpr qsizetype MaxNameBytes = 255;

QByteArray ownPrefix(const QByteArray &name)
{
    // Room for the marker, a process id, the random part and ".bak".
    constexpr qsizetype overhead = 1 + 9 + 10 + 1 + 6 + 4;
    return '.' + name.left(MaxNameBytes - overhead) + OwnMarker;
}

// The writer's process id in `entry` when it is one of our own temporary
// files (with `backupOf`, a backup of that file), else 0.
qint64 ownWriter(const QByteArray &entry, const QByteArray &backupOf)
{
    const qsizetype marker = entry.lastIndexOf(OwnMarker);
    if (!entry.startsWith('.') || marker < 1)
        return 0;
    QByteArray rest = entry.mid(marker + qsizetype(sizeof OwnMarker - 1));
    const bool backup = rest.endsWith(BackupSuffix);
    if (backup != !backupOf.isEmpty())
        return 0;
    if (backup) {
        if (!entry.startsWith(ownPrefix(backupOf)))
            return 0;
        rest.chop(qsizetype(sizeof BackupSuffix - 1));
    }
    const qsizetype dash = rest.indexOf('-');
    if (dash < 1 || rest.size() - dash - 1 != 6)
        return 0;
    bool ok = false;
    const qint64 pid = rest.left(dash).toLongLong(&ok);
    return ok && pid > 0 && pid <= 0x7fffffff ? pid : 0;
}

bool hasEnded(qint64 pid)
{
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// Whether `entry` is one of our own temporary files whose writer no longer
// runs, or (with `ownToo`) is this process. A backup is never one: it may
// hold the only whole copy of a file whose save did not finish.
bool isOwnLeftover(const QByteArray &entry, bool ownToo)
{
    const qint64 pid = ownWriter(entry, QByteArray());
    return pid != 0 && (pid == ::getpid() ? ownToo : hasEnded(pid));
}

// The names in the folder that pass `test`.
template <typename Test>
QList<QByteArray> namesIn(int folderFd, Test test)
{
    QList<QByteArray> names;
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return names;
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return names;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray entryName(entry->d_name);
        if (test(entryName))
            names.append(entryName);
    }
    ::closedir(dir);
    return names;
}

} // namespace

QByteArray ownName(const QByteArray &name, bool backup)
{
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray result = ownPrefix(name) + QByteArray::number(qint64(::getpid())) + '-';
    for (int i = 0; i < 6; ++i)
        result += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    if (backup)
        result += BackupSuffix;
    return result;
}

void removeLeftovers(int folderFd, const QByteArray &onlyOf, bool ownToo)
{
    const auto isLeftover = [&](const QByteArray &entry) {
        return isOwnLeftover(entry, ownToo) && (onlyOf.isEmpty() || entry.startsWith(ownPrefix(onlyOf)));
    };
    for (const QByteArray &leftover : namesIn(folderFd, isLeftover)) {
        struct stat info {};
        if (::fstatat(folderFd, leftover.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)
            && info.st_uid == ::geteuid())
            ::unlinkat(folderFd, leftover.constData(), 0);
    }
}

void removeLeftoverTemporaries(const QString &path)
{
    const auto place = placeOf(path);
    if (!place.ok())
        return;
    const Fd folder(::open(place.value().folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid())
        removeLeftovers(folder.get(), place.value().name, false);
}

QList<QByteArray> unfinishedBackups(int folderFd, const QByteArray &name)
{
    return namesIn(folderFd, [&](const QByteArray &entry) {
        const qint64 pid = ownWriter(entry, name);
        return pid != 0 && pid != ::getpid() && hasEnded(pid);
    });
}

} // namespace zuno::textfile
