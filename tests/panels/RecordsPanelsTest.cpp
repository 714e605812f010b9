// The records as a structure in the real main window on the offscreen
// platform: the records panel following the caret and the text, Go To
// Record, next and previous record, folding (also through edits of a
// record's first line), and the problems panel.
#include "panels/RecordsView.h"
#include "panels/frmGoToRecord.h"
#include "platform/qt/QtFolds.h"
#include "platform/qt/QtSettings.h"
#include "support/EditText.h"
#include "window/frmEditor.h"

#include <Qsci/qsciscintillabase.h>

#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSettings>
#include <QTest>

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

using Sci = QsciScintillaBase;

const QString Road = QStringLiteral("PN:ROAD1\r\nAC:1001\r\nNM:CENTRE LINE\r\nBG:CL\r\nPL:1,2,3\r\nEG:CL\r\n"
                                    "AC:1002\r\nNM:LEFT EDGE OF SEAL\r\nBG:LE\r\nPL:4,5\r\nEG:LE\r\n"
                                    "AC:1003\r\nNM:RIGHT EDGE OF SEAL\r\nAC:OS\r\nCP:1001");

bool waitFor(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 5000);
}

class RecordsPanels : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(QtSettingsStore::filePath(QStringLiteral("ZUNOPad")));
        window = std::make_unique<frmEditor>();
        // Room for the panels beside the text.
        window->resize(900, 600);
        window->show();
        test::setTextOf(*window->editor(), Road);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        window->editor()->setModified(false);
        window.reset();
    }
    QAction *action(const char *name) const { return window->findChild<QAction *>(QString::fromLatin1(name)); }
    RecordsView &view() const { return window->recordsView(); }
    long send(unsigned int message, unsigned long wParam = 0, long lParam = 0) const
    {
        return window->editor()->SendScintilla(message, wParam, lParam);
    }
    long caretLine() const { return send(Sci::SCI_LINEFROMPOSITION, send(Sci::SCI_GETCURRENTPOS)); }
    // The caret moved in the text, as the user moves it there.
    void caretTo(long line) const
    {
        window->editor()->setFocus();
        send(Sci::SCI_GOTOLINE, line);
        QApplication::processEvents();
    }
    static QString currentText(const QListView *list)
    {
        return list->currentIndex().data().toString();
    }
    QStringList rows(const QListView *list) const
    {
        QStringList shown;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            shown.append(list->model()->index(row, 0).data().toString());
        return shown;
    }
    std::unique_ptr<frmEditor> window;
};

