// The safe save keeps the file the file: links, attributes, owners,
// read-only files and folders, leftovers of killed saves.
#include "TextFileTesting.h"

#include "textfile/Digest.h"

#include <QProcess>

#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace zuno {
namespace {

using namespace zuno::filetests;

// ---------------------------------------------------------------------------
// The file stays the file: links, attributes, owners, read-only files

TEST_F(TextFileOnDisk, HardLinkedFileIsWrittenInPlaceAndKeepsItsLinks)
{
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    const QString other = path(QStringLiteral("OTHER.PRJ"));
    writeBytes(file, "AC:1");
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()), 0);
    const ino_t inode = statOf(file).st_ino;

    ASSERT_TRUE(writeTextFile(file, "AC:2\r\nBG:3", {}).ok());
    EXPECT_EQ(readBytes(other), QByteArray("AC:2\r\nBG:3"));
    EXPECT_EQ(statOf(file).st_ino, inode);
    EXPECT_EQ(statOf(file).st_nlink, 2u);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("OTHER.PRJ"), QStringLiteral("ROAD1.PRJ")}));

    // Shorter text: the file is cut to it.
    ASSERT_TRUE(writeTextFile(file, "A:", {}).ok());
    EXPECT_EQ(readBytes(other), QByteArray("A:"));
}

// Bytes made as they are written: a new file, one replaced, one written in
// place (it has another name); the producer hands its bytes over in pieces,
// or gives up after its first piece.
TEST_F(TextFileOnDisk, ProducedBytesAreWrittenWholeOrNotAtAll)
{
    struct Case {
        const char *name;
        bool exists;
        bool linked;
    };
    const Case cases[] = {{"new", false, false}, {"replaced", true, false}, {"in place", true, true}};
    const QList<QByteArray> pieces = {QByteArray(3000, 'a'), QByteArray("\r\n"), QByteArray(70000, 'b')};
    const QByteArray whole = pieces.join();
    for (const Case &c : cases) {
        for (const bool givesUp : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (givesUp ? ", gives up" : ", made whole"));
            const QString file = path(QStringLiteral("ROAD1.PRJ"));
            const QString other = path(QStringLiteral("OTHER.PRJ"));
            QFile::remove(file);
            QFile::remove(other);
            if (c.exists)
                writeBytes(file, "AC:OLD");
            if (c.linked) {
                ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()), 0);
            }
            const QStringList before = entries();
            int runs = 0;
            const auto saved = saveFileStream(file, [&](const ByteSink &sink) {
                ++runs;
                for (const QByteArray &piece : pieces) {
                    sink(piece);
                    if (givesUp)
                        return false;
                }
                return true;
            });
            if (givesUp) {
                ASSERT_FALSE(saved.ok());
                EXPECT_TRUE(saved.error().abandoned);
                EXPECT_EQ(readBytes(file), c.exists ? QByteArray("AC:OLD") : QByteArray("<unreadable>"));
                EXPECT_EQ(entries(), before) << "nothing of ours is left beside it";
                EXPECT_EQ(runs, 1);
            } else {
                ASSERT_TRUE(saved.ok());
                EXPECT_EQ(readBytes(file), whole);
                EXPECT_EQ(saved.value().size, whole.size());
                EXPECT_EQ(saved.value().digest, digestOf(whole));
                EXPECT_EQ(entries(), before.isEmpty() ? QStringList{QStringLiteral("ROAD1.PRJ")} : before);
                // In place, a first run into nothing finds a fault before the
                // file is touched.
                EXPECT_EQ(runs, c.linked ? 2 : 1);
            }
        }
    }
}

TEST_F(TextFileOnDisk, FailedInPlaceWritePutsTheOldBytesBackAtEveryName)
{
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    const QString other = path(QStringLiteral("OTHER.PRJ"));
    const QByteArray old(3000, 'o');
    writeBytes(file, old);
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()), 0);
    for (const bool unnamed : {true, false}) {
        allowUnnamedTemporaryFiles(unnamed);
        std::optional<TextFileError> error;
        {
            const FileSizeLimit limit(4096);
            error = failureOf(writeTextFile(file, QByteArray(65536, 'X'), {}));
        }
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->message, QStringLiteral("File too large"));
        EXPECT_EQ(readBytes(other), old);
        EXPECT_EQ(statOf(file).st_nlink, 2u);
        EXPECT_EQ(entries(), (QStringList{QStringLiteral("OTHER.PRJ"), QStringLiteral("ROAD1.PRJ")}))
            << "the backup is removed once the old bytes are back";
    }
    allowUnnamedTemporaryFiles(true);
}

