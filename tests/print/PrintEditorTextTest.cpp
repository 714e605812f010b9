// PrintEditorText against the doubles: the rectangles, the page loop, the
// job's name, the busy pointer, and what happens on every kind of failure.
#include "print/modPrint.h"
#include "support/EditText.h"

#include "platform/doubles/FakeEditControl.h"
#include "platform/doubles/FakeMainWindow.h"
#include "platform/doubles/FakeMessageBox.h"
#include "platform/doubles/FakePrinter.h"

#include <QFont>
#include <QStringList>
#include <gtest/gtest.h>

#include <limits>
#include <new>
#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace zuno {
namespace {

QString joinLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

// Lines "L000", "L001", ... of four characters each.
QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("L%1").arg(i, 3, 10, QLatin1Char('0')));
    return lines;
}

class PrintEditorTextTest : public ::testing::Test {
protected:
    // The printer is only ever asked within the job.
    void TearDown() override { EXPECT_EQ(printer.callsWithoutJob, QStringList()); }
    void print(qint32 margin = 1400) { print(margin, margin, margin, margin); }
    void print(qint32 left, qint32 top, qint32 right, qint32 bottom)
    {
        PrintEditorText(editor, font, left, top, right, bottom, {printer, messages, window});
    }
    // How many grid lines fit between the margins of 1400 twips.
    qint64 linesPerPage() const
    {
        return ((qint64(printer.sheetHeightTwips) - 2800) / printer.lineHeight);
    }
    void expectNoMessage() const
    {
        EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.value(0).text.toStdString();
    }
    void expectFailureShown(const QString &text) const
    {
        ASSERT_EQ(messages.shown.size(), 1);
        const ShownMessage &box = messages.shown.first();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.icon, MessageIcon::None);
        EXPECT_EQ(box.buttons, MessageButtons::Ok);
        EXPECT_EQ(box.title, QStringLiteral("ZUNOPad"));
    }

    FakeEditControl editor;
    FakePrinter printer;
    FakeMessageBox messages;
    FakeMainWindow window;
    QFont font{QStringLiteral("Courier"), 10};
};

// --- The rectangles --------------------------------------------------------

TEST(DrawingRectangleTest, DrawingRectangleIsTheMarginsLessThePhysicalOffsets)
{
    // A4 (11906 x 16838 twips) with the printable area 360 twips from the
    // left and 288 from the top of the sheet.
    EXPECT_EQ(computeDrawingRectangle(1400, 1400, 1400, 1400, 11906, 16838, 360, 288),
              (TwipsRect{1400 - 360, 1400 - 288, 11906 - 1400 - 360, 16838 - 1400 - 288}));
}

TEST(DrawingRectangleTest, EachMarginCountsFromItsOwnEdge)
{
    EXPECT_EQ(computeDrawingRectangle(100, 200, 300, 400, 12240, 15840, 0, 0),
              (TwipsRect{100, 200, 12240 - 300, 15840 - 400}));
}

TEST(DrawingRectangleTest, SizesAreRoundedToWholeTwips)
{
    // A4 in points is 595.276 x 841.89, which is 11905.52 x 16837.8 twips.
    const TwipsRect drawing = computeDrawingRectangle(1400, 1400, 1400, 1400, 11905.52, 16837.8, 0, 0);
    EXPECT_EQ(drawing.right, 11906 - 1400);
    EXPECT_EQ(drawing.bottom, 16838 - 1400);
}

TEST(DrawingRectangleTest, MarginsInsideTheUnprintableBorderGiveNegativeEdges)
{
    const TwipsRect drawing = computeDrawingRectangle(100, 50, 0, 0, 11906, 16838, 360, 288);
    EXPECT_EQ(drawing.left, -260);
    EXPECT_EQ(drawing.top, -238);
    EXPECT_EQ(drawing.right, 11906 - 360);
}

TEST(DrawingRectangleTest, ExtremeMarginsAreHeldAtThe32BitLimits)
{
    constexpr qint32 max = std::numeric_limits<qint32>::max();
    constexpr qint32 min = std::numeric_limits<qint32>::min();
    const TwipsRect drawing = computeDrawingRectangle(min, max, min, max, 11906, -1e12, 1000, -1000);
    EXPECT_EQ(drawing.left, min);
    EXPECT_EQ(drawing.top, max);
    EXPECT_EQ(drawing.right, max);
    EXPECT_EQ(drawing.bottom, min);
}

