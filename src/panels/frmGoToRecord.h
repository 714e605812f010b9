#pragma once
// frmGoToRecord: finds a record by its AC value ("1003") or part of its
// name ("RIGHT EDGE") and lists the matches as they are typed; Enter goes
// to the chosen one, or the first. When nothing matches it says so and
// stays open. Escape and Cancel close it. One dialog per main window,
// shown again with its last text selected.
#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace zuno {

class RecordIndex;
class RecordMatchesModel;

class frmGoToRecord : public QDialog {
    Q_OBJECT
public:
    // `goTo` puts the caret on a line of the control.
    frmGoToRecord(const RecordIndex &index, std::function<void(qint64 line)> goTo, QWidget *owner);

    // Shows the dialog (window-modal) with the matches of its text in the
    // index as it stands now.
    void showFor();
    // The index was read again or its entries changed: the matches are
    // looked for again (at once where they are shown).
    void indexChanged();

    QLabel *lblGRRecord = nullptr;
    QLineEdit *txtGRRecord = nullptr;
    QListView *lstGRMatches = nullptr;
    QLabel *lblGRStatus = nullptr;
    QPushButton *cmdGRGo = nullptr;
    QPushButton *cmdGRCancel = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void find();
    void cmdGRGo_Click();

    std::function<void(qint64)> m_goTo;
    RecordMatchesModel *m_matches = nullptr;
};

} // namespace zuno
