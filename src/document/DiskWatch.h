#pragma once
// Watches the document's file while it is open: another program writing it,
// deleting it or putting another file in its place (a save by rename) is
// told once the file has settled, measured against what the document last
// read or wrote. The document's own saves are no news.
#include "document/EditorShell.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace zuno {

class DiskWatch : public QObject {
    Q_OBJECT
public:
    DiskWatch(const EditorShell &shell, const ITextFiles &files, QObject *parent = nullptr);

    // Takes up the document's file as it is now (after New, Open, Save As);
    // checks it at once.
    void follow();
    // The user keeps the editor's text: the file as it is now on disk is not
    // told again; a further change is.
    void keep();

signals:
    // Changed or Missing: the file is not what the document holds;
    // Unchanged: it is again (or the document has no file).
    void diskChanged(DiskState state);

private:
    void check();
    void watchPaths();

    const EditorShell &m_shell;
    const ITextFiles &m_files;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
    // The file as it was when the user chose to keep the editor's text.
    std::optional<FileStamp> m_kept;
};

} // namespace zuno
