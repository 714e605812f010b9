// File > Print in the real main window, on a real CUPS print queue that
// writes PDF files. Runs under tests/print/with_cups.sh, which starts a
// private CUPS server and tells where the PDF files land (ZUNO_PDF_DIR).
// The PDF files are read back with pdftotext (poppler-utils): the pages, the
// text on each page in order, and where each word stands.
#include "window/frmEditor.h"
#include "support/EditText.h"
#include "platform/qt/QtPrinter.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/ModalAnswers.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace zuno {
namespace {

// 1400 twips in points.
constexpr double Margin = 70.0;
// How far a word's box may stray: the fonts' boxes and the PDF round-trip
// through PostScript are not exact to the point.
constexpr double Tolerance = 1.0;

struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

struct PdfLine {
    QStringList words;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};

struct PdfPage {
    double width = 0, height = 0;
    QList<PdfWord> words;

    // The words grouped into lines, top to bottom.
    QList<PdfLine> lines() const
    {
        QList<PdfLine> result;
        for (const PdfWord &word : words) {
            if (result.isEmpty() || std::abs(result.last().yMin - word.yMin) > 1.0) {
                result.append({{}, word.xMin, word.yMin, word.xMax, word.yMax});
            }
            PdfLine &line = result.last();
            line.words.append(word.text);
            line.xMin = std::min(line.xMin, word.xMin);
            line.xMax = std::max(line.xMax, word.xMax);
            line.yMax = std::max(line.yMax, word.yMax);
        }
        return result;
    }
};

QString run(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
    }
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
}

QString unescape(QString text)
{
    return text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

QList<PdfPage> readPdf(const QString &path)
{
    int status = 0;
    const QString out = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}, &status);
    EXPECT_EQ(status, 0) << out.toStdString();
    static const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">"));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.-]+)\" yMin=\"([0-9.-]+)\" xMax=\"([0-9.-]+)\" yMax=\"([0-9.-]+)\">([^<]*)</word>"));
    QList<PdfPage> pages;
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        if (const auto m = page.match(line); m.hasMatch()) {
            pages.append({m.captured(1).toDouble(), m.captured(2).toDouble(), {}});
        } else if (const auto w = word.match(line); w.hasMatch() && !pages.isEmpty()) {
            pages.last().words.append({unescape(w.captured(5)), w.captured(1).toDouble(), w.captured(2).toDouble(),
                                       w.captured(3).toDouble(), w.captured(4).toDouble()});
        }
    }
    return pages;
}

