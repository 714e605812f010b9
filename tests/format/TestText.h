#pragma once
// Helpers shared by the format tests: texts written as lists of lines.

#include "format/ConversionMessages.h"
#include "format/Conversion.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <initializer_list>
#include <ostream>

namespace zuno::test {

// The lines joined with "\r\n", no separator after the last.
inline QString crlf(std::initializer_list<QString> lines)
{
    return QStringList(lines).join(QStringLiteral("\r\n"));
}

inline QString crlf(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

inline QString repeated(QStringView text, qsizetype times)
{
    return text.toString().repeated(times);
}

// "PL:" and the numbers first..last joined with commas.
inline QString valueList(int first, int last)
{
    QStringList values;
    for (int n = first; n <= last; ++n)
        values.append(QString::number(n));
    return QStringLiteral("PL:") + values.join(u',');
}

// The Record layout of the worked example: AC:7, BG:A1, a PL item of the
// values 101 to 140, XX:END.
inline const QString WorkedExampleRecord = crlf({
    "AC:7",
    "BG:A1  PL:101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117",
    "       PL:118,119,120,121,122,123,124,125,126,127,128,129,130,131,132,133,134",
    "       PL:135,136,137,138,139,140",
    "XX:END",
});

// The warning a failed conversion gives the user; empty on success.
template <typename Text>
QString warningOf(const ConversionResult<Text> &result)
{
    return result.ok() ? QString() : conversionWarning(result.error());
}

// The conversions on a QString, through the UTF-8 they take: the tests
// write their texts as QStrings.
inline ConversionResult<QString> asText(const ConversionResult<QByteArray> &result)
{
    if (!result.ok())
        return result.error();
    return QString::fromUtf8(result.value());
}
inline ConversionResult<QString> recordOf(QStringView list)
{
    return asText(convertToRecordLayout(list.toUtf8()));
}
inline ConversionResult<QString> listOf(QStringView record)
{
    return asText(convertToListLayout(record.toUtf8()));
}

// The converted text, expecting the conversion to succeed.
template <typename Convert>
QString converted(const QString &text, Convert convert)
{
    const auto result = convert(QStringView(text));
    EXPECT_TRUE(result.ok()) << warningOf(result).toStdString();
    return result.ok() ? result.value() : QString();
}

inline QString toRecord(const QString &list)
{
    return converted(list, recordOf);
}

inline QString toList(const QString &record)
{
    return converted(record, listOf);
}

} // namespace zuno::test

QT_BEGIN_NAMESPACE
// Readable failure output for QString comparisons.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"';
    for (const QChar ch : text) {
        if (ch == u'\r')
            *os << "\\r";
        else if (ch == u'\n')
            *os << "\\n";
        else
            *os << QString(ch).toStdString();
    }
    *os << '"';
}
QT_END_NAMESPACE
