#include "document/RecentFiles.h"

#include "document/EditorShell.h"

namespace zuno {

namespace {

const QString RecentSection = QStringLiteral("RecentFiles");

QString keyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }

} // namespace

RecentFiles::RecentFiles(ISettingsStore &settings) : m_settings(settings) { reload(); }

void RecentFiles::reload()
{
    m_paths.clear();
    for (int i = 0; i < MaxEntries; ++i) {
        const QString path = m_settings.read(SettingsApplication, RecentSection, keyOf(i), QString());
        if (!path.isEmpty() && !m_paths.contains(path))
            m_paths << path;
    }
}

void RecentFiles::add(const QString &path)
{
    reload();
    if (path.isEmpty() || (!m_paths.isEmpty() && m_paths.constFirst() == path))
        return;
    m_paths.removeAll(path);
    m_paths.prepend(path);
    while (m_paths.size() > MaxEntries)
        m_paths.removeLast();
    store();
}

void RecentFiles::remove(const QString &path)
{
    reload();
    if (m_paths.removeAll(path) > 0)
        store();
}

void RecentFiles::clear()
{
    m_paths.clear();
    store();
}

void RecentFiles::store()
{
    for (int i = 0; i < MaxEntries; ++i)
        m_settings.write(SettingsApplication, RecentSection, keyOf(i), m_paths.value(i));
}

} // namespace zuno
