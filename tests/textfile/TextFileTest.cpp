// Reading and writing text files: encodings, line endings, byte-exact round
// trips, atomic writes and the reasons given for failures.
#include "textfile/TextFile.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace zuno {
namespace {

QByteArray bytesOf(const char *text)
{
    return QByteArray(text);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QString errorOf(const Result<TextFileContent, TextFileError> &result)
{
    return result.ok() ? QString() : result.error().message;
}

// The error of a write, when it failed.
std::optional<TextFileError> failureOf(const Result<FileStamp, TextFileError> &written)
{
    return written.ok() ? std::nullopt : std::optional<TextFileError>(written.error());
}

// ---------------------------------------------------------------------------
// Decoding and encoding

TEST(DecodeText, DetectsTheEncoding)
{
    struct Case {
        QByteArray bytes;
        TextEncoding encoding;
        QString text;
    };
    const Case cases[] = {
        {bytesOf(""), TextEncoding::Utf8, QString()},
        {bytesOf("AC:1\r\nBG:2"), TextEncoding::Utf8, QStringLiteral("AC:1\r\nBG:2")},
        {bytesOf("XX:\xC3\xA9t\xC3\xA9"), TextEncoding::Utf8, QStringLiteral("XX:\u00e9t\u00e9")},
        {bytesOf("\xEF\xBB\xBFXX:\xE2\x82\xAC"), TextEncoding::Utf8Bom, QStringLiteral("XX:\u20ac")},
        {bytesOf("\xEF\xBB\xBF"), TextEncoding::Utf8Bom, QString()},
        // Not UTF-8: every byte is one Latin-1 character.
        {bytesOf("XX:\xE9t\xE9"), TextEncoding::Latin1, QStringLiteral("XX:\u00e9t\u00e9")},
        {bytesOf("\xC3\x28"), TextEncoding::Latin1, QStringLiteral("\u00c3(")},
        {bytesOf("\xC0\x80"), TextEncoding::Latin1, QStringLiteral("\u00c0\u0080")},      // overlong NUL
        {bytesOf("\xED\xA0\x80"), TextEncoding::Latin1, QStringLiteral("\u00ed\u00a0\u0080")}, // surrogate
        {bytesOf("\xEF\xBB\xBF\xFF"), TextEncoding::Latin1, QStringLiteral("\u00ef\u00bb\u00bf\u00ff")},
        {bytesOf("\xE2\x82"), TextEncoding::Latin1, QStringLiteral("\u00e2\u0082")},      // cut short
    };
    for (const Case &c : cases) {
        const TextFileContent content = decodeText(c.bytes);
        EXPECT_EQ(content.format.encoding, c.encoding) << c.bytes.toHex().constData();
        EXPECT_EQ(content.text, c.text) << c.bytes.toHex().constData();
        EXPECT_EQ(encodeText(content.text, content.format), c.bytes) << c.bytes.toHex().constData();
    }
}

TEST(DecodeText, LineFeedFileIsReadWithCrLfAndWrittenBackWithLineFeeds)
{
    const QByteArray bytes = bytesOf("AC:1\nBG:2\n\nXX:3\n");
    const TextFileContent content = decodeText(bytes);
    EXPECT_EQ(content.format.lineEnding, LineEnding::Lf);
    EXPECT_EQ(content.text, QStringLiteral("AC:1\r\nBG:2\r\n\r\nXX:3\r\n"));
    EXPECT_EQ(encodeText(content.text, content.format), bytes);
}

TEST(DecodeText, CrLfFileIsKeptAsItIs)
{
    const QByteArray bytes = bytesOf("AC:1\r\nBG:2\r\n");
    const TextFileContent content = decodeText(bytes);
    EXPECT_EQ(content.format.lineEnding, LineEnding::CrLf);
    EXPECT_EQ(content.text, QStringLiteral("AC:1\r\nBG:2\r\n"));
    EXPECT_EQ(encodeText(content.text, content.format), bytes);
    EXPECT_EQ(decodeText(bytesOf("AC:1")).format.lineEnding, LineEnding::CrLf);
}

TEST(DecodeText, LoneCarriageReturnIsContent)
{
    for (const char *raw : {"XX:A\rB\r\nYY:C\r", "XX:A\rB\nYY:C\r", "\r\r\r", "\r\n\r"}) {
        const QByteArray bytes(raw);
        const TextFileContent content = decodeText(bytes);
        EXPECT_EQ(content.text.count(u'\r'), bytes.count('\r') + bytes.count('\n') - bytes.count("\r\n"))
            << raw;
        EXPECT_EQ(encodeText(content.text, content.format), bytes) << raw;
    }
    EXPECT_EQ(decodeText(bytesOf("XX:A\rB\nYY:C")).text, QStringLiteral("XX:A\rB\r\nYY:C"));
}

TEST(EncodeText, AnLfFileKeepsCrLfWhereLineFeedsWouldLoseCharacters)
{
    const TextFileContent content = decodeText(bytesOf("A:1\nB:2\nC:3"));
    ASSERT_EQ(content.text, QStringLiteral("A:1\r\nB:2\r\nC:3"));
    ASSERT_EQ(content.format.lineEnding, LineEnding::Lf);
    // A lone "\r" put before a line break would merge into it, and a lone
    // "\n" would become one: such a text is written with "\r\n".
    for (const QString &edited : {QStringLiteral("A:1\r\nB:2\r\r\nC:3"), QStringLiteral("A:1\r\nB\n:2\r\nC:3")}) {
        EXPECT_EQ(writtenFormat(edited, content.format).lineEnding, LineEnding::CrLf);
        const QByteArray written = encodeText(edited, content.format);
        EXPECT_EQ(written, edited.toUtf8());
        EXPECT_EQ(decodeText(written).text, edited);
    }
    EXPECT_EQ(encodeText(QStringLiteral("A:1\r\nB:\r2"), content.format), bytesOf("A:1\nB:\r2"));
}

TEST(DecodeText, AFileWithCrLfKeepsEveryLoneLineFeedAsContent)
{
    const QByteArray bytes = bytesOf("A:1\nB:2\r\nC:3\nD:4\n");
    const TextFileContent mixed = decodeText(bytes);
    EXPECT_EQ(mixed.text, QStringLiteral("A:1\nB:2\r\nC:3\nD:4\n"));
    EXPECT_EQ(mixed.format.lineEnding, LineEnding::CrLf);
    EXPECT_EQ(encodeText(mixed.text, mixed.format), bytes);
    // Without a "\r\n" every "\n" is a line break; a lone "\r" alone is
    // no line break at all.
    EXPECT_EQ(decodeText(bytesOf("A:1\nB:2\n")).text, QStringLiteral("A:1\r\nB:2\r\n"));
    EXPECT_EQ(decodeText(bytesOf("A:1\rB:2\r")).text, QStringLiteral("A:1\rB:2\r"));
    EXPECT_EQ(decodeText(bytesOf("A:1\rB:2\r")).format.lineEnding, LineEnding::CrLf);
}

TEST(DecodeText, AnyBytesComeBackExactly)
{
    std::mt19937 rng(20240607);
    const char alphabet[] = {'\r', '\n', 'A', ':', ',', ' ', '\xC3', '\xA9', '\xEF', '\xBB', '\xBF', '\0', '\xFF'};
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        const int length = std::uniform_int_distribution<int>(0, 64)(rng);
        for (int i = 0; i < length; ++i) {
            if (round % 2)
                bytes += char(std::uniform_int_distribution<int>(0, 255)(rng));
            else
                bytes += alphabet[std::uniform_int_distribution<int>(0, sizeof alphabet - 1)(rng)];
        }
        const TextFileContent content = decodeText(bytes);
        ASSERT_EQ(encodeText(content.text, content.format), bytes) << bytes.toHex().constData();
        ASSERT_EQ(writtenFormat(content.text, content.format), content.format) << bytes.toHex().constData();
    }
}

TEST(EncodeText, WritesEachEncoding)
{
    const QString text = QStringLiteral("XX:\u00c9\r\nYY:1");
    EXPECT_EQ(encodeText(text, {TextEncoding::Utf8, LineEnding::CrLf}), bytesOf("XX:\xC3\x89\r\nYY:1"));
    EXPECT_EQ(encodeText(text, {TextEncoding::Utf8Bom, LineEnding::Lf}), bytesOf("\xEF\xBB\xBFXX:\xC3\x89\nYY:1"));
    EXPECT_EQ(encodeText(text, {TextEncoding::Latin1, LineEnding::CrLf}), bytesOf("XX:\xC9\r\nYY:1"));
}

TEST(EncodeText, TextBeyondLatin1IsWrittenAsUtf8RatherThanLost)
{
    const QString text = QStringLiteral("XX:\u00c9\u20ac");
    const TextFileFormat latin1{TextEncoding::Latin1, LineEnding::CrLf};
    EXPECT_EQ(writtenFormat(text, latin1).encoding, TextEncoding::Utf8);
    EXPECT_EQ(writtenFormat(QStringLiteral("XX:\u00c9"), latin1).encoding, TextEncoding::Latin1);
    const QByteArray bytes = encodeText(text, latin1);
    EXPECT_EQ(bytes, bytesOf("XX:\xC3\x89\xE2\x82\xAC"));
    EXPECT_EQ(decodeText(bytes).text, text);
}

// ---------------------------------------------------------------------------
// Files

class TextFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Hidden files too: a temporary file left behind would be one.
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
    }

    QTemporaryDir m_dir;
};

