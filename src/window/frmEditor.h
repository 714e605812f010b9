#pragma once
// frmEditor: the main window. It owns the edit control rtbEditor, the menus
// and the Qt side of the seam; the menu handlers are thin and each calls one
// procedure.
#include "document/EditorFont.h"
#include "document/EditorShell.h"
#include "platform/qt/EditorWidget.h"
#include "platform/MainWindow.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtSettings.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QAction;
class QSessionManager;
class QScreen;
class QMenu;
class QDialog;

namespace zuno {

class DataItemView;
class RecordsView;
class DiskChangeBar;
class MatchHighlight;
class QtMatchMarks;
class RecentFiles;
class StatusFields;
class DocumentRecovery;
class RecoveryStore;

class frmEditor : public QMainWindow, public IMainWindow {
    Q_OBJECT
public:
    explicit frmEditor(QWidget *parent = nullptr);
    ~frmEditor() override;

    // The other ZUNOPad windows (frmEditorPlacement.cpp): the file this one
    // holds is known to them, a file one of them holds is brought forward
    // there, and a new window is placed clear of them.
    void setPeers(IPeerWindows &peers);

    // Start-up: loads the file named by the command-line argument text,
    // restores the position and fits the width (Form_Load).
    void formLoad(const QString &argumentText);

    EditorWidget *editor() const { return rtbEditor; }
    EditorShell &shell() { return *m_shell; }
    IMessageBox &messages() { return m_messages; }
    QMenu *editMenu() const { return mnuEdit; }
    // The status bar's fields; other features add their own (StatusFields.h).
    StatusFields &statusFields() { return *m_statusFields; }
    const RecentFiles &recentFiles() const { return *m_recent; }
    RecordsView &recordsView(); // frmEditorRecordsMenu.cpp
    // Every match of the last search on screen, and their number.
    MatchHighlight &matchHighlight() const { return *m_matches; }
    const QtMatchMarks &matchMarks() const { return *m_matchMarks; }

    // Recovery of unsaved changes (frmEditorRecovery.cpp): a termination
    // signal keeps the unsaved text and ends the program at once; the
    // session manager's request to save asks the save prompt where it may.
    [[noreturn]] void endOnSignal(int signalNumber);
    void commitSessionData(QSessionManager &manager);

    // IMainWindow
    void setCaption(const QString &caption) override;
    QString caption() const override;
    WindowState windowState() const override;
    double top() const override;
    void setTop(double twips) override;
    double left() const override;
    void setLeft(double twips) override;
    double width() const override;
    void setWidth(double twips) override;
    double editorWidthCells() const override;
    void setEditorWidthCells(double cells) override;
    std::optional<int> editorScrollWidth() const override;
    void setBusyPointer(bool busy) override;
    bool isListViewChecked() const override;
    void setListViewChecked(bool checked) override;
    bool isRecordViewChecked() const override;
    void setRecordViewChecked(bool checked) override;
    void requestClose() override;
    std::optional<double> availableWidth() const override;
    std::optional<double> leastWidth() const override; // frmEditorPlacement.cpp
    void keepOnScreen() override;
    void documentNamed(const QString &path) override;

    // Menu handlers.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileReload_Click();
    void mnuFilePrint_Click();        // frmEditorPrintMenu.cpp
    void mnuFileExit_Click();
    void mnuEditUndo_Click();         // frmEditorEditMenu.cpp, down to mnuEditGoTo_Click
    void mnuEditRedo_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditClear_Click();
    void mnuEditSelectAll_Click();
    void mnuEditFind_Click();         // frmEditorSearchMenu.cpp
    void mnuEditReplace_Click();
    void mnuEditGoTo_Click();         // frmEditorEditMenu.cpp
    void mnuViewList_Click();
    void mnuViewRecord_Click();
    void mnuHelpAbout_Click();
    void mnuViewStatusBar_Click();    // frmEditorStatus.cpp
    void mnuFormatFont_Click();       // frmEditorFormatMenu.cpp
    // Zoom of the editor text by `steps` points; 0 goes back to the chosen
    // size.
    void zoomEditor(int steps);
    // F3 and Shift+F3 (frmEditorKeys.cpp).
    void editFindAgain(bool backwards);
    // Files dropped on the window: the first here, each further one in a
    // new ZUNOPad window.
    void openDroppedFiles(const QStringList &paths);
    void openRecentFile(const QString &path); // frmEditorRecentMenu.cpp

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenus();
    void showEditMenu(const QPoint &globalPos);
    // Frame width minus inner width, in pixels.
    int frameExtraWidth() const;
    const QScreen *screenUnderWindow() const;
    void assignShortcuts();           // frmEditorKeys.cpp
    void setUpMatchHighlight();       // frmEditorSearchMenu.cpp
    void setUpStatusBar();            // frmEditorStatus.cpp
    void refreshStatusFields();
    void rebuildRecentMenu();         // frmEditorRecentMenu.cpp
    void setUpRecordsMenu();          // frmEditorRecordsMenu.cpp
    void placeFrameAt(QPoint corner);
    // The place set before the window was first shown, until it is known
    // to be where it was put.
    std::optional<QPoint> m_placeBeforeShow;
    void restorePlacement();          // frmEditorPlacement.cpp
    void placeClearOfPeers();
    void storePlacement();
    void applyFontChoice(const EditorFontChoice &choice);
    int m_busyDepth = 0;
    // The caption as set, without the modified marker.
    QString m_caption;

    EditorWidget *rtbEditor = nullptr;
    QtMessageBox m_messages;
    QtSettingsStore m_settings;
    QtFileDialogs m_fileDialogs;
    DiskTextFiles m_files;
    std::unique_ptr<EditorShell> m_shell;
    DataItemView *m_items = nullptr; // marks, line numbers, code colours
    QPointer<RecordsView> m_recordsView; // the panels, Go To Record, folding
    DiskChangeBar *m_diskBar = nullptr;
    IPeerWindows *m_peers = nullptr;
    QtMatchMarks *m_matchMarks = nullptr;
    MatchHighlight *m_matches = nullptr;
    std::unique_ptr<RecentFiles> m_recent;
    bool m_recentMenuHooked = false;
    StatusFields *m_statusFields = nullptr;
    EditorFontChoice m_font;
    void setUpRecovery();
    // The writer's thread ends before the store it writes to goes.
    std::unique_ptr<RecoveryStore> m_recoveryStore;
    std::unique_ptr<DocumentRecovery> m_recovery;

    QMenu *mnuFile = nullptr;
    QMenu *mnuEdit = nullptr;
    QMenu *mnuView = nullptr;
    QMenu *mnuFormat = nullptr;
    QMenu *mnuFileRecent = nullptr;
    QAction *mnuViewStatusBar = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuViewList = nullptr;
    QAction *mnuViewRecord = nullptr;

    // The Go To Line dialog lives as long as the window once it is first used.
    QPointer<QDialog> m_frmGoToLine;
};

} // namespace zuno
