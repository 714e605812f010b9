// Every problem of a text, in the editor's words, with its place counted
// from 1 in characters.
#include "format/FileProblems.h"

#include <gtest/gtest.h>

namespace zuno {
namespace {

const QString SplitIntoItems = QStringLiteral(
    "The data item 'NM:A  B:C' on line 2 would not come back unchanged from the Record view: it holds two spaces "
    "in a row, which the List layout reads as the gap between two items, so it would come back as several items.");

struct Case {
    const char *name;
    QString text;
    bool recordLayout;
    QList<FileProblem> expected;
};

TEST(FileProblems, EveryProblemOnceInLineOrderWithItsPlaceFromOne)
{
    using enum ProblemKind;
    const QList<Case> cases = {
        {"no problems", QStringLiteral("AC:1\r\nBG:5\r\nPL:1,2"), false, {}},
        // A warning before an error, and the error's line counted from 1.
        {"warning then errors", QStringLiteral("AC:1\r\nNM:A  B:C\r\nBAD LINE\r\nXX:1\r\n  NO COLON  "), false,
         {{2, 5, 10, Warning, ProblemRule::RoundTrip, SplitIntoItems},
          {3, 1, 9, Error, ProblemRule::InvalidItem, QStringLiteral("Invalid ZUNO Data Item 'BAD LINE' on line 3")},
          {5, 1, 13, Error, ProblemRule::InvalidItem,
           QStringLiteral("Invalid ZUNO Data Item '  NO COLON  ' on line 5")}}},
        // Columns count characters: a character beyond the BMP is one.
        {"columns in characters", QStringLiteral("AC:\U0001F600\u00e9  X  Y:1"), false,
         {{1, 6, 14, Warning, ProblemRule::RoundTrip, QString()}}},
        // The Record layout: the List conversion's faults, the offending
        // rest of the line marked.
        {"record layout", QStringLiteral("AC:1  BG:2  JUNK\r\n   X Y\r\nBG:1  PL:1,2\r\n       PL:3,4"), true,
         {{1, 7, 17, Error, ProblemRule::UnexpectedData, QStringLiteral("Unexpected data 'BG:2  JUNK'.")},
          {2, 4, 7, Error, ProblemRule::InvalidItem, QStringLiteral("Invalid ZUNO Data Item 'X Y' on line 2")}}},
    };
    for (const Case &c : cases) {
        QList<FileProblem> found = fileProblems(c.text.toUtf8(), c.recordLayout);
        // A message left empty in the table is not compared.
        for (qsizetype i = 0; i < std::min(found.size(), c.expected.size()); ++i) {
            if (c.expected[i].message.isEmpty())
                found[i].message.clear();
        }
        EXPECT_EQ(found, c.expected) << c.name;
    }
}

TEST(FileProblems, EveryRuleHasItsOwnIdAndDescription)
{
    QStringList ids;
    for (ProblemRule rule : {ProblemRule::InvalidItem, ProblemRule::UnexpectedData, ProblemRule::RoundTrip}) {
        EXPECT_FALSE(ruleDescription(rule).isEmpty());
        ids.append(ruleId(rule));
    }
    EXPECT_EQ(ids, QStringList({"invalid-item", "unexpected-data", "round-trip"}));
}

} // namespace
} // namespace zuno
