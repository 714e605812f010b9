// The main window's everyday habits on the offscreen platform: keys, the
// modified marker, the status bar, the font and zoom, recent files, drops
// and the remembered height.
#include "window/frmEditor.h"
#include "support/EditText.h"

#include "document/RecentFiles.h"
#include "platform/qt/StatusFields.h"
#include "search/FindAgain.h"

#include <QAction>
#include <QFile>
#include <QFontDialog>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>

#include "support/ModalAnswers.h"

using namespace zuno;

namespace {

const QByteArray ListText = "AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC\r\nAC:OS\r\nEG:7";

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QAction *action(const frmEditor &window, const QString &name) { return window.findChild<QAction *>(name); }

// The caption the window system shows (the marker worked out).
QString shownTitle(frmEditor &window)
{
    window.winId();
    return window.windowHandle()->title();
}

// Settings this file's tests change, put back to none before and after.
class Habits : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override
    {
        clear();
        forgetSearch();
    }
    static void clear()
    {
        QSettings settings(QStringLiteral("ZUNOPad"), QStringLiteral("ZUNOPad"));
        for (const char *group : {"Font", "View", "RecentFiles", "StartupPosition"})
            settings.remove(QString::fromLatin1(group));
        settings.sync();
    }
    // A shown, active window with `path` loaded and the keys going to it.
    void open(frmEditor &window, const QString &path)
    {
        window.formLoad(path);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window, 5000));
        window.editor()->QWidget::setFocus();
    }
};

TEST_F(Habits, NoTwoCommandsShareAKey)
{
    frmEditor window;
    QHash<QKeySequence, QString> owners;
    for (const QAction *entry : window.findChildren<QAction *>()) {
        for (const QKeySequence &key : entry->shortcuts()) {
            EXPECT_FALSE(owners.contains(key)) << key.toString().toStdString();
            owners.insert(key, entry->objectName());
        }
    }
    EXPECT_GE(owners.size(), 20);
}

TEST_F(Habits, CtrlSSavesAndTheMarkerComesAndGoes)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("ROAD1.PRJ"), ListText);
    frmEditor window;
    open(window, path);
    EXPECT_EQ(shownTitle(window), QStringLiteral("ROAD1.PRJ - ZUNOPad File Editor"));

    EditorWidget *editor = window.editor();
    editor->setSelStart(editor->textLength());
    QTest::keyClicks(editor, QStringLiteral("x"));
    EXPECT_EQ(shownTitle(window), QStringLiteral("ROAD1.PRJ* - ZUNOPad File Editor"));
    EXPECT_EQ(window.caption(), QStringLiteral("ROAD1.PRJ - ZUNOPad File Editor"));

    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readBytes(path), ListText + "X");
    EXPECT_EQ(shownTitle(window), QStringLiteral("ROAD1.PRJ - ZUNOPad File Editor"));

    // The view keys, with the focus away from the text.
    window.statusBar()->setFocus();
    QTest::keyClick(&window, Qt::Key_2, Qt::ControlModifier);
    EXPECT_TRUE(action(window, "mnuViewRecord")->isChecked());
    QTest::keyClick(&window, Qt::Key_1, Qt::ControlModifier);
    EXPECT_TRUE(action(window, "mnuViewList")->isChecked());
}

TEST_F(Habits, AnUntitledOrOddlyNamedDocumentShowsTheMarkerTheQtWay)
{
    QTemporaryDir dir;
    frmEditor window;
    test::setTextOf(*window.editor(), QStringLiteral("A"));
    EXPECT_EQ(shownTitle(window), QStringLiteral("ZUNOPad File Editor*"));

    const QString path = writeFile(dir, QStringLiteral("A[*].PRJ"), ListText);
    frmEditor named;
    named.formLoad(path);
    EXPECT_EQ(shownTitle(named), QStringLiteral("A[*].PRJ - ZUNOPad File Editor"));
    test::setTextOf(*named.editor(), QStringLiteral("B"));
    EXPECT_EQ(shownTitle(named), QStringLiteral("A[*].PRJ* - ZUNOPad File Editor"));
}

