// QtPrinter on QPrinters that write PDF files: the measurements it reports,
// how it lays text out into a rectangle and reports where it stopped, and
// that nothing reaches the printer unless the job ends.
#include "platform/qt/QtPrinter.h"

#include <QFile>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace zuno {
namespace {

// The printer takes the edit control's text form.
QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

constexpr double Dpi = 1200; // QPrinter::HighResolution for PDF output

double px(double twips)
{
    return twips * Dpi / 1440.0;
}

QFont editorFont()
{
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9.75);
    return font;
}

int pdfPageCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString content = QString::fromLatin1(file.readAll());
    return int(content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

class QtPrinterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // A4 portrait, with the printable area given by `margins` in points.
    QtPrinter::PrinterFactory pdfTo(const QString &path, QMarginsF margins = QMarginsF(),
                                    QPageLayout::Orientation orientation = QPageLayout::Portrait)
    {
        return [=]() {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(path);
            printer->setPageLayout(
                QPageLayout(QPageSize(QPageSize::A4), orientation, margins, QPageLayout::Point));
            return printer;
        };
    }
    QString pdfPath(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    // Texts of the lines on each page.
    static QList<QStringList> pageTexts(const QtPrinter &printer)
    {
        QList<QStringList> result;
        for (const auto &page : printer.pages()) {
            QStringList lines;
            for (const auto &line : page)
                lines.append(line.text);
            result.append(lines);
        }
        return result;
    }

    QTemporaryDir dir;
    QFont font = editorFont();
    // 1400-twip margins on A4 with no unprintable border.
    const TwipsRect drawing{1400, 1400, 11906 - 1400, 16838 - 1400};
};

// --- Measurements ------------------------------------------------------------

TEST_F(QtPrinterTest, ReportsTheOffsetsAndSheetOfThePageLayout)
{
    // The printable area starts a quarter inch from the left and half an
    // inch from the top; it ends 9 points from the right, 27 from the bottom.
    QtPrinter printer(pdfTo(pdfPath("m.pdf"), QMarginsF(18, 36, 9, 27)));
    ASSERT_TRUE(printer.startJob(QStringLiteral("M")).ok());
    EXPECT_EQ(printer.physicalOffsetX(), 300);
    EXPECT_EQ(printer.physicalOffsetY(), 600);
    EXPECT_DOUBLE_EQ(printer.pixelsToTwipsX(300), 360);
    EXPECT_DOUBLE_EQ(printer.pixelsToTwipsY(600), 720);
    // Qt's A4 page is 595 x 842 points; device pixels are within 1.2 twips.
    const QSize a4 = QPageSize(QPageSize::A4).sizePoints();
    EXPECT_NEAR(printer.sheetWidth(), a4.width() * 20, 1.2);
    EXPECT_NEAR(printer.sheetHeight(), a4.height() * 20, 1.2);
    printer.abortJob();
}

TEST_F(QtPrinterTest, ALandscapePrinterReportsALandscapeSheet)
{
    QtPrinter printer(pdfTo(pdfPath("l.pdf"), QMarginsF(), QPageLayout::Landscape));
    ASSERT_TRUE(printer.startJob(QStringLiteral("L")).ok());
    EXPECT_GT(printer.sheetWidth(), printer.sheetHeight());
    printer.abortJob();
}

TEST_F(QtPrinterTest, TheJobCarriesTheDocumentName)
{
    QtPrinter printer(pdfTo(pdfPath("n.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("ROAD1.PRJ")).ok());
    ASSERT_NE(printer.printer(), nullptr);
    EXPECT_EQ(printer.printer()->docName(), QStringLiteral("ROAD1.PRJ"));
    printer.abortJob();
}

TEST_F(QtPrinterTest, WithoutAnOpenJobNothingIsLaidOutAndTheJobCannotEnd)
{
    const QString path = pdfPath("x.pdf");
    QtPrinter printer(pdfTo(path));
    EXPECT_EQ(printer.physicalOffsetX(), 0);
    EXPECT_EQ(printer.sheetWidth(), 0);
    EXPECT_EQ(printer.renderRange(utf8(QStringLiteral("AB")), font, 1, drawing), 1);
    printer.newPage();
    EXPECT_TRUE(printer.pages().isEmpty());
    EXPECT_FALSE(printer.endJob().ok());
    ASSERT_TRUE(printer.startJob(QStringLiteral("X")).ok());
    const auto again = printer.startJob(QStringLiteral("X"));
    ASSERT_FALSE(again.ok());
    EXPECT_FALSE(again.error().description.isEmpty());
    printer.abortJob();
    printer.abortJob(); // harmless twice
    EXPECT_FALSE(printer.endJob().ok()) << "the cancelled job ended";
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(QtPrinterTest, WithoutAPrinterTheJobDoesNotStart)
{
    QtPrinter none([]() { return std::unique_ptr<QPrinter>(); });
    const auto started = none.startJob(QStringLiteral("X"));
    ASSERT_FALSE(started.ok()) << "the job started without a printer";
    EXPECT_EQ(started.error().description, QtPrinter::noDefaultPrinterMessage());
    EXPECT_EQ(none.sheetWidth(), 0);

    // The factory's own reason reaches the caller.
    QtPrinter unusable([]() -> Result<std::unique_ptr<QPrinter>, PrinterFailure> {
        return PrinterFailure{QStringLiteral("The queue is paused.")};
    });
    const auto refused = unusable.startJob(QStringLiteral("X"));
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().description, QStringLiteral("The queue is paused."));
    EXPECT_EQ(unusable.printer(), nullptr);
}

// --- Laying out ------------------------------------------------------------------

TEST_F(QtPrinterTest, LinesThatFitAreDrawnOneBelowTheOtherAtTheLeftEdge)
{
    QtPrinter printer(pdfTo(pdfPath("a.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("A")).ok());
    const QString text = QStringLiteral("AC:1001\r\nBG:5  PL:1,2,3  XX:ABC\r\n\r\nAC:OS");
    EXPECT_EQ(printer.renderRange(utf8(text), font, 0, drawing), text.size());
    const auto lines = printer.pages().value(0);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0].text, QStringLiteral("AC:1001"));
    EXPECT_EQ(lines[1].text, QStringLiteral("BG:5  PL:1,2,3  XX:ABC"));
    EXPECT_EQ(lines[2].text, QString());
    EXPECT_EQ(lines[3].text, QStringLiteral("AC:OS"));
    // Evenly spaced, a line of the font apart.
    const double spacing = lines[1].box.top() - lines[0].box.top();
    EXPECT_NEAR(spacing, QFontMetricsF(font, printer.printer()).lineSpacing(), 2.0);
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_NEAR(lines[i].box.left(), px(1400), 0.01) << i;
        EXPECT_NEAR(lines[i].box.top(), px(1400) + i * spacing, 0.01) << i;
    }
    printer.abortJob();
}

TEST_F(QtPrinterTest, TheFontIsMeasuredAtThePrintersResolution)
{
    QtPrinter printer(pdfTo(pdfPath("f.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("F")).ok());
    printer.renderRange(utf8(QStringLiteral("ABCDEFGHIJ\r\nK")), font, 0, drawing);
    const auto lines = printer.pages().value(0);
    ASSERT_EQ(lines.size(), 2);
    // 9.75 points is 162.5 pixels at 1200 dpi; a monospaced letter is about
    // 0.6 of that wide, a line about 1.1 to 1.2 of it high.
    const double em = 9.75 / 72 * Dpi;
    EXPECT_NEAR(lines[0].box.width() / 10, 0.6 * em, 0.05 * em);
    const double lineHeight = lines[1].box.top() - lines[0].box.top();
    EXPECT_GT(lineHeight, 1.0 * em);
    EXPECT_LT(lineHeight, 1.4 * em);
    printer.abortJob();
}

TEST_F(QtPrinterTest, LongLinesWrapAtSpacesWithinTheRectangle)
{
    QtPrinter printer(pdfTo(pdfPath("w.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("W")).ok());
    QStringList words;
    for (int i = 1; i <= 60; ++i)
        words.append(QStringLiteral("PL:%1").arg(i * 7, 4, 10, QLatin1Char('0')));
    const QString text = words.join(QLatin1Char(' '));
    EXPECT_EQ(printer.renderRange(utf8(text), font, 0, drawing), text.size());
    const auto lines = printer.pages().value(0);
    ASSERT_GE(lines.size(), 4);
    QStringList printed;
    for (const auto &line : lines) {
        EXPECT_GE(line.box.left(), px(drawing.left) - 0.5);
        EXPECT_LE(line.box.right(), px(drawing.right) + 0.5) << line.text.toStdString();
        EXPECT_TRUE(line.text.startsWith(QStringLiteral("PL:"))) << line.text.toStdString();
        printed.append(line.text.trimmed());
    }
    EXPECT_EQ(printed.join(QLatin1Char(' ')), text);
    // Each line but the last is full: the next word would not have fitted.
    const double charWidth = QFontMetricsF(font, printer.printer()).horizontalAdvance(QLatin1Char('P'));
    for (int i = 0; i + 1 < lines.size(); ++i)
        EXPECT_GT(lines[i].box.width() + 9 * charWidth, px(drawing.width())) << i;
    printer.abortJob();
}

TEST_F(QtPrinterTest, AWordLongerThanALineIsBrokenAnywhere)
{
    QtPrinter printer(pdfTo(pdfPath("b.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("B")).ok());
    const QString word(300, QLatin1Char('Z'));
    EXPECT_EQ(printer.renderRange(utf8(word), font, 0, drawing), word.size());
    const auto lines = printer.pages().value(0);
    ASSERT_GE(lines.size(), 3);
    QString joined;
    for (const auto &line : lines) {
        EXPECT_LE(line.box.right(), px(drawing.right) + 0.5);
        joined += line.text;
    }
    EXPECT_EQ(joined, word);
    printer.abortJob();
}

TEST_F(QtPrinterTest, AnIndentedWordThatFitsALineMovesWholeToTheNextLine)
{
    QtPrinter printer(pdfTo(pdfPath("i.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("I")).ok());
    // Twenty characters wide: the indent and the word do not fit together,
    // the word alone does.
    const double charWidth = QFontMetricsF(font, printer.printer()).horizontalAdvance(QLatin1Char('P'));
    TwipsRect narrow = drawing;
    narrow.right = narrow.left + qint32((20 * charWidth + 2) * 1440 / Dpi);
    const QString word = QStringLiteral("PL:100,101,102,1034");
    const QString text = QStringLiteral("       ") + word + QStringLiteral(" AB");
    EXPECT_EQ(printer.renderRange(utf8(text), font, 0, narrow), text.size());
    EXPECT_EQ(pageTexts(printer).value(0),
              (QStringList{QStringLiteral("       "), word + QLatin1Char(' '), QStringLiteral("AB")}));
    printer.abortJob();
}

TEST_F(QtPrinterTest, ALineIsNeverBrokenInsideACharacter)
{
    QtPrinter printer(pdfTo(pdfPath("u.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("U")).ok());
    // Letters outside the Basic Multilingual Plane (surrogate pairs) and
    // letters with combining accents, in one long word.
    QString word;
    for (int i = 0; i < 120; ++i)
        word += (i % 2) ? QStringLiteral("\U0001D400") : QStringLiteral("e\u0301");
    EXPECT_EQ(printer.renderRange(utf8(word), font, 0, drawing), utf8(word).size());
    const auto lines = printer.pages().value(0);
    ASSERT_GE(lines.size(), 2);
    QString joined;
    for (const auto &line : lines) {
        EXPECT_FALSE(line.text.front().isLowSurrogate()) << line.text.toStdString();
        EXPECT_FALSE(line.text.back().isHighSurrogate()) << line.text.toStdString();
        EXPECT_NE(line.text.front(), QChar(0x0301)) << "an accent torn from its letter";
        EXPECT_LE(line.box.right(), px(drawing.right) + 0.5);
        joined += line.text;
    }
    EXPECT_EQ(joined, word);
    printer.abortJob();
}

TEST_F(QtPrinterTest, APageTakesTheLinesThatFitAndReportsWhereItStopped)
{
    QtPrinter printer(pdfTo(pdfPath("p.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("P")).ok());
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines.append(QStringLiteral("LINE %1").arg(i, 3, 10, QLatin1Char('0')));
    const QString text = lines.join(QStringLiteral("\r\n"));
    const qint64 next = printer.renderRange(utf8(text), font, 0, drawing);
    const auto placed = printer.pages().value(0);
    ASSERT_GT(placed.size(), 10);
    ASSERT_LT(placed.size(), 200);
    // It stopped at the start of the first line not drawn.
    EXPECT_EQ(text.mid(next, 8), lines[placed.size()]);
    EXPECT_EQ(next, placed.size() * 10);
    // The last line drawn ends inside the rectangle; one more would not.
    const double bottom = px(drawing.bottom);
    EXPECT_LE(placed.last().box.bottom(), bottom + 0.01);
    const double spacing = placed[1].box.top() - placed[0].box.top();
    EXPECT_GT(placed.last().box.top() + 2 * spacing, bottom);

    // The next page goes on from there.
    printer.newPage();
    const qint64 after = printer.renderRange(utf8(text), font, next, drawing);
    const QList<QStringList> pages = pageTexts(printer);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[1].value(0), lines[placed.size()]);
    EXPECT_EQ(pages[1].size(), qMin<qsizetype>(placed.size(), 200 - placed.size()));
    EXPECT_EQ(after, qMin<qint64>(text.size(), 2 * next));
    printer.abortJob();
}

TEST_F(QtPrinterTest, AWrappedLineCutByThePageGoesOnWhereItStopped)
{
    QtPrinter printer(pdfTo(pdfPath("c.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("C")).ok());
    QStringList words;
    for (int i = 0; i < 400; ++i)
        words.append(QStringLiteral("W%1").arg(i, 3, 10, QLatin1Char('0')));
    const QString text = words.join(QLatin1Char(' '));
    // Three lines high: the paragraph needs more.
    const double spacing = QFontMetricsF(font, printer.printer()).lineSpacing();
    TwipsRect small = drawing;
    small.bottom = small.top + qint32(3.5 * spacing * 1440 / Dpi);
    QStringList printed;
    qint64 from = 0;
    int pages = 0;
    while (from < text.size() && pages < 100) {
        if (pages > 0)
            printer.newPage();
        const qint64 next = printer.renderRange(utf8(text), font, from, small);
        ASSERT_GT(next, from);
        // Every page stops at the start of a word.
        if (next < text.size()) {
            EXPECT_EQ(text[next - 1], QLatin1Char(' '));
        }
        const auto lines = printer.pages().value(pages);
        EXPECT_EQ(lines.size(), next < text.size() ? 3 : lines.size());
        for (const auto &line : lines)
            printed.append(line.text.trimmed());
        from = next;
        ++pages;
    }
    EXPECT_GT(pages, 2);
    EXPECT_EQ(printed.join(QLatin1Char(' ')), text);
    printer.abortJob();
}

TEST_F(QtPrinterTest, ARectangleTooSmallForALineOrACharacterTakesNothing)
{
    QtPrinter printer(pdfTo(pdfPath("s.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("S")).ok());
    const QString text = QStringLiteral("AC:1001\r\nBG:5");
    const TwipsRect shallow{1400, 1400, 10000, 1440};
    const TwipsRect narrow{1400, 1400, 1440, 15000};
    const TwipsRect crossed{5000, 1400, 4000, 15000};
    EXPECT_EQ(printer.renderRange(utf8(text), font, 0, shallow), 0);
    EXPECT_EQ(printer.renderRange(utf8(text), font, 9, narrow), 9);
    EXPECT_EQ(printer.renderRange(utf8(text), font, 0, crossed), 0);
    EXPECT_TRUE(printer.pages().value(0).isEmpty());
    printer.abortJob();
}

TEST_F(QtPrinterTest, AnEmptyTextOrAFinalLineBreakDrawsNothingMore)
{
    QtPrinter printer(pdfTo(pdfPath("e.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("E")).ok());
    EXPECT_EQ(printer.renderRange(utf8(QString()), font, 0, drawing), 0);
    EXPECT_TRUE(printer.pages().value(0).isEmpty());
    const QString text = QStringLiteral("AC:1001\r\n");
    EXPECT_EQ(printer.renderRange(utf8(text), font, 0, drawing), text.size());
    EXPECT_EQ(pageTexts(printer).value(0), QStringList{QStringLiteral("AC:1001")});
    printer.abortJob();
}

TEST_F(QtPrinterTest, TabsStopEveryHalfInch)
{
    QtPrinter printer(pdfTo(pdfPath("t.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("T")).ok());
    printer.renderRange(utf8(QStringLiteral("\tX")), font, 0, drawing);
    const auto lines = printer.pages().value(0);
    ASSERT_EQ(lines.size(), 1);
    const double x = QFontMetricsF(font, printer.printer()).horizontalAdvance(QLatin1Char('X'));
    EXPECT_NEAR(lines[0].box.width(), px(720) + x, 1.0);
    printer.abortJob();
}

TEST_F(QtPrinterTest, ReleasingTheLayoutKeepsThePagesAndLaysOutAfresh)
{
    QtPrinter printer(pdfTo(pdfPath("r.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("R")).ok());
    printer.renderRange(utf8(QStringLiteral("A\r\nB")), font, 0, drawing);
    printer.releaseLayout();
    printer.newPage();
    printer.renderRange(utf8(QStringLiteral("C\r\nD")), font, 0, drawing);
    EXPECT_EQ(pageTexts(printer), (QList<QStringList>{{QStringLiteral("A"), QStringLiteral("B")},
                                                      {QStringLiteral("C"), QStringLiteral("D")}}));
    printer.abortJob();
}

TEST_F(QtPrinterTest, AChangedTextIsLaidOutAfresh)
{
    QtPrinter printer(pdfTo(pdfPath("g.pdf")));
    ASSERT_TRUE(printer.startJob(QStringLiteral("G")).ok());
    printer.renderRange(utf8(QStringLiteral("FIRST")), font, 0, drawing);
    printer.newPage();
    printer.renderRange(utf8(QStringLiteral("SECOND")), font, 0, drawing);
    EXPECT_EQ(pageTexts(printer),
              (QList<QStringList>{{QStringLiteral("FIRST")}, {QStringLiteral("SECOND")}}));
    printer.abortJob();
}

// --- The end of the job ---------------------------------------------------------

TEST_F(QtPrinterTest, EndingTheJobPrintsEveryPage)
{
    const QString path = pdfPath("end.pdf");
    QtPrinter printer(pdfTo(path));
    ASSERT_TRUE(printer.startJob(QStringLiteral("END")).ok());
    printer.renderRange(utf8(QStringLiteral("PAGE ONE")), font, 0, drawing);
    printer.newPage();
    printer.renderRange(utf8(QStringLiteral("PAGE TWO")), font, 0, drawing);
    printer.newPage();
    EXPECT_FALSE(QFile::exists(path)) << "nothing reaches the printer before the end";
    const auto ended = printer.endJob();
    ASSERT_TRUE(ended.ok()) << ended.error().description.toStdString();
    EXPECT_EQ(pdfPageCount(path), 3);
    printer.newPage();
    EXPECT_EQ(printer.pages().size(), 3) << "the job is closed";
}

TEST_F(QtPrinterTest, AnEmptyJobPrintsOneBlankPage)
{
    const QString path = pdfPath("blank.pdf");
    QtPrinter printer(pdfTo(path));
    ASSERT_TRUE(printer.startJob(QStringLiteral("BLANK")).ok());
    printer.renderRange(utf8(QString()), font, 0, drawing);
    EXPECT_TRUE(printer.endJob().ok());
    EXPECT_EQ(pdfPageCount(path), 1);
}

TEST_F(QtPrinterTest, ACancelledJobPrintsNothing)
{
    const QString path = pdfPath("cancelled.pdf");
    {
        QtPrinter printer(pdfTo(path));
        ASSERT_TRUE(printer.startJob(QStringLiteral("CANCELLED")).ok());
        printer.renderRange(utf8(QStringLiteral("TEXT")), font, 0, drawing);
        printer.newPage();
        printer.abortJob();
        EXPECT_TRUE(printer.pages().isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path));
    {
        // A job still open when the printer goes is cancelled too.
        QtPrinter printer(pdfTo(path));
        ASSERT_TRUE(printer.startJob(QStringLiteral("DROPPED")).ok());
        printer.renderRange(utf8(QStringLiteral("TEXT")), font, 0, drawing);
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(QtPrinterTest, APrinterThatCannotStartTheJobReportsIt)
{
    const QString path = dir.filePath(QStringLiteral("missing/folder/out.pdf"));
    QtPrinter printer(pdfTo(path));
    ASSERT_TRUE(printer.startJob(QStringLiteral("FAIL")).ok());
    printer.renderRange(utf8(QStringLiteral("TEXT")), font, 0, drawing);
    const auto ended = printer.endJob();
    ASSERT_FALSE(ended.ok()) << "the job claimed success";
    EXPECT_TRUE(ended.error().description.contains(path)) << ended.error().description.toStdString();
    EXPECT_FALSE(QFile::exists(path));
    printer.abortJob(); // nothing left to cancel; harmless
}

} // namespace
} // namespace zuno
