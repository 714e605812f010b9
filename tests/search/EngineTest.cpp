// The find/replace engine against the in-memory edit control.
#include "search/modFindReplaceRichText.h"
#include "support/EditText.h"

#include "platform/doubles/FakeEditControl.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zuno;
namespace engine = zuno::modFindReplaceRichText;

namespace {

// Records the option value of every find call.
class RecordingEditControl : public FakeEditControl {
public:
    using FakeEditControl::FakeEditControl;
    qint64 find(const QString &text, qint64 start, FindOptions options) override
    {
        calls.append({text, start, options});
        return FakeEditControl::find(text, start, options);
    }
    struct Call {
        QString text;
        qint64 start;
        FindOptions options;
    };
    QList<Call> calls;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { use(QString()); }
    void TearDown() override { engine::ClearTarget(); }

    void use(const QString &text)
    {
        editor = std::make_shared<RecordingEditControl>(text);
        engine::SetTarget(editor);
    }
    void select(qint64 start, qint64 length)
    {
        editor->setSelStart(start);
        editor->setSelLength(length);
    }

    std::shared_ptr<RecordingEditControl> editor;
};

#define EXPECT_SELECTION(start, length)                                                            \
    do {                                                                                           \
        EXPECT_EQ(editor->selStart(), (start));                                                    \
        EXPECT_EQ(editor->selLength(), (length));                                                  \
    } while (false)

// --- FindNext -------------------------------------------------------------

TEST_F(EngineTest, FindNextStartsAtTheCaretOrJustAfterTheSelection)
{
    use("XX CAT");
    select(3, 0);
    EXPECT_TRUE(engine::FindNext("CAT", false, false)); // begins exactly at the caret
    EXPECT_SELECTION(3, 3);
    EXPECT_EQ(editor->focusCount, 1);

    // banana with "ana" selected at 1: the next candidate begins inside the
    // selection, so the search from 4 finds nothing and changes nothing.
    use("banana");
    select(1, 3);
    EXPECT_FALSE(engine::FindNext("ana", false, false));
    EXPECT_SELECTION(1, 3);
    EXPECT_EQ(editor->calls.last().start, 4);
    EXPECT_EQ(editor->focusCount, 0);

    // aaaa: no overlaps; after the last occurrence the selection stays.
    use("aaaa");
    EXPECT_TRUE(engine::FindNext("aa", false, false));
    EXPECT_SELECTION(0, 2);
    EXPECT_TRUE(engine::FindNext("aa", false, false));
    EXPECT_SELECTION(2, 2);
    EXPECT_FALSE(engine::FindNext("aa", false, false));
    EXPECT_SELECTION(2, 2);

    // Offsets count each line break as two characters.
    use("PL:1\r\nCAT\r\nCAT");
    EXPECT_TRUE(engine::FindNext("cat", false, false));
    EXPECT_SELECTION(6, 3);
    EXPECT_TRUE(engine::FindNext("cat", false, false));
    EXPECT_SELECTION(11, 3);
}

TEST_F(EngineTest, FindNextOptions)
{
    use("cat");
    engine::FindNext("cat", false, false);
    engine::FindNext("cat", false, true);
    engine::FindNext("cat", true, false);
    engine::FindNext("cat", true, true);
    ASSERT_EQ(editor->calls.size(), 4);
    EXPECT_EQ(editor->calls[0].options, FindOptions());
    EXPECT_EQ(editor->calls[1].options, FindOption::WholeWord);
    EXPECT_EQ(editor->calls[2].options, FindOption::MatchCase);
    EXPECT_EQ(editor->calls[3].options, FindOption::WholeWord | FindOption::MatchCase);

    use("concat cat"); // whole word skips the cat inside concat
    EXPECT_TRUE(engine::FindNext("cat", false, true));
    EXPECT_SELECTION(7, 3);
    select(0, 0);
    EXPECT_TRUE(engine::FindNext("cat", false, false));
    EXPECT_SELECTION(3, 3);

    use("Cat");
    EXPECT_FALSE(engine::FindNext("cat", true, false));
    EXPECT_SELECTION(0, 0);
    EXPECT_TRUE(engine::FindNext("cat", false, false));
    EXPECT_SELECTION(0, 3);

    // A letter outside the Basic Multilingual Plane (two UTF-16 units)
    // continues a word; an emoji does not.
    const QString boldA = QString::fromUtf8("\xF0\x9D\x90\x80");
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    use(boldA + "cat " + emoji + "cat" + boldA + " " + emoji + "cat" + emoji);
    EXPECT_TRUE(engine::FindNext("cat", false, true));
    EXPECT_EQ(editor->selStart(), 16); // the third: between two non-letters
}

TEST_F(EngineTest, AnEmptyFindTextFindsNothingAndChangesNothing)
{
    use("abc");
    select(1, 0);
    EXPECT_FALSE(engine::FindNext("", false, false));
    EXPECT_FALSE(engine::ReplaceOne("X", "", false, false));
    EXPECT_EQ(engine::ReplaceAll("X", "", false, false), 0);
    EXPECT_EQ(test::textOf(*editor), "abc");
    EXPECT_SELECTION(1, 0);
    EXPECT_FALSE(editor->isModified());
    EXPECT_EQ(editor->focusCount, 0);
}

// --- ReplaceOne -----------------------------------------------------------

TEST_F(EngineTest, ReplaceSelectsFirstThenReplacesEachSelectedOccurrence)
{
    use("cat hat cat");
    EXPECT_TRUE(engine::ReplaceOne("dog", "cat", false, false)); // only selects
    EXPECT_EQ(test::textOf(*editor), "cat hat cat");
    EXPECT_SELECTION(0, 3);
    EXPECT_FALSE(editor->isModified());

    EXPECT_TRUE(engine::ReplaceOne("dog", "cat", false, false));
    EXPECT_EQ(test::textOf(*editor), "dog hat cat");
    EXPECT_SELECTION(8, 3);
    EXPECT_TRUE(editor->isModified());

    // The last one is replaced, then nothing is found; the caret stands
    // after the inserted text.
    EXPECT_FALSE(engine::ReplaceOne("mouse", "cat", false, false));
    EXPECT_EQ(test::textOf(*editor), "dog hat mouse");
    EXPECT_SELECTION(13, 0);

    use("a-cat-b"); // an empty replacement deletes
    select(2, 3);
    EXPECT_FALSE(engine::ReplaceOne("", "cat", false, false));
    EXPECT_EQ(test::textOf(*editor), "a--b");
    EXPECT_SELECTION(2, 0);
}

TEST_F(EngineTest, WhichSelectionsReplaceReplaces)
{
    use("Cat cat"); // match case: other case is left and passed over
    select(0, 3);
    EXPECT_TRUE(engine::ReplaceOne("dog", "cat", true, false));
    EXPECT_EQ(test::textOf(*editor), "Cat cat");
    EXPECT_SELECTION(4, 3);

    use("Cat cat"); // no match case: other case is an occurrence
    select(0, 3);
    EXPECT_TRUE(engine::ReplaceOne("dog", "cat", false, false));
    EXPECT_EQ(test::textOf(*editor), "dog cat");

    use("concat"); // selected by hand: replaced even inside a word
    select(3, 3);
    EXPECT_FALSE(engine::ReplaceOne("dog", "cat", false, true));
    EXPECT_EQ(test::textOf(*editor), "condog");

    use("cats cat"); // a selection that is not the find text stays
    select(0, 4);
    EXPECT_TRUE(engine::ReplaceOne("dog", "cat", false, false));
    EXPECT_EQ(test::textOf(*editor), "cats cat");
    EXPECT_SELECTION(5, 3);
}

// --- ReplaceAll -----------------------------------------------------------

TEST_F(EngineTest, ReplaceAllTextsAndCounts)
{
    struct Case {
        QString text, find, replace;
        bool matchCase, wholeWord;
        QString expected;
        qint64 count;
    };
    const Case cases[] = {
        {"cat hat cat", "cat", "dog", false, false, "dog hat dog", 2},
        {"Cat cat", "cat", "dog", true, false, "Cat dog", 1},
        {"Cat cat", "cat", "dog", false, false, "dog dog", 2},
        // A replacement that contains the find text: one sweep.
        {"aaa", "a", "aa", false, false, "aaaaaa", 3},
        {"cat concat cat_1 cat.", "cat", "dog", false, true, "dog concat cat_1 dog.", 2},
        // After "-a" at 0 becomes "-", the second "-a" follows a "-" and so
        // stands as a whole word, as when replaced one after the other.
        {"-a-a", "-a", "-", false, true, "--", 2},
        {"A\r\nB\r\nC", "\r\n", " ", false, false, "A B C", 2},
        // Half a line break is never an occurrence.
        {"A\r\nB", "\n", "-", false, false, "A\r\nB", 0},
        {"A\r\nB", "\r", "-", false, false, "A\r\nB", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + c.find.toStdString());
        use(c.text);
        EXPECT_EQ(engine::ReplaceAll(c.replace, c.find, c.matchCase, c.wholeWord), c.count);
        EXPECT_EQ(test::textOf(*editor), c.expected);
        EXPECT_EQ(editor->isModified(), c.count > 0);
        EXPECT_EQ(editor->focusCount > 0, c.count > 0);
    }
}

TEST_F(EngineTest, ReplaceAllPutsTheCaretBackAtTheRememberedStart)
{
    use("cat hat cat"); // nothing matches: only the caret moves
    select(4, 3);
    EXPECT_EQ(engine::ReplaceAll("x", "dog", false, false), 0);
    EXPECT_EQ(test::textOf(*editor), "cat hat cat");
    EXPECT_SELECTION(4, 0);
    EXPECT_TRUE(editor->undoStack.isEmpty());

    use("cat hat cat"); // the whole text, whatever the selection
    select(8, 3);
    EXPECT_EQ(engine::ReplaceAll("dog", "cat", false, false), 2);
    EXPECT_EQ(test::textOf(*editor), "dog hat dog");
    EXPECT_SELECTION(8, 0);

    use("cat cat cat cat"); // beyond the end of a shortened text: the end
    select(14, 0);
    EXPECT_EQ(engine::ReplaceAll("", "cat", false, false), 4);
    EXPECT_EQ(test::textOf(*editor), "   ");
    EXPECT_SELECTION(3, 0);
}

TEST_F(EngineTest, HalfACharacterIsNeverFound)
{
    const QString letter = QString::fromUtf8("\xF0\x9D\x90\x80"); // beyond the BMP: a surrogate pair
    use(QStringLiteral("_") + letter);
    EXPECT_FALSE(engine::FindNext(QStringLiteral("_") + letter.front(), true, false));
    EXPECT_FALSE(engine::FindNext(QString(letter.back()), true, false));
    EXPECT_TRUE(engine::FindNext(QStringLiteral("_") + letter, true, false));
}

TEST_F(EngineTest, OnlyWhatIsFoundIsEverSelected)
{
    // X11 copies every selection made: Find selects the occurrence alone,
    // Replace All selects nothing at all.
    use("cat hat cat\r\ncat");
    select(2, 0);
    ASSERT_TRUE(engine::FindNext("hat", false, false));
    EXPECT_EQ(editor->selectionsMade, (QList<std::pair<qint64, qint64>>{{4, 3}}));
    editor->selectionsMade.clear();
    EXPECT_EQ(engine::ReplaceAll("dog", "cat", false, false), 3);
    EXPECT_TRUE(editor->selectionsMade.isEmpty());
}

TEST_F(EngineTest, ReplaceAllIsOneUndoableEdit)
{
    use("cat hat cat\r\ncat");
    const int changesBefore = editor->changeCount;
    EXPECT_EQ(engine::ReplaceAll("dog", "cat", false, false), 3);
    EXPECT_EQ(editor->undoStack.size(), 1);
    EXPECT_EQ(editor->changeCount, changesBefore + 1);
    editor->undo();
    EXPECT_EQ(test::textOf(*editor), "cat hat cat\r\ncat");
}

TEST_F(EngineTest, ReplaceAllCountsFarBeyondSixteenBits)
{
    const int occurrences = 32767 + 100;
    use(QString("x").repeated(occurrences));
    EXPECT_EQ(engine::ReplaceAll("y", "x", false, false), occurrences);
    EXPECT_EQ(test::textOf(*editor), QString("y").repeated(occurrences));
}

// --- The target -----------------------------------------------------------

TEST_F(EngineTest, TheEngineNeverActsOnATargetThatIsGone)
{
    engine::ClearTarget();
    EXPECT_EQ(engine::Target(), nullptr);
    EXPECT_FALSE(engine::FindNext("a", false, false));
    EXPECT_FALSE(engine::ReplaceOne("b", "a", false, false));
    EXPECT_EQ(engine::ReplaceAll("b", "a", false, false), 0);

    use("cat");
    std::weak_ptr<RecordingEditControl> watcher = editor;
    editor.reset();
    EXPECT_TRUE(watcher.expired());
    EXPECT_EQ(engine::Target(), nullptr);
    EXPECT_FALSE(engine::FindNext("cat", false, false));

    // A control that can be neither watched nor shared is not taken.
    FakeEditControl plain("cat");
    EXPECT_FALSE(engine::SetTarget(plain));
    EXPECT_EQ(engine::Target(), nullptr);
}

TEST_F(EngineTest, EverySetTargetReplacesTheOneBefore)
{
    use("first cat");
    auto first = editor;
    use("second cat");
    EXPECT_EQ(engine::Target(), editor.get());
    EXPECT_TRUE(engine::FindNext("cat", false, false));
    EXPECT_TRUE(first->calls.isEmpty());
    EXPECT_EQ(editor->selStart(), 7);
}

} // namespace
