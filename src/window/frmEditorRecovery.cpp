// The main window's part in keeping unsaved changes: every change of the
// text reaches the recovery schedule, a save or a discard removes the data,
// a termination signal or the end of the session writes it at once.
#include "window/frmEditor.h"

#include "recovery/DocumentRecovery.h"

#include <QSessionManager>
#include <QStatusBar>

#include <unistd.h>

namespace zuno {

void frmEditor::setUpRecovery()
{
    m_recoveryStore = std::make_unique<RecoveryStore>(defaultRecoveryFolder());
    m_recovery = std::make_unique<DocumentRecovery>(*m_recoveryStore,
                                                    [this](QByteArray buffer) { return m_shell->recoverySnapshot(std::move(buffer)); });
    m_recovery->setCaretSource([this] { return rtbEditor->selStart(); });
    // Each edit goes to the journal with the bytes it put in, read from the
    // control where they lie; a whole new text waits for its base.
    connect(rtbEditor, &EditorWidget::textChanged, m_recovery.get(), [this](const TextChange &change) {
        if (change.wholeText) {
            m_recovery->wholeTextReplaced();
            return;
        }
        QByteArray inserted;
        try {
            inserted = rtbEditor->utf8Bytes(change.position, change.insertedBytes);
        } catch (const std::bad_alloc &) {
            m_recovery->noteChange(); // a whole copy once memory allows
            return;
        }
        m_recovery->edited(change.position, change.removedBytes, std::move(inserted));
    });
    connect(rtbEditor, &EditorWidget::modifiedChanged, m_recovery.get(),
            [this](bool modified) { m_recovery->setModified(modified); });
    m_shell->setOnSettled([this] { m_recovery->settle(); });
    m_shell->setOnNewBase([this](const RecoveryData &base) { m_recovery->newBase(base); });
    connect(m_recovery.get(), &DocumentRecovery::writeFailed, this, [this](const QString &reason) {
        statusBar()->showMessage(recoveryFailedMessage(reason));
        m_shell->recoveryWriteFailed(reason);
    });
}

void frmEditor::endOnSignal(int signalNumber)
{
    m_recovery->writeNow(4000);
    // No question and no event loop: the data is on disk.
    ::_exit(128 + signalNumber);
}

void frmEditor::commitSessionData(QSessionManager &manager)
{
    m_recovery->writeNow(4000);
    if (!manager.allowsInteraction())
        return;
    const bool goOn = m_shell->saveChanges();
    manager.release();
    if (!goOn) {
        manager.cancel();
        return;
    }
    // No in the prompt: the changes are not to be kept.
    if (rtbEditor->isModified())
        m_recovery->decline();
}

} // namespace zuno