QStringList wordsOf(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

QStringList wordsOf(const QList<PdfPage> &pages)
{
    QStringList words;
    for (const PdfPage &page : pages)
        for (const PdfWord &word : page.words)
            words.append(word.text);
    return words;
}

using test::ShownBox;

// Runs `action`; expects it to show `count` message boxes, notes them and
// closes each with OK.
QList<ShownBox> closingMessageBoxes(const std::function<void()> &action, int count)
{
    test::ModalAnswers answers;
    for (int i = 0; i < count; ++i)
        answers.messageBox(QMessageBox::Ok);
    answers.run(action);
    return answers.shown();
}

class CupsPrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pdfDir = qEnvironmentVariable("ZUNO_PDF_DIR");
        queue = qEnvironmentVariable("ZUNO_CUPS_QUEUE");
        if (pdfDir.isEmpty() || queue.isEmpty())
            GTEST_SKIP() << "needs the private CUPS server of tests/print/with_cups.sh";
        ASSERT_TRUE(work.isValid());
    }

    QString writeFile(const QString &name, const QString &content)
    {
        const QString path = work.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content.toLatin1());
        return path;
    }

    // The main window as the program starts it, with `path` on its command
    // line (nothing for an untitled document).
    std::unique_ptr<frmEditor> openWindow(const QString &path = QString())
    {
        auto window = std::make_unique<frmEditor>();
        window->formLoad(path.isEmpty() ? QString() : QLatin1Char('"') + path + QLatin1Char('"'));
        window->show();
        QApplication::processEvents();
        return window;
    }

    static void choose(frmEditor &window, const char *entry)
    {
        auto *action = window.findChild<QAction *>(QString::fromLatin1(entry));
        ASSERT_NE(action, nullptr) << entry;
        action->trigger();
    }

    QStringList pdfFiles() const
    {
        return QDir(pdfDir).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }

    QString jobs(const char *which) const
    {
        return run(QStringLiteral("lpstat"), {QStringLiteral("-W"), QString::fromLatin1(which), QStringLiteral("-o")})
            .trimmed();
    }

    QString serverLog() const
    {
        QFile log(QDir(qEnvironmentVariable("ZUNO_CUPS_LOG_DIR")).filePath(QStringLiteral("error_log")));
        return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(3000)) : QString();
    }

    // File > Print; waits until the queue has written the PDF file of the
    // job and returns its path (empty when none came).
    QString printAndCollect(frmEditor &window)
    {
        const QStringList before = pdfFiles();
        // A message box here fails the test: printing is to go through silently.
        closingMessageBoxes([&]() { choose(window, "mnuFilePrint"); }, 0);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60000) {
            if (jobs("not-completed").isEmpty()) {
                QStringList now = pdfFiles();
                for (const QString &name : before)
                    now.removeAll(name);
                if (!now.isEmpty()) {
                    EXPECT_EQ(now.size(), 1) << now.join(QLatin1Char(' ')).toStdString();
                    return QDir(pdfDir).filePath(now.first());
                }
            }
            QThread::msleep(100);
        }
        ADD_FAILURE() << "no PDF file came out; jobs: " << jobs("all").toStdString() << "\n"
                      << serverLog().toStdString();
        return QString();
    }

    // Every word inside the margins of 1400 twips.
    static void expectInsideMargins(const QList<PdfPage> &pages)
    {
        for (qsizetype p = 0; p < pages.size(); ++p) {
            const PdfPage &page = pages[p];
            for (const PdfWord &word : page.words) {
                const std::string where = "page " + std::to_string(p + 1) + " word " + word.text.toStdString();
                EXPECT_GE(word.xMin, Margin - Tolerance) << where;
                EXPECT_LE(word.xMax, page.width - Margin + Tolerance) << where;
                EXPECT_GE(word.yMin, Margin - Tolerance) << where;
                EXPECT_LE(word.yMax, page.height - Margin + Tolerance) << where;
            }
        }
    }

    QTemporaryDir work;
    QString pdfDir;
    QString queue;
};

class CupsPrintTest : public CupsPrintingTest {
protected:
    void SetUp() override
    {
        CupsPrintingTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(QPrinterInfo::defaultPrinter().printerName(), queue) << "the queue is not the default printer";
    }
};

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("XX:LINE%1").arg(i, 3, 10, QLatin1Char('0')));
    return lines.join(QStringLiteral("\r\n"));
}

TEST_F(CupsPrintTest, JobsGoToTheDefaultPrinterWithItsPaperAndPrintableArea)
{
    auto made = QtPrinter::defaultPrinter();
    ASSERT_TRUE(made.ok()) << made.error().description.toStdString();
    const std::unique_ptr<QPrinter> printer = std::move(made).value();
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->printerName(), queue);
    EXPECT_EQ(printer->outputFormat(), QPrinter::NativeFormat);
    EXPECT_TRUE(printer->outputFileName().isEmpty());
    const QPageLayout layout = printer->pageLayout();
    EXPECT_EQ(layout.pageSize().id(), QPrinterInfo::defaultPrinter().defaultPageSize().id());
    EXPECT_EQ(layout.orientation(), QPageLayout::Portrait);
    // The queue's PPD declares no unprintable border.
    EXPECT_EQ(layout.margins(), layout.minimumMargins());
    EXPECT_EQ(layout.margins(QPageLayout::Point), QMarginsF(0, 0, 0, 0));
}

