// The data items in the real main window on the offscreen platform: the
// marks as the text is typed, F8 and Shift+F8, the margins, the code colours
// and the status bar's record and problem count.
#include "items/CodeColours.h"
#include "items/DataItemView.h"
#include "window/frmEditor.h"
#include "platform/qt/QtSettings.h"

#include <Qsci/qsciscintillabase.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>

#include <tuple>

#include <functional>
#include "support/ScreenPixels.h"
#include <gtest/gtest.h>

using namespace zuno;

namespace {

using Sci = QsciScintillaBase;

// Whether the condition came true within five seconds, events handled.
bool waitFor(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 5000);
}

QAction *action(const frmEditor &window, const char *name)
{
    return window.findChild<QAction *>(QString::fromLatin1(name));
}

QString label(const frmEditor &window, const char *name)
{
    return window.findChild<QLabel *>(QString::fromLatin1(name))->text();
}

// Whether the label comes to read `text` within the deadline.
::testing::AssertionResult labelReads(const frmEditor &window, const char *name, const QString &text)
{
    if (waitFor([&] { return label(window, name) == text; }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << " reads " << label(window, name).toStdString();
}

long send(const frmEditor &window, unsigned int message, unsigned long wParam = 0, long lParam = 0)
{
    return window.editor()->SendScintilla(message, wParam, lParam);
}

long caretLine(const frmEditor &window)
{
    return send(window, Sci::SCI_LINEFROMPOSITION, send(window, Sci::SCI_GETCURRENTPOS));
}

// What the settings file holds once the change in hand has been handled
// (the settings are written then, all at once).
QString storedSetting(const QString &key)
{
    QCoreApplication::processEvents();
    return QSettings(QtSettingsStore::filePath(QStringLiteral("ZUNOPad")), QSettings::IniFormat).value(key).toString();
}

void clearSettings()
{
    QFile::remove(QtSettingsStore::filePath(QStringLiteral("ZUNOPad")));
}

class DataItemWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearSettings();
        window = std::make_unique<frmEditor>();
        window->show();
    }
    void TearDown() override
    {
        window->editor()->setModified(false);
        window.reset();
        clearSettings();
    }
    void load(const char *text)
    {
        window->editor()->setUtf8Text(QByteArray(text));
        window->editor()->setModified(false);
        // The new text is checked once the events at hand are handled.
        QCoreApplication::processEvents();
    }
    std::unique_ptr<frmEditor> window;
};

TEST_F(DataItemWindow, TypingMarksAndMendsALine)
{
    load("AC:1\r\nBG:5\r\nXX:2");
    EXPECT_TRUE(labelReads(*window, "lblProblemCount", QStringLiteral("No problems")));
    send(*window, Sci::SCI_GOTOPOS, send(*window, Sci::SCI_GETLENGTH));
    window->editor()->setSelText(QStringLiteral("\r\n"));
    QTest::keyClicks(window->editor(), QStringLiteral("REMARK X"));
    EXPECT_TRUE(labelReads(*window, "lblProblemCount", QStringLiteral("1 problem")));
    EXPECT_EQ(window->findChild<DataItemView *>()->marks().markAt(3), LineMark::Error);
    EXPECT_EQ(window->findChild<DataItemView *>()->marks().markAt(2), LineMark::None);
    // The underline lies under the line's text.
    const long lineStart = send(*window, Sci::SCI_POSITIONFROMLINE, 3);
    EXPECT_NE(send(*window, Sci::SCI_INDICATORALLONFOR, lineStart + 2), 0);
    // The colon mends it.
    send(*window, Sci::SCI_GOTOPOS, lineStart + 6);
    QTest::keyClick(window->editor(), Qt::Key_Colon);
    EXPECT_TRUE(labelReads(*window, "lblProblemCount", QStringLiteral("No problems")));
    EXPECT_EQ(window->findChild<DataItemView *>()->marks().markAt(3), LineMark::None);
}

TEST_F(DataItemWindow, ReplaceAllIsCheckedToo)
{
    load("AC:1\r\nBG:5\r\nXX:2");
    EXPECT_TRUE(labelReads(*window, "lblProblemCount", QStringLiteral("No problems")));
    // "BG:5" and "XX:2" lose their colons in one replacement of both.
    window->editor()->replaceRanges({{8, 9}, {14, 15}}, "-");
    EXPECT_TRUE(labelReads(*window, "lblProblemCount", QStringLiteral("2 problems")));
}

