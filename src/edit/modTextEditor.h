#pragma once
// The Edit menu's text and clipboard commands. Each works only through the
// edit control's text and selection and the clipboard, and keeps nothing
// between calls.
#include "platform/Clipboard.h"
#include "platform/EditControl.h"

namespace zuno {

// Puts the selection on the clipboard (an empty selection empties the
// clipboard) and deletes it.
void EditCut(IEditControl &editor, IClipboard &clipboard);
// Puts the selection on the clipboard; the editor is unchanged.
void EditCopy(IEditControl &editor, IClipboard &clipboard);
// Replaces the selection with the clipboard's text exactly as it is (no
// upper-casing, no line-end conversion); no text replaces it with nothing.
void EditPaste(IEditControl &editor, IClipboard &clipboard);
// Empties the whole document, whatever is selected, without asking. One
// edit that Undo takes back; sets the modified flag.
void EditClear(IEditControl &editor);
// Selects the whole text ("\r\n" counting two characters).
void EditSelectAll(IEditControl &editor);
// The editor's own undo, as Ctrl+Z typed in it.
void EditUndo(IEditControl &editor);

} // namespace zuno