// The raw form of a POSIX ACL as the system.posix_acl_access attribute holds it.
QByteArray aclGivingUserReadWrite(uint32_t user)
{
    QByteArray acl;
    const auto add32 = [&](uint32_t v) { acl.append(reinterpret_cast<const char *>(&v), 4); };
    const auto entry = [&](uint16_t tag, uint16_t perm, uint32_t id) {
        acl.append(reinterpret_cast<const char *>(&tag), 2);
        acl.append(reinterpret_cast<const char *>(&perm), 2);
        add32(id);
    };
    add32(2);                        // version
    entry(0x01, 6, 0xffffffff);      // owner rw
    entry(0x02, 6, user);            // the user rw
    entry(0x04, 4, 0xffffffff);      // group r
    entry(0x10, 6, 0xffffffff);      // mask rw
    entry(0x20, 4, 0xffffffff);      // others r
    return acl;
}

QByteArray attributeOf(const QString &path, const char *name)
{
    QByteArray value(4096, '\0');
    const ssize_t size = ::getxattr(QFile::encodeName(path).constData(), name, value.data(), size_t(value.size()));
    return size < 0 ? QByteArray("<none>") : value.left(size);
}

TEST_F(TextFileOnDisk, ReplacingKeepsExtendedAttributesAndTheAcl)
{
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    writeBytes(file, "AC:1");
    const QByteArray name = QFile::encodeName(file);
    ASSERT_EQ(::setxattr(name.constData(), "user.zuno.origin", "survey", 6, 0), 0)
        << "this file system holds no user attributes";
    const QByteArray acl = aclGivingUserReadWrite(65534);
    ASSERT_EQ(::setxattr(name.constData(), "system.posix_acl_access", acl.constData(), size_t(acl.size()), 0), 0)
        << "this file system holds no ACLs";
    const QByteArray aclBefore = attributeOf(file, "system.posix_acl_access");

    for (const bool unnamed : {true, false}) {
        allowUnnamedTemporaryFiles(unnamed);
        ASSERT_TRUE(writeTextFile(file, unnamed ? "AC:2" : "AC:3", {}).ok());
        EXPECT_EQ(attributeOf(file, "user.zuno.origin"), QByteArray("survey"));
        EXPECT_EQ(attributeOf(file, "system.posix_acl_access"), aclBefore);
        EXPECT_EQ(statOf(file).st_mode & 0777, 0664u) << "the ACL's mask shows as the group bits";
        EXPECT_EQ(entries(), QStringList{QStringLiteral("ROAD1.PRJ")});
    }
    allowUnnamedTemporaryFiles(true);
    EXPECT_EQ(readBytes(file), QByteArray("AC:3"));
}

TEST_F(TextFileOnDisk, ANewFileInTheFolderGetsNoAclTheOldOneLacked)
{
    // The folder gives new files an ACL; the file being replaced has none.
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    writeBytes(file, "AC:1");
    QByteArray acl = aclGivingUserReadWrite(65534);
    ASSERT_EQ(::setxattr(QFile::encodeName(m_dir.path()).constData(), "system.posix_acl_default", acl.constData(),
                         size_t(acl.size()), 0),
              0);
    ASSERT_TRUE(writeTextFile(file, "AC:2", {}).ok());
    EXPECT_EQ(attributeOf(file, "system.posix_acl_access"), QByteArray("<none>"));
    EXPECT_EQ(readBytes(file), QByteArray("AC:2"));
}

