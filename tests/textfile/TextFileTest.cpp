// Reading and writing text files: byte-exact round trips through files,
// the formats written, and the reasons given for failures.
#include "TextFileTesting.h"

#include <QBuffer>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zuno {
namespace {

using namespace zuno::filetests;

TEST_F(TextFileOnDisk, OpeningAndSavingGivesIdenticalBytes)
{
    const QByteArray samples[] = {
        bytesOf("AC:1\r\nBG:2\r\nPL:1,2,3"),
        bytesOf("AC:1\nBG:2\n"),
        bytesOf("\xEF\xBB\xBF" "AC:1\r\nXX:\xC3\xA9"),
        bytesOf("AC:1\r\nXX:\xE9\xFF\x80\r\n"),
        bytesOf(""),
        QByteArray("A:\0B\r\n", 6),
        // Read a megabyte at a time, with a character cut between two.
        "XX:" + QByteArray((1 << 20) - 4, 'A') + "\xC3\xA9\r\nAC:2",
        // Found to need decoding after a first piece was handed over.
        "XX:" + QByteArray(1 << 20, 'A') + "\nAC:2\n",
        "XX:" + QByteArray(1 << 20, 'A') + "\r\nAC:\xFF\r\n",
    };
    for (const QByteArray &bytes : samples) {
        const QString file = path(QStringLiteral("sample.PRJ"));
        writeBytes(file, bytes);
        auto read = readTextFile(file);
        ASSERT_TRUE(read.ok()) << errorOf(read).toStdString();
        const TextFileContent &content = read.value();
        // Read in pieces, the same text, format and stamp.
        QByteArray pieces;
        const auto inPieces = readTextFile(file, [&](qint64 size, QByteArrayView piece) {
            EXPECT_EQ(size, bytes.size());
            pieces += piece;
            return true;
        });
        ASSERT_TRUE(inPieces.ok());
        EXPECT_EQ(inPieces.value().handedOver ? pieces : inPieces.value().text, content.text);
        EXPECT_EQ(inPieces.value().format, content.format);
        EXPECT_EQ(inPieces.value().stamp.digest, content.stamp.digest);
        const auto written = writeTextFile(file, content.text, content.format);
        ASSERT_TRUE(written.ok());
        EXPECT_EQ(written.value().format, content.format);
        EXPECT_EQ(readBytes(file), bytes) << bytes.toHex().constData();
    }
}

TEST_F(TextFileOnDisk, AFileThatChangesWhileReadInPiecesIsAnError)
{
    const QString file = path(QStringLiteral("CHANGING.PRJ"));
    const QByteArray bytes = QByteArray("AC:1\r\n").repeated(500'000);
    writeBytes(file, bytes);
    // Last changed a while ago, so that the change below shows in its time.
    const timespec past[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(file).constData(), past, 0), 0);
    bool changed = false;
    const auto read = readTextFile(file, [&](qint64, QByteArrayView) {
        if (!changed)
            writeBytes(file, QByteArray("AC:2\r\n").repeated(500'000));
        changed = true;
        return true;
    });
    EXPECT_EQ(errorOf(read), QStringLiteral("The file changed while it was being read"));
    // The taker may stop the reading.
    EXPECT_FALSE(readTextFile(file, [](qint64, QByteArrayView) { return false; }).ok());
    // A file that grows as it is read is read whole, as it then stands.
    writeBytes(file, bytes);
    QFile grown(file);
    const auto whole = readTextFile(file, [&](qint64, QByteArrayView) {
        if (!grown.isOpen() && grown.open(QIODevice::Append))
            grown.write("\r\nAC:3");
        grown.flush();
        return true;
    });
    ASSERT_TRUE(whole.ok()) << errorOf(whole).toStdString();
    EXPECT_FALSE(whole.value().handedOver);
    EXPECT_EQ(whole.value().text, bytes + "\r\nAC:3");
}

TEST_F(TextFileOnDisk, ReadingFailuresGiveTheReason)
{
    EXPECT_EQ(errorOf(readTextFile(path(QStringLiteral("missing.PRJ")))),
              QStringLiteral("No such file or directory"));
    EXPECT_EQ(errorOf(readTextFile(m_dir.path())), QStringLiteral("Is a directory"));
    EXPECT_FALSE(errorOf(readTextFile(path(QStringLiteral("no/such/folder.PRJ")))).isEmpty());
}

TEST_F(TextFileOnDisk, WritingIntoAMissingFolderFailsWithTheReason)
{
    const auto error = failureOf(writeTextFile(path(QStringLiteral("gone/ROAD1.PRJ")), "AC:1", {}));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message, QStringLiteral("No such file or directory"));
}

TEST_F(TextFileOnDisk, WritingOverAFolderFailsAndLeavesItAlone)
{
    const QString folder = path(QStringLiteral("ROAD1.PRJ"));
    ASSERT_TRUE(QDir().mkdir(folder));
    writeBytes(folder + QStringLiteral("/inside"), "kept");
    const auto error = failureOf(writeTextFile(folder, "AC:1", {}));
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->message.isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(readBytes(folder + QStringLiteral("/inside")), QByteArray("kept"));
}

TEST_F(TextFileOnDisk, WritingUnderAnOverlongNameFailsWithoutLeftovers)
{
    const auto error = failureOf(writeTextFile(path(QString(300, u'A')), "AC:1", {}));
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->message.isEmpty());
    EXPECT_TRUE(entries().isEmpty()) << entries().join(u' ').toStdString();
}

TEST_F(TextFileOnDisk, FailedWriteLeavesTheOldFileWhole)
{
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    const QByteArray old = bytesOf("AC:1\r\nBG:2");
    writeBytes(file, old);

    // Files may grow to 4 KiB only: writing 64 KiB fails half way (as root
    // too), as it would on a full disk.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto *previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto error = failureOf(writeTextFile(file, QByteArray(65536, 'X'), {}));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message, QStringLiteral("File too large"));
    EXPECT_EQ(readBytes(file), old);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("ROAD1.PRJ")});
}

