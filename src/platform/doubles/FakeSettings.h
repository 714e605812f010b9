#pragma once
#include "platform/Settings.h"

#include <QMap>

namespace zuno {

class FakeSettings : public ISettingsStore {
public:
    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override
    {
        return values.value(path(application, section, key), defaultValue);
    }
    void write(const QString &application, const QString &section, const QString &key,
               const QString &value) override
    {
        values.insert(path(application, section, key), value);
        ++writeCount;
    }
    static QString path(const QString &application, const QString &section, const QString &key)
    {
        return application + QLatin1Char('/') + section + QLatin1Char('/') + key;
    }

    QMap<QString, QString> values;
    int writeCount = 0;
};

} // namespace zuno
