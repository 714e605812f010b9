// The shell's File > Reload and the floor under the fitted width, against
// the doubles.
#include "ShellOnDoubles.h"
#include "support/EditText.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

class ShellReload : public ::testing::Test, protected test::ShellOnDisk {
protected:
    QString write(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("ROAD1.PRJ"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(ShellReload, FitFloorIsWhatShowsTheMenusWhereThatIsWider)
{
    window.roundEditorWidth = false;
    const struct {
        std::optional<double> menus;
        int scrollWidth;
        double width;
    } cases[] = {
        {std::nullopt, 100, 2280},
        {1500, 100, 2280},                        // the 2280 twips stay where wider
        {4000, 100, 4000},                        // a short text: the menus decide
        {4000, 250, (250 / 7.9 + 3) * 120 + 120}, // a text wider than the menus
        {4000, 632, 10080},
    };
    for (const auto &c : cases) {
        window.menusWidth = c.menus;
        window.scrollWidth = c.scrollWidth;
        shell.fitWindowToText();
        EXPECT_NEAR(window.width(), c.width, 1e-3) << c.scrollWidth;
        EXPECT_NEAR(window.editorWidthCells() * 120 + 120, c.width, 1e-3) << "the control fills the window";
    }
}

TEST_F(ShellReload, ReloadReadsTheFileAgainInTheSameViewWithTheCaretKept)
{
    const QString path = write("AC:1001\r\nBG:5");
    ASSERT_TRUE(shell.openFile(path));
    editor.setSelStart(9);
    EXPECT_EQ(shell.diskState(), DiskState::Unchanged);

    write("AC:1001\r\nBG:6\r\nPL:1,2\r\nEG:7");
    EXPECT_EQ(shell.diskState(), DiskState::Changed);
    EXPECT_TRUE(shell.reloadFile());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1001\r\nBG:6\r\nPL:1,2\r\nEG:7"));
    EXPECT_EQ(editor.selStart(), 9);
    EXPECT_FALSE(editor.isModified());
    EXPECT_TRUE(messages.shown.isEmpty()) << "nothing to lose: no question";
    EXPECT_EQ(shell.diskState(), DiskState::Unchanged);

    shell.viewRecord();
    write("AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC\r\nAC:OS\r\nEG:7");
    EXPECT_TRUE(shell.reloadFile());
    EXPECT_TRUE(window.isRecordViewChecked());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1001\r\nBG:5  PL:1,2,3  XX:ABC\r\n\r\nAC:OS\r\nEG:7"));
    EXPECT_FALSE(editor.isModified());
}

TEST_F(ShellReload, UnsavedChangesGoOnlyAfterYes)
{
    const QString path = write("AC:1");
    ASSERT_TRUE(shell.openFile(path));
    test::setTextOf(editor, QStringLiteral("AC:MINE"));
    write("AC:THEIRS");

    messages.answers = {MessageResult::No};
    EXPECT_FALSE(shell.reloadFile());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:MINE"));
    EXPECT_TRUE(editor.isModified());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, reloadQuestion(path));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Reload"));
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);

    messages.answers = {MessageResult::Yes};
    EXPECT_TRUE(shell.reloadFile());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:THEIRS"));
    EXPECT_FALSE(editor.isModified());
}

TEST_F(ShellReload, AnUntitledDocumentHasNothingToReload)
{
    test::setTextOf(editor, QStringLiteral("AC:1"));
    EXPECT_FALSE(shell.reloadFile());
    EXPECT_EQ(shell.diskState(), DiskState::Unchanged);
    EXPECT_TRUE(messages.shown.isEmpty());

    const QString path = write("AC:1");
    ASSERT_TRUE(shell.openFile(path));
    QFile::remove(path);
    EXPECT_EQ(shell.diskState(), DiskState::Missing);
    messages.answers = {MessageResult::Ok};
    EXPECT_FALSE(shell.reloadFile()) << "a file gone cannot be read again";
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1"));
}

// Other windows as the test sets them.
struct FakePeers : IPeerWindows {
    void hold(const QString &path) override { held = path; }
    HeldElsewhere bringForwardHolder(const QString &path) override
    {
        asked << path;
        return answer;
    }
    QList<QPoint> places() const override { return {}; }
    HeldElsewhere answer = HeldElsewhere::No;
    QString held;
    QStringList asked;
};

TEST_F(ShellReload, AFileAnotherWindowHoldsComesForwardThereOrOpensReadOnly)
{
    FakePeers peers;
    shell.setPeers(&peers);
    const QString path = write("AC:1");
    test::setTextOf(editor, QStringLiteral("AC:KEEP"));
    editor.setModified(false);

    peers.answer = HeldElsewhere::BroughtForward;
    EXPECT_FALSE(shell.openFile(path));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:KEEP")) << "no second copy";
    EXPECT_TRUE(messages.shown.isEmpty());

    peers.answer = HeldElsewhere::Unreachable;
    messages.answers = {MessageResult::Ok};
    EXPECT_TRUE(shell.openFile(path));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1"));
    EXPECT_TRUE(editor.readOnly);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("File Already Open"));
    EXPECT_EQ(messages.shown[0].text, heldElsewhereMessage(path));

    shell.fileNew();
    EXPECT_FALSE(editor.readOnly);
    peers.answer = HeldElsewhere::No;
    EXPECT_TRUE(shell.openFile(path));
    EXPECT_FALSE(editor.readOnly);
    EXPECT_EQ(peers.asked, QStringList({path, path, path}));
}

TEST(CascadedPlace, ANewWindowStepsClearOfTheOthersWithinTheArea)
{
    const QRect area(0, 0, 1000, 800);
    const QSize size(400, 500);
    const struct {
        QPoint wanted;
        QList<QPoint> others;
        QPoint place;
    } cases[] = {
        {{100, 50}, {}, {100, 50}},
        {{100, 50}, {{300, 300}}, {100, 50}},
        {{100, 50}, {{102, 49}}, {130, 80}},                 // nearly there counts
        {{100, 50}, {{100, 50}, {130, 80}}, {160, 110}},
        {{500, 280}, {{500, 280}, {530, 310}}, {30, 0}},     // the bottom passed: from the top again
    };
    for (const auto &c : cases)
        EXPECT_EQ(cascadedPlace(c.wanted, c.others, size, area, 30), c.place) << c.wanted.x() << "," << c.wanted.y();
}

} // namespace
