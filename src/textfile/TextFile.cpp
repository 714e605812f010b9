#include "textfile/TextFile.h"

#include <QCoreApplication>

// Reading and writing rest on POSIX calls: the program is built for Linux.

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <cstring>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

namespace zuno {

namespace {

constexpr char Utf8Bom[] = "\xEF\xBB\xBF";
constexpr qsizetype Utf8BomSize = 3;

// Decodes as UTF-8 when the bytes are well-formed UTF-8 (no malformed,
// overlong or surrogate sequences, which Qt's decoder reports), and so
// encode back to exactly the same bytes.
struct NotUtf8 {};
Result<QString, NotUtf8> decodeExactUtf8(QByteArrayView bytes)
{
    // Stateless: a sequence cut off at the end is an error too.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return NotUtf8{};
    return text;
}

bool fitsLatin1(const QString &text)
{
    for (const QChar ch : text) {
        if (ch.unicode() > 0xFF)
            return false;
    }
    return true;
}

bool hasLoneLineFeed(const QString &text)
{
    for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1)) {
        if (i == 0 || text[i - 1] != u'\r')
            return true;
    }
    return false;
}

QByteArray hashOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

QString tooLargeReason(bool stream)
{
    return (stream ? QCoreApplication::translate("TextFile", "Input too large (more than %1 MiB)")
                   : QCoreApplication::translate("TextFile", "File too large (more than %1 MiB)"))
        .arg(MaxTextFileBytes / (1024 * 1024));
}

std::atomic<bool> g_unnamedTemporaries{true};

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

FileStamp stampOf(const struct stat &info, QByteArray hash)
{
    FileStamp stamp;
    stamp.valid = true;
    stamp.device = quint64(info.st_dev);
    stamp.inode = quint64(info.st_ino);
    stamp.size = qint64(info.st_size);
    stamp.modifiedNs = nanoseconds(info.st_mtim);
    stamp.changedNs = nanoseconds(info.st_ctim);
    stamp.takenNs = nowNs();
    stamp.hash = std::move(hash);
    return stamp;
}

// Reads a regular file whole through `fd`; 0, an errno, or TooLarge once
// it gives more than `limit` bytes (it may grow while it is read).
constexpr int TooLarge = -1;
int readAllFrom(int fd, qint64 sizeHint, qint64 limit, QByteArray &bytes)
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
        const ssize_t got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            break;
        used += got;
    }
    if (used > limit)
        return TooLarge;
    bytes.truncate(used);
    return 0;
}

// A regular file's bytes and its status as it was opened.
struct RegularFile {
    QByteArray bytes;
    struct stat info {};
};

// Reads the regular file at `path`. Anything but a regular file is refused
// before it is opened (opening a device may do something; a pipe without a
// writer blocks), and checked again once it is open.
Result<RegularFile, TextFileError> readRegularFile(const QString &path)
{
    RegularFile file;
    struct stat &info = file.info;
    const QByteArray name = QFile::encodeName(path);
    if (::stat(name.constData(), &info) != 0)
        return TextFileError{systemReason(errno), {}};
    if (!S_ISREG(info.st_mode))
        return TextFileError{notRegularReason(info.st_mode), {}};
    const Fd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid())
        return TextFileError{systemReason(errno), {}};
    if (::fstat(fd.get(), &info) != 0)
        return TextFileError{systemReason(errno), {}};
    if (!S_ISREG(info.st_mode))
        return TextFileError{notRegularReason(info.st_mode), {}};
    if (const int error = readAllFrom(fd.get(), info.st_size, MaxTextFileBytes, file.bytes))
        return TextFileError{error == TooLarge ? tooLargeReason(false) : systemReason(error), {}};
    return file;
}

// The file that writing to `path` should replace: a symbolic link's target,
// so that the link stays a link.
QByteArray finalTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return QFile::encodeName(path);
    const QString canonical = info.canonicalFilePath();
    return QFile::encodeName(canonical.isEmpty() ? info.symLinkTarget() : canonical);
}

// Where a file goes: its folder and its name in it.
struct Place {
    QByteArray folder;
    QByteArray name;
};

Place placeOf(const QString &path)
{
    const QByteArray target = finalTarget(path);
    const qsizetype slash = target.lastIndexOf('/');
    Place place;
    place.folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    place.name = target.mid(slash + 1);
    return place;
}

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

