#include "editor/RunEditor.h"

#include "editor/AppIcon.h"
#include "editor/frmEditor.h"
#include "textfile/FileNames.h"
#include "Version.h"

#include <QApplication>
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
    const QString argumentText = arguments.join(QLatin1Char(' '));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZUNOPad"));
    QApplication::setOrganizationName(QStringLiteral("ZUNOPad"));
    QApplication::setApplicationVersion(versionNumber());
    QApplication::setWindowIcon(makeAppIcon());
    // Ties the window to the installed zunopad.desktop (and its icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("zunopad"));

    frmEditor window;
    window.formLoad(argumentText);
    window.show();
    return app.exec();
}

} // namespace zuno