TEST(DrawingRectangleTest, WholeTwipsRoundsToTheNearest)
{
    EXPECT_EQ(wholeTwips(359.4), 359);
    EXPECT_EQ(wholeTwips(359.6), 360);
    EXPECT_EQ(wholeTwips(-12.6), -13);
    EXPECT_EQ(wholeTwips(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_GT(wholeTwips(std::numeric_limits<double>::infinity()), qint64(1) << 40);
}

TEST_F(PrintEditorTextTest, OffsetsAreConvertedAtThePrintersResolutionAndRounded)
{
    printer.dpiX = 300;
    printer.dpiY = 600;
    printer.offsetXPixels = 101; // 484.8 twips
    printer.offsetYPixels = 125; // 300 twips
    test::setTextOf(editor, QStringLiteral("X"));
    print();
    expectNoMessage();
    ASSERT_EQ(printer.drawingRects.size(), 1);
    const TwipsRect expected{1400 - 485, 1400 - 300, 11906 - 1400 - 485, 16838 - 1400 - 300};
    EXPECT_EQ(printer.drawingRects.first(), expected);
}

TEST_F(PrintEditorTextTest, EveryPageGetsTheSameRectanglesAndTheEditorsFont)
{
    test::setTextOf(editor, joinLines(numberedLines(int(linesPerPage()) * 3)));
    print();
    ASSERT_EQ(printer.drawingRects.size(), 3);
    for (int i = 1; i < 3; ++i)
        EXPECT_EQ(printer.drawingRects[i], printer.drawingRects.first());
    for (const QFont &used : std::as_const(printer.fonts))
        EXPECT_EQ(used, font);
}

// --- The page loop ---------------------------------------------------------

TEST_F(PrintEditorTextTest, AnEmptyDocumentPrintsOneBlankPage)
{
    print();
    expectNoMessage();
    ASSERT_EQ(printer.printedJobs.size(), 1);
    ASSERT_EQ(printer.printedJobs.first().size(), 1);
    EXPECT_TRUE(printer.printedJobs.first().first().isEmpty());
    EXPECT_EQ(printer.calls.count(QStringLiteral("renderRange")), 1);
    EXPECT_FALSE(printer.calls.contains(QStringLiteral("newPage")));
}

TEST_F(PrintEditorTextTest, ATextThatFitsPrintsOnePage)
{
    const QStringList lines{QStringLiteral("AC:1001"), QStringLiteral("BG:5"), QStringLiteral("PL:1,2,3")};
    test::setTextOf(editor, joinLines(lines));
    print();
    expectNoMessage();
    ASSERT_EQ(printer.printedJobs.size(), 1);
    ASSERT_EQ(printer.printedJobs.first().size(), 1);
    EXPECT_EQ(printer.printedJobs.first().first(), lines);
    EXPECT_FALSE(printer.calls.contains(QStringLiteral("newPage")));
}

TEST_F(PrintEditorTextTest, ATextOfExactlyTwoPagesPrintsTwoPages)
{
    const int perPage = int(linesPerPage());
    const QStringList lines = numberedLines(2 * perPage);
    test::setTextOf(editor, joinLines(lines));
    print();
    expectNoMessage();
    ASSERT_EQ(printer.printedJobs.size(), 1);
    const QList<QStringList> pages = printer.printedJobs.first();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0], lines.mid(0, perPage));
    EXPECT_EQ(pages[1], lines.mid(perPage));
    EXPECT_EQ(printer.calls.count(QStringLiteral("newPage")), 1);
    // The second page starts where the first stopped: at line perPage.
    EXPECT_EQ(printer.renderFroms, (QList<qint64>{0, qint64(perPage) * 6}));
}

TEST_F(PrintEditorTextTest, ALineBreakAfterTheLastLineStartsNoFurtherPage)
{
    const int perPage = int(linesPerPage());
    test::setTextOf(editor, joinLines(numberedLines(2 * perPage)) + QStringLiteral("\r\n"));
    print();
    expectNoMessage();
    ASSERT_EQ(printer.printedJobs.size(), 1);
    EXPECT_EQ(printer.printedJobs.first().size(), 2);
}

TEST_F(PrintEditorTextTest, OneLineMoreStartsAThirdPage)
{
    const int perPage = int(linesPerPage());
    const QStringList lines = numberedLines(2 * perPage + 1);
    test::setTextOf(editor, joinLines(lines));
    print();
    ASSERT_EQ(printer.printedJobs.size(), 1);
    const QList<QStringList> pages = printer.printedJobs.first();
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(pages[2], QStringList{lines.last()});
}

