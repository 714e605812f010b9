#pragma once
#include "platform/Settings.h"

#include <QCoreApplication>
#include <QHash>
#include <QObject>
#include <QString>
#include <functional>

namespace zuno {

// The settings in an INI file per application under the user's
// configuration folder ($XDG_CONFIG_HOME/<application>/<application>.conf),
// read once and kept in memory. Changes are written together, in one write
// of the file: once the event that made them has been handled (one user
// change, one write), on flush() and at the end. A write is a save as a
// document's (see textfile/SafeSave): a symbolic link stays a link, the file
// it leads to keeps its owner and mode.
// Only a regular file is read or written: a device, a FIFO, a folder or a
// dangling link in its place counts as no settings and is never written
// through. The lock beside it ("<file>.lock", shared with other programs'
// QSettings) is waited on for at most a second; one that is held longer or
// is not a regular file of this user leaves the settings read without it
// and not written. Either refusal calls `refused` once with a plain reason.
class QtSettingsStore : public ISettingsStore {
    Q_DECLARE_TR_FUNCTIONS(QtSettingsStore)

public:
    using Refused = std::function<void(const QString &reason)>;
    explicit QtSettingsStore(Refused refused = {}) : m_refused(std::move(refused)) {}
    ~QtSettingsStore() override;

    QString read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    void write(const QString &application, const QString &section, const QString &key,
               const QString &value) override;
    // Writes the changes made so far now.
    void flush();

    // The file the settings of `application` are kept in.
    static QString filePath(const QString &application);

private:
    // A settings file as read, with the changes not yet written, keyed by
    // the file's path.
    struct File {
        QHash<QString, QString> values;
        QHash<QString, QString> changed;
        QString noWrite; // why it is not written
        // The file as last read or written: another window or program
        // that writes it since is seen at the next read.
        struct Stamp {
            qint64 modified = -1;
            qint64 size = -1;
            quint64 inode = 0;
            bool operator==(const Stamp &) const = default;
        } stamp;
    };
    static File::Stamp stampOf(const QString &path);
    File &loaded(const QString &application) const;
    void writeFile(const QString &path, File &settings);
    void refuse(const QString &reason);

    Refused m_refused;
    bool m_toldRefusal = false;
    bool m_flushQueued = false;
    mutable QHash<QString, File> m_files;
    QObject m_context; // queued flushes end with the store
};

} // namespace zuno
