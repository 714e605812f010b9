// Replace All works out its result in one pass and applies it as one edit;
// it must leave the edit control exactly as ReplaceOne in a loop does.
#include "search/modFindReplaceRichText.h"
#include "support/EditText.h"
#include "ReplaceAllStepwise.h"

#include "platform/doubles/FakeEditControl.h"

#include <gtest/gtest.h>

#include <random>

using namespace zuno;
namespace engine = zuno::modFindReplaceRichText;

namespace {

struct Case {
    QString text;
    QString find;
    QString replace;
    bool matchCase = false;
    bool wholeWord = false;
    qint64 selStart = 0;
    qint64 selLength = 0;
};

std::string describe(const Case &c)
{
    auto quote = [](QString s) {
        return "\"" + s.replace("\r", "\\r").replace("\n", "\\n").toStdString() + "\"";
    };
    return "text " + quote(c.text) + " find " + quote(c.find) + " replace " + quote(c.replace)
        + (c.matchCase ? " matchcase" : "") + (c.wholeWord ? " wholeword" : "") + " sel "
        + std::to_string(c.selStart) + "+" + std::to_string(c.selLength);
}

// Runs both ways and compares everything the program can see afterwards.
void expectSameOutcome(const Case &c)
{
    SCOPED_TRACE(describe(c));
    FakeEditControl stepwise(c.text), onePass(c.text);
    for (FakeEditControl *control : {&stepwise, &onePass}) {
        control->setSelStart(c.selStart);
        control->setSelLength(c.selLength);
    }
    const qint64 expectedCount =
        test::ReplaceAllStepwise(stepwise, c.replace, c.find, c.matchCase, c.wholeWord);
    const qint64 count = engine::ReplaceAll(onePass, c.replace, c.find, c.matchCase, c.wholeWord);

    EXPECT_EQ(count, expectedCount);
    EXPECT_EQ(test::textOf(onePass), test::textOf(stepwise));
    EXPECT_EQ(onePass.selStart(), stepwise.selStart());
    EXPECT_EQ(onePass.selLength(), 0);
    EXPECT_EQ(stepwise.selLength(), 0);
    EXPECT_EQ(onePass.isModified(), stepwise.isModified());
    EXPECT_EQ(onePass.changeCount, stepwise.changeCount);
    EXPECT_EQ(onePass.undoStack, stepwise.undoStack);
    EXPECT_EQ(onePass.focusCount > 0, stepwise.focusCount > 0);
    // Planned a line at a time, the same occurrences.
    const QByteArray bytes = c.text.toUtf8();
    EXPECT_EQ(engine::PlanReplaceAll(bytes, c.replace, c.find, c.matchCase, c.wholeWord, 1).ranges,
              engine::PlanReplaceAll(bytes, c.replace, c.find, c.matchCase, c.wholeWord).ranges);
    // The count is the number of replacements made: the text grows by the
    // difference in length for each one.
    EXPECT_EQ(test::textOf(stepwise).size() - c.text.size(),
              expectedCount * (c.replace.size() - c.find.size()));
}

TEST(ReplaceAllEquivalence, TheWorkedExamples)
{
    expectSameOutcome({"cat hat cat", "cat", "dog", false, false, 0, 0});
    expectSameOutcome({"Cat cat", "cat", "dog", true, false, 0, 0});
    expectSameOutcome({"Cat cat", "cat", "dog", false, false, 0, 0});
    expectSameOutcome({"aaa", "a", "aa", false, false, 0, 0});
    expectSameOutcome({"concat cat", "cat", "dog", false, true, 3, 2});
    expectSameOutcome({"cat cat cat cat", "cat", "", false, false, 14, 0});
    expectSameOutcome({"-a-a", "-a", "-", false, true, 0, 0});
    expectSameOutcome({"a-a", "a", "-", false, true, 0, 0});
    expectSameOutcome({"xa\r\nb", "a", "\r", false, false, 0, 0});
    expectSameOutcome({"ab", "b", "", false, true, 0, 0});
    expectSameOutcome({"", "a", "b", false, false, 0, 0});
    expectSameOutcome({"abc", "", "X", false, false, 1, 1});
}

TEST(ReplaceAllEquivalence, GeneratedCases)
{
    // Pieces that exercise case folding (including letters outside ASCII
    // and outside the Basic Multilingual Plane), word characters, word
    // boundaries and line breaks.
    const QStringList pieces = {"a",  "A",  "b",  "B",  "_",    "-",    " ",     ".",
                                "\r\n", "ab", "é", "É", "1",  "\u00DF", "ss", QString::fromUtf8("\xF0\x9D\x90\x80")};
    std::mt19937 random(20240611);
    auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random)); };
    auto piecesOf = [&](int most) {
        QString s;
        const int n = pick(most + 1);
        for (int i = 0; i < n; ++i)
            s += pieces[pick(pieces.size())];
        return s;
    };

    for (int i = 0; i < 4000; ++i) {
        Case c;
        c.text = piecesOf(24);
        switch (pick(4)) {
        case 0: // a stretch of the text, which may cut a line break in two
            if (!c.text.isEmpty()) {
                const int from = pick(c.text.size());
                c.find = c.text.mid(from, 1 + pick(4));
                break;
            }
            [[fallthrough]];
        case 1: c.find = piecesOf(2); break;
        case 2: c.find = pick(2) ? QStringLiteral("A") : QStringLiteral("ab"); break;
        default: c.find = pieces[pick(pieces.size())]; break;
        }
        switch (pick(4)) {
        case 0: c.replace = c.find + piecesOf(1); break; // contains the find text
        case 1: c.replace = piecesOf(1) + c.find.toUpper(); break;
        case 2: c.replace = QString(); break;
        default: c.replace = piecesOf(2); break;
        }
        c.matchCase = pick(2);
        c.wholeWord = pick(2);
        c.selStart = pick(int(c.text.size()) + 1);
        c.selLength = pick(int(c.text.size() - c.selStart) + 1);
        expectSameOutcome(c);
        if (HasFailure())
            break;
    }
}

TEST(ReplaceAllEquivalence, ThePlanListsTheOccurrencesInTheTextAsItWas)
{
    struct Example {
        QString text, find, replace;
        bool wholeWord;
        QList<Utf8Range> ranges; // bytes of the UTF-8 text
    };
    const Example examples[] = {
        {"xx cat yy cat zz", "cat", "dog", false, {{3, 6}, {10, 13}}},
        // The second "-a" counts as a whole word only after the first has
        // been replaced by "-".
        {"-a-a", "-a", "-", true, {{0, 2}, {2, 4}}},
        {"-a-a", "-a", "-x", true, {{0, 2}}},
        {"xx", "cat", "dog", false, {}},
        // Letter case folded across byte lengths: the Kelvin sign is three
        // bytes, "k" one.
        {"\u00E9 CAT \u212A k\r\nk", "k", "-", false, {{7, 10}, {11, 12}, {14, 15}}},
    };
    for (const Example &e : examples) {
        const auto plan = engine::PlanReplaceAll(e.text.toUtf8(), e.replace, e.find, false, e.wholeWord);
        EXPECT_EQ(plan.ranges, e.ranges) << e.text.toStdString();
        EXPECT_EQ(plan.count(), e.ranges.size());
    }
}

} // namespace
