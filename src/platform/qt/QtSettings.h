#pragma once
#include "platform/Settings.h"

namespace zuno {

// QSettings in the user's native format, one file per application.
class QtSettingsStore : public ISettingsStore {
public:
    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    void write(const QString &application, const QString &section, const QString &key,
               const QString &value) override;
};

} // namespace zuno
