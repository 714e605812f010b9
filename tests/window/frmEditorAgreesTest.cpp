// What the main window shows agrees with itself: every menu title and status
// field in view from the first start, the marker gone when undo comes back
// to the saved text, the font dialog's families all fixed-pitch, one Open
// Recent list for every window, a file changed on disk told in a bar, and
// the screen showing what the editor paints as keys are typed.
#include "window/frmEditor.h"
#include "document/DiskWatch.h"
#include "document/RecentFiles.h"
#include "support/EditText.h"
#include "support/ModalAnswers.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QScreen>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

const QByteArray ListText = "AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC\r\nAC:OS\r\nEG:7";

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
    file.close();
    return path;
}

QAction *action(const frmEditor &window, const char *name)
{
    return window.findChild<QAction *>(QString::fromLatin1(name));
}

bool waitFor(const std::function<bool()> &condition) { return QTest::qWaitFor(condition, 5000); }

class Agrees : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear()
    {
        QSettings settings(QStringLiteral("ZUNOPad"), QStringLiteral("ZUNOPad"));
        settings.clear();
        settings.sync();
    }
    // Opens ListText, as ROAD1.PRJ, in `window`.
    void open(frmEditor &window)
    {
        window.formLoad(writeFile(dir, QStringLiteral("ROAD1.PRJ"), ListText));
    }
    QTemporaryDir dir;
};

TEST_F(Agrees, StartedWithoutAFileTheWindowShowsEveryMenuTitleAndStatusField)
{
    frmEditor window;
    window.formLoad(QString());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 5000));
    QApplication::processEvents();

    const QMenuBar *bar = window.menuBar();
    for (QAction *title : bar->actions()) {
        const QRect place = bar->actionGeometry(title);
        EXPECT_FALSE(place.isEmpty()) << title->text().toStdString();
        EXPECT_LE(place.right(), bar->width()) << title->text().toStdString();
    }
    for (const auto *chevron : bar->findChildren<QToolButton *>())
        EXPECT_FALSE(chevron->isVisible()) << "no menu behind a chevron";
    // Once the window is laid out with the fields' fonts.
    const auto shownFields = [&] {
        QList<const QLabel *> shown;
        for (const QLabel *field : window.statusBar()->findChildren<QLabel *>()) {
            if (field->isVisible() && !field->text().isEmpty())
                shown.append(field);
        }
        return shown;
    };
    const bool whole = QTest::qWaitFor([&] {
        return std::ranges::all_of(shownFields(), [](const QLabel *f) { return f->width() >= f->sizeHint().width(); });
    }, 5000);
    EXPECT_TRUE(whole);
    for (const QLabel *field : shownFields())
        EXPECT_GE(field->width(), field->sizeHint().width()) << field->text().toStdString();
    EXPECT_GE(shownFields().size(), 5);
}

