#include "edit/modTextEditor.h"

namespace zuno {

void EditCut(IEditControl &editor, IClipboard &clipboard)
{
    clipboard.clear();
    clipboard.setText(editor.selText());
    // With nothing selected this leaves the text alone.
    if (editor.selLength() > 0)
        editor.setSelText(QString());
}

void EditCopy(IEditControl &editor, IClipboard &clipboard)
{
    clipboard.clear();
    clipboard.setText(editor.selText());
}

void EditPaste(IEditControl &editor, IClipboard &clipboard)
{
    const QString text = clipboard.text();
    // Nothing to insert and nothing to delete: no edit at all.
    if (text.isEmpty() && editor.selLength() == 0)
        return;
    editor.setSelText(text);
}

void EditClear(IEditControl &editor)
{
    // Deleting the whole text as a selection keeps the undo history, so
    // Undo brings the document back; writing the text anew would wipe it.
    editor.beginCompoundEdit();
    editor.setSelStart(0);
    editor.setSelLength(editor.textLength());
    const bool removes = editor.selLength() > 0;
    if (removes)
        editor.setSelText(QString());
    editor.endCompoundEdit();
    // Clearing counts as a change even when the document was already empty.
    // A text removed is a change of its own, which Undo takes back to the
    // saved text; marking it again would lose that way back.
    if (!removes)
        editor.setModified(true);
}

void EditSelectAll(IEditControl &editor)
{
    editor.setSelStart(0);
    editor.setSelLength(editor.textLength());
}

void EditUndo(IEditControl &editor)
{
    editor.undo();
}

} // namespace zuno
