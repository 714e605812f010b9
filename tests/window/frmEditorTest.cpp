// The real main window on the offscreen platform: its menus, its edit
// control, and the File and View commands against real files.
#include "window/frmEditor.h"
#include "support/EditText.h"
#include "textfile/TextCodec.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <functional>
#include <QFile>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QScreen>
#include <QSettings>
#include <gtest/gtest.h>

#include "Version.h"

#include "support/ModalAnswers.h"

using namespace zuno;

namespace {

const QString SixListLines = QStringLiteral("AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC\r\nAC:OS\r\nEG:7");
const QString FiveRecordLines = QStringLiteral("AC:1001\r\nBG:5  PL:1,2,3  XX:ABC\r\n\r\nAC:OS\r\nEG:7");

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QAction *action(const frmEditor &window, const char *name)
{
    return window.findChild<QAction *>(QString::fromLatin1(name));
}

struct Entry {
    const char *name;
    const char *caption; // "-" for a separator
};

void expectMenu(const frmEditor &window, const char *menuName, const char *caption,
                const std::vector<Entry> &entries)
{
    auto *menu = window.findChild<QMenu *>(QString::fromLatin1(menuName));
    ASSERT_NE(menu, nullptr) << menuName;
    EXPECT_EQ(menu->title(), QString::fromLatin1(caption));
    const QList<QAction *> actions = menu->actions();
    ASSERT_EQ(actions.size(), qsizetype(entries.size())) << menuName;
    for (size_t i = 0; i < entries.size(); ++i) {
        QAction *a = actions[qsizetype(i)];
        EXPECT_EQ(a->objectName(), QString::fromLatin1(entries[i].name));
        if (QString::fromLatin1(entries[i].caption) == QStringLiteral("-")) {
            EXPECT_TRUE(a->isSeparator()) << entries[i].name;
        } else {
            EXPECT_EQ(a->text(), QString::fromUtf8(entries[i].caption));
        }
        if (a->isVisible()) {
            EXPECT_TRUE(a->isEnabled()) << entries[i].name;
        }
    }
}

TEST(MainWindow, MenuTreeHasTheCaptionsOrderAndNames)
{
    frmEditor window;
    QStringList bar;
    for (QAction *a : window.menuBar()->actions())
        bar << a->text() + (a->isVisible() ? QString() : QStringLiteral(" (hidden)"));
    EXPECT_EQ(bar, QStringList({"&File", "&Edit", "F&ormat", "&View", "&Help"}));

    expectMenu(window, "mnuFile", "&File",
               {{"mnuFileNew", "&New"}, {"mnuFileOpen", "&Open"}, {"mnuFileRecent", "Open &Recent"}, {"mnuFileSave", "&Save"},
                {"mnuFileSaveAs", "Save &As"}, {"mnuFileReload", "Re&load"}, {"mnuFileSep2", "-"}, {"mnuFilePrint", "&Print"},
                {"mnuFileSep3", "-"}, {"mnuFileExit", "E&xit"}});
    expectMenu(window, "mnuEdit", "&Edit",
               {{"mnuEditUndo", "&Undo"}, {"mnuEditRedo", "Re&do"}, {"mnuEditSep1", "-"}, {"mnuEditCut", "Cu&t"},
                {"mnuEditCopy", "&Copy"}, {"mnuEditPaste", "&Paste"}, {"mnuEditSep2", "-"},
                {"mnuEditClear", "C&lear"}, {"mnuEditSelectAll", "Select &All"},
                {"mnuEditSep3", "-"}, {"mnuEditFind", "&Find"}, {"mnuEditReplace", "&Replace"},
                {"mnuEditFindNext", "Find &Next"}, {"mnuEditFindPrevious", "Find Pre&vious"},
                {"mnuEditSep4", "-"}, {"mnuEditGoTo", "&Go To"}, {"mnuEditGoToRecord", "Go To Rec&ord…"}});
    expectMenu(window, "mnuView", "&View",
               {{"mnuViewList", "&List"}, {"mnuViewRecord", "&Record"}, {"mnuViewSep1", "-"},
                {"mnuViewStatusBar", "&Status Bar"}, {"mnuViewSep3", "-"}, {"mnuViewZoomIn", "Zoom &In"},
                {"mnuViewZoomOut", "Zoom &Out"}, {"mnuViewZoomNormal", "Normal Si&ze"}, {"mnuViewSep2", "-"},
                {"mnuViewLineNumbers", "Line &Numbers"}, {"mnuViewCodeColours", "Code &Colours"},
                {"mnuViewNextProblem", "Ne&xt Problem"}, {"mnuViewPreviousProblem", "Pre&vious Problem"},
                {"mnuViewSep4", "-"}, {"mnuViewRecords", "Recor&ds"}, {"mnuViewProblems", "Pro&blems"},
                {"mnuViewNextRecord", "Nex&t Record"}, {"mnuViewPreviousRecord", "Previo&us Record"},
                {"mnuViewFoldAll", "&Fold All"}, {"mnuViewUnfoldAll", "Unfold &All"}});
    expectMenu(window, "mnuFormat", "F&ormat", {{"mnuFormatFont", "&Font"}});
    expectMenu(window, "mnuHelp", "&Help", {{"mnuHelpAbout", "&About"}});

    EXPECT_TRUE(action(window, "mnuViewList")->isChecked());
    EXPECT_FALSE(action(window, "mnuViewRecord")->isChecked());
    EXPECT_TRUE(action(window, "mnuViewSep1")->isVisible());
    EXPECT_TRUE(action(window, "mnuViewStatusBar")->isVisible());
    EXPECT_TRUE(action(window, "mnuViewStatusBar")->isChecked());
    EXPECT_TRUE(action(window, "mnuFormatFont")->isVisible());
}

TEST(MainWindow, EditControlIsMonospacedUnwrappedAndFillsTheWindow)
{
    frmEditor window;
    EXPECT_EQ(window.caption(), QStringLiteral("ZUNOPad File Editor"));
    EditorWidget *editor = window.findChild<EditorWidget *>(QStringLiteral("rtbEditor"));
    ASSERT_EQ(editor, window.editor());
    EXPECT_TRUE(QFontInfo(editor->font()).fixedPitch());
    EXPECT_DOUBLE_EQ(editor->font().pointSizeF(), 9.75);
    EXPECT_EQ(editor->SendScintilla(QsciScintillaBase::SCI_GETWRAPMODE), QsciScintillaBase::SC_WRAP_NONE);
    // Beside the line numbers (0), the marks (1) and the folds (2), no margin.
    for (unsigned long margin = 3; margin < 5; ++margin)
        EXPECT_EQ(editor->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, margin), 0) << margin;
    window.show();
    window.resize(700, 400);
    QApplication::processEvents();
    EXPECT_EQ(editor->width(), window.centralWidget()->width());
    EXPECT_EQ(editor->geometry().topLeft(), window.centralWidget()->geometry().topLeft());
}

