// UTF-8 bytes against the program's UTF-16 text: the decoder and the
// lengths and positions counted on the bytes agree, malformed bytes too.
#include "text/Utf8Text.h"

#include <gtest/gtest.h>

#include <random>

using namespace zuno;

namespace {

TEST(Utf8Text, KeepsALeadingByteOrderMarkAndTurnsEachStrayByteIntoOneReplacement)
{
    const struct {
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"\xEF\xBB\xBF" "A", QString(QChar(0xFEFF)) + u'A'},
        {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", QStringLiteral(u"\u00E9\u20AC\U0001F600")},
        {"\xE2\x82" "A", QStringLiteral(u"\uFFFD\uFFFDA")},           // cut short
        {"\xC0\xAF", QStringLiteral(u"\uFFFD\uFFFD")},                // overlong
        {"\xED\xA0\x80", QStringLiteral(u"\uFFFD\uFFFD\uFFFD")},      // a surrogate
        {"A\xF0\x9F\x98", QStringLiteral(u"A\uFFFD\uFFFD\uFFFD")},     // cut at the end
    };
    for (const auto &c : cases)
        EXPECT_EQ(utf8ToText(c.bytes), c.text) << c.bytes.toHex().toStdString();
}

// Every offset of random bytes, valid and malformed, maps to the byte where
// the decoded text's units up to it come from.
TEST(Utf8Text, LengthsAndPositionsAgreeWithTheDecoderOnAnyBytes)
{
    std::mt19937 random(31);
    // Bytes drawn mostly from the edges of the sequences' ranges.
    const unsigned char pool[] = {'A', '\r', '\n', 0x00, 0x7F, 0x80, 0x9F, 0xA0, 0xBF, 0xC0, 0xC2, 0xDF, 0xE0,
                                  0xED, 0xEF, 0xBB, 0xF0, 0xF4, 0x8F, 0x90, 0xF5, 0xFF};
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        const int size = int(random() % 12);
        for (int i = 0; i < size; ++i)
            bytes += char(pool[random() % sizeof pool]);
        const QString text = utf8ToText(bytes);
        ASSERT_EQ(utf16Length(bytes), text.size()) << bytes.toHex().toStdString();
        Utf8Walker walker(bytes);
        for (qsizetype units = 0; units <= text.size(); ++units) {
            const qsizetype position = utf8PositionOf(bytes, units);
            ASSERT_EQ(walker.positionOf(units), position);
            // The bytes before the position decode to the units before the
            // offset (a pair cut in two counts whole).
            const qsizetype decoded = utf16Length(bytes.first(position));
            const bool insidePair = units > 0 && units < text.size() && text[units - 1].isHighSurrogate();
            ASSERT_EQ(decoded, insidePair ? units + 1 : units) << bytes.toHex().toStdString() << " at " << units;
        }
        EXPECT_EQ(utf8PositionOf(bytes, text.size() + 5), bytes.size());
    }
}

} // namespace
