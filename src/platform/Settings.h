#pragma once
// The per-user settings store: text values under application, section, key.
#include <QString>

namespace zuno {

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual QString read(const QString &application, const QString &section, const QString &key,
                         const QString &defaultValue) const = 0;
    virtual void write(const QString &application, const QString &section, const QString &key,
                       const QString &value) = 0;
};

} // namespace zuno
