// Reading the Go To Line entry as a line number.
#include "edit/modGoTo.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <clocale>

namespace zuno {
namespace {

struct Reading {
    const char16_t *entry;
    qint64 line;
};

// Names the case after its entry in the test's name and messages.
void PrintTo(const Reading &reading, std::ostream *out)
{
    *out << '"' << QString::fromUtf16(reading.entry).replace(QLatin1Char('\t'), QStringLiteral("\\t")).toStdString() << '"';
}

class ReadsAsNumber : public ::testing::TestWithParam<Reading> {};

TEST_P(ReadsAsNumber, GivesTheRoundedLine)
{
    const Reading reading = GetParam();
    const auto line = readLineNumber(QString::fromUtf16(reading.entry));
    ASSERT_TRUE(line.ok()) << QString::fromUtf16(reading.entry).toStdString();
    EXPECT_EQ(line.value(), reading.line) << QString::fromUtf16(reading.entry).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    PlainNumbers, ReadsAsNumber,
    ::testing::Values(Reading{u"3", 3}, Reading{u"0", 0}, Reading{u"000012", 12},
                      Reading{u" 3 ", 3}, Reading{u"\t7\t", 7}, Reading{u"   42", 42},
                      Reading{u"+4", 4}, Reading{u"-4", -4}, Reading{u"12.", 12},
                      Reading{u".6", 1}, Reading{u"1.25", 1}, Reading{u"-0", 0}));

// Halves go to the even neighbour; anything past a half goes up, however far
// down the digits it shows.
INSTANTIATE_TEST_SUITE_P(
    HalvesToEven, ReadsAsNumber,
    ::testing::Values(Reading{u"2.5", 2}, Reading{u"3.5", 4}, Reading{u"0.5", 0},
                      Reading{u"1.5", 2}, Reading{u"-2.5", -2}, Reading{u"-3.5", -4},
                      Reading{u"-0.5", 0}, Reading{u"2.4999999", 2}, Reading{u"2.5000001", 3},
                      Reading{u"2.50000000000000000001", 3}, Reading{u"2.50000", 2},
                      Reading{u"0.05", 0}, Reading{u"0.95", 1}));

INSTANTIATE_TEST_SUITE_P(
    Exponents, ReadsAsNumber,
    ::testing::Values(Reading{u"1e3", 1000}, Reading{u"1E+2", 100}, Reading{u"25e-1", 2},
                      Reading{u"35e-1", 4}, Reading{u"0.00005e5", 5}, Reading{u"4e0", 4},
                      Reading{u"0e999999999999999999999", 0}, Reading{u"1e-400", 0},
                      Reading{u"-7e-999999", 0}));

// Beyond the 16-bit range and beyond any document: the number stands, up to
// the limit, without overflowing.
INSTANTIATE_TEST_SUITE_P(
    OutOfRange, ReadsAsNumber,
    ::testing::Values(Reading{u"32767", 32767}, Reading{u"32768", 32768},
                      Reading{u"-32769", -32769}, Reading{u"123456789012", 123456789012},
                      Reading{u"999999999999999999", 999999999999999999},
                      Reading{u"1e18", LineNumberLimit},
                      Reading{u"99999999999999999999", LineNumberLimit},
                      Reading{u"1e300", LineNumberLimit}, Reading{u"-1e300", -LineNumberLimit},
                      Reading{u"1.7976931348623157e308", LineNumberLimit}));

class NotANumber : public ::testing::TestWithParam<const char16_t *> {};

TEST_P(NotANumber, ReadsAsNothing)
{
    const QString entry = QString::fromUtf16(GetParam());
    EXPECT_FALSE(readLineNumber(entry).ok()) << entry.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rejected, NotANumber,
    ::testing::Values(u"", u"   ", u"\t", u"abc", u"12a", u"a12", u"1 2", u"1,000", u"2,5",
                      u"1e", u"1e+", u"e5", u".", u"+", u"-", u"+-1", u"--1", u"1..2",
                      u"1.2.3", u"- 3", u"nan", u"NaN", u"inf", u"-inf", u"Infinity",
                      u"0x10", u"&H10", u"$5", u"1e400", u"1.8e308", u"-1e309",
                      u"1e99999999999999999999", u"\u0661\u0662", u"\uff11\uff12",
                      u"3\u00a0", u"\n3", u"3\r\n"));

TEST(ReadLineNumber, DoesNotDependOnTheLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string previousC = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // may be missing; harmless then

    EXPECT_EQ(readLineNumber(u"2.5").value(), 2);
    EXPECT_EQ(readLineNumber(u"3.5").value(), 4);
    EXPECT_FALSE(readLineNumber(u"2,5").ok());
    EXPECT_FALSE(readLineNumber(u"1.000,5").ok());
    EXPECT_EQ(readLineNumber(u"1.7976931348623157e308").value(), LineNumberLimit);

    std::setlocale(LC_NUMERIC, previousC.c_str());
    QLocale::setDefault(previous);
}

TEST(ReadLineNumber, CopesWithVeryLongEntries)
{
    // A pasted wall of digits: read, rounded and clamped without trouble,
    // as long as a double could hold it.
    EXPECT_EQ(readLineNumber(QString(300, QLatin1Char('9'))).value(), LineNumberLimit);
    EXPECT_EQ(readLineNumber(QStringLiteral("-") + QString(308, QLatin1Char('9'))).value(), -LineNumberLimit);
    EXPECT_FALSE(readLineNumber(QString(309, QLatin1Char('9'))).ok());
    EXPECT_FALSE(readLineNumber(QString(100000, QLatin1Char('9'))).ok());
    EXPECT_EQ(readLineNumber(QString(100000, QLatin1Char('0')) + QStringLiteral("42")).value(), 42);
    EXPECT_EQ(readLineNumber(QStringLiteral("0.") + QString(100000, QLatin1Char('0'))
                             + QStringLiteral("1e100000"))
                  .value(),
              0);
    EXPECT_EQ(readLineNumber(QStringLiteral("0.") + QString(100000, QLatin1Char('0'))
                             + QStringLiteral("6e100000"))
                  .value(),
              1);
    EXPECT_FALSE(readLineNumber(QString(100000, QLatin1Char('9')) + QLatin1Char('x')).ok());
}

} // namespace
} // namespace zuno
