#include "panels/frmGoToRecord.h"

#include "items/RecordsModel.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace zuno {

frmGoToRecord::frmGoToRecord(const RecordIndex &index, std::function<void(qint64)> goTo, QWidget *owner)
    : QDialog(owner), m_goTo(std::move(goTo))
{
    setObjectName(QStringLiteral("frmGoToRecord"));
    setWindowTitle(tr("Go To Record"));
    setWindowModality(Qt::WindowModal);

    lblGRRecord = new QLabel(tr("&Record number or name:"), this);
    lblGRRecord->setObjectName(QStringLiteral("lblGRRecord"));
    txtGRRecord = new QLineEdit(this);
    txtGRRecord->setObjectName(QStringLiteral("txtGRRecord"));
    txtGRRecord->setAccessibleName(tr("Record number or name"));
    lblGRRecord->setBuddy(txtGRRecord);

    m_matches = new RecordMatchesModel(index, this);
    lstGRMatches = new QListView(this);
    lstGRMatches->setObjectName(QStringLiteral("lstGRMatches"));
    lstGRMatches->setAccessibleName(tr("Matching records"));
    lstGRMatches->setUniformItemSizes(true);
    lstGRMatches->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstGRMatches->setModel(m_matches);

    lblGRStatus = new QLabel(this);
    lblGRStatus->setObjectName(QStringLiteral("lblGRStatus"));
    lblGRStatus->setAccessibleName(tr("Matches"));

    auto *buttons = new QDialogButtonBox(this);
    cmdGRGo = buttons->addButton(tr("&Go To"), QDialogButtonBox::AcceptRole);
    cmdGRGo->setObjectName(QStringLiteral("cmdGRGo"));
    cmdGRGo->setDefault(true);
    cmdGRCancel = buttons->addButton(QDialogButtonBox::Cancel);
    cmdGRCancel->setObjectName(QStringLiteral("cmdGRCancel"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblGRRecord);
    layout->addWidget(txtGRRecord);
    layout->addWidget(lstGRMatches, 1);
    layout->addWidget(lblGRStatus);
    layout->addWidget(buttons);
    resize(360, 320);

    connect(txtGRRecord, &QLineEdit::textChanged, this, &frmGoToRecord::find);
    connect(cmdGRGo, &QPushButton::clicked, this, &frmGoToRecord::cmdGRGo_Click);
    connect(cmdGRCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstGRMatches, &QListView::activated, this, &frmGoToRecord::cmdGRGo_Click);
    // Up and Down in the box walk the matches.
    txtGRRecord->installEventFilter(this);
}

void frmGoToRecord::showFor()
{
    find();
    txtGRRecord->selectAll();
    txtGRRecord->setFocus(Qt::OtherFocusReason);
    open();
}

void frmGoToRecord::indexChanged()
{
    m_matches->indexChanged();
    if (isVisible())
        find();
}

void frmGoToRecord::find()
{
    m_matches->find(txtGRRecord->text());
    const int found = m_matches->rowCount();
    if (txtGRRecord->text().trimmed().isEmpty())
        lblGRStatus->setText(tr("Type an AC value or part of a name."));
    else if (found == 0)
        lblGRStatus->setText(tr("No record matches \"%1\".").arg(txtGRRecord->text().trimmed()));
    else
        lblGRStatus->setText(found == 1 ? tr("1 record") : tr("%1 records").arg(found));
    if (found > 0)
        lstGRMatches->setCurrentIndex(m_matches->index(0));
}

void frmGoToRecord::cmdGRGo_Click()
{
    if (m_matches->rowCount() == 0) {
        // Stays open, saying so.
        find();
        txtGRRecord->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QModelIndex chosen = lstGRMatches->currentIndex();
    const qint64 line = m_matches->lineOf(chosen.isValid() ? chosen.row() : 0);
    accept();
    m_goTo(line);
}

bool frmGoToRecord::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtGRRecord && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QCoreApplication::sendEvent(lstGRMatches, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zuno
