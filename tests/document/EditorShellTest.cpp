// The editor shell's logic against the doubles: start-up, fitting the
// window, the file commands with the save prompt, closing and the views.
#include "ShellOnDoubles.h"
#include "support/EditText.h"
#include "textfile/FileNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Version.h"

#include <cstdio>
#include <unistd.h>
#include <sys/stat.h>

using namespace zuno;

namespace {

const QString SixListLines = QStringLiteral("AC:1001\r\nBG:5\r\nPL:1,2,3\r\nXX:ABC\r\nAC:OS\r\nEG:7");
const QString FiveRecordLines = QStringLiteral("AC:1001\r\nBG:5  PL:1,2,3  XX:ABC\r\n\r\nAC:OS\r\nEG:7");

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class EditorShellTest : public ::testing::Test, protected test::ShellOnDisk {
protected:
    QString pathOf(const QString &name) const { return dir.filePath(name); }
    QString makeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = pathOf(name);
        writeBytes(path, bytes);
        return path;
    }
    // Record view with the five Record lines, as after View > Record.
    void showRecordText(const QString &text)
    {
        test::setTextOf(editor, text);
        window.listChecked = false;
        window.recordChecked = true;
    }

    QTemporaryDir dir;
};

// ------------------------------------------------------------------ start-up

TEST_F(EditorShellTest, StartWithoutArgumentIsUntitledAtTheOrigin)
{
    shell.formLoad(QString());
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(test::textOf(editor), QString());
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(window.caption(), QStringLiteral("ZUNOPad File Editor"));
    EXPECT_EQ(window.top(), 0);
    EXPECT_EQ(window.left(), 0);
    EXPECT_TRUE(window.isListViewChecked());
}

TEST_F(EditorShellTest, StartLoadsTheQuotedPathAndNamesTheFileInTheCaption)
{
    const QString path = makeFile(QStringLiteral("ROAD 1.PRJ"), "AC:1\r\nBG:2");
    shell.formLoad(QLatin1Char('"') + path + QLatin1Char('"'));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nBG:2"));
    EXPECT_EQ(editor.fileName(), path);
    EXPECT_FALSE(editor.isModified()) << "loading changed the text, but start-up clears the flag";
    EXPECT_EQ(window.caption(), QStringLiteral("ROAD 1.PRJ - ZUNOPad File Editor"));
}

TEST_F(EditorShellTest, QuotesInsideTheArgumentAreRemovedToo)
{
    const QString path = makeFile(QStringLiteral("A.PRJ"), "AC:1");
    const QString folder = QFileInfo(path).path();
    shell.formLoad(folder + QStringLiteral("/\"A\".PRJ"));
    EXPECT_EQ(editor.fileName(), path);
}

TEST_F(EditorShellTest, CaptionTakesTheNameAfterEitherFolderSeparator)
{
    EXPECT_EQ(fileTitleOf(QStringLiteral("C:\\Data\\ROAD1.PRJ")), QStringLiteral("ROAD1.PRJ"));
    EXPECT_EQ(fileTitleOf(QStringLiteral("/home/eng/ROAD1.PRJ")), QStringLiteral("ROAD1.PRJ"));
    EXPECT_EQ(fileTitleOf(QStringLiteral("ROAD1.PRJ")), QStringLiteral("ROAD1.PRJ"));
    EXPECT_EQ(fileTitleOf(QStringLiteral("/data\\mixed/x\\ROAD1.PRJ")), QStringLiteral("ROAD1.PRJ"));
}

TEST_F(EditorShellTest, MissingStartFileIsReportedWithTheArgumentAsTyped)
{
    const QString argument = QStringLiteral("\"") + pathOf(QStringLiteral("NONE.PRJ")) + QStringLiteral("\"");
    shell.formLoad(argument);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Unable to load the file ") + argument + QStringLiteral("."));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("File Does Not Exist"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(editor.fileName(), QString());
    EXPECT_EQ(window.caption(), QStringLiteral("ZUNOPad File Editor"));
}

TEST_F(EditorShellTest, StartFileThatIsAFolderIsReportedWithTheReason)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("FOLDER.PRJ")));
    shell.formLoad(pathOf(QStringLiteral("FOLDER.PRJ")));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("Unable to load the file ")));
    EXPECT_GT(messages.shown[0].text.size(), QStringLiteral("Unable to load the file .").size()
                                                  + pathOf(QStringLiteral("FOLDER.PRJ")).size() + 4)
        << "the system's reason follows";
    EXPECT_EQ(test::textOf(editor), QString());
    EXPECT_EQ(editor.fileName(), QString());
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(window.caption(), QStringLiteral("ZUNOPad File Editor"));
}

TEST_F(EditorShellTest, StoredPositionIsRestoredAndGarbageReadsAsZero)
{
    settings.values[FakeSettings::path("ZUNOPad", "StartupPosition", "Top")] = QStringLiteral("1200");
    settings.values[FakeSettings::path("ZUNOPad", "StartupPosition", "Left")] = QStringLiteral("-15.5");
    shell.formLoad(QString());
    EXPECT_EQ(window.top(), 1200);
    EXPECT_EQ(window.left(), -15.5);

    settings.values[FakeSettings::path("ZUNOPad", "StartupPosition", "Top")] = QStringLiteral("left of here");
    settings.values[FakeSettings::path("ZUNOPad", "StartupPosition", "Left")] = QStringLiteral("nan");
    shell.formLoad(QString());
    EXPECT_EQ(window.top(), 0);
    EXPECT_EQ(window.left(), 0);
}