TEST_F(CupsPrintTest, TheListViewIsPrintedPageByPageBetweenTheMargins)
{
    const QString text = numberedLines(150);
    auto window = openWindow(writeFile(QStringLiteral("PRINTME.PRJ"), text));
    EditorWidget &editor = *window->editor();
    ASSERT_EQ(test::textOf(editor), text);
    editor.setSelStart(20);
    editor.setSelLength(5);
    const QString pdf = printAndCollect(*window);
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_TRUE(QFileInfo(pdf).fileName().contains(QStringLiteral("PRINTME"))) << pdf.toStdString();

    const QList<PdfPage> pages = readPdf(pdf);
    ASSERT_GE(pages.size(), 3);
    // The queue's default paper, A4.
    EXPECT_NEAR(pages.first().width, 595, 1);
    EXPECT_NEAR(pages.first().height, 842, 1);
    // The text, line by line and nothing else: no header, footer or number.
    EXPECT_EQ(wordsOf(pages), wordsOf(text));
    expectInsideMargins(pages);

    double left = 1e9;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QList<PdfLine> lines = pages[p].lines();
        ASSERT_GE(lines.size(), 2) << "page " << p + 1;
        const double pitch = lines[1].yMin - lines[0].yMin;
        EXPECT_GT(pitch, 9.75) << "one line of Courier 9.75 pt apart";
        EXPECT_LT(pitch, 14.0);
        // The first line starts at the top margin.
        EXPECT_LT(lines.first().yMin, Margin + pitch) << "page " << p + 1;
        // Every page but the last is full to the bottom margin.
        if (p + 1 < pages.size()) {
            EXPECT_GT(lines.last().yMax + pitch, pages[p].height - Margin - Tolerance) << "page " << p + 1;
        }
        for (const PdfLine &line : lines)
            left = std::min(left, line.xMin);
    }
    // The text starts at the left margin (not at the toolkit's own 2 cm).
    EXPECT_NEAR(left, Margin, Tolerance);

    // Printing changes nothing in the document.
    EXPECT_EQ(test::textOf(editor), text);
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(editor.selStart(), 20);
    EXPECT_EQ(editor.selLength(), 5);
}

TEST_F(CupsPrintTest, ATextOfExactlyTwoPagesPrintsTwoPages)
{
    // How many lines a page holds, from a longer text.
    auto window = openWindow(writeFile(QStringLiteral("COUNT.PRJ"), numberedLines(150)));
    const QString counted = printAndCollect(*window);
    ASSERT_FALSE(counted.isEmpty());
    const qsizetype perPage = readPdf(counted).value(0).lines().size();
    ASSERT_GT(perPage, 20);
    ASSERT_LT(perPage, 75);

    struct Case {
        QString text;
        qsizetype pages;
    };
    const QList<Case> cases = {{numberedLines(int(2 * perPage)), 2},
                               {numberedLines(int(2 * perPage)) + QStringLiteral("\r\n"), 2},
                               {numberedLines(int(2 * perPage) + 1), 3}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.right(20).toStdString());
        test::setTextOf(*window->editor(), c.text);
        const QString pdf = printAndCollect(*window);
        ASSERT_FALSE(pdf.isEmpty());
        const QList<PdfPage> pages = readPdf(pdf);
        ASSERT_EQ(pages.size(), c.pages);
        EXPECT_EQ(pages[0].lines().size(), perPage);
        EXPECT_EQ(pages[1].lines().size(), perPage);
        EXPECT_EQ(wordsOf(pages), wordsOf(c.text));
    }
    // The window goes without its close: the texts set here are no changes
    // for a later window of this process to be offered.
    window->editor()->setModified(false);
}