TEST_F(TextFileOnDisk, OpeningAndSavingGivesIdenticalBytes)
{
    const QByteArray samples[] = {
        bytesOf("AC:1\r\nBG:2\r\nPL:1,2,3"),
        bytesOf("AC:1\nBG:2\n"),
        bytesOf("\xEF\xBB\xBF" "AC:1\r\nXX:\xC3\xA9"),
        bytesOf("AC:1\r\nXX:\xE9\xFF\x80\r\n"),
        bytesOf(""),
        QByteArray("A:\0B\r\n", 6),
    };
    for (const QByteArray &bytes : samples) {
        const QString file = path(QStringLiteral("sample.PRJ"));
        writeBytes(file, bytes);
        auto read = readTextFile(file);
        ASSERT_TRUE(read.ok()) << errorOf(read).toStdString();
        const TextFileContent &content = read.value();
        EXPECT_TRUE(writeTextFile(file, content.text, content.format).ok());
        EXPECT_EQ(readBytes(file), bytes) << bytes.toHex().constData();
        // The same from the text as the edit control holds it, in UTF-8.
        const QByteArray utf8 = content.text.toUtf8();
        const auto written = writeUtf8TextFile(file, QByteArrayView(utf8), content.format);
        ASSERT_TRUE(written.ok());
        EXPECT_EQ(written.value().format, content.format);
        EXPECT_EQ(readBytes(file), bytes) << bytes.toHex().constData();
    }
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
    const auto error = failureOf(writeTextFile(path(QStringLiteral("gone/ROAD1.PRJ")), QStringLiteral("AC:1"), {}));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message, QStringLiteral("No such file or directory"));
}

