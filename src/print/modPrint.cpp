#include "print/modPrint.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace zuno {

namespace {

qint32 clampToInt32(qint64 value)
{
    return qint32(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

} // namespace

qint64 wholeTwips(double twips)
{
    // Far beyond any sheet; keeps the conversion defined for absurd input.
    constexpr double limit = 1e15;
    if (std::isnan(twips))
        return 0;
    return qint64(std::llround(std::clamp(twips, -limit, limit)));
}

TwipsRect computeDrawingRectangle(qint32 left, qint32 top, qint32 right, qint32 bottom, double sheetWidth,
                                  double sheetHeight, qint64 offsetX, qint64 offsetY)
{
    TwipsRect drawing;
    drawing.left = clampToInt32(qint64(left) - offsetX);
    drawing.top = clampToInt32(qint64(top) - offsetY);
    drawing.right = clampToInt32(wholeTwips(sheetWidth) - right - offsetX);
    drawing.bottom = clampToInt32(wholeTwips(sheetHeight) - bottom - offsetY);
    return drawing;
}

QString printDocumentName(const QString &fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    return name.isEmpty() ? QCoreApplication::translate("modPrint", "Untitled") : name;
}

QString printNoRoomMessage()
{
    return QCoreApplication::translate(
        "modPrint",
        "The document cannot be printed: the margins leave no room for the text on the printer's paper.");
}

namespace {

// The job from its start to its end; any failure stops it where it happens.
Result<void, PrinterFailure> printJob(IPrinter &printer, IEditControl &editor, const QFont &font, qint32 left,
                                      qint32 top, qint32 right, qint32 bottom)
{
    if (Result<void, PrinterFailure> started = printer.startJob(printDocumentName(editor.fileName())); !started.ok())
        return started;

    // Asked one after the other, in this order.
    const qint64 offsetX = wholeTwips(printer.pixelsToTwipsX(printer.physicalOffsetX()));
    const qint64 offsetY = wholeTwips(printer.pixelsToTwipsY(printer.physicalOffsetY()));
    const double sheetWidth = printer.sheetWidth();
    const double sheetHeight = printer.sheetHeight();
    const TwipsRect drawing =
        computeDrawingRectangle(left, top, right, bottom, sheetWidth, sheetHeight, offsetX, offsetY);

    // The control's own bytes, read in place: the text is never copied,
    // and stays where it lies until the job ends.
    const std::shared_ptr<const void> pin = editor.pinText();
    const QByteArrayView text = editor.utf8Text();
    const qint64 textLength = text.size();
    qint64 from = 0;
    for (;;) {
        const qint64 next = printer.renderRange(text, font, from, drawing);
        if (next >= textLength)
            break;
        // Nothing fitted on this page: every further page would be the
        // same, so the job ends here.
        if (next <= from)
            return PrinterFailure{printNoRoomMessage()};
        from = next;
        printer.newPage();
    }
    return printer.endJob();
}

} // namespace

void PrintEditorText(IEditControl &editor, const QFont &font, qint32 left, qint32 top, qint32 right,
                     qint32 bottom, const PrintServices &services)
{
    IPrinter &printer = services.printer;
    Result<void, PrinterFailure> printed;
    {
        BusyPointer busy(services.window);
        // Every failure of the printer comes back as a result. Memory is the
        // exception: a text of many megabytes is laid out whole before the
        // job ends, and Qt's containers can only throw std::bad_alloc when
        // they cannot grow. Caught here, it ends the job with a message
        // instead of taking the program, and the user's unsaved text, down.
        try {
            printed = printJob(printer, editor, font, left, top, right, bottom);
        } catch (const std::bad_alloc &) {
            printed = PrinterFailure{
                QCoreApplication::translate("modPrint", "There is not enough memory to print the document.")};
        }
        if (!printed.ok())
            printer.abortJob();
        printer.releaseLayout();
    }
    if (printed.ok())
        return;
    QString failure = printed.error().description;
    if (failure.isEmpty())
        failure = QCoreApplication::translate("modPrint", "The document could not be printed.");
    services.messages.show(failure, MessageButtons::Ok, MessageIcon::None);
}

} // namespace zuno