TEST(MainWindow, FitWidensTheWindowForALongLine)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("W.PRJ"), QByteArray("AC:1\r\nXX:") + QByteArray(120, 'X'));
    frmEditor window;
    window.formLoad(path);
    const double narrow = 2280;
    EXPECT_GT(window.width(), narrow + 100 * 120 / 2) << "about a hundred characters wide";

    // A short text: the narrow width, or what shows the menus whole.
    test::setTextOf(*window.editor(), QStringLiteral("A"));
    window.shell().fitWindowToText();
    EXPECT_NEAR(window.width(), std::max(narrow, window.leastWidth().value_or(0)), 20);
}

// Counts the resizes a widget goes through.
class ResizeCounter : public QObject {
public:
    explicit ResizeCounter(QWidget *widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            ++count;
        return false;
    }
};

TEST(MainWindow, AVeryLongLineKeepsTheWindowOnItsScreen)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("LONG.PRJ"),
                                   QByteArray("AC:1\r\nNM:") + QByteArray(397, 'X'));
    frmEditor window;
    window.formLoad(path);
    window.show();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QApplication::processEvents(); // the frame is known once the window shows
    EXPECT_LE(window.frameGeometry().width(), available.width());
    EXPECT_TRUE(available.contains(window.frameGeometry().topRight()))
        << "the close button stays on the screen";
    EXPECT_GE(window.frameGeometry().width(), available.width() - 10) << "as wide as the screen allows";
}