TEST_F(RecordsPanels, TheRecordsPanelListsTheRecordsAndFollowsTheCaretAndTheText)
{
    action("mnuViewRecords")->trigger();
    ASSERT_TRUE(waitFor([&] { return view().recordsPanel()->isVisible(); }));
    QListView *list = view().recordsList();
    EXPECT_EQ(rows(list), (QStringList{"File head", "AC:1001  CENTRE LINE", "    BG:CL", "    EG:CL",
                                       "AC:1002  LEFT EDGE OF SEAL", "    BG:LE", "    EG:LE",
                                       "AC:1003  RIGHT EDGE OF SEAL", "AC:OS", "    CP:1001"}));
    EXPECT_TRUE(list->model()->index(8, 0).data(Qt::FontRole).value<QFont>().italic()); // separated
    QCoreApplication::processEvents(); // the settings are written once the change is handled
    EXPECT_EQ(QSettings(QtSettingsStore::filePath(QStringLiteral("ZUNOPad")), QSettings::IniFormat)
                  .value(QStringLiteral("View/RecordsPanel")).toString(),
              QStringLiteral("1"));

    caretTo(9); // the PL line of BG:LE
    EXPECT_TRUE(waitFor([&] { return currentText(list) == QStringLiteral("    BG:LE"); })) << currentText(list).toStdString();
    caretTo(12);
    EXPECT_TRUE(waitFor([&] { return currentText(list) == QStringLiteral("AC:1003  RIGHT EDGE OF SEAL"); }))
        << currentText(list).toStdString();

    // A BG value and a name edited: the panel is told to show the rows
    // again (their texts are read from the document as they are shown).
    std::vector<int> shownAgain;
    QObject::connect(list->model(), &QAbstractItemModel::dataChanged, list,
                     [&](const QModelIndex &top, const QModelIndex &bottom) {
                         for (int row = top.row(); row <= bottom.row(); ++row)
                             shownAgain.push_back(row);
                     });
    const auto typeAt = [&](int position, const QString &text) {
        shownAgain.clear();
        window->editor()->setSelStart(position);
        window->editor()->setSelLength(0);
        window->editor()->setSelText(text);
    };
    typeAt(40, QStringLiteral("X")); // after BG:CL
    ASSERT_TRUE(waitFor([&] { return std::count(shownAgain.begin(), shownAgain.end(), 2) > 0; }));
    EXPECT_EQ(rows(list).at(2), QStringLiteral("    BG:CLX"));
    typeAt(33, QStringLiteral("S")); // after NM:CENTRE LINE
    ASSERT_TRUE(waitFor([&] { return std::count(shownAgain.begin(), shownAgain.end(), 1) > 0; }));
    EXPECT_EQ(rows(list).at(1), QStringLiteral("AC:1001  CENTRE LINES"));

    // A record typed in adds its entry.
    window->editor()->setSelStart(window->editor()->textLength());
    window->editor()->setSelText(QStringLiteral("\r\nAC:1004"));
    ASSERT_TRUE(waitFor([&] { return rows(list).contains(QStringLiteral("AC:1004")); }));

    // The filter narrows the list; choosing an entry goes to its line and
    // gives the text the focus.
    view().recordsFilter()->setText(QStringLiteral("left"));
    EXPECT_EQ(rows(list), (QStringList{"AC:1002  LEFT EDGE OF SEAL", "    BG:LE", "    EG:LE"}));
    emit list->activated(list->model()->index(1, 0));
    EXPECT_EQ(caretLine(), 8);
    EXPECT_TRUE(waitFor([&] { return window->editor()->hasFocus(); }));
}

TEST_F(RecordsPanels, GoToRecordFindsByAcValueAndNameAndStaysOpenOnNoMatch)
{
    const struct {
        const char *typed;
        long line; // -1: no match
    } cases[] = {{"1003", 11}, {"left edge", 6}, {"999", -1}};
    for (const auto &c : cases) {
        caretTo(0);
        action("mnuEditGoToRecord")->trigger();
        auto *dialog = window->findChild<frmGoToRecord *>();
        ASSERT_TRUE(dialog && waitFor([&] { return dialog->isVisible(); })) << c.typed;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Go To Record"));
        dialog->txtGRRecord->setText(QString::fromLatin1(c.typed));
        QTest::keyClick(dialog->txtGRRecord, Qt::Key_Return);
        if (c.line < 0) {
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_EQ(dialog->lblGRStatus->text(), QStringLiteral("No record matches \"999\"."));
            EXPECT_EQ(caretLine(), 0);
            QTest::keyClick(dialog->txtGRRecord, Qt::Key_Escape);
            EXPECT_TRUE(waitFor([&] { return !dialog->isVisible(); }));
        } else {
            EXPECT_TRUE(waitFor([&] { return !dialog->isVisible(); })) << c.typed;
            EXPECT_EQ(caretLine(), c.line) << c.typed;
        }
    }
}

