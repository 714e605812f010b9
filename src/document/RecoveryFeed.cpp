#include "document/RecoveryFeed.h"

#include "document/EditorShell.h"
#include "recovery/DocumentRecovery.h"

#include <new>

namespace zuno {

void attachRecovery(DocumentRecovery &recovery, EditorShell &shell, const IEditControl &editor)
{
    recovery.setCaretSource([&editor] { return editor.selStart(); });
    shell.setOnSettled([&recovery] { recovery.settle(); });
    shell.setOnNewBase([&recovery](const RecoveryData &base) { recovery.newBase(base); });
}

void feedRecovery(DocumentRecovery &recovery, const IEditControl &editor, const TextChange &change)
{
    if (change.wholeText) {
        recovery.wholeTextReplaced();
        return;
    }
    QByteArray inserted;
    try {
        inserted = editor.utf8Bytes(change.position, change.insertedBytes);
    } catch (const std::bad_alloc &) {
        recovery.noteChange(); // a whole copy, once memory allows
        return;
    }
    recovery.edited(change.position, change.removedBytes, std::move(inserted));
}

bool readsBackAsItIs(QByteArrayView text, const TextFileFormat &format)
{
    if (format.encoding == TextEncoding::Latin1)
        return false;
    if (format.encoding == TextEncoding::Utf8 && text.startsWith("\xEF\xBB\xBF"))
        return false;
    // A text is written with "\n" only when each of its "\r\n" comes back
    // as one (no lone "\n", no "\r" before a "\r\n"); `format` is the one
    // the file was written in.
    if (format.lineEnding == LineEnding::Lf)
        return true;
    return text.indexOf("\r\n") >= 0 || !text.contains('\n');
}

} // namespace zuno