TEST_F(DataItemWindow, F8AndShiftF8GoToTheProblemsAndSayWhatIsWrong)
{
    load("AC:1\r\nX Y\r\nBG:1\r\nNM:A  B\r\nEG:2");
    EXPECT_TRUE(labelReads(*window, "lblProblemCount", QStringLiteral("2 problems")));
    QTest::keyClick(window->editor(), Qt::Key_F8);
    EXPECT_EQ(caretLine(*window), 1);
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 2"));
    // Backwards from the first problem, round to the last.
    QTest::keyClick(window->editor(), Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(caretLine(*window), 3);
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(QStringLiteral("The data item 'NM:A  B' on line 4")));
    // In the Record view, what View > List would stop at.
    load("AC:1\r\nBG:5\r\nPL:1,2");
    action(*window, "mnuViewRecord")->trigger();
    ASSERT_TRUE(action(*window, "mnuViewRecord")->isChecked());
    send(*window, Sci::SCI_GOTOPOS, send(*window, Sci::SCI_GETLENGTH));
    QTest::keyClicks(window->editor(), QStringLiteral("  junk"));
    EXPECT_TRUE(labelReads(*window, "lblProblemCount", QStringLiteral("1 problem")));
    QTest::keyClick(window->editor(), Qt::Key_F8);
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Unexpected data 'PL:1,2  JUNK'."));
}

TEST_F(DataItemWindow, TheProblemAtTheCaretIsShownInFullAndGoesWithIt)
{
    load("AC:1\r\nREMARK X\r\nBG:5");
    EXPECT_TRUE(labelReads(*window, "lblProblemCount", QStringLiteral("1 problem")));
    QStatusBar *bar = window->statusBar();
    const QString message = QStringLiteral("Invalid ZUNO Data Item 'REMARK X' on line 2");
    send(*window, Sci::SCI_GOTOLINE, 1);
    ASSERT_TRUE(waitFor([&] { return bar->currentMessage() == message; })) << bar->currentMessage().toStdString();
    EXPECT_EQ(bar->toolTip(), message);

    // The margin's symbol beside the line the message names (the margin
    // counts from 1 as the message does).
    QWidget *viewport = window->editor()->viewport();
    const long y = send(*window, Sci::SCI_POINTYFROMPOSITION, 0, send(*window, Sci::SCI_POSITIONFROMLINE, 1)) + 2;
    EXPECT_EQ(send(*window, Sci::SCI_GETMARGINTYPEN, 0), long(Sci::SC_MARGIN_NUMBER));
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, int(y)), viewport->mapToGlobal(QPoint(2, int(y))));
    QApplication::sendEvent(viewport, &tip);
    EXPECT_EQ(QToolTip::text(), message);

    send(*window, Sci::SCI_GOTOLINE, 2);
    EXPECT_TRUE(waitFor([&] { return bar->currentMessage().isEmpty(); })) << "a good line has no message";
    EXPECT_TRUE(bar->toolTip().isEmpty());
    send(*window, Sci::SCI_GOTOLINE, 1);
    ASSERT_TRUE(waitFor([&] { return bar->currentMessage() == message; }));
    action(*window, "mnuFileNew")->trigger();
    EXPECT_TRUE(waitFor([&] { return bar->currentMessage().isEmpty(); })) << "nor has a new document";
}

TEST_F(DataItemWindow, LineNumbersAreShownUntilHiddenAndRememberedAndTheWindowFitsThem)
{
    load("AC:1\r\nBG:5  PL:1,2,3  XX:ABC");
    const long numbers = send(*window, Sci::SCI_GETMARGINWIDTHN, 0);
    EXPECT_GT(numbers, 0);
    EXPECT_EQ(send(*window, Sci::SCI_GETMARGINTYPEN, 0), long(Sci::SC_MARGIN_NUMBER));
    // The marks' margin and the fold margin count too.
    EXPECT_GT(send(*window, Sci::SCI_GETMARGINWIDTHN, 2), 0);
    EXPECT_EQ(window->editorScrollWidth(), window->editor()->contentWidth() + numbers
                                               + send(*window, Sci::SCI_GETMARGINWIDTHN, 1)
                                               + send(*window, Sci::SCI_GETMARGINWIDTHN, 2));
    action(*window, "mnuViewLineNumbers")->trigger();
    EXPECT_EQ(send(*window, Sci::SCI_GETMARGINWIDTHN, 0), 0);
    // A new window starts without them.
    QCoreApplication::processEvents();
    frmEditor second;
    EXPECT_FALSE(action(second, "mnuViewLineNumbers")->isChecked());
    EXPECT_EQ(second.editor()->SendScintilla(Sci::SCI_GETMARGINWIDTHN, 0), 0);
}

