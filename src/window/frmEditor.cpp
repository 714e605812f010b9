#include "window/frmEditor.h"

#include "window/CaptionMarker.h"
#include "window/DiskChangeBar.h"
#include "document/RecentFiles.h"
#include "window/ViewportHooks.h"
#include "items/DataItemView.h"
#include "panels/RecordsView.h"
#include "document/MemoryShortage.h"
#include "platform/qt/ScreenUnits.h"
#include "recovery/DocumentRecovery.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include <cmath>

namespace zuno {

namespace {

// How long a window manager may take to frame a window just shown.
constexpr int FrameKnownMs = 300;

QAction *addEntry(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void addSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

QMenu *addMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

frmEditor::frmEditor(QWidget *parent)
    : QMainWindow(parent), m_messages(this),
      m_settings([this](const QString &reason) { showWarning(m_messages, reason); }), m_fileDialogs(this)
{
    setObjectName(QStringLiteral("frmEditor"));
    setCaption(editorTitle());

    rtbEditor = new EditorWidget(this);
    m_font = readFontChoice(m_settings);
    rtbEditor->setFont(shownFont(m_font));
    setCentralWidget(rtbEditor);
    connect(rtbEditor, &EditorWidget::editMenuRequested, this, &frmEditor::showEditMenu);
    // The control's own clipboard keys do what the Edit menu does.
    connect(rtbEditor, &EditorWidget::cutRequested, this, &frmEditor::mnuEditCut_Click);
    connect(rtbEditor, &EditorWidget::copyRequested, this, &frmEditor::mnuEditCopy_Click);
    connect(rtbEditor, &EditorWidget::pasteRequested, this, &frmEditor::mnuEditPaste_Click);

    buildMenus();
    // Once a menu closes, by a command or by Escape, the keys go to the
    // text again, not to the menu bar. A command that opens a window of
    // its own keeps it: the focus only moves within this window.
    for (QMenu *menu : {mnuFile, mnuEdit, mnuView, mnuFormat, mnuHelp}) {
        connect(menu, &QMenu::aboutToHide, this, [this] {
            QTimer::singleShot(0, this, [this] {
                if (!QApplication::activePopupWidget() && !QApplication::activeModalWidget())
                    rtbEditor->QWidget::setFocus(Qt::OtherFocusReason);
            });
        });
    }

    m_shell = std::make_unique<EditorShell>(
        EditorServices{*rtbEditor, *this, m_messages, m_settings, m_fileDialogs, m_files});
    m_shell->recordPieces().follow(*rtbEditor);
    m_recent = std::make_unique<RecentFiles>(m_settings);
    rebuildRecentMenu();
    setUpStatusBar();
    setUpMatchHighlight();
    assignShortcuts();
    // The caption marks unsaved changes.
    connect(rtbEditor, &EditorWidget::modifiedChanged, this, &QWidget::setWindowModified);
    // Files dropped on the editor or the window are opened; Ctrl and the wheel zoom.
    auto *hooks = new ViewportHooks(
        this, [this](const QStringList &paths) { openDroppedFiles(paths); },
        [this](int steps) { zoomEditor(steps); });
    rtbEditor->viewport()->installEventFilter(hooks);
    installEventFilter(hooks);
    setAcceptDrops(true);
    m_items = new DataItemView(*this, *this, *rtbEditor, *mnuView, m_settings);
    setUpRecordsMenu();
    // The caption changes whenever the document takes up another file.
    m_diskBar = new DiskChangeBar(*this, *m_shell, *rtbEditor, m_files, m_settings);
    connect(this, &QWidget::windowTitleChanged, m_diskBar, &DiskChangeBar::follow);
    setUpRecovery();

    // Inner size as designed: 18 x 21.625 character cells.
    resize(int(std::lround(twipsToPixelsX(2160))), int(std::lround(twipsToPixelsY(5190)))
               + menuBar()->sizeHint().height()
               + (statusBar()->isHidden() ? 0 : statusBar()->sizeHint().height()));
    rtbEditor->setFocus();
}

frmEditor::~frmEditor()
{
    while (m_busyDepth > 0)
        setBusyPointer(false);
}

void frmEditor::buildMenus()
{
    QMenuBar *bar = menuBar();

    mnuFile = addMenu(bar, "mnuFile", tr("&File"));
    connect(addEntry(mnuFile, "mnuFileNew", tr("&New")), &QAction::triggered, this, &frmEditor::mnuFileNew_Click);
    connect(addEntry(mnuFile, "mnuFileOpen", tr("&Open")), &QAction::triggered, this, &frmEditor::mnuFileOpen_Click);
    mnuFileRecent = mnuFile->addMenu(tr("Open &Recent"));
    mnuFileRecent->setObjectName(QStringLiteral("mnuFileRecent"));
    mnuFileRecent->menuAction()->setObjectName(QStringLiteral("mnuFileRecent"));
    connect(addEntry(mnuFile, "mnuFileSave", tr("&Save")), &QAction::triggered, this, &frmEditor::mnuFileSave_Click);
    connect(addEntry(mnuFile, "mnuFileSaveAs", tr("Save &As")), &QAction::triggered, this, &frmEditor::mnuFileSaveAs_Click);
    connect(addEntry(mnuFile, "mnuFileReload", tr("Re&load")), &QAction::triggered, this, &frmEditor::mnuFileReload_Click);
    addSeparator(mnuFile, "mnuFileSep2");
    connect(addEntry(mnuFile, "mnuFilePrint", tr("&Print")), &QAction::triggered, this, &frmEditor::mnuFilePrint_Click);
    addSeparator(mnuFile, "mnuFileSep3");
    connect(addEntry(mnuFile, "mnuFileExit", tr("E&xit")), &QAction::triggered, this, &frmEditor::mnuFileExit_Click);

    mnuEdit = addMenu(bar, "mnuEdit", tr("&Edit"));
    connect(addEntry(mnuEdit, "mnuEditUndo", tr("&Undo")), &QAction::triggered, this, &frmEditor::mnuEditUndo_Click);
    connect(addEntry(mnuEdit, "mnuEditRedo", tr("Re&do")), &QAction::triggered, this, &frmEditor::mnuEditRedo_Click);
    addSeparator(mnuEdit, "mnuEditSep1");
    connect(addEntry(mnuEdit, "mnuEditCut", tr("Cu&t")), &QAction::triggered, this, &frmEditor::mnuEditCut_Click);
    connect(addEntry(mnuEdit, "mnuEditCopy", tr("&Copy")), &QAction::triggered, this, &frmEditor::mnuEditCopy_Click);
    connect(addEntry(mnuEdit, "mnuEditPaste", tr("&Paste")), &QAction::triggered, this, &frmEditor::mnuEditPaste_Click);
    addSeparator(mnuEdit, "mnuEditSep2");
    connect(addEntry(mnuEdit, "mnuEditClear", tr("C&lear")), &QAction::triggered, this, &frmEditor::mnuEditClear_Click);
    connect(addEntry(mnuEdit, "mnuEditSelectAll", tr("Select &All")), &QAction::triggered, this, &frmEditor::mnuEditSelectAll_Click);
    addSeparator(mnuEdit, "mnuEditSep3");
    connect(addEntry(mnuEdit, "mnuEditFind", tr("&Find")), &QAction::triggered, this, &frmEditor::mnuEditFind_Click);
    connect(addEntry(mnuEdit, "mnuEditReplace", tr("&Replace")), &QAction::triggered, this, &frmEditor::mnuEditReplace_Click);
    connect(addEntry(mnuEdit, "mnuEditFindNext", tr("Find &Next")), &QAction::triggered, this, [this] { editFindAgain(false); });
    connect(addEntry(mnuEdit, "mnuEditFindPrevious", tr("Find Pre&vious")), &QAction::triggered, this,
            [this] { editFindAgain(true); });
    addSeparator(mnuEdit, "mnuEditSep4");
    connect(addEntry(mnuEdit, "mnuEditGoTo", tr("&Go To")), &QAction::triggered, this, &frmEditor::mnuEditGoTo_Click);

    mnuFormat = addMenu(bar, "mnuFormat", tr("F&ormat"));
    connect(addEntry(mnuFormat, "mnuFormatFont", tr("&Font")), &QAction::triggered, this, &frmEditor::mnuFormatFont_Click);

    mnuView = addMenu(bar, "mnuView", tr("&View"));
    mnuViewList = addEntry(mnuView, "mnuViewList", tr("&List"));
    mnuViewRecord = addEntry(mnuView, "mnuViewRecord", tr("&Record"));
    for (QAction *view : {mnuViewList, mnuViewRecord})
        view->setCheckable(true);
    mnuViewList->setChecked(true);
    // Choosing an entry must not move its check mark by itself: the view
    // commands decide where it goes.
    connect(mnuViewList, &QAction::triggered, this, [this](bool checked) {
        mnuViewList->setChecked(!checked);
        mnuViewList_Click();
    });
    connect(mnuViewRecord, &QAction::triggered, this, [this](bool checked) {
        mnuViewRecord->setChecked(!checked);
        mnuViewRecord_Click();
    });
    addSeparator(mnuView, "mnuViewSep1");
    mnuViewStatusBar = addEntry(mnuView, "mnuViewStatusBar", tr("&Status Bar"));
    mnuViewStatusBar->setCheckable(true);
    mnuViewStatusBar->setChecked(true);
    connect(mnuViewStatusBar, &QAction::triggered, this, &frmEditor::mnuViewStatusBar_Click);
    addSeparator(mnuView, "mnuViewSep3");
    connect(addEntry(mnuView, "mnuViewZoomIn", tr("Zoom &In")), &QAction::triggered, this, [this] { zoomEditor(1); });
    connect(addEntry(mnuView, "mnuViewZoomOut", tr("Zoom &Out")), &QAction::triggered, this, [this] { zoomEditor(-1); });
    connect(addEntry(mnuView, "mnuViewZoomNormal", tr("Normal Si&ze")), &QAction::triggered, this,
            [this] { zoomEditor(0); });

    mnuHelp = addMenu(bar, "mnuHelp", tr("&Help"));
    connect(addEntry(mnuHelp, "mnuHelpAbout", tr("&About")), &QAction::triggered, this, &frmEditor::mnuHelpAbout_Click);
}

void frmEditor::formLoad(const QString &argumentText)
{
    whileMemoryLasts(m_messages, tr("open the file"), [&] { m_shell->formLoad(argumentText); });
    m_shell->offerRecovery(*m_recoveryStore, argumentText);
    restorePlacement();
    placeClearOfPeers();
}

void frmEditor::showEditMenu(const QPoint &globalPos)
{
    mnuEdit->exec(globalPos);
}

// ------------------------------------------------------------ menu handlers

void frmEditor::mnuFileNew_Click() { m_shell->fileNew(); }
void frmEditor::mnuFileOpen_Click()
{
    whileMemoryLasts(m_messages, tr("open the file"), [this] { m_shell->fileOpen(); });
}
void frmEditor::mnuFileSave_Click()
{
    whileMemoryLasts(m_messages, tr("save the file"), [this] { m_shell->fileSave(); });
}
void frmEditor::mnuFileSaveAs_Click()
{
    whileMemoryLasts(m_messages, tr("save the file"), [this] { m_shell->fileSaveAs(); });
}
void frmEditor::mnuFileReload_Click()
{
    whileMemoryLasts(m_messages, tr("open the file"), [this] { m_diskBar->reload(); });
}
void frmEditor::mnuFileExit_Click() { requestClose(); }
void frmEditor::mnuViewList_Click()
{
    whileMemoryLasts(m_messages, tr("convert the text to the List layout"), [this] { m_shell->viewList(); });
}
void frmEditor::mnuViewRecord_Click()
{
    whileMemoryLasts(m_messages, tr("convert the text to the Record layout"), [this] { m_shell->viewRecord(); });
}
void frmEditor::mnuHelpAbout_Click() { m_shell->helpAbout(); }

void frmEditor::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The frame the window system draws is known only once the window is
    // shown; a window fitted to the whole screen's width before then may
    // now stick out by the frame's width.
    const auto keepPlace = [this] {
        if (m_placeBeforeShow && frameGeometry().topLeft() != *m_placeBeforeShow
            && windowState() == WindowState::Normal)
            move(*m_placeBeforeShow);
    };
    // Window managers tell the frame a moment after the window shows.
    QTimer::singleShot(FrameKnownMs, this, [this, keepPlace] {
        keepPlace();
        m_placeBeforeShow.reset();
        // The frame's width was not known when the width was fitted.
        const int least = int(std::ceil(twipsToPixelsX(leastWidth().value_or(0))));
        if (windowState() == WindowState::Normal && frameGeometry().width() < least)
            resize(geometry().width() + least - frameGeometry().width(), geometry().height());
        keepOnScreen();
    });
    QTimer::singleShot(0, this, [this, keepPlace] {
        keepPlace();
        const QScreen *screen = screenUnderWindow();
        if (!screen || windowState() != WindowState::Normal)
            return;
        const int excess = frameGeometry().width() - screen->availableGeometry().width();
        if (excess > 0)
            resize(geometry().width() - excess, geometry().height());
        keepOnScreen();
    });
}

void frmEditor::closeEvent(QCloseEvent *event)
{
    if (!m_shell->formUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    storePlacement();
    // The session's settings, in one write.
    m_settings.flush();
    m_recovery->endCleanly(5000);
    // Dialogs, shown or hidden, go with the window, so that nothing keeps
    // the program running or acts on an editor that is gone.
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            child->close();
    }
}

// ------------------------------------------------------------ IMainWindow

void frmEditor::setCaption(const QString &text)
{
    m_caption = text;
    setWindowTitle(withModifiedMarker(text, captionSuffix()));
}

QString frmEditor::caption() const { return m_caption; }

WindowState frmEditor::windowState() const
{
    if (isMinimized())
        return WindowState::Minimized;
    if (isMaximized() || isFullScreen())
        return WindowState::Maximized;
    return WindowState::Normal;
}

double frmEditor::top() const { return pixelsToTwipsY(frameGeometry().y()); }
double frmEditor::left() const { return pixelsToTwipsX(frameGeometry().x()); }

int frmEditor::frameExtraWidth() const
{
    return frameGeometry().width() - geometry().width();
}

double frmEditor::width() const { return pixelsToTwipsX(frameGeometry().width()); }

void frmEditor::setWidth(double twips)
{
    const int inner = std::max(1, int(std::lround(twipsToPixelsX(twips))) - frameExtraWidth());
    resize(inner, geometry().height());
    // The resize rule: the edit control covers the inner area at once.
    rtbEditor->resize(inner, rtbEditor->height());
}

double frmEditor::editorWidthCells() const
{
    return pixelsToTwipsX(rtbEditor->width()) / CellWidthTwips;
}

void frmEditor::setEditorWidthCells(double cells)
{
    rtbEditor->resize(std::max(1, int(std::lround(twipsToPixelsX(cells * CellWidthTwips)))),
                      rtbEditor->height());
}

std::optional<int> frmEditor::editorScrollWidth() const
{
    // The margins beside the text (line numbers, marks) take their room too.
    // So do the panels beside it.
    return rtbEditor->contentWidth() + rtbEditor->marginsWidth() + (m_recordsView ? m_recordsView->sidePanelsWidth() : 0);
}

void frmEditor::setBusyPointer(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        --m_busyDepth;
        QApplication::restoreOverrideCursor();
    }
}

bool frmEditor::isListViewChecked() const { return mnuViewList->isChecked(); }
void frmEditor::setListViewChecked(bool checked) { mnuViewList->setChecked(checked); }
bool frmEditor::isRecordViewChecked() const { return mnuViewRecord->isChecked(); }
void frmEditor::setRecordViewChecked(bool checked) { mnuViewRecord->setChecked(checked); }

void frmEditor::requestClose() { close(); }

} // namespace zuno