TEST_F(PrintEditorTextTest, ALineLongerThanAPageContinuesOnTheNextPagesFromWhereItStopped)
{
    // One line of digits, wrapped by the printer at the right margin into
    // more pieces than a page holds.
    const qint64 perLine = (qint64(printer.sheetWidthTwips) - 2800) / printer.charWidth;
    const qint64 perPage = linesPerPage();
    QString line;
    while (line.size() < perLine * perPage * 2 + 5)
        line += QString::number(line.size() % 10);
    test::setTextOf(editor, line);
    print();
    expectNoMessage();
    ASSERT_EQ(printer.printedJobs.size(), 1);
    const QList<QStringList> pages = printer.printedJobs.first();
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(printer.renderFroms, (QList<qint64>{0, perLine * perPage, 2 * perLine * perPage}));
    EXPECT_EQ(pages[0].join(QString()) + pages[1].join(QString()) + pages[2].join(QString()), line);
    EXPECT_EQ(pages[2], QStringList{line.right(5)});
}

TEST_F(PrintEditorTextTest, AJobStartsBeforeItsPagesAndEndsAfterThem)
{
    test::setTextOf(editor, joinLines(numberedLines(int(linesPerPage()) + 1)));
    print();
    const QStringList &calls = printer.calls;
    ASSERT_FALSE(calls.isEmpty());
    EXPECT_EQ(calls.first(), QStringLiteral("startJob"));
    EXPECT_EQ(calls.count(QStringLiteral("startJob")), 1);
    EXPECT_EQ(calls.count(QStringLiteral("endJob")), 1);
    EXPECT_EQ(calls.count(QStringLiteral("renderRange")), 2) << "two pages";
    EXPECT_EQ(calls.count(QStringLiteral("newPage")), 1) << "one page break, between them";
    EXPECT_GT(calls.indexOf(QStringLiteral("newPage")), calls.indexOf(QStringLiteral("renderRange")));
    EXPECT_LT(calls.indexOf(QStringLiteral("newPage")), calls.lastIndexOf(QStringLiteral("renderRange")));
    EXPECT_GT(calls.indexOf(QStringLiteral("endJob")), calls.lastIndexOf(QStringLiteral("renderRange")));
    EXPECT_GT(calls.indexOf(QStringLiteral("releaseLayout")), calls.indexOf(QStringLiteral("endJob")))
        << "the pages' layout is let go once the job is done";
}

// --- The job's name ------------------------------------------------------------

TEST_F(PrintEditorTextTest, TheJobIsNamedAfterTheFileWithoutItsFolder)
{
    editor.setFileName(QStringLiteral("/data/roads/ROAD1.PRJ"));
    print();
    EXPECT_EQ(printer.documentName, QStringLiteral("ROAD1.PRJ"));
}

TEST_F(PrintEditorTextTest, AnUntitledDocumentIsPrintedAsUntitled)
{
    print();
    EXPECT_EQ(printer.documentName, QStringLiteral("Untitled"));
}

TEST(PrintDocumentNameTest, NamesWithoutFolders)
{
    EXPECT_EQ(printDocumentName(QStringLiteral("ROAD 2.ALI")), QStringLiteral("ROAD 2.ALI"));
    EXPECT_EQ(printDocumentName(QStringLiteral("/a/b/c/ROAD.PRO")), QStringLiteral("ROAD.PRO"));
    EXPECT_EQ(printDocumentName(QString()), QStringLiteral("Untitled"));
}

// --- The editor and the window ----------------------------------------------

TEST_F(PrintEditorTextTest, TheTextSelectionAndModifiedFlagAreLeftAlone)
{
    for (const bool modified : {false, true}) {
        test::setTextOf(editor, joinLines(numberedLines(int(linesPerPage()) * 2 + 3)));
        editor.setSelStart(7);
        editor.setSelLength(9);
        editor.setModified(modified);
        const QString text = test::textOf(editor);
        const int changes = editor.changeCount;
        const int writes = editor.setTextCount;
        print();
        EXPECT_EQ(test::textOf(editor), text);
        EXPECT_EQ(editor.selStart(), 7);
        EXPECT_EQ(editor.selLength(), 9);
        EXPECT_EQ(editor.isModified(), modified);
        EXPECT_EQ(editor.changeCount, changes);
        EXPECT_EQ(editor.setTextCount, writes);
    }
}

