// File > Print, in the font chosen for the editor (its zoom aside).
#include "window/frmEditor.h"
#include "platform/qt/QtPrinter.h"
#include "print/modPrint.h"

namespace zuno {

void frmEditor::mnuFilePrint_Click()
{
    QtPrinter printer;
    PrintEditorText(*rtbEditor, chosenFont(m_font), 1400, 1400, 1400, 1400, {printer, messages(), *this});
}

} // namespace zuno
