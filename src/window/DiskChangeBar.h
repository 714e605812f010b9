#pragma once
// The bar at the top of the main window that tells of the document's file
// changed, deleted or replaced on disk by another program, while it is
// open: Reload reads it again (asking first when there are unsaved
// changes), Keep leaves the editor's text as it is. Nothing modal; the
// question of Save ("File Changed on Disk") still comes at Save. An
// unmodified document is reloaded without the bar when the user chose so.
#include <QToolBar>

class QCheckBox;
class QLabel;
class QMainWindow;

namespace zuno {

class DiskWatch;
class EditorShell;
class ISettingsStore;
class ITextFiles;
class IEditControl;

class DiskChangeBar : public QToolBar {
    Q_OBJECT
public:
    DiskChangeBar(QMainWindow &window, EditorShell &shell, IEditControl &editor, const ITextFiles &files,
                  ISettingsStore &settings);

    // The document now stands for another file, or none.
    void follow();
    // File > Reload, and the bar's Reload.
    void reload();

private:
    void changed(int state);

    EditorShell &m_shell;
    IEditControl &m_editor;
    ISettingsStore &m_settings;
    DiskWatch *m_watch;
    QLabel *m_text;
    QAction *m_reload;
    QCheckBox *m_always;
};

} // namespace zuno
