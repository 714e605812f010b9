// F3 and Shift+F3: the last Find Next repeated without a dialog.
#include "search/FindAgain.h"

#include "platform/doubles/FakeEditControl.h"
#include "platform/doubles/FakeMessageBox.h"
#include "search/FindReplaceCommands.h"
#include "search/modFindReplaceRichText.h"

#include <gtest/gtest.h>

using namespace zuno;

namespace {

class FindAgainTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        forgetSearch();
        modFindReplaceRichText::ClearTarget();
    }
    FakeMessageBox messages;
};

TEST_F(FindAgainTest, RepeatsTheDialogsLastFindNextBothWays)
{
    auto editor = std::make_shared<FakeEditControl>(QStringLiteral("ac:1\r\nAC:2\r\nXAC:3\r\nAC:4"));
    modFindReplaceRichText::SetTarget(editor);
    FindReplaceValues values;
    values.iFRType = FRTypeRichText;
    values.findText = QStringLiteral("AC");
    values.matchCase = true;
    values.wholeWord = true;
    FindNextCommand(values, messages);
    EXPECT_EQ(editor->selStart(), 6);

    // Same text and options: "XAC" is no whole word, "ac" has the wrong case.
    ASSERT_TRUE(FindAgain(*editor, SearchDirection::Forward, messages));
    EXPECT_EQ(editor->selStart(), 19);
    EXPECT_EQ(editor->selLength(), 2);
    ASSERT_TRUE(FindAgain(*editor, SearchDirection::Backward, messages));
    EXPECT_EQ(editor->selStart(), 6);
    EXPECT_TRUE(messages.shown.isEmpty());

    ASSERT_TRUE(FindAgain(*editor, SearchDirection::Backward, messages));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Search String Not Found."));
    EXPECT_EQ(editor->selStart(), 6) << "the selection stays where it was";
}

TEST_F(FindAgainTest, BackwardsCountsOffsetsPastWideCharactersAndLongTexts)
{
    // Characters of two and four UTF-8 bytes before the occurrences, and
    // more than one stretch of lines read backwards.
    QString text = QStringLiteral("XX:\u00e9\U0001F600 PL\r\n");
    const qint64 first = text.indexOf(QStringLiteral("PL"));
    const QString filler = QStringLiteral("AC:1234567890\r\n");
    while (text.size() < 1'500'000)
        text += filler;
    text += QStringLiteral("XX:\u00e9 PL end");
    const qint64 last = text.lastIndexOf(QStringLiteral("PL"));
    FakeEditControl editor(text);

    const LastSearch search{QStringLiteral("pl"), false, true};
    EXPECT_EQ(findPrevious(editor, search, text.size()), last);
    EXPECT_EQ(editor.selStart(), last);
    EXPECT_EQ(findPrevious(editor, search, last), first);
    EXPECT_EQ(editor.selText(), QStringLiteral("PL"));
    EXPECT_EQ(findPrevious(editor, search, first + 1), -1) << "an occurrence must end before the start";
}

// A text that begins with a byte-order mark: the mark is a character of the
// text, and the backward search finds what the forward one finds, at the
// same offset, on a line of its own or across a line break.
TEST_F(FindAgainTest, BackwardsAgreesWithForwardsOnATextThatBeginsWithAByteOrderMark)
{
    const QString text = QChar(0xFEFF) + QStringLiteral("AC:1\r\nAC:2 AC");
    for (const QString &wanted : {QStringLiteral("AC"), QStringLiteral("1\r\nAC")}) {
        FakeEditControl editor(text);
        const qint64 forward = editor.find(wanted, 0, {});
        ASSERT_EQ(forward, text.indexOf(wanted));
        const LastSearch search{wanted, true, false};
        EXPECT_EQ(findPrevious(editor, search, forward + wanted.size()), forward) << wanted.toStdString();
        EXPECT_EQ(editor.selText(), wanted);
    }
}

} // namespace