// A reading of the file (the recovery reads it on its own thread) may come
// while a save of this process writes its temporary file: the reading
// leaves it; the process's next save, once done, takes leftovers away.
TEST_F(TextFileOnDisk, AReadingLeavesThisProcesssTemporaryFiles)
{
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    writeBytes(file, "AC:1");
    const QString own = path(QStringLiteral(".ROAD1.PRJ.zunopad-%1-a1B2c3").arg(::getpid()));
    writeBytes(own, "being written");
    ASSERT_TRUE(readTextFile(file).ok());
    EXPECT_TRUE(QFile::exists(own));
    ASSERT_TRUE(writeTextFile(file, "AC:2", {}).ok());
    EXPECT_FALSE(QFile::exists(own));
}

TEST_F(TextFileOnDisk, LeftoversOfKilledSavesAreRemovedAtTheNextSave)
{
    // A process that has ended, and one that runs (this one's parent chain
    // always holds process 1).
    QProcess ended;
    ended.start(QStringLiteral("true"));
    ASSERT_TRUE(ended.waitForStarted(10000));
    const QByteArray gone = QByteArray::number(ended.processId());
    ASSERT_TRUE(ended.waitForFinished(10000));
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    writeBytes(file, "AC:1");
    const QStringList left = {
        QStringLiteral(".ROAD1.PRJ.zunopad-%1-a1B2c3").arg(QString::fromLatin1(gone)),     // a killed save
        QStringLiteral(".OTHER.PRJ.zunopad-%1-d4E5f6").arg(QString::fromLatin1(gone)),     // of another file
    };
    const QStringList kept = {
        // A backup of an unfinished save holds the file's last whole text.
        QStringLiteral(".ROAD1.PRJ.zunopad-%1-g7H8i9.bak").arg(QString::fromLatin1(gone)),
        QStringLiteral(".OTHER.PRJ.zunopad-%1-j1K2l3.bak").arg(QString::fromLatin1(gone)), // another file's backup
        QStringLiteral(".ROAD1.PRJ.zunopad-1-m4N5o6"),  // a save still running
        QStringLiteral(".ROAD1.PRJ.swp"),               // not ours
        QStringLiteral(".ROAD1.PRJ.zunopad-x-p7Q8r9"),  // not of our naming
    };
    for (const QString &name : left + kept)
        writeBytes(path(name), "partial");
    ASSERT_TRUE(writeTextFile(file, "AC:2", {}).ok());
    QStringList expected = kept;
    expected.append(QStringLiteral("ROAD1.PRJ"));
    expected.sort();
    EXPECT_EQ(entries(), expected) << entries().join(u' ').toStdString();
    EXPECT_EQ(unfinishedSaveBackups(file), QStringList{path(kept.first())})
        << "only the backup of this file whose writer has ended is offered";
}

TEST_F(TextFileOnDisk, NamedTemporaryFilesWorkWhereUnnamedOnesCannotBeMade)
{
    allowUnnamedTemporaryFiles(false);
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    ASSERT_TRUE(writeTextFile(file, "AC:1", {}).ok());
    ASSERT_TRUE(writeTextFile(file, "AC:2", {}).ok());
    std::optional<TextFileError> error;
    {
        const FileSizeLimit limit(4096);
        error = failureOf(writeTextFile(file, QByteArray(65536, 'X'), {}));
    }
    allowUnnamedTemporaryFiles(true);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(readBytes(file), QByteArray("AC:2"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("ROAD1.PRJ")});
}

// ---------------------------------------------------------------------------
// As an ordinary user: root may write anything, so these run the driver as
// the unprivileged user 65534 (through setpriv when the tests run as root).

