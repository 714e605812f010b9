// The example ZUNO files shipped in examples/: valid List layout files that
// convert to the Record layout and back unchanged.
#include "format/Conversion.h"
#include "format/DataItem.h"
#include "textfile/TextFile.h"

#include "ConversionInvariants.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <QDir>

namespace zuno {
namespace {

using test::splitLines;

QStringList exampleFiles()
{
    const QDir dir(QStringLiteral(ZUNO_EXAMPLES_DIR));
    return dir.entryList({"*.PRJ", "*.CTL", "*.PAC", "*.CAL", "*.EDI", "*.ALI", "*.PRO", "*.SUP"}, QDir::Files,
                         QDir::Name);
}

TEST(Examples, ProjectFileIsThere)
{
    EXPECT_TRUE(exampleFiles().contains(QStringLiteral("ROAD1.PRJ")));
    EXPECT_GE(exampleFiles().size(), 2);
}

TEST(Examples, RoundTripThroughTheRecordLayoutUnchanged)
{
    bool sawSeparatedRecord = false;
    bool sawCutValueList = false;
    for (const QString &name : exampleFiles()) {
        SCOPED_TRACE(name.toStdString());
        auto read = readTextOnly(QStringLiteral(ZUNO_EXAMPLES_DIR "/") + name);
        ASSERT_TRUE(read.ok());
        const TextFileContent content = read.value();
        EXPECT_EQ(content.format.lineEnding, LineEnding::CrLf);
        EXPECT_EQ(content.format.encoding, TextEncoding::Utf8);

        const QString text = QString::fromUtf8(content.text);
        const QList<QStringView> lines = splitLines(text);
        ASSERT_GT(lines.size(), 10);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QStringView line = lines[i];
            EXPECT_FALSE(line.isEmpty()) << "line " << i;
            EXPECT_EQ(trimSpaces(line), line) << "line " << i;
            EXPECT_LE(line.size(), ListCutLimit) << "line " << i;
            sawSeparatedRecord = sawSeparatedRecord || classifyLine(line) == ItemRole::SeparatedRecordStart;
            sawCutValueList = sawCutValueList
                || (i > 0 && line.startsWith(u"PL:") && lines[i - 1].startsWith(u"PL:"));
        }

        const auto record = convertToRecordLayout(content.text);
        ASSERT_TRUE(record.ok()) << test::warningOf(record).toStdString();
        EXPECT_NE(record.value(), content.text);
        const auto list = convertToListLayout(record.value());
        ASSERT_TRUE(list.ok()) << test::warningOf(list).toStdString();
        EXPECT_EQ(list.value(), content.text);
        EXPECT_EQ(convertToRecordLayout(list.value()).value(), record.value());
    }
    EXPECT_TRUE(sawSeparatedRecord);
    EXPECT_TRUE(sawCutValueList);
}

} // namespace
} // namespace zuno
