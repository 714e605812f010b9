#pragma once
// What the document's recovery hears of the edit control: each change of
// the text as an edit for the journal, with the bytes it put in read from
// the control where they lie (a cost proportional to the edit); a whole new
// text as the end of the old base. And whether a saved text reads back from
// its file as it is, so that the file can serve as the base.

#include "platform/EditControl.h"
#include "textfile/TextFileTypes.h"

namespace zuno {

class DocumentRecovery;
class EditorShell;

// The recovery hears where the caret is, when the document settles and
// each new base of its text.
void attachRecovery(DocumentRecovery &recovery, EditorShell &shell, const IEditControl &editor);
void feedRecovery(DocumentRecovery &recovery, const IEditControl &editor, const TextChange &change);

// Whether a file written from `text` in `format` is read back as the same
// text: its bytes are the text's, and reading does not take it for an LF
// file or take a byte-order mark off.
bool readsBackAsItIs(QByteArrayView text, const TextFileFormat &format);

} // namespace zuno