TEST_F(Habits, F3RepeatsTheLastSearchAndOpensFindBeforeAnySearch)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("ROAD1.PRJ"), ListText);
    frmEditor window;
    open(window, path);
    EditorWidget *editor = window.editor();

    test::ModalAnswers answers;
    QTest::keyClick(editor, Qt::Key_F3);
    auto *find = window.findChild<QDialog *>(QStringLiteral("frmFindReplace"));
    ASSERT_NE(find, nullptr) << "no search yet: F3 opens Find";
    find->close();

    rememberSearch({QStringLiteral("ac"), false, true});
    editor->setSelStart(1);
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_EQ(editor->selStart(), ListText.indexOf("AC:OS"));
    EXPECT_TRUE(answers.shown().isEmpty());
}

TEST_F(Habits, StatusBarShowsCaretViewAndFileFormatAndIsRemembered)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("LATIN.PRJ"), "AC:1\nXX:\xe9t\xe9\nEG:7");
    {
        frmEditor window;
        open(window, path);
        StatusFields &fields = window.statusFields();
        EXPECT_TRUE(window.statusBar()->isVisible());
        EXPECT_EQ(fields.field("stbEncoding"), QStringLiteral("Latin-1"));
        EXPECT_EQ(fields.field("stbLineEnds"), QStringLiteral("LF"));
        EXPECT_EQ(fields.field("stbView"), QStringLiteral("List"));

        // After "XX:ét" on the second line: column 6 in characters.
        window.editor()->setSelStart(QStringLiteral("AC:1\r\nXX:\u00e9t").size());
        EXPECT_TRUE(QTest::qWaitFor([&] { return fields.field("stbPosition") == QStringLiteral("Ln 2, Col 6"); }, 5000))
            << fields.field("stbPosition").toStdString();
        // A lone "\r" or "\n" ends no line: the line is counted as Go To
        // Line counts it, the column from that line's start.
        window.editor()->setSelText(QStringLiteral("\rX\nY"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return fields.field("stbPosition") == QStringLiteral("Ln 2, Col 10"); }, 5000))
            << fields.field("stbPosition").toStdString();
        action(window, "mnuViewRecord")->trigger();
        EXPECT_TRUE(QTest::qWaitFor([&] { return fields.field("stbView") == QStringLiteral("Record"); }, 5000));

        action(window, "mnuViewStatusBar")->trigger();
        EXPECT_FALSE(window.statusBar()->isVisible());
    }
    frmEditor again;
    again.show();
    EXPECT_FALSE(again.statusBar()->isVisible()) << "the choice is remembered";
}

TEST_F(Habits, FontDialogOffersFixedPitchAndTheChoiceAndZoomAreKept)
{
    frmEditor window;
    window.show();
    bool monospacedOnly = false;
    QString title;
    test::ModalAnswers answers;
    answers.dialog(QStringLiteral("dlgFont"), [&](QWidget &w) {
        auto &dialog = static_cast<QFontDialog &>(w);
        monospacedOnly = dialog.testOption(QFontDialog::MonospacedFonts);
        title = dialog.windowTitle();
        QFont font = dialog.currentFont();
        font.setPointSizeF(14);
        dialog.setCurrentFont(font);
        dialog.accept();
    });
    action(window, "mnuFormatFont")->trigger();
    answers.finish();
    EXPECT_TRUE(monospacedOnly);
    EXPECT_EQ(title, QStringLiteral("Font"));
    EXPECT_DOUBLE_EQ(window.editor()->font().pointSizeF(), 14);

    test::setTextOf(*window.editor(), QString(30, QLatin1Char('X')));
    window.shell().fitWindowToText();
    const double wide = window.width();
    action(window, "mnuViewZoomIn")->trigger();
    EXPECT_DOUBLE_EQ(window.editor()->font().pointSizeF(), 15);
    EXPECT_GT(window.width(), wide) << "the window fits the text in the new size";

    QCoreApplication::processEvents(); // the change handled: the settings written
    frmEditor again;
    EXPECT_DOUBLE_EQ(again.editor()->font().pointSizeF(), 15) << "remembered with its zoom";
    action(again, "mnuViewZoomNormal")->trigger();
    EXPECT_DOUBLE_EQ(again.editor()->font().pointSizeF(), 14);
}

