#include "items/DataItemView.h"

#include "document/EditorShell.h"
#include "items/RecordPlace.h"
#include "platform/qt/EditorWidget.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

namespace zuno {

namespace {

// An insertion of more lines than this is checked with the whole text.
constexpr qint64 ManyLines = 20000;

const QString ViewSection = QStringLiteral("View");
const QString LineNumbersKey = QStringLiteral("LineNumbers");
const QString CodeColoursKey = QStringLiteral("CodeColours");

QAction *addEntry(QMenu &menu, const char *name, const QString &caption)
{
    QAction *action = menu.addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

DataItemView::DataItemView(QMainWindow &window, IMainWindow &modes, EditorWidget &editor, QMenu &viewMenu,
                           ISettingsStore &settings)
    : QObject(&window), m_window(window), m_modes(modes), m_editor(editor), m_settings(settings), m_lines(editor),
      m_marks(m_lines)
{
    m_colours = new CodeColours(editor, m_marks, this);
    connect(&editor, &EditorWidget::textChanged, this, &DataItemView::textChanged);
    connect(&editor, &EditorWidget::viewUpdated, this, &DataItemView::showPlace);
    editor.installEventFilter(this);

    m_place = new QLabel(&window);
    m_place->setObjectName(QStringLiteral("lblRecordPlace"));
    m_count = new QLabel(&window);
    m_count->setObjectName(QStringLiteral("lblProblemCount"));
    window.statusBar()->addPermanentWidget(m_place);
    window.statusBar()->addPermanentWidget(m_count);

    addMenuEntries(viewMenu);
    checkAll();
}

void DataItemView::addMenuEntries(QMenu &viewMenu)
{
    viewMenu.addSeparator()->setObjectName(QStringLiteral("mnuViewSep2"));
    QAction *lineNumbers = addEntry(viewMenu, "mnuViewLineNumbers", tr("Line &Numbers"));
    QAction *colours = addEntry(viewMenu, "mnuViewCodeColours", tr("Code &Colours"));
    for (QAction *action : {lineNumbers, colours})
        action->setCheckable(true);
    lineNumbers->setChecked(m_settings.read(SettingsApplication, ViewSection, LineNumbersKey, QStringLiteral("1")) != u"0");
    colours->setChecked(m_settings.read(SettingsApplication, ViewSection, CodeColoursKey, QStringLiteral("1")) != u"0");
    m_lines.showLineNumbers(lineNumbers->isChecked());
    m_colours->setEnabled(colours->isChecked());
    connect(lineNumbers, &QAction::triggered, this, &DataItemView::mnuViewLineNumbers_Click);
    connect(colours, &QAction::triggered, this, &DataItemView::mnuViewCodeColours_Click);

    QAction *next = addEntry(viewMenu, "mnuViewNextProblem", tr("Ne&xt Problem"));
    next->setShortcut(Qt::Key_F8);
    QAction *previous = addEntry(viewMenu, "mnuViewPreviousProblem", tr("Pre&vious Problem"));
    previous->setShortcut(Qt::SHIFT | Qt::Key_F8);
    connect(next, &QAction::triggered, this, &DataItemView::mnuViewNextProblem_Click);
    connect(previous, &QAction::triggered, this, &DataItemView::mnuViewPreviousProblem_Click);

    // A view switch that stopped at a bad line leaves the text as it was,
    // but it is now read in the other layout.
    if (QAction *record = viewMenu.findChild<QAction *>(QStringLiteral("mnuViewRecord"))) {
        connect(record, &QAction::changed, this, [this] {
            if (isRecordView() != m_marks.isRecordLayout())
                scheduleCheckAll();
        });
    }
}

void DataItemView::mnuViewLineNumbers_Click(bool checked)
{
    m_lines.showLineNumbers(checked);
    m_settings.write(SettingsApplication, ViewSection, LineNumbersKey, checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void DataItemView::mnuViewCodeColours_Click(bool checked)
{
    m_colours->setEnabled(checked);
    m_settings.write(SettingsApplication, ViewSection, CodeColoursKey, checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void DataItemView::mnuViewNextProblem_Click()
{
    m_editor.settleChange();
    m_window.statusBar()->showMessage(m_marks.nextProblem(true));
}

void DataItemView::mnuViewPreviousProblem_Click()
{
    m_editor.settleChange();
    m_window.statusBar()->showMessage(m_marks.nextProblem(false));
}

void DataItemView::textChanged(const TextChange &change)
{
    if (m_checkPending)
        return;
    // Many lines at once (a new text, a large paste, the undo of Clear):
    // reading the whole text in one pass is quicker than line by line.
    if (!m_marks.changed(change, ManyLines)) {
        scheduleCheckAll();
        return;
    }
    m_lines.fitLineNumbers();
    m_colours->invalidate();
    m_placeLine = -1;
    showCount();
}

void DataItemView::scheduleCheckAll()
{
    if (m_checkPending)
        return;
    m_checkPending = true;
    QTimer::singleShot(0, this, &DataItemView::checkAll);
}

void DataItemView::checkAll()
{
    m_checkPending = false;
    m_marks.checkAll(isRecordView());
    m_lines.fitLineNumbers();
    m_colours->invalidate();
    m_colours->update();
    m_placeLine = -1;
    showPlace();
    showCount();
}

void DataItemView::showPlace()
{
    const qint64 line = m_lines.caretLine();
    if (line == m_placeLine || m_checkPending)
        return;
    m_placeLine = line;
    m_place->setText(recordPlaceAt(m_marks, line).text());
}

void DataItemView::showCount()
{
    m_count->setText(ItemMarks::countText(m_marks.problems()));
}

bool DataItemView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_editor) {
        if (event->type() == QEvent::PaletteChange) {
            m_lines.applyColours(m_editor.palette().color(QPalette::Base));
            m_colours->applyColours();
        } else if (event->type() == QEvent::FontChange) {
            // Once the control has taken the new font.
            QTimer::singleShot(0, this, [this] { m_lines.showLineNumbers(m_lines.lineNumbersShown()); });
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zuno
