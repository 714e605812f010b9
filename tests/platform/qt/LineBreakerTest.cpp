// Line breaking on its own, without a print job: pieces of UTF-8 lines
// measured on an image at printer resolution.
#include "platform/qt/LineBreaker.h"

#include <QFontDatabase>
#include <QImage>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

TEST(LineBreaker, PiecesFitAndCoverEachLineBetweenItsCharacters)
{
    QImage device(10, 10, QImage::Format_RGB32);
    device.setDotsPerMeterX(47244); // 1200 dpi
    device.setDotsPerMeterY(47244);
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QString lines[] = {
        QStringLiteral("PL:1,2,3 AC:\u00E9t\u00E9 \u20AC \U0001F600 ").repeated(30), // 2-, 3- and 4-byte characters
        QString(400, QChar(0x00E9)),                                                      // one long word
        QString(),
        QStringLiteral("e\u0301").repeated(200),                                          // accents
    };
    QStringList joined;
    for (const QString &line : lines)
        joined.append(line);
    const QByteArray text = joined.join(QStringLiteral("\r\n")).toUtf8();
    const double width = 1500;
    LineBreaker breaker(text, font, &device, width);
    ASSERT_EQ(breaker.lines().size(), 4);
    for (qsizetype i = 0; i < breaker.lines().size(); ++i) {
        const TextLineSpan span = breaker.lines()[i];
        QString rebuilt;
        qint64 start = span.start;
        do {
            const LineBreaker::Piece &piece = breaker.pieceAt(start, span.end());
            ASSERT_TRUE(piece.fits) << i;
            ASSERT_TRUE(piece.length > 0 || span.length == 0) << i;
            EXPECT_LE(piece.width, width + 0.01) << i;
            // A piece ends between two characters of the UTF-8 text.
            const qint64 end = start + piece.length;
            EXPECT_TRUE(end == span.end() || (static_cast<unsigned char>(text[end]) & 0xC0) != 0x80) << i;
            EXPECT_EQ(piece.layout->text(), QString::fromUtf8(text.mid(start, piece.length))) << i;
            rebuilt += piece.layout->text();
            start = end;
        } while (start < span.end());
        EXPECT_EQ(rebuilt, lines[i]) << i;
    }
    EXPECT_TRUE(breaker.serves(text, font, width));
    EXPECT_FALSE(breaker.serves(text, font, width / 2));
    EXPECT_FALSE(breaker.serves(QByteArrayView("other"), font, width));
}

} // namespace
