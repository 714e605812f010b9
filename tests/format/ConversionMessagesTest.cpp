// The words of the conversions' warnings and of the Record view's
// round-trip warning.
#include "format/ConversionMessages.h"

#include <gtest/gtest.h>

namespace zuno {
namespace {

QString invalidItem(QStringView line, qsizetype number)
{
    return conversionWarning({ConversionFault::Kind::InvalidItem, line.toString(), number});
}

TEST(ConversionWarning, UnexpectedDataQuotesWhatIsLeftOfTheLine)
{
    EXPECT_EQ(conversionWarning({ConversionFault::Kind::UnexpectedData, QStringLiteral("BG:2  JUNK"), 3}),
              QStringLiteral("Unexpected data 'BG:2  JUNK'."));
    EXPECT_EQ(conversionWarningTitle(), QStringLiteral("Invalid File"));
}

TEST(ConversionWarning, QuotesTheLineAndItsNumber)
{
    EXPECT_EQ(invalidItem(u"X Y", 1), QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 2"));
    EXPECT_EQ(invalidItem(u"REMARK X", 0),
              QStringLiteral("Invalid ZUNO Data Item 'REMARK X' on line 1"));
    EXPECT_EQ(invalidItem(u"A", 40000),
              QStringLiteral("Invalid ZUNO Data Item 'A' on line 40001"));
}

TEST(ConversionWarning, QuotesLongLinesCutAndControlCharactersEscaped)
{
    const QString exact(80, u'X');
    EXPECT_EQ(quotedLine(exact), exact) << "a line as long as a Record line is quoted whole";
    EXPECT_EQ(invalidItem(QString(20'000'000, u'X'), 7),
              QStringLiteral("Invalid ZUNO Data Item '") + exact + QStringLiteral("\u2026' on line 8"));
    EXPECT_EQ(quotedLine(QString(81, u'Y')), QString(80, u'Y') + QStringLiteral("\u2026"));

    // Tabs stay; other control characters become escapes, never raw.
    EXPECT_EQ(quotedLine(QStringView(u"A\tB\rC\nD\u001b[2JE\u007fF\u0085G\u2028H")),
              QStringLiteral("A\tB\\rC\\nD\\x1b[2JE\\x7fF\\x85G\\u2028H"));
    EXPECT_EQ(quotedLine(QStringView(u"N\0UL", 4)), QStringLiteral("N\\x00UL"));
    // Letters beyond Latin-1 and characters outside the basic plane stay.
    EXPECT_EQ(quotedLine(u"\u00e9\u20ac\U0001F600"), QStringLiteral("\u00e9\u20ac\U0001F600"));

    // The cut counts characters of the line, before escaping, and does not
    // split a character of two units.
    QString escapes;
    for (int i = 0; i < 80; ++i)
        escapes += QStringLiteral("\\x01");
    EXPECT_EQ(quotedLine(QString(300, u'\x01')), escapes + QStringLiteral("\u2026"));
    const QString emoji = QString(79, u'Z') + QStringLiteral("\U0001F600") + u'Z';
    EXPECT_EQ(quotedLine(emoji), QString(79, u'Z') + QStringLiteral("\u2026"));
}

TEST(RoundTripWarning, SaysWhatWouldHappenToTheLine)
{
    RoundTripChange change;
    change.lineNumber = 4;
    change.line = QStringLiteral(" NM:A  B ");
    change.consequence = RoundTripChange::Consequence::ConversionStops;
    change.stop = {ConversionFault::Kind::UnexpectedData, QStringLiteral("NM:A  B"), 2};
    change.holdsTwoSpaces = true;
    EXPECT_EQ(roundTripWarning(change),
              QStringLiteral("The data item ' NM:A  B ' on line 5 would not come back unchanged from the Record "
                             "view: it holds two spaces in a row, which the List layout reads as the gap between "
                             "two items, so saving from the Record view would stop with the warning "
                             "\"Unexpected data 'NM:A  B'.\""));

    change = {};
    change.lineNumber = 0;
    change.line = QStringLiteral("PL:1");
    change.consequence = RoundTripChange::Consequence::ItemAdded;
    change.item = QStringLiteral("PL:2");
    EXPECT_EQ(roundTripWarning(change),
              QStringLiteral("The data item 'PL:1' on line 1 would not come back unchanged from the Record view: "
                             "the item 'PL:2' would be added after it."));
    change.consequence = RoundTripChange::Consequence::Lost;
    EXPECT_TRUE(roundTripWarning(change).endsWith(QStringLiteral(": it would be lost.")));
    change.consequence = RoundTripChange::Consequence::ComesBackAs;
    change.item = QStringLiteral("...,7");
    EXPECT_TRUE(roundTripWarning(change).endsWith(QStringLiteral(": it would come back as '...,7'.")));

    // A long line is quoted cut, and no control character of it reaches the
    // message as it is.
    change.line = QStringLiteral("NM:\x1b]0;T\x07") + QString(200'000, u'A');
    change.item = QStringLiteral("\x1b[2J");
    const QString warning = roundTripWarning(change);
    EXPECT_LT(warning.size(), 300);
    EXPECT_TRUE(warning.contains(QStringLiteral("'NM:\\x1b]0;T\\x07AAA")));
    EXPECT_TRUE(warning.contains(QStringLiteral("\u2026' on line 1")));
    EXPECT_FALSE(warning.contains(QChar(0x1b)));
}

} // namespace
} // namespace zuno
