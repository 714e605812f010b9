#include "document/DiskWatch.h"

#include <QFileInfo>

namespace zuno {

namespace {

// A writer is usually done within this; a change is looked at once it is.
constexpr int SettleMs = 150;

bool sameFileState(const FileStamp &a, const FileStamp &b)
{
    return a.valid == b.valid && a.device == b.device && a.inode == b.inode && a.size == b.size
           && a.modifiedNs == b.modifiedNs && a.changedNs == b.changedNs;
}

} // namespace

DiskWatch::DiskWatch(const EditorShell &shell, const ITextFiles &files, QObject *parent)
    : QObject(parent), m_shell(shell), m_files(files)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &DiskWatch::check);
    // The folder too: a file replaced by rename or deleted is no longer the
    // one watched.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
}

void DiskWatch::follow()
{
    if (m_shell.filePath() != m_path) {
        if (!m_watcher.files().isEmpty())
            m_watcher.removePaths(m_watcher.files());
        if (!m_watcher.directories().isEmpty())
            m_watcher.removePaths(m_watcher.directories());
        m_path = m_shell.filePath();
        m_kept.reset();
    }
    check();
}

void DiskWatch::keep()
{
    m_kept = m_files.stamp(m_path);
}

void DiskWatch::watchPaths()
{
    if (m_path.isEmpty())
        return;
    const QFileInfo file(m_path);
    if (!m_watcher.directories().contains(file.absolutePath()))
        m_watcher.addPath(file.absolutePath());
    if (file.exists() && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
}

void DiskWatch::check()
{
    if (m_shell.filePath() != m_path) {
        follow();
        return;
    }
    watchPaths();
    const DiskState state = m_shell.diskState();
    if (state != DiskState::Unchanged && m_kept && sameFileState(*m_kept, m_files.stamp(m_path)))
        return;
    if (state == DiskState::Unchanged)
        m_kept.reset();
    emit diskChanged(state);
}

} // namespace zuno
