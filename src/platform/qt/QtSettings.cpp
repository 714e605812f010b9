#include "platform/qt/QtSettings.h"

#include "textfile/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zuno {

namespace {

// No settings file is read past this size.
constexpr qint64 MaxSettingsBytes = 16 * 1024 * 1024;
// The longest wait for another writer's lock.
constexpr int LockWaitMs = 1000;

enum class FileKind { Missing, Regular, Other };

// What stands at `file`, links followed: a missing file is fine, it is made
// on the first write; anything but a regular file is left alone.
FileKind kindOf(const QString &file)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(file).constData(), &info) != 0)
        return FileKind::Missing;
    if (::stat(QFile::encodeName(file).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return FileKind::Other;
    return FileKind::Regular;
}

// Whether a lock may be taken at `lock`: nothing there, or a regular file
// of this user (a link or a folder planted there is not used).
bool lockUsable(const QString &lock)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(lock).constData(), &info) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

// Takes the lock beside `file`, waiting at most a second; false when it is
// not to be used or another writer holds it longer.
bool takeLock(QLockFile &lock, const QString &file)
{
    return lockUsable(file + QStringLiteral(".lock")) && lock.tryLock(LockWaitMs);
}

// The bytes of the regular file at `file`, never waiting on anything else.
QByteArray readBytes(const QString &file)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MaxSettingsBytes) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += n;
        }
        bytes.truncate(got);
    }
    ::close(fd);
    return bytes;
}

// QSettings reads and writes the INI form, through a private file: the
// real one is only ever read and saved by the code above and below.
QHash<QString, QString> parsed(const QByteArray &bytes)
{
    QHash<QString, QString> values;
    QTemporaryDir scratch;
    QFile copy(scratch.filePath(QStringLiteral("s.conf")));
    if (!scratch.isValid() || !copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size())
        return values;
    copy.close();
    const QSettings settings(copy.fileName(), QSettings::IniFormat);
    for (const QString &key : settings.allKeys())
        values.insert(key, settings.value(key).toString());
    return values;
}

QByteArray serialised(const QHash<QString, QString> &values)
{
    QTemporaryDir scratch;
    const QString name = scratch.filePath(QStringLiteral("s.conf"));
    {
        QSettings settings(name, QSettings::IniFormat);
        for (auto it = values.begin(); it != values.end(); ++it)
            settings.setValue(it.key(), it.value());
    }
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QtSettingsStore::~QtSettingsStore()
{
    // Nothing is shown any more: whoever would show it may be gone.
    m_refused = nullptr;
    flush();
}

QString QtSettingsStore::filePath(const QString &application)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
           + application + QLatin1Char('/') + application + QStringLiteral(".conf");
}

QtSettingsStore::File &QtSettingsStore::loaded(const QString &application) const
{
    const QString file = filePath(application);
    if (auto found = m_files.find(file); found != m_files.end()) {
        if (found->noWrite.isEmpty() && stampOf(file) != found->stamp) {
            // Written meanwhile by another window or program: its values,
            // with ours not yet written on top.
            found->values = kindOf(file) == FileKind::Regular ? parsed(readBytes(file)) : QHash<QString, QString>();
            for (auto it = found->changed.begin(); it != found->changed.end(); ++it)
                found->values.insert(it.key(), it.value());
            found->stamp = stampOf(file);
        }
        return *found;
    }
    File &settings = m_files[file];
    switch (kindOf(file)) {
    case FileKind::Other:
        settings.noWrite = tr("The settings were not saved: \"%1\" is not a regular file.")
                               .arg(QDir::toNativeSeparators(file));
        return settings;
    case FileKind::Missing:
        return settings;
    case FileKind::Regular:
        break;
    }
    // Read under the lock, so that no other writer's half is seen; where
    // the lock cannot be had, read all the same, but never written.
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!takeLock(lock, file))
        settings.noWrite = tr("The settings were not saved: another program holds \"%1\", or it is not a file of "
                              "yours.")
                               .arg(QDir::toNativeSeparators(file + QStringLiteral(".lock")));
    settings.values = parsed(readBytes(file));
    settings.stamp = stampOf(file);
    return settings;
}

QtSettingsStore::File::Stamp QtSettingsStore::stampOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec, qint64(info.st_size),
            quint64(info.st_ino)};
}

QString QtSettingsStore::read(const QString &application, const QString &section,
                              const QString &key, const QString &defaultValue) const
{
    const File &settings = loaded(application);
    return settings.values.value(section + QLatin1Char('/') + key, defaultValue);
}

void QtSettingsStore::write(const QString &application, const QString &section, const QString &key,
                            const QString &value)
{
    File &settings = loaded(application);
    const QString name = section + QLatin1Char('/') + key;
    if (settings.values.value(name) == value && settings.values.contains(name))
        return;
    settings.values.insert(name, value);
    settings.changed.insert(name, value);
    if (!m_flushQueued) {
        m_flushQueued = true;
        QMetaObject::invokeMethod(&m_context, [this] { flush(); }, Qt::QueuedConnection);
    }
}

void QtSettingsStore::flush()
{
    m_flushQueued = false;
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
        if (!it->changed.isEmpty())
            writeFile(it.key(), *it);
    }
}

void QtSettingsStore::writeFile(const QString &file, File &settings)
{
    if (!settings.noWrite.isEmpty()) {
        settings.changed.clear();
        refuse(settings.noWrite);
        return;
    }
    QDir().mkpath(QFileInfo(file).path());
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!takeLock(lock, file)) {
        settings.changed.clear();
        refuse(tr("The settings were not saved: another program holds \"%1\", or it is not a file of yours.")
                   .arg(QDir::toNativeSeparators(file + QStringLiteral(".lock"))));
        return;
    }
    const FileKind kind = kindOf(file);
    if (kind == FileKind::Other) {
        settings.changed.clear();
        refuse(tr("The settings were not saved: \"%1\" is not a regular file.").arg(QDir::toNativeSeparators(file)));
        return;
    }
    // Another instance may have written since: its values stay, ours win.
    QHash<QString, QString> values = kind == FileKind::Regular ? parsed(readBytes(file)) : QHash<QString, QString>();
    for (auto it = settings.changed.begin(); it != settings.changed.end(); ++it)
        values.insert(it.key(), it.value());
    auto saved = saveFileBytes(file, serialised(values));
    if (!saved.ok()) {
        settings.changed.clear();
        refuse(tr("The settings were not saved to \"%1\": %2").arg(QDir::toNativeSeparators(file), saved.error().message));
        return;
    }
    settings.changed.clear();
    settings.values = values;
    settings.stamp = stampOf(file);
}

void QtSettingsStore::refuse(const QString &reason)
{
    if (!m_toldRefusal && m_refused)
        m_refused(reason);
    m_toldRefusal = true;
}

} // namespace zuno
