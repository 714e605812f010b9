// File names that are not UTF-8 keep their bytes.
#include "textfile/FileNames.h"

#include "TextFileTesting.h"

#include <cstdio>
#include <unistd.h>

namespace zuno {
namespace {

using namespace zuno::filetests;

TEST(FileNames, AnyBytesComeBackAndValidNamesReadAsThemselves)
{
    const QByteArray names[] = {
        "ROAD1.PRJ", "/data/caf\xC3\xA9/\xE2\x82\xAC.PRJ", // UTF-8
        "na\xFF\xFEme.PRJ", "caf\xE9.PRJ",                  // Latin-1 bytes
        "\xC3\x28", "\xE2\x82", "\xED\xA0\x80", "\xF4\x90\x80\x80", // cut, surrogate, beyond U+10FFFF
    };
    for (const QByteArray &bytes : names) {
        const QString name = fileNameFromBytes(bytes);
        EXPECT_EQ(fileNameBytes(name), bytes) << bytes.toHex().constData();
        if (QString::fromUtf8(bytes).toUtf8() == bytes) {
            EXPECT_EQ(name, QString::fromUtf8(bytes));
        }
        // Shown with the usual replacement characters.
        EXPECT_FALSE(displayedFileName(name).contains(QChar(0xDCFF))) << bytes.toHex().constData();
    }
    EXPECT_EQ(displayedFileName(fileNameFromBytes("caf\xE9.PRJ")), QStringLiteral("caf\uFFFD.PRJ"));
}

TEST_F(TextFileOnDisk, AFileWhoseNameIsNotUtf8IsReadAndWritten)
{
    const QByteArray name = QFile::encodeName(m_dir.path()) + "/caf\xE9-\xFF.PRJ";
    {
        FILE *file = std::fopen(name.constData(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs("AC:1", file);
        std::fclose(file);
    }
    const QString path = fileNameFromBytes(name);
    EXPECT_TRUE(pathExists(path));
    auto read = readTextFile(path);
    ASSERT_TRUE(read.ok()) << errorOf(read).toStdString();
    EXPECT_EQ(read.value().text, QByteArray("AC:1"));
    ASSERT_TRUE(writeTextFile(path, "AC:2", {}, read.value().stamp).ok());
    FILE *file = std::fopen(name.constData(), "rb");
    ASSERT_NE(file, nullptr);
    char buffer[8] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, file), 4u);
    std::fclose(file);
    EXPECT_EQ(QByteArray(buffer), QByteArray("AC:2"));

    // A file dialog lists the name with U+FFFD and answers with that.
    const QString listed = m_dir.path() + QStringLiteral("/caf\uFFFD-\uFFFD.PRJ");
    EXPECT_EQ(fileNameAsListed(listed), path);
    // A name still to be made stays as it was typed.
    const QString fresh = m_dir.path() + QStringLiteral("/NEW.PRJ");
    EXPECT_EQ(fileNameAsListed(fresh), fresh);
    // (Qt cannot remove what it cannot name.)
    EXPECT_EQ(::unlink(name.constData()), 0);
}

} // namespace
} // namespace zuno