TEST_F(TextFileOnDisk, WritingOverAFolderFailsAndLeavesItAlone)
{
    const QString folder = path(QStringLiteral("ROAD1.PRJ"));
    ASSERT_TRUE(QDir().mkdir(folder));
    writeBytes(folder + QStringLiteral("/inside"), "kept");
    const auto error = failureOf(writeTextFile(folder, QStringLiteral("AC:1"), {}));
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->message.isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(readBytes(folder + QStringLiteral("/inside")), QByteArray("kept"));
}

TEST_F(TextFileOnDisk, WritingUnderAnOverlongNameFailsWithoutLeftovers)
{
    const auto error = failureOf(writeTextFile(path(QString(300, u'A')), QStringLiteral("AC:1"), {}));
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
    const auto error = failureOf(writeTextFile(file, QString(65536, u'X'), {}));
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
    ASSERT_TRUE(writeTextFile(file, QStringLiteral("AC:2"), {}).ok());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(readBytes(file), QByteArray("AC:2"));
}

TEST_F(TextFileOnDisk, NewFileGetsTheUsualPermissions)
{
    const QString file = path(QStringLiteral("NEW.PRJ"));
    ASSERT_TRUE(writeTextFile(file, QStringLiteral("AC:1"), {}).ok());
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
    ASSERT_TRUE(writeTextFile(link, QStringLiteral("AC:2"), {}).ok());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readBytes(target), QByteArray("AC:2"));
}

