// The menu entries over the records: Edit > Go To Record, and in the View
// menu the records and problems panels, the next and previous record, and
// fold all and unfold all. Each hands over to the records view.
#include "window/frmEditor.h"

#include "items/DataItemView.h"
#include "panels/RecordsView.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QTimer>

namespace zuno {

namespace {

QAction *addEntry(QMenu *menu, const char *name, const QString &caption, const QKeySequence &key = {})
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    return action;
}

} // namespace

RecordsView &frmEditor::recordsView() { return *m_recordsView; }

void frmEditor::setUpRecordsMenu()
{
    m_recordsView = new RecordsView(*this, *m_items, *rtbEditor, m_settings);
    RecordsView *view = m_recordsView;

    connect(addEntry(mnuEdit, "mnuEditGoToRecord", tr("Go To Rec&ord…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)),
            &QAction::triggered, view, &RecordsView::goToRecord);

    mnuView->addSeparator()->setObjectName(QStringLiteral("mnuViewSep4"));
    const auto panelEntry = [&](const char *name, const QString &caption, QDockWidget *panel, auto show) {
        QAction *entry = addEntry(mnuView, name, caption);
        entry->setCheckable(true);
        entry->setChecked(!panel->isHidden());
        // A panel beside the text takes its room from the window, which is
        // fitted to the text again.
        connect(entry, &QAction::triggered, view, [this, view, show](bool shown) {
            (view->*show)(shown);
            // Once the window has laid the panel out.
            QTimer::singleShot(0, this, [this] { m_shell->fitWindowToText(); });
        });
        // Closed by its own button, or shown again: the check follows.
        connect(panel->toggleViewAction(), &QAction::toggled, entry, &QAction::setChecked);
    };
    panelEntry("mnuViewRecords", tr("Recor&ds"), view->recordsPanel(), &RecordsView::showRecords);
    panelEntry("mnuViewProblems", tr("Pro&blems"), view->problemsPanel(), &RecordsView::showProblems);
    connect(addEntry(mnuView, "mnuViewNextRecord", tr("Nex&t Record"), QKeySequence(Qt::ALT | Qt::Key_Down)),
            &QAction::triggered, view, [view] { view->goToNextRecord(true); });
    connect(addEntry(mnuView, "mnuViewPreviousRecord", tr("Previo&us Record"), QKeySequence(Qt::ALT | Qt::Key_Up)),
            &QAction::triggered, view, [view] { view->goToNextRecord(false); });
    connect(addEntry(mnuView, "mnuViewFoldAll", tr("&Fold All")), &QAction::triggered, view,
            [view] { view->foldAll(true); });
    connect(addEntry(mnuView, "mnuViewUnfoldAll", tr("Unfold &All")), &QAction::triggered, view,
            [view] { view->foldAll(false); });
}

} // namespace zuno
