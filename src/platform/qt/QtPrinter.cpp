#include "platform/qt/QtPrinter.h"

#include "platform/qt/CupsStatus.h"
#include "platform/qt/LineBreaker.h"
#include "platform/qt/ScreenUnits.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextLayout>

#include <algorithm>
#include <optional>

namespace zuno {

namespace {

// Slack for the sums of floating-point line heights, in device pixels.
constexpr double Slack = 1e-3;

// A piece of a line placed on a page: `layout` (one line) drawn with its
// top-left corner at `origin`; `width` is its ink's width.
struct LaidOutLine {
    std::shared_ptr<QTextLayout> layout;
    double width = 0;
    QPointF origin;
};

} // namespace

struct QtPrinter::Impl {
    PrinterFactory factory;
    std::unique_ptr<QPrinter> printer;
    bool jobOpen = false;
    QList<QList<LaidOutLine>> pages;
    // The line breaking kept between renderRange calls.
    std::optional<LineBreaker> breaker;

    bool haveJob() const { return jobOpen && printer; }
    double dpi() const { return printer->resolution(); }
    double toPixels(double twips) const { return twips * dpi() / TwipsPerInch; }
    QString printerName() const
    {
        return printer->printerName().isEmpty() ? printer->outputFileName() : printer->printerName();
    }
    LineBreaker &breakerFor(QByteArrayView text, const QFont &font, double width)
    {
        if (!breaker || !breaker->serves(text, font, width))
            breaker.emplace(text, font, printer.get(), width);
        return *breaker;
    }
    void resetContent() { breaker.reset(); }
};

QtPrinter::QtPrinter() : QtPrinter(&QtPrinter::defaultPrinter) {}

QtPrinter::QtPrinter(PrinterFactory factory) : d(std::make_unique<Impl>())
{
    d->factory = std::move(factory);
}

QtPrinter::~QtPrinter()
{
    abortJob();
}

QString QtPrinter::noDefaultPrinterMessage()
{
    return tr("There is no default printer. Install a printer or choose one as the default printer, "
              "then print again.");
}

Result<std::unique_ptr<QPrinter>, PrinterFailure> QtPrinter::defaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() || info.printerName().isEmpty())
        return PrinterFailure{noDefaultPrinterMessage()};
    // The job is vector data at Qt's high resolution; the print service
    // renders it at the printer's own default resolution.
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (!printer->isValid() || printer->outputFormat() != QPrinter::NativeFormat
        || printer->printerName() != info.printerName())
        return PrinterFailure{tr("The default printer \"%1\" cannot be used.").arg(info.printerName())};
    // The printable area is the printer's own, not Qt's default of 10
    // points from every edge.
    const QPageLayout layout = printer->pageLayout();
    printer->setPageMargins(layout.minimumMargins(), layout.units());
    return printer;
}

Result<void, PrinterFailure> QtPrinter::startJob(const QString &documentName)
{
    if (d->jobOpen)
        return PrinterFailure{tr("A print job is already open.")};
    d->printer.reset();
    d->pages.clear();
    d->resetContent();
    if (!d->factory)
        return PrinterFailure{noDefaultPrinterMessage()};
    Result<std::unique_ptr<QPrinter>, PrinterFailure> made = d->factory();
    if (!made.ok())
        return made.error();
    std::unique_ptr<QPrinter> printer = std::move(made).value();
    if (!printer)
        return PrinterFailure{noDefaultPrinterMessage()};
    if (printer->resolution() <= 0)
        return PrinterFailure{tr("The printer \"%1\" reports no resolution.").arg(printer->printerName())};
    printer->setDocName(documentName);
    printer->setFullPage(false);
    d->printer = std::move(printer);
    d->pages = {QList<LaidOutLine>()};
    d->jobOpen = true;
    return {};
}

int QtPrinter::physicalOffsetX() const
{
    if (!d->haveJob())
        return 0;
    return d->printer->pageLayout().paintRectPixels(d->printer->resolution()).left();
}

int QtPrinter::physicalOffsetY() const
{
    if (!d->haveJob())
        return 0;
    return d->printer->pageLayout().paintRectPixels(d->printer->resolution()).top();
}

double QtPrinter::pixelsToTwipsX(double pixels) const
{
    if (!d->haveJob())
        return 0;
    return pixels * TwipsPerInch / d->dpi();
}

double QtPrinter::pixelsToTwipsY(double pixels) const
{
    if (!d->haveJob())
        return 0;
    return pixels * TwipsPerInch / d->dpi();
}

