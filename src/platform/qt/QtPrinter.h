#pragma once
// The printer on QPrinter. A job opens on the system's default printer
// (QPrinterInfo::defaultPrinter(), checked explicitly: QPrinter itself would
// fall back to another printer or to a PDF file) with its default paper,
// orientation and resolution.
//
// The pages are laid out as renderRange is called, a piece of a line at a
// time (LineBreaker) in the given font at the printer's resolution, and are
// drawn onto the printer when the job ends: a job that fails or is
// cancelled before its end leaves nothing at the printer, which QPrinter
// could not promise once drawing has begun.
#include "platform/Printer.h"

#include <QCoreApplication>

#include <QList>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>

class QPrinter;

namespace zuno {

class QtPrinter : public IPrinter {
    Q_DECLARE_TR_FUNCTIONS(QtPrinter)

public:
    // Makes the printer of a new job, or says why there is none.
    using PrinterFactory = std::function<Result<std::unique_ptr<QPrinter>, PrinterFailure>()>;

    // Jobs go to the system's default printer.
    QtPrinter();
    // Jobs go to the printer that `factory` makes (the tests print to PDF
    // files this way).
    explicit QtPrinter(PrinterFactory factory);
    // Cancels a job that is still open.
    ~QtPrinter() override;
    QtPrinter(const QtPrinter &) = delete;
    QtPrinter &operator=(const QtPrinter &) = delete;

    // The system's default printer, set up for a job; fails when there is
    // no default printer or it cannot be used.
    static Result<std::unique_ptr<QPrinter>, PrinterFailure> defaultPrinter();
    static QString noDefaultPrinterMessage();

    Result<void, PrinterFailure> startJob(const QString &documentName) override;
    int physicalOffsetX() const override;
    int physicalOffsetY() const override;
    double pixelsToTwipsX(double pixels) const override;
    double pixelsToTwipsY(double pixels) const override;
    double sheetWidth() const override;
    double sheetHeight() const override;
    qint64 renderRange(QByteArrayView text, const QFont &font, qint64 from, const TwipsRect &drawing) override;
    void newPage() override;
    Result<void, PrinterFailure> endJob() override;
    void releaseLayout() override;
    void abortJob() override;

    // A line laid out on a page: its text and its box in device pixels,
    // relative to the printable area's top-left corner.
    struct PlacedLine {
        QString text;
        QRectF box;
    };
    // The pages of the open job, or of the last one ended.
    QList<QList<PlacedLine>> pages() const;
    // The printer of the open job or of the last one; null before the first.
    const QPrinter *printer() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace zuno
