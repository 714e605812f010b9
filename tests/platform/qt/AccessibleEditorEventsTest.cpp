// What a screen reader is told of the edit control: text inserted and
// removed, caret moves, selections and the document's name, as recorded by
// an installed update handler while Qt's accessibility is on.
#include "platform/qt/EditorWidget.h"
#include "support/EditText.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace zuno;

namespace {

// What the update handler saw from the editor.
struct Told {
    QAccessible::Event type;
    int position;
    QString text;
};
std::vector<Told> told;
QObject *watched = nullptr;

void record(QAccessibleEvent *event)
{
    if (event->object() != watched)
        return;
    Told entry{event->type(), -1, QString()};
    if (event->type() == QAccessible::TextInserted) {
        auto *inserted = static_cast<QAccessibleTextInsertEvent *>(event);
        entry.position = inserted->changePosition();
        entry.text = inserted->textInserted();
    } else if (event->type() == QAccessible::TextRemoved) {
        auto *removed = static_cast<QAccessibleTextRemoveEvent *>(event);
        entry.position = removed->changePosition();
        entry.text = removed->textRemoved();
    } else if (event->type() == QAccessible::TextCaretMoved) {
        entry.position = static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition();
    } else if (event->type() == QAccessible::TextSelectionChanged) {
        auto *selection = static_cast<QAccessibleTextSelectionEvent *>(event);
        entry.position = selection->selectionStart();
        entry.text = QString::number(selection->selectionEnd());
    }
    told.push_back(entry);
}

class EditorWidgetAccessibleEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor.resize(400, 200);
        editor.show();
        editor.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor, 5000));
        test::setTextOf(editor, QStringLiteral("PN:\u00E9\r\nPL:2")); // offsets count characters, not bytes
        watched = &editor;
        // Qt's accessibility comes on once the accessibility bus answers.
        ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000))
            << "no accessibility bus (run under with_a11y_bus.sh)";
        QAccessible::installUpdateHandler(record);
        settle();
    }
    void TearDown() override
    {
        QAccessible::installUpdateHandler(nullptr);
        watched = nullptr;
    }
    // The events of what was done, once the control's work is done.
    std::vector<Told> settle()
    {
        QApplication::processEvents();
        std::vector<Told> seen;
        seen.swap(told);
        return seen;
    }
    static bool has(const std::vector<Told> &seen, QAccessible::Event type, int position, const QString &text = {})
    {
        for (const Told &t : seen)
            if (t.type == type && t.position == position && (text.isNull() || t.text == text))
                return true;
        return false;
    }

    EditorWidget editor;
};

TEST_F(EditorWidgetAccessibleEvents, TypingTellsTheTextAndTheCaret)
{
    editor.setSelStart(4);
    settle();
    QTest::keyClicks(&editor, QStringLiteral("ab"));
    std::vector<Told> seen = settle();
    EXPECT_TRUE(has(seen, QAccessible::TextInserted, 4, QStringLiteral("A")));
    EXPECT_TRUE(has(seen, QAccessible::TextInserted, 5, QStringLiteral("B")));
    EXPECT_TRUE(has(seen, QAccessible::TextCaretMoved, 6));

    QTest::keyClick(&editor, Qt::Key_Backspace);
    seen = settle();
    EXPECT_TRUE(has(seen, QAccessible::TextRemoved, 5, QStringLiteral("B")));
    EXPECT_TRUE(has(seen, QAccessible::TextCaretMoved, 5));
}

TEST_F(EditorWidgetAccessibleEvents, SelectionAndDocumentNameAreTold)
{
    editor.setSelStart(6);
    editor.setSelLength(4);
    std::vector<Told> seen = settle();
    EXPECT_TRUE(has(seen, QAccessible::TextSelectionChanged, 6, QStringLiteral("10")));

    editor.setFileName(QStringLiteral("/tmp/WEST.CTL"));
    seen = settle();
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(),
                            [](const Told &t) { return t.type == QAccessible::DescriptionChanged; }));
}

TEST_F(EditorWidgetAccessibleEvents, ANewTextIsToldWholeOnlyWhenShort)
{
    test::setTextOf(editor, QStringLiteral("XX:1"));
    std::vector<Told> seen = settle();
    EXPECT_TRUE(has(seen, QAccessible::TextRemoved, 0, QStringLiteral("PN:\u00E9\r\nPL:2")));
    EXPECT_TRUE(has(seen, QAccessible::TextInserted, 0, QStringLiteral("XX:1")));

    editor.setSelStart(2);
    settle();
    test::setTextOf(editor, QString(200000, QLatin1Char('A')));
    seen = settle();
    for (const Told &t : seen)
        EXPECT_TRUE(t.type != QAccessible::TextInserted && t.type != QAccessible::TextRemoved);
    EXPECT_TRUE(has(seen, QAccessible::TextCaretMoved, 0));
}

} // namespace