TEST(StoredNumbers, AreWrittenAsSinglePrecisionText)
{
    EXPECT_EQ(storedNumberText(1200), QStringLiteral("1200"));
    EXPECT_EQ(storedNumberText(-15), QStringLiteral("-15"));
    EXPECT_EQ(storedNumberText(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(storedNumberText(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(readStoredNumber(storedNumberText(123456.7)), 123456.7f);
    EXPECT_EQ(readStoredNumber(QStringLiteral(" 96 ")), 96.0f);
    EXPECT_EQ(readStoredNumber(QStringLiteral("")), 0.0f);
    EXPECT_EQ(readStoredNumber(QStringLiteral("1e99")), 0.0f) << "out of single range";
}

// ------------------------------------------------------------- fit to text

TEST_F(EditorShellTest, FitWidensTheWindowToTheWidestLine)
{
    window.roundEditorWidth = false;
    window.scrollWidth = 632; // c = 632 / 7.9 + 3 = 83 cells
    shell.fitWindowToText();
    EXPECT_DOUBLE_EQ(window.width(), 10080);
    EXPECT_NEAR(window.editorWidthCells(), 83, 1e-4);
    EXPECT_EQ(window.widthChanges.size(), 1) << "the width is set once";
}

TEST_F(EditorShellTest, FitNeverMakesTheWindowWiderThanTheScreen)
{
    window.roundEditorWidth = false;
    window.screenWidth = 1600 * 15.0;     // a 1600-pixel screen
    window.scrollWidth = 400 * 8;         // a 400-character line
    shell.fitWindowToText();
    EXPECT_DOUBLE_EQ(window.width(), 24000);
    EXPECT_EQ(window.widthChanges.size(), 1);

    // Text that fits is fitted as usual.
    window.scrollWidth = 632;
    shell.fitWindowToText();
    EXPECT_DOUBLE_EQ(window.width(), 10080);
}

TEST_F(EditorShellTest, FitReadsBackTheWidthTheControlKept)
{
    window.scrollWidth = 500; // c = 66.29..., kept to the nearest eighth of a cell
    shell.fitWindowToText();
    EXPECT_DOUBLE_EQ(window.width(), 66.25 * 120 + 120);
}

TEST_F(EditorShellTest, FitKeepsTheNarrowWidthUpTo118Pixels)
{
    window.widthTwips = 9000;
    window.scrollWidth = 100;
    shell.fitWindowToText();
    EXPECT_EQ(window.width(), 2280);

    window.scrollWidth = 118;
    shell.fitWindowToText();
    EXPECT_EQ(window.width(), 2280);

    window.roundEditorWidth = false;
    window.scrollWidth = 119;
    shell.fitWindowToText();
    EXPECT_NEAR(window.width(), (119 / 7.9 + 3) * 120 + 120, 1e-3);
}

TEST_F(EditorShellTest, FitLeavesAMinimizedOrMaximizedWindowAlone)
{
    window.scrollWidth = 632;
    window.widthTwips = 5000;
    for (WindowState state : {WindowState::Minimized, WindowState::Maximized}) {
        window.state = state;
        shell.fitWindowToText();
        EXPECT_EQ(window.width(), 5000);
        EXPECT_TRUE(window.widthChanges.isEmpty());
    }
}

TEST_F(EditorShellTest, FitWithoutAScrollRangeStaysNarrow)
{
    window.widthTwips = 5000;
    window.scrollWidth.reset();
    shell.fitWindowToText();
    EXPECT_EQ(window.width(), 2280);
}

// --------------------------------------------------------- the save prompt

TEST_F(EditorShellTest, UnmodifiedDocumentNeedsNoPrompt)
{
    EXPECT_TRUE(shell.saveChanges());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(EditorShellTest, PromptTextsNameTheFileOrUntitled)
{
    test::setTextOf(editor, QStringLiteral("AC:1"));
    messages.answers = {MessageResult::No};
    EXPECT_TRUE(shell.saveChanges());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("The text in 'Untitled File' has changed.\r\n\r\nDo you want to save the changes?"));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Save Changes?"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(editor.isModified()) << "No keeps the changes unsaved";

    editor.setFileName(QStringLiteral("/data/ROAD1.PRJ"));
    messages.answers = {MessageResult::Cancel};
    EXPECT_FALSE(shell.saveChanges());
    EXPECT_EQ(messages.shown[1].text,
              QStringLiteral("The text in '/data/ROAD1.PRJ' has changed.\r\n\r\nDo you want to save the changes?"));
}

TEST_F(EditorShellTest, YesSavesTheDocument)
{
    const QString path = makeFile(QStringLiteral("A.PRJ"), "AC:1");
    ASSERT_TRUE(shell.openFile(path));
    test::setTextOf(editor, QStringLiteral("AC:2"));
    messages.answers = {MessageResult::Yes};
    EXPECT_TRUE(shell.saveChanges());
    EXPECT_EQ(readBytes(path), QByteArray("AC:2"));
    EXPECT_FALSE(editor.isModified());
}

TEST_F(EditorShellTest, YesOnAnUntitledDocumentAsksForANameAndCancelKeepsEverything)
{
    test::setTextOf(editor, QStringLiteral("AC:1"));
    messages.answers = {MessageResult::Yes};
    dialogs.answers = {QString()}; // the Save As dialog is cancelled
    EXPECT_FALSE(shell.saveChanges());
    EXPECT_EQ(dialogs.saveShown.size(), 1);
    EXPECT_TRUE(editor.isModified());

    // New therefore discards nothing.
    messages.answers = {MessageResult::Yes};
    dialogs.answers = {QString()};
    shell.fileNew();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1"));
}

TEST_F(EditorShellTest, YesOnAnUntitledDocumentSavesUnderTheChosenName)
{
    test::setTextOf(editor, QStringLiteral("AC:1"));
    messages.answers = {MessageResult::Yes};
    const QString path = pathOf(QStringLiteral("NEW.PRJ"));
    dialogs.answers = {path};
    EXPECT_TRUE(shell.saveChanges());
    EXPECT_EQ(readBytes(path), QByteArray("AC:1"));
    EXPECT_EQ(editor.fileName(), path);
    EXPECT_EQ(window.caption(), QStringLiteral("NEW.PRJ - ZUNOPad File Editor"));
}

// ------------------------------------------------------------------- save

TEST_F(EditorShellTest, SaveInRecordViewWritesTheListLayoutAndStaysInRecordView)
{
    const QString path = makeFile(QStringLiteral("R.PRJ"), "old");
    editor.setFileName(path);
    showRecordText(FiveRecordLines);
    editor.setModified(true);

    EXPECT_TRUE(shell.fileSave());
    EXPECT_EQ(readBytes(path), SixListLines.toUtf8());
    EXPECT_EQ(test::textOf(editor), FiveRecordLines);
    EXPECT_FALSE(editor.isModified());
    EXPECT_TRUE(window.isRecordViewChecked());
    EXPECT_FALSE(window.isListViewChecked());
    EXPECT_FALSE(window.busyNow);
    EXPECT_TRUE(window.pointerLog.contains(QStringLiteral("busy")));
}

TEST_F(EditorShellTest, SaveInRecordViewShowsTheRecordsOfWhatWasWritten)
{
    const QString path = makeFile(QStringLiteral("R.PRJ"), "old");
    editor.setFileName(path);
    // Typed by hand: BG starts a line of its own in the Record layout.
    showRecordText(QStringLiteral("AC:1  BG:2"));
    EXPECT_TRUE(shell.fileSave());
    EXPECT_EQ(readBytes(path), QByteArray("AC:1\r\nBG:2"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nBG:2"));
    EXPECT_TRUE(window.isRecordViewChecked());
    EXPECT_FALSE(editor.isModified());
}

TEST_F(EditorShellTest, SavedTextThatCannotBeShownAsRecordsIsShownInListView)
{
    const QString path = makeFile(QStringLiteral("R.PRJ"), "old");
    editor.setFileName(path);
    // "B" comes off as an item of its own, without a colon.
    showRecordText(QStringLiteral("AC:1  B  XX:2"));
    EXPECT_TRUE(shell.fileSave());
    EXPECT_EQ(readBytes(path), QByteArray("AC:1\r\nB\r\nXX:2"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Invalid ZUNO Data Item 'B' on line 2"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nB\r\nXX:2"));
    EXPECT_TRUE(window.isListViewChecked()) << "the View menu names the layout shown";
    EXPECT_FALSE(window.isRecordViewChecked());
    EXPECT_FALSE(editor.isModified());
}

TEST_F(EditorShellTest, SaveInListViewWritesTheTextAsItIs)
{
    const QString path = makeFile(QStringLiteral("L.PRJ"), "old");
    editor.setFileName(path);
    test::setTextOf(editor, QStringLiteral("AC:1\r\nnot checked in List view"));
    EXPECT_TRUE(shell.fileSave());
    EXPECT_EQ(readBytes(path), QByteArray("AC:1\r\nnot checked in List view"));
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nnot checked in List view"));
}

TEST_F(EditorShellTest, SaveKeepsTheFilesLineEndings)
{
    const QString path = makeFile(QStringLiteral("LF.PRJ"), "AC:1\nBG:2\n");
    ASSERT_TRUE(shell.openFile(path));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nBG:2\r\n"));
    test::setTextOf(editor, QStringLiteral("AC:1\r\nBG:3\r\n"));
    EXPECT_TRUE(shell.fileSave());
    EXPECT_EQ(readBytes(path), QByteArray("AC:1\nBG:3\n"));
}

TEST_F(EditorShellTest, InvalidRecordTextIsNotSaved)
{
    const QString path = makeFile(QStringLiteral("R.PRJ"), "AC:1");
    editor.setFileName(path);
    const QString bad = QStringLiteral("AC:1  junk");
    showRecordText(bad);
    editor.setModified(true);

    EXPECT_FALSE(shell.fileSave());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Unexpected data 'AC:1  junk'."));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Invalid File"));
    EXPECT_EQ(readBytes(path), QByteArray("AC:1")) << "the file keeps its last good content";
    EXPECT_EQ(test::textOf(editor), bad);
    EXPECT_TRUE(editor.isModified());
    EXPECT_TRUE(window.isRecordViewChecked());

    // The prompt then answers false, so closing discards nothing.
    messages.answers = {MessageResult::Yes};
    EXPECT_FALSE(shell.formUnload());
    EXPECT_EQ(settings.writeCount, 0);
}

TEST_F(EditorShellTest, FailedWriteLeavesFileAndDocumentAsTheyWere)
{
    // The folder of the file is gone: no write can succeed, root or not.
    QDir(dir.path()).mkdir(QStringLiteral("gone"));
    const QString path = pathOf(QStringLiteral("gone/R.PRJ"));
    writeBytes(path, "AC:1");
    ASSERT_TRUE(shell.openFile(path));
    showRecordText(FiveRecordLines);
    editor.setModified(true);
    ASSERT_TRUE(QDir(pathOf(QStringLiteral("gone"))).removeRecursively());

    EXPECT_FALSE(shell.fileSave());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    // The fault lies with the folder, and the message names it.
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("The file '") + path
                                          + QStringLiteral("' could not be saved in the folder '")
                                          + pathOf(QStringLiteral("gone"))
                                          + QStringLiteral("'.\r\n\r\nNo such file or directory"));
    EXPECT_EQ(test::textOf(editor), FiveRecordLines);
    EXPECT_TRUE(editor.isModified());
    EXPECT_TRUE(window.isRecordViewChecked());

    messages.answers = {MessageResult::Yes};
    EXPECT_FALSE(shell.saveChanges()) << "the caller must not discard the unsaved text";
}

TEST_F(EditorShellTest, SaveAsWritesRereadsAndRenames)
{
    test::setTextOf(editor, QStringLiteral("AC:1"));
    const QString path = pathOf(QStringLiteral("COPY.CTL"));
    dialogs.answers = {path};
    EXPECT_TRUE(shell.fileSaveAs());
    EXPECT_EQ(readBytes(path), QByteArray("AC:1"));
    EXPECT_EQ(editor.fileName(), path);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1"));
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(window.caption(), QStringLiteral("COPY.CTL - ZUNOPad File Editor"));

    ASSERT_EQ(dialogs.saveShown.size(), 1);
    const FileDialogSettings &shown = dialogs.saveShown[0];
    EXPECT_EQ(shown.title, QStringLiteral("Save As"));
    EXPECT_EQ(shown.options, FileDialogOption::ConfirmOverwrite);
    EXPECT_EQ(shown.fileName, QString());
    EXPECT_EQ(shown.defaultExtension, QString()) << "no Open yet";
    EXPECT_EQ(shown.filter, zunoFileFilter());
}

TEST_F(EditorShellTest, SaveAsInRecordViewWritesListAndShowsRecords)
{
    showRecordText(FiveRecordLines);
    const QString path = pathOf(QStringLiteral("R.PRJ"));
    dialogs.answers = {path};
    EXPECT_TRUE(shell.fileSaveAs());
    EXPECT_EQ(readBytes(path), SixListLines.toUtf8());
    EXPECT_EQ(test::textOf(editor), FiveRecordLines);
    EXPECT_TRUE(window.isRecordViewChecked());
    EXPECT_FALSE(editor.isModified());
}

TEST_F(EditorShellTest, CancelledSaveAsChangesNothing)
{
    test::setTextOf(editor, QStringLiteral("AC:1"));
    dialogs.answers = {QString()};
    EXPECT_FALSE(shell.fileSaveAs());
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(window.caption(), QStringLiteral("ZUNOPad File Editor"));
}

// ------------------------------------------------------------- open and new

TEST_F(EditorShellTest, OpenInRecordViewLoadsTheFileInListView)
{
    const QString path = makeFile(QStringLiteral("ROAD1.PRJ"), SixListLines.toUtf8());
    showRecordText(FiveRecordLines);
    editor.setModified(false);
    window.scrollWidth = 632;
    dialogs.answers = {path};

    shell.fileOpen();
    EXPECT_EQ(test::textOf(editor), SixListLines) << "shown as read, no conversion";
    EXPECT_TRUE(window.isListViewChecked());
    EXPECT_FALSE(window.isRecordViewChecked());
    EXPECT_FALSE(editor.isModified());
    EXPECT_EQ(editor.fileName(), path);
    EXPECT_EQ(window.caption(), QStringLiteral("ROAD1.PRJ - ZUNOPad File Editor"));
    EXPECT_EQ(window.widthChanges.size(), 1) << "fitted to the text";

    ASSERT_EQ(dialogs.openShown.size(), 1);
    EXPECT_EQ(dialogs.openShown[0].title, QStringLiteral("Open ZUNO File"));
    EXPECT_EQ(dialogs.openShown[0].filterIndex, 1);
    EXPECT_EQ(dialogs.openShown[0].defaultExtension, QStringLiteral(".PRJ"));
    EXPECT_EQ(dialogs.openShown[0].options, FileDialogOption::FileMustExist);

    // Save As now has Open's default extension.
    dialogs.answers = {QString()};
    shell.fileSaveAs();
    EXPECT_EQ(dialogs.saveShown[0].defaultExtension, QStringLiteral(".PRJ"));
}

TEST_F(EditorShellTest, OpenThatCannotLoadLeavesDocumentAndViewAlone)
{
    showRecordText(FiveRecordLines);
    editor.setModified(false);
    QDir(dir.path()).mkdir(QStringLiteral("DIR.PRJ"));
    dialogs.answers = {pathOf(QStringLiteral("DIR.PRJ"))};
    shell.fileOpen();
    EXPECT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(test::textOf(editor), FiveRecordLines);
    EXPECT_TRUE(window.isRecordViewChecked());
    EXPECT_EQ(window.caption(), QStringLiteral("ZUNOPad File Editor"));

    dialogs.answers = {pathOf(QStringLiteral("MISSING.PRJ"))};
    shell.fileOpen();
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown[1].text,
              QStringLiteral("The file '") + pathOf(QStringLiteral("MISSING.PRJ")) + QStringLiteral("' doesn't exist."));
    EXPECT_EQ(messages.shown[1].title, QStringLiteral("ZUNOPad"));
    EXPECT_TRUE(window.isRecordViewChecked());
}

TEST_F(EditorShellTest, NoThenCancelledOpenKeepsTheChanges)
{
    test::setTextOf(editor, QStringLiteral("AC:1"));
    messages.answers = {MessageResult::No};
    dialogs.answers = {QString()};
    shell.fileOpen();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1"));
    EXPECT_TRUE(editor.isModified());
}

TEST_F(EditorShellTest, NewEmptiesTheDocumentAndReturnsToListView)
{
    const QString path = makeFile(QStringLiteral("A.PRJ"), "AC:1");
    ASSERT_TRUE(shell.openFile(path));
    showRecordText(QStringLiteral("AC:1"));
    editor.setModified(true);
    window.setCaption(QStringLiteral("A.PRJ - ZUNOPad File Editor"));
    messages.answers = {MessageResult::No};

    shell.fileNew();
    EXPECT_EQ(test::textOf(editor), QString());
    EXPECT_EQ(editor.fileName(), QString());
    EXPECT_FALSE(editor.isModified());
    EXPECT_TRUE(window.isListViewChecked());
    EXPECT_FALSE(window.isRecordViewChecked());
    EXPECT_EQ(window.caption(), QStringLiteral("ZUNOPad File Editor"));
    EXPECT_EQ(readBytes(path), QByteArray("AC:1")) << "No writes nothing";
}

TEST_F(EditorShellTest, CancelInThePromptKeepsNewFromDoingAnything)
{
    test::setTextOf(editor, QStringLiteral("AC:1"));
    messages.answers = {MessageResult::Cancel};
    shell.fileNew();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1"));
}

// ----------------------------------------------------------------- closing

TEST_F(EditorShellTest, ClosingWritesThePositionUnlessMinimized)
{
    window.topTwips = 1500;
    window.leftTwips = -30;
    EXPECT_TRUE(shell.formUnload());
    EXPECT_EQ(settings.values.value(FakeSettings::path("ZUNOPad", "StartupPosition", "Top")), QStringLiteral("1500"));
    EXPECT_EQ(settings.values.value(FakeSettings::path("ZUNOPad", "StartupPosition", "Left")), QStringLiteral("-30"));

    settings.values.clear();
    window.state = WindowState::Maximized;
    EXPECT_TRUE(shell.formUnload());
    EXPECT_EQ(settings.values.size(), 2) << "a maximized window counts as not minimized";

    settings.values.clear();
    window.state = WindowState::Minimized;
    EXPECT_TRUE(shell.formUnload());
    EXPECT_TRUE(settings.values.isEmpty());
}

TEST_F(EditorShellTest, CancelWhileClosingKeepsTheWindowAndWritesNothing)
{
    test::setTextOf(editor, QStringLiteral("AC:1"));
    messages.answers = {MessageResult::Cancel};
    EXPECT_FALSE(shell.formUnload());
    EXPECT_EQ(settings.writeCount, 0);
}

// ------------------------------------------------------------------- views

TEST_F(EditorShellTest, ListRecordListShowsTheSameLinesAndKeepsTheFlag)
{
    test::setTextOf(editor, SixListLines);
    editor.setModified(false);
    shell.viewRecord();
    EXPECT_EQ(test::textOf(editor), FiveRecordLines);
    EXPECT_TRUE(window.isRecordViewChecked());
    EXPECT_FALSE(window.isListViewChecked());
    EXPECT_FALSE(editor.isModified());

    shell.viewList();
    EXPECT_EQ(test::textOf(editor), SixListLines);
    EXPECT_TRUE(window.isListViewChecked());
    EXPECT_FALSE(editor.isModified()) << "a change of view is no edit";

    editor.setModified(true);
    shell.viewRecord();
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(window.pointerLog, QStringList({"busy", "default", "busy", "default", "busy", "default"}));
}

TEST_F(EditorShellTest, ChoosingTheShownViewDoesNothing)
{
    test::setTextOf(editor, SixListLines);
    const int writes = editor.setTextCount;
    shell.viewList();
    EXPECT_EQ(editor.setTextCount, writes);
    EXPECT_TRUE(window.pointerLog.isEmpty());
    EXPECT_TRUE(window.widthChanges.isEmpty());
}

TEST_F(EditorShellTest, InvalidLineKeepsTheViewWhereItWas)
{
    test::setTextOf(editor, QStringLiteral("AC:1\r\nX Y"));
    editor.setModified(false);
    shell.viewRecord();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 2"));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Invalid File"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nX Y"));
    EXPECT_TRUE(window.isListViewChecked()) << "the View menu names the layout the text is in";
    EXPECT_FALSE(window.isRecordViewChecked());
    EXPECT_FALSE(editor.isModified());
    EXPECT_FALSE(window.busyNow);
}

// A text whose value holds two spaces would not come back from the Record
// view: View > Record warns and asks first.
const QString TwoSpaceValue = QStringLiteral("AC:1\r\nNM:MAIN  ROAD\r\nXX:2");

TEST_F(EditorShellTest, RecordViewOfATextThatWouldChangeAsksAndNoKeepsTheListView)
{
    test::setTextOf(editor, TwoSpaceValue);
    editor.setModified(true);
    const int writes = editor.setTextCount;
    messages.onShow = [this](const ShownMessage &) { EXPECT_TRUE(window.busyNow); };
    messages.answers = {MessageResult::No};
    shell.viewRecord();
    ASSERT_EQ(messages.shown.size(), 1);
    const ShownMessage &asked = messages.shown[0];
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked.icon, MessageIcon::Warning);
    EXPECT_EQ(asked.title, QStringLiteral("Record View"));
    EXPECT_TRUE(asked.text.startsWith(QStringLiteral("The data item 'NM:MAIN  ROAD' on line 2 would not come back "
                                                     "unchanged from the Record view: ")))
        << asked.text.toStdString();
    EXPECT_TRUE(asked.text.endsWith(QStringLiteral(".\r\n\r\nSwitch to the Record view anyway?")));
    EXPECT_EQ(test::textOf(editor), TwoSpaceValue);
    EXPECT_EQ(editor.setTextCount, writes);
    EXPECT_TRUE(window.isListViewChecked());
    EXPECT_FALSE(window.isRecordViewChecked());
    EXPECT_TRUE(editor.isModified());
    EXPECT_FALSE(window.busyNow);

    // Escape or the close box answer No, as the default button does.
    messages.answers.clear();
    shell.viewRecord();
    EXPECT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(test::textOf(editor), TwoSpaceValue);
    EXPECT_TRUE(window.isListViewChecked());
}

TEST_F(EditorShellTest, RecordViewOfATextThatWouldChangeSwitchesOnYes)
{
    test::setTextOf(editor, TwoSpaceValue);
    editor.setModified(false);
    messages.answers = {MessageResult::Yes};
    shell.viewRecord();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1  NM:MAIN  ROAD  XX:2"));
    EXPECT_TRUE(window.isRecordViewChecked());
    EXPECT_FALSE(window.isListViewChecked());
    EXPECT_FALSE(editor.isModified());
}

TEST_F(EditorShellTest, RecordViewAsksNothingOfATextThatComesBackAndTheSaveKeepsEveryValue)
{
    // A long PL line written by hand without its trailing comma, then
    // another PL line: 124 and 999 stay two values in the saved file.
    const QString path = makeFile(QStringLiteral("P.PRJ"), "old");
    editor.setFileName(path);
    test::setTextOf(editor, QStringLiteral("AC:1\r\nPL:100,101,102,103,104,105,106,107,108,109,110,111,112,113,114,"
                                  "115,116,117,118,119,120,121,122,123,124\r\nPL:999"));
    shell.viewRecord();
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(window.isRecordViewChecked());
    EXPECT_TRUE(shell.fileSave());
    EXPECT_EQ(readBytes(path), QByteArray("AC:1\r\nPL:100,101,102,103,104,105,106,107,108,109,110,111,112,113,114,"
                                          "115,116,117,118,\r\nPL:119,120,121,122,123,124,999"));
}

TEST_F(EditorShellTest, AboutShowsTheVersionWithoutLeadingZeros)
{
    shell.helpAbout();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, aboutText());
    EXPECT_TRUE(messages.shown[0].text.startsWith(versionText() + QStringLiteral("\n")));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("ZUNO Pad"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
}

// ------------------------------------------------------- changed on disk

// The question before a save writes over a file that someone else changed:
// the shell's own logic, on text files in memory.
class ChangedOnDiskTest : public ::testing::Test, protected test::ShellOnDoubles {
protected:
    static QString pathOf(const QString &name) { return QStringLiteral("/data/roads/") + name; }
    QString makeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = pathOf(name);
        files.bytes.insert(path, bytes);
        return path;
    }
    QByteArray readBytes(const QString &path) const { return files.bytes.value(path, "<unreadable>"); }
    // Starts with the file loaded, then types into it.
    QString openAndEdit(const QByteArray &bytes = "AC:1\r\nBG:2")
    {
        const QString path = makeFile(QStringLiteral("ROAD1.PRJ"), bytes);
        shell.formLoad(path);
        EXPECT_TRUE(messages.shown.isEmpty());
        test::setTextOf(editor, test::textOf(editor) + QStringLiteral("\r\nXX:MINE"));
        return path;
    }
    // What another program does: writes the file anew, removes it.
    void rewrite(const QString &path, const QByteArray &bytes) { files.bytes.insert(path, bytes); }
    void remove(const QString &path) { files.bytes.remove(path); }
    void expectQuestion(int index, const QString &path)
    {
        ASSERT_GT(messages.shown.size(), index);
        const ShownMessage &shown = messages.shown[index];
        EXPECT_EQ(shown.text, QStringLiteral("The file '") + path
                                  + QStringLiteral("' has been changed on disk since it was opened.\r\n\r\n"
                                                   "Overwrite it with the text in the editor?"));
        EXPECT_EQ(shown.buttons, MessageButtons::YesNo);
        EXPECT_EQ(shown.icon, MessageIcon::Warning);
        EXPECT_EQ(shown.title, QStringLiteral("File Changed on Disk"));
    }
};

