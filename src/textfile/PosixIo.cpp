#include "textfile/PosixIo.h"

// Reading and writing rest on POSIX calls: the program is built for Linux.

#include "textfile/FileNames.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>

namespace zuno::textfile {

QString tooLargeReason(bool stream)
{
    return (stream ? QCoreApplication::translate("TextFile", "Input too large (more than %1 MiB)")
                   : QCoreApplication::translate("TextFile", "File too large (more than %1 MiB)"))
        .arg(MaxTextFileBytes / (1024 * 1024));
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString notRegularReason(mode_t mode)
{
    if (S_ISDIR(mode))
        return QCoreApplication::translate("TextFile", "Is a directory");
    if (S_ISFIFO(mode))
        return QCoreApplication::translate("TextFile", "Not a regular file: a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QCoreApplication::translate("TextFile", "Not a regular file: a device");
    if (S_ISSOCK(mode))
        return QCoreApplication::translate("TextFile", "Not a regular file: a socket");
    return QCoreApplication::translate("TextFile", "Not a regular file");
}

qint64 nanoseconds(const timespec &time)
{
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

qint64 nowNs()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

namespace {
// A file is read and written this much at a time, so that its digest is
// taken of bytes still in the cache.
constexpr qsizetype Piece = qsizetype(1) << 20;
} // namespace

qsizetype readPiece(int fd, QByteArray &buffer, qint64 offset)
{
    for (;;) {
        const ssize_t got = ::pread(fd, buffer.data(), size_t(buffer.size()), off_t(offset));
        if (got >= 0)
            return qsizetype(got);
        if (errno != EINTR)
            return -errno;
    }
}

int readAllFrom(int fd, qint64 sizeHint, qint64 limit, QByteArray &bytes, Digest *digest)
{
    if (sizeHint > limit)
        return TooLarge;
    qsizetype used = 0;
    bytes.resize(qsizetype(std::max<qint64>(sizeHint, 0)) + 1);
    for (;;) {
        if (used == bytes.size()) {
            if (used > limit)
                return TooLarge;
            bytes.resize(qsizetype(std::min<qint64>(limit + 1, std::max<qint64>(2 * qint64(used), 65536))));
        }
        const ssize_t got = ::read(fd, bytes.data() + used, size_t(std::min(Piece, bytes.size() - used)));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            break;
        if (digest)
            digest->add(QByteArrayView(bytes.constData() + used, got));
        used += got;
    }
    if (used > limit)
        return TooLarge;
    bytes.truncate(used);
    return 0;
}

// Opens the regular file at `path` for reading, with its status.
Result<Fd, TextFileError> openRegularFile(const QString &path, struct stat &info)
{
    const QByteArray name = fileNameBytes(path);
    if (::stat(name.constData(), &info) != 0)
        return TextFileError{systemReason(errno), {}};
    if (!S_ISREG(info.st_mode))
        return TextFileError{notRegularReason(info.st_mode), {}};
    Fd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid())
        return TextFileError{systemReason(errno), {}};
    if (::fstat(fd.get(), &info) != 0)
        return TextFileError{systemReason(errno), {}};
    if (!S_ISREG(info.st_mode))
        return TextFileError{notRegularReason(info.st_mode), {}};
    return fd;
}

Result<FileBytes, TextFileError> mapRegularFile(const QString &path)
{
    struct stat info {};
    auto opened = openRegularFile(path, info);
    if (!opened.ok())
        return opened.error();
    if (info.st_size > MaxTextFileBytes)
        return TextFileError{tooLargeReason(false), {}};
    // An empty status size may hide bytes (files the kernel makes up): read.
    // So is a small file: its mapping would cost more than the copy, and
    // taking it down again interrupts every core the process runs on (which
    // --check on a folder of small files on all cores would feel).
    const size_t size = size_t(info.st_size);
    constexpr size_t SmallFile = 256 * 1024;
    void *map = size < SmallFile ? MAP_FAILED
                          : ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, opened.value().get(), 0);
    FileBytes file;
    if (map != MAP_FAILED) {
        ::madvise(map, size, MADV_SEQUENTIAL);
        file.storage = std::shared_ptr<const void>(map, [size](const void *at) { ::munmap(const_cast<void *>(at), size); });
        file.bytes = QByteArray::fromRawData(static_cast<const char *>(map), qsizetype(size));
        return file;
    }
    if (const int error = readAllFrom(opened.value().get(), info.st_size, MaxTextFileBytes, file.bytes))
        return TextFileError{error == TooLarge ? tooLargeReason(false) : systemReason(error), {}};
    return file;
}

Result<RegularFile, TextFileError> readRegularFile(const QString &path)
{
    RegularFile file;
    struct stat &info = file.info;
    auto opened = openRegularFile(path, info);
    if (!opened.ok())
        return opened.error();
    const Fd &fd = opened.value();
    Digest digest;
    if (const int error = readAllFrom(fd.get(), info.st_size, MaxTextFileBytes, file.bytes, &digest))
        return TextFileError{error == TooLarge ? tooLargeReason(false) : systemReason(error), {}};
    file.digest = digest.value();
    return file;
}

int writeAll(int fd, QByteArrayView bytes, off_t offset, Digest *digest)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    const char *digested = data;
    while (left > 0) {
        const qsizetype piece = std::min(left, Piece);
        if (digest && data + piece > digested) {
            digest->add(QByteArrayView(digested, data + piece - digested));
            digested = data + piece;
        }
        const ssize_t written = ::pwrite(fd, data, size_t(piece), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        offset += written;
        left -= written;
    }
    return 0;
}

int copyContent(int from, int to)
{
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(from, buffer.data(), size_t(buffer.size()), offset);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            return 0;
        if (const int error = writeAll(to, QByteArrayView(buffer.constData(), got), offset))
            return error;
        offset += got;
    }
}

} // namespace zuno::textfile
