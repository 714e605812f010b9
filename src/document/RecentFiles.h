#pragma once
// The recently used files: at most nine full paths, most recent first,
// kept with the settings. Every ZUNOPad window shares the one list: each
// change starts from what is stored now, and reload() takes up what other
// windows stored.
#include "platform/Settings.h"

#include <QStringList>

namespace zuno {

class RecentFiles {
public:
    static constexpr int MaxEntries = 9;

    explicit RecentFiles(ISettingsStore &settings);

    const QStringList &paths() const { return m_paths; }
    void reload();
    // `path` goes to the top (from wherever it stood); the oldest beyond
    // nine leaves the list.
    void add(const QString &path);
    void remove(const QString &path);
    void clear();

private:
    void store();

    ISettingsStore &m_settings;
    QStringList m_paths;
};

} // namespace zuno