// What the X server shows of the text, after each key once the window is
// idle, is what the editor paints afresh: the rows a key moved, the rows it
// painted and the waits for the server taken between keys leave nothing
// stale.
TEST_F(Agrees, TheScreenShowsWhatTheEditorPaintsAsKeysAreTyped)
{
    frmEditor window;
    open(window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 5000));
    QWidget *viewport = window.editor()->viewport();
    window.editor()->SendScintilla(QsciScintillaBase::SCI_SETCARETPERIOD, 0UL);
    window.editor()->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 7UL); // the end of "AC:1001"
    const auto screenAgrees = [&] {
        const QPoint at = viewport->mapTo(&window, QPoint());
        const QImage shown = window.screen()
                                 ->grabWindow(window.winId(), at.x(), at.y(), viewport->width(), viewport->height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        return shown == viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    for (const Qt::Key key : {Qt::Key_9, Qt::Key_Return, Qt::Key_X, Qt::Key_Backspace, Qt::Key_Backspace,
                              Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return}) {
        QTest::keyClick(window.editor(), key);
        EXPECT_TRUE(waitFor(screenAgrees)) << "after key " << int(key);
    }
}

TEST_F(Agrees, UndoAndRedoBackToTheSavedTextTakeTheMarkerAway)
{
    frmEditor window;
    open(window);
    EditorWidget *editor = window.editor();
    editor->setSelStart(editor->textLength());
    QTest::keyClicks(editor, QStringLiteral("x"));
    EXPECT_TRUE(window.isWindowModified());

    action(window, "mnuEditUndo")->trigger();
    EXPECT_FALSE(window.isWindowModified()) << "back at the text as read";
    action(window, "mnuEditRedo")->trigger();
    EXPECT_TRUE(window.isWindowModified());
    EXPECT_TRUE(test::textOf(*editor).endsWith(QStringLiteral("EG:7X")));

    // A text that is not the saved one stays so, whatever the history says.
    action(window, "mnuEditUndo")->trigger();
    editor->setModified(true);
    QTest::keyClicks(editor, QStringLiteral("y"));
    action(window, "mnuEditUndo")->trigger();
    EXPECT_TRUE(window.isWindowModified());
}

// A view switch stopped at a bad line leaves the text and its history as
// they were: undo still comes back to the saved text.
TEST_F(Agrees, AStoppedViewSwitchKeepsTheWayBackToTheSavedText)
{
    frmEditor window;
    open(window);
    EditorWidget *editor = window.editor();
    editor->setSelStart(2);
    editor->setSelLength(1);
    QTest::keyClicks(editor, QStringLiteral("x")); // "ACX1001": no data item
    test::ModalAnswers answers;
    answers.messageBox(QMessageBox::Ok);
    action(window, "mnuViewRecord")->trigger();
    answers.finish();
    ASSERT_TRUE(action(window, "mnuViewList")->isChecked());
    EXPECT_TRUE(window.isWindowModified());
    action(window, "mnuEditUndo")->trigger();
    EXPECT_EQ(test::textOf(*editor), QString::fromLatin1(ListText));
    EXPECT_FALSE(window.isWindowModified());
}

TEST_F(Agrees, NewEntriesCarryTheirKeys)
{
    frmEditor window;
    const struct {
        const char *entry;
        QKeySequence key;
    } keys[] = {
        {"mnuEditRedo", QKeySequence(Qt::CTRL | Qt::Key_Y)},
        {"mnuEditFindNext", QKeySequence(Qt::Key_F3)},
        {"mnuEditFindPrevious", QKeySequence(Qt::SHIFT | Qt::Key_F3)},
        {"mnuViewZoomIn", QKeySequence(Qt::CTRL | Qt::Key_Plus)},
        {"mnuViewZoomOut", QKeySequence(Qt::CTRL | Qt::Key_Minus)},
        {"mnuViewZoomNormal", QKeySequence(Qt::CTRL | Qt::Key_0)},
        {"mnuFileReload", QKeySequence(Qt::Key_F5)},
    };
    for (const auto &k : keys) {
        QAction *entry = action(window, k.entry);
        ASSERT_NE(entry, nullptr) << k.entry;
        EXPECT_EQ(entry->shortcut(), k.key) << k.entry;
    }
}

TEST_F(Agrees, FontDialogListsFixedPitchFamiliesOpensOnTheEditorsFontAndKeepsTheStyle)
{
    frmEditor window;
    window.show();
    const QString shownFamily = QFontInfo(window.editor()->font()).family();
    QStringList families;
    QString openedOn;
    QFont chosen;
    test::ModalAnswers answers;
    answers.dialog(QStringLiteral("dlgFont"), [&](QWidget &w) {
        auto &dialog = static_cast<QFontDialog &>(w);
        const QListView *list = dialog.findChildren<QListView *>().value(0);
        for (int row = 0; list && row < list->model()->rowCount(); ++row)
            families << list->model()->index(row, 0).data().toString();
        openedOn = dialog.currentFont().family();
        QFont font = dialog.currentFont();
        font.setBold(true);
        font.setItalic(true);
        dialog.setCurrentFont(font);
        chosen = dialog.currentFont();
        dialog.accept();
    });
    action(window, "mnuFormatFont")->trigger();
    answers.finish();

    ASSERT_FALSE(families.isEmpty());
    for (const QString &family : families)
        EXPECT_TRUE(QFontDatabase::isFixedPitch(family)) << family.toStdString();
    EXPECT_EQ(openedOn, shownFamily);
    const QFont shown = window.editor()->font();
    EXPECT_EQ(shown.family(), chosen.family());
    EXPECT_EQ(shown.weight(), chosen.weight()) << "what is shown is what was chosen";
    EXPECT_EQ(shown.italic(), chosen.italic());

    frmEditor again;
    EXPECT_EQ(again.editor()->font().weight(), chosen.weight()) << "and what is stored";
    EXPECT_EQ(again.editor()->font().italic(), chosen.italic());
}

TEST_F(Agrees, EveryWindowShowsTheOneOpenRecentList)
{
    const QString first = writeFile(dir, QStringLiteral("A.PRJ"), ListText);
    const QString second = writeFile(dir, QStringLiteral("B.CTL"), "AC:2");
    frmEditor one;
    frmEditor two;
    // The settings are written once the event that changed them is handled.
    one.formLoad(first);
    QCoreApplication::processEvents();
    two.formLoad(second);
    QCoreApplication::processEvents();
    auto *menu = one.findChild<QMenu *>(QStringLiteral("mnuFileRecent"));
    emit menu->aboutToShow();
    ASSERT_NE(action(one, "mnuFileRecent2"), nullptr) << "the other window's file is there";
    EXPECT_EQ(action(one, "mnuFileRecent1")->statusTip(), second);
    EXPECT_EQ(action(one, "mnuFileRecent2")->statusTip(), first);
    // Each window's change starts from what the others stored.
    one.shell().openFile(first);
    EXPECT_EQ(one.recentFiles().paths(), QStringList({first, second}));
}

class ChangedOnDisk : public Agrees {
protected:
    QToolBar *bar() const { return window.findChild<QToolBar *>(QStringLiteral("tbrChangedOnDisk")); }
    QString barText() const { return window.findChild<QLabel *>(QStringLiteral("lblChangedOnDisk"))->text(); }
    bool barShown() const { return !bar()->isHidden(); }
    QTemporaryDir dir;
    frmEditor window;
};

TEST_F(ChangedOnDisk, AnOutsideChangeShowsTheBarAndReloadBringsTheNewBytes)
{
    const QString path = writeFile(dir, QStringLiteral("ROAD1.PRJ"), "AC:1001\r\nBG:5");
    window.formLoad(path);
    window.show();
    EXPECT_FALSE(barShown());
    writeFile(dir, QStringLiteral("ROAD1.PRJ"), "AC:1001\r\nBG:6");
    ASSERT_TRUE(waitFor([&] { return barShown(); }));
    EXPECT_EQ(barText(), QStringLiteral("The file 'ROAD1.PRJ' has been changed on disk."));
    action(window, "cmdChangedReload")->trigger();
    EXPECT_EQ(test::textOf(*window.editor()), QStringLiteral("AC:1001\r\nBG:6"));
    EXPECT_FALSE(barShown());
    EXPECT_FALSE(window.isWindowModified());

    // Replaced by rename, as many programs save.
    const QString other = writeFile(dir, QStringLiteral("NEW.TMP"), "AC:1001\r\nBG:7");
    ASSERT_TRUE(QFile::remove(path) && QFile::rename(other, path));
    ASSERT_TRUE(waitFor([&] { return barShown(); }));
    test::ModalAnswers answers;
    QTest::keyClick(window.editor(), Qt::Key_F5);
    EXPECT_EQ(test::textOf(*window.editor()), QStringLiteral("AC:1001\r\nBG:7"));
    EXPECT_TRUE(answers.shown().isEmpty());

    // The document's own save is no news: the watcher looks at the file the
    // save wrote and finds what the document holds.
    test::setTextOf(*window.editor(), QStringLiteral("AC:MINE"));
    QSignalSpy looked(window.findChild<DiskWatch *>(), &DiskWatch::diskChanged);
    action(window, "mnuFileSave")->trigger();
    looked.clear(); // the look the new caption asked for, at once
    ASSERT_TRUE(waitFor([&] { return !looked.isEmpty(); }));
    EXPECT_FALSE(barShown());
}

TEST_F(ChangedOnDisk, KeepLeavesTheEditsAndSaveStillAsks)
{
    const QString path = writeFile(dir, QStringLiteral("ROAD1.PRJ"), "AC:1");
    window.formLoad(path);
    window.show();
    test::setTextOf(*window.editor(), QStringLiteral("AC:MINE"));
    writeFile(dir, QStringLiteral("ROAD1.PRJ"), "AC:THEIRS");
    ASSERT_TRUE(waitFor([&] { return barShown(); }));
    EXPECT_TRUE(barText().contains(QStringLiteral("lose your changes")));
    action(window, "cmdChangedKeep")->trigger();
    EXPECT_FALSE(barShown());
    QTest::qWait(400);
    EXPECT_FALSE(barShown()) << "the change kept is not told again";
    EXPECT_EQ(test::textOf(*window.editor()), QStringLiteral("AC:MINE"));

    test::ModalAnswers answers;
    answers.messageBox(QMessageBox::No);
    action(window, "mnuFileSave")->trigger();
    answers.finish();
    ASSERT_EQ(answers.shown().size(), 1);
    EXPECT_EQ(answers.shown()[0].title, QStringLiteral("File Changed on Disk"));
}

TEST_F(ChangedOnDisk, ADeletedFileIsToldWithoutReload)
{
    const QString path = writeFile(dir, QStringLiteral("ROAD1.PRJ"), "AC:1");
    window.formLoad(path);
    window.show();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(waitFor([&] { return barShown(); }));
    EXPECT_EQ(barText(), QStringLiteral("The file 'ROAD1.PRJ' has been deleted or moved on disk."));
    EXPECT_FALSE(action(window, "cmdChangedReload")->isVisible());
    action(window, "mnuFileNew")->trigger();
    EXPECT_FALSE(barShown()) << "a new document has no file to watch";
}

} // namespace