TEST_F(ChangedOnDiskTest, NoLeavesTheOtherProgramsTextAndTheDocumentModified)
{
    const QString path = openAndEdit();
    rewrite(path, "AC:1\r\nBG:2\r\nXX:THEIRS");
    messages.answers = {MessageResult::No};
    EXPECT_FALSE(shell.fileSave());
    ASSERT_EQ(messages.shown.size(), 1);
    expectQuestion(0, path);
    EXPECT_EQ(readBytes(path), QByteArray("AC:1\r\nBG:2\r\nXX:THEIRS"));
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nBG:2\r\nXX:MINE"));

    // The question comes again at the next save; Yes writes the editor's text.
    messages.answers = {MessageResult::Yes};
    EXPECT_TRUE(shell.fileSave());
    expectQuestion(1, path);
    EXPECT_EQ(readBytes(path), QByteArray("AC:1\r\nBG:2\r\nXX:MINE"));
    EXPECT_FALSE(editor.isModified());

    // What the editor wrote itself is no change by someone else.
    test::setTextOf(editor, QStringLiteral("AC:3"));
    EXPECT_TRUE(shell.fileSave());
    EXPECT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(readBytes(path), QByteArray("AC:3"));
}

TEST_F(ChangedOnDiskTest, InvalidRecordTextIsToldBeforeTheQuestion)
{
    const QString path = openAndEdit();
    rewrite(path, "AC:THEIRS");
    test::setTextOf(editor, QStringLiteral("AC:1  junk"));
    window.listChecked = false;
    window.recordChecked = true;
    EXPECT_FALSE(shell.fileSave());
    ASSERT_EQ(messages.shown.size(), 1) << "no question about a save that cannot be made";
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Unexpected data 'AC:1  junk'."));
    EXPECT_EQ(readBytes(path), QByteArray("AC:THEIRS"));
    EXPECT_TRUE(editor.isModified());
}

