#include "panels/RecordsView.h"

#include "document/EditorShell.h"
#include "items/DataItemView.h"
#include "items/ProblemsModel.h"
#include "items/RecordsModel.h"
#include "panels/frmGoToRecord.h"
#include "platform/qt/EditorWidget.h"
#include "platform/qt/QtFolds.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QTimer>
#include <QVBoxLayout>

namespace zuno {

namespace {

const QString ViewSection = QStringLiteral("View");
const QString RecordsKey = QStringLiteral("RecordsPanel");
const QString ProblemsKey = QStringLiteral("ProblemsPanel");
const QString LayoutKey = QStringLiteral("Panels");
// The problems are listed again this long after the last change, so that
// typing does not wait for a walk over every mark.
constexpr int ProblemsDelayMs = 150;

QListView *makeList(const char *name, const QString &accessibleName, QWidget *parent)
{
    auto *list = new QListView(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setAccessibleName(accessibleName);
    // Rows of one height: the view lays out a million rows without
    // measuring each.
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

} // namespace

RecordsView::RecordsView(QMainWindow &window, DataItemView &items, EditorWidget &editor, ISettingsStore &settings)
    : QObject(&window), m_window(window), m_items(items), m_editor(editor), m_settings(settings)
{
    m_folds = new QtFolds(
        editor,
        [this](qint64 line) { return m_items.records().foldLevelAt(line, m_items.lines().lineCount()); }, this);
    setUpRecords();
    setUpProblems();
    connect(&items, &DataItemView::recordsChanged, this, [this](bool rebuilt) {
        m_recordModel->indexChanged(rebuilt);
        if (m_goTo)
            m_goTo->indexChanged();
        m_folds->refresh();
        if (rebuilt)
            textReadAfresh();
        followCaret(m_caretLine);
    });
    connect(&items, &DataItemView::caretMoved, this, &RecordsView::followCaret);
    restoreLayout();
    window.installEventFilter(this);
}

QDockWidget *RecordsView::makePanel(const char *name, const QString &title, QWidget *content)
{
    auto *dock = new QDockWidget(title, &m_window);
    dock->setObjectName(QString::fromLatin1(name));
    dock->setAccessibleName(title);
    dock->setWidget(content);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
                      | QDockWidget::DockWidgetFloatable);
    // The focus goes into the panel's content when the panel is shown.
    dock->setFocusProxy(content);
    return dock;
}

void RecordsView::setUpRecords()
{
    auto *content = new QWidget;
    m_filter = new QLineEdit(content);
    m_filter->setObjectName(QStringLiteral("txtRecordsFilter"));
    m_filter->setPlaceholderText(tr("Filter"));
    m_filter->setAccessibleName(tr("Filter records"));
    m_filter->setClearButtonEnabled(true);
    m_recordList = makeList("lstRecords", tr("Records"), content);
    m_recordModel = new RecordsModel(m_items.records(), this);
    m_recordList->setModel(m_recordModel);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_filter);
    layout->addWidget(m_recordList);
    content->setFocusProxy(m_filter);

    m_records = makePanel("dckRecords", tr("Records"), content);
    m_window.addDockWidget(Qt::LeftDockWidgetArea, m_records);
    m_records->hide();
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_recordModel->setFilter(text);
        followCaret(m_caretLine);
    });
    // Enter in the filter goes to the first record shown.
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        const QModelIndex current = m_recordList->currentIndex();
        if (m_recordModel->rowCount() > 0)
            jumpTo(m_recordModel->lineOf(current.isValid() ? current.row() : 0));
    });
    connect(m_recordList, &QListView::activated, this,
            [this](const QModelIndex &index) { jumpTo(m_recordModel->lineOf(index.row())); });
    connect(m_recordList, &QListView::clicked, this,
            [this](const QModelIndex &index) { jumpTo(m_recordModel->lineOf(index.row())); });
    connect(m_records, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            followCaret(m_caretLine);
    });
}

void RecordsView::setUpProblems()
{
    m_problemList = makeList("lstProblems", tr("Problems"), nullptr);
    m_problemList->setWordWrap(false);
    m_problemModel = new ProblemsModel(m_items.marks(), m_items.lines(), this);
    m_problemList->setModel(m_problemModel);
    m_problems = makePanel("dckProblems", tr("Problems"), m_problemList);
    m_window.addDockWidget(Qt::BottomDockWidgetArea, m_problems);
    m_problems->hide();
    connect(m_problemList, &QListView::activated, this,
            [this](const QModelIndex &index) { jumpTo(m_problemModel->lineOf(index.row())); });
    connect(m_problemList, &QListView::clicked, this,
            [this](const QModelIndex &index) { jumpTo(m_problemModel->lineOf(index.row())); });
    connect(&m_items, &DataItemView::problemsChanged, this, [this] {
        if (m_problemsPending)
            return;
        m_problemsPending = true;
        QTimer::singleShot(ProblemsDelayMs, this, &RecordsView::refreshProblems);
    });
    connect(m_problems, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            refreshProblems();
    });
    refreshProblems();
}