double QtPrinter::sheetWidth() const
{
    if (!d->haveJob())
        return 0;
    return d->printer->pageLayout().fullRectPixels(d->printer->resolution()).width() * TwipsPerInch / d->dpi();
}

double QtPrinter::sheetHeight() const
{
    if (!d->haveJob())
        return 0;
    return d->printer->pageLayout().fullRectPixels(d->printer->resolution()).height() * TwipsPerInch / d->dpi();
}

qint64 QtPrinter::renderRange(QByteArrayView text, const QFont &font, qint64 from, const TwipsRect &drawing)
{
    const qint64 length = text.size();
    qint64 pos = std::clamp<qint64>(from, 0, length);
    if (!d->haveJob())
        return pos;
    const QRectF rect(d->toPixels(drawing.left), d->toPixels(drawing.top), d->toPixels(double(drawing.width())),
                      d->toPixels(double(drawing.height())));
    if (rect.width() <= 0 || rect.height() <= 0)
        return pos;

    LineBreaker &breaker = d->breakerFor(text, font, rect.width());
    const QList<TextLineSpan> &spans = breaker.lines();
    QList<LaidOutLine> &lines = d->pages.last();
    double y = rect.top();

    // The line that holds `pos`: the last one starting at or before it.
    const auto startsAfter = std::upper_bound(spans.cbegin(), spans.cend(), pos,
                                              [](qint64 at, const TextLineSpan &span) { return at < span.start; });
    for (auto span = startsAfter - 1; span != spans.cend() && pos < length; ++span) {
        // Nothing of this line is left to print (`pos` is at its break).
        if (pos > span->start && pos >= span->end()) {
            pos = span->next();
            continue;
        }
        qint64 start = std::max(pos, span->start);
        do {
            const LineBreaker::Piece &piece = breaker.pieceAt(start, span->end());
            // A character wider than the rectangle, or a line below it.
            if (!piece.fits || y + piece.height > rect.bottom() + Slack)
                return start;
            lines.append({piece.layout, piece.width, QPointF(rect.left(), y)});
            y += piece.height;
            start += piece.length;
        } while (start < span->end());
        pos = span->next();
    }
    return length;
}

void QtPrinter::newPage()
{
    if (!d->haveJob())
        return;
    d->pages.append(QList<LaidOutLine>());
}

Result<void, PrinterFailure> QtPrinter::endJob()
{
    if (!d->haveJob())
        return PrinterFailure{tr("No print job is open.")};
    // From here on the job is either printed or failed; it is not open.
    d->jobOpen = false;
    QPrinter &printer = *d->printer;
    QPainter painter;
    if (!painter.begin(&printer))
        return PrinterFailure{tr("The print job could not be started on \"%1\".").arg(d->printerName())};
    bool pagesDone = true;
    for (qsizetype page = 0; page < d->pages.size() && pagesDone; ++page) {
        if (page > 0 && !printer.newPage()) {
            pagesDone = false;
            break;
        }
        for (const LaidOutLine &placed : std::as_const(d->pages[page]))
            placed.layout->lineAt(0).draw(&painter, placed.origin);
    }
    const bool ended = painter.end();
    if (!pagesDone)
        return PrinterFailure{tr("A new page could not be started on \"%1\".").arg(d->printerName())};
    if (!ended || printer.printerState() == QPrinter::Error)
        return PrinterFailure{tr("The print job could not be completed on \"%1\".").arg(d->printerName())};
    if (printer.outputFormat() == QPrinter::NativeFormat && printer.outputFileName().isEmpty()) {
        const QString failure = cupsSubmitFailure();
        if (!failure.isEmpty())
            return PrinterFailure{failure};
    }
    return {};
}

void QtPrinter::releaseLayout()
{
    // The pages keep the layouts they show; only the lookup goes.
    d->resetContent();
}

void QtPrinter::abortJob()
{
    if (!d->jobOpen)
        return;
    // Nothing has been drawn on the printer yet: dropping the pages and the
    // printer cancels the job.
    d->jobOpen = false;
    d->pages.clear();
    d->resetContent();
    d->printer.reset();
}

QList<QList<QtPrinter::PlacedLine>> QtPrinter::pages() const
{
    QList<QList<PlacedLine>> result;
    for (const QList<LaidOutLine> &page : std::as_const(d->pages)) {
        QList<PlacedLine> lines;
        for (const LaidOutLine &placed : page) {
            const QTextLine line = placed.layout->lineAt(0);
            lines.append({placed.layout->text(), QRectF(placed.origin, QSizeF(placed.width, line.height()))});
        }
        result.append(lines);
    }
    return result;
}

const QPrinter *QtPrinter::printer() const
{
    return d->printer.get();
}

} // namespace zuno
