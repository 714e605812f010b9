#include "textfile/FileStamp.h"

#include "textfile/FileNames.h"
#include "textfile/PosixIo.h"

#include "textfile/Digest.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>

namespace zuno {

using namespace textfile;

FileStamp stampOf(const struct stat &info, quint64 digest)
{
    FileStamp stamp;
    stamp.valid = true;
    stamp.device = quint64(info.st_dev);
    stamp.inode = quint64(info.st_ino);
    stamp.size = qint64(info.st_size);
    stamp.modifiedNs = nanoseconds(info.st_mtim);
    stamp.changedNs = nanoseconds(info.st_ctim);
    stamp.takenNs = nowNs();
    stamp.digest = digest;
    stamp.mode = quint32(info.st_mode & 07777);
    stamp.owner = quint32(info.st_uid);
    stamp.group = quint32(info.st_gid);
    return stamp;
}

FileStamp fileStamp(const QString &path)
{
    const auto read = readRegularFile(path);
    if (!read.ok())
        return {};
    return stampOf(read.value().info, read.value().digest);
}

DiskState compareWithDisk(const QString &path, const FileStamp &stamp)
{
    if (!stamp.valid)
        return DiskState::Unchanged; // nothing known to compare with
    // The clock that stamps files ticks in steps of some milliseconds: a
    // change within this time of the stamp may leave the status as it was.
    constexpr qint64 uncertainNs = 100'000'000;
    struct stat info {};
    if (::stat(fileNameBytes(path).constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? DiskState::Missing : DiskState::Changed;
    if (!S_ISREG(info.st_mode))
        return DiskState::Changed;
    const bool sameStatus = quint64(info.st_dev) == stamp.device && quint64(info.st_ino) == stamp.inode
        && qint64(info.st_size) == stamp.size && nanoseconds(info.st_mtim) == stamp.modifiedNs
        && nanoseconds(info.st_ctim) == stamp.changedNs;
    const bool certain = stamp.takenNs - std::max(stamp.modifiedNs, stamp.changedNs) >= uncertainNs;
    if (sameStatus && certain)
        return DiskState::Unchanged;
    if (qint64(info.st_size) != stamp.size)
        return DiskState::Changed;
    // The bytes as they are now, mapped rather than copied.
    const auto now = mapRegularFile(path);
    return now.ok() && digestOf(now.value().bytes) == stamp.digest ? DiskState::Unchanged : DiskState::Changed;
}

bool isSameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath())
        return true;
    struct stat first {};
    struct stat second {};
    return ::stat(fileNameBytes(a).constData(), &first) == 0
        && ::stat(fileNameBytes(b).constData(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

} // namespace zuno