TEST_F(ChangedOnDiskTest, NoInThePromptsSaveKeepsNewAndClosingFromDiscardingTheText)
{
    const QString path = openAndEdit();
    rewrite(path, "AC:9");
    // Save Changes? Yes, then the question: No (the default).
    messages.answers = {MessageResult::Yes};
    shell.fileNew();
    ASSERT_EQ(messages.shown.size(), 2);
    expectQuestion(1, path);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nBG:2\r\nXX:MINE"));
    EXPECT_EQ(editor.fileName(), path);
    EXPECT_TRUE(editor.isModified());

    messages.answers = {MessageResult::Yes, MessageResult::No};
    EXPECT_FALSE(shell.formUnload()) << "the window stays open";
    EXPECT_TRUE(settings.values.isEmpty());
    EXPECT_EQ(readBytes(path), QByteArray("AC:9"));
}

TEST_F(ChangedOnDiskTest, TouchedOrGoneFilesAreWrittenWithoutAQuestion)
{
    const QString path = openAndEdit();
    // Rewritten with the very same bytes.
    rewrite(path, "AC:1\r\nBG:2");
    EXPECT_TRUE(shell.fileSave());
    EXPECT_TRUE(messages.shown.isEmpty());

    // Gone: simply written again.
    test::setTextOf(editor, QStringLiteral("AC:2"));
    remove(path);
    EXPECT_TRUE(shell.fileSave());
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(readBytes(path), QByteArray("AC:2"));
}

