// The Find/Replace dialog's regular expression and "In selection" options
// and its history of texts, with real widgets on the offscreen platform.
#include "search/frmFindReplace.h"
#include "support/EditText.h"

#include "platform/doubles/FakeMessageBox.h"
#include "platform/doubles/FakeSettings.h"
#include "platform/qt/DialogLook.h"
#include "platform/qt/EditorWidget.h"
#include "search/modFindReplaceRichText.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace zuno;
namespace engine = zuno::modFindReplaceRichText;

namespace {

void pressKey(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
}

class SearchToolsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frmFindReplace::useHistorySettings(&settings);
        window = new QMainWindow;
        editor = new EditorWidget(window);
        window->setCentralWidget(editor);
        window->setGeometry(100, 120, 800, 600);
        window->show();
    }
    void TearDown() override
    {
        delete window;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        engine::ClearTarget();
        frmFindReplace::useHistorySettings(nullptr);
    }
    template <typename T = QWidget>
    static T *control(QWidget *dialog, const char *name)
    {
        T *widget = dialog->findChild<T *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    FakeSettings settings;
    FakeMessageBox messages;
    QMainWindow *window = nullptr;
    EditorWidget *editor = nullptr;
};

TEST_F(SearchToolsDialogTest, TheNewOptionsStandBesideTheCheckBoxesWithKeysOfTheirOwn)
{
    for (const bool replaceMode : {false, true}) {
        SCOPED_TRACE(replaceMode ? "Replace" : "Find");
        QPointer<frmFindReplace> dialog = replaceMode ? engine::ShowReplaceDialog(*editor, &messages)
                                                      : engine::ShowFindDialog(*editor, &messages);
        auto *regex = control<QCheckBox>(dialog, "chkFRRegex");
        auto *inSelection = control<QCheckBox>(dialog, "chkFRInSelection");
        EXPECT_EQ(regex->text(), "Regular e&xpression");
        EXPECT_EQ(inSelection->text(), "In &selection");
        EXPECT_FALSE(regex->isChecked());
        EXPECT_FALSE(inSelection->isChecked());
        // Same rows as "Match whole word only" and "Match case", to their right.
        EXPECT_EQ(regex->y(), control(dialog, "chkFRMatchWord")->y());
        EXPECT_EQ(inSelection->y(), control(dialog, "chkFRMatchCase")->y());
        EXPECT_GT(regex->x(), control(dialog, "chkFRMatchWord")->geometry().right());
        EXPECT_TRUE(regex->isVisibleTo(dialog) && inSelection->isVisibleTo(dialog));
        // Inside the dialog and clear of every other control.
        for (QWidget *option : {static_cast<QWidget *>(regex), static_cast<QWidget *>(inSelection)}) {
            EXPECT_TRUE(dialog->rect().contains(option->geometry()));
            for (QWidget *other : dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (other != option && other->isVisibleTo(dialog)) {
                    EXPECT_FALSE(other->geometry().intersects(option->geometry())) << other->objectName().toStdString();
                }
            }
        }

        // Every access key shown in this mode is different from the others.
        QList<QKeySequence> keys;
        for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            if (button->isVisibleTo(dialog) && !button->shortcut().isEmpty()) {
                EXPECT_FALSE(keys.contains(button->shortcut())) << button->objectName().toStdString();
                keys.append(button->shortcut());
            }
        EXPECT_TRUE(keys.contains(QKeySequence("Alt+X")));
        EXPECT_TRUE(keys.contains(QKeySequence("Alt+S")));
        // The tab order goes on from "Match case".
        EXPECT_EQ(control(dialog, "chkFRMatchCase")->nextInFocusChain(), regex);
        EXPECT_EQ(regex->nextInFocusChain(), inSelection);
        dialog->close();
    }
}

TEST_F(SearchToolsDialogTest, InSelectionIsSetWhenTheDialogOpensOnMoreThanOneLine)
{
    test::setTextOf(*editor, QStringLiteral("PL:1\r\nPL:2\r\nPL:3"));
    editor->setSelStart(0);
    editor->setSelLength(4);
    QPointer<frmFindReplace> oneLine = engine::ShowReplaceDialog(*editor, &messages);
    EXPECT_FALSE(control<QCheckBox>(oneLine, "chkFRInSelection")->isChecked());

    editor->setSelStart(6);
    editor->setSelLength(8); // "PL:2\r\nPL"
    QPointer<frmFindReplace> twoLines = engine::ShowReplaceDialog(*editor, &messages);
    EXPECT_TRUE(control<QCheckBox>(twoLines, "chkFRInSelection")->isChecked());
    control<QLineEdit>(twoLines, "txtFRFind")->setText("PL");
    control<QLineEdit>(twoLines, "txtFRReplace")->setText("POINT");
    control<QPushButton>(twoLines, "cmdFRReplaceAll")->click();
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("PL:1\r\nPOINT:2\r\nPOINT:3"));
    EXPECT_EQ(messages.shown.last().text, "Replaced 'PL' with 'POINT' 2 time(s).");
}

