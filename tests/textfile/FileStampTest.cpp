// File stamps: changes told from mere touches.
#include "TextFileTesting.h"

#include "textfile/Digest.h"

#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zuno {
namespace {

using namespace zuno::filetests;

TEST_F(TextFileOnDisk, StampTellsChangesFromMereTouches)
{
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    writeBytes(file, "AC:1\r\nBG:2");
    auto read = readTextFile(file);
    ASSERT_TRUE(read.ok());
    const FileStamp stamp = read.value().stamp;
    ASSERT_TRUE(stamp.valid);
    EXPECT_EQ(compareWithDisk(file, stamp), DiskState::Unchanged);

    // Touched, or rewritten with the same bytes: unchanged.
    struct timespec later[2] = {{0, UTIME_NOW}, {stamp.modifiedNs / 1000000000 + 60, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), later, 0), 0);
    EXPECT_EQ(compareWithDisk(file, stamp), DiskState::Unchanged);

    // Same size, other bytes, and the old modification time put back: the
    // status change time still tells, and the bytes decide.
    writeBytes(file, "AC:9\r\nBG:2");
    struct timespec original[2] = {{0, UTIME_NOW},
                                   {stamp.modifiedNs / 1000000000, stamp.modifiedNs % 1000000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), original, 0), 0);
    EXPECT_EQ(compareWithDisk(file, stamp), DiskState::Changed);

    // Replaced by another file (as `mv` does).
    writeBytes(file, "AC:1\r\nBG:2");
    const QString other = path(QStringLiteral("new"));
    writeBytes(other, "AC:1\r\nBG:3 and more");
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QFile::rename(other, file));
    EXPECT_EQ(compareWithDisk(file, stamp), DiskState::Changed);

    ASSERT_TRUE(QFile::remove(file));
    EXPECT_EQ(compareWithDisk(file, stamp), DiskState::Missing);
}

TEST_F(TextFileOnDisk, StatusIsTrustedOnlyWhenTheClockCouldTell)
{
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    writeBytes(file, "AC:1");
    FileStamp stamp = fileStamp(file);
    ASSERT_TRUE(stamp.valid);
    stamp.digest ^= 1; // as if the bytes were others
    // Taken long after the last change: the unchanged status is enough.
    stamp.takenNs = std::max(stamp.modifiedNs, stamp.changedNs) + 1000000000;
    EXPECT_EQ(compareWithDisk(file, stamp), DiskState::Unchanged);
    // Taken in the same moment as the change: a change right after it might
    // carry the same times, so the bytes decide.
    stamp.takenNs = std::max(stamp.modifiedNs, stamp.changedNs);
    EXPECT_EQ(compareWithDisk(file, stamp), DiskState::Changed);
}

TEST_F(TextFileOnDisk, WritingGivesTheStampOfTheWrittenFile)
{
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    const QString other = path(QStringLiteral("OTHER.PRJ"));
    writeBytes(file, "AC:1");
    for (const bool linked : {false, true}) {
        if (linked) {
            ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()), 0);
        }
        const auto write = writeTextFile(file, "AC:2", {});
        ASSERT_TRUE(write.ok());
        const FileStamp written = write.value().stamp;
        ASSERT_TRUE(written.valid);
        EXPECT_EQ(written.inode, quint64(statOf(file).st_ino));
        EXPECT_EQ(written.size, 4);
        EXPECT_EQ(compareWithDisk(file, written), DiskState::Unchanged);
        writeBytes(file, "AC:3");
        EXPECT_EQ(compareWithDisk(file, written), DiskState::Changed);
    }
    EXPECT_TRUE(isSameFile(file, other));
    EXPECT_TRUE(isSameFile(file, m_dir.path() + QStringLiteral("/./ROAD1.PRJ")));
    EXPECT_FALSE(isSameFile(file, path(QStringLiteral("NONE.PRJ"))));
}

TEST(Digest, TakenAPieceAtATimeIsTheWholeDigest)
{
    std::mt19937 random(3);
    QByteArray bytes(100'003, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random());
    for (const qsizetype piece : {1, 7, 31, 32, 33, 4096, 65'537}) {
        Digest digest;
        for (qsizetype at = 0; at < bytes.size(); at += piece)
            digest.add(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
        EXPECT_EQ(digest.value(), digestOf(bytes)) << piece;
    }
    EXPECT_NE(digestOf(bytes), digestOf(bytes.chopped(1)));
}

TEST_F(TextFileOnDisk, StampsOfLargeFilesReadAndWrittenMatchTheirBytes)
{
    // Read and written a megabyte at a time, each piece digested as it
    // passes; compared with the file's bytes as a whole.
    const QString file = path(QStringLiteral("LARGE.PRJ"));
    const QByteArray text = QByteArray("AC:1\r\n").repeated(500'001);
    const auto write = writeTextFile(file, text, {});
    ASSERT_TRUE(write.ok());
    const auto read = readTextFile(file);
    ASSERT_TRUE(read.ok());
    for (FileStamp stamp : {write.value().stamp, read.value().stamp}) {
        // Too soon for the clock to tell: the bytes decide.
        stamp.takenNs = std::max(stamp.modifiedNs, stamp.changedNs);
        EXPECT_EQ(compareWithDisk(file, stamp), DiskState::Unchanged);
        stamp.digest ^= 1;
        EXPECT_EQ(compareWithDisk(file, stamp), DiskState::Changed);
    }
}

} // namespace
} // namespace zuno