TEST_F(Habits, RecentFilesOpenAgainAndAGoneFileLeavesTheList)
{
    QTemporaryDir dir;
    const QString first = writeFile(dir, QStringLiteral("A.PRJ"), ListText);
    const QString second = writeFile(dir, QStringLiteral("B.CTL"), "AC:2");
    frmEditor window;
    window.formLoad(first);
    window.shell().openFile(second);
    EXPECT_EQ(window.recentFiles().paths(), QStringList({second, first}));

    QAction *entry = action(window, "mnuFileRecent2");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), QStringLiteral("&2 A.PRJ"));
    EXPECT_EQ(entry->statusTip(), first);
    entry->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.editor()->fileName() == first; }, 5000));
    EXPECT_EQ(window.recentFiles().paths().first(), first);

    QFile::remove(second);
    test::ModalAnswers answers;
    answers.messageBox(QMessageBox::Ok);
    action(window, "mnuFileRecent2")->trigger();
    answers.finish();
    ASSERT_EQ(answers.shown().size(), 1);
    EXPECT_TRUE(answers.shown()[0].text.contains(QStringLiteral("doesn't exist")));
    EXPECT_EQ(window.recentFiles().paths(), QStringList({first}));
    EXPECT_EQ(window.editor()->fileName(), first);
}

TEST_F(Habits, AFileDroppedOnTheEditorIsOpenedAndTextIsNot)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("DROP.PRJ"), ListText);
    frmEditor window;
    window.show();
    test::setTextOf(*window.editor(), QStringLiteral("KEEP"));
    window.editor()->setModified(false);

    QWidget *viewport = window.editor()->viewport();
    const auto drop = [&](QMimeData &data) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        const bool accepted = enter.isAccepted();
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &dropped);
        return accepted;
    };
    QMimeData text;
    text.setText(QStringLiteral("TYPED"));
    EXPECT_FALSE(drop(text));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(path)});
    EXPECT_TRUE(drop(files));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.editor()->fileName() == path; }, 5000));
    EXPECT_EQ(test::textOf(*window.editor()).toUtf8(), ListText);
}

TEST_F(Habits, HeightAndMaximizedStateAreRememberedAndKeptOnScreen)
{
    {
        frmEditor window;
        window.formLoad(QString());
        window.show();
        window.resize(window.geometry().width(), 300);
        window.close();
    }
    {
        frmEditor window;
        window.formLoad(QString());
        EXPECT_NEAR(window.geometry().height(), 300, 1);
        window.show();
        window.showMaximized();
        QApplication::processEvents();
        window.close();
    }
    {
        frmEditor window;
        window.formLoad(QString());
        EXPECT_TRUE(window.isMaximized());
    }
    QSettings settings(QStringLiteral("ZUNOPad"), QStringLiteral("ZUNOPad"));
    settings.setValue(QStringLiteral("StartupPosition/Maximized"), QStringLiteral("0"));
    settings.setValue(QStringLiteral("StartupPosition/Height"), QStringLiteral("9000000"));
    settings.sync();
    frmEditor window;
    window.formLoad(QString());
    EXPECT_FALSE(window.isMaximized());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(window.frameGeometry().height(), screen.height());
    EXPECT_GE(window.frameGeometry().top(), screen.top());
}

} // namespace
