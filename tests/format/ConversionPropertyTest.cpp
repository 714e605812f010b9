// Properties of the two conversions over generated texts: List -> Record ->
// List keeps every item and value in order, the Record lines keep to their
// widths, and any text at all converts or fails cleanly.
#include "format/Conversion.h"
#include "format/DataItem.h"
#include "format/RoundTrip.h"

#include "ConversionInvariants.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <random>

namespace zuno {
namespace {

using test::invariantCharacters;
using test::listDataItems;
using test::splitLines;

// Generates List texts in the form the List layout keeps: one item per line,
// trimmed, no empty lines, no runs of two spaces, no two PL items in a row
// (consecutive PL lines are one item), and values without spaces next to
// their commas (the conversions trim at every comma where they split).
class ListTextGenerator {
public:
    explicit ListTextGenerator(unsigned seed) : m_rng(seed) {}

    QStringList items(int count)
    {
        QStringList result;
        bool afterValueList = false;
        for (int i = 0; i < count; ++i) {
            const QString next = item(afterValueList);
            afterValueList = next.startsWith(QStringLiteral("PL:"));
            result.append(next);
        }
        return result;
    }

    // The items as a List text whose PL items are cut into several lines at
    // chosen commas, as a hand would: each cut line ends with its comma, or
    // not (only where a value stands on both sides of the cut, so that the
    // lines still read as the same values).
    QStringList cutByHand(const QStringList &items)
    {
        QStringList lines;
        for (const QString &item : items) {
            if (!item.startsWith(QStringLiteral("PL:")) || chance(30)) {
                lines.append(item);
                continue;
            }
            const QStringList values = item.sliced(3).split(u',');
            QString line = QStringLiteral("PL:") + values.first();
            for (qsizetype i = 1; i < values.size(); ++i) {
                if (chance(20)) {
                    const bool dropComma = chance(50) && !values[i - 1].isEmpty() && !values[i].isEmpty();
                    lines.append(dropComma ? line : line + u',');
                    line = QStringLiteral("PL:") + values[i];
                } else {
                    line += u',' + values[i];
                }
            }
            lines.append(line);
        }
        return lines;
    }

    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }
    bool chance(int percent) { return uniform(1, 100) <= percent; }

    // Any string from a small alphabet rich in the characters that matter.
    QString noise(int length)
    {
        static const QStringList pieces = {"PL:", "AC:", "AC:OS", "BG:", "XX:", ":", ",", " ", "  ", "\r\n",
                                           "\r", "\n", "1", "23", "A", "\t", QStringLiteral("\u00e9"), "       PL:"};
        QString text;
        while (text.size() < length)
            text += pieces[uniform(0, int(pieces.size()) - 1)];
        return text;
    }

private:
    QString token(int minLength, int maxLength, bool numeric)
    {
        static const QString digits = QStringLiteral("0123456789");
        static const QString other = QStringLiteral("ABCDEFXYZ.-#/:\u00e9\u00c9\t");
        const int length = uniform(minLength, maxLength);
        QString text;
        for (int i = 0; i < length; ++i) {
            if (numeric || chance(60))
                text += digits[uniform(0, 9)];
            else
                text += other[uniform(0, int(other.size()) - 1)];
        }
        return text;
    }

    // Tokens joined by single spaces.
    QString words(int count, int maxLength, bool numeric)
    {
        QStringList parts;
        for (int i = 0; i < count; ++i)
            parts.append(token(1, maxLength, numeric));
        return parts.join(u' ');
    }

    QString value()
    {
        const int kind = uniform(1, 100);
        if (kind <= 75)
            return token(1, 6, true);
        if (kind <= 82)
            return QString(); // an empty value
        if (kind <= 90)
            return words(uniform(2, 3), 4, false);
        return token(30, 110, false); // long: no comma within a window
    }

