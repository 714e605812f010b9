// The Edit menu's handlers for Undo, Redo, the clipboard commands, Clear, Select
// All and Go To. Each hands rtbEditor to one procedure.
#include "window/frmEditor.h"

#include "edit/frmGoToLine.h"
#include "edit/modGoTo.h"
#include "edit/modTextEditor.h"
#include "platform/qt/QtClipboard.h"

namespace zuno {

void frmEditor::mnuEditUndo_Click() { EditUndo(*rtbEditor); }
void frmEditor::mnuEditRedo_Click() { rtbEditor->redo(); }
void frmEditor::mnuEditCut_Click() { EditCut(*rtbEditor, systemClipboard()); }
void frmEditor::mnuEditCopy_Click() { EditCopy(*rtbEditor, systemClipboard()); }
void frmEditor::mnuEditPaste_Click() { EditPaste(*rtbEditor, systemClipboard()); }
void frmEditor::mnuEditClear_Click() { EditClear(*rtbEditor); }
void frmEditor::mnuEditSelectAll_Click() { EditSelectAll(*rtbEditor); }

void frmEditor::mnuEditGoTo_Click()
{
    GoToLine(*rtbEditor, frmGoToLine::instance(m_frmGoToLine, this), m_messages);
}

} // namespace zuno