TEST_F(CupsPrintTest, AnUntitledEmptyDocumentPrintsOneBlankPage)
{
    auto window = openWindow();
    ASSERT_TRUE(test::textOf(*window->editor()).isEmpty());
    const QString pdf = printAndCollect(*window);
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_TRUE(QFileInfo(pdf).fileName().contains(QStringLiteral("Untitled"))) << pdf.toStdString();
    const QList<PdfPage> pages = readPdf(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages.first().words.isEmpty());
}

TEST_F(CupsPrintTest, LongLinesAreWrappedAtTheRightMarginAndNothingIsCut)
{
    QStringList values;
    for (int i = 1; i <= 90; ++i)
        values.append(QStringLiteral("V%1").arg(i * 3, 3, 10, QLatin1Char('0')));
    const QString text = QStringLiteral("XX:") + values.join(QLatin1Char(' ')) + QStringLiteral("\r\nAC:END");
    auto window = openWindow(writeFile(QStringLiteral("WIDE.PRJ"), text));
    const QString pdf = printAndCollect(*window);
    ASSERT_FALSE(pdf.isEmpty());
    const QList<PdfPage> pages = readPdf(pdf);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(wordsOf(pages), wordsOf(text));
    expectInsideMargins(pages);
    const QList<PdfLine> lines = pages.first().lines();
    // 363 characters at about 78 a line: five lines, then AC:END.
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines.last().words, QStringList{QStringLiteral("AC:END")});
    // Full lines reach to within a word of the right margin.
    EXPECT_GT(lines[0].xMax, pages.first().width - Margin - 30);
    // Each continued line starts at the left margin.
    for (const PdfLine &line : lines)
        EXPECT_NEAR(line.xMin, Margin, Tolerance);
}

TEST_F(CupsPrintTest, TheRecordViewIsPrintedAsShown)
{
    QStringList values;
    for (int i = 100; i < 140; ++i)
        values.append(QString::number(i));
    QStringList list;
    for (int record = 0; record < 30; ++record) {
        list << QStringLiteral("AC:%1").arg(1001 + record) << QStringLiteral("BG:5") << QStringLiteral("PL:1,2,3")
             << QStringLiteral("XX:ABC") << QStringLiteral("AC:OS") << QStringLiteral("EG:7");
        if (record % 10 == 0)
            list << QStringLiteral("CP:9") << QStringLiteral("PL:") + values.join(QLatin1Char(','));
    }
    const QString listText = list.join(QStringLiteral("\r\n"));
    auto window = openWindow(writeFile(QStringLiteral("RECORDS.PRJ"), listText));
    choose(*window, "mnuViewRecord");
    const QString recordText = test::textOf(*window->editor());
    ASSERT_NE(recordText, listText) << "View > Record did not convert the text";
    ASSERT_TRUE(recordText.contains(QStringLiteral("BG:5  PL:1,2,3  XX:ABC")));
    ASSERT_TRUE(recordText.contains(QStringLiteral("\r\n       PL:")));
    const bool modified = window->editor()->isModified();

    const QString pdf = printAndCollect(*window);
    ASSERT_FALSE(pdf.isEmpty());
    const QList<PdfPage> pages = readPdf(pdf);
    ASSERT_GE(pages.size(), 2);
    EXPECT_EQ(wordsOf(pages), wordsOf(recordText));
    expectInsideMargins(pages);

    // The joined items stand on one printed line, two spaces apart.
    QList<PdfLine> lines;
    for (const PdfPage &page : pages)
        lines += page.lines();
    const auto joined = std::find_if(lines.cbegin(), lines.cend(), [](const PdfLine &line) {
        return line.words == QStringList{QStringLiteral("BG:5"), QStringLiteral("PL:1,2,3"), QStringLiteral("XX:ABC")};
    });
    ASSERT_NE(joined, lines.cend());
    const double charWidth = (joined->xMax - joined->xMin) / QStringLiteral("BG:5  PL:1,2,3  XX:ABC").size();
    EXPECT_NEAR(charWidth, 0.6 * 9.75, 0.3);
    // The continuation lines of the long PL items keep their indent of
    // seven spaces (those that fit a printed line).
    const double width = pages.first().width - 2 * Margin;
    int continuations = 0;
    for (const QString &line : recordText.split(QStringLiteral("\r\n"))) {
        if (!line.startsWith(QStringLiteral("       PL:")) || line.size() * charWidth > width)
            continue;
        const auto printed = std::find_if(lines.cbegin(), lines.cend(),
                                          [&](const PdfLine &pdfLine) { return pdfLine.words == wordsOf(line); });
        ASSERT_NE(printed, lines.cend()) << line.toStdString();
        EXPECT_NEAR(printed->xMin, Margin + 7 * charWidth, Tolerance) << line.toStdString();
        ++continuations;
    }
    EXPECT_GE(continuations, 3);
    // Still in Record view, with the modified flag as it was.
    EXPECT_EQ(test::textOf(*window->editor()), recordText);
    EXPECT_EQ(window->editor()->isModified(), modified);
}

