#include "window/DiskChangeBar.h"

#include "document/DiskWatch.h"

#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>

namespace zuno {

namespace {
const QString FilesSection = QStringLiteral("Files");
const QString AutoReloadKey = QStringLiteral("ReloadUnmodified");
} // namespace

DiskChangeBar::DiskChangeBar(QMainWindow &window, EditorShell &shell, IEditControl &editor,
                             const ITextFiles &files, ISettingsStore &settings)
    : QToolBar(&window), m_shell(shell), m_editor(editor), m_settings(settings),
      m_watch(new DiskWatch(shell, files, this)), m_text(new QLabel(this)),
      m_always(new QCheckBox(tr("Reload unmodified files &without asking"), this))
{
    setObjectName(QStringLiteral("tbrChangedOnDisk"));
    setWindowTitle(tr("Changed on Disk"));
    setMovable(false);
    setFloatable(false);
    toggleViewAction()->setVisible(false);
    m_text->setObjectName(QStringLiteral("lblChangedOnDisk"));
    m_text->setContentsMargins(6, 0, 12, 0);
    addWidget(m_text);
    m_reload = addAction(tr("&Reload"), this, &DiskChangeBar::reload);
    m_reload->setObjectName(QStringLiteral("cmdChangedReload"));
    QAction *keep = addAction(tr("&Keep"), this, [this] {
        m_watch->keep();
        hide();
    });
    keep->setObjectName(QStringLiteral("cmdChangedKeep"));
    m_always->setObjectName(QStringLiteral("chkChangedAlways"));
    m_always->setChecked(settings.read(SettingsApplication, FilesSection, AutoReloadKey, QString()) == u"1");
    connect(m_always, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.write(SettingsApplication, FilesSection, AutoReloadKey, on ? QStringLiteral("1") : QStringLiteral("0"));
    });
    addWidget(m_always);
    window.addToolBar(Qt::TopToolBarArea, this);
    hide();
    connect(m_watch, &DiskWatch::diskChanged, this, [this](DiskState state) { changed(int(state)); });
}

void DiskChangeBar::follow() { m_watch->follow(); }

void DiskChangeBar::reload()
{
    if (m_shell.reloadFile())
        hide();
}

void DiskChangeBar::changed(int state)
{
    const QString name = fileTitleOf(m_shell.filePath());
    switch (DiskState(state)) {
    case DiskState::Unchanged:
        hide();
        return;
    case DiskState::Missing:
        m_text->setText(tr("The file '%1' has been deleted or moved on disk.").arg(name));
        m_reload->setVisible(false);
        break;
    case DiskState::Changed:
        if (!m_editor.isModified() && m_always->isChecked()) {
            reload();
            return;
        }
        m_text->setText(m_editor.isModified()
                            ? tr("The file '%1' has been changed on disk. Reload it and lose your changes, "
                                 "or keep the text in the editor?").arg(name)
                            : tr("The file '%1' has been changed on disk.").arg(name));
        m_reload->setVisible(true);
        break;
    }
    m_always->setVisible(!m_editor.isModified() && state == int(DiskState::Changed));
    show();
}

} // namespace zuno
