#include "app/RunEditor.h"
#include "platform/LargeBlocks.h"

#include "app/AppIcon.h"
#include "document/MemoryShortage.h"
#include "document/OpenDocument.h"
#include "window/frmEditor.h"
#include "platform/qt/FocusReturn.h"
#include "platform/qt/SessionPeers.h"
#include "app/Translations.h"
#include "recovery/TerminationSignals.h"
#include "textfile/FileNames.h"
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
    // whole of it, joined with single spaces, is one path, its bytes kept
    // (a name need not be UTF-8). A first "--" ends the options, so that a
    // name may begin with "-".
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << fileNameFromBytes(argv[i]);
    if (arguments.value(0) == QStringLiteral("--"))
        arguments.removeFirst();

    keepLargeBlocksForReuse();
    shareOneHeapAmongThreads();
    EditorApplication app(argc, argv);
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
    // A file another window holds is brought forward there; this process
    // then has nothing to show.
    SessionPeers peers(window);
    if (!files.here.isEmpty()
        && peers.bringForwardHolder(pathFromArgument(files.here)) == HeldElsewhere::BroughtForward)
        return 0;
    window.setPeers(peers);
    // Memory kept for reuse goes back to the system once a far smaller
    // document is loaded.
    window.shell().setOnNewText([](qint64 bytes) { releaseKeptBlocksBeyond(bytes); });
    // From here on a logout, a closed terminal or Ctrl+C keeps the unsaved
    // text for the next start.
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &window, &frmEditor::endOnSignal);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &frmEditor::commitSessionData,
                     Qt::DirectConnection);
    window.formLoad(files.here);
    window.show();
    // The keyboard goes to the new window, and back to it from its dialogs,
    // also where no window manager hands it over.
    window.activateWindow();
    new FocusReturn(window);
    return app.exec();
}

} // namespace zuno
