#pragma once
#include "platform/Settings.h"

#include <QCoreApplication>
#include <QString>
#include <functional>

namespace zuno {

// The settings in an INI file per application under the user's
// configuration folder ($XDG_CONFIG_HOME/<application>/<application>.conf).
// Only a regular file is read or written: a symbolic link to one is
// followed, but a device, a FIFO, a folder or a dangling link in its place
// counts as no settings and is never written through; the first write that
// is refused so calls `refused` once with a plain reason.
class QtSettingsStore : public ISettingsStore {
    Q_DECLARE_TR_FUNCTIONS(QtSettingsStore)

public:
    using Refused = std::function<void(const QString &reason)>;
    explicit QtSettingsStore(Refused refused = {}) : m_refused(std::move(refused)) {}

    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    void write(const QString &application, const QString &section, const QString &key,
               const QString &value) override;

    // The file the settings of `application` are kept in.
    static QString filePath(const QString &application);

private:
    Refused m_refused;
    bool m_toldRefusal = false;
};

} // namespace zuno
