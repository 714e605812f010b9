#include "platform/doubles/FakePrinter.h"

#include "platform/Units.h"

#include <algorithm>

namespace zuno {

void FakePrinter::enter(const char *operation) const
{
    const QString name = QString::fromLatin1(operation);
    calls.append(name);
    const int count = ++m_callCounts[name];
    if (name == failOperation && count == failOnCall)
        throw PrinterError(failDescription);
}

void FakePrinter::enterJob(const char *operation) const
{
    enter(operation);
    if (!jobOpen)
        throw PrinterError(QStringLiteral("%1 without an open job.").arg(QString::fromLatin1(operation)));
}

void FakePrinter::startJob(const QString &name)
{
    enter("startJob");
    if (!hasDefaultPrinter)
        throw PrinterError(noPrinterDescription);
    if (jobOpen)
        throw PrinterError(QStringLiteral("A job is already open."));
    documentName = name;
    jobOpen = true;
    pages = {QStringList()};
}

int FakePrinter::physicalOffsetX() const
{
    enterJob("physicalOffsetX");
    return offsetXPixels;
}

int FakePrinter::physicalOffsetY() const
{
    enterJob("physicalOffsetY");
    return offsetYPixels;
}

double FakePrinter::pixelsToTwipsX(double pixels) const
{
    enterJob("pixelsToTwipsX");
    return pixels * TwipsPerInch / dpiX;
}

double FakePrinter::pixelsToTwipsY(double pixels) const
{
    enterJob("pixelsToTwipsY");
    return pixels * TwipsPerInch / dpiY;
}

double FakePrinter::sheetWidth() const
{
    enterJob("sheetWidth");
    return sheetWidthTwips;
}

double FakePrinter::sheetHeight() const
{
    enterJob("sheetHeight");
    return sheetHeightTwips;
}

double FakePrinter::printableWidth() const
{
    enterJob("printableWidth");
    return printableWidthTwips;
}

double FakePrinter::printableHeight() const
{
    enterJob("printableHeight");
    return printableHeightTwips;
}

qint64 FakePrinter::renderRange(const QString &text, const QFont &font, qint64 from, const TwipsRect &drawing,
                                const TwipsRect &page)
{
    enterJob("renderRange");
    renderFroms.append(from);
    drawingRects.append(drawing);
    pageRects.append(page);
    fonts.append(font);

    const qint64 length = text.size();
    const qint64 perLine = charWidth > 0 ? drawing.width() / charWidth : 0;
    const qint64 perPage = lineHeight > 0 ? drawing.height() / lineHeight : 0;
    qint64 pos = std::clamp<qint64>(from, 0, length);
    if (perLine < 1 || perPage < 1)
        return pos;

    QStringList &lines = pages.last();
    qint64 printed = 0;
    for (const TextLineSpan &span : splitTextLines(text)) {
        if (pos >= length)
            break;
        // Nothing of this line is left to print.
        if (pos > span.start && pos >= span.end())
            continue;
        qint64 start = std::max(pos, span.start);
        do {
            if (printed == perPage)
                return start;
            const qint64 piece = std::min(perLine, span.end() - start);
            lines.append(text.mid(start, piece));
            ++printed;
            start += piece;
        } while (start < span.end());
        pos = span.next();
    }
    return length;
}

void FakePrinter::newPage()
{
    enterJob("newPage");
    if (pages.size() >= pageLimit)
        throw PrinterError(QStringLiteral("More than %1 pages.").arg(pageLimit));
    pages.append(QStringList());
}

void FakePrinter::endJob()
{
    enterJob("endJob");
    jobOpen = false;
    printedJobs.append(pages);
}

void FakePrinter::releaseLayout()
{
    calls.append(QStringLiteral("releaseLayout"));
}

void FakePrinter::abortJob()
{
    calls.append(QStringLiteral("abortJob"));
    if (!jobOpen)
        return;
    jobOpen = false;
    pages.clear();
    ++abortedJobs;
}

} // namespace zuno
