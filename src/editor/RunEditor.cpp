#include "editor/RunEditor.h"

#include "editor/AppIcon.h"
#include "editor/OpenDocument.h"
#include "editor/frmEditor.h"
#include "editor/Translations.h"
#include "textfile/FileNames.h"
#include "Version.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>

namespace zuno {

int runEditor(int argc, char **argv)
{
    // The argument text is taken before Qt looks at the arguments: the
    // whole of it, joined with single spaces, is one path, its bytes kept
    // (a name need not be UTF-8). A first "--" ends the options, so that a
    // name may begin with "-".
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << fileNameFromBytes(argv[i]);
    if (arguments.value(0) == QStringLiteral("--"))
        arguments.removeFirst();

    QApplication app(argc, argv);
    installTranslations(app);
    QApplication::setApplicationName(QStringLiteral("ZUNOPad"));
    QApplication::setOrganizationName(QStringLiteral("ZUNOPad"));
    QApplication::setApplicationVersion(versionNumber());
    QApplication::setWindowIcon(makeAppIcon());
    // Ties the window to the installed zunopad.desktop (and its icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("zunopad"));

    // Several files, when their joined names name none: the first here,
    // each further one in a process of its own.
    const StartFiles files = startFiles(arguments, [](const QString &path) { return pathExists(path); });
    for (const QString &path : files.elsewhere)
        openInNewProcess(path);

    frmEditor window;
    window.formLoad(files.here);
    window.show();
    return app.exec();
}

} // namespace zuno
