// Finding and replacing on the real edit control (offscreen): its find
// operation with "\r\n" offsets, word boundaries at line ends and case
// folding, and Replace All as one undoable edit.
#include "platform/qt/EditorWidget.h"
#include "support/EditText.h"
#include "platform/doubles/FakeEditControl.h"
#include "search/modFindReplaceRichText.h"
#include "ReplaceAllStepwise.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace zuno;
namespace engine = zuno::modFindReplaceRichText;

namespace {

class EditorWidgetSearchTest : public ::testing::Test {
protected:
    void SetUp() override { editor = std::make_unique<EditorWidget>(); }
    void TearDown() override { engine::ClearTarget(); }

    void expectSelection(qint64 start, qint64 length, const QString &text)
    {
        EXPECT_EQ(editor->selStart(), start);
        EXPECT_EQ(editor->selLength(), length);
        EXPECT_EQ(editor->selText(), text);
    }

    std::unique_ptr<EditorWidget> editor;
};

TEST_F(EditorWidgetSearchTest, FindCountsLineBreaksAsTwoCharacters)
{
    test::setTextOf(*editor, "AB\r\nCD\r\nXCAT CAT");
    EXPECT_EQ(editor->find("cat", 0, {}), 9);
    expectSelection(9, 3, "CAT");
    EXPECT_EQ(editor->find("cat", 10, {}), 13);
    expectSelection(13, 3, "CAT");
    // From inside a line, and from an offset inside a line break.
    EXPECT_EQ(editor->find("cd", 4, {}), 4);
    EXPECT_EQ(editor->find("x", 7, {}), 8);
}

TEST_F(EditorWidgetSearchTest, FindNeverWrapsAndLeavesTheSelectionWhenItFindsNothing)
{
    test::setTextOf(*editor, "CAT\r\nDOG");
    editor->setSelStart(5);
    editor->setSelLength(2);
    EXPECT_EQ(editor->find("cat", 1, {}), -1);
    EXPECT_EQ(editor->find("dog", 6, {}), -1);
    EXPECT_EQ(editor->find("dog", 100, {}), -1);
    EXPECT_EQ(editor->find("", 0, {}), -1);
    expectSelection(5, 2, "DO");
    // An occurrence that ends at the end of the text is found.
    EXPECT_EQ(editor->find("dog", 5, {}), 5);
}

TEST_F(EditorWidgetSearchTest, WholeWordAtLineEnds)
{
    test::setTextOf(*editor, "XCAT\r\nCAT\r\nCATX\r\nA CAT");
    EXPECT_EQ(editor->find("cat", 0, FindOption::WholeWord), 6);
    EXPECT_EQ(editor->find("cat", 7, FindOption::WholeWord), 19);
    EXPECT_EQ(editor->find("cat", 20, FindOption::WholeWord), -1);
    // Digits and the underscore continue a word; punctuation does not.
    test::setTextOf(*editor, "CAT1 CAT_ _CAT (CAT)");
    EXPECT_EQ(editor->find("cat", 0, FindOption::WholeWord), 16);
}

TEST_F(EditorWidgetSearchTest, CaseFolding)
{
    test::setTextOf(*editor, QString::fromUtf8("ÉCOLE école Ωmega ωMEGA"));
    EXPECT_EQ(editor->find(QString::fromUtf8("école"), 0, {}), 0);
    EXPECT_EQ(editor->find(QString::fromUtf8("école"), 0, FindOption::MatchCase), 6);
    EXPECT_EQ(editor->find(QString::fromUtf8("ωmega"), 0, FindOption::WholeWord), 12);
    EXPECT_EQ(editor->find(QString::fromUtf8("ωmega"), 0, FindOption::MatchCase | FindOption::WholeWord), -1);
    EXPECT_EQ(editor->find(QString::fromUtf8("ωMEGA"), 0, FindOption::MatchCase | FindOption::WholeWord), 18);
}

TEST_F(EditorWidgetSearchTest, ATextThatSpansLinesIsFoundAndSelectedWhole)
{
    test::setTextOf(*editor, "XA\r\nB\r\nA\r\nB");
    EXPECT_EQ(editor->find("a\r\nb", 0, {}), 1);
    expectSelection(1, 4, "A\r\nB");
    EXPECT_EQ(editor->find("a\r\nb", 2, {}), 7);
    // Half a line break is never an occurrence.
    EXPECT_EQ(editor->find("\n", 0, {}), -1);
    EXPECT_EQ(editor->find("A\r", 0, {}), -1);
    EXPECT_EQ(editor->find("\r\n", 0, {}), 2);
}

TEST_F(EditorWidgetSearchTest, FindNextAndReplaceThroughTheEngine)
{
    test::setTextOf(*editor, "PL:1\r\nCAT HAT\r\nCAT");
    engine::SetTarget(*editor);
    EXPECT_TRUE(engine::ReplaceOne("DOG", "cat", false, false));
    expectSelection(6, 3, "CAT");
    EXPECT_TRUE(engine::ReplaceOne("DOG", "cat", false, false));
    EXPECT_EQ(test::textOf(*editor), "PL:1\r\nDOG HAT\r\nCAT");
    expectSelection(15, 3, "CAT");
    EXPECT_FALSE(engine::ReplaceOne("DOG", "cat", false, false));
    EXPECT_EQ(test::textOf(*editor), "PL:1\r\nDOG HAT\r\nDOG");
    expectSelection(18, 0, "");
    EXPECT_TRUE(editor->isModified());
}

TEST_F(EditorWidgetSearchTest, ReplaceAllThenOneUndoRestoresTheText)
{
    const QString original = "CAT HAT\r\nCONCAT CAT\r\nCAT";
    test::setTextOf(*editor, original);
    editor->setModified(false);
    editor->setSelStart(12);
    engine::SetTarget(*editor);

    EXPECT_EQ(engine::ReplaceAll("DOG", "cat", false, true), 3);
    EXPECT_EQ(test::textOf(*editor), "DOG HAT\r\nCONCAT DOG\r\nDOG");
    expectSelection(12, 0, "");
    EXPECT_TRUE(editor->isModified());

    editor->undo();
    EXPECT_EQ(test::textOf(*editor), original);
    EXPECT_FALSE(editor->SendScintilla(QsciScintillaBase::SCI_CANUNDO));
}

TEST_F(EditorWidgetSearchTest, ReplaceAllOfLineBreaksAndIntoLineBreaks)
{
    test::setTextOf(*editor, "A\r\nB\r\nC");
    engine::SetTarget(*editor);
    EXPECT_EQ(engine::ReplaceAll(" ", "\r\n", false, false), 2);
    EXPECT_EQ(test::textOf(*editor), "A B C");
    EXPECT_EQ(engine::ReplaceAll("\r\n", " ", false, false), 2);
    EXPECT_EQ(test::textOf(*editor), "A\r\nB\r\nC");
    EXPECT_EQ(editor->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT), 3);
}