TEST_F(ChangedOnDiskTest, SaveAsAsksOnlyForTheDocumentsOwnFile)
{
    const QString path = openAndEdit();
    rewrite(path, "AC:THEIRS");
    // Onto another file: the dialog has confirmed it; no question.
    const QString copy = makeFile(QStringLiteral("COPY.PRJ"), "AC:OLD");
    dialogs.answers = {copy};
    EXPECT_TRUE(shell.fileSaveAs());
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(readBytes(copy), QByteArray("AC:1\r\nBG:2\r\nXX:MINE"));

    // The copy is now the document's file: changed by someone else, and
    // saved onto under its own name, the question comes.
    rewrite(copy, "AC:THEIRS TOO");
    test::setTextOf(editor, QStringLiteral("AC:4"));
    dialogs.answers = {copy};
    messages.answers = {MessageResult::No};
    EXPECT_FALSE(shell.fileSaveAs());
    expectQuestion(0, copy);
    EXPECT_EQ(readBytes(copy), QByteArray("AC:THEIRS TOO"));
    EXPECT_TRUE(editor.isModified());
}

TEST_F(ChangedOnDiskTest, OpenedFileIsWatchedToo)
{
    const QString first = makeFile(QStringLiteral("FIRST.PRJ"), "AC:1");
    const QString second = makeFile(QStringLiteral("SECOND.PRJ"), "AC:2");
    shell.formLoad(first);
    dialogs.answers = {second};
    shell.fileOpen();
    ASSERT_EQ(editor.fileName(), second);
    rewrite(first, "AC:FIRST CHANGED"); // no longer the document's file
    rewrite(second, "AC:SECOND CHANGED");
    test::setTextOf(editor, QStringLiteral("AC:MINE"));
    EXPECT_FALSE(shell.fileSave());
    expectQuestion(0, second);

    // After New the document has no file to compare.
    messages.shown.clear();
    messages.answers = {MessageResult::No};
    shell.fileNew();
    EXPECT_EQ(messages.shown.size(), 1) << "only the save prompt";
}

