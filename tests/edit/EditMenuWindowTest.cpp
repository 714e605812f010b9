// The Edit commands, the right-click menu and Go To Line in the real main
// window on the offscreen platform.
#include "support/ModalAnswers.h"
#include "support/EditText.h"

#include "edit/frmGoToLine.h"
#include "window/frmEditor.h"
#include "platform/qt/QtClipboard.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace zuno {
namespace {

const QString FiveLines = QStringLiteral("L1\r\nL2\r\nL3\r\nL4\r\nL5");

class EditMenuWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<frmEditor>();
        window->show();
        window->activateWindow();
        editor = window->editor();
        editor->QWidget::setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        // Nothing unsaved may ask a question on the way out.
        editor->setModified(false);
        window.reset();
    }

    QAction *action(const char *name) const
    {
        return window->findChild<QAction *>(QString::fromLatin1(name));
    }
    frmGoToLine *goToDialog() const { return window->findChild<frmGoToLine *>(); }

    // Chooses Edit > Go To and plays `steps` while the dialog is open.
    void goTo(const std::function<void()> &steps)
    {
        test::ModalAnswers answers;
        answers.dialog(QStringLiteral("frmGoToLine"), [steps](QWidget &) { steps(); });
        answers.run([this] { action("mnuEditGoTo")->trigger(); });
    }

    std::unique_ptr<frmEditor> window;
    EditorWidget *editor = nullptr;
};

// ------------------------------------------------------------------ typing and undo

TEST_F(EditMenuWindow, TypedLettersBecomeCapitalsOtherCharactersStay)
{
    QTest::keyClicks(editor, QStringLiteral("pl:a{`}1"));
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("PL:A{`}1"));
    EXPECT_TRUE(editor->isModified());
}

TEST_F(EditMenuWindow, EditKeysDoWhatTheEditMenuDoes)
{
    test::setTextOf(*editor, QStringLiteral("PR:"));
    editor->setSelStart(3);
    QTest::keyClicks(editor, QStringLiteral("x"));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("PR:"));

    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(systemClipboard().text(), QStringLiteral("PR:"));
    QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(test::textOf(*editor), QString());
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("PR:PR:"));

    // The control's paste keys insert the clipboard's text unchanged.
    systemClipboard().setText(QStringLiteral("a\nb\rc\r\n"));
    QTest::keyClick(editor, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("PR:PR:a\nb\rc\r\n"));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("PR:PR:"));
}

TEST_F(EditMenuWindow, UndoFromTheMenuRevertsTheLastEditAsCtrlZWould)
{
    test::setTextOf(*editor, QStringLiteral("AC:1"));
    editor->setSelStart(4);
    QTest::keyClicks(editor, QStringLiteral("23"));
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    const QString afterCtrlZ = test::textOf(*editor);

    test::setTextOf(*editor, QStringLiteral("AC:1"));
    editor->setSelStart(4);
    QTest::keyClicks(editor, QStringLiteral("23"));
    action("mnuEditUndo")->trigger();
    EXPECT_EQ(test::textOf(*editor), afterCtrlZ);
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("AC:1"));
}

TEST_F(EditMenuWindow, ClearThenUndoRestoresTheText)
{
    test::setTextOf(*editor, FiveLines);
    editor->setModified(false);
    editor->setSelStart(5);
    editor->setSelLength(1);

    action("mnuEditClear")->trigger();
    EXPECT_EQ(test::textOf(*editor), QString());
    EXPECT_TRUE(editor->isModified());

    action("mnuEditUndo")->trigger();
    EXPECT_EQ(test::textOf(*editor), FiveLines);
}

TEST_F(EditMenuWindow, SelectAllCutAndPasteThroughTheMenu)
{
    test::setTextOf(*editor, QStringLiteral("AB\r\nC"));
    action("mnuEditSelectAll")->trigger();
    EXPECT_EQ(editor->selStart(), 0);
    EXPECT_EQ(editor->selLength(), 5);

    action("mnuEditCopy")->trigger();
    EXPECT_EQ(systemClipboard().text(), QStringLiteral("AB\r\nC"));

    editor->setSelStart(1);
    editor->setSelLength(1);
    action("mnuEditCut")->trigger();
    EXPECT_EQ(systemClipboard().text(), QStringLiteral("B"));
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("A\r\nC"));

    systemClipboard().setText(QStringLiteral("lower"));
    editor->setSelStart(0);
    action("mnuEditPaste")->trigger();
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("lowerA\r\nC"));
}

// ------------------------------------------------------------------ right click

TEST_F(EditMenuWindow, ARightClickOpensTheEditMenuItselfAtThePointer)
{
    const QPoint at(40, 30);
    QWidget *popup = nullptr;
    QStringList entries;
    QPoint shownAt;
    test::ModalAnswers answers;
    answers.popupMenu([&](QWidget &menu) {
        popup = &menu;
        for (QAction *entry : menu.actions())
            entries << (entry->isSeparator() ? QStringLiteral("-") : entry->objectName());
        shownAt = menu.pos();
        menu.close();
    });
    answers.run([&] { QTest::mouseClick(editor->viewport(), Qt::RightButton, Qt::ShiftModifier, at); });

    EXPECT_EQ(popup, window->editMenu());
    EXPECT_EQ(entries,
              (QStringList{"mnuEditUndo", "mnuEditRedo", "-", "mnuEditCut", "mnuEditCopy", "mnuEditPaste", "-",
                           "mnuEditClear", "mnuEditSelectAll", "-", "mnuEditFind", "mnuEditReplace",
                           "mnuEditFindNext", "mnuEditFindPrevious", "-", "mnuEditGoTo", "mnuEditGoToRecord"}));
    EXPECT_EQ(shownAt, editor->viewport()->mapToGlobal(at));
}