TEST_F(TextFileOnDisk, WritesTheFormatItIsGiven)
{
    const QString file = path(QStringLiteral("CHAINS.PAC"));
    const QString text = QStringLiteral("AC:1\r\nXX:\u00e9");
    const QByteArray utf8 = text.toUtf8();
    ASSERT_TRUE(writeUtf8TextFile(file, utf8, {TextEncoding::Utf8Bom, LineEnding::CrLf}).ok());
    EXPECT_EQ(readBytes(file), bytesOf("\xEF\xBB\xBF" "AC:1\r\nXX:\xC3\xA9"));
    ASSERT_TRUE(writeUtf8TextFile(file, utf8, {TextEncoding::Latin1, LineEnding::Lf}).ok());
    EXPECT_EQ(readBytes(file), bytesOf("AC:1\nXX:\xE9"));
    // A Latin-1 file whose text gains a character beyond Latin-1 is written,
    // and said to be written, as UTF-8.
    const auto widened = writeUtf8TextFile(file, QStringLiteral("XX:\u20ac").toUtf8(), {TextEncoding::Latin1, LineEnding::Lf});
    ASSERT_TRUE(widened.ok());
    EXPECT_EQ(widened.value().format.encoding, TextEncoding::Utf8);
    EXPECT_EQ(readBytes(file), bytesOf("XX:\xE2\x82\xAC"));
    ASSERT_TRUE(writeTextFile(file, text, {TextEncoding::Latin1, LineEnding::Lf}).ok());
    EXPECT_EQ(readBytes(file), bytesOf("AC:1\nXX:\xE9"));
    auto read = readTextFile(file);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value().text, QStringLiteral("AC:1\r\nXX:\u00e9"));
    EXPECT_EQ(read.value().format.encoding, TextEncoding::Latin1);
    EXPECT_EQ(read.value().format.lineEnding, LineEnding::Lf);
}

// ---------------------------------------------------------------------------
// The file stays the file: links, attributes, owners, read-only files

struct stat statOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        info.st_ino = 0;
    return info;
}

// Files may grow to `bytes` only while it lives: a write beyond fails as
// it would on a full disk (as root too).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = m_saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    struct rlimit m_saved {};
    void (*m_handler)(int) = nullptr;
};

