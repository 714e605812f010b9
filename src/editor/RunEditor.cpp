#include "editor/RunEditor.h"

#include "editor/AppIcon.h"
#include "editor/frmEditor.h"
#include "editor/Translations.h"
#include "Version.h"

#include <QApplication>
#include <QStringList>

namespace zuno {

int runEditor(int argc, char **argv)
{
    // The argument text is taken before Qt looks at the arguments: the
    // whole of it, joined with single spaces, is one path.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString argumentText = arguments.join(QLatin1Char(' '));

    QApplication app(argc, argv);
    installTranslations(app);
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