TEST_F(CupsPrintTest, APrinterThatRefusesTheJobShowsWhyAndNothingIsPrinted)
{
    int status = 0;
    const QString rejected = run(QStringLiteral("cupsreject"), {queue}, &status);
    ASSERT_EQ(status, 0) << rejected.toStdString();
    const QString text = numberedLines(5);
    auto window = openWindow(writeFile(QStringLiteral("REFUSED.PRJ"), text));
    const QStringList before = pdfFiles();
    const QString jobsBefore = jobs("all");
    const QList<ShownBox> boxes = closingMessageBoxes([&]() { choose(*window, "mnuFilePrint"); }, 1);
    run(QStringLiteral("cupsaccept"), {queue});

    ASSERT_EQ(boxes.size(), 1);
    // CUPS's own description of the refusal.
    EXPECT_TRUE(boxes.first().text.contains(QStringLiteral("not accepting jobs"))) << boxes.first().text.toStdString();
    EXPECT_EQ(boxes.first().icon, QMessageBox::NoIcon);
    EXPECT_EQ(boxes.first().title, QStringLiteral("ZUNOPad"));
    EXPECT_EQ(boxes.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(jobs("all"), jobsBefore);
    EXPECT_EQ(pdfFiles(), before);
    EXPECT_EQ(test::textOf(*window->editor()), text);
    EXPECT_FALSE(window->editor()->isModified());
}

// Run with the queue installed but no default printer.
class CupsNoDefaultPrinterTest : public CupsPrintingTest {};

TEST_F(CupsNoDefaultPrinterTest, WithoutADefaultPrinterTheMessageShowsAndNothingIsPrinted)
{
    ASSERT_TRUE(QPrinterInfo::defaultPrinter().isNull()) << "a default printer is set";
    // QPrinter would have fallen back to this one.
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(queue));
    const QString text = numberedLines(5);
    auto window = openWindow(writeFile(QStringLiteral("NOPRINTER.PRJ"), text));
    window->editor()->setSelStart(3);
    const QList<ShownBox> boxes = closingMessageBoxes([&]() { choose(*window, "mnuFilePrint"); }, 1);

    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.first().text, QtPrinter::noDefaultPrinterMessage());
    EXPECT_EQ(boxes.first().icon, QMessageBox::NoIcon);
    EXPECT_EQ(boxes.first().title, QStringLiteral("ZUNOPad"));
    EXPECT_EQ(boxes.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // A job is handed to the server before Print returns, so one would be
    // listed by now.
    EXPECT_EQ(jobs("all"), QString());
    EXPECT_TRUE(pdfFiles().isEmpty());
    EXPECT_EQ(test::textOf(*window->editor()), text);
    EXPECT_EQ(window->editor()->selStart(), 3);
    EXPECT_FALSE(window->editor()->isModified());
}

} // namespace
} // namespace zuno