TEST_F(EditorShellTest, FilesThatAreNoTextAreNotLoaded)
{
    // A named pipe without a writer: no hang, a warning, nothing loaded.
    const QString fifo = pathOf(QStringLiteral("PIPE.PRJ"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    test::setTextOf(editor, QStringLiteral("AC:KEPT"));
    EXPECT_FALSE(LoadTextFile(fifo, editor, messages, files).ok());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("The file '") + fifo
                                          + QStringLiteral("' could not be read.\r\n\r\nNot a regular file: a named pipe"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:KEPT"));

    shell.formLoad(QStringLiteral("/dev/zero"));
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown[1].text,
              QStringLiteral("Unable to load the file /dev/zero.\r\n\r\nNot a regular file: a device"));
    EXPECT_EQ(editor.fileName(), QString());
}

TEST_F(EditorShellTest, WarningsQuoteControlCharactersAsEscapes)
{
    test::setTextOf(editor, QStringLiteral("AC:1\r\nA\u001b[2JB\tC"));
    shell.viewRecord();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Invalid ZUNO Data Item 'A\\x1b[2JB\tC' on line 2"));
}

TEST_F(EditorShellTest, AFileDeletedWhileOpenIsSavedAgainAsPrivateAsItWas)
{
    const QString path = makeFile(QStringLiteral("SECRET.PRJ"), "AC:1");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
    shell.formLoad(path);
    ASSERT_TRUE(QFile::remove(path));
    test::setTextOf(editor, QStringLiteral("AC:2"));
    EXPECT_TRUE(shell.fileSave());
    EXPECT_EQ(readBytes(path), QByteArray("AC:2"));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(EditorShellTest, ANameThatIsNotUtf8OpensAndSavesUnderItsOwnBytes)
{
    const QByteArray name = QFile::encodeName(dir.path()) + "/caf\xE9.PRJ";
    FILE *file = std::fopen(name.constData(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("AC:1", file);
    std::fclose(file);
    shell.formLoad(fileNameFromBytes(name));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1"));
    EXPECT_EQ(window.caption(), QStringLiteral("caf\uFFFD.PRJ - ZUNOPad File Editor"));
    test::setTextOf(editor, QStringLiteral("AC:2"));
    EXPECT_TRUE(shell.fileSave());
    file = std::fopen(name.constData(), "rb");
    ASSERT_NE(file, nullptr);
    char bytes[8] = {};
    EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, file), 4u);
    std::fclose(file);
    EXPECT_EQ(QByteArray(bytes), QByteArray("AC:2"));
    // (Qt cannot remove what it cannot name.)
    EXPECT_EQ(::unlink(name.constData()), 0);
}

TEST_F(EditorShellTest, FileDialogsStartInTheDocumentsFolderElseTheLastOneChosen)
{
    QTemporaryDir first, second;
    const QString a = first.filePath(QStringLiteral("A.PRJ")), b = second.filePath(QStringLiteral("B.PRJ"));
    for (const QString &path : {a, b})
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZUNO_EXAMPLES_DIR "/ROAD1.PRJ"), path));
    dialogs.answers = {a};
    shell.fileOpen();
    EXPECT_TRUE(dialogs.openShown[0].folder.isEmpty()) << "nothing to start from yet";
    shell.fileNew();
    shell.fileOpen(); // cancelled
    EXPECT_EQ(QDir(dialogs.openShown[1].folder), QDir(first.path())) << "the folder last chosen in a dialog";
    shell.openFile(b);
    shell.fileSaveAs(); // cancelled
    EXPECT_EQ(QDir(dialogs.saveShown[0].folder), QDir(second.path())) << "the document's folder";
}

} // namespace
