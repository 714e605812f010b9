#include "document/OpenDocument.h"

#include "document/EditorShell.h"

#include <QCoreApplication>
#include <QProcess>

namespace zuno {

OpenOutcome OpenDocument(EditorShell &shell, IMainWindow &window, const QString &path)
{
    if (!shell.saveChanges())
        return OpenOutcome::Cancelled;
    if (!shell.openFile(path))
        return OpenOutcome::NotLoaded;
    window.setCaption(fileTitleOf(path) + captionSuffix());
    return OpenOutcome::Opened;
}

StartFiles startFiles(const QStringList &arguments, const std::function<bool(const QString &)> &exists)
{
    const QString joined = arguments.join(QLatin1Char(' '));
    if (arguments.size() < 2 || exists(pathFromArgument(joined)))
        return StartFiles{joined, {}};
    return StartFiles{arguments.constFirst(), arguments.mid(1)};
}

bool openInNewProcess(const QString &path)
{
    // "--" first: a name may begin with "-".
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), {QStringLiteral("--"), path});
}

} // namespace zuno