// A printer that notes whether the pointer was busy while it laid out.
class WatchingPrinter : public FakePrinter {
public:
    explicit WatchingPrinter(const FakeMainWindow &window) : m_window(window) {}
    qint64 renderRange(QByteArrayView text, const QFont &font, qint64 from, const TwipsRect &drawing) override
    {
        busyWhileLayingOut.append(m_window.busyNow);
        return FakePrinter::renderRange(text, font, from, drawing);
    }
    QList<bool> busyWhileLayingOut;

private:
    const FakeMainWindow &m_window;
};

TEST_F(PrintEditorTextTest, TheBusyPointerShowsWhileThePagesAreLaidOut)
{
    WatchingPrinter watching(window);
    test::setTextOf(editor, joinLines(numberedLines(int(linesPerPage()) + 1)));
    PrintEditorText(editor, font, 1400, 1400, 1400, 1400, {watching, messages, window});
    EXPECT_EQ(watching.busyWhileLayingOut, (QList<bool>{true, true}));
    EXPECT_EQ(window.pointerLog, (QStringList{QStringLiteral("busy"), QStringLiteral("default")}));
    EXPECT_FALSE(window.busyNow);
}

// --- Failures ------------------------------------------------------------------

TEST_F(PrintEditorTextTest, WithoutADefaultPrinterTheMessageShowsAndNothingIsPrinted)
{
    printer.hasDefaultPrinter = false;
    printer.noPrinterDescription = QStringLiteral("There is no default printer.");
    test::setTextOf(editor, QStringLiteral("AC:1001"));
    editor.setModified(false);
    bool busyAtMessage = true;
    messages.onShow = [&](const ShownMessage &) { busyAtMessage = window.busyNow; };
    print();
    expectFailureShown(QStringLiteral("There is no default printer."));
    EXPECT_FALSE(busyAtMessage);
    EXPECT_TRUE(printer.printedJobs.isEmpty());
    EXPECT_FALSE(printer.jobOpen);
    EXPECT_FALSE(printer.calls.contains(QStringLiteral("renderRange")));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1001"));
    EXPECT_FALSE(editor.isModified());
}

TEST_F(PrintEditorTextTest, AFailureOfThePrinterCancelsTheJob)
{
    const int perPage = int(linesPerPage());
    const QString text = joinLines(numberedLines(perPage * 2 + 1));
    struct Case {
        const char *operation;
        int call;
    };
    // Opening the job and handing it to the printer are what can fail.
    const Case cases[] = {{"startJob", 1}, {"endJob", 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.operation) + " call " + std::to_string(c.call));
        FakePrinter failing;
        failing.failOperation = QString::fromLatin1(c.operation);
        failing.failOnCall = c.call;
        failing.failDescription = QStringLiteral("Printer offline (%1)").arg(c.operation);
        FakeEditControl document(text);
        document.setSelStart(12);
        document.setModified(false);
        FakeMessageBox shown;
        FakeMainWindow frame;
        PrintEditorText(document, font, 1400, 1400, 1400, 1400, {failing, shown, frame});

        ASSERT_EQ(shown.shown.size(), 1);
        EXPECT_EQ(shown.shown.first().text, failing.failDescription);
        EXPECT_EQ(shown.shown.first().icon, MessageIcon::None);
        EXPECT_EQ(shown.shown.first().title, QStringLiteral("ZUNOPad"));
        EXPECT_TRUE(failing.printedJobs.isEmpty());
        EXPECT_FALSE(failing.jobOpen);
        // A job that never opened has nothing to cancel.
        EXPECT_EQ(failing.abortedJobs, failing.failOperation == QStringLiteral("startJob") ? 0 : 1);
        EXPECT_EQ(failing.calls.count(QStringLiteral("abortJob")), 1);
        EXPECT_EQ(failing.calls.last(), QStringLiteral("releaseLayout"));
        // The failing operation was the last one tried.
        const qsizetype failedAt = failing.calls.lastIndexOf(failing.failOperation);
        EXPECT_EQ(failing.calls.mid(failedAt + 1),
                  (QStringList{QStringLiteral("abortJob"), QStringLiteral("releaseLayout")}));
        EXPECT_EQ(test::textOf(document), text);
        EXPECT_EQ(document.selStart(), 12);
        EXPECT_FALSE(document.isModified());
        EXPECT_EQ(frame.pointerLog, (QStringList{QStringLiteral("busy"), QStringLiteral("default")}));
        EXPECT_EQ(failing.callsWithoutJob, QStringList());
    }
}

