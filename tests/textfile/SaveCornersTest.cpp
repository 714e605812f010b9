// Saving in the corners: a file that vanished while open, chains of links
// whose end is still to be made, temporary files left by a killed save.
#include "TextFileTesting.h"

#include <QFileInfo>
#include <QProcess>

#include <sys/stat.h>
#include <unistd.h>

namespace zuno {
namespace {

using namespace zuno::filetests;

TEST_F(TextFileOnDisk, AVanishedFileComesBackWithItsOwnPermissions)
{
    const QString file = path(QStringLiteral("SECRET.PRJ"));
    for (const mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0604)}) {
        writeBytes(file, "AC:1");
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), mode), 0);
        auto read = readTextFile(file);
        ASSERT_TRUE(read.ok());
        ASSERT_TRUE(QFile::remove(file));
        ASSERT_TRUE(writeTextFile(file, "AC:2", {}, read.value().stamp).ok());
        EXPECT_EQ(statOf(file).st_mode & 07777, mode);
        EXPECT_EQ(statOf(file).st_uid, ::geteuid());
        EXPECT_EQ(readBytes(file), QByteArray("AC:2"));
        ASSERT_TRUE(QFile::remove(file));
    }
    // Without what it was, a new file gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_TRUE(writeTextFile(file, "AC:3", {}).ok());
    EXPECT_EQ(statOf(file).st_mode & 0777, 0666u & ~mask);
}

TEST_F(TextFileOnDisk, ADanglingChainOfLinksIsWrittenThroughToItsEnd)
{
    // first -> second -> (missing) end, the second link relative.
    const QString end = path(QStringLiteral("sub/END.PRJ"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_EQ(::symlink("sub/END.PRJ", QFile::encodeName(path(QStringLiteral("second"))).constData()), 0);
    ASSERT_TRUE(QFile::link(path(QStringLiteral("second")), path(QStringLiteral("first"))));
    ASSERT_TRUE(writeTextFile(path(QStringLiteral("first")), "AC:1", {}).ok());
    EXPECT_EQ(readBytes(end), QByteArray("AC:1"));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("first"))).isSymLink());
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("second"))).isSymLink());

    // A chain that goes round is refused plainly.
    ASSERT_TRUE(QFile::link(path(QStringLiteral("loop2")), path(QStringLiteral("loop1"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("loop1")), path(QStringLiteral("loop2"))));
    const auto error = failureOf(writeTextFile(path(QStringLiteral("loop1")), "AC:1", {}));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message, QStringLiteral("Too many levels of symbolic links"));
}

TEST_F(TextFileOnDisk, OpeningAFileRemovesOnlyItsOwnLeftTemporaryFiles)
{
    QProcess ended;
    ended.start(QStringLiteral("true"));
    ASSERT_TRUE(ended.waitForStarted(10000));
    const QString gone = QString::number(ended.processId());
    ASSERT_TRUE(ended.waitForFinished(10000));
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    writeBytes(file, "AC:1");
    const QString killed = QStringLiteral(".ROAD1.PRJ.zunopad-%1-a1B2c3").arg(gone);
    const QStringList kept = {
        QStringLiteral(".ROAD1.PRJ.zunopad-%1-g7H8i9.bak").arg(gone), // a backup may be the only whole copy
        QStringLiteral(".OTHER.PRJ.zunopad-%1-d4E5f6").arg(gone),     // another file's
        QStringLiteral(".ROAD1.PRJ.zunopad-1-m4N5o6"),                 // a save still running
        QStringLiteral(".ROAD1.PRJ.swp"),                              // not ours
    };
    for (const QString &name : kept + QStringList{killed})
        writeBytes(path(name), "partial");
    ASSERT_TRUE(readTextFile(file).ok());
    QStringList expected = kept;
    expected.append(QStringLiteral("ROAD1.PRJ"));
    expected.sort();
    EXPECT_EQ(entries(), expected) << entries().join(u' ').toStdString();
}

} // namespace
} // namespace zuno
