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

// Whether `entry` is named as one of our own temporary files (of `name`
// only, or of any file) or, where allowed, a backup of `name`, whose writer
// no longer runs, or is this process.
bool isOwnLeftover(const QByteArray &entry, const QByteArray &name, LeftoversOf scope)
{
    const qsizetype marker = entry.lastIndexOf(OwnMarker);
    if (!entry.startsWith('.') || marker < 1)
        return false;
    const bool ofName = !name.isEmpty() && entry.startsWith(ownPrefix(name));
    QByteArray rest = entry.mid(marker + qsizetype(sizeof OwnMarker - 1));
    const bool backup = rest.endsWith(BackupSuffix);
    if (backup) {
        if (!ofName || scope == LeftoversOf::FileOnly)
            return false;
        rest.chop(qsizetype(sizeof BackupSuffix - 1));
    } else if (!ofName && scope == LeftoversOf::FileOnly) {
        return false;
    }
    const qsizetype dash = rest.indexOf('-');
    if (dash < 1 || rest.size() - dash - 1 != 6)
        return false;
    bool ok = false;
    const qint64 pid = rest.left(dash).toLongLong(&ok);
    if (!ok || pid <= 0 || pid > 0x7fffffff)
        return false;
    if (pid == ::getpid())
        return true;
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
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

void removeLeftovers(int folderFd, const QByteArray &name, LeftoversOf scope)
{
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return;
    DIR *dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return;
    }
    QList<QByteArray> leftovers;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray entryName(entry->d_name);
        if (isOwnLeftover(entryName, name, scope))
            leftovers.append(entryName);
    }
    ::closedir(dir);
    for (const QByteArray &leftover : leftovers) {
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
        removeLeftovers(folder.get(), place.value().name, LeftoversOf::FileOnly);
}

} // namespace zuno::textfile
