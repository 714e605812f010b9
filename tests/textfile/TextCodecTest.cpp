// Decoding and encoding: encodings, line endings, byte-exact round trips.
#include "TextFileTesting.h"

#include <gtest/gtest.h>

#include <QStringDecoder>

#include <random>

namespace zuno {
namespace {

using namespace zuno::filetests;

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
        EXPECT_EQ(QString::fromUtf8(content.text), c.text) << c.bytes.toHex().constData();
        EXPECT_EQ(encodeText(content.text, content.format), c.bytes) << c.bytes.toHex().constData();
    }
}

TEST(DecodeText, LineFeedFileIsReadWithCrLfAndWrittenBackWithLineFeeds)
{
    const QByteArray bytes = bytesOf("AC:1\nBG:2\n\nXX:3\n");
    const TextFileContent content = decodeText(bytes);
    EXPECT_EQ(content.format.lineEnding, LineEnding::Lf);
    EXPECT_EQ(QString::fromUtf8(content.text), QStringLiteral("AC:1\r\nBG:2\r\n\r\nXX:3\r\n"));
    EXPECT_EQ(encodeText(content.text, content.format), bytes);
}

TEST(DecodeText, CrLfFileIsKeptAsItIs)
{
    const QByteArray bytes = bytesOf("AC:1\r\nBG:2\r\n");
    const TextFileContent content = decodeText(bytes);
    EXPECT_EQ(content.format.lineEnding, LineEnding::CrLf);
    EXPECT_EQ(QString::fromUtf8(content.text), QStringLiteral("AC:1\r\nBG:2\r\n"));
    EXPECT_EQ(encodeText(content.text, content.format), bytes);
    EXPECT_EQ(decodeText(bytesOf("AC:1")).format.lineEnding, LineEnding::CrLf);
}

TEST(DecodeText, LoneCarriageReturnIsContent)
{
    for (const char *raw : {"XX:A\rB\r\nYY:C\r", "XX:A\rB\nYY:C\r", "\r\r\r", "\r\n\r"}) {
        const QByteArray bytes(raw);
        const TextFileContent content = decodeText(bytes);
        EXPECT_EQ(content.text.count('\r'), bytes.count('\r') + bytes.count('\n') - bytes.count("\r\n"))
            << raw;
        EXPECT_EQ(encodeText(content.text, content.format), bytes) << raw;
    }
    EXPECT_EQ(QString::fromUtf8(decodeText(bytesOf("XX:A\rB\nYY:C")).text), QStringLiteral("XX:A\rB\r\nYY:C"));
}

TEST(EncodeText, AnLfFileKeepsCrLfWhereLineFeedsWouldLoseCharacters)
{
    const TextFileContent content = decodeText(bytesOf("A:1\nB:2\nC:3"));
    ASSERT_EQ(QString::fromUtf8(content.text), QStringLiteral("A:1\r\nB:2\r\nC:3"));
    ASSERT_EQ(content.format.lineEnding, LineEnding::Lf);
    // A lone "\r" put before a line break would merge into it, and a lone
    // "\n" would become one: such a text is written with "\r\n".
    for (const QString &edited : {QStringLiteral("A:1\r\nB:2\r\r\nC:3"), QStringLiteral("A:1\r\nB\n:2\r\nC:3")}) {
        EXPECT_EQ(writtenFormat(edited.toUtf8(), content.format).lineEnding, LineEnding::CrLf);
        const QByteArray written = encodeText(edited.toUtf8(), content.format);
        EXPECT_EQ(written, edited.toUtf8());
        EXPECT_EQ(QString::fromUtf8(decodeText(written).text), edited);
    }
    EXPECT_EQ(encodeText(QStringLiteral("A:1\r\nB:\r2").toUtf8(), content.format), bytesOf("A:1\nB:\r2"));
}

