#include "platform/qt/QtPrinter.h"

#include "search/TextFind.h"
#include "platform/qt/ScreenUnits.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <map>

namespace zuno {

namespace {

// Tab stops every half inch, as in the edit control.
constexpr double TabStopTwips = 720.0;
// Slack for the sums of floating-point line heights, in device pixels.
constexpr double Slack = 1e-3;

// A piece of a line placed on a page: `layout` (one line) drawn with its
// top-left corner at `origin`; `width` is its ink's width.
struct LaidOutLine {
    std::shared_ptr<QTextLayout> layout;
    double width = 0;
    QPointF origin;
};

// A piece of a text line that fits the width of the drawing rectangle: its
// `length` characters (spaces that end it included) as one line in
// `layout`.
struct Piece {
    std::shared_ptr<QTextLayout> layout;
    qint64 length = 0;
    // Width up to the end of its last character that is not a space, and
    // the line's height.
    double width = 0;
    double height = 0;
    // False when not even its first character fits the width.
    bool fits = true;
};

// Width of the first `count` characters of the one-line `layout`, without
// the spaces that end them.
double inkWidth(const QTextLayout &layout, int count)
{
    const QString &text = layout.text();
    while (count > 0 && isBlank(text[count - 1]))
        --count;
    const QTextLine line = layout.lineAt(0);
    return line.cursorToX(count) - line.cursorToX(0);
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
// Qt hands a native job to CUPS when the painter ends, and does not report
// whether CUPS took it. The last CUPS status of this thread tells; libcups
// is already loaded by Qt's CUPS support, so it is looked up, not linked.
QString cupsSubmitFailure()
{
    using LastError = int (*)();
    using LastErrorString = const char *(*)();
    QLibrary cups(QStringLiteral("cups"), 2);
    const auto lastError = reinterpret_cast<LastError>(cups.resolve("cupsLastError"));
    const auto lastErrorString = reinterpret_cast<LastErrorString>(cups.resolve("cupsLastErrorString"));
    if (!lastError)
        return QString();
    // IPP status codes from 0x0400 up are client and server errors.
    constexpr int FirstError = 0x0400;
    if (lastError() < FirstError)
        return QString();
    const char *description = lastErrorString ? lastErrorString() : nullptr;
    return description && *description ? QString::fromUtf8(description) : QStringLiteral("CUPS error %1").arg(lastError());
}
#else
QString cupsSubmitFailure()
{
    return QString();
}
#endif

} // namespace

struct QtPrinter::Impl {
    PrinterFactory factory;
    std::unique_ptr<QPrinter> printer;
    bool jobOpen = false;
    QList<QList<LaidOutLine>> pages;

    // The formatting kept between renderRange calls: the text's lines and
    // the pieces they were broken into, keyed by the offset where each
    // piece starts.
    bool haveContent = false;
    QString text;
    QFont font;
    double lineWidth = 0;
    double tabStopDistance = 0;
    QList<TextLineSpan> spans;
    std::map<qint64, Piece> pieces;

    bool haveJob() const { return jobOpen && printer; }
    double dpi() const { return printer->resolution(); }
    double toPixels(double twips) const { return twips * dpi() / TwipsPerInch; }
    QString printerName() const
    {
        return printer->printerName().isEmpty() ? printer->outputFileName() : printer->printerName();
    }

    void useContent(const QString &newText, const QFont &newFont, double width);
    const Piece &pieceAt(qint64 start, qint64 end);
    std::shared_ptr<QTextLayout> layOutLine(qint64 start, qint64 length) const;
    void resetContent()
    {
        haveContent = false;
        text.clear();
        spans.clear();
        pieces.clear();
    }
};

void QtPrinter::Impl::useContent(const QString &newText, const QFont &newFont, double width)
{
    const bool sameText = (newText.constData() == text.constData() && newText.size() == text.size())
                          || newText == text;
    if (haveContent && sameText && newFont == font && width == lineWidth)
        return;
    resetContent();
    text = newText;
    font = newFont;
    lineWidth = width;
    spans = splitTextLines(text);
    // QTextLayout scales tab stops from its own reference resolution to
    // the device's; a probe tells the scale.
    {
        QTextLayout probe(QStringLiteral("\t"), font, printer.get());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        option.setTabStopDistance(100);
        probe.setTextOption(option);
        probe.beginLayout();
        QTextLine line = probe.createLine();
        line.setLineWidth(lineWidth);
        probe.endLayout();
        const double scale = line.cursorToX(1) / 100;
        tabStopDistance = toPixels(TabStopTwips) / (scale > 0 ? scale : 1);
    }
    haveContent = true;
}

// The characters [start, start + length) of the text as one line, unbroken,
// in the font measured at the printer's resolution.
std::shared_ptr<QTextLayout> QtPrinter::Impl::layOutLine(qint64 start, qint64 length) const
{
    auto layout = std::make_shared<QTextLayout>(text.mid(start, length), font, printer.get());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(tabStopDistance);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0, 0));
    }
    layout->endLayout();
    return layout;
}