TEST_F(EditMenuWindow, LeftAndMiddleClicksOpenNothing)
{
    QWidget *openedBy[2] = {nullptr, nullptr};
    const Qt::MouseButton buttons[2] = {Qt::LeftButton, Qt::MiddleButton};
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(editor->viewport(), buttons[i], Qt::NoModifier, QPoint(40, 30));
        // A queued call runs only after the click's own handling is done.
        bool handled = false;
        QMetaObject::invokeMethod(editor, [&handled] { handled = true; }, Qt::QueuedConnection);
        QTRY_VERIFY_WITH_TIMEOUT(handled, 5000);
        openedBy[i] = test::openModalWindow();
        if (openedBy[i])
            test::closeModalWindows();
    }
    EXPECT_EQ(openedBy[0], nullptr);
    EXPECT_EQ(openedBy[1], nullptr);
}

TEST_F(EditMenuWindow, UndoFromTheRightClickMenuRevertsTheLastEdit)
{
    test::setTextOf(*editor, QStringLiteral("AC:1"));
    editor->setSelStart(4);
    QTest::keyClicks(editor, QStringLiteral("9"));
    ASSERT_EQ(test::textOf(*editor), QStringLiteral("AC:19"));
    test::ModalAnswers answers;
    answers.popupMenu([&](QWidget &menu) {
        QAction *undo = action("mnuEditUndo");
        QTest::mouseClick(&menu, Qt::LeftButton, Qt::NoModifier,
                          static_cast<QMenu &>(menu).actionGeometry(undo).center());
    });
    answers.run([&] { QTest::mouseClick(editor->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10)); });
    EXPECT_EQ(test::textOf(*editor), QStringLiteral("AC:1"));
}

// ------------------------------------------------------------------ Go To

TEST_F(EditMenuWindow, GoToMovesTheCaretToTheLineTyped)
{
    test::setTextOf(*editor, FiveLines);
    editor->setSelStart(16);
    editor->setModified(false);
    QString caption;
    bool escapeIgnored = false;
    goTo([&] {
        frmGoToLine *dialog = goToDialog();
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        QTest::keyClicks(dialog->txtGoToLine, QStringLiteral("2"));
        QTest::keyClick(dialog->txtGoToLine, Qt::Key_Escape);
        escapeIgnored = dialog->isVisible();
        QTest::keyClick(dialog->txtGoToLine, Qt::Key_Return);
    });
    EXPECT_EQ(caption, QStringLiteral("Go To Line"));
    EXPECT_TRUE(escapeIgnored);
    EXPECT_EQ(editor->selStart(), 4);
    EXPECT_EQ(test::textOf(*editor), FiveLines);
    EXPECT_FALSE(editor->isModified());
}

TEST_F(EditMenuWindow, GoToKeepsOneDialogThatReopensEmpty)
{
    test::setTextOf(*editor, FiveLines);
    editor->setSelStart(0);
    frmGoToLine *first = nullptr;
    goTo([&] {
        first = goToDialog();
        QTest::keyClicks(first->txtGoToLine, QStringLiteral("3.5"));
        first->cmdGoToOK->click();
    });
    EXPECT_EQ(editor->selStart(), 12); // 3.5 reads as line 4
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->parentWidget(), window.get());
    EXPECT_TRUE(first->isHidden());

    QString entryOnReopen = QStringLiteral("<not shown>");
    frmGoToLine *second = nullptr;
    goTo([&] {
        second = goToDialog();
        entryOnReopen = second->entry();
        second->cmdGoToCancel->click();
    });
    EXPECT_EQ(second, first);
    EXPECT_EQ(entryOnReopen, QString());
    EXPECT_EQ(editor->selStart(), 0); // Cancel: the start of the text
}

TEST_F(EditMenuWindow, GoToWarnsAboutANonNumberAndCancelThenGivesUp)
{
    test::setTextOf(*editor, FiveLines);
    editor->setSelStart(17);
    QStringList seen; // what showed up, in order
    test::ModalAnswers answers;
    answers
        .dialog(QStringLiteral("frmGoToLine"),
                [](QWidget &window) {
                    auto &dialog = static_cast<frmGoToLine &>(window);
                    QTest::keyClicks(dialog.txtGoToLine, QStringLiteral("abc"));
                    dialog.cmdGoToOK->click();
                })
        .messageBox(QMessageBox::Ok)
        .dialog(QStringLiteral("frmGoToLine"), [&](QWidget &window) {
            auto &dialog = static_cast<frmGoToLine &>(window);
            seen << QStringLiteral("dialog showing ") + dialog.entry();
            dialog.cmdGoToCancel->click();
        });
    answers.run([&] { action("mnuEditGoTo")->trigger(); });
    for (const test::ShownBox &box : answers.shown())
        seen.prepend(box.title + QStringLiteral(": ") + box.text
                     + (box.icon == QMessageBox::Warning ? QStringLiteral(" (warning)") : QString()));

    EXPECT_EQ(seen, (QStringList{QStringLiteral("Invalid Line Number: You must enter a numeric value (warning)"),
                                 QStringLiteral("dialog showing abc")}));
    EXPECT_EQ(editor->selStart(), 17);
}

TEST_F(EditMenuWindow, TheHiddenGoToDialogGoesWithTheWindow)
{
    goTo([&] { goToDialog()->cmdGoToCancel->click(); });
    QPointer<frmGoToLine> dialog = goToDialog();
    ASSERT_FALSE(dialog.isNull());
    window->close();
    for (QWidget *top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->isVisible()) << top->objectName().toStdString();
    window.reset();
    EXPECT_TRUE(dialog.isNull());
    window = std::make_unique<frmEditor>(); // for TearDown
    editor = window->editor();
}

} // namespace
} // namespace zuno