    QString valueList()
    {
        const int kind = uniform(1, 100);
        const int count = kind <= 40 ? uniform(0, 8) : kind <= 80 ? uniform(9, 40) : uniform(41, 120);
        QStringList values;
        for (int i = 0; i < count; ++i)
            values.append(value());
        return QStringLiteral("PL:") + values.join(u',');
    }

    QString otherCode()
    {
        static const QStringList codes = {"XX:", "NM:", "HT:", "OF:", "pl:", "ac:", "P:", "REMARK:", ":", "A B:"};
        return codes[uniform(0, int(codes.size()) - 1)];
    }

    QString item(bool afterValueList)
    {
        for (;;) {
            const int kind = uniform(1, 100);
            if (kind <= 8)
                return QStringLiteral("AC:") + token(1, 5, true);
            if (kind <= 11)
                return chance(50) ? QStringLiteral("AC:OS") : QStringLiteral("AC:PR");
            if (kind <= 24) {
                static const QStringList starts = {"BG:", "EG:", "CP:", "SP:", "DL:"};
                return starts[uniform(0, 4)] + words(uniform(1, 3), chance(5) ? 90 : 8, false);
            }
            if (kind <= 50) {
                if (afterValueList)
                    continue;
                return valueList();
            }
            if (kind <= 54)
                return otherCode(); // an empty value
            if (kind <= 58)
                return otherCode() + words(1, 100, false); // long
            return otherCode() + words(uniform(1, 4), 8, false);
        }
    }

    std::mt19937 m_rng;
};

const ConversionResult<QString> &okOrFail(const ConversionResult<QString> &result, const QString &input)
{
    EXPECT_TRUE(result.ok()) << test::warningOf(result).toStdString() << "\ninput:\n" << input.toStdString();
    return result;
}

// The items of a List text: consecutive PL lines are the parts of one item,
// each but the last ending with the comma at which it was cut.
QStringList listItems(const QString &list)
{
    QStringList items;
    bool previousValueList = false;
    for (QStringView line : splitLines(list)) {
        const bool valueList = line.startsWith(u"PL:");
        if (valueList && previousValueList)
            items.last() += line.sliced(3);
        else
            items.append(line.toString());
        previousValueList = valueList;
    }
    return items;
}

// The widths that Record lines keep. Returns what is wrong, or empty.
QString recordWidthFault(const QString &record)
{
    for (QStringView line : splitLines(record)) {
        if (line.size() <= RecordLineWidth)
            continue;
        QStringView body = line;
        if (body.startsWith(ContinuationIndent))
            body = body.sliced(ContinuationIndent.size());
        const QList<QStringView> items = trimSpaces(body).split(ItemSeparator);
        const QStringView last = items.last();
        if (items.size() == 1) {
            // A long item stands alone, and a PL continuation line runs long
            // only when its values hold no comma among their first 70.
            if (last.startsWith(u"PL:") && last.sliced(3).first(ContinuationSplitLimit).contains(u','))
                return QStringLiteral("long PL line with a comma to split at: ") + line.toString();
            continue;
        }
        // A line runs long with several items only by the head of a PL item
        // that had no comma to split at, after a PL item: the head's values
        // hold no comma (but one that ends them).
        const QStringView before = items[items.size() - 2];
        const qsizetype prefix = line.size() - last.size() - ItemSeparator.size();
        QStringView headValues = last.sliced(std::min<qsizetype>(3, last.size()));
        if (headValues.endsWith(u','))
            headValues.chop(1);
        if (!last.startsWith(u"PL:") || headValues.contains(u',') || !before.startsWith(u"PL:")
            || prefix > RecordLineWidth)
            return QStringLiteral("line too long: ") + line.toString();
    }
    return QString();
}

// A List text's PL lines: each part but the last ends with its comma, and a
// part is longer than 80 only when no comma within its first 80 could cut it.
QString listCutFault(const QString &list)
{
    const QList<QStringView> lines = splitLines(list);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        if (!line.startsWith(u"PL:"))
            continue;
        if (i + 1 < lines.size() && lines[i + 1].startsWith(u"PL:") && !line.endsWith(u','))
            return QStringLiteral("cut part without its comma: ") + line.toString();
        if (line.size() > ListCutLimit && line.first(ListCutLimit).contains(u','))
            return QStringLiteral("long PL line with a comma to cut at: ") + line.toString();
    }
    return QString();
}

