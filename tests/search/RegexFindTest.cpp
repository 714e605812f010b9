// Regular expressions and "In selection" against the in-memory edit
// control: an expression without special characters finds what the plain
// search finds; captures; empty matches; invalid expressions; the "\r\n"
// between lines; a search kept inside a range.
#include "search/SearchWithOptions.h"
#include "support/EditText.h"

#include "platform/doubles/FakeEditControl.h"
#include "platform/doubles/FakeMessageBox.h"
#include "search/FindAgain.h"
#include "search/FindReplaceCommands.h"
#include "search/modFindReplaceRichText.h"

#include <gtest/gtest.h>

#include <random>

using namespace zuno;
namespace engine = zuno::modFindReplaceRichText;

namespace {

SearchRequest expression(const QString &pattern, bool matchCase = false, bool wholeWord = false)
{
    return {pattern, matchCase, wholeWord, true, std::nullopt};
}

// Every selection successive Find Next calls make from the start, as
// (start, length).
template <typename Find>
QList<std::pair<qint64, qint64>> successiveFinds(FakeEditControl &editor, Find find)
{
    QList<std::pair<qint64, qint64>> found;
    editor.setSelStart(0);
    while (find() && found.size() <= editor.textLength() + 1)
        found.append({editor.selStart(), editor.selLength()});
    return found;
}

TEST(RegexFindTest, AnExpressionWithoutSpecialCharactersFindsWhatThePlainSearchFinds)
{
    // Texts and needles from a small alphabet, so that occurrences are
    // frequent: letters in both cases, a letter beyond ASCII, one beyond the
    // Basic Multilingual Plane, digits, blanks, "\r\n" and lone breaks.
    const QStringList pieces = {"a", "A", "b", "\u00e9", "\u00c9", "\U0001F600", "1", " ", ":", ",",
                                "\r\n", "\r\n", "\n", "\r", "ab", "_"};
    const QStringList needlePieces = {"a", "A", "b", "\u00e9", "1", " ", ":", ",", "ab", "_"};
    std::mt19937 rng(36);
    auto pick = [&](const QStringList &from) { return from[int(rng() % from.size())]; };
    for (int round = 0; round < 400; ++round) {
        QString text;
        for (int i = int(rng() % 40); i > 0; --i)
            text += pick(pieces);
        QString needle;
        for (int i = 1 + int(rng() % 3); i > 0; --i)
            needle += pick(needlePieces);
        const bool matchCase = rng() % 2;
        const bool wholeWord = rng() % 2;
        SCOPED_TRACE(testing::Message() << "text " << text.toStdString() << " needle " << needle.toStdString()
                                        << " case " << matchCase << " word " << wholeWord);

        FakeEditControl plain(text);
        FakeEditControl regex(text);
        const auto plainFinds = successiveFinds(
            plain, [&] { return engine::FindNext(plain, needle, matchCase, wholeWord); });
        const auto regexFinds = successiveFinds(regex, [&] {
            const SearchOutcome outcome = FindNextWith(regex, expression(needle, matchCase, wholeWord));
            return outcome.ok() && outcome.value();
        });
        EXPECT_EQ(regexFinds, plainFinds);

        if (!wholeWord) {
            const qint64 plainCount = engine::ReplaceAll(plain, QStringLiteral("<>"), needle, matchCase, false);
            const auto regexCount = ReplaceAllWith(regex, QStringLiteral("<>"), expression(needle, matchCase));
            ASSERT_TRUE(regexCount.ok());
            EXPECT_EQ(regexCount.value().count, plainCount);
            EXPECT_EQ(test::textOf(regex), test::textOf(plain));
        }
    }
}

TEST(RegexFindTest, ReplaceAllPutsTheCapturesInTheReplacement)
{
    const struct {
        const char *pattern;
        const char *replacement;
        const char *text;
        const char *result;
        qint64 count;
    } cases[] = {
        // Renumbering a run of points.
        {"PL:1(\\d+)", "PL:2\\1", "PL:1001,1002\r\nPL:1003\r\nOF:1004", "PL:2001,1002\r\nPL:2003\r\nOF:1004", 2},
        {"(\\w+):(-\\d+)", "\\2:\\1", "OF:-5\r\nOF:7", "-5:OF\r\nOF:7", 1},
        {"a(b)?", "[\\1|\\0]", "ab a", "[b|ab] [|a]", 2},
        {"x", "\\\\\\9\\q", "x", "\\\\q", 1},
        {"; ", "\\r\\n", "A; B", "A\r\nB", 1},
        {"(\\w+)", "<\\1>", "CAF\u00c9 1\u0663", "<CAF\u00c9> <1\u0663>", 2}, // letters and digits beyond ASCII
        {"\u00e9+", "<\\0>", "\u00e9\u00e9 \U0001F600\u00e9", "<\u00e9\u00e9> \U0001F600<\u00e9>", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pattern);
        FakeEditControl editor(QString::fromUtf8(c.text));
        editor.setSelStart(1);
        const auto outcome = ReplaceAllWith(editor, QString::fromUtf8(c.replacement),
                                            expression(QString::fromUtf8(c.pattern), true));
        ASSERT_TRUE(outcome.ok());
        EXPECT_EQ(test::textOf(editor), QString::fromUtf8(c.result));
        EXPECT_EQ(outcome.value().count, c.count);
        EXPECT_EQ(outcome.value().lengthChange, QString::fromUtf8(c.result).size() - QString::fromUtf8(c.text).size());
        EXPECT_EQ(editor.selStart(), 1) << "the caret goes back where it was";
        EXPECT_EQ(editor.undoStack.size(), 1) << "one undo step";
    }
}

TEST(RegexFindTest, ReplaceReplacesTheSelectedMatchWithItsCapturesThenFindsTheNext)
{
    FakeEditControl editor(QStringLiteral("PL:1001\r\nPL:1002"));
    const SearchRequest request = expression(QStringLiteral("PL:1(\\d+)"));
    auto outcome = ReplaceOneWith(editor, QStringLiteral("PL:2\\1"), request);
    ASSERT_TRUE(outcome.ok());
    EXPECT_TRUE(outcome.value().found);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PL:1001\r\nPL:1002")) << "the first press only finds";
    outcome = ReplaceOneWith(editor, QStringLiteral("PL:2\\1"), request);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PL:2001\r\nPL:1002"));
    EXPECT_EQ(editor.selStart(), 9);
    EXPECT_EQ(editor.selLength(), 7);
    outcome = ReplaceOneWith(editor, QStringLiteral("PL:2\\1"), request);
    EXPECT_FALSE(outcome.value().found);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PL:2001\r\nPL:2002"));
}

TEST(RegexFindTest, EmptyMatchesMoveOnSoThatEverySearchEnds)
{
    const struct {
        const char *pattern;
        const char *text;
        const char *result;
    } cases[] = {
        {"x*", "abc", "-a-b-c-"},
        {"x*", "xxa", "-a-"},
        {"^", "AB\r\nCD\r\n", "-AB\r\n-CD\r\n"}, // no line after the last break
        {"$", "AB\r\nCD", "AB-\r\nCD-"},
        {"\\b", "A B", "-A- -B-"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pattern);
        FakeEditControl editor(QString::fromUtf8(c.text));
        ASSERT_TRUE(ReplaceAllWith(editor, QStringLiteral("-"), expression(QString::fromUtf8(c.pattern))).ok());
        EXPECT_EQ(test::textOf(editor), QString::fromUtf8(c.result));

        // Find Next never stands still on an empty match.
        FakeEditControl finder(QString::fromUtf8(c.text));
        qint64 last = -1;
        int finds = 0;
        for (; finds < 20; ++finds) {
            const SearchOutcome found = FindNextWith(finder, expression(QString::fromUtf8(c.pattern)));
            if (!found.value())
                break;
            EXPECT_GT(finder.selStart(), last);
            last = finder.selStart();
        }
        EXPECT_LT(finds, 20);
    }
}

TEST(RegexFindTest, AMatchNeverRunsOverTheLineBreakUnlessTheExpressionNamesIt)
{
    const struct {
        const char *pattern;
        const char *text;
        const char *result;
    } cases[] = {
        {"\\s+", "A \r\n B", "A_\r\n_B"},
        {".+", "AB\r\nC\nD\rE", "_\r\n_"},   // a lone "\n" or "\r" is a character of its line
        {"[^X]+", "AB\r\nCD", "_\r\n_"},
        {"B$", "AB\r\nCB", "A_\r\nC_"},
        {"\\r\\n", "AB\r\nCD\r\n", "AB_CD_"},
        {"B\\r\\nC", "AB\r\nCD", "A_D"},
        {"\\n", "A\nB\r\nC", "A_B\r\nC"},     // only the lone one: "\r\n" is not cut
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pattern);
        FakeEditControl editor(QString::fromUtf8(c.text));
        ASSERT_TRUE(ReplaceAllWith(editor, QStringLiteral("_"), expression(QString::fromUtf8(c.pattern))).ok());
        EXPECT_EQ(test::textOf(editor), QString::fromUtf8(c.result));
    }
    // One that names the line break looks back over it from the caret.
    FakeEditControl editor(QStringLiteral("AB\r\nCD"));
    editor.setSelStart(4);
    ASSERT_TRUE(FindNextWith(editor, expression(QStringLiteral("(?<=\\r\\n)C"))).value());
    EXPECT_EQ(editor.selStart(), 4);
}

