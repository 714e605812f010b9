#include "editor/RunEditor.h"

#include "editor/AppIcon.h"
#include "editor/MemoryShortage.h"
#include "editor/frmEditor.h"
#include "recovery/TerminationSignals.h"
#include "Version.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

namespace zuno {

namespace {

// Whatever runs out of memory in an event handler (Replace All, printing, a
// paste) ends with a message instead of ending the program; the commands
// that change the document say what they could not do themselves.
class EditorApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::bad_alloc &) {
            QMessageBox::warning(activeWindow(), applicationTitle(),
                                 notEnoughMemoryMessage(translate("EditorApplication", "complete the command")));
            return false;
        }
    }
};

} // namespace

int runEditor(int argc, char **argv)
{
    // The argument text is taken before Qt looks at the arguments: the
    // whole of it, joined with single spaces, is one path.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString argumentText = arguments.join(QLatin1Char(' '));

    EditorApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZUNOPad"));
    QApplication::setOrganizationName(QStringLiteral("ZUNOPad"));
    QApplication::setApplicationVersion(versionNumber());
    QApplication::setWindowIcon(makeAppIcon());
    // Ties the window to the installed zunopad.desktop (and its icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("zunopad"));

    frmEditor window;
    // From here on a logout, a closed terminal or Ctrl+C keeps the unsaved
    // text for the next start.
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &window, &frmEditor::endOnSignal);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &frmEditor::commitSessionData,
                     Qt::DirectConnection);
    window.formLoad(argumentText);
    window.show();
    return app.exec();
}

} // namespace zuno
