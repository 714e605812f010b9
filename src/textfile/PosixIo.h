#pragma once
// The POSIX calls under the text-file layer (internal to it): descriptors
// that close themselves, whole reads and writes that go on after EINTR,
// the system's reasons, and the times in a file's status.

#include "textfile/Digest.h"
#include "textfile/TextFileTypes.h"
#include "Result.h"

#include <QByteArrayView>

#include <memory>
#include <utility>

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace zuno::textfile {

QString systemReason(int error);
// Why a file of this type is neither read nor written.
QString notRegularReason(mode_t mode);
// Why input of more than MaxTextFileBytes is refused.
QString tooLargeReason(bool stream);

// A file descriptor that closes itself.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(Fd &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd &operator=(Fd &&other) noexcept
    {
        reset(std::exchange(other.m_fd, -1));
        return *this;
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd() { reset(); }

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

qint64 nanoseconds(const timespec &time);
qint64 nowNs();

// Reads a regular file whole through `fd`; 0, an errno, or TooLarge once
// it gives more than `limit` bytes (it may grow while it is read). Each
// piece read is added to `digest`, if given, while it is fresh in the cache.
constexpr int TooLarge = -1;
int readAllFrom(int fd, qint64 sizeHint, qint64 limit, QByteArray &bytes, Digest *digest = nullptr);

// Reads up to `buffer`'s size from `offset` into it, going on after EINTR:
// the bytes read, 0 at the end, or -errno.
qsizetype readPiece(int fd, QByteArray &buffer, qint64 offset);

// A regular file's bytes and its status as it was opened.
struct RegularFile {
    QByteArray bytes;
    struct stat info {};
    quint64 digest = 0; // digestOf(bytes)
};

// Opens the regular file at `path` for reading, with its status in `info`:
// anything but a regular file is refused before it is opened, and checked
// again once it is open.
Result<Fd, TextFileError> openRegularFile(const QString &path, struct stat &info);

// Reads the regular file at `path`. Anything but a regular file is refused
// before it is opened (opening a device may do something; a pipe without a
// writer blocks), and checked again once it is open.
Result<RegularFile, TextFileError> readRegularFile(const QString &path);

// The bytes of the regular file at `path` for one pass over them: mapped
// into memory where the system allows (not copied, no page faults one by
// one), else read. They stay valid as long as `storage` lives. The same
// checks and limit as readRegularFile.
struct FileBytes {
    QByteArray bytes; // the mapped memory's bytes, or the bytes read
    std::shared_ptr<const void> storage;
};
Result<FileBytes, TextFileError> mapRegularFile(const QString &path);

// Writes all of `bytes` at `offset`; 0 or an errno. Each piece written is
// added to `digest`, if given, just before it is written.
int writeAll(int fd, QByteArrayView bytes, off_t offset, Digest *digest = nullptr);
// Copies all of `from` to `to` (both from their start); 0 or an errno.
int copyContent(int from, int to);

} // namespace zuno::textfile