TEST(ConversionProperties, ListRecordListKeepsEveryItemInOrder)
{
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        ListTextGenerator generator(seed);
        const QStringList items = generator.items(generator.uniform(1, 30));
        const QString list = test::crlf(items);
        const QString record = okOrFail(test::recordOf(list), list).value();
        const QString back = okOrFail(test::listOf(record), record).value();
        ASSERT_EQ(listItems(back), items) << "seed " << seed << "\nrecord:\n" << record.toStdString();
    }
}

TEST(ConversionProperties, ValueListLinesCutByHandKeepEveryValueInOrder)
{
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        ListTextGenerator generator(seed);
        const QStringList items = generator.items(generator.uniform(1, 30));
        const QString list = test::crlf(generator.cutByHand(items));
        ASSERT_EQ(listDataItems(list), items) << "seed " << seed; // the generator's own promise
        const QString record = okOrFail(test::recordOf(list), list).value();
        const QString back = okOrFail(test::listOf(record), record).value();
        // No value merged with its neighbour, none split, no empty one added.
        ASSERT_EQ(listDataItems(back), items) << "seed " << seed << "\nlist:\n"
                                              << list.toStdString() << "\nrecord:\n" << record.toStdString();
        const auto trip = checkRecordRoundTrip(list.toUtf8());
        ASSERT_TRUE(trip.ok());
        ASSERT_TRUE(trip.value().unchanged) << roundTripWarning(trip.value().change).toStdString();
    }
}

TEST(ConversionProperties, RoundTripCheckAgreesWithTheItemsThatComeBack)
{
    // Any text: the check finds a change exactly when the items differ.
    int changed = 0;
    int unchanged = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        ListTextGenerator generator(seed);
        const QString text = seed % 2 ? generator.noise(generator.uniform(0, 400))
                                      : test::crlf(generator.cutByHand(generator.items(generator.uniform(1, 30))));
        const auto checked = checkRecordRoundTrip(text.toUtf8());
        const auto record = test::recordOf(text);
        ASSERT_EQ(checked.ok(), record.ok()) << "seed " << seed;
        if (!record.ok())
            continue;
        const RecordRoundTrip<QByteArray> &trip = checked.value();
        const auto back = test::listOf(record.value());
        const bool same = back.ok() && listDataItems(back.value()) == listDataItems(text);
        const QString warning = roundTripWarning(trip.change);
        ASSERT_EQ(trip.unchanged, same) << "seed " << seed << " " << warning.toStdString();
        ++(same ? unchanged : changed);
        if (!same) {
            const qsizetype line = trip.change.lineNumber;
            ASSERT_GE(line, 0);
            ASSERT_LT(line, splitLines(text).size());
            ASSERT_EQ(trip.change.line, splitLines(text)[line]) << "seed " << seed;
            ASSERT_TRUE(warning.contains(QStringLiteral("' on line ") + QString::number(line + 1) + u' '));
        }
    }
    // Both kinds of text were met.
    EXPECT_GT(changed, 100);
    EXPECT_GT(unchanged, 1000);
}

TEST(ConversionProperties, ListLayoutComesBackUnchanged)
{
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        ListTextGenerator generator(seed);
        const QString raw = test::crlf(generator.items(generator.uniform(1, 30)));
        // Into the List layout with its cut PL lines, then round and round.
        const QString list = test::listOf(test::recordOf(raw).value()).value();
        const QString record = okOrFail(test::recordOf(list), list).value();
        ASSERT_EQ(okOrFail(test::listOf(record), record).value(), list)
            << "seed " << seed << "\nrecord:\n" << record.toStdString();
        ASSERT_EQ(test::recordOf(list).value(), record) << "seed " << seed;
    }
}

