#include "edit/frmGoToLine.h"

#include "platform/qt/DialogLook.h"
#include "platform/qt/ScreenUnits.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <limits>

namespace zuno {

namespace {

// exec() results. A dialog destroyed while shown returns Rejected (0), which
// counts as closed.
constexpr int ResultClosed = QDialog::Rejected;
constexpr int ResultOk = QDialog::Accepted;
constexpr int ResultCancel = 2;

} // namespace

frmGoToLine::frmGoToLine(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                         | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmGoToLine"));
    setWindowTitle(tr("Go To Line"));
    setModal(true);
    setSizeGripEnabled(false);

    lblGoToLine = new QLabel(tr("Line Number:"), this);
    lblGoToLine->setObjectName(QStringLiteral("lblGoToLine"));
    placeTwips(*lblGoToLine, 120, 120, 975, 255);

    txtGoToLine = new QLineEdit(this);
    txtGoToLine->setObjectName(QStringLiteral("txtGoToLine"));
    txtGoToLine->setMaxLength(std::numeric_limits<int>::max());
    placeTwips(*txtGoToLine, 1200, 120, 1215, 285);

    cmdGoToOK = new QPushButton(tr("&OK"), this);
    cmdGoToOK->setObjectName(QStringLiteral("cmdGoToOK"));
    placeTwips(*cmdGoToOK, 120, 480, 1095, 375);
    cmdGoToOK->setDefault(true);

    cmdGoToCancel = new QPushButton(tr("&Cancel"), this);
    cmdGoToCancel->setObjectName(QStringLiteral("cmdGoToCancel"));
    placeTwips(*cmdGoToCancel, 1320, 480, 1095, 375);

    lblGoToLine->setBuddy(txtGoToLine);
    settleDialogLook(*this);
    setFixedSize(dialogPixelsX(*this, 2550), dialogPixelsY(*this, 960));
    setTabOrder(txtGoToLine, cmdGoToOK);
    setTabOrder(cmdGoToOK, cmdGoToCancel);
    txtGoToLine->setFocus(Qt::OtherFocusReason);

    connect(cmdGoToOK, &QPushButton::clicked, this, &frmGoToLine::cmdGoToOK_Click);
    connect(cmdGoToCancel, &QPushButton::clicked, this, &frmGoToLine::cmdGoToCancel_Click);
}

frmGoToLine &frmGoToLine::instance(QPointer<QDialog> &holder, QWidget *owner)
{
    auto *dialog = qobject_cast<frmGoToLine *>(holder.data());
    if (!dialog) {
        dialog = new frmGoToLine(owner);
        holder = dialog;
    }
    return *dialog;
}

GoToLineOutcome frmGoToLine::showModal()
{
    txtGoToLine->setFocus(Qt::OtherFocusReason);
    switch (exec()) {
    case ResultOk:
        return GoToLineOutcome::Ok;
    case ResultCancel:
        return GoToLineOutcome::Cancel;
    default:
        return GoToLineOutcome::Closed;
    }
}

QString frmGoToLine::entry() const
{
    return txtGoToLine->text();
}

void frmGoToLine::setEntry(const QString &entry)
{
    txtGoToLine->setText(entry);
}

void frmGoToLine::cmdGoToOK_Click()
{
    done(ResultOk);
}

void frmGoToLine::cmdGoToCancel_Click()
{
    setEntry(QString());
    done(ResultCancel);
}

void frmGoToLine::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event); // Enter presses the default button
}

void frmGoToLine::closeEvent(QCloseEvent *event)
{
    // The close box ends this use as if the dialog were destroyed: the entry
    // is gone and the next use is centred over the owner again.
    event->accept();
    setEntry(QString());
    setAttribute(Qt::WA_Moved, false);
    if (isVisible())
        done(ResultClosed);
}

void frmGoToLine::showEvent(QShowEvent *event)
{
    // QDialog centres the dialog over its owner on first use; from then on
    // it reopens where it was left.
    QDialog::showEvent(event);
    setAttribute(Qt::WA_Moved, true);
}

} // namespace zuno
