// A file's bytes as the edit control's UTF-8 text: the text and format
// decodeText gives, and a UTF-8 file with "\r\n" handed on without a copy.
#include "textfile/Utf8Text.h"

#include <gtest/gtest.h>

using namespace zuno;

namespace {

TEST(Utf8Text, DecodesAsTheCodecDoes)
{
    struct Case {
        QByteArray bytes;
        QByteArray utf8;
        TextEncoding encoding;
        LineEnding lineEnding;
    };
    const Case cases[] = {
        {"AC:1\r\nBG:2", "AC:1\r\nBG:2", TextEncoding::Utf8, LineEnding::CrLf},
        {"", "", TextEncoding::Utf8, LineEnding::CrLf},
        {"\xEF\xBB\xBF" "A\xC3\xA9\r\nB", "A\xC3\xA9\r\nB", TextEncoding::Utf8Bom, LineEnding::CrLf},
        {"A\nB\n", "A\r\nB\r\n", TextEncoding::Utf8, LineEnding::Lf},
        {"A\rB\nC", "A\rB\r\nC", TextEncoding::Utf8, LineEnding::Lf},       // a lone CR stays
        {"A\r\nB\nC\r", "A\r\nB\nC\r", TextEncoding::Utf8, LineEnding::CrLf}, // lone LF and CR are characters
        {"\xE9t\xE9\n", "\xC3\xA9t\xC3\xA9\r\n", TextEncoding::Latin1, LineEnding::Lf},
        {"\xC0\x80", "\xC3\x80\xC2\x80", TextEncoding::Latin1, LineEnding::CrLf},        // overlong
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80", TextEncoding::Latin1, LineEnding::CrLf}, // surrogate
        {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80", TextEncoding::Latin1, LineEnding::CrLf},
        {"ok\xE2\x82", "ok\xC3\xA2\xC2\x82", TextEncoding::Latin1, LineEnding::CrLf},   // cut off
        {"\xF0\x9F\x98\x80 \xE2\x82\xAC", "\xF0\x9F\x98\x80 \xE2\x82\xAC", TextEncoding::Utf8, LineEnding::CrLf},
        {QByteArray("NUL\0:1", 6), QByteArray("NUL\0:1", 6), TextEncoding::Utf8, LineEnding::CrLf},
        {"\xEF\xBB\xBF\xEF\xBB\xBF" "X", "\xEF\xBB\xBF" "X", TextEncoding::Utf8Bom, LineEnding::CrLf},
    };
    for (const Case &c : cases) {
        const Utf8TextContent content = decodeToUtf8(c.bytes);
        EXPECT_EQ(content.utf8, c.utf8) << c.bytes.toHex().toStdString();
        EXPECT_EQ(content.format, (TextFileFormat{c.encoding, c.lineEnding})) << c.bytes.toHex().toStdString();
    }
}

TEST(Utf8Text, AUtf8FileWithCrLfIsItsOwnText)
{
    const QByteArray bytes = QByteArray("PL:1,2\r\n").repeated(1000);
    EXPECT_EQ(decodeToUtf8(bytes).utf8.constData(), bytes.constData());
}

} // namespace