TEST_F(DataItemWindow, CodesAreColouredByRoleOnScreenUntilTurnedOff)
{
    load("AC:1\r\nBG:5\r\nPL:1,2\r\nXX:3");
    const auto coloured = [&](long position) { return send(*window, Sci::SCI_INDICATORALLONFOR, position); };
    ASSERT_TRUE(waitFor([&] { return coloured(0) != 0; }));
    const long lines[] = {0, 1, 2, 3};
    QList<long> roles;
    for (const long line : lines) {
        const long start = send(*window, Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
        roles.append(coloured(start));
        // The value keeps the text's colour.
        EXPECT_EQ(coloured(start + 3), 0) << line;
    }
    // Four roles, four colours.
    EXPECT_EQ(QSet<long>(roles.begin(), roles.end()).size(), 4);
    action(*window, "mnuViewCodeColours")->trigger();
    EXPECT_EQ(coloured(0), 0);
    EXPECT_EQ(storedSetting(QStringLiteral("View/CodeColours")), QStringLiteral("0"));
}

// Typing in a line colours again and repaints only that line (the others
// keep their colours, moved with the text; the next line's symbols may be
// drawn again, as that line is checked again), and every line ends as
// coloured as a window that showed the edited text from the start.
TEST_F(DataItemWindow, AKeyColoursAndRepaintsOnlyItsLine)
{
    const char *text = "AC:1\r\nBG:5\r\nPL:1,2\r\nXX:3\r\nEG:5\r\nAC:2\r\nBG:6";
    load(text);
    const auto colours = [](const frmEditor &shown) {
        QList<long> all;
        for (long at = 0; at < send(shown, Sci::SCI_GETLENGTH); ++at)
            all.append(send(shown, Sci::SCI_INDICATORALLONFOR, static_cast<unsigned long>(at)));
        return all;
    };
    ASSERT_TRUE(waitFor([&] { return colours(*window).first() != 0; }));
    test::PaintedRegion rows;
    window->editor()->viewport()->installEventFilter(&rows);
    const long height = send(*window, Sci::SCI_TEXTHEIGHT, 0);
    // A letter in a record's name, a code made a problem, a trailing comma,
    // a new line (whose margins below are painted again, their text moved).
    const QRect textArea(window->editor()->marginsWidth(), 0, 1 << 16, 1 << 16);
    for (const auto &[line, column, key] :
         {std::tuple{1, 4, Qt::Key_7}, {3, 0, Qt::Key_Z}, {2, 6, Qt::Key_Comma}, {3, 2, Qt::Key_Return}}) {
        send(*window, Sci::SCI_GOTOPOS, send(*window, Sci::SCI_POSITIONFROMLINE, line) + column);
        QCoreApplication::processEvents();
        rows.region = QRegion();
        QTest::keyClick(window->editor(), key);
        // The line's repaint, then whatever the key left to repaint after it.
        ASSERT_TRUE(waitFor([&] { return rows.region.intersects(QRect(0, line * height, 1 << 16, height)); }));
        QCoreApplication::sendPostedEvents();
        // A letter's own row; Enter's and the new line's.
        const QRect bounds = (key == Qt::Key_Return ? rows.region.intersected(textArea) : rows.region).boundingRect();
        EXPECT_TRUE(bounds.top() >= line * height && bounds.bottom() < (line + (key == Qt::Key_Return ? 2 : 1)) * height)
            << line << ": painted " << bounds.top() << " to " << bounds.bottom();
    }
    frmEditor fresh;
    fresh.show();
    fresh.editor()->setUtf8Text(window->editor()->utf8Text().toByteArray());
    fresh.editor()->setModified(false);
    ASSERT_TRUE(waitFor([&] { return colours(fresh) == colours(*window); }))
        << "edited and fresh colours differ";
}

TEST_F(DataItemWindow, StatusBarShowsTheRecordUnderTheCaret)
{
    load("AC:7\r\nNM:MAIN\r\nBG:A1\r\nPL:1,2\r\nAC:8");
    send(*window, Sci::SCI_GOTOLINE, 3);
    EXPECT_TRUE(labelReads(*window, "lblRecordPlace", QStringLiteral("AC:7  NM:MAIN  BG:A1")));
    send(*window, Sci::SCI_GOTOLINE, 4);
    EXPECT_TRUE(labelReads(*window, "lblRecordPlace", QStringLiteral("AC:8")));
}

// WCAG's contrast ratio of two colours.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a) + 0.05;
    const double lb = luminance(b) + 0.05;
    return std::max(la, lb) / std::min(la, lb);
}

TEST(CodeColourContrast, EveryRoleStandsOutOnLightAndDarkBackgrounds)
{
    const ItemRole roles[] = {ItemRole::SeparatedRecordStart, ItemRole::RecordStart, ItemRole::LineStart,
                              ItemRole::ValueList, ItemRole::Joined};
    const QColor backgrounds[] = {Qt::white, QColor(0xF0, 0xF0, 0xF0), QColor(0x2B, 0x2B, 0x2B),
                                  QColor(0x1E, 0x1E, 0x1E), Qt::black};
    for (const QColor &background : backgrounds) {
        for (const ItemRole role : roles) {
            const QColor colour = CodeColours::colour(role, background.lightnessF() < 0.5);
            EXPECT_GE(contrast(colour, background), 4.5) << background.name().toStdString() << " " << int(role);
        }
    }
}

} // namespace
