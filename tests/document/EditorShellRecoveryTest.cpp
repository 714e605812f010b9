// The question at start that offers unsaved changes kept by an editor that
// ended without saving them, or the text an unfinished save kept: each
// answer against the doubles and a scratch recovery folder; and a command
// that runs out of memory; and when a saved file can be the base of the
// recovery journal.
#include "ShellOnDoubles.h"
#include "document/MemoryShortage.h"
#include "support/EditText.h"
#include "document/RecoveryFeed.h"
#include "recovery/DocumentRecovery.h"
#include "textfile/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

const QString Title = QStringLiteral("Recover Unsaved Changes");

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

class EditorShellRecoveryTest : public ::testing::Test, protected test::ShellOnDisk {
protected:
    QString pathOf(const QString &name) const { return dir.filePath(name); }
    QString recoveryFolder() const { return dir.filePath(QStringLiteral("recovery")); }
    // What an editor that was killed while `path` had unsaved changes leaves.
    void keptByAnEndedEditor(const QString &path, const QByteArray &text, bool record, qint64 changedMs = 1000)
    {
        keptByAnEndedEditorIn(recoveryFolder(), path, text, record, changedMs);
    }
    static void keptByAnEndedEditorIn(const QString &folder, const QString &path, const QByteArray &text,
                                      bool record, qint64 changedMs = 1000)
    {
        RecoveryStore ended(folder);
        RecoveryData data;
        data.path = path;
        if (!path.isEmpty())
            data.stamp = fileStamp(path);
        data.recordView = record;
        data.caret = 3;
        data.changedMs = changedMs;
        data.text = text;
        ASSERT_TRUE(ended.write(data).ok());
    }
    int entriesLeft() const { return RecoveryStore(recoveryFolder()).freeEntries().size(); }
    void start(const QString &argument)
    {
        shell.formLoad(argument);
        shell.offerRecovery(store, argument);
    }

    QTemporaryDir dir;
    RecoveryStore store{recoveryFolder()};
};

TEST_F(EditorShellRecoveryTest, EachAnswerToTheQuestionForTheFileNamedAtStart)
{
    const struct {
        MessageResult answer;
        QString text;
        bool modified;
        bool recordView;
        int entriesLeft;
    } cases[] = {
        {MessageResult::Yes, QStringLiteral("AC:1  BG:2"), true, true, 0 /* now this editor's */},
        {MessageResult::No, QStringLiteral("AC:1"), false, false, 0},
        {MessageResult::Cancel, QStringLiteral("AC:1"), false, false, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.answer));
        QTemporaryDir scratch;
        const QString path = scratch.filePath(QStringLiteral("ROAD1.PRJ"));
        writeBytes(path, "AC:1");
        const QString folder = scratch.filePath(QStringLiteral("recovery"));
        keptByAnEndedEditorIn(folder, path, "AC:1  BG:2", true);
        // A start of its own for each answer.
        test::ShellOnDisk start;
        auto &[editor, window, messages, settings, dialogs, files, shell] = start;
        RecoveryStore store(folder);
        messages.answers = {c.answer};
        shell.formLoad(path);
        shell.offerRecovery(store, path);

        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].title, Title);
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNoCancel);
        EXPECT_TRUE(messages.shown[0].text.contains(path)) << messages.shown[0].text.toStdString();
        EXPECT_FALSE(messages.shown[0].text.contains(QStringLiteral("changed on disk")));
        EXPECT_EQ(test::textOf(editor), c.text);
        EXPECT_EQ(editor.isModified(), c.modified);
        EXPECT_EQ(shell.isRecordView(), c.recordView);
        EXPECT_EQ(editor.fileName(), path);
        EXPECT_EQ(window.caption(), QStringLiteral("ROAD1.PRJ - ZUNOPad File Editor"));
        EXPECT_EQ(RecoveryStore(folder).freeEntries().size(), c.entriesLeft);
        if (c.answer == MessageResult::Yes) {
            EXPECT_EQ(editor.selStart(), 3);
        }
    }
}

