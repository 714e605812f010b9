#pragma once
// What the main window shows of the data items as the text is edited: the
// problem marks (kept current line by line, the whole text checked again on
// a new text or view), the line numbers, the codes coloured by role, the
// record under the caret and the number of problems in the status bar, and
// the View menu's entries for them (F8 and Shift+F8 go to the next and the
// previous problem). The problem of the caret's line stands in the status
// bar, and the whole message in a tooltip there and on the margin's symbol.
#include "items/CodeColours.h"
#include "items/ItemMarks.h"
#include "items/RecordIndex.h"
#include "items/WholeTextCheck.h"
#include "platform/MainWindow.h"
#include "platform/Settings.h"
#include "platform/qt/QtLineMarks.h"

#include <QObject>


class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QTimer;

namespace zuno {

class EditorWidget;

class DataItemView : public QObject {
    Q_OBJECT
public:
    DataItemView(QMainWindow &window, IMainWindow &modes, EditorWidget &editor, QMenu &viewMenu,
                 ISettingsStore &settings);

    const ItemMarks &marks() const { return m_marks; }
    const RecordIndex &records() const { return m_records; }
    // The control's lines, for the panels: the caret, the marks.
    ILineMarks &lines() { return m_lines; }
    // Whether the whole text waits to be checked again.
    bool checkPending() const { return m_checkPending; }

signals:
    // The record index was read afresh (rebuilt) or changed by an edit
    // (RecordIndex::lastChange()).
    void recordsChanged(bool rebuilt);
    // The marks may have changed.
    void problemsChanged();
    // The caret went to another line of the control.
    void caretMoved(qint64 line);

public:

    // Menu handlers.
    void mnuViewLineNumbers_Click(bool checked);
    void mnuViewCodeColours_Click(bool checked);
    void mnuViewNextProblem_Click();
    void mnuViewPreviousProblem_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addMenuEntries(QMenu &viewMenu);
    // Brings the marks up to date for a change of the text.
    void textChanged(const TextChange &change);
    // Once the current events are handled, the whole text is checked.
    void scheduleCheckAll();
    // Checks the whole text: a large one off the window's thread, its
    // marks coming once they are found.
    void checkAll();
    void checked(WholeTextCheck::Result &result);
    // The text is about to change: a check under way is stale; it starts
    // again once the edits pause.
    void textAboutToChange();
    void showPlace();
    void showCount();
    // The problem of the caret's line in the status bar, in full in its
    // tooltip; nothing once the caret stands on a good line.
    void showProblemAtCaret(qint64 line);
    void showProblem(const QString &message);
    void goToProblem(bool forward);
    bool showMarginTip(QEvent *event);
    bool isRecordView() const { return !m_modes.isListViewChecked(); }

    QMainWindow &m_window;
    IMainWindow &m_modes;
    EditorWidget &m_editor;
    ISettingsStore &m_settings;
    QtLineMarks m_lines;
    ItemMarks m_marks;
    RecordIndex m_records;
    CodeColours *m_colours = nullptr;
    WholeTextCheck *m_check = nullptr;
    QTimer *m_checkAgain = nullptr;
    QLabel *m_place = nullptr;
    QLabel *m_count = nullptr;
    bool m_checkPending = false;
    qint64 m_placeLine = -1;
    // The problem message this view put in the status bar, if any.
    QString m_problemShown;
};

} // namespace zuno