TEST(RegexFindTest, CaseFollowsMatchCaseAndWholeWordHoldsForExpressions)
{
    FakeEditControl editor(QStringLiteral("cat Cat concat CAT2 CAT"));
    EXPECT_EQ(ReplaceAllWith(editor, QStringLiteral("x"), expression(QStringLiteral("c.t"), true)).value().count, 2);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("x Cat conx CAT2 CAT"));
    EXPECT_EQ(
        ReplaceAllWith(editor, QStringLiteral("y"), expression(QStringLiteral("ca."), false, true)).value().count, 2);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("x y conx CAT2 y"));
}

TEST(RegexFindTest, AnInvalidExpressionSaysWhereAndSearchesNothing)
{
    auto editor = std::make_shared<FakeEditControl>(QStringLiteral("(ABC"));
    engine::SetTarget(editor);
    editor->setSelStart(1);
    FakeMessageBox messages;
    FindReplaceValues values;
    values.iFRType = FRTypeRichText;
    values.findText = QStringLiteral("(AB");
    values.replaceText = QStringLiteral("X");
    values.regex = true;
    FindNextCommand(values, messages);
    ReplaceCommand(values, messages);
    ReplaceAllCommand([&] { return values; }, messages);
    ASSERT_EQ(messages.shown.size(), 3) << "no report and no not-found message besides";
    for (const ShownMessage &shown : messages.shown) {
        EXPECT_EQ(shown.title, QStringLiteral("Invalid Regular Expression"));
        EXPECT_EQ(shown.icon, MessageIcon::Warning);
        EXPECT_TRUE(shown.text.contains(QStringLiteral("position 4"))) << shown.text.toStdString();
        EXPECT_TRUE(shown.text.contains(QStringLiteral("parenthesis"))) << shown.text.toStdString();
    }
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("(ABC"));
    EXPECT_EQ(editor->selStart(), 1);
    EXPECT_EQ(editor->changeCount, 0);
    engine::ClearTarget();
    forgetSearch();
}

