// Recovery of unsaved changes: what the recovery data keeps of the
// document, and the question at start that offers it back, together with
// the text an unfinished save of the file kept in its backup.
#include "document/EditorShell.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cstring>

namespace zuno {

namespace {

QString recoveryTitle() { return EditorShell::tr("Recover Unsaved Changes"); }

QString documentName(const QString &path)
{
    return path.isEmpty() ? EditorShell::tr("Untitled File") : elidedPath(path);
}

QString timeText(const QDateTime &time)
{
    return QLocale().toString(time, QLocale::LongFormat);
}

bool belongsTo(const RecoveryData &data, const QString &path, const ITextFiles &files)
{
    return data.path == path || (!data.path.isEmpty() && files.isSameFile(data.path, path));
}

} // namespace

std::optional<RecoveryData> EditorShell::recoverySnapshot(QByteArray buffer) const
{
    if (!m.editor.isModified())
        return std::nullopt;
    RecoveryData data;
    data.path = m.editor.fileName();
    data.stamp = m_disk.stamp;
    data.format = m_disk.format;
    data.recordView = isRecordView();
    data.caret = m.editor.selStart();
    const QByteArrayView text = m.editor.utf8Text();
    buffer.resize(text.size());
    std::memcpy(buffer.data(), text.data(), size_t(text.size()));
    data.text = std::move(buffer);
    return data;
}

QString recoveryFailedMessage(const QString &reason)
{
    return EditorShell::tr("The unsaved changes could not be kept for recovery: %1").arg(reason);
}

std::optional<RecoveryData> EditorShell::recoveryBase() const
{
    RecoveryData data;
    data.path = m.editor.fileName();
    data.stamp = m_disk.stamp;
    data.format = m_disk.format;
    data.recordView = isRecordView();
    if (data.path.isEmpty()) {
        if (m.editor.textLength() != 0)
            return std::nullopt;
        data.base = RecoveryBase::Empty;
        return data;
    }
    if (m.editor.isModified() || !m_textIsFile || !m_disk.stamp.valid)
        return std::nullopt;
    data.base = RecoveryBase::File;
    return data;
}

void EditorShell::announceBase()
{
    if (!m_newBase)
        return;
    if (const std::optional<RecoveryData> base = recoveryBase())
        m_newBase(*base);
}

void EditorShell::announceTextBase(const QByteArray &text)
{
    if (!m_newBase)
        return;
    RecoveryData data;
    data.path = m.editor.fileName();
    data.stamp = m_disk.stamp;
    data.format = m_disk.format;
    data.recordView = isRecordView();
    data.text = text;
    m_newBase(data);
}

void EditorShell::recoveryWriteFailed(const QString &reason)
{
    const QString message = recoveryFailedMessage(reason);
    if (std::exchange(m_recoveryFailureTold, true))
        return;
    showWarning(m.messages,
                message + QStringLiteral("\r\n\r\n")
                    + tr("If ZUNOPad ends before they are saved, they are lost. Free some space or save the "
                         "document."),
                recoveryTitle());
}

void EditorShell::offerRecovery(RecoveryStore &store, const QString &argumentText)
{
    const QString path = argumentText.isEmpty() ? QString() : pathFromArgument(argumentText);
    const QList<RecoveryEntry> entries = store.freeEntries();
    if (const QStringList notices = store.takeNotices(); !notices.isEmpty())
        showWarning(m.messages, notices.join(QStringLiteral("\r\n\r\n")), recoveryTitle());
    for (const RecoveryEntry &entry : entries) {
        if (!path.isEmpty() && !belongsTo(entry.data, path, m.files))
            continue;
        // Only the first question that is answered Yes changes the text.
        if (offerEntry(store, entry))
            return;
        if (path.isEmpty())
            break; // with no file named, only the latest is offered
    }
    if (!path.isEmpty())
        offerBackups(path);
}

void EditorShell::offerBackups(const QString &path)
{
    for (const QString &backup : unfinishedSaveBackups(path)) {
        if (offerBackup(backup, path))
            return;
    }
}

// Asks about one entry; true when its text is now the document's.
bool EditorShell::offerEntry(RecoveryStore &store, const RecoveryEntry &entry)
{
    std::optional<ClaimedEntry> claimed = store.claim(entry);
    if (!claimed)
        return false; // another editor took it meanwhile
    const RecoveryData &data = entry.data;
    QString question = tr("ZUNOPad ended before the changes to '%1' were saved. They were kept as they were "
                          "at the last change, %2.")
                           .arg(documentName(data.path), timeText(QDateTime::fromMSecsSinceEpoch(data.changedMs)));
    if (data.stamp.valid && m.files.compareWithDisk(data.path, data.stamp) != DiskState::Unchanged)
        question += QStringLiteral("\r\n\r\n") + tr("The file has been changed on disk since then.");
    question += QStringLiteral("\r\n\r\n") + tr("Do you want to recover the unsaved changes?");

    switch (m.messages.show(question, MessageButtons::YesNoCancel, MessageIcon::Warning, recoveryTitle())) {
    case MessageResult::Yes: {
        auto read = store.read(*claimed);
        if (!read.ok()) {
            showWarning(m.messages, tr("The unsaved changes to '%1' could not be read.\r\n\r\n%2")
                                        .arg(documentName(data.path), read.error().message),
                        recoveryTitle());
            return false;
        }
        showRecovered(read.value());
        // The entry is now this document's: it stays until the next write.
        store.adopt(std::move(*claimed));
        return true;
    }
    case MessageResult::No:
        store.discard(std::move(*claimed));
        return false;
    default:
        return false; // asked again at the next start
    }
}

// Asks about the backup of an unfinished save; true when its text is now
// the document's.
bool EditorShell::offerBackup(const QString &backup, const QString &path)
{
    const QString question =
        tr("A save of '%1' did not finish (it began at %2). The text the file had before that save was kept.")
            .arg(elidedPath(path), timeText(QFileInfo(backup).lastModified()))
        + QStringLiteral("\r\n\r\n") + tr("Do you want to recover that text?");
    switch (m.messages.show(question, MessageButtons::YesNoCancel, MessageIcon::Warning, recoveryTitle())) {
    case MessageResult::Yes: {
        auto read = m.files.read(backup);
        if (!read.ok()) {
            showWarning(m.messages,
                        tr("The file '%1' could not be read.\r\n\r\n%2").arg(elidedPath(backup), read.error().message),
                        recoveryTitle());
            return false;
        }
        RecoveryData data;
        data.path = path;
        data.format = read.value().format;
        // The file as it is now is what a save replaces.
        data.stamp = m.files.stamp(path);
        data.text = read.value().text;
        showRecovered(data);
        m_recoveredBackup = backup;
        return true;
    }
    case MessageResult::No:
        QFile::remove(backup);
        return false;
    default:
        return false;
    }
}

void EditorShell::showRecovered(const RecoveryData &data)
{
    m.editor.setUtf8Text(data.text);
    m.editor.setFileName(data.path);
    m_disk = DiskFile{data.format, data.stamp};
    if (data.recordView)
        showRecordView();
    else
        showListView();
    m.window.setCaption(data.path.isEmpty() ? editorTitle() : fileTitleOf(data.path) + captionSuffix());
    fitWindowToText();
    m.editor.setSelStart(data.caret);
    m.editor.setModified(true);
    m_textIsFile = false;
    announceTextBase(data.text);
}

void EditorShell::settled()
{
    if (!m_recoveredBackup.isEmpty()) {
        QFile::remove(m_recoveredBackup);
        m_recoveredBackup.clear();
    }
    if (m_settled)
        m_settled();
    announceBase();
}

} // namespace zuno
