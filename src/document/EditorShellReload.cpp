// File > Reload: the document's file read again from disk, in the view the
// document was shown in, with the caret where it stood. Unsaved changes go
// only once the user agrees. Also the question before a save writes over a
// file that changed on disk since it was read, and the Record text read
// back from a file written from it.
#include "document/EditorShell.h"

#include "document/RecordViewSave.h"
#include "format/ConversionMessages.h"

#include <algorithm>

namespace zuno {

QString changedOnDiskQuestion(const QString &path)
{
    return EditorShell::tr("The file '%1' has been changed on disk since it was opened.\r\n\r\n"
                           "Overwrite it with the text in the editor?")
        .arg(path);
}

QString reloadQuestion(const QString &path)
{
    return EditorShell::tr("The text in '%1' has changed.\r\n\r\n"
                           "Discard the changes and reload the file from disk?")
        .arg(path);
}

QString heldElsewhereMessage(const QString &path)
{
    return EditorShell::tr("The file '%1' is open in another ZUNOPad window, which cannot be brought forward "
                           "(there is no session bus).\r\n\r\nIt is opened here read-only.")
        .arg(path);
}

std::optional<bool> EditorShell::mayOpenHere(const QString &path)
{
    if (!m_peers)
        return false;
    switch (m_peers->bringForwardHolder(path)) {
    case HeldElsewhere::BroughtForward:
        return std::nullopt;
    case HeldElsewhere::Unreachable:
        return true;
    case HeldElsewhere::No:
        break;
    }
    return false;
}

void EditorShell::showHeld(const QString &path, bool readOnly)
{
    m.editor.setReadOnly(readOnly);
    if (readOnly)
        showWarning(m.messages, heldElsewhereMessage(path), heldElsewhereTitle());
}

DiskState EditorShell::diskState() const
{
    if (m.editor.fileName().isEmpty())
        return DiskState::Unchanged;
    return m.files.compareWithDisk(m.editor.fileName(), m_disk.stamp);
}

bool EditorShell::reloadFile()
{
    const QString path = m.editor.fileName();
    if (path.isEmpty())
        return false;
    if (m.editor.isModified()
        && m.messages.show(reloadQuestion(path), MessageButtons::YesNo, MessageIcon::Warning, reloadTitle())
               != MessageResult::Yes)
        return false;
    const bool record = isRecordView();
    const qint64 caret = m.editor.selStart();
    if (!openFile(path))
        return false;
    if (record)
        viewRecord();
    m.editor.setSelStart(std::min(caret, m.editor.textLength()));
    return true;
}

bool EditorShell::changedOnDisk(const QString &path) const
{
    // Only the document's own file was read or written by it; any other
    // existing file has been confirmed in the Save As dialog. A file that
    // has disappeared is simply written again.
    const QString own = m.editor.fileName();
    return m_disk.stamp.valid && m.files.isSameFile(path, own)
        && m.files.compareWithDisk(own, m_disk.stamp) == DiskState::Changed;
}

bool EditorShell::mayWriteOver(const QString &path)
{
    return !changedOnDisk(path)
        || m.messages.show(changedOnDiskQuestion(path), MessageButtons::YesNo, MessageIcon::Warning,
                           changedOnDiskTitle())
        == MessageResult::Yes;
}

std::optional<QByteArray> EditorShell::recordViewAfterSave(const QString &path, std::optional<QByteArray> reread)
{
    BusyPointer busy(m.window);
    // The List text written, as the file now holds it (read where it lies),
    // or converted again when the file cannot be read back.
    TextFileContent list;
    if (reread) {
        list.text = std::move(*reread);
    } else if (auto inPlace = m.files.readInPlace(path); inPlace.ok()) {
        list = std::move(inPlace).value();
    } else if (auto converted = convertToListLayout(m.editor.utf8Text()); converted.ok()) {
        list.text = std::move(converted).value();
    } else {
        return std::nullopt;
    }
    auto record = recordLayoutUnlessShown(list.text, m.editor.utf8Text());
    if (record.ok())
        return std::move(record).value();
    // The saved text cannot be shown as records: show it as it is and let
    // the View menu say so.
    showWarning(m.messages, conversionWarning(record.error()), conversionWarningTitle());
    showListView();
    // A text mapped from the file is copied before the mapping goes.
    return list.storage ? QByteArray(list.text.constData(), list.text.size()) : list.text;
}

} // namespace zuno
