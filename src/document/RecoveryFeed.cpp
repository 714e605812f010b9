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
    // Most of the text replaced at once is kept as a whole copy.
    constexpr qint64 LargeEditBytes = qint64(1) << 20;
    if (change.insertedBytes >= LargeEditBytes && change.insertedBytes >= editor.textLength() / 4) {
        recovery.largeEdit();
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

namespace {

// Written in Latin-1, a character from U+00C2 to U+00F4 followed by one from
// U+0080 to U+00BF makes bytes that may read as UTF-8; without such a pair
// the bytes are ASCII or no UTF-8 at all, and read as the text they were.
bool latin1MayReadAsUtf8(QByteArrayView text)
{
    for (qsizetype i = text.indexOf('\xC3'); i >= 0 && i + 3 < text.size(); i = text.indexOf('\xC3', i + 1)) {
        const auto lead = uchar(text[i + 1]);
        const auto next = uchar(text[i + 3]);
        if (lead >= 0x82 && lead <= 0xB4 && uchar(text[i + 2]) == 0xC2 && next >= 0x80 && next <= 0xBF)
            return true;
    }
    return false;
}

} // namespace

bool readsBackAsItIs(QByteArrayView text, const TextFileFormat &format)
{
    if (format.encoding == TextEncoding::Latin1 && latin1MayReadAsUtf8(text))
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
