#include "textfile/SafeSave.h"

#include "textfile/FileNames.h"
#include "textfile/FileAttributes.h"
#include "textfile/FilePlace.h"
#include "textfile/FileStamp.h"
#include "textfile/OwnFiles.h"
#include "textfile/PosixIo.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <limits>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zuno {

using namespace textfile;

namespace {

std::atomic<bool> g_unnamedTemporaries{true};

// A new file in the folder: unnamed (O_TMPFILE) where the file system
// allows, else under a name of our own. 0 or an errno.
struct NewFile {
    Fd fd;
    QByteArray name; // empty while unnamed
};

int createFile(int folderFd, const QByteArray &name, mode_t mode, bool unnamed, NewFile &file)
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
        const QByteArray candidate = ownName(name, false);
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

enum class Outcome { Done, InPlace, Failed };

struct WriteState {
    const Place &place;
    int folderFd;
    bool folderSyncable;  // opened for reading, so it can be flushed
    bool exists;
    int oldFd;            // the existing file, or -1
    struct stat old;
    const BytesProducer &produce;
    const FileStamp &was; // the file as it was last read or written
    FileStamp written;    // the new file, once written
    TextFileError error;
};

void failWith(WriteState &s, int error, bool aboutFolder = false)
{
    s.error.message = systemReason(error);
    if (aboutFolder)
        s.error.folder = fileNameFromBytes(s.place.folder);
}

// What writeProduced answers when the producer gave up.
constexpr int Abandoned = -1;

// Writes what the producer makes into `fd` from its start, each piece added
// to `digest` as it goes; `size` is how much was written. 0, an errno, or
// Abandoned.
// What a text made a piece at a time has written, it starts writing to
// disk every few megabytes, so that the disk works while the rest is made
// and the fsync after waits for the last of it only.
int writeProduced(const WriteState &s, int fd, Digest &digest, off_t &size)
{
    constexpr off_t WritebackStep = off_t(4) << 20;
    int error = 0;
    off_t at = 0;
    off_t started = 0; // what is on its way to disk
    const bool made = s.produce([&](QByteArrayView piece) {
        if (error != 0)
            return;
        error = writeAll(fd, piece, at, &digest);
        at += off_t(piece.size());
#ifdef __linux__
        if (error == 0 && at - started >= WritebackStep) {
            ::sync_file_range(fd, started, at - started, SYNC_FILE_RANGE_WRITE);
            started = at;
        }
#endif
    });
    size = at;
    return made ? error : Abandoned;
}

void abandon(WriteState &s)
{
    s.error = TextFileError{};
    s.error.abandoned = true;
}

// Writes a new file beside the old one and renames it over the old one.
Outcome replaceFile(WriteState &s, bool unnamed)
{
    NewFile file;
    // A private file stays private while it is written.
    const mode_t mode = s.exists || s.was.valid ? 0600 : 0666;
    if (const int error = createFile(s.folderFd, s.place.name, mode, unnamed, file)) {
        if (s.exists && (error == EACCES || error == EPERM || error == EROFS))
            return Outcome::InPlace;
        failWith(s, error, error == EACCES || error == EPERM || error == EROFS);
        return Outcome::Failed;
    }
    const auto discard = [&] {
        if (!file.name.isEmpty())
            ::unlinkat(s.folderFd, file.name.constData(), 0);
    };
    if (s.exists && !takeOverAttributes(s.old, s.oldFd, file.fd.get())) {
        discard();
        return Outcome::InPlace;
    }
    if (!s.exists && s.was.valid)
        takeOverVanished(s.was, file.fd.get());
    Digest digest;
    off_t size = 0;
    int error = writeProduced(s, file.fd.get(), digest, size);
    if (!error && ::fsync(file.fd.get()) != 0)
        error = errno;
    if (error) {
        discard();
        if (error == Abandoned)
            abandon(s);
        else
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
        s.written = stampOf(now, digest.value());
    return Outcome::Done;
}

// Writes over the old file's own bytes, which keeps everything else about
// it. The old bytes are kept first, in a backup beside the file where the
// folder allows, else in memory, and written back when the write fails.
Outcome writeInPlace(WriteState &s)
{
    // A producer that is to give up does so before the file is touched.
    if (!s.produce([](QByteArrayView) {})) {
        abandon(s);
        return Outcome::Failed;
    }
    NewFile backup;
    QByteArray oldBytes;
    bool inMemory = true;
    // The backup is made under a temporary's name and takes a backup's name
    // only once it is whole and on disk: a backup is always a whole copy.
    if (createFile(s.folderFd, s.place.name, 0600, false, backup) == 0) {
        const QByteArray backupName = ownName(s.place.name, true);
        if (copyContent(s.oldFd, backup.fd.get()) == 0 && ::fsync(backup.fd.get()) == 0
            && ::renameat(s.folderFd, backup.name.constData(), s.folderFd, backupName.constData()) == 0) {
            backup.name = backupName;
            if (s.folderSyncable)
                ::fsync(s.folderFd);
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

    Digest digest;
    off_t size = 0;
    int error = writeProduced(s, s.oldFd, digest, size);
    // A producer that gave up the second time made other bytes than the
    // first: the file is put back all the same.
    const bool abandoned = error == Abandoned;
    if (abandoned)
        error = ECANCELED;
    if (!error && ::ftruncate(s.oldFd, size) != 0)
        error = errno;
    if (!error && ::fsync(s.oldFd) != 0)
        error = errno;
    if (!error) {
        dropBackup();
        struct stat now {};
        if (::fstat(s.oldFd, &now) == 0)
            s.written = stampOf(now, digest.value());
        return Outcome::Done;
    }

    // Put the old bytes back.
    int restore = inMemory ? writeAll(s.oldFd, oldBytes, 0) : copyContent(backup.fd.get(), s.oldFd);
    if (!restore && ::ftruncate(s.oldFd, s.old.st_size) != 0)
        restore = errno;
    if (!restore && ::fsync(s.oldFd) != 0)
        restore = errno;
    failWith(s, error);
    s.error.abandoned = abandoned;
    if (!restore) {
        dropBackup();
    } else if (!inMemory) {
        s.error.message += QCoreApplication::translate("TextFile", " (the file's old text is kept in '%1')")
                               .arg(fileNameFromBytes(s.place.folder + '/' + backup.name));
    } else {
        s.error.message += QCoreApplication::translate("TextFile", " (the file's old text could not be put back: %1)")
                               .arg(systemReason(restore));
    }
    return Outcome::Failed;
}

} // namespace

Result<FileStamp, TextFileError> saveFileBytes(const QString &path, QByteArrayView bytes, const FileStamp &was)
{
    return saveFileStream(
        path,
        [bytes](const ByteSink &sink) {
            sink(bytes);
            return true;
        },
        was);
}

Result<FileStamp, TextFileError> saveFileStream(const QString &path, const BytesProducer &produce, const FileStamp &was)
{
    struct stat given {};
    if (::stat(fileNameBytes(path).constData(), &given) == 0 && S_ISDIR(given.st_mode))
        return TextFileError{QCoreApplication::translate("TextFile", "Is a directory"), {}};
    const auto placed = placeOf(path);
    if (!placed.ok())
        return TextFileError{systemReason(placed.error()), {}};
    const Place &place = placed.value();
    bool syncable = true;
    Fd folder(::open(place.folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid() && errno == EACCES) {
        // A folder we may search but not list.
        syncable = false;
        folder.reset(::open(place.folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    if (!folder.valid())
        return TextFileError{systemReason(errno), fileNameFromBytes(place.folder)};

    WriteState s{place, folder.get(), syncable, false, -1, {}, produce, was, {}, {}};
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
        removeLeftovers(folder.get());
    return s.written;
}

QStringList unfinishedSaveBackups(const QString &path)
{
    const auto placed = placeOf(path);
    if (!placed.ok())
        return {};
    const Place &place = placed.value();
    Fd folder(::open(place.folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        return {};
    QList<std::pair<qint64, QString>> found;
    for (const QByteArray &name : unfinishedBackups(folder.get(), place.name)) {
        struct stat info {};
        if (::fstatat(folder.get(), name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            found.append({nanoseconds(info.st_mtim), fileNameFromBytes(place.folder + '/' + name)});
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList backups;
    for (const auto &backup : found)
        backups.append(backup.second);
    return backups;
}

void allowUnnamedTemporaryFiles(bool allowed)
{
    g_unnamedTemporaries = allowed;
}

} // namespace zuno