// The piece of the line that starts at `start` and ends at `end`: as much
// as fits the width, broken after the last space that lets it fit, or
// within a word that is wider than a whole line. Spaces at the break stay
// on the piece they end, beyond the right edge, as in the edit control.
const Piece &QtPrinter::Impl::pieceAt(qint64 start, qint64 end)
{
    if (const auto found = pieces.find(start); found != pieces.end())
        return found->second;

    const qint64 remaining = end - start;
    // Measure a window of the line that reaches beyond the width (or holds
    // all the rest of it).
    qint64 window = std::min<qint64>(remaining, 256);
    std::shared_ptr<QTextLayout> measured = layOutLine(start, window);
    while (window < remaining && inkWidth(*measured, int(window)) <= lineWidth) {
        window = std::min(remaining, window * 2);
        measured = layOutLine(start, window);
    }

    // The most characters whose ink fits the width.
    qint64 low = 0, high = window;
    while (low < high) {
        const qint64 middle = low + (high - low + 1) / 2;
        if (inkWidth(*measured, int(middle)) <= lineWidth + Slack)
            low = middle;
        else
            high = middle - 1;
    }
    const qint64 fitting = low;

    qint64 length = fitting;
    if (fitting < remaining) {
        const QString &chars = measured->text();
        if (isBlank(chars[fitting])) {
            // The break falls on spaces: they end this piece.
            while (length < window && isBlank(chars[length]))
                ++length;
        } else {
            // After the last space, if any (an indent too: the word then
            // starts the next line whole); else within the word.
            qint64 space = fitting - 1;
            while (space >= 0 && !isBlank(chars[space]))
                --space;
            if (space >= 0)
                length = space + 1;
        }
        // Never between the parts of one character (a surrogate pair, a
        // letter and its accents).
        while (length > 0 && !measured->isValidCursorPosition(int(length)))
            --length;
    }

    Piece piece;
    piece.length = length;
    // The measured window is the piece itself when all of it fits.
    piece.layout = length == window ? measured : layOutLine(start, length);
    piece.width = length > 0 ? inkWidth(*piece.layout, int(length)) : 0;
    // Measured alone, the piece may come out wider than within its line
    // (shaping at its end, text that runs right to left): shorten it.
    while (piece.width > lineWidth + Slack && piece.length > 0) {
        piece.length = piece.layout->previousCursorPosition(int(piece.length));
        piece.layout = layOutLine(start, piece.length);
        piece.width = piece.length > 0 ? inkWidth(*piece.layout, int(piece.length)) : 0;
    }
    length = piece.length;
    // A line is never empty of characters unless the text line is.
    piece.fits = length > 0 || remaining == 0;
    const QTextLine line = piece.layout->lineAt(0);
    piece.height = line.isValid() ? line.height() : 0;
    return pieces.emplace(start, std::move(piece)).first->second;
}

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

double QtPrinter::printableWidth() const
{
    if (!d->haveJob())
        return 0;
    return d->printer->pageLayout().paintRectPixels(d->printer->resolution()).width() * TwipsPerInch / d->dpi();
}

double QtPrinter::printableHeight() const
{
    if (!d->haveJob())
        return 0;
    return d->printer->pageLayout().paintRectPixels(d->printer->resolution()).height() * TwipsPerInch / d->dpi();
}

qint64 QtPrinter::renderRange(const QString &text, const QFont &font, qint64 from, const TwipsRect &drawing,
                              const TwipsRect &page)
{
    Q_UNUSED(page);
    const qint64 length = text.size();
    qint64 pos = std::clamp<qint64>(from, 0, length);
    if (!d->haveJob())
        return pos;
    const QRectF rect(d->toPixels(drawing.left), d->toPixels(drawing.top), d->toPixels(double(drawing.width())),
                      d->toPixels(double(drawing.height())));
    if (rect.width() <= 0 || rect.height() <= 0)
        return pos;

    d->useContent(text, font, rect.width());
    QList<LaidOutLine> &lines = d->pages.last();
    double y = rect.top();

    // The line that holds `pos`: the last one starting at or before it.
    const auto startsAfter = std::upper_bound(d->spans.cbegin(), d->spans.cend(), pos,
                                              [](qint64 at, const TextLineSpan &span) { return at < span.start; });
    for (auto span = startsAfter - 1; span != d->spans.cend() && pos < length; ++span) {
        // Nothing of this line is left to print (`pos` is at its break).
        if (pos > span->start && pos >= span->end()) {
            pos = span->next();
            continue;
        }
        qint64 start = std::max(pos, span->start);
        do {
            const Piece &piece = d->pieceAt(start, span->end());
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