TEST(ConversionProperties, RecordLinesKeepTheirWidths)
{
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        ListTextGenerator generator(seed);
        const QString raw = test::crlf(generator.items(generator.uniform(1, 30)));
        const QString record = test::recordOf(raw).value();
        ASSERT_EQ(recordWidthFault(record), QString()) << "seed " << seed;
        const QString list = test::listOf(record).value();
        ASSERT_EQ(listCutFault(list), QString()) << "seed " << seed;
        ASSERT_EQ(recordWidthFault(test::recordOf(list).value()), QString()) << "seed " << seed;
    }
}

TEST(ConversionProperties, AnyTextConvertsOrFailsCleanly)
{
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        ListTextGenerator generator(seed);
        const QString text = generator.noise(generator.uniform(0, 400));
        for (const bool toRecord : {true, false}) {
            const auto result = toRecord ? test::recordOf(text) : test::listOf(text);
            if (result.ok()) {
                EXPECT_TRUE(test::warningOf(result).isEmpty());
                // Nothing but separators, commas and "PL:" heads is added or
                // dropped, and nothing moves.
                ASSERT_EQ(invariantCharacters(result.value()), invariantCharacters(text))
                    << "seed " << seed << " toRecord " << toRecord;
            } else {
                ASSERT_GE(result.error().lineNumber, 0) << "seed " << seed;
                ASSERT_LT(result.error().lineNumber, splitLines(text).size()) << "seed " << seed;
            }
        }
    }
}

TEST(ConversionProperties, PiecesHandedOverMakeTheWholeResult)
{
    ListTextGenerator generator(7);
    QStringList items;
    qsizetype size = 0;
    while (size < 3'000'000) {
        items += generator.items(50);
        size += items.last().size() * 50;
    }
    const QByteArray list = test::crlf(items).toUtf8();
    const QByteArray record = convertToRecordLayout(list).value();
    for (const bool toRecord : {true, false}) {
        SCOPED_TRACE(toRecord ? "to record" : "to list");
        const QByteArray input = toRecord ? list : record;
        const QByteArray whole = toRecord ? record : convertToListLayout(record).value();
        QByteArray joined;
        int pieces = 0;
        const ConversionSink sink = [&](QByteArrayView piece) {
            joined += piece;
            ++pieces;
        };
        const auto streamed = toRecord ? convertToRecordLayout(input, sink) : convertToListLayout(input, sink);
        ASSERT_TRUE(streamed.ok());
        EXPECT_GT(pieces, 1);
        EXPECT_EQ(joined, whole);
        // A fault on the last line is the same fault either way.
        const QByteArray faulty = input + "\r\nX Y";
        const auto wholeFault = toRecord ? convertToRecordLayout(faulty) : convertToListLayout(faulty);
        const auto streamedFault = toRecord ? convertToRecordLayout(faulty, sink) : convertToListLayout(faulty, sink);
        ASSERT_FALSE(streamedFault.ok());
        EXPECT_EQ(streamedFault.error(), wholeFault.error());
    }
}

TEST(ConversionProperties, VeryLongLinesConvert)
{
    // No limit on line length: a PL item of a million values and a line of
    // a million characters without a comma.
    QString values;
    for (int n = 0; n < 1'000'000; ++n) {
        values += QString::number(n % 1000);
        values += u',';
    }
    values.chop(1);
    const QString list = test::crlf({"AC:1", "BG:2", QStringLiteral("PL:") + values,
                                     QStringLiteral("XX:") + test::repeated(u"Y", 1'000'000)});
    const auto record = test::recordOf(list);
    ASSERT_TRUE(record.ok());
    const auto back = test::listOf(record.value());
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(listItems(back.value()), listItems(list));
    EXPECT_EQ(test::listOf(test::recordOf(back.value()).value()).value(), back.value());
}

} // namespace
} // namespace zuno
