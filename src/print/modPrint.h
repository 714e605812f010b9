#pragma once
// modPrint: prints the editor's content on the system's default printer,
// page after page, in the editor's font, between fixed margins. No dialog:
// the printer's default paper, orientation and resolution are used.
#include "platform/EditControl.h"
#include "platform/MainWindow.h"
#include "platform/MessageBox.h"
#include "platform/Printer.h"

#include <QFont>
#include <QString>

namespace zuno {

// What printing works with besides the edit control.
struct PrintServices {
    IPrinter &printer;
    IMessageBox &messages;
    IMainWindow &window; // shows the busy pointer while the pages are laid out
};

// Where the text goes on every page, relative to the printable area's
// top-left corner: the rectangle the margins (measured from the sheet's
// edges) leave on the sheet, less the physical offsets of the printable
// area. Lengths in twips; sizes are rounded to whole twips, and edges that
// would overflow 32 bits are held at the limit.
TwipsRect computeDrawingRectangle(qint32 left, qint32 top, qint32 right, qint32 bottom, double sheetWidth,
                                  double sheetHeight, qint64 offsetX, qint64 offsetY);

// A length in twips rounded to a whole number of twips.
qint64 wholeTwips(double twips);

// The name the print service shows for the job: the file's name without its
// folder, or "Untitled" for a document that has never been saved.
QString printDocumentName(const QString &fileName);

// Shown when not one character fits between the margins on the paper.
QString printNoRoomMessage();

// Prints the editor's whole text with the margins left, top, right and
// bottom, in twips from the sheet's edges. Long lines are wrapped at the
// right margin; nothing else is added to the pages. An empty document
// prints one blank page. On any failure the job is cancelled, nothing is
// printed and the failure's description is shown in a message box with no
// icon and the application's title. The text, selection and modified flag
// are never changed.
void PrintEditorText(IEditControl &editor, const QFont &font, qint32 left, qint32 top, qint32 right,
                     qint32 bottom, const PrintServices &services);

} // namespace zuno