TEST_F(EditorWidgetSearchTest, ReplaceAllPutsTheCaretAtTheEndOfAShortenedText)
{
    test::setTextOf(*editor, "CAT\r\nCAT\r\nCAT");
    editor->setSelStart(13);
    engine::SetTarget(*editor);
    EXPECT_EQ(engine::ReplaceAll("", "cat", false, false), 3);
    EXPECT_EQ(test::textOf(*editor), "\r\n\r\n");
    expectSelection(4, 0, "");
}

TEST_F(EditorWidgetSearchTest, ReplaceAllOnTheRealControlMatchesTheStepwiseLoop)
{
    struct Case {
        QString text, find, replace;
        bool matchCase, wholeWord;
    };
    const Case cases[] = {
        {"CAT HAT CAT", "cat", "dog", false, false},
        {"Cat cat", "cat", "dog", true, false},
        {"AAA", "a", "aa", false, false},
        {"-A-A\r\n-A", "-a", "-", false, true},
        {"X\r\nY\r\nZ", "\r\n", "", false, false},
        {"AB AB\r\nAB", "ab", "b\r\na", false, true},
        {"NOTHING", "cat", "dog", false, false},
        {"CAT\r\nCAT CAT", "cat", "\u00E9t\u00E9 \U0001F600", false, false}, // beyond ASCII: offsets change
        {"A\r\nBBB A", "a", "A MUCH LONGER LINE", false, true},                // the widest line grows
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " / " + c.find.toStdString());
        EditorWidget stepwise, onePass;
        for (EditorWidget *e : {&stepwise, &onePass}) {
            test::setTextOf(*e, c.text);
            e->setSelStart(2);
        }
        const qint64 expected =
            test::ReplaceAllStepwise(stepwise, c.replace, c.find, c.matchCase, c.wholeWord);
        EXPECT_EQ(engine::ReplaceAll(onePass, c.replace, c.find, c.matchCase, c.wholeWord),
                  expected);
        EXPECT_EQ(test::textOf(onePass), test::textOf(stepwise));
        EXPECT_EQ(onePass.selStart(), stepwise.selStart());
        EXPECT_EQ(onePass.selLength(), 0);
        EXPECT_EQ(onePass.textLength(), stepwise.textLength());
        EXPECT_EQ(onePass.contentWidth(), stepwise.contentWidth());
        // And the same as on the in-memory control.
        FakeEditControl fake(c.text);
        fake.setSelStart(2);
        EXPECT_EQ(engine::ReplaceAll(fake, c.replace, c.find, c.matchCase, c.wholeWord),
                  expected);
        EXPECT_EQ(test::textOf(fake), test::textOf(onePass));
    }
}