TEST_F(TextFileOnDisk, WritingKeepsThePermissions)
{
    const QString file = path(QStringLiteral("CONTROL.CTL"));
    writeBytes(file, "AC:1");
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0640), 0);
    ASSERT_TRUE(writeTextFile(file, "AC:2", {}).ok());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(readBytes(file), QByteArray("AC:2"));
}

TEST_F(TextFileOnDisk, NewFileGetsTheUsualPermissions)
{
    const QString file = path(QStringLiteral("NEW.PRJ"));
    ASSERT_TRUE(writeTextFile(file, "AC:1", {}).ok());
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666u & ~mask);
}

TEST_F(TextFileOnDisk, WritingThroughALinkWritesItsTarget)
{
    const QString target = path(QStringLiteral("ROAD1.PRJ"));
    const QString link = path(QStringLiteral("link.PRJ"));
    writeBytes(target, "AC:1");
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(writeTextFile(link, "AC:2", {}).ok());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readBytes(target), QByteArray("AC:2"));
}

TEST_F(TextFileOnDisk, WritesTheFormatItIsGiven)
{
    const QString file = path(QStringLiteral("CHAINS.PAC"));
    const QString text = QStringLiteral("AC:1\r\nXX:\u00e9");
    const QByteArray utf8 = text.toUtf8();
    ASSERT_TRUE(writeTextFile(file, utf8, {TextEncoding::Utf8Bom, LineEnding::CrLf}).ok());
    EXPECT_EQ(readBytes(file), bytesOf("\xEF\xBB\xBF" "AC:1\r\nXX:\xC3\xA9"));
    ASSERT_TRUE(writeTextFile(file, utf8, {TextEncoding::Latin1, LineEnding::Lf}).ok());
    EXPECT_EQ(readBytes(file), bytesOf("AC:1\nXX:\xE9"));
    // A Latin-1 file whose text gains a character beyond Latin-1 is written,
    // and said to be written, as UTF-8.
    const auto widened = writeTextFile(file, QStringLiteral("XX:\u20ac").toUtf8(), {TextEncoding::Latin1, LineEnding::Lf});
    ASSERT_TRUE(widened.ok());
    EXPECT_EQ(widened.value().format.encoding, TextEncoding::Utf8);
    EXPECT_EQ(readBytes(file), bytesOf("XX:\xE2\x82\xAC"));
    ASSERT_TRUE(writeTextFile(file, utf8, {TextEncoding::Latin1, LineEnding::Lf}).ok());
    EXPECT_EQ(readBytes(file), bytesOf("AC:1\nXX:\xE9"));
    auto read = readTextFile(file);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(QString::fromUtf8(read.value().text), QStringLiteral("AC:1\r\nXX:\u00e9"));
    EXPECT_EQ(read.value().format.encoding, TextEncoding::Latin1);
    EXPECT_EQ(read.value().format.lineEnding, LineEnding::Lf);
}

TEST_F(TextFileOnDisk, PipesAndDevicesAreNeitherReadNorWritten)
{
    const QString fifo = path(QStringLiteral("PIPE.PRJ"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    // No writer: opening it to read would block for ever.
    EXPECT_EQ(errorOf(readTextFile(fifo)), QStringLiteral("Not a regular file: a named pipe"));
    EXPECT_EQ(errorOf(readTextFile(QStringLiteral("/dev/zero"))), QStringLiteral("Not a regular file: a device"));
    const auto written = failureOf(writeTextFile(fifo, "AC:1", {}));
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->message, QStringLiteral("Not a regular file: a named pipe"));
    EXPECT_FALSE(fileStamp(fifo).valid);
}

TEST_F(TextFileOnDisk, FilesAndInputOverTheLimitAreRefused)
{
    // A sparse file one byte over the limit: refused before it is read.
    const QString big = path(QStringLiteral("BIG.PRJ"));
    writeBytes(big, "AC:1");
    ASSERT_EQ(::truncate(QFile::encodeName(big).constData(), MaxTextFileBytes + 1), 0);
    EXPECT_EQ(errorOf(readTextFile(big)), QStringLiteral("File too large (more than 512 MiB)"));

    QByteArray bytes("AC:1\r\nBG:2");
    QBuffer in(&bytes);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const auto whole = readTextStream(in, bytes.size());
    ASSERT_TRUE(whole.ok());
    EXPECT_EQ(QString::fromUtf8(whole.value().text), QStringLiteral("AC:1\r\nBG:2"));
    in.seek(0);
    EXPECT_EQ(errorOf(readTextStream(in, bytes.size() - 1)), QStringLiteral("Input too large (more than 512 MiB)"));
}

// ---------------------------------------------------------------------------
// Changed on disk

} // namespace
} // namespace zuno