TEST_F(TextFileOnDisk, HardLinkedFileIsWrittenInPlaceAndKeepsItsLinks)
{
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    const QString other = path(QStringLiteral("OTHER.PRJ"));
    writeBytes(file, "AC:1");
    ASSERT_EQ(::link(QFile::encodeName(file).constData(), QFile::encodeName(other).constData()), 0);
    const ino_t inode = statOf(file).st_ino;

    ASSERT_TRUE(writeTextFile(file, QStringLiteral("AC:2\r\nBG:3"), {}).ok());
    EXPECT_EQ(readBytes(other), QByteArray("AC:2\r\nBG:3"));
    EXPECT_EQ(statOf(file).st_ino, inode);
    EXPECT_EQ(statOf(file).st_nlink, 2u);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("OTHER.PRJ"), QStringLiteral("ROAD1.PRJ")}));

    // Shorter text: the file is cut to it.
    ASSERT_TRUE(writeTextFile(file, QStringLiteral("A:"), {}).ok());
    EXPECT_EQ(readBytes(other), QByteArray("A:"));
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
            error = failureOf(writeTextFile(file, QString(65536, u'X'), {}));
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
        ASSERT_TRUE(writeTextFile(file, unnamed ? QStringLiteral("AC:2") : QStringLiteral("AC:3"), {}).ok());
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
    ASSERT_TRUE(writeTextFile(file, QStringLiteral("AC:2"), {}).ok());
    EXPECT_EQ(attributeOf(file, "system.posix_acl_access"), QByteArray("<none>"));
    EXPECT_EQ(readBytes(file), QByteArray("AC:2"));
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
        QStringLiteral(".ROAD1.PRJ.zunopad-%1-g7H8i9.bak").arg(QString::fromLatin1(gone)), // a backup of it
    };
    const QStringList kept = {
        QStringLiteral(".OTHER.PRJ.zunopad-%1-j1K2l3.bak").arg(QString::fromLatin1(gone)), // another file's backup
        QStringLiteral(".ROAD1.PRJ.zunopad-1-m4N5o6"),  // a save still running
        QStringLiteral(".ROAD1.PRJ.swp"),               // not ours
        QStringLiteral(".ROAD1.PRJ.zunopad-x-p7Q8r9"),  // not of our naming
    };
    for (const QString &name : left + kept)
        writeBytes(path(name), "partial");
    ASSERT_TRUE(writeTextFile(file, QStringLiteral("AC:2"), {}).ok());
    QStringList expected = kept;
    expected.append(QStringLiteral("ROAD1.PRJ"));
    expected.sort();
    EXPECT_EQ(entries(), expected) << entries().join(u' ').toStdString();
}

TEST_F(TextFileOnDisk, NamedTemporaryFilesWorkWhereUnnamedOnesCannotBeMade)
{
    allowUnnamedTemporaryFiles(false);
    const QString file = path(QStringLiteral("ROAD1.PRJ"));
    ASSERT_TRUE(writeTextFile(file, QStringLiteral("AC:1"), {}).ok());
    ASSERT_TRUE(writeTextFile(file, QStringLiteral("AC:2"), {}).ok());
    std::optional<TextFileError> error;
    {
        const FileSizeLimit limit(4096);
        error = failureOf(writeTextFile(file, QString(65536, u'X'), {}));
    }
    allowUnnamedTemporaryFiles(true);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(readBytes(file), QByteArray("AC:2"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("ROAD1.PRJ")});
}

TEST_F(TextFileOnDisk, PipesAndDevicesAreNeitherReadNorWritten)
{
    const QString fifo = path(QStringLiteral("PIPE.PRJ"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    // No writer: opening it to read would block for ever.
    EXPECT_EQ(errorOf(readTextFile(fifo)), QStringLiteral("Not a regular file: a named pipe"));
    EXPECT_EQ(errorOf(readTextFile(QStringLiteral("/dev/zero"))), QStringLiteral("Not a regular file: a device"));
    const auto written = failureOf(writeTextFile(fifo, QStringLiteral("AC:1"), {}));
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
    EXPECT_EQ(whole.value().text, QStringLiteral("AC:1\r\nBG:2"));
    in.seek(0);
    EXPECT_EQ(errorOf(readTextStream(in, bytes.size() - 1)), QStringLiteral("Input too large (more than 512 MiB)"));
}

// ---------------------------------------------------------------------------
// Changed on disk

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
    stamp.hash = QByteArray("another text's hash");
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
        const auto write = writeTextFile(file, QStringLiteral("AC:2"), {});
        ASSERT_TRUE(write.ok());
        const FileStamp written = write.value();
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
    EXPECT_EQ(write(path, QString(65536, u'X'), QStringLiteral("4096")), QStringLiteral("error: File too large\n"));
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
