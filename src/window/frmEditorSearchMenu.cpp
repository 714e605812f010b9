// The Edit menu's Find and Replace: each opens a new Find/Replace dialog on
// the editor.
#include "window/frmEditor.h"
#include "search/modFindReplaceRichText.h"

namespace zuno {

void frmEditor::mnuEditFind_Click()
{
    modFindReplaceRichText::ShowFindDialog(*rtbEditor);
}

void frmEditor::mnuEditReplace_Click()
{
    modFindReplaceRichText::ShowReplaceDialog(*rtbEditor);
}

} // namespace zuno
