// The line-by-line problem finder against the conversions and the Record
// view's round-trip check themselves, and the codes of a line by role.
#include "format/FileProblems.h"
#include "format/ConversionMessages.h"
#include "format/LineProblems.h"
#include "format/RoundTrip.h"
#include "format/TextStreams.h"

#include "ConversionInvariants.h"
#include "TestText.h"

#include <gtest/gtest.h>

#include <random>

namespace zuno {
namespace {

using test::crlf;
using test::splitLines;

struct Found {
    qsizetype line;
    ProblemKind kind;
};

QList<Found> problemsOf(const QString &text, bool recordLayout)
{
    QList<Found> found;
    const QByteArray utf8 = text.toUtf8();
    findLineProblems(utf8, recordLayout, [&](qsizetype line, qsizetype position, QStringView shown, const LineProblem &p) {
        // The position is where the line begins in the bytes.
        EXPECT_EQ(QString::fromUtf8(utf8.sliced(position, shown.toUtf8().size())), shown.toString());
        found.append({line, p.kind});
    });
    return found;
}

bool has(const QList<Found> &found, ProblemKind kind)
{
    return std::any_of(found.begin(), found.end(), [kind](const Found &f) { return f.kind == kind; });
}

// Texts rich in what matters: colons, runs of spaces, PL items, line
// breaks and lone "\r" and "\n".
QString noise(std::mt19937 &rng, int length)
{
    static const QStringList pieces = {"PL:", "AC:", "AC:OS", "BG:", "XX:", "NM:", ":", ",", " ", "  ",
                                       "\r\n", "\r\n", "\r\n", "\r", "\n", "1", "23", "A", "\u00e9", "       PL:"};
    QString text;
    while (text.size() < length)
        text += pieces[std::uniform_int_distribution<int>(0, int(pieces.size()) - 1)(rng)];
    return text;
}

TEST(LineProblems, NoErrorExactlyWhenTheConversionOfTheViewGoesThrough)
{
    std::mt19937 rng(25);
    int failed[2] = {0, 0};
    for (int i = 0; i < 4000; ++i) {
        const QString text = noise(rng, std::uniform_int_distribution<int>(0, 200)(rng));
        const QByteArray utf8 = text.toUtf8();
        const auto toRecord = convertToRecordLayout(QByteArrayView(utf8));
        const auto toList = convertToListLayout(QByteArrayView(utf8));
        const bool toRecordOk = toRecord.ok();
        const bool toListOk = toList.ok();
        ASSERT_EQ(!has(problemsOf(text, false), ProblemKind::Error), toRecordOk) << text.toStdString();
        ASSERT_EQ(!has(problemsOf(text, true), ProblemKind::Error), toListOk) << text.toStdString();
        // The first error says what the conversion stops with, in its words.
        for (const bool record : {false, true}) {
            const auto &converted = record ? toList : toRecord;
            if (converted.ok())
                continue;
            const QList<FileProblem> problems = fileProblems(utf8, record);
            const auto first = std::find_if(problems.begin(), problems.end(),
                                            [](const FileProblem &p) { return p.kind == ProblemKind::Error; });
            ASSERT_NE(first, problems.end());
            ASSERT_EQ(first->message, conversionWarning(converted.error())) << text.toStdString();
        }
        failed[0] += !toRecordOk;
        failed[1] += !toListOk;
    }
    // Both outcomes were met in both views.
    EXPECT_GT(failed[0], 400);
    EXPECT_LT(failed[0], 3600);
    EXPECT_GT(failed[1], 400);
    EXPECT_LT(failed[1], 3600);
}

// Whether the check's verdict on a warned line depends on the lines before
// it, which a line-by-line check does not read: where its first run of two
// spaces (once trimmed) stands before its first colon, the Record layout
// keeps the line whole when it begins a line of its own, and splits it when
// it joins it to another item; a PL line may be taken up by the PL item
// before it. Such a line is warned either way.
bool verdictDependsOnLinesBefore(QStringView line)
{
    const QStringView trimmed = trimSpaces(line);
    const qsizetype gap = trimmed.indexOf(ItemSeparator);
    const qsizetype colon = trimmed.indexOf(u':');
    return startsWithValueListCode(trimmed) || (gap >= 0 && (colon < 0 || gap < colon));
}

TEST(LineProblems, WarningExactlyWhenTheRecordViewWouldAsk)
{
    std::mt19937 rng(26);
    int asked = 0;
    int quiet = 0;
    int overWarned = 0;
    for (int i = 0; i < 4000; ++i) {
        const QString text = noise(rng, std::uniform_int_distribution<int>(0, 200)(rng));
        const QByteArray utf8 = text.toUtf8();
        const auto trip = checkRecordRoundTrip(QByteArrayView(utf8));
        if (!trip.ok())
            continue; // an error comes first
        QList<qsizetype> warned;
        bool mayBeQuiet = true;
        const QList<QStringView> lines = splitLines(text);
        for (const Found &found : problemsOf(text, false)) {
            warned.append(found.line);
            mayBeQuiet = mayBeQuiet && verdictDependsOnLinesBefore(lines[found.line]);
        }
        if (!trip.value().unchanged) {
            ++asked;
            ASSERT_FALSE(warned.isEmpty()) << text.toStdString();
        } else {
            ++quiet;
            ASSERT_TRUE(warned.isEmpty() || mayBeQuiet) << text.toStdString();
            overWarned += !warned.isEmpty();
        }
    }
    EXPECT_GT(asked, 200);
    EXPECT_GT(quiet, 200);
    // Rare even in these texts, made of little else than such lines.
    EXPECT_LT(overWarned, quiet / 4) << overWarned << " of " << quiet;
}

// The List layout's lines are passed over by their bytes; each must come
// out as the line decoded and checked on its own says, wherever the lines
// fall in the scan's blocks of 64 bytes, with malformed bytes among them.
TEST(LineProblems, ListLinesReadByTheirBytesAsWhenDecoded)
{
    std::mt19937 rng(27);
    for (int i = 0; i < 3000; ++i) {
        QByteArray utf8 = noise(rng, std::uniform_int_distribution<int>(0, 300)(rng)).toUtf8();
        if (i % 3 == 0)
            utf8.insert(std::uniform_int_distribution<qsizetype>(0, utf8.size())(rng), "\xff\xc3");
        QStringList expected;
        text::Utf8LineReader reader(utf8);
        for (qsizetype number = 0; reader.hasNext(); ++number) {
            const qsizetype position = reader.position();
            const QStringView line = reader.next();
            const LineProblem p = listLineProblem(line);
            if (p.kind != ProblemKind::None)
                expected << QStringLiteral("%1@%2 %3 %4+%5 %6").arg(number).arg(position).arg(int(p.kind))
                                .arg(p.from).arg(p.length).arg(line);
        }
        QStringList found;
        findLineProblems(utf8, false, [&](qsizetype number, qsizetype position, QStringView line, const LineProblem &p) {
            found << QStringLiteral("%1@%2 %3 %4+%5 %6").arg(number).arg(position).arg(int(p.kind))
                         .arg(p.from).arg(p.length).arg(line);
        });
        ASSERT_EQ(found, expected) << utf8.toStdString();
    }
}

TEST(LineProblems, OffendingTextAndTheConversionsOwnFault)
{
    struct Case {
        QString line;
        bool record;
        ProblemKind kind;
        QString offending;
        ConversionFault::Kind fault;
    };
    using K = ConversionFault::Kind;
    const Case cases[] = {
        {"REMARK X", false, ProblemKind::Error, "REMARK X", K::InvalidItem},
        // Untrimmed in the List layout, trimmed in the Record layout.
        {" X ", false, ProblemKind::Error, " X ", K::InvalidItem},
        {" X ", true, ProblemKind::Error, "X", K::InvalidItem},
        {" NM:MAIN  ROAD ", false, ProblemKind::Warning, "  ROAD", K::InvalidItem},
        {"AC:1  BG:2  junk", true, ProblemKind::Error, "BG:2  junk", K::UnexpectedData},
        {"AC:1  BG:2", false, ProblemKind::Warning, "  BG:2", K::InvalidItem},
        {"AC:1  BG:2", true, ProblemKind::None, "", K::InvalidItem},
        {"REMARK: X", false, ProblemKind::None, "", K::InvalidItem},
    };
    for (const Case &c : cases) {
        RecordLineContext context;
        const LineProblem p = c.record ? recordLineProblem(c.line, context) : listLineProblem(c.line);
        SCOPED_TRACE(c.line.toStdString());
        EXPECT_EQ(p.kind, c.kind);
        EXPECT_EQ(QStringView(c.line).sliced(p.from, p.length), c.offending);
        if (p.kind == ProblemKind::Error) {
            EXPECT_EQ(p.fault.kind, c.fault);
            EXPECT_EQ(p.fault.line, c.offending);
        }
    }
}

TEST(LineProblems, ALineTakenUpByAValueListIsNotChecked)
{
    // As View > List reads them: the line after a PL item is appended whole.
    const QString text = crlf({"AC:1  PL:1,2", "  PL:5,6  junk", "XX:3", "PL:7  junk"});
    const QList<Found> found = problemsOf(text, true);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].line, 3);
}