TEST(MainWindow, AViewSwitchResizesTheWindowOnce)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("ROAD1.PRJ"), SixListLines.toUtf8());
    frmEditor window;
    window.formLoad(path);
    window.show();
    const int listWidth = window.frameGeometry().width();
    ResizeCounter resizes(&window);
    action(window, "mnuViewRecord")->trigger();
    QApplication::processEvents();
    EXPECT_NE(window.frameGeometry().width(), listWidth) << "fitted to the Record lines";
    EXPECT_EQ(resizes.count, 1);
}

TEST(MainWindow, StartUpLoadsAndViewsSwitchWithTheFlagKept)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("ROAD1.PRJ"), SixListLines.toUtf8());
    frmEditor window;
    window.formLoad(path);
    EditorWidget *editor = window.editor();
    EXPECT_EQ(test::textOf(*editor), SixListLines);
    EXPECT_FALSE(editor->isModified());
    EXPECT_EQ(window.caption(), QStringLiteral("ROAD1.PRJ - ZUNOPad File Editor"));

    action(window, "mnuViewRecord")->trigger();
    EXPECT_EQ(test::textOf(*editor), FiveRecordLines);
    EXPECT_TRUE(action(window, "mnuViewRecord")->isChecked());
    EXPECT_FALSE(action(window, "mnuViewList")->isChecked());
    EXPECT_FALSE(editor->isModified());

    action(window, "mnuViewRecord")->trigger(); // already shown: nothing happens
    EXPECT_TRUE(action(window, "mnuViewRecord")->isChecked());
    EXPECT_EQ(test::textOf(*editor), FiveRecordLines);

    // No Undo may bring back a layout the View menu does not name.
    editor->undo();
    EXPECT_EQ(test::textOf(*editor), FiveRecordLines);

    action(window, "mnuViewList")->trigger();
    EXPECT_EQ(test::textOf(*editor), SixListLines);
    EXPECT_TRUE(action(window, "mnuViewList")->isChecked());
    EXPECT_FALSE(action(window, "mnuViewRecord")->isChecked());
    EXPECT_FALSE(editor->isModified());
}

TEST(MainWindow, SaveInRecordViewWritesTheListLayoutToTheFile)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("ROAD1.PRJ"), SixListLines.toUtf8());
    frmEditor window;
    window.formLoad(path);
    action(window, "mnuViewRecord")->trigger();
    EditorWidget *editor = window.editor();
    editor->setSelStart(test::textOf(*editor).indexOf(QStringLiteral("ABC")) + 3);
    QTest::keyClicks(editor, QStringLiteral("d"));
    EXPECT_TRUE(editor->isModified());

    action(window, "mnuFileSave")->trigger();
    EXPECT_EQ(readBytes(path), QByteArray("AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABCD\r\nAC:OS\r\nEG:7"));
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("AC:1001\r\nBG:5  PL:1,2,3  XX:ABCD\r\n\r\nAC:OS\r\nEG:7"));
    EXPECT_FALSE(editor->isModified());
    EXPECT_TRUE(action(window, "mnuViewRecord")->isChecked());
}

// Once the Record text is known to come back as it is, an edit that keeps
// its length (a blank typed over the last character of a line, which does
// not come back) is still converted back: the save shows what the file now
// holds.
TEST(MainWindow, SaveInRecordViewChecksTheTextEditedSinceItWasKnown)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("ROAD2.PRJ"), SixListLines.toUtf8());
    frmEditor window;
    window.formLoad(path);
    action(window, "mnuViewRecord")->trigger();
    RecordViewPieces &pieces = window.shell().recordPieces();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pieces.finding(); }, 10000));
    ASSERT_EQ(pieces.known().pieces().size(), 1u);
    EditorWidget *editor = window.editor();
    editor->setSelStart(test::textOf(*editor).indexOf(QStringLiteral("ABC")) + 2);
    editor->setSelLength(1);
    QTest::keyClicks(editor, QStringLiteral(" "));

    action(window, "mnuFileSave")->trigger();
    EXPECT_EQ(readBytes(path), QString(SixListLines).replace(QStringLiteral("ABC"), QStringLiteral("AB")).toUtf8());
    EXPECT_EQ(test::textOf(*editor), QString(FiveRecordLines).replace(QStringLiteral("ABC"), QStringLiteral("AB")));
}