TEST(RegexFindTest, InSelectionFindsAndReplacesOnlyInsideTheRangeAsItGrows)
{
    // Lines 2 and 3 of four are the range.
    const QString text = QStringLiteral("PL:1\r\nPL:2\r\nPL:3\r\nPL:4");
    for (const bool regex : {false, true}) {
        SCOPED_TRACE(regex ? "expression" : "plain");
        FakeEditControl editor(text);
        SearchRequest request{regex ? QStringLiteral("P.") : QStringLiteral("PL"), true, false, regex,
                              OffsetRange{6, 16}};
        const auto all = ReplaceAllWith(editor, QStringLiteral("POINT"), request);
        ASSERT_TRUE(all.ok());
        EXPECT_EQ(all.value().count, 2);
        EXPECT_EQ(all.value().lengthChange, 6);
        EXPECT_EQ(test::textOf(editor), QStringLiteral("PL:1\r\nPOINT:2\r\nPOINT:3\r\nPL:4"));
        EXPECT_EQ(editor.selStart(), 6) << "the range, grown, stays selected";
        EXPECT_EQ(editor.selLength(), 16);

        // One at a time, the range growing with each replacement.
        FakeEditControl stepwise(text);
        stepwise.setSelStart(0);
        for (int press = 0; press < 3; ++press) {
            const auto one = ReplaceOneWith(stepwise, QStringLiteral("POINT"), request);
            ASSERT_TRUE(one.ok());
            request.scope->to += one.value().lengthChange;
            EXPECT_EQ(one.value().found, press < 2) << press;
        }
        EXPECT_EQ(test::textOf(stepwise), QStringLiteral("PL:1\r\nPOINT:2\r\nPOINT:3\r\nPL:4"));
        EXPECT_EQ(request.scope->to, 22);
    }
}

