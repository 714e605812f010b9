// The main window's part in keeping unsaved changes: every change of the text reaches the recovery
// journal, a save or a discard removes the data, a signal or the session's end writes it at once.
#include "window/frmEditor.h"

#include "document/RecoveryFeed.h"
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
    attachRecovery(*m_recovery, *m_shell, *rtbEditor);
    connect(rtbEditor, &EditorWidget::textChanged, m_recovery.get(),
            [this](const TextChange &change) { feedRecovery(*m_recovery, *rtbEditor, change); });
    connect(rtbEditor, &EditorWidget::modifiedChanged, m_recovery.get(), &DocumentRecovery::setModified);
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
