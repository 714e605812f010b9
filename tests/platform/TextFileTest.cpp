// Reading and writing text files: encodings, line endings, byte-exact round
// trips, atomic writes and the reasons given for failures.
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

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

QString errorOf(const std::variant<TextFileContent, TextFileError> &result)
{
    if (const auto *error = std::get_if<TextFileError>(&result))
        return error->message;
    return QString();
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

TEST(EncodeText, LoneCarriageReturnBeforeALineBreakKeepsCrLf)
{
    // Mostly "\n", and a lone "\r" ends the second line: written with "\n"
    // it would merge into the line break.
    const QByteArray bytes = bytesOf("A:1\nB:2\r\r\nC:3\nD:4");
    const TextFileContent content = decodeText(bytes);
    EXPECT_EQ(content.text, QStringLiteral("A:1\r\nB:2\r\r\nC:3\r\nD:4"));
    EXPECT_EQ(content.format.lineEnding, LineEnding::Lf);
    EXPECT_EQ(writtenFormat(content.text, content.format).lineEnding, LineEnding::CrLf);
    const QByteArray written = encodeText(content.text, content.format);
    EXPECT_EQ(written, bytesOf("A:1\r\nB:2\r\r\nC:3\r\nD:4"));
    EXPECT_EQ(decodeText(written).text, content.text);
}

TEST(DecodeText, MixedLineBreaksAllBecomeCrLfAndTheMajorityIsWritten)
{
    const TextFileContent mostlyLf = decodeText(bytesOf("A:1\nB:2\r\nC:3\nD:4"));
    EXPECT_EQ(mostlyLf.text, QStringLiteral("A:1\r\nB:2\r\nC:3\r\nD:4"));
    EXPECT_EQ(mostlyLf.format.lineEnding, LineEnding::Lf);
    EXPECT_EQ(encodeText(mostlyLf.text, mostlyLf.format), bytesOf("A:1\nB:2\nC:3\nD:4"));

    const TextFileContent tie = decodeText(bytesOf("A:1\nB:2\r\nC:3"));
    EXPECT_EQ(tie.format.lineEnding, LineEnding::CrLf);
    EXPECT_EQ(encodeText(tie.text, tie.format), bytesOf("A:1\r\nB:2\r\nC:3"));
}

TEST(DecodeText, AnyBytesKeepTheirText)
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
        const QByteArray written = encodeText(content.text, content.format);
        // Every character survives; the bytes too unless line breaks were mixed.
        const TextFileContent again = decodeText(written);
        ASSERT_EQ(again.text, content.text) << bytes.toHex().constData();
        ASSERT_EQ(again.format, writtenFormat(content.text, content.format)) << bytes.toHex().constData();
        const qsizetype crLf = bytes.count("\r\n");
        const qsizetype lf = bytes.count('\n');
        if (crLf == 0 || crLf == lf) {
            ASSERT_EQ(written, bytes) << bytes.toHex().constData();
        }
        // Line breaks in the text are "\r\n" only.
        for (qsizetype i = content.text.indexOf(u'\n'); i >= 0; i = content.text.indexOf(u'\n', i + 1))
            ASSERT_TRUE(i > 0 && content.text[i - 1] == u'\r') << bytes.toHex().constData();
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
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries); }

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
        ASSERT_TRUE(std::holds_alternative<TextFileContent>(read)) << errorOf(read).toStdString();
        const TextFileContent &content = std::get<TextFileContent>(read);
        EXPECT_EQ(writeTextFile(file, content.text, content.format).has_value(), false);
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
    const auto error = writeTextFile(path(QStringLiteral("gone/ROAD1.PRJ")), QStringLiteral("AC:1"), {});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message, QStringLiteral("No such file or directory"));
}

TEST_F(TextFileOnDisk, WritingOverAFolderFailsAndLeavesItAlone)
{
    const QString folder = path(QStringLiteral("ROAD1.PRJ"));
    ASSERT_TRUE(QDir().mkdir(folder));
    writeBytes(folder + QStringLiteral("/inside"), "kept");
    const auto error = writeTextFile(folder, QStringLiteral("AC:1"), {});
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->message.isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(readBytes(folder + QStringLiteral("/inside")), QByteArray("kept"));
}

TEST_F(TextFileOnDisk, WritingUnderAnOverlongNameFailsWithoutLeftovers)
{
    const auto error = writeTextFile(path(QString(300, u'A')), QStringLiteral("AC:1"), {});
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
    const auto error = writeTextFile(file, QString(65536, u'X'), {});
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
    ASSERT_FALSE(writeTextFile(file, QStringLiteral("AC:2"), {}).has_value());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(readBytes(file), QByteArray("AC:2"));
}

TEST_F(TextFileOnDisk, NewFileGetsTheUsualPermissions)
{
    const QString file = path(QStringLiteral("NEW.PRJ"));
    ASSERT_FALSE(writeTextFile(file, QStringLiteral("AC:1"), {}).has_value());
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
    ASSERT_FALSE(writeTextFile(link, QStringLiteral("AC:2"), {}).has_value());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readBytes(target), QByteArray("AC:2"));
}

TEST_F(TextFileOnDisk, WritesTheFormatItIsGiven)
{
    const QString file = path(QStringLiteral("CHAINS.PAC"));
    ASSERT_FALSE(writeTextFile(file, QStringLiteral("AC:1\r\nXX:\u00e9"), {TextEncoding::Latin1, LineEnding::Lf})
                     .has_value());
    EXPECT_EQ(readBytes(file), bytesOf("AC:1\nXX:\xE9"));
    auto read = readTextFile(file);
    ASSERT_TRUE(std::holds_alternative<TextFileContent>(read));
    EXPECT_EQ(std::get<TextFileContent>(read).text, QStringLiteral("AC:1\r\nXX:\u00e9"));
    EXPECT_EQ(std::get<TextFileContent>(read).format.encoding, TextEncoding::Latin1);
    EXPECT_EQ(std::get<TextFileContent>(read).format.lineEnding, LineEnding::Lf);
}

} // namespace
} // namespace zuno