TEST(DecodeText, AFileWithCrLfKeepsEveryLoneLineFeedAsContent)
{
    const QByteArray bytes = bytesOf("A:1\nB:2\r\nC:3\nD:4\n");
    const TextFileContent mixed = decodeText(bytes);
    EXPECT_EQ(QString::fromUtf8(mixed.text), QStringLiteral("A:1\nB:2\r\nC:3\nD:4\n"));
    EXPECT_EQ(mixed.format.lineEnding, LineEnding::CrLf);
    EXPECT_EQ(encodeText(mixed.text, mixed.format), bytes);
    // Without a "\r\n" every "\n" is a line break; a lone "\r" alone is
    // no line break at all.
    EXPECT_EQ(QString::fromUtf8(decodeText(bytesOf("A:1\nB:2\n")).text), QStringLiteral("A:1\r\nB:2\r\n"));
    EXPECT_EQ(QString::fromUtf8(decodeText(bytesOf("A:1\rB:2\r")).text), QStringLiteral("A:1\rB:2\r"));
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

TEST(Utf8, AnswerTheSameWholeInHalvesAndInPieces)
{
    // Short byte strings cut into pieces anywhere; large texts, checked in
    // two halves at once, with the fault or a character at their middle.
    std::mt19937 rng(11);
    const char alphabet[] = {'A', '\xC3', '\xA9', '\xE2', '\x82', '\xAC', '\xF0', '\x9F', '\x98', '\x80', '\xFF'};
    QList<QByteArray> samples;
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        for (int i = std::uniform_int_distribution<int>(0, 12)(rng); i > 0; --i)
            bytes += alphabet[std::uniform_int_distribution<int>(0, sizeof alphabet - 1)(rng)];
        samples.append(bytes);
    }
    const QByteArray large(9 << 20, 'A');
    for (const QByteArray &middle : {QByteArray("\xE2\x82\xAC"), QByteArray("\xF0\x9F\x98\x80"), QByteArray("\x80\x80\x80\x80"),
                                     QByteArray("\xFF"), QByteArray("\xC3")}) {
        for (const qsizetype at : {large.size() / 2 - 2, large.size() / 2, qsizetype(5), large.size() - 3})
            samples.append(QByteArray(large).replace(at, middle.size(), middle));
    }
    for (const QByteArray &bytes : samples) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString decoded = decoder.decode(bytes);
        const bool whole = !decoder.hasError() && decoded.toUtf8() == bytes;
        ASSERT_EQ(isUtf8(bytes), whole) << bytes.left(16).toHex().constData();
        Utf8Check pieces;
        for (qsizetype at = 0; at < bytes.size();) {
            const qsizetype length = std::min<qsizetype>(bytes.size() - at, (bytes.size() > 100 ? 65'536 : 1) + at % 3);
            pieces.add(QByteArrayView(bytes).sliced(at, length));
            at += length;
        }
        ASSERT_EQ(pieces.valid(), whole) << bytes.left(16).toHex().constData();
    }
}

TEST(EncodeText, WritesEachEncoding)
{
    const QString text = QStringLiteral("XX:\u00c9\r\nYY:1");
    EXPECT_EQ(encodeText(text.toUtf8(), {TextEncoding::Utf8, LineEnding::CrLf}), bytesOf("XX:\xC3\x89\r\nYY:1"));
    EXPECT_EQ(encodeText(text.toUtf8(), {TextEncoding::Utf8Bom, LineEnding::Lf}), bytesOf("\xEF\xBB\xBFXX:\xC3\x89\nYY:1"));
    EXPECT_EQ(encodeText(text.toUtf8(), {TextEncoding::Latin1, LineEnding::CrLf}), bytesOf("XX:\xC9\r\nYY:1"));
}

TEST(EncodeText, TextBeyondLatin1IsWrittenAsUtf8RatherThanLost)
{
    const QString text = QStringLiteral("XX:\u00c9\u20ac");
    const TextFileFormat latin1{TextEncoding::Latin1, LineEnding::CrLf};
    EXPECT_EQ(writtenFormat(text.toUtf8(), latin1).encoding, TextEncoding::Utf8);
    EXPECT_EQ(writtenFormat(QStringLiteral("XX:\u00c9").toUtf8(), latin1).encoding, TextEncoding::Latin1);
    const QByteArray bytes = encodeText(text.toUtf8(), latin1);
    EXPECT_EQ(bytes, bytesOf("XX:\xC3\x89\xE2\x82\xAC"));
    EXPECT_EQ(QString::fromUtf8(decodeText(bytes).text), text);
}

} // namespace
} // namespace zuno