TEST(LineProblems, CodesOfARecordLineByTheirOwnRoles)
{
    RecordLineContext context;
    const QString line = QStringLiteral("  BG:5  PL:1,2  AC:OS  xx:3");
    EXPECT_EQ(lineCodes(line, true, context),
              (QList<CodeSpan>{{2, 3, ItemRole::LineStart}, {8, 3, ItemRole::ValueList},
                               {16, 3, ItemRole::SeparatedRecordStart}, {23, 3, ItemRole::Joined}}));
    EXPECT_FALSE(context.valueListOpen);
    // The List layout classifies the line untrimmed, as the Record
    // conversion does.
    EXPECT_EQ(lineCodes(line, false, context), (QList<CodeSpan>{{0, 5, ItemRole::Joined}}));
    // A continuation line's code is the value list's.
    EXPECT_EQ(lineCodes(QStringLiteral("AC:7  PL:1"), true, context),
              (QList<CodeSpan>{{0, 3, ItemRole::RecordStart}, {6, 3, ItemRole::ValueList}}));
    EXPECT_TRUE(context.valueListOpen);
    EXPECT_EQ(lineCodes(QStringLiteral("       PL:2  AC:1"), true, context),
              (QList<CodeSpan>{{7, 3, ItemRole::ValueList}}));
}

} // namespace
} // namespace zuno
