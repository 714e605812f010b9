#pragma once
// frmGoToLine: the modal dialog that asks for a line number. One dialog per
// main window, created on first use and then only hidden and shown again;
// its entry is its only state.
#include "edit/GoToLineDialog.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zuno {

class frmGoToLine : public QDialog, public IGoToLineDialog {
    Q_OBJECT
public:
    // `owner` is the main window: the dialog is centred over it when first
    // shown and goes with it when it is destroyed.
    explicit frmGoToLine(QWidget *owner);

    // The dialog kept in `holder`, created over `owner` when there is none.
    static frmGoToLine &instance(QPointer<QDialog> &holder, QWidget *owner);

    GoToLineOutcome showModal() override;
    QString entry() const override;
    void setEntry(const QString &entry) override;

    // Nothing cancels the dialog but its Cancel button and its close box:
    // Escape is not bound.
    void reject() override {}

    QLabel *lblGoToLine = nullptr;
    QLineEdit *txtGoToLine = nullptr;
    QPushButton *cmdGoToOK = nullptr;
    QPushButton *cmdGoToCancel = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void cmdGoToOK_Click();
    void cmdGoToCancel_Click();
};

} // namespace zuno