TEST_F(PrintEditorTextTest, AFailureWithoutADescriptionStillSaysThatPrintingFailed)
{
    printer.failOperation = QStringLiteral("endJob");
    printer.failDescription = QString();
    print();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_FALSE(messages.shown.first().text.isEmpty());
}

// A printer that runs out of memory while laying out.
class ExhaustedPrinter : public FakePrinter {
public:
    qint64 renderRange(QByteArrayView, const QFont &, qint64, const TwipsRect &) override
    {
        throw std::bad_alloc();
    }
};

TEST_F(PrintEditorTextTest, RunningOutOfMemoryIsReportedAndTheJobCancelled)
{
    ExhaustedPrinter exhausted;
    test::setTextOf(editor, QStringLiteral("AC:1001"));
    PrintEditorText(editor, font, 1400, 1400, 1400, 1400, {exhausted, messages, window});
    expectFailureShown(QStringLiteral("There is not enough memory to print the document."));
    EXPECT_EQ(exhausted.abortedJobs, 1);
    EXPECT_TRUE(exhausted.printedJobs.isEmpty());
    EXPECT_FALSE(window.busyNow);
}

// --- A sheet too small for the margins -------------------------------------------

TEST_F(PrintEditorTextTest, MarginsThatLeaveNoRoomForALineEndTheJobWithAMessage)
{
    test::setTextOf(editor, QStringLiteral("AC:1001\r\nBG:5"));
    // 16838 - 8400 - 8400 leaves 38 twips, less than a line.
    print(1400, 8400, 1400, 8400);
    expectFailureShown(printNoRoomMessage());
    EXPECT_TRUE(printer.printedJobs.isEmpty());
    EXPECT_EQ(printer.abortedJobs, 1);
    EXPECT_EQ(printer.calls.count(QStringLiteral("renderRange")), 1);
    EXPECT_FALSE(printer.calls.contains(QStringLiteral("newPage")));
}

TEST_F(PrintEditorTextTest, MarginsThatLeaveNoRoomForACharacterEndTheJobWithAMessage)
{
    test::setTextOf(editor, QStringLiteral("AC:1001"));
    print(6000, 1400, 5850, 1400); // 56 twips wide, less than a character
    expectFailureShown(printNoRoomMessage());
    EXPECT_TRUE(printer.printedJobs.isEmpty());
}

TEST_F(PrintEditorTextTest, MarginsThatCrossEndTheJobWithAMessage)
{
    test::setTextOf(editor, QStringLiteral("AC:1001"));
    print(9000, 1400, 9000, 1400);
    expectFailureShown(printNoRoomMessage());
    ASSERT_EQ(printer.drawingRects.size(), 1);
    EXPECT_LT(printer.drawingRects.first().width(), 0);
    EXPECT_TRUE(printer.printedJobs.isEmpty());
}

TEST_F(PrintEditorTextTest, AnEmptyDocumentPrintsItsBlankPageWhateverTheMargins)
{
    print(1400, 8400, 1400, 8400);
    expectNoMessage();
    ASSERT_EQ(printer.printedJobs.size(), 1);
    EXPECT_EQ(printer.printedJobs.first().size(), 1);
}

// A printer whose pages stop taking text after the first one.
class StallingPrinter : public FakePrinter {
public:
    qint64 renderRange(QByteArrayView text, const QFont &font, qint64 from, const TwipsRect &drawing) override
    {
        const qint64 next = FakePrinter::renderRange(text, font, from, drawing);
        return renderFroms.size() > 1 ? from : next;
    }
};

TEST_F(PrintEditorTextTest, APageThatTakesNothingEndsTheJobInsteadOfLoopingForever)
{
    StallingPrinter stalling;
    test::setTextOf(editor, joinLines(numberedLines(int(linesPerPage()) * 3)));
    PrintEditorText(editor, font, 1400, 1400, 1400, 1400, {stalling, messages, window});
    expectFailureShown(printNoRoomMessage());
    EXPECT_EQ(stalling.calls.count(QStringLiteral("renderRange")), 2);
    EXPECT_TRUE(stalling.printedJobs.isEmpty());
    EXPECT_EQ(stalling.abortedJobs, 1);
}

} // namespace
} // namespace zuno