class AsOrdinaryUser : public ::testing::Test {
protected:
    static constexpr uid_t User = 65534;

    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to make files of other owners and to switch to user 65534";
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0755), 0);
    }

    // A folder owned by `owner` with `mode`.
    QString folder(const QString &name, uid_t owner, mode_t mode)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(QDir().mkdir(path));
        EXPECT_EQ(::chown(QFile::encodeName(path).constData(), owner, owner), 0);
        EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        return path;
    }
    static QString file(const QString &path, const QByteArray &bytes, uid_t owner, mode_t mode)
    {
        writeBytes(path, bytes);
        EXPECT_EQ(::chown(QFile::encodeName(path).constData(), owner, owner), 0);
        EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
        return path;
    }
    static QStringList entriesOf(const QString &folder)
    {
        return QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
    }

    // Runs the driver as user 65534; its output, or "<exit N>" appended.
    static QString write(const QString &path, const QString &text, const QString &sizeLimit = QString())
    {
        QStringList args = {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                            QStringLiteral("--clear-groups"), QStringLiteral(ZUNO_TEXTFILE_DRIVER),
                            QStringLiteral("write"), path, text};
        if (!sizeLimit.isEmpty())
            args.append(sizeLimit);
        QProcess driver;
        driver.start(QStringLiteral("setpriv"), args);
        if (!driver.waitForFinished(30000)) {
            driver.kill();
            driver.waitForFinished(5000);
            return QStringLiteral("<timed out>");
        }
        QString out = QString::fromUtf8(driver.readAllStandardOutput()) + QString::fromUtf8(driver.readAllStandardError());
        if (driver.exitStatus() != QProcess::NormalExit || driver.exitCode() > 1)
            out += QStringLiteral("<exit %1>").arg(driver.exitCode());
        return out;
    }

    QTemporaryDir m_dir;
};

TEST_F(AsOrdinaryUser, ReadOnlyFileIsRefusedWithTheReason)
{
    const QString own = folder(QStringLiteral("own"), User, 0755);
    const QString path = file(own + QStringLiteral("/ROAD1.PRJ"), "AC:1", User, 0444);
    EXPECT_EQ(write(path, QStringLiteral("AC:2")), QStringLiteral("error: Permission denied\n"));
    EXPECT_EQ(readBytes(path), QByteArray("AC:1"));
    EXPECT_EQ(statOf(path).st_mode & 0777, 0444u);
    EXPECT_EQ(entriesOf(own), QStringList{QStringLiteral("ROAD1.PRJ")});
}

TEST_F(AsOrdinaryUser, FileOfAnotherOwnerKeepsItsOwner)
{
    // The user may write the file and the folder, but could not give a
    // replacement root's ownership: the file is written in place.
    const QString own = folder(QStringLiteral("own"), User, 0755);
    const QString path = file(own + QStringLiteral("/ROAD1.PRJ"), "AC:1", 0, 0666);
    const ino_t inode = statOf(path).st_ino;
    EXPECT_EQ(write(path, QStringLiteral("AC:2\r\nBG:3")), QStringLiteral("ok\n"));
    EXPECT_EQ(readBytes(path), QByteArray("AC:2\r\nBG:3"));
    EXPECT_EQ(statOf(path).st_uid, 0u);
    EXPECT_EQ(statOf(path).st_ino, inode);
    EXPECT_EQ(entriesOf(own), QStringList{QStringLiteral("ROAD1.PRJ")});
}

TEST_F(AsOrdinaryUser, WritableFileInAReadOnlyFolderIsWrittenInPlace)
{
    const QString locked = folder(QStringLiteral("locked"), 0, 0755);
    const QString path = file(locked + QStringLiteral("/ROAD1.PRJ"), QByteArray(3000, 'o'), User, 0644);
    EXPECT_EQ(write(path, QStringLiteral("AC:2")), QStringLiteral("ok\n"));
    EXPECT_EQ(readBytes(path), QByteArray("AC:2"));
    EXPECT_EQ(statOf(path).st_uid, User);

    // A write that fails half way puts the old bytes back from memory.
    file(path, QByteArray(3000, 'o'), User, 0644);
    EXPECT_EQ(write(path, QByteArray(65536, 'X'), QStringLiteral("4096")), QStringLiteral("error: File too large\n"));
    EXPECT_EQ(readBytes(path), QByteArray(3000, 'o'));
    EXPECT_EQ(entriesOf(locked), QStringList{QStringLiteral("ROAD1.PRJ")});
}

TEST_F(AsOrdinaryUser, NewFileInAReadOnlyFolderNamesTheFolder)
{
    const QString locked = folder(QStringLiteral("locked"), 0, 0755);
    EXPECT_EQ(write(locked + QStringLiteral("/NEW.PRJ"), QStringLiteral("AC:1")),
              QStringLiteral("error: Permission denied\nfolder: ") + locked + u'\n');
    EXPECT_TRUE(entriesOf(locked).isEmpty());
}

} // namespace
} // namespace zuno