TEST(MainWindow, EveryFileComesBackByteForByteAndAnEditChangesOnlyItsCharacter)
{
    const QByteArray files[] = {
        QByteArray("NM:A\rB\r\nXX:C\nD\r\n"),                 // lone CR and LF in a CRLF file
        QByteArray("AC:1\nBG:2\nXX:\r\n", 15),                    // an LF file, a lone CR, no final break
        QByteArray("XX:A\0B\r\nYY:\0", 12),                       // NUL
        QByteArray("XX:\xE9\xFF\r\nYY:\xC3"),                      // Latin-1 (not UTF-8)
        QByteArray("XX:\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n"),  // UTF-8
        QByteArray("\xEF\xBB\xBFXX:\xC3\xA9\r\nYY:1"),             // UTF-8 with a byte-order mark
        QByteArray("\r\r\n\n\n\r"),
        // Latin-1 found only past the first megabyte read
        "XX:" + QByteArray(1 << 20, 'A') + "\r\nYY:\xE9\r\n",
    };
    QTemporaryDir dir;
    int number = 0;
    for (const QByteArray &bytes : files) {
        const QString path = writeFile(dir, QStringLiteral("F%1.PRJ").arg(++number), bytes);
        frmEditor window;
        window.formLoad(path);
        EXPECT_EQ(test::textOf(*window.editor()), QString::fromUtf8(decodeText(bytes).text)) << number;
        window.editor()->setModified(true);
        window.shell().fileSave();
        EXPECT_EQ(readBytes(path), bytes) << number;

        // One character typed after the first three changes exactly that.
        window.editor()->setSelStart(3);
        QTest::keyClicks(window.editor(), QStringLiteral("q"));
        window.shell().fileSave();
        QByteArray expected = bytes;
        const int at = bytes.startsWith("\xEF\xBB\xBF") ? 6 : 3;
        expected.insert(at, 'Q');
        EXPECT_EQ(readBytes(path), expected) << number;
        window.editor()->setModified(false);
    }
}

TEST(MainWindow, OddTextsSurviveBothViewsAndASaveFromTheRecordView)
{
    const QByteArray files[] = {
        QByteArray("\xEF\xBB\xBF" "AC:1\r\nXX:\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\nEG:2"), // UTF-8, a mark
        QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "XX:1\r\nYY:2"),       // a U+FEFF of the text after the mark
        QByteArray("AC:1\r\nNM:A\rB\r\nXX:C\nD\r\nEG:2"),             // lone CR and LF are content
        QByteArray("AC:1\nXX:\xE9\nEG:2"),                             // Latin-1 with LF line breaks
        QByteArray("AC:1\r\nXX:A\0B\r\nEG:2", 19),                     // NUL
    };
    QTemporaryDir dir;
    int number = 0;
    for (const QByteArray &bytes : files) {
        const QString path = writeFile(dir, QStringLiteral("V%1.PRJ").arg(++number), bytes);
        frmEditor window;
        window.formLoad(path);
        EditorWidget *editor = window.editor();
        const QString list = test::textOf(*editor);
        action(window, "mnuViewRecord")->trigger();
        ASSERT_TRUE(action(window, "mnuViewRecord")->isChecked()) << number;
        const QString record = test::textOf(*editor);
        EXPECT_NE(record, list) << number;
        action(window, "mnuViewList")->trigger();
        EXPECT_EQ(test::textOf(*editor), list) << number;

        action(window, "mnuViewRecord")->trigger();
        editor->setModified(true);
        window.shell().fileSave();
        EXPECT_EQ(readBytes(path), bytes) << number;
        EXPECT_EQ(test::textOf(*editor), record) << number;
        EXPECT_FALSE(editor->isModified()) << number;
    }
}

