// The control's accessible face on the offscreen platform.
#include "platform/qt/EditorWidget.h"
#include "support/EditText.h"

#include <QAccessible>
#include <gtest/gtest.h>

using namespace zuno;

namespace {

TEST(EditorWidgetAccessible, ReadsTheTextWithTheProgramsOffsets)
{
    EditorWidget editor;
    editor.resize(300, 200);
    editor.show();
    test::setTextOf(editor, QStringLiteral("AB\r\n\u00E9X\nY"));
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(&editor);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::EditableText);
    QAccessibleTextInterface *text = face->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 8);
    EXPECT_EQ(text->text(2, 6), QStringLiteral("\r\n\u00E9X"));
    text->setSelection(0, 4, 6);
    EXPECT_EQ(editor.selText(), QStringLiteral("\u00E9X"));
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(end, 6);
    text->setCursorPosition(7);
    EXPECT_EQ(text->cursorPosition(), 7);
    EXPECT_EQ(text->offsetAtPoint(text->characterRect(5).center()), 5);
}

} // namespace