// The matches shown follow the index while the dialog is open: a text read
// afresh (a reload, a recovery) is searched again, never shown from the
// records of the text before it.
TEST_F(RecordsPanels, GoToRecordSearchesAgainWhenTheRecordsAreReadAgain)
{
    action("mnuEditGoToRecord")->trigger();
    auto *dialog = window->findChild<frmGoToRecord *>();
    ASSERT_TRUE(dialog && waitFor([&] { return dialog->isVisible(); }));
    dialog->txtGRRecord->setText(QStringLiteral("1"));
    dialog->txtGRRecord->setText(QStringLiteral("100"));
    EXPECT_EQ(rows(dialog->lstGRMatches).size(), 3);
    test::setTextOf(*window->editor(), QStringLiteral("AC:1009\r\nNM:LAST"));
    EXPECT_TRUE(waitFor([&] { return rows(dialog->lstGRMatches) == QStringList{"AC:1009  LAST"}; }))
        << rows(dialog->lstGRMatches).join(u'|').toStdString();
    EXPECT_EQ(dialog->lblGRStatus->text(), QStringLiteral("1 record"));
    QTest::keyClick(dialog->txtGRRecord, Qt::Key_Escape);
}

TEST_F(RecordsPanels, NextAndPreviousRecordGoToTheAcLines)
{
    caretTo(4);
    action("mnuViewNextRecord")->trigger();
    EXPECT_EQ(caretLine(), 6);
    action("mnuViewPreviousRecord")->trigger();
    EXPECT_EQ(caretLine(), 1);
}

TEST_F(RecordsPanels, FoldAllShowsEachRecordsFirstLineAndAJumpUnfolds)
{
    QtFolds &folds = view().folds();
    action("mnuViewFoldAll")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(folds.isHidden(1));
    EXPECT_TRUE(folds.isHidden(2));
    EXPECT_TRUE(folds.isHidden(9));
    EXPECT_FALSE(folds.isHidden(6));
    EXPECT_FALSE(folds.isHidden(0)); // the head does not fold

    // Go To Line, Find or F8 into a folded record: it opens.
    window->editor()->setSelStart(window->editor()->textBetween(0, window->editor()->textLength()).indexOf(u"PL:4"));
    EXPECT_TRUE(waitFor([&] { return !folds.isHidden(9); }));
    EXPECT_TRUE(folds.isHidden(2)); // the others stay folded

    action("mnuViewUnfoldAll")->trigger();
    EXPECT_FALSE(folds.isHidden(2));
}

TEST_F(RecordsPanels, FoldAllHoldsThroughAChangeOfView)
{
    QtFolds &folds = view().folds();
    action("mnuViewFoldAll")->trigger();
    action("mnuViewRecord")->trigger();
    // In the Record layout line 2 is BG:CL's line, inside AC:1001.
    EXPECT_TRUE(waitFor([&] { return folds.isHidden(2); }));
    EXPECT_FALSE(folds.isHidden(1));
    action("mnuViewList")->trigger();
    EXPECT_TRUE(waitFor([&] { return folds.isHidden(2) && folds.isHidden(9); }));
    EXPECT_FALSE(folds.isHidden(6));

    // Unfold All, or another text read, and a change of view folds nothing.
    for (const bool unfold : {true, false}) {
        action("mnuViewFoldAll")->trigger();
        if (unfold)
            action("mnuViewUnfoldAll")->trigger();
        else
            test::setTextOf(*window->editor(), Road);
        action("mnuViewRecord")->trigger();
        QApplication::processEvents();
        EXPECT_FALSE(folds.isHidden(2)) << unfold;
        action("mnuViewList")->trigger();
    }
}

TEST_F(RecordsPanels, TheProblemsPanelListsEveryMarkWholeAndGoesToIt)
{
    test::setTextOf(*window->editor(), QStringLiteral("AC:1\r\nREMARK X\r\nNM:MAIN  ROAD\r\nBG:5"));
    action("mnuViewProblems")->trigger();
    QListView *list = view().problemsList();
    ASSERT_TRUE(waitFor([&] { return list->model()->rowCount() == 2; }));
    EXPECT_EQ(rows(list).first(), QStringLiteral("Line 2, error: Invalid ZUNO Data Item 'REMARK X' on line 2"));
    EXPECT_TRUE(rows(list).last().startsWith(QStringLiteral("Line 3, warning: ")));
    EXPECT_EQ(view().problemsPanel()->windowTitle(), QStringLiteral("Problems (2)"));

    emit list->activated(list->model()->index(1, 0));
    EXPECT_EQ(caretLine(), 2);

    // Mended as it is typed.
    window->editor()->setSelStart(6);
    window->editor()->setSelLength(8);
    window->editor()->setSelText(QStringLiteral("XX:1"));
    EXPECT_TRUE(waitFor([&] { return list->model()->rowCount() == 1; }));
    EXPECT_TRUE(waitFor([&] { return view().problemsPanel()->windowTitle() == QStringLiteral("Problems (1)"); }));
}

