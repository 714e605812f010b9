#include "textfile/FilePlace.h"

#include "textfile/FileNames.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace zuno::textfile {

namespace {

// As many links as the system itself follows in one path.
constexpr int MaxLinks = 40;

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// The link's target, relative to the link's folder where it is relative.
Result<QByteArray, int> readLink(const QByteArray &link, qint64 sizeHint)
{
    QByteArray target(qsizetype(sizeHint > 0 ? sizeHint : 255) + 1, Qt::Uninitialized);
    for (;;) {
        const ssize_t length = ::readlink(link.constData(), target.data(), size_t(target.size()));
        if (length < 0)
            return errno;
        if (length < target.size()) {
            target.truncate(length);
            break;
        }
        target.resize(2 * target.size()); // it grew meanwhile
    }
    if (target.startsWith('/'))
        return target;
    return folderOf(link) + '/' + target;
}

} // namespace

Result<Place, int> placeOf(const QString &path)
{
    QByteArray target = fileNameBytes(path);
    for (int links = 0;; ++links) {
        struct stat info {};
        if (::lstat(target.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            break; // the end of the chain, or a file still to be made
        if (links == MaxLinks)
            return ELOOP;
        auto next = readLink(target, qint64(info.st_size));
        if (!next.ok())
            return next.error();
        target = std::move(next).value();
    }
    const qsizetype slash = target.lastIndexOf('/');
    return Place{folderOf(target), target.mid(slash + 1)};
}

} // namespace zuno::textfile
