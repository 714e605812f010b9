#pragma once
// Opening a file named outside the Open dialog (a recent file, a dropped
// file, a further file of the command line), and handing files to further
// ZUNOPad processes.
#include <QString>
#include <QStringList>
#include <functional>

namespace zuno {

class EditorShell;
class IMainWindow;

enum class OpenOutcome { Opened, Cancelled, NotLoaded };

// As File > Open does once a file is chosen: the save prompt first (Cancel
// ends it), then the file in List view, fitted, unmodified and named in the
// caption. A file that cannot be loaded has been reported.
OpenOutcome OpenDocument(EditorShell &shell, IMainWindow &window, const QString &path);

// What the command line asks for: the file this window opens (the argument
// text, as one path) and the files each further process opens. Several
// arguments are several files only when their joined text names no file.
struct StartFiles {
    QString here;
    QStringList elsewhere;
};
StartFiles startFiles(const QStringList &arguments, const std::function<bool(const QString &)> &exists);

// Starts a new ZUNOPad process on `path`; false when it cannot be started.
bool openInNewProcess(const QString &path);

} // namespace zuno
