#include "platform/qt/QtSettings.h"

#include <QSettings>

namespace zuno {

QString QtSettingsStore::read(const QString &application, const QString &section,
                              const QString &key, const QString &defaultValue) const
{
    QSettings settings(application, application);
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    return value.isValid() ? value.toString() : defaultValue;
}

void QtSettingsStore::write(const QString &application, const QString &section, const QString &key,
                            const QString &value)
{
    QSettings settings(application, application);
    settings.setValue(section + QLatin1Char('/') + key, value);
    settings.sync();
}

} // namespace zuno