TEST_F(EditorWidgetSearchTest, TheSelectionInsideACompoundEditReachesTheWidgetAtItsEnd)
{
    test::setTextOf(*editor, "AB\r\nCD\r\nEF");
    editor->beginCompoundEdit();
    editor->setSelStart(4);
    editor->setSelLength(4);
    EXPECT_EQ(editor->selStart(), 4);
    EXPECT_EQ(editor->selText(), "CD\r\n");
    editor->setSelText("X");
    EXPECT_EQ(editor->selStart(), 5);
    EXPECT_EQ(editor->find("f", 0, {}), 6);
    EXPECT_EQ(editor->selText(), "F");
    editor->endCompoundEdit();
    EXPECT_EQ(test::textOf(*editor), "AB\r\nXEF");
    EXPECT_EQ(editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART), 6);
    EXPECT_EQ(editor->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND), 7);
    editor->undo();
    EXPECT_EQ(test::textOf(*editor), "AB\r\nCD\r\nEF");
}

TEST_F(EditorWidgetSearchTest, OffsetsMapBackAndForthFromAnyStartingPoint)
{
    // The offset mapping remembers where it looked last; jumping about in
    // a text of many lines must give the same answers as a fresh search.
    QString text;
    for (int line = 0; line < 300; ++line)
        text += QString(line % 7, QLatin1Char('x')) + "\r\n";
    test::setTextOf(*editor, text);
    const qint64 length = editor->textLength();
    ASSERT_EQ(length, text.size());
    std::vector<qint64> offsets;
    for (qint64 at = 0; at <= length; at += 37)
        offsets.push_back(at);
    for (qint64 at = length; at >= 0; at -= 11)
        offsets.push_back(at);
    for (qint64 offset : offsets) {
        SCOPED_TRACE(offset);
        const int position = editor->toDocumentPosition(offset);
        // Inside a line break it goes to the end of the line.
        const bool insideBreak = offset > 0 && text[offset - 1] == QLatin1Char('\r');
        EXPECT_EQ(editor->toTextOffset(position), insideBreak ? offset - 1 : offset);
    }
}

TEST_F(EditorWidgetSearchTest, TheEngineForgetsAnEditorThatIsDestroyed)
{
    EXPECT_TRUE(engine::SetTarget(*editor));
    EXPECT_EQ(engine::Target(), editor.get());
    editor.reset();
    EXPECT_EQ(engine::Target(), nullptr);
    EXPECT_FALSE(engine::FindNext("a", false, false));
    EXPECT_EQ(engine::ReplaceAll("b", "a", false, false), 0);
}

} // namespace