TEST_F(RecordsPanels, ThePanelsShownAndWhereTheyStandAreRemembered)
{
    action("mnuViewRecords")->trigger();
    window->addDockWidget(Qt::RightDockWidgetArea, view().recordsPanel());
    window->editor()->setModified(false);
    ASSERT_TRUE(window->close());

    window = std::make_unique<frmEditor>();
    window->show();
    EXPECT_TRUE(waitFor([&] { return view().recordsPanel()->isVisible(); }));
    EXPECT_EQ(window->dockWidgetArea(view().recordsPanel()), Qt::RightDockWidgetArea);
    EXPECT_TRUE(action("mnuViewRecords")->isChecked());
    EXPECT_FALSE(view().problemsPanel()->isVisible());
    EXPECT_FALSE(action("mnuViewProblems")->isChecked());
    EXPECT_FALSE(view().recordsPanel()->accessibleName().isEmpty());
}

// A fold whose first line is deleted or stops beginning a record is shown
// whole, with the folded record it joins: no line stays hidden where no
// folded box stands above it. A record typed into a folded one opens it.
TEST_F(RecordsPanels, FoldsFollowEditsThatRemoveOrAddTheirFirstLines)
{
    action("mnuViewProblems")->trigger();
    action("mnuViewRecords")->trigger();
    const QByteArray road = "PN:ROAD1\r\nAC:1001\r\nNM:CENTRE LINE\r\nBG:CL\r\nPL:1,2,3\r\nEG:CL\r\n"
                            "AC:1002\r\nNM:LEFT EDGE\r\nBG:LE\r\nPL:4,5\r\nEG:LE\r\nAC:1003\r\nXX:1";
    QtFolds &folds = window->recordsView().folds();
    // Each line: 'h' hidden, '.' shown; the levels are laid once the edit
    // is shown, so the lines are looked at until they read as expected.
    const auto hidden = [&](const std::string &expected) {
        std::string shown;
        waitFor([&] {
            shown.clear();
            const qint64 lines = window->editor()->lineFromChar(window->editor()->textLength()) + 1;
            for (qint64 line = 0; line < lines; ++line)
                shown += folds.isHidden(line) ? 'h' : '.';
            return shown == expected;
        });
        return shown;
    };
    const struct {
        const char *what;
        qint64 from; // AC:1002 begins at 59
        qint64 length;
        const char *put;
        const char *after;
        const char *undone;
    } cases[] = {
        {"AC line deleted", 59, 9, "", "...........h", "............h"},
        {"AC line renamed", 59, 3, "XX:", "............h", "............h"},
        {"AC line typed", 19, 0, "AC:1009\r\n", "........hhhh.h", ".......hhhh.h"},
    };
    for (const auto &c : cases) {
        window->editor()->setUtf8Text(road);
        QCoreApplication::processEvents(); // the new text is read
        window->findChild<QAction *>(QStringLiteral("mnuViewFoldAll"))->trigger();
        ASSERT_EQ(hidden("..hhhh.hhhh.h"), "..hhhh.hhhh.h") << c.what;
        window->editor()->setSelStart(c.from);
        window->editor()->setSelLength(c.length);
        window->editor()->setSelText(QString::fromLatin1(c.put));
        EXPECT_EQ(hidden(c.after), c.after) << c.what;
        window->editor()->undo();
        EXPECT_EQ(hidden(c.undone), c.undone) << c.what << " undone";
    }
}

} // namespace