TEST(MainWindow, FailedWriteWarnsAndLeavesFileAndDocumentIntact)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    const QString path = writeFile(dir, QStringLiteral("sub/A.PRJ"), "AC:1");
    frmEditor window;
    window.formLoad(path);
    test::setTextOf(*window.editor(), QStringLiteral("AC:2"));
    // The folder disappears under the file: the write must fail, as root too.
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("sub"))).removeRecursively());

    test::ModalAnswers answerer;
    answerer.messageBox(QMessageBox::Ok);
    action(window, "mnuFileSave")->trigger();
    answerer.finish();
    ASSERT_EQ(answerer.shown().size(), 1);
    EXPECT_EQ(answerer.shown()[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(answerer.shown()[0].text.contains(QStringLiteral("could not be saved")));
    EXPECT_EQ(test::textOf(*window.editor()), QStringLiteral("AC:2"));
    EXPECT_TRUE(window.editor()->isModified());
    EXPECT_FALSE(QFile::exists(path)) << "no partial file appears";
}

TEST(MainWindow, ClosingAsksAndCancelKeepsTheWindowOpen)
{
    frmEditor window;
    window.show();
    test::setTextOf(*window.editor(), QStringLiteral("AC:1"));
    {
        test::ModalAnswers answerer;
        answerer.messageBox(QMessageBox::Cancel);
        action(window, "mnuFileExit")->trigger();
        answerer.finish();
        ASSERT_EQ(answerer.shown().size(), 1);
        EXPECT_EQ(answerer.shown()[0].title, QStringLiteral("Save Changes?"));
        EXPECT_EQ(answerer.shown()[0].icon, QMessageBox::NoIcon);
        EXPECT_EQ(answerer.shown()[0].text,
                  QStringLiteral("The text in 'Untitled File' has changed.\r\n\r\nDo you want to save the changes?"));
    }
    EXPECT_TRUE(window.isVisible());
    {
        test::ModalAnswers answerer;
        answerer.messageBox(QMessageBox::No);
        action(window, "mnuFileExit")->trigger();
        answerer.finish();
    }
    EXPECT_FALSE(window.isVisible());
}

TEST(MainWindow, InvalidLineShowsTheWarningAndKeepsListView)
{
    frmEditor window;
    test::setTextOf(*window.editor(), QStringLiteral("AC:1\r\nREMARK X"));
    test::ModalAnswers answerer;
    answerer.messageBox(QMessageBox::Ok);
    action(window, "mnuViewRecord")->trigger();
    answerer.finish();
    ASSERT_EQ(answerer.shown().size(), 1);
    EXPECT_EQ(answerer.shown()[0].text, QStringLiteral("Invalid ZUNO Data Item 'REMARK X' on line 2"));
    EXPECT_EQ(answerer.shown()[0].title, QStringLiteral("Invalid File"));
    EXPECT_EQ(answerer.shown()[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(action(window, "mnuViewList")->isChecked());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy pointer is gone";
}

TEST(MainWindow, AboutBoxNamesTheVersion)
{
    frmEditor window;
    test::ModalAnswers answerer;
    answerer.messageBox(QMessageBox::Ok);
    action(window, "mnuHelpAbout")->trigger();
    answerer.finish();
    ASSERT_EQ(answerer.shown().size(), 1);
    EXPECT_EQ(answerer.shown()[0].text, aboutText());
    EXPECT_TRUE(answerer.shown()[0].text.startsWith(versionText() + QStringLiteral("\n")));
    EXPECT_EQ(answerer.shown()[0].title, QStringLiteral("ZUNO Pad"));
    EXPECT_EQ(answerer.shown()[0].icon, QMessageBox::Information);
}

} // namespace

namespace {

// A stored position from a monitor that is gone is brought back onto the
// primary screen; one on the screen is kept.
TEST(MainWindowPosition, StoredPositionOffEveryScreenMovesOntoThePrimaryScreen)
{
    QSettings settings(QStringLiteral("ZUNOPad"), QStringLiteral("ZUNOPad"));
    settings.setValue(QStringLiteral("StartupPosition/Top"), QStringLiteral("900000"));
    settings.setValue(QStringLiteral("StartupPosition/Left"), QStringLiteral("-900000"));
    settings.sync();
    {
        frmEditor window;
        window.formLoad(QString());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_TRUE(screen.contains(window.frameGeometry().topLeft()))
            << window.frameGeometry().x() << "," << window.frameGeometry().y();
    }
    settings.setValue(QStringLiteral("StartupPosition/Top"), QStringLiteral("300"));
    settings.setValue(QStringLiteral("StartupPosition/Left"), QStringLiteral("450"));
    settings.sync();
    {
        frmEditor window;
        window.formLoad(QString());
        EXPECT_NEAR(window.top(), 300, 15);
        EXPECT_NEAR(window.left(), 450, 15);
    }
    settings.remove(QStringLiteral("StartupPosition"));
}

} // namespace

namespace {

TEST(MainWindowFileDialogs, OpenShowsTheZunoFileTypesAndLoadsTheChoice)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("ROAD1.PRJ"), SixListLines.toUtf8());
    frmEditor window;
    QString title, suffix;
    QStringList filters;
    QString selectedFilter;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QString name;
    test::ModalAnswers answers;
    answers.fileDialog(path, [&](QFileDialog &dialog) {
            name = dialog.objectName();
            title = dialog.windowTitle();
            filters = dialog.nameFilters();
            selectedFilter = dialog.selectedNameFilter();
            suffix = dialog.defaultSuffix();
            mode = dialog.fileMode();
        });
    action(window, "mnuFileOpen")->trigger();
    answers.finish();

    EXPECT_EQ(name, QStringLiteral("cdlEditor"));
    EXPECT_EQ(title, QStringLiteral("Open ZUNO File"));
    ASSERT_EQ(filters.size(), 8);
    EXPECT_EQ(filters.first(), QStringLiteral("ZUNO Project File (*.PRJ)"));
    EXPECT_EQ(filters.last(), QStringLiteral("ZUNO Superelevation File (*.SUP)"));
    EXPECT_EQ(selectedFilter, filters.first());
    EXPECT_EQ(suffix, QStringLiteral("PRJ"));
    EXPECT_EQ(mode, QFileDialog::ExistingFile) << "the file must exist";
    EXPECT_EQ(test::textOf(*window.editor()), SixListLines);
    EXPECT_EQ(window.editor()->fileName(), path);
    EXPECT_EQ(window.caption(), QStringLiteral("ROAD1.PRJ - ZUNOPad File Editor"));
}

TEST(MainWindowFileDialogs, SaveAsConfirmsOverwritingAndRenamesTheDocument)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("NEW.CTL"));
    frmEditor window;
    test::setTextOf(*window.editor(), QStringLiteral("AC:1"));
    QString title;
    bool confirms = false;
    test::ModalAnswers answers;
    answers.fileDialog(path, [&](QFileDialog &dialog) {
        title = dialog.windowTitle();
        confirms = !dialog.testOption(QFileDialog::DontConfirmOverwrite);
    });
    action(window, "mnuFileSaveAs")->trigger();
    answers.finish();
    EXPECT_EQ(title, QStringLiteral("Save As"));
    EXPECT_TRUE(confirms);
    EXPECT_EQ(readBytes(path), QByteArray("AC:1"));
    EXPECT_EQ(window.caption(), QStringLiteral("NEW.CTL - ZUNOPad File Editor"));
    EXPECT_FALSE(window.editor()->isModified());

    // Cancelling the dialog changes nothing.
    test::setTextOf(*window.editor(), QStringLiteral("AC:2"));
    answers.fileDialog(QString());
    action(window, "mnuFileSaveAs")->trigger();
    answers.finish();
    EXPECT_EQ(readBytes(path), QByteArray("AC:1"));
    EXPECT_TRUE(window.editor()->isModified());
}

} // namespace
