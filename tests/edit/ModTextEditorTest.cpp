// The Edit menu's text and clipboard commands against the in-memory edit
// control and clipboard.
#include "edit/modTextEditor.h"
#include "support/EditText.h"
#include "platform/doubles/FakeClipboard.h"
#include "platform/doubles/FakeEditControl.h"

#include <gtest/gtest.h>

namespace zuno {
namespace {

const QString TwoItems = QStringLiteral("PR:ROAD\r\nPL:12,13,14");

void select(FakeEditControl &editor, qint64 start, qint64 length)
{
    editor.setSelStart(start);
    editor.setSelLength(length);
}

// ------------------------------------------------------------------ Cut

TEST(EditCut, MovesTheSelectionToTheClipboard)
{
    FakeEditControl editor(TwoItems);
    FakeClipboard clipboard(QStringLiteral("old"));
    select(editor, 3, 4); // "ROAD"

    EditCut(editor, clipboard);

    EXPECT_EQ(clipboard.text(), QStringLiteral("ROAD"));
    EXPECT_EQ(clipboard.clearCount, 1);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:\r\nPL:12,13,14"));
    EXPECT_EQ(editor.selStart(), 3); // the caret stays at the selection start
    EXPECT_EQ(editor.selLength(), 0);
    EXPECT_TRUE(editor.isModified());
}

TEST(EditCut, KeepsLineBreaksOfAMultiLineSelection)
{
    FakeEditControl editor(TwoItems);
    FakeClipboard clipboard;
    select(editor, 5, 8); // "AD\r\nPL:1"

    EditCut(editor, clipboard);

    EXPECT_EQ(clipboard.text(), QStringLiteral("AD\r\nPL:1"));
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:RO2,13,14"));
}

TEST(EditCut, WithNothingSelectedEmptiesTheClipboardAndLeavesTheText)
{
    FakeEditControl editor(TwoItems);
    FakeClipboard clipboard(QStringLiteral("previous content"));
    editor.setSelStart(4);

    EditCut(editor, clipboard);

    EXPECT_TRUE(clipboard.hasText);
    EXPECT_EQ(clipboard.text(), QString());
    EXPECT_EQ(test::textOf(editor), TwoItems);
    EXPECT_EQ(editor.selStart(), 4);
    EXPECT_FALSE(editor.isModified());
    EXPECT_TRUE(editor.undoStack.isEmpty());
}

// ------------------------------------------------------------------ Copy

TEST(EditCopy, PutsTheSelectionOnTheClipboardAndChangesNothing)
{
    FakeEditControl editor(TwoItems);
    FakeClipboard clipboard(QStringLiteral("old"));
    select(editor, 0, 12); // "PR:ROAD\r\nPL:"

    EditCopy(editor, clipboard);

    EXPECT_EQ(clipboard.text(), QStringLiteral("PR:ROAD\r\nPL:"));
    EXPECT_EQ(clipboard.clearCount, 1);
    EXPECT_EQ(test::textOf(editor), TwoItems);
    EXPECT_EQ(editor.selStart(), 0);
    EXPECT_EQ(editor.selLength(), 12);
    EXPECT_FALSE(editor.isModified());
}

TEST(EditCopy, WithNothingSelectedEmptiesTheClipboard)
{
    FakeEditControl editor(TwoItems);
    FakeClipboard clipboard(QStringLiteral("previous content"));
    editor.setSelStart(2);

    EditCopy(editor, clipboard);

    EXPECT_TRUE(clipboard.hasText);
    EXPECT_EQ(clipboard.text(), QString());
    EXPECT_EQ(test::textOf(editor), TwoItems);
    EXPECT_FALSE(editor.isModified());
}

// ------------------------------------------------------------------ Paste

TEST(EditPaste, InsertsLowerCaseTextUnchangedAndLeavesTheCaretAfterIt)
{
    FakeEditControl editor(TwoItems);
    FakeClipboard clipboard(QStringLiteral("street"));
    select(editor, 3, 4); // "ROAD"

    EditPaste(editor, clipboard);

    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:street\r\nPL:12,13,14"));
    EXPECT_EQ(editor.selStart(), 9);
    EXPECT_EQ(editor.selLength(), 0);
    EXPECT_TRUE(editor.isModified());
    EXPECT_EQ(clipboard.text(), QStringLiteral("street")); // still there
}

TEST(EditPaste, DoesNotConvertLineEndsOrCheckItems)
{
    FakeEditControl editor(QStringLiteral("AB"));
    FakeClipboard clipboard(QStringLiteral("x\ny\rz\r\nnot an item"));
    editor.setSelStart(1);

    EditPaste(editor, clipboard);

    EXPECT_EQ(test::textOf(editor), QStringLiteral("Ax\ny\rz\r\nnot an itemB"));
}

TEST(EditPaste, WithoutTextOnTheClipboardDeletesTheSelection)
{
    FakeEditControl editor(TwoItems);
    FakeClipboard clipboard; // empty, or holding only other data
    select(editor, 0, 3);

    EditPaste(editor, clipboard);

    EXPECT_EQ(test::textOf(editor), QStringLiteral("ROAD\r\nPL:12,13,14"));
    EXPECT_EQ(editor.selStart(), 0);
    EXPECT_TRUE(editor.isModified());
}

TEST(EditPaste, WithoutTextAtABareCaretChangesNothing)
{
    FakeEditControl editor(TwoItems);
    FakeClipboard clipboard;
    editor.setSelStart(5);

    EditPaste(editor, clipboard);

    EXPECT_EQ(test::textOf(editor), TwoItems);
    EXPECT_EQ(editor.selStart(), 5);
    EXPECT_FALSE(editor.isModified());
}

TEST(EditPaste, CutThenPasteElsewhereMovesText)
{
    FakeEditControl editor(QStringLiteral("ONE TWO"));
    FakeClipboard clipboard;
    select(editor, 0, 4); // "ONE "
    EditCut(editor, clipboard);
    editor.setSelStart(3);
    EditPaste(editor, clipboard);
    EXPECT_EQ(test::textOf(editor), QStringLiteral("TWOONE "));
}

// ------------------------------------------------------------------ Clear

TEST(EditClear, EmptiesTheWholeTextWhateverIsSelected)
{
    FakeEditControl editor(TwoItems);
    select(editor, 4, 2);
    editor.selectionsMade.clear();

    EditClear(editor);

    EXPECT_EQ(test::textOf(editor), QString());
    EXPECT_EQ(editor.selStart(), 0);
    EXPECT_EQ(editor.selLength(), 0);
    EXPECT_TRUE(editor.isModified());
    // The text it deletes is never a selection the user sees (X11 would
    // copy it).
    EXPECT_TRUE(editor.selectionsMade.isEmpty());
}

TEST(EditClear, IsOneEditThatUndoTakesBackWithTheEarlierHistoryKept)
{
    FakeEditControl editor(QStringLiteral("PR:ROAD"));
    editor.setSelStart(7);
    editor.setSelText(QStringLiteral("X")); // an earlier edit

    EditClear(editor);

    EXPECT_EQ(editor.setTextCount, 0); // no whole-text write: history kept
    ASSERT_EQ(editor.undoStack.size(), 2);
    editor.undo();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:ROADX"));
    editor.undo();
    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:ROAD"));
}

TEST(EditClear, OnAnEmptyDocumentLeavesItEmptyAndSetsTheModifiedFlag)
{
    FakeEditControl editor;
    editor.setModified(false);

    EditClear(editor);

    EXPECT_EQ(test::textOf(editor), QString());
    EXPECT_TRUE(editor.isModified());
    EXPECT_TRUE(editor.undoStack.isEmpty());
}

// ------------------------------------------------------------------ Select All

TEST(EditSelectAll, SelectsEveryCharacterWithLineBreaksCountingTwo)
{
    FakeEditControl editor(QStringLiteral("AB\r\nC"));
    editor.setSelStart(3);

    EditSelectAll(editor);

    EXPECT_EQ(editor.selStart(), 0);
    EXPECT_EQ(editor.selLength(), 5);
    EXPECT_EQ(editor.selText(), QStringLiteral("AB\r\nC"));
    EXPECT_FALSE(editor.isModified());
}

TEST(EditSelectAll, OnAnEmptyDocumentGivesStartAndLengthZero)
{
    FakeEditControl editor;
    EditSelectAll(editor);
    EXPECT_EQ(editor.selStart(), 0);
    EXPECT_EQ(editor.selLength(), 0);
}

TEST(EditSelectAll, ThenCopyTakesTheWholeDocument)
{
    FakeEditControl editor(TwoItems);
    FakeClipboard clipboard;
    EditSelectAll(editor);
    EditCopy(editor, clipboard);
    EXPECT_EQ(clipboard.text(), TwoItems);
}

// ------------------------------------------------------------------ Undo

TEST(EditUndo, RevertsTheEditorsLastEdit)
{
    FakeEditControl editor(QStringLiteral("PR:ROAD"));
    FakeClipboard clipboard(QStringLiteral("zz"));
    editor.setSelStart(3);
    EditPaste(editor, clipboard);
    ASSERT_EQ(test::textOf(editor), QStringLiteral("PR:zzROAD"));

    EditUndo(editor);

    EXPECT_EQ(test::textOf(editor), QStringLiteral("PR:ROAD"));
}

} // namespace
} // namespace zuno
