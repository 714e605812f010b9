#include "platform/qt/QtSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <sys/stat.h>

namespace zuno {

namespace {

// Where the settings can be kept: the file itself, or the regular file a
// symbolic link to it leads to; nothing when anything else stands there.
// A missing file is fine: it is made on the first write.
struct Place {
    QString path;   // empty when the settings cannot be kept here
    bool exists = false;
};

Place placeOf(const QString &file)
{
    struct stat link {};
    if (::lstat(QFile::encodeName(file).constData(), &link) != 0)
        return {file, false};
    struct stat target {};
    if (::stat(QFile::encodeName(file).constData(), &target) != 0 || !S_ISREG(target.st_mode))
        return {};
    if (S_ISLNK(link.st_mode))
        return {QFileInfo(file).canonicalFilePath(), true};
    return {file, true};
}

} // namespace

QString QtSettingsStore::filePath(const QString &application)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
           + application + QLatin1Char('/') + application + QStringLiteral(".conf");
}

QString QtSettingsStore::read(const QString &application, const QString &section,
                              const QString &key, const QString &defaultValue) const
{
    const Place place = placeOf(filePath(application));
    if (place.path.isEmpty() || !place.exists)
        return defaultValue;
    QSettings settings(place.path, QSettings::IniFormat);
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

void QtSettingsStore::write(const QString &application, const QString &section, const QString &key,
                            const QString &value)
{
    const QString file = filePath(application);
    const Place place = placeOf(file);
    if (place.path.isEmpty()) {
        if (!m_toldRefusal && m_refused)
            m_refused(tr("The settings were not saved: \"%1\" is not a regular file.")
                          .arg(QDir::toNativeSeparators(file)));
        m_toldRefusal = true;
        return;
    }
    QSettings settings(place.path, QSettings::IniFormat);
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
}

} // namespace zuno