void RecordsView::refreshProblems()
{
    m_problemsPending = false;
    if (m_problems->isVisible() && !m_items.checkPending())
        m_problemModel->refresh();
    const qint64 count = m_items.marks().problems();
    const QString title = count == 0 ? tr("Problems") : tr("Problems (%1)").arg(count);
    m_problems->setWindowTitle(title);
    m_problems->setAccessibleName(title);
}

void RecordsView::followCaret(qint64 line)
{
    m_caretLine = line;
    if (!m_records->isVisible())
        return;
    const int row = m_recordModel->rowOfLine(line);
    if (row < 0) {
        m_recordList->clearSelection();
        return;
    }
    const QModelIndex index = m_recordModel->index(row);
    if (m_recordList->currentIndex() != index) {
        m_recordList->setCurrentIndex(index);
        m_recordList->scrollTo(index);
    }
}

void RecordsView::jumpTo(qint64 line)
{
    m_items.lines().moveCaretToLine(line);
    m_folds->applyLevels(line, line);
    m_editor.setFocus();
}

void RecordsView::showRecords(bool shown)
{
    m_records->setVisible(shown);
    m_settings.write(SettingsApplication, ViewSection, RecordsKey, shown ? QStringLiteral("1") : QStringLiteral("0"));
    if (shown)
        m_filter->setFocus(Qt::ShortcutFocusReason);
}

void RecordsView::showProblems(bool shown)
{
    m_problems->setVisible(shown);
    m_settings.write(SettingsApplication, ViewSection, ProblemsKey, shown ? QStringLiteral("1") : QStringLiteral("0"));
    if (shown)
        m_problemList->setFocus(Qt::ShortcutFocusReason);
}

int RecordsView::sidePanelsWidth() const
{
    int width = 0;
    for (QDockWidget *panel : {m_records, m_problems}) {
        const Qt::DockWidgetArea area = m_window.dockWidgetArea(panel);
        if (!panel->isHidden() && !panel->isFloating()
            && (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea))
            width += panel->width();
    }
    return width;
}

void RecordsView::goToRecord()
{
    if (!m_goTo)
        m_goTo = new frmGoToRecord(m_items.records(), [this](qint64 line) { jumpTo(line); }, &m_window);
    m_goTo->showFor();
}

void RecordsView::goToNextRecord(bool forward)
{
    const qsizetype at = m_items.records().nextRecord(m_items.lines().caretLine(), forward);
    if (at >= 0)
        jumpTo(m_items.records().entry(at).line);
}

void RecordsView::textReadAfresh()
{
    const bool asRecords = m_items.marks().isRecordLayout();
    const bool converted = asRecords != m_readAsRecords && m_editor.fileName() == m_readFor;
    m_readAsRecords = asRecords;
    m_readFor = m_editor.fileName();
    // Another document, a reload or a large paste starts unfolded.
    if (!converted)
        m_foldedAll = false;
    else if (m_foldedAll)
        m_folds->foldAll();
}

void RecordsView::foldAll(bool fold)
{
    m_foldedAll = fold;
    if (fold)
        m_folds->foldAll();
    else
        m_folds->unfoldAll();
}

void RecordsView::restoreLayout()
{
    const QByteArray layout =
        QByteArray::fromBase64(m_settings.read(SettingsApplication, ViewSection, LayoutKey, QString()).toLatin1());
    if (!layout.isEmpty())
        m_window.restoreState(layout);
    const auto shown = [this](const QString &key) {
        return m_settings.read(SettingsApplication, ViewSection, key, QStringLiteral("0")) == u"1";
    };
    m_records->setVisible(shown(RecordsKey));
    m_problems->setVisible(shown(ProblemsKey));
}

void RecordsView::storeLayout()
{
    // Closed by its own button or from the menu: as it is when the window
    // closes (before the window hides it).
    for (const auto &[panel, key] : {std::pair{m_records, RecordsKey}, std::pair{m_problems, ProblemsKey}})
        m_settings.write(SettingsApplication, ViewSection, key, panel->isHidden() ? QStringLiteral("0") : QStringLiteral("1"));
    m_settings.write(SettingsApplication, ViewSection, LayoutKey, QString::fromLatin1(m_window.saveState().toBase64()));
}

bool RecordsView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::Close)
        storeLayout();
    return QObject::eventFilter(watched, event);
}

} // namespace zuno
