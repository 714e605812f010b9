#include "items/DataItemView.h"

#include "platform/LargeBlocks.h"

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
#include <QToolTip>
#include <QHelpEvent>

namespace zuno {

namespace {

// An insertion of more lines than this is checked with the whole text.
constexpr qint64 ManyLines = 20000;
// A text up to this size is checked whole on the window's thread (a few
// milliseconds), a larger one off it.
constexpr qint64 CheckedAtOnce = qint64(4) << 20;
// A check that edits stopped starts again once they pause this long.
constexpr int CheckAgainMs = 150;

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
    : QObject(&window), m_window(window), m_modes(modes), m_editor(editor), m_settings(settings),
      m_lines(editor, *this, [this](qint64 line) { return m_marks.markAt(line); }),
      m_marks(m_lines),
      m_records(&m_lines)
{
    m_colours = new CodeColours(editor, m_marks, this);
    m_check = new WholeTextCheck([this](WholeTextCheck::Result &result) { checked(result); }, this);
    m_checkAgain = new QTimer(this);
    m_checkAgain->setSingleShot(true);
    m_checkAgain->setInterval(CheckAgainMs);
    connect(m_checkAgain, &QTimer::timeout, this, &DataItemView::checkAll);
    connect(&editor, &EditorWidget::textAboutToChange, this, &DataItemView::textAboutToChange);
    connect(&editor, &EditorWidget::textChanged, this, &DataItemView::textChanged);
    connect(&editor, &EditorWidget::viewUpdated, this, &DataItemView::showPlace);
    editor.installEventFilter(this);
    editor.viewport()->installEventFilter(this);

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

void DataItemView::mnuViewNextProblem_Click() { goToProblem(true); }
void DataItemView::mnuViewPreviousProblem_Click() { goToProblem(false); }

void DataItemView::goToProblem(bool forward)
{
    m_editor.settleChange();
    const QString message = m_marks.nextProblem(forward);
    m_placeLine = -1;
    showPlace();
    // Also "No problems", which goes once the caret moves.
    showProblem(message);
}

void DataItemView::showProblem(const QString &message)
{
    QStatusBar *bar = m_window.statusBar();
    if (message.isEmpty()) {
        // Only a message of this view's own goes.
        if (!m_problemShown.isEmpty() && bar->currentMessage() == m_problemShown)
            bar->clearMessage();
    } else {
        bar->showMessage(message);
    }
    m_problemShown = message;
    bar->setToolTip(message);
}

void DataItemView::showProblemAtCaret(qint64 line)
{
    showProblem(m_marks.markAt(line) == LineMark::None ? QString() : m_marks.describe(line));
}

bool DataItemView::showMarginTip(QEvent *event)
{
    const QPoint at = static_cast<QHelpEvent *>(event)->pos();
    const qint64 line = m_lines.marginLineAt(at.x(), at.y());
    const QString message = line < 0 || m_marks.markAt(line) == LineMark::None ? QString() : m_marks.describe(line);
    if (message.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return false;
    }
    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), message, m_editor.viewport());
    return true;
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
    if (m_records.changed(m_marks, change))
        emit recordsChanged(false);
    m_lines.fitLineNumbers();
    m_colours->textChanged(change);
    m_placeLine = -1;
    showCount();
    emit problemsChanged();
}

void DataItemView::scheduleCheckAll()
{
    // A check under way reads a text or a layout no longer wanted.
    const bool stopped = m_check->stop();
    if (m_checkPending && !stopped)
        return;
    m_checkPending = true;
    QTimer::singleShot(0, this, &DataItemView::checkAll);
}

void DataItemView::textAboutToChange()
{
    if (m_check->stop())
        m_checkAgain->start();
}

void DataItemView::checkAll()
{
    m_checkPending = true;
    m_checkAgain->stop();
    m_editor.settleChange();
    const QByteArrayView text = m_lines.wholeText();
    if (text.size() > CheckedAtOnce) {
        m_check->start(text, isRecordView(), m_editor.pinText());
        return;
    }
    WholeTextCheck::Result result = WholeTextCheck::run(text, isRecordView());
    checked(result);
}

void DataItemView::checked(WholeTextCheck::Result &result)
{
    m_checkPending = false;
    m_marks.applyAll(result.recordLayout, result.problems);
    m_records.adopt(std::move(result.records));
    // The records took what they could of the memory a file's loading
    // left free; the rest goes back to the system.
    releaseFreedBlocksAfterLoading();
    m_lines.fitLineNumbers();
    m_colours->invalidate();
    m_colours->update();
    m_placeLine = -1;
    showPlace();
    showCount();
    emit recordsChanged(true);
    emit problemsChanged();
}

void DataItemView::showPlace()
{
    const qint64 line = m_lines.caretLine();
    if (line == m_placeLine || m_checkPending)
        return;
    m_placeLine = line;
    m_place->setText(recordPlaceAt(m_marks, line).text());
    emit caretMoved(line);
    showProblemAtCaret(line);
}

void DataItemView::showCount()
{
    m_count->setText(ItemMarks::countText(m_marks.problems()));
}

bool DataItemView::eventFilter(QObject *watched, QEvent *event)
{
    // The type first: while the control is taken down, its viewport's
    // events come to a widget that is no longer a scroll area.
    if (event->type() == QEvent::ToolTip && watched == m_editor.viewport())
        return showMarginTip(event);
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