TEST_F(SearchToolsDialogTest, InSelectionSearchesTheSelectionFromItsStart)
{
    // Find Next and Replace on the lines selected, then again after a
    // Replace All in them.
    for (const char *button : {"cmdFRFind", "cmdFRReplace"}) {
        SCOPED_TRACE(button);
        test::setTextOf(*editor, QStringLiteral("PL:1\r\nPL:2\r\nPL:3\r\nPL:4"));
        editor->setSelStart(6);
        editor->setSelLength(10); // lines 2 and 3
        QPointer<frmFindReplace> dialog = engine::ShowReplaceDialog(*editor, &messages);
        ASSERT_TRUE(control<QCheckBox>(dialog, "chkFRInSelection")->isChecked());
        control<QLineEdit>(dialog, "txtFRFind")->setText("PL");
        control<QLineEdit>(dialog, "txtFRReplace")->setText("PL");
        messages.shown.clear();
        for (const qint64 expected : {6, 12}) {
            control<QPushButton>(dialog, button)->click();
            EXPECT_EQ(editor->selStart(), expected);
            EXPECT_EQ(editor->selLength(), 2);
        }
        control<QPushButton>(dialog, button)->click();
        ASSERT_EQ(messages.shown.size(), 1);
        EXPECT_EQ(messages.shown.last().text, "Search String Not Found.");

        control<QPushButton>(dialog, "cmdFRReplaceAll")->click();
        EXPECT_EQ(editor->selStart(), 6);
        control<QPushButton>(dialog, button)->click();
        EXPECT_EQ(editor->selStart(), 6) << "after Replace All the selection is searched from its start";
        EXPECT_EQ(editor->selLength(), 2);
        dialog->close();
    }
}

TEST_F(SearchToolsDialogTest, TheFieldsOfferTheTextsUsedBefore)
{
    test::setTextOf(*editor, QStringLiteral("AB CD"));
    QPointer<frmFindReplace> first = engine::ShowReplaceDialog(*editor, &messages);
    auto *find = control<QLineEdit>(first, "txtFRFind");
    EXPECT_EQ(find->text(), "") << "nothing searched for yet";
    for (const char *text : {"AB", "CD", "EF"}) {
        find->setText(QString::fromLatin1(text));
        control<QLineEdit>(first, "txtFRReplace")->setText(QStringLiteral("to ") + text);
        control<QPushButton>(first, "cmdFRReplaceAll")->click();
    }
    first->close();

    // A new Replace dialog starts with the last find text.
    QPointer<frmFindReplace> second = engine::ShowReplaceDialog(*editor, &messages);
    find = control<QLineEdit>(second, "txtFRFind");
    EXPECT_EQ(find->text(), "EF");
    // Up from a text of the list goes on to the one before it at once.
    pressKey(find, Qt::Key_Up);
    EXPECT_EQ(find->text(), "CD");
    // Up steps back through the earlier texts, Down forwards again and
    // back to what was typed.
    find->setText("typed");
    pressKey(find, Qt::Key_Up);
    EXPECT_EQ(find->text(), "EF");
    pressKey(find, Qt::Key_Up);
    pressKey(find, Qt::Key_Up);
    pressKey(find, Qt::Key_Up);
    EXPECT_EQ(find->text(), "AB") << "the oldest stays";
    pressKey(find, Qt::Key_Down);
    EXPECT_EQ(find->text(), "CD");
    pressKey(find, Qt::Key_Down);
    pressKey(find, Qt::Key_Down);
    EXPECT_EQ(find->text(), "typed");

    // The drop-down lists the replacement texts, newest first; choosing
    // one puts it in the box.
    auto *replace = control<QLineEdit>(second, "txtFRReplace");
    QAction *dropDown = replace->findChild<QAction *>("actFRReplaceHistory");
    ASSERT_NE(dropDown, nullptr);
    dropDown->trigger();
    QCompleter *list = replace->findChild<QCompleter *>();
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->popup()->isVisible());
    const QAbstractItemModel *model = list->popup()->model();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(0, 0).data().toString(), "to EF");
    EXPECT_EQ(model->index(2, 0).data().toString(), "to AB");
    list->popup()->setCurrentIndex(model->index(1, 0));
    pressKey(list->popup(), Qt::Key_Return);
    EXPECT_EQ(replace->text(), "to CD");
}

TEST_F(SearchToolsDialogTest, ARegularExpressionFromTheDialogRenumbersARun)
{
    test::setTextOf(*editor, QStringLiteral("PL:1001,1002\r\nPL:1003"));
    QPointer<frmFindReplace> dialog = engine::ShowReplaceDialog(*editor, &messages);
    control<QLineEdit>(dialog, "txtFRFind")->setText("PL:1(\\d+)");
    control<QLineEdit>(dialog, "txtFRReplace")->setText("PL:2\\1");
    control<QCheckBox>(dialog, "chkFRRegex")->setChecked(true);
    control<QPushButton>(dialog, "cmdFRReplaceAll")->click();
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("PL:2001,1002\r\nPL:2003"));
    EXPECT_EQ(messages.shown.last().text, "Replaced 'PL:1(\\d+)' with 'PL:2\\1' 2 time(s).");
    editor->undo();
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("PL:1001,1002\r\nPL:1003")) << "one undo step";
}

} // namespace