TEST_F(EditorShellRecoveryTest, AFileChangedOnDiskSinceIsSaidAndSaveAsksBeforeWritingOverIt)
{
    const QString path = pathOf(QStringLiteral("ROAD1.PRJ"));
    writeBytes(path, "AC:1");
    keptByAnEndedEditor(path, "AC:1\r\nXX:MINE", false);
    writeBytes(path, "AC:1\r\nXX:THEIRS, written later and longer");
    messages.answers = {MessageResult::Yes, MessageResult::No};
    start(path);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("The file has been changed on disk since then.")));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nXX:MINE"));

    EXPECT_FALSE(shell.fileSave());
    EXPECT_EQ(messages.shown.last().title, QStringLiteral("File Changed on Disk"));
    EXPECT_EQ(readBytes(path), QByteArray("AC:1\r\nXX:THEIRS, written later and longer"));
}

TEST_F(EditorShellRecoveryTest, WithoutAFileTheLatestDocumentIsOffered)
{
    const QString older = pathOf(QStringLiteral("OLD.PRJ"));
    writeBytes(older, "AC:1");
    keptByAnEndedEditor(older, "AC:OLDER", false, 1000);
    keptByAnEndedEditor(QString(), "AC:UNTITLED", false, 2000);
    messages.answers = {MessageResult::Yes};
    start(QString());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("'Untitled File'")));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:UNTITLED"));
    EXPECT_EQ(editor.fileName(), QString());
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(window.caption(), QStringLiteral("ZUNOPad File Editor"));
    EXPECT_EQ(entriesLeft(), 1) << "the older one waits for its own start";
}

// The backup an in-place save makes, named as the save names it, left by a
// process that has ended.
QString leftBackup(const QString &folder, const QByteArray &text)
{
    QProcess ended;
    ended.start(QStringLiteral("true"));
    EXPECT_TRUE(ended.waitForStarted(10000));
    const qint64 pid = ended.processId();
    EXPECT_TRUE(ended.waitForFinished(10000));
    const QString backup = QStringLiteral("%1/.ROAD1.PRJ.zunopad-%2-a1B2c3.bak").arg(folder).arg(pid);
    writeBytes(backup, text);
    return backup;
}

TEST_F(EditorShellRecoveryTest, AnUnfinishedSavesBackupIsOfferedAndGoesOnlyWhenItsTextIsSafe)
{
    const QString path = pathOf(QStringLiteral("ROAD1.PRJ"));
    writeBytes(path, "AC:1\r\nBG:"); // torn by the kill
    const QString backup = leftBackup(dir.path(), "AC:1\r\nBG:2\r\nEG:3");

    start(path); // Cancel: asked again next time
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].title, Title);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("did not finish")));
    EXPECT_TRUE(QFile::exists(backup));

    messages.answers = {MessageResult::Yes};
    start(path);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nBG:2\r\nEG:3"));
    EXPECT_TRUE(editor.isModified());
    EXPECT_TRUE(QFile::exists(backup)) << "until the text is saved";
    ASSERT_TRUE(shell.fileSave());
    EXPECT_EQ(readBytes(path), QByteArray("AC:1\r\nBG:2\r\nEG:3"));
    EXPECT_FALSE(QFile::exists(backup));

    const QString declined = leftBackup(dir.path(), "AC:OLD");
    messages.answers = {MessageResult::No};
    start(path);
    EXPECT_FALSE(QFile::exists(declined));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nBG:2\r\nEG:3"));
}

// Not only at start: a file opened later (File > Open here; Open Recent
// and a drop open files the same way) comes with the offer too.
TEST_F(EditorShellRecoveryTest, AnUnfinishedSavesBackupIsOfferedWhenTheFileIsOpenedLater)
{
    const QString path = pathOf(QStringLiteral("ROAD1.PRJ"));
    writeBytes(path, "AC:1\r\nBG:");
    leftBackup(dir.path(), "AC:1\r\nBG:2");
    start(QString());
    ASSERT_TRUE(messages.shown.isEmpty());
    dialogs.answers = {path};
    messages.answers = {MessageResult::Yes};
    shell.fileOpen();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("did not finish")));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("AC:1\r\nBG:2"));
    EXPECT_TRUE(editor.isModified());
}

} // namespace

