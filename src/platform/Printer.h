#pragma once
// The printer as the program sees it: one print job at a time on the
// system's default printer, measured in twips (1/1440 inch) except for the
// two physical offsets, which the printer reports in device pixels.
// QtPrinter (QPrinter) is the real one; FakePrinter the double used by the
// logic tests.
#include "Result.h"

#include "text/TextLines.h"

#include <QByteArrayView>
#include <QFont>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace zuno {

// A rectangle in twips given by its four edges (right and bottom exclusive),
// as the printer's formatter takes it.
struct TwipsRect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;

    qint64 width() const { return qint64(right) - left; }
    qint64 height() const { return qint64(bottom) - top; }
    bool operator==(const TwipsRect &) const = default;
};

// Why a print job could not be opened or completed: the platform's
// description of the failure, ready to be shown to the user.
struct PrinterFailure {
    QString description;
};

class IPrinter {
public:
    virtual ~IPrinter() = default;

    // Opens a print job on the system's default printer, with the printer's
    // default paper, orientation and resolution; the job has one empty page,
    // the current page. `documentName` is what the print service shows for
    // the job. Fails when there is no default printer, the job cannot be
    // opened or one is open already.
    virtual Result<void, PrinterFailure> startJob(const QString &documentName) = 0;

    // The rest needs an open job. Only the end of the job can fail: the pages
    // reach the printer then. Without an open job the measurements are 0,
    // renderRange draws nothing and newPage does nothing.

    // Distance from the sheet's top-left corner to the printable area's
    // top-left corner, in device pixels.
    virtual int physicalOffsetX() const = 0;
    virtual int physicalOffsetY() const = 0;
    // A length in device pixels as twips, at the printer's resolution.
    virtual double pixelsToTwipsX(double pixels) const = 0;
    virtual double pixelsToTwipsY(double pixels) const = 0;
    // The whole sheet, in twips.
    virtual double sheetWidth() const = 0;
    virtual double sheetHeight() const = 0;

    // Lays out `text` (UTF-8, lines separated by "\r\n") in `font` from the
    // byte `from` into `drawing`, a rectangle relative to the
    // printable area's top-left corner, breaking lines that are wider than
    // the rectangle (at spaces where possible), and draws on the current
    // page every line that fits whole. Returns the byte of the first
    // character not drawn, or the text's length when all of it was drawn.
    // Returns `from` when not even one line fits (a rectangle too small for
    // a character).
    virtual qint64 renderRange(QByteArrayView text, const QFont &font, qint64 from, const TwipsRect &drawing) = 0;

    // Starts a new page, which becomes the current page.
    virtual void newPage() = 0;
    // Ends the document and hands the job to the printer. Fails when the
    // printer does not take it or no job is open.
    virtual Result<void, PrinterFailure> endJob() = 0;

    // Drops what the formatting of renderRange keeps between calls. Never
    // fails; harmless when nothing is kept.
    virtual void releaseLayout() = 0;
    // Cancels the open job, if any: nothing of it reaches the printer. Never
    // fails.
    virtual void abortJob() = 0;
};

} // namespace zuno
