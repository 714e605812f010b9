#include "textfile/FileAttributes.h"

#include "Result.h"

#include <QByteArray>
#include <QList>

#include <cerrno>

#include <sys/xattr.h>
#include <unistd.h>

namespace zuno::textfile {

namespace {

// The names of a file's extended attributes (a file system without them
// has none), or the system's error number.
Result<QList<QByteArray>, int> attributeNames(int fd)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size < 0 && errno == ENOTSUP)
            return QList<QByteArray>();
        if (size < 0)
            return errno;
        if (size == 0)
            return QList<QByteArray>();
        QByteArray list(size, Qt::Uninitialized);
        const ssize_t got = ::flistxattr(fd, list.data(), size_t(list.size()));
        if (got < 0) {
            if (errno == ERANGE)
                continue; // grown meanwhile
            return errno;
        }
        list.truncate(got);
        QList<QByteArray> names;
        for (const QByteArray &name : list.split('\0'))
            if (!name.isEmpty())
                names.append(name);
        return names;
    }
    return ERANGE;
}

// The value of a file's extended attribute, or the system's error number.
Result<QByteArray, int> attributeValue(int fd, const QByteArray &name)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const ssize_t size = ::fgetxattr(fd, name.constData(), nullptr, 0);
        if (size < 0)
            return errno;
        QByteArray value(size, Qt::Uninitialized);
        const ssize_t got = ::fgetxattr(fd, name.constData(), value.data(), size_t(value.size()));
        if (got >= 0) {
            value.truncate(got);
            return value;
        }
        if (errno != ERANGE)
            return errno;
    }
    return ERANGE;
}

} // namespace

bool copyAttributes(int oldFd, int newFd)
{
    const auto oldList = attributeNames(oldFd);
    const auto newList = attributeNames(newFd);
    if (!oldList.ok() || !newList.ok())
        return false;
    const QList<QByteArray> &oldNames = oldList.value();
    const QList<QByteArray> &newNames = newList.value();
    for (const QByteArray &name : oldNames) {
        const auto value = attributeValue(oldFd, name);
        if (!value.ok())
            return false;
        if (newNames.contains(name)) {
            const auto present = attributeValue(newFd, name);
            if (present.ok() && present.value() == value.value())
                continue;
        }
        if (::fsetxattr(newFd, name.constData(), value.value().constData(), size_t(value.value().size()), 0) != 0)
            return false;
    }
    // What the new file got from the folder (a default ACL) and the old one
    // does not have.
    for (const QByteArray &name : newNames) {
        if (!oldNames.contains(name) && ::fremovexattr(newFd, name.constData()) != 0)
            return false;
    }
    return true;
}

bool takeOverAttributes(const struct stat &old, int oldFd, int fd)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid)
        && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        return false;
    if (!copyAttributes(oldFd, fd))
        return false;
    // The system may drop a set-group-ID bit it does not let us set.
    return ::fstat(fd, &now) == 0 && (now.st_mode & 07777) == (old.st_mode & 07777);
}

void takeOverVanished(const FileStamp &was, int fd)
{
    // Only the superuser may give a file away; the group is kept where we
    // belong to it (else the system refuses, and the file keeps ours).
    // Ownership first: a change of owner clears set-ID bits.
    (void)::fchown(fd, ::geteuid() == 0 ? uid_t(was.owner) : uid_t(-1), gid_t(was.group));
    (void)::fchmod(fd, mode_t(was.mode & 07777));
}

} // namespace zuno::textfile
