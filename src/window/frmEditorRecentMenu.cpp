// File > Open Recent, and files that come from outside the Open dialog:
// dropped on the window, or named by a further process.
#include "window/frmEditor.h"

#include "document/OpenDocument.h"
#include "document/RecentFiles.h"

#include <QFileInfo>
#include <QMenu>
#include <QTimer>

namespace zuno {

void frmEditor::documentNamed(const QString &path)
{
    m_recent->add(QFileInfo(path).absoluteFilePath());
    rebuildRecentMenu();
    refreshStatusFields();
}

void frmEditor::rebuildRecentMenu()
{
    mnuFileRecent->clear();
    if (!m_recentMenuHooked) {
        // What other windows added since.
        m_recentMenuHooked = true;
        connect(mnuFileRecent, &QMenu::aboutToShow, this, [this] {
            m_recent->reload();
            rebuildRecentMenu();
        });
    }
    const QStringList &paths = m_recent->paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *entry = mnuFileRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setObjectName(QStringLiteral("mnuFileRecent%1").arg(i + 1));
        entry->setStatusTip(path);
        entry->setToolTip(path);
        // Run once the menu has closed: Open may show a prompt.
        connect(entry, &QAction::triggered, this,
                [this, path] { QTimer::singleShot(0, this, [this, path] { openRecentFile(path); }); });
    }
    mnuFileRecent->addSeparator()->setObjectName(QStringLiteral("mnuFileRecentSep"));
    QAction *clear = mnuFileRecent->addAction(tr("&Clear List"));
    clear->setObjectName(QStringLiteral("mnuFileRecentClear"));
    connect(clear, &QAction::triggered, this, [this] {
        m_recent->clear();
        QTimer::singleShot(0, this, [this] { rebuildRecentMenu(); });
    });
}

void frmEditor::openRecentFile(const QString &path)
{
    if (OpenDocument(*m_shell, *this, path) == OpenOutcome::NotLoaded && !QFileInfo::exists(path)) {
        m_recent->remove(path);
        rebuildRecentMenu();
    }
}

void frmEditor::openDroppedFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    // After the drop has ended: the save prompt is modal.
    QTimer::singleShot(0, this, [this, paths] {
        for (qsizetype i = 1; i < paths.size(); ++i) {
            if (!openInNewProcess(paths[i]))
                showWarning(m_messages, tr("Unable to start ZUNOPad for the file '%1'.").arg(paths[i]));
        }
        OpenDocument(*m_shell, *this, paths.constFirst());
    });
}

} // namespace zuno
