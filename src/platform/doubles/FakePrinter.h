#pragma once
// A printer as numbers, for the logic tests. Its formatter is a plain grid:
// every character is `charWidth` twips wide and every line `lineHeight`
// twips high; a line longer than the drawing rectangle is cut into pieces
// of as many characters as fit. What each page receives is recorded, and
// the operations that can fail can be made to.
#include "platform/Printer.h"

#include <QFont>
#include <QList>
#include <QMap>
#include <QStringList>

namespace zuno {

class FakePrinter : public IPrinter {
public:
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

    // The printer. The defaults: A4 at 600 dpi with a printable area
    // starting 0.25 inch (150 pixels) from the left and 0.2 inch (120
    // pixels) from the top, and a grid of 120 by 240 twips.
    bool hasDefaultPrinter = true;
    QString noPrinterDescription = QStringLiteral("No default printer.");
    int offsetXPixels = 150;
    int offsetYPixels = 120;
    double dpiX = 600;
    double dpiY = 600;
    double sheetWidthTwips = 11906;
    double sheetHeightTwips = 16838;
    qint64 charWidth = 120;
    qint64 lineHeight = 240;
    // More pages than a test ever prints: the pages of a job that runs away
    // take nothing from here on, which ends it instead of running forever.
    int pageLimit = 10000;

    // Makes the `failOnCall`-th call of the operation named ("startJob" or
    // "endJob") fail with failDescription.
    QString failOperation;
    int failOnCall = 1;
    QString failDescription = QStringLiteral("The printer failed.");

    // What the tests look at.
    // Every call, in order: "startJob", "physicalOffsetX", ..., "renderRange",
    // "newPage", "endJob", "releaseLayout", "abortJob".
    mutable QStringList calls;
    QString documentName;
    bool jobOpen = false;
    // The pages of the open job (or of the last one, once ended), each a
    // list of the printed lines' text.
    QList<QStringList> pages;
    // The pages of every job handed to the printer, in order.
    QList<QList<QStringList>> printedJobs;
    int abortedJobs = 0;
    // The operations called while no job was open (they do nothing then).
    mutable QStringList callsWithoutJob;
    // The arguments of each renderRange call.
    QList<qint64> renderFroms;
    QList<TwipsRect> drawingRects;
    QList<QFont> fonts;

private:
    // Records the call; true when it is the one made to fail.
    bool enter(const char *operation) const;
    // Records the call; false when no job is open.
    bool enterJob(const char *operation) const;
    mutable QMap<QString, int> m_callCounts;
};

} // namespace zuno
