// The commands behind the dialog's buttons: what they do to the editor and
// which messages they show.
#include "search/FindReplaceCommands.h"
#include "support/EditText.h"

#include "platform/doubles/FakeEditControl.h"
#include "platform/doubles/FakeMessageBox.h"
#include "search/modFindReplaceRichText.h"

#include <gtest/gtest.h>

using namespace zuno;
namespace engine = zuno::modFindReplaceRichText;

namespace {

class FindReplaceCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor = std::make_shared<FakeEditControl>(QStringLiteral("cat hat cat"));
        engine::SetTarget(editor);
    }
    void TearDown() override { engine::ClearTarget(); }

    static FindReplaceValues values(const QString &find, const QString &replace = QString(),
                                    qint32 type = FRTypeRichText)
    {
        FindReplaceValues v;
        v.iFRType = type;
        v.findText = find;
        v.replaceText = replace;
        return v;
    }

    void expectOnlyMessage(const QString &text)
    {
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown[0].text, text);
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("ZUNOPad"));
    }

    std::shared_ptr<FakeEditControl> editor;
    FakeMessageBox messages;
};

TEST_F(FindReplaceCommandsTest, FindNextShowsNothingWhenItFindsAndReportsWhenItDoesNot)
{
    FindNextCommand(values("cat"), messages);
    FindNextCommand(values("cat"), messages);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(editor->selStart(), 8);
    FindNextCommand(values("cat"), messages);
    expectOnlyMessage("Search String Not Found.");
    EXPECT_EQ(editor->selStart(), 8);
    EXPECT_EQ(editor->selLength(), 3);
}

TEST_F(FindReplaceCommandsTest, ReplaceReportsNotFoundAfterReplacingTheLastOccurrence)
{
    ReplaceCommand(values("cat", "dog"), messages); // selects the first
    ReplaceCommand(values("cat", "dog"), messages); // replaces it, selects the second
    EXPECT_TRUE(messages.shown.isEmpty());
    ReplaceCommand(values("cat", "dog"), messages); // replaces the second
    expectOnlyMessage("Search String Not Found.");
    EXPECT_EQ(test::textOf(*editor), "dog hat dog");
}

TEST_F(FindReplaceCommandsTest, ReplaceAllReportsTheCount)
{
    ReplaceAllCommand([] { return values("cat", "dog"); }, messages);
    expectOnlyMessage("Replaced 'cat' with 'dog' 2 time(s).");
    EXPECT_EQ(test::textOf(*editor), "dog hat dog");
}

TEST_F(FindReplaceCommandsTest, ReplaceAllReportsZeroAndNeverNotFound)
{
    ReplaceAllCommand([] { return values("cow", "dog"); }, messages);
    ReplaceAllCommand([] { return values("", "dog"); }, messages);
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown[0].text, "Replaced 'cow' with 'dog' 0 time(s).");
    EXPECT_EQ(messages.shown[1].text, "Replaced '' with 'dog' 0 time(s).");
    EXPECT_EQ(test::textOf(*editor), "cat hat cat");
}

TEST_F(FindReplaceCommandsTest, ReplaceAllReadsTheTextsAgainForTheReport)
{
    int reads = 0;
    ReplaceAllCommand(
        [&] {
            ++reads;
            return reads == 1 ? values("cat", "dog") : values("CAT?", "DOG?");
        },
        messages);
    EXPECT_EQ(reads, 2);
    expectOnlyMessage("Replaced 'CAT?' with 'DOG?' 2 time(s).");
    EXPECT_EQ(test::textOf(*editor), "dog hat dog");
}

TEST_F(FindReplaceCommandsTest, OnlyTheRichTextTypeActs)
{
    for (qint32 type : {0, 2, -1}) {
        SCOPED_TRACE(type);
        messages.shown.clear();
        FindNextCommand(values("cat", "dog", type), messages);
        ReplaceCommand(values("cat", "dog", type), messages);
        ReplaceAllCommand([type] { return values("cat", "dog", type); }, messages);
        ASSERT_EQ(messages.shown.size(), 3);
        EXPECT_EQ(messages.shown[0].text, "Search String Not Found.");
        EXPECT_EQ(messages.shown[1].text, "Search String Not Found.");
        EXPECT_EQ(messages.shown[2].text, "Replaced 'cat' with 'dog' 0 time(s).");
        EXPECT_EQ(test::textOf(*editor), "cat hat cat");
        EXPECT_EQ(editor->selLength(), 0);
        EXPECT_EQ(editor->focusCount, 0);
    }
}

TEST_F(FindReplaceCommandsTest, TheReportQuotesTheTextsAsTheyStand)
{
    EXPECT_EQ(ReplaceAllReport("cat", "dog", 2), "Replaced 'cat' with 'dog' 2 time(s).");
    EXPECT_EQ(ReplaceAllReport(" a'b ", "", 0), "Replaced ' a'b ' with '' 0 time(s).");
    EXPECT_EQ(ReplaceAllReport("x", "y", 100000), "Replaced 'x' with 'y' 100000 time(s).");
}

} // namespace