TEST(RegexFindTest, InSelectionTheTextBesideTheRangeDecidesWordsAndLineEnds)
{
    // The range cuts a line or ends after a line break: what lies beside it
    // is still seen, and a match must end inside it.
    const struct {
        const char *find;
        bool regex;
        bool wholeWord;
        const char *text;
        OffsetRange range;
        const char *result;
    } cases[] = {
        {"cat", false, true, "concat cat", {3, 10}, "concat _"},
        {"con", false, true, "concat con", {0, 3}, "concat con"},
        {"cat", true, true, "concat cat", {3, 10}, "concat _"},
        {"^a", true, false, "abc abc", {4, 7}, "abc abc"},
        {"c$", true, false, "abc abc", {0, 3}, "abc abc"},
        {"\\d+", true, false, "12 345", {0, 5}, "_ 345"},
        // Lines 1 and 2 selected whole: each gets its end, the third none.
        {"$", true, false, "A\r\nB\r\nC", {0, 6}, "A_\r\nB_\r\nC"},
        {"^", true, false, "A\r\nB\r\nC", {0, 6}, "_A\r\n_B\r\nC"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.find << " in " << c.text);
        FakeEditControl editor(QString::fromUtf8(c.text));
        const SearchRequest request{QString::fromUtf8(c.find), false, c.wholeWord, c.regex, c.range};
        ASSERT_TRUE(ReplaceAllWith(editor, QStringLiteral("_"), request).ok());
        EXPECT_EQ(test::textOf(editor), QString::fromUtf8(c.result));
    }
}

TEST(RegexFindTest, TheRangeIsTheUsersSelectionNotTheOccurrencesTheSearchesSelect)
{
    FakeEditControl editor(QStringLiteral("AB AB\r\nAB AB\r\nAB"));
    SearchScope scope;
    editor.setSelStart(3);
    editor.setSelLength(8); // "AB\r\nAB A"
    scope.take(editor);
    const auto find = [&] {
        const SearchRequest request{QStringLiteral("AB"), false, false, false, scope.resolve(editor)};
        const bool found = FindNextWith(editor, request).value();
        scope.searched(editor);
        return found;
    };
    editor.setSelStart(3);
    EXPECT_TRUE(find());
    EXPECT_EQ(editor.selStart(), 3);
    EXPECT_TRUE(find());
    EXPECT_EQ(editor.selStart(), 7);
    EXPECT_FALSE(find()) << "the AB at 10 ends beyond the range";
    EXPECT_EQ(editor.selStart(), 7);
    // A new selection by the user is the new range.
    editor.setSelStart(0);
    editor.setSelLength(2);
    EXPECT_EQ(scope.resolve(editor), (OffsetRange{0, 2}));
}

TEST(RegexFindTest, FindAgainRepeatsAnExpressionBothWays)
{
    FakeEditControl editor(QStringLiteral("OF:-1\r\nOF:2\r\nOF:-3"));
    FakeMessageBox messages;
    rememberSearch({QStringLiteral("OF:-\\d"), false, false, true});
    ASSERT_TRUE(FindAgain(editor, SearchDirection::Forward, messages));
    EXPECT_EQ(editor.selText(), QStringLiteral("OF:-1"));
    ASSERT_TRUE(FindAgain(editor, SearchDirection::Forward, messages));
    EXPECT_EQ(editor.selStart(), 13);
    ASSERT_TRUE(FindAgain(editor, SearchDirection::Backward, messages));
    EXPECT_EQ(editor.selStart(), 0);
    EXPECT_TRUE(messages.shown.isEmpty());
    forgetSearch();
}

TEST(RegexFindTest, FindingBackwardsSeesTheWholeLineAtTheCaret)
{
    // Only a match that ends at or before the caret counts, judged on the
    // whole line: never "B$" mid-line, never part of a number.
    const struct {
        const char *pattern;
        const char *text;
        qint64 caret;
        qint64 found;
        qint64 length;
    } cases[] = {
        {"B$", "AB AB\r\nX", 2, -1, 0},
        {"\\d+", "x 123", 4, -1, 0},
        {"\\d+", "7 123", 4, 0, 1},
        {"B$", "AB\r\nAB AB", 8, 1, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.pattern << " in " << c.text);
        FakeEditControl editor(QString::fromUtf8(c.text));
        editor.setSelStart(c.caret);
        const auto at = FindPreviousWith(editor, expression(QString::fromUtf8(c.pattern)), c.caret);
        ASSERT_TRUE(at.ok());
        EXPECT_EQ(at.value(), c.found);
        EXPECT_EQ(editor.selStart(), c.found < 0 ? c.caret : c.found);
        EXPECT_EQ(editor.selLength(), c.length);
    }
}

} // namespace
