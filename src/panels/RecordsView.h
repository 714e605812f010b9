#pragma once
// The records as a structure, beside the text: the records panel (every
// record with its line items, a filter, the record under the caret
// selected), the problems panel (every mark, whole), Go To Record, the next
// and previous record, and folding by record. Both panels are dock
// widgets; whether each is shown, and where, is remembered.
#include <QObject>

class QDockWidget;
class QLabel;
class QLineEdit;
class QListView;
class QMainWindow;

namespace zuno {

class DataItemView;
class EditorWidget;
class ISettingsStore;
class ProblemsModel;
class QtFolds;
class RecordsModel;
class frmGoToRecord;

class RecordsView : public QObject {
    Q_OBJECT
public:
    RecordsView(QMainWindow &window, DataItemView &items, EditorWidget &editor, ISettingsStore &settings);

    QDockWidget *recordsPanel() const { return m_records; }
    QDockWidget *problemsPanel() const { return m_problems; }
    QLineEdit *recordsFilter() const { return m_filter; }
    QListView *recordsList() const { return m_recordList; }
    QListView *problemsList() const { return m_problemList; }
    QtFolds &folds() { return *m_folds; }

    // The View and Edit menus' commands.
    void showRecords(bool shown);
    void showProblems(bool shown);
    void goToRecord();
    void goToNextRecord(bool forward);
    void foldAll(bool fold);

    // Puts the caret at the start of the line, unfolded, and gives the
    // text the focus.
    void jumpTo(qint64 line);

    // The width the panels shown beside the text take from the window.
    int sidePanelsWidth() const;

    // Where the panels stand, kept in the settings.
    void storeLayout();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QDockWidget *makePanel(const char *name, const QString &title, QWidget *content);
    void setUpRecords();
    void setUpProblems();
    void followCaret(qint64 line);
    void refreshProblems();
    void restoreLayout();

    QMainWindow &m_window;
    DataItemView &m_items;
    EditorWidget &m_editor;
    ISettingsStore &m_settings;
    QtFolds *m_folds = nullptr;
    QDockWidget *m_records = nullptr;
    QDockWidget *m_problems = nullptr;
    QLineEdit *m_filter = nullptr;
    QListView *m_recordList = nullptr;
    QListView *m_problemList = nullptr;
    RecordsModel *m_recordModel = nullptr;
    ProblemsModel *m_problemModel = nullptr;
    frmGoToRecord *m_goTo = nullptr;
    qint64 m_caretLine = 0;
    bool m_problemsPending = false;
    // Fold All was the last of Fold All and Unfold All for this document:
    // the text converted to the other view is folded again. The document
    // and layout the records were last read afresh for tell a conversion
    // from another text.
    bool m_foldedAll = false;
    QString m_readFor;
    bool m_readAsRecords = false;
    void textReadAfresh();
};

} // namespace zuno