TEST(MemoryShortage, ACommandThatRunsOutOfMemorySaysWhatItCouldNotDo)
{
    FakeMessageBox messages;
    bool after = false;
    whileMemoryLasts(messages, QStringLiteral("open the file"), [&] {
        throw std::bad_alloc();
        after = true;
    });
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Not enough memory to open the file."));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_FALSE(after);
}

TEST_F(EditorShellRecoveryTest, AFailedFirstWriteIsToldOnceInAMessage)
{
    // A folder that cannot be made (its parent is a file), as a full disk:
    // every write fails.
    writeBytes(pathOf(QStringLiteral("file")), "x");
    RecoveryStore failing(pathOf(QStringLiteral("file/recovery")));
    DocumentRecovery recovery(failing, [](QByteArray) { return std::optional<RecoveryData>(); });
    QObject::connect(&recovery, &DocumentRecovery::writeFailed,
                     [this](const QString &reason) { shell.recoveryWriteFailed(reason); });
    int failures = 0;
    QObject::connect(&recovery, &DocumentRecovery::writeFailed, [&failures] { ++failures; });
    recovery.setJournalDelay(5);
    recovery.setModified(true);
    RecoveryData base;
    base.base = RecoveryBase::Empty;
    for (int i = 0; i < 2; ++i) {
        recovery.newBase(base);
        recovery.edited(0, 0, "AC:1");
        ASSERT_TRUE(QTest::qWaitFor([&] { return failures > i; }, 5000));
    }
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown.first().title, Title);
    EXPECT_TRUE(messages.shown.first().text.startsWith(QStringLiteral("The unsaved changes could not be kept for recovery: ")));
}

namespace zuno {
namespace {

// After a save the file is the base of the recovery journal only where it is
// read back as the text shown: whenever readsBackAsItIs says so, the file's
// bytes decode to that text; and an LF or CRLF file of plain lines is one.
TEST(RecoveryBaseAfterSave, AFileIsTakenAsTheBaseOnlyWhenItReadsBackAsTheText)
{
    const QByteArray texts[] = {
        "AC:1\r\nPL:2\r\n", "AC:1", "AC:1\r\nXX:A\rB\r\n", "AC:1\r\nXX:A\nB", "X\r\r\nY\r\n", "\r\n\n",
        "\xEF\xBB\xBF" "AC:1\r\n", "XX:\xC3\xA9\r\n", "", "A\nB", "XX:\xC3\x83\xC2\xA9\r\n", "XX:\xC3\xA9\xC3\xA9\xC3\xA9",
    };
    const TextFileFormat formats[] = {
        {TextEncoding::Utf8, LineEnding::CrLf}, {TextEncoding::Utf8, LineEnding::Lf},
        {TextEncoding::Utf8Bom, LineEnding::Lf}, {TextEncoding::Latin1, LineEnding::CrLf},
    };
    for (const QByteArray &text : texts) {
        for (const TextFileFormat &format : formats) {
            const TextFileFormat written = writtenFormat(text, format);
            if (readsBackAsItIs(text, written)) {
                EXPECT_EQ(decodeText(encodeText(text, written)).text, text) << text.toStdString();
            }
        }
    }
    for (const LineEnding ending : {LineEnding::CrLf, LineEnding::Lf}) {
        const TextFileFormat format{TextEncoding::Utf8, ending};
        EXPECT_TRUE(readsBackAsItIs("AC:1\r\nPL:2\r\n", writtenFormat("AC:1\r\nPL:2\r\n", format)));
    }
    EXPECT_TRUE(readsBackAsItIs("XX:\xC3\xA9\r\n", {TextEncoding::Latin1, LineEnding::CrLf}));
    EXPECT_FALSE(readsBackAsItIs("XX:\xC3\x83\xC2\xA9\r\n", {TextEncoding::Latin1, LineEnding::CrLf}));
}

} // namespace
} // namespace zuno
