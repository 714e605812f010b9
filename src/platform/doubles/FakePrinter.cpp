#include "platform/doubles/FakePrinter.h"

#include "platform/Units.h"
#include "text/Utf8Text.h"

#include <algorithm>

namespace zuno {

bool FakePrinter::enter(const char *operation) const
{
    const QString name = QString::fromLatin1(operation);
    calls.append(name);
    const int count = ++m_callCounts[name];
    return name == failOperation && count == failOnCall;
}

bool FakePrinter::enterJob(const char *operation) const
{
    enter(operation);
    if (!jobOpen)
        callsWithoutJob.append(QString::fromLatin1(operation));
    return jobOpen;
}

Result<void, PrinterFailure> FakePrinter::startJob(const QString &name)
{
    if (enter("startJob"))
        return PrinterFailure{failDescription};
    if (!hasDefaultPrinter)
        return PrinterFailure{noPrinterDescription};
    if (jobOpen)
        return PrinterFailure{QStringLiteral("A job is already open.")};
    documentName = name;
    jobOpen = true;
    pages = {QStringList()};
    return {};
}

int FakePrinter::physicalOffsetX() const
{
    return enterJob("physicalOffsetX") ? offsetXPixels : 0;
}

int FakePrinter::physicalOffsetY() const
{
    return enterJob("physicalOffsetY") ? offsetYPixels : 0;
}

double FakePrinter::pixelsToTwipsX(double pixels) const
{
    return enterJob("pixelsToTwipsX") ? pixels * TwipsPerInch / dpiX : 0;
}

double FakePrinter::pixelsToTwipsY(double pixels) const
{
    return enterJob("pixelsToTwipsY") ? pixels * TwipsPerInch / dpiY : 0;
}

double FakePrinter::sheetWidth() const
{
    return enterJob("sheetWidth") ? sheetWidthTwips : 0;
}

double FakePrinter::sheetHeight() const
{
    return enterJob("sheetHeight") ? sheetHeightTwips : 0;
}

qint64 FakePrinter::renderRange(QByteArrayView text, const QFont &font, qint64 from, const TwipsRect &drawing)
{
    const qint64 length = text.size();
    qint64 pos = std::clamp<qint64>(from, 0, length);
    if (!enterJob("renderRange"))
        return pos;
    renderFroms.append(from);
    drawingRects.append(drawing);
    fonts.append(font);

    const qint64 perLine = charWidth > 0 ? drawing.width() / charWidth : 0;
    const qint64 perPage = lineHeight > 0 ? drawing.height() / lineHeight : 0;
    if (perLine < 1 || perPage < 1 || pages.size() > pageLimit)
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
            // As many characters as fit, in bytes.
            const QByteArrayView restBytes = text.sliced(start, span.end() - start);
            const QString rest = utf8ToText(restBytes);
            QString shown = rest.left(perLine);
            if (shown.size() > 1 && shown.size() < rest.size() && shown.back().isHighSurrogate())
                shown.chop(1); // a character is never cut in two
            const qint64 piece = utf8PositionOf(restBytes, shown.size());
            lines.append(shown);
            ++printed;
            start += piece;
        } while (start < span.end());
        pos = span.next();
    }
    return length;
}

void FakePrinter::newPage()
{
    if (enterJob("newPage"))
        pages.append(QStringList());
}

Result<void, PrinterFailure> FakePrinter::endJob()
{
    const bool failing = enter("endJob");
    if (!jobOpen) {
        callsWithoutJob.append(QStringLiteral("endJob"));
        return PrinterFailure{QStringLiteral("endJob without an open job.")};
    }
    // A job whose end fails is still open: the caller cancels it.
    if (failing)
        return PrinterFailure{failDescription};
    jobOpen = false;
    printedJobs.append(pages);
    return {};
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