// Whether `entry` is one of our own temporary files (or, with `backupOf`, a
// backup of that file) whose writer no longer runs, or is this process.
bool isOwnLeftover(const QByteArray &entry, const QByteArray &backupOf)
{
    const qsizetype marker = entry.lastIndexOf(OwnMarker);
    if (!entry.startsWith('.') || marker < 1)
        return false;
    QByteArray rest = entry.mid(marker + qsizetype(sizeof OwnMarker - 1));
    const bool backup = rest.endsWith(BackupSuffix);
    if (backup) {
        if (!entry.startsWith(ownPrefix(backupOf)) || backupOf.isEmpty())
            return false;
        rest.chop(qsizetype(sizeof BackupSuffix - 1));
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

// Removes the temporary files that killed saves of ours left in the folder,
// and the backups of `name` (the file has just been written whole).
void removeLeftovers(int folderFd, const QByteArray &name)
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
        if (isOwnLeftover(entryName, name))
            leftovers.append(entryName);
    }
    ::closedir(dir);
    for (const QByteArray &leftover : leftovers) {
        struct stat info {};
        if (::fstatat(folderFd, leftover.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(folderFd, leftover.constData(), 0);
    }
}

int writeAll(int fd, QByteArrayView bytes, off_t offset)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::pwrite(fd, data, size_t(std::min<qsizetype>(left, 1 << 30)), offset);
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

// Copies all of `from` to `to` (both from their start); 0 or an errno.
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

// A new file in the folder: unnamed (O_TMPFILE) where the file system
// allows, else under a name of our own. 0 or an errno.
struct NewFile {
    Fd fd;
    QByteArray name; // empty while unnamed
};

int createFile(int folderFd, const QByteArray &name, mode_t mode, bool unnamed, bool backup, NewFile &file)
{
#ifdef O_TMPFILE
    if (unnamed) {
        const int fd = ::openat(folderFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
        if (fd >= 0) {
            file.fd.reset(fd);
            file.name.clear();
            return 0;
        }
        // Where the folder refuses new files, a named one fares no better.
        if (errno == EACCES || errno == EPERM || errno == EROFS || errno == ENOSPC || errno == EDQUOT)
            return errno;
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate = ownName(name, backup);
        const int fd = ::openat(folderFd, candidate.constData(),
                                O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) {
            file.fd.reset(fd);
            file.name = candidate;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// Gives an unnamed file the name `as` in the folder. 0 or an errno.
int linkUnnamed(int fd, int folderFd, const QByteArray &as)
{
    if (::linkat(fd, "", folderFd, as.constData(), AT_EMPTY_PATH) == 0)
        return 0;
    if (errno == EEXIST)
        return errno;
    // Without the privilege that AT_EMPTY_PATH needs, through /proc.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), folderFd, as.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    return errno;
}

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

// Gives the new file the old one's extended attributes (ACLs among them),
// and only those. False when that cannot be done.
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

enum class Outcome { Done, InPlace, Failed };

struct WriteState {
    const Place &place;
    int folderFd;
    bool folderSyncable;  // opened for reading, so it can be flushed
    bool exists;
    int oldFd;            // the existing file, or -1
    struct stat old;
    QByteArrayView bytes;
    FileStamp written;    // the new file, once written
    TextFileError error;
};

void failWith(WriteState &s, int error, bool aboutFolder = false)
{
    s.error.message = systemReason(error);
    if (aboutFolder)
        s.error.folder = QFile::decodeName(s.place.folder);
}

// Makes the new file the old one in all but its bytes: owner and group,
// permissions, extended attributes. False when that cannot be done.
bool takeOverAttributes(WriteState &s, int fd)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != s.old.st_uid || now.st_gid != s.old.st_gid)
        && ::fchown(fd, s.old.st_uid, s.old.st_gid) != 0)
        return false;
    if (::fchmod(fd, s.old.st_mode & 07777) != 0)
        return false;
    if (!copyAttributes(s.oldFd, fd))
        return false;
    // The system may drop a set-group-ID bit it does not let us set.
    return ::fstat(fd, &now) == 0 && (now.st_mode & 07777) == (s.old.st_mode & 07777);
}

// Writes a new file beside the old one and renames it over the old one.
Outcome replaceFile(WriteState &s, bool unnamed)
{
    NewFile file;
    // A private file stays private while it is written.
    const mode_t mode = s.exists ? 0600 : 0666;
    if (const int error = createFile(s.folderFd, s.place.name, mode, unnamed, false, file)) {
        if (s.exists && (error == EACCES || error == EPERM || error == EROFS))
            return Outcome::InPlace;
        failWith(s, error, error == EACCES || error == EPERM || error == EROFS);
        return Outcome::Failed;
    }
    const auto discard = [&] {
        if (!file.name.isEmpty())
            ::unlinkat(s.folderFd, file.name.constData(), 0);
    };
    if (s.exists && !takeOverAttributes(s, file.fd.get())) {
        discard();
        return Outcome::InPlace;
    }
    int error = writeAll(file.fd.get(), s.bytes, 0);
    if (!error && ::fsync(file.fd.get()) != 0)
        error = errno;
    if (error) {
        discard();
        failWith(s, error);
        return Outcome::Failed;
    }

    if (file.name.isEmpty()) {
        // A new file takes its name at once; one that replaces another gets
        // a name of our own first, then the rename puts it in place.
        if (!s.exists) {
            error = linkUnnamed(file.fd.get(), s.folderFd, s.place.name);
            if (error == 0)
                file.name = s.place.name;
            else if (error == EEXIST) {
                failWith(s, error); // someone made the file meanwhile
                return Outcome::Failed;
            }
        } else {
            for (int attempt = 0; attempt < 100; ++attempt) {
                const QByteArray candidate = ownName(s.place.name, false);
                error = linkUnnamed(file.fd.get(), s.folderFd, candidate);
                if (error == 0)
                    file.name = candidate;
                if (error != EEXIST)
                    break;
            }
        }
        if (file.name.isEmpty()) // the file system cannot name it: write a named one
            return replaceFile(s, false);
    }

    if (file.name != s.place.name) {
        int renamed = -1;
#ifdef RENAME_NOREPLACE
        if (!s.exists) {
            renamed = ::renameat2(s.folderFd, file.name.constData(), s.folderFd, s.place.name.constData(),
                                  RENAME_NOREPLACE);
            if (renamed != 0 && errno != EINVAL && errno != ENOSYS) {
                error = errno;
                discard();
                failWith(s, error);
                return Outcome::Failed;
            }
        }
#endif
        if (renamed != 0
            && ::renameat(s.folderFd, file.name.constData(), s.folderFd, s.place.name.constData()) != 0) {
            error = errno;
            discard();
            // A sticky folder lets only the owner replace the file.
            if (s.exists && (error == EACCES || error == EPERM))
                return Outcome::InPlace;
            failWith(s, error);
            return Outcome::Failed;
        }
    }
    // Make the rename itself durable; the data is already safe.
    if (s.folderSyncable)
        ::fsync(s.folderFd);
    struct stat now {};
    if (::fstat(file.fd.get(), &now) == 0)
        s.written = stampOf(now, hashOf(s.bytes));
    return Outcome::Done;
}

// Writes over the old file's own bytes, which keeps everything else about
// it. The old bytes are kept first, in a backup beside the file where the
// folder allows, else in memory, and written back when the write fails.
Outcome writeInPlace(WriteState &s)
{
    NewFile backup;
    QByteArray oldBytes;
    bool inMemory = true;
    if (createFile(s.folderFd, s.place.name, 0600, false, true, backup) == 0) {
        if (copyContent(s.oldFd, backup.fd.get()) == 0 && ::fsync(backup.fd.get()) == 0) {
            inMemory = false;
        } else {
            ::unlinkat(s.folderFd, backup.name.constData(), 0);
            backup.fd.reset();
        }
    }
    if (inMemory) {
        if (const int error = readAllFrom(s.oldFd, s.old.st_size, std::numeric_limits<qint64>::max() - 1, oldBytes)) {
            failWith(s, error);
            return Outcome::Failed;
        }
    }
    const auto dropBackup = [&] {
        if (!inMemory)
            ::unlinkat(s.folderFd, backup.name.constData(), 0);
    };

    int error = writeAll(s.oldFd, s.bytes, 0);
    if (!error && ::ftruncate(s.oldFd, off_t(s.bytes.size())) != 0)
        error = errno;
    if (!error && ::fsync(s.oldFd) != 0)
        error = errno;
    if (!error) {
        dropBackup();
        struct stat now {};
        if (::fstat(s.oldFd, &now) == 0)
            s.written = stampOf(now, hashOf(s.bytes));
        return Outcome::Done;
    }

    // Put the old bytes back.
    int restore = inMemory ? writeAll(s.oldFd, oldBytes, 0) : copyContent(backup.fd.get(), s.oldFd);
    if (!restore && ::ftruncate(s.oldFd, s.old.st_size) != 0)
        restore = errno;
    if (!restore && ::fsync(s.oldFd) != 0)
        restore = errno;
    failWith(s, error);
    if (!restore) {
        dropBackup();
    } else if (!inMemory) {
        s.error.message += QCoreApplication::translate("TextFile", " (the file's old text is kept in '%1')")
                               .arg(QFile::decodeName(s.place.folder + '/' + backup.name));
    } else {
        s.error.message += QCoreApplication::translate("TextFile", " (the file's old text could not be put back: %1)")
                               .arg(systemReason(restore));
    }
    return Outcome::Failed;
}

Result<FileStamp, TextFileError> writeBytes(const QString &path, QByteArrayView bytes)
{
    if (QFileInfo(path).isDir())
        return TextFileError{QCoreApplication::translate("TextFile", "Is a directory"), {}};
    const Place place = placeOf(path);
    bool syncable = true;
    Fd folder(::open(place.folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid() && errno == EACCES) {
        // A folder we may search but not list.
        syncable = false;
        folder.reset(::open(place.folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    if (!folder.valid())
        return TextFileError{systemReason(errno), QFile::decodeName(place.folder)};

    WriteState s{place, folder.get(), syncable, false, -1, {}, bytes, {}, {}};
    s.exists = ::fstatat(folder.get(), place.name.constData(), &s.old, 0) == 0;
    if (!s.exists && errno != ENOENT)
        return TextFileError{systemReason(errno), {}};
    if (s.exists && !S_ISREG(s.old.st_mode))
        return TextFileError{notRegularReason(s.old.st_mode), {}};

    // A file we may not write is refused, whatever the folder would allow.
    Fd oldFile;
    bool readable = true;
    if (s.exists) {
        oldFile.reset(::openat(folder.get(), place.name.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
        if (!oldFile.valid() && errno == EACCES) {
            readable = false;
            oldFile.reset(::openat(folder.get(), place.name.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
        }
        if (!oldFile.valid())
            return TextFileError{systemReason(errno), {}};
        if (::fstat(oldFile.get(), &s.old) != 0)
            return TextFileError{systemReason(errno), {}};
        if (!S_ISREG(s.old.st_mode))
            return TextFileError{notRegularReason(s.old.st_mode), {}};
        s.oldFd = oldFile.get();
    }

    // A file with other names keeps them only when written in place.
    Outcome outcome = s.exists && s.old.st_nlink > 1 ? Outcome::InPlace
                                                     : replaceFile(s, g_unnamedTemporaries.load());
    if (outcome == Outcome::InPlace) {
        if (!readable)
            return TextFileError{systemReason(EACCES), {}}; // its old bytes could not be kept
        outcome = writeInPlace(s);
    }
    if (outcome == Outcome::Failed)
        return s.error;
    if (syncable)
        removeLeftovers(folder.get(), place.name);
    return s.written;
}


} // namespace

QString utf8ToText(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

TextFileContent decodeText(const QByteArray &bytes)
{
    TextFileContent content;
    const bool hasBom = bytes.startsWith(Utf8Bom);
    const QByteArrayView body = QByteArrayView(bytes).sliced(hasBom ? Utf8BomSize : 0);
    if (auto utf8 = decodeExactUtf8(body); utf8.ok()) {
        content.text = std::move(utf8).value();
        content.format.encoding = hasBom ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
    } else {
        content.text = QString::fromLatin1(bytes);
        content.format.encoding = TextEncoding::Latin1;
    }

    // A file that holds a "\r\n" separates its lines so, and every lone
    // "\r" or "\n" in it is a character of its line. A file without one
    // whose lines end in "\n" is an LF file: in memory its "\n" become
    // "\r\n" (it holds no "\r" right before a "\n" to confuse them with).
    const QString &text = content.text;
    if (text.contains(u"\r\n"))
        return content;
    const qsizetype lineFeeds = text.count(u'\n');
    if (lineFeeds == 0)
        return content;
    content.format.lineEnding = LineEnding::Lf;
    QString withCrLf(text.size() + lineFeeds, Qt::Uninitialized);
    QChar *out = withCrLf.data();
    for (const QChar c : text) {
        if (c == u'\n')
            *out++ = u'\r';
        *out++ = c;
    }
    content.text = std::move(withCrLf);
    return content;
}

TextFileFormat writtenFormat(const QString &text, const TextFileFormat &format)
{
    TextFileFormat written = format;
    if (written.encoding == TextEncoding::Latin1 && !fitsLatin1(text))
        written.encoding = TextEncoding::Utf8;
    // Written as "\n", a line break right after a lone "\r" would become
    // "\r\n", and a lone "\n" a line break: such a text keeps "\r\n".
    if (written.lineEnding == LineEnding::Lf
        && (text.contains(u"\r\r\n") || hasLoneLineFeed(text)))
        written.lineEnding = LineEnding::CrLf;
    return written;
}

QByteArray encodeText(const QString &text, const TextFileFormat &format)
{
    const TextFileFormat written = writtenFormat(text, format);
    QString lf;
    const QString *source = &text;
    if (written.lineEnding == LineEnding::Lf && text.contains(u"\r\n")) {
        // In one pass: every "\r\n" becomes "\n" (a lone "\r" stays).
        lf.resize(text.size());
        QChar *out = lf.data();
        const qsizetype size = text.size();
        for (qsizetype i = 0; i < size; ++i) {
            if (!(text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n'))
                *out++ = text[i];
        }
        lf.resize(out - lf.constData());
        source = &lf;
    }
    switch (written.encoding) {
    case TextEncoding::Latin1:
        return source->toLatin1();
    case TextEncoding::Utf8Bom:
        return QByteArray(Utf8Bom) + source->toUtf8();
    case TextEncoding::Utf8:
        break;
    }
    return source->toUtf8();
}


Result<TextFileContent, TextFileError> readTextFile(const QString &path)
{
    auto read = readRegularFile(path);
    if (!read.ok())
        return read.error();
    const RegularFile &file = read.value();
    TextFileContent content = decodeText(file.bytes);
    content.stamp = stampOf(file.info, hashOf(file.bytes));
    return content;
}

Result<TextFileContent, TextFileError> readTextStream(QIODevice &in, qint64 limit)
{
    constexpr qint64 chunk = 1 << 20;
    QByteArray bytes;
    while (bytes.size() <= limit) {
        const QByteArray more = in.read(std::min(chunk, limit + 1 - bytes.size()));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    if (bytes.size() > limit)
        return TextFileError{tooLargeReason(true), {}};
    const auto *file = qobject_cast<QFileDevice *>(&in);
    if (!in.isReadable() || (file && file->error() != QFileDevice::NoError))
        return TextFileError{in.errorString(), {}};
    return decodeText(bytes);
}

Result<FileStamp, TextFileError> writeTextFile(const QString &path, const QString &text,
                                               const TextFileFormat &format)
{
    return writeBytes(path, encodeText(text, format));
}

namespace {

// A UTF-8 file with "\r\n" line breaks holds any text as the edit control
// holds it: its bytes are the text's own.
bool holdsUtf8AsItIs(const TextFileFormat &format)
{
    return format.encoding != TextEncoding::Latin1 && format.lineEnding == LineEnding::CrLf;
}

} // namespace

Result<WrittenText, TextFileError> writeUtf8TextFile(const QString &path, QByteArrayView utf8Text,
                                                     const TextFileFormat &format)
{
    if (!holdsUtf8AsItIs(format)) {
        const QString text = utf8ToText(utf8Text);
        const auto written = writeTextFile(path, text, format);
        if (!written.ok())
            return written.error();
        return WrittenText{written.value(), writtenFormat(text, format)};
    }
    QByteArray withBom;
    if (format.encoding == TextEncoding::Utf8Bom) {
        withBom = QByteArray(Utf8Bom);
        withBom.append(utf8Text);
    }
    const auto written = writeBytes(path, withBom.isNull() ? utf8Text : QByteArrayView(withBom));
    if (!written.ok())
        return written.error();
    return WrittenText{written.value(), format};
}

FileStamp fileStamp(const QString &path)
{
    const auto read = readRegularFile(path);
    if (!read.ok())
        return {};
    return stampOf(read.value().info, hashOf(read.value().bytes));
}

DiskState compareWithDisk(const QString &path, const FileStamp &stamp)
{
    if (!stamp.valid)
        return DiskState::Unchanged; // nothing known to compare with
    // The clock that stamps files ticks in steps of some milliseconds: a
    // change within this time of the stamp may leave the status as it was.
    constexpr qint64 uncertainNs = 100'000'000;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
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
    const FileStamp now = fileStamp(path);
    return now.valid && now.hash == stamp.hash ? DiskState::Unchanged : DiskState::Changed;
}

bool isSameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath())
        return true;
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
        && ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
}

void allowUnnamedTemporaryFiles(bool allowed)
{
    g_unnamedTemporaries = allowed;
}

} // namespace zuno
