// File > Print.
#include "editor/frmEditor.h"
#include "platform/qt/QtPrinter.h"
#include "print/modPrint.h"

namespace zuno {

void frmEditor::mnuFilePrint_Click()
{
    QtPrinter printer;
    PrintEditorText(*rtbEditor, rtbEditor->font(), 1400, 1400, 1400, 1400, {printer, messages(), *this});
}

} // namespace zuno
