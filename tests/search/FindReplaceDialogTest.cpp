// The Find/Replace dialog with real widgets on the offscreen platform: its
// two modes, the default button per mode, several dialogs at once, and its
// life with the main window.
#include "search/frmFindReplace.h"
#include "support/EditText.h"

#include "platform/qt/EditorWidget.h"
#include "platform/qt/DialogLook.h"
#include "platform/qt/ScreenUnits.h"
#include "platform/doubles/FakeMessageBox.h"
#include "search/modFindReplaceRichText.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QWindow>

#include <gtest/gtest.h>

#include "support/DialogLook.h"

#include <cmath>

using namespace zuno;
namespace engine = zuno::modFindReplaceRichText;

namespace {

// Twips of a dialog's layout in pixels, at the scale the dialog grew to.
int px(const QWidget *dialog, double twips) { return dialogPixelsX(*dialog, twips); }
int py(const QWidget *dialog, double twips) { return dialogPixelsY(*dialog, twips); }

void processDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void pressKey(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
}

// A main window holding the editor, as frmEditor does.
class FindReplaceDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = new QMainWindow;
        editor = new EditorWidget(window);
        window->setCentralWidget(editor);
        window->setGeometry(100, 120, 800, 600);
        window->show();
    }
    void TearDown() override
    {
        delete window;
        processDeferredDeletes();
        engine::ClearTarget();
    }

    template <typename T = QWidget>
    static T *control(QWidget *dialog, const char *name)
    {
        T *widget = dialog->findChild<T *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QString textOf(QWidget *dialog, const char *name)
    {
        return control<QLineEdit>(dialog, name)->text();
    }
    static void type(QWidget *dialog, const char *name, const QString &text)
    {
        control<QLineEdit>(dialog, name)->setText(text);
    }
    static void click(QWidget *dialog, const char *name)
    {
        control<QPushButton>(dialog, name)->click();
    }
    static bool shown(QWidget *dialog, const char *name)
    {
        return control(dialog, name)->isVisibleTo(dialog);
    }
    static QPoint topLeftTwips(const QWidget *dialog, double left, double top)
    {
        return QPoint(px(dialog, left), py(dialog, top));
    }

    QMainWindow *window = nullptr;
    EditorWidget *editor = nullptr;
    FakeMessageBox messages;
};

TEST_F(FindReplaceDialogTest, TheControlsAsDesigned)
{
    frmFindReplace dialog;
    EXPECT_EQ(dialog.objectName(), "frmFindReplace");
    EXPECT_EQ(dialog.windowTitle(), "Find/Replace");
    EXPECT_EQ(dialog.FRType(), 0);
    EXPECT_EQ(dialog.size(), QSize(px(&dialog, 5550), py(&dialog, 2385)));

    struct Designed {
        const char *name;
        QString caption;
        double left, top, width, height;
    };
    const Designed designed[] = {
        {"lblFRFind", "Find What:", 120, 240, 1095, 255},
        {"txtFRFind", "", 1200, 240, 3015, 285},
        {"lblFRReplace", "Replace With:", 120, 600, 1215, 255},
        {"txtFRReplace", "", 1200, 600, 3015, 285},
        {"cmdFRFind", "&Find Next", 4320, 195, 1095, 375},
        {"cmdFRCancel", "&Cancel", 4320, 720, 1095, 375},
        {"cmdFRShowReplace", "&Replace...", 3120, 1200, 1095, 375},
        {"cmdFRReplace", "&Replace", 4320, 1320, 1095, 375},
        {"cmdFRReplaceAll", "Replace &All", 4320, 1800, 1095, 375},
        {"chkFRMatchWord", "Match whole word only", 120, 1560, 2055, 255},
        {"chkFRMatchCase", "Match case", 120, 1920, 1215, 255},
    };
    for (const Designed &d : designed) {
        SCOPED_TRACE(d.name);
        QWidget *widget = control(&dialog, d.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->pos(), topLeftTwips(&dialog, d.left, d.top));
        EXPECT_NEAR(widget->height(), twipsToPixelsY(d.height * dialogScale(dialog)), 1.0);
        auto *label = qobject_cast<QLabel *>(widget);
        // A label ends before the box it names rather than run into it.
        if (!label || !label->buddy()) {
            EXPECT_NEAR(widget->width(), twipsToPixelsX(d.width * dialogScale(dialog)), 1.0);
        }
        if (label)
            EXPECT_EQ(label->text(), d.caption);
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            EXPECT_EQ(button->text(), d.caption);
        else
            EXPECT_EQ(qobject_cast<QLineEdit *>(widget)->text(), d.caption);
    }
    EXPECT_FALSE(control<QCheckBox>(&dialog, "chkFRMatchWord")->isChecked());
    EXPECT_FALSE(control<QCheckBox>(&dialog, "chkFRMatchCase")->isChecked());
    EXPECT_TRUE(control<QPushButton>(&dialog, "cmdFRFind")->isDefault());

    // The access keys.
    EXPECT_EQ(control<QPushButton>(&dialog, "cmdFRFind")->shortcut(), QKeySequence("Alt+F"));
    EXPECT_EQ(control<QPushButton>(&dialog, "cmdFRCancel")->shortcut(), QKeySequence("Alt+C"));
    EXPECT_EQ(control<QPushButton>(&dialog, "cmdFRShowReplace")->shortcut(),
              QKeySequence("Alt+R"));
    EXPECT_EQ(control<QPushButton>(&dialog, "cmdFRReplace")->shortcut(), QKeySequence("Alt+R"));
    EXPECT_EQ(control<QPushButton>(&dialog, "cmdFRReplaceAll")->shortcut(),
              QKeySequence("Alt+A"));
}

TEST_F(FindReplaceDialogTest, OneFaceWholeCaptionsAndLabelsClearOfTheirBoxes)
{
    QPointer<frmFindReplace> dialog = engine::ShowReplaceDialog(*editor, &messages);
    ASSERT_TRUE(dialog);
    test::expectOneFaceAndWholeCaptions(*dialog);
    dialog->close();
}

TEST_F(FindReplaceDialogTest, GrowsWithALargeDesktopFontKeepingItsProportions)
{
    test::DesktopFontSize large(14);
    QPointer<frmFindReplace> dialog = engine::ShowReplaceDialog(*editor, &messages);
    ASSERT_TRUE(dialog);
    test::expectGrownWithTheDesktopFont(*dialog, 14, 5550);
    // Positions keep the proportions of the twip layout.
    EXPECT_NEAR(double(control(dialog, "cmdFRFind")->x()) / control(dialog, "txtFRFind")->x(), 4320.0 / 1200, 0.02);
    EXPECT_NEAR(double(control(dialog, "chkFRMatchCase")->y()) / control(dialog, "txtFRReplace")->y(), 1920.0 / 600,
                0.02);
    dialog->close();
}

TEST_F(FindReplaceDialogTest, TheBoxesAreNamedAfterTheirLabels)
{
    frmFindReplace dialog;
    struct Named {
        const char *control;
        const char *name;
    };
    for (const Named &n : {Named{"txtFRFind", "Find What"}, Named{"txtFRReplace", "Replace With"},
                           Named{"chkFRMatchCase", "Match case"}, Named{"cmdFRFind", "Find Next"}}) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control(&dialog, n.control));
        ASSERT_NE(face, nullptr) << n.control;
        EXPECT_EQ(face->text(QAccessible::Name), QString::fromLatin1(n.name)) << n.control;
    }
}

TEST_F(FindReplaceDialogTest, TabOrder)
{
    frmFindReplace dialog;
    const char *order[] = {"txtFRFind",       "txtFRReplace", "cmdFRFind",
                           "cmdFRCancel",     "cmdFRShowReplace", "cmdFRReplace",
                           "cmdFRReplaceAll", "chkFRMatchWord",   "chkFRMatchCase"};
    QWidget *widget = control(&dialog, order[0]);
    for (size_t i = 1; i < std::size(order); ++i) {
        // Skip widgets that take no focus (the labels).
        QWidget *next = widget->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        EXPECT_EQ(next->objectName(), order[i]) << "after " << order[i - 1];
        widget = next;
    }
}

TEST_F(FindReplaceDialogTest, FindMode)
{
    QPointer<frmFindReplace> dialog = engine::ShowFindDialog(*editor, &messages);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(engine::Target(), editor);
    EXPECT_EQ(dialog->parentWidget(), window);
    EXPECT_EQ(dialog->FRType(), 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(dialog->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(dialog->windowTitle(), "Find");
    EXPECT_EQ(dialog->outerHeightTwips(), 2160);
    // The outer height takes in the frame, as far as the platform tells it.
    EXPECT_EQ(dialog->frameGeometry().height(), py(dialog, 2160));
    EXPECT_EQ(dialog->width(), px(dialog, 5550));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());

    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);

    EXPECT_EQ(control(dialog, "chkFRMatchWord")->pos(), topLeftTwips(dialog, 120, 960));
    EXPECT_EQ(control(dialog, "chkFRMatchCase")->pos(), topLeftTwips(dialog, 120, 1320));
    EXPECT_EQ(control(dialog, "cmdFRShowReplace")->pos(), topLeftTwips(dialog, 4320, 1200));
    for (const char *name : {"lblFRFind", "txtFRFind", "cmdFRFind", "cmdFRCancel",
                             "cmdFRShowReplace", "chkFRMatchWord", "chkFRMatchCase"})
        EXPECT_TRUE(shown(dialog, name)) << name;
    for (const char *name : {"lblFRReplace", "txtFRReplace", "cmdFRReplace", "cmdFRReplaceAll"})
        EXPECT_FALSE(shown(dialog, name)) << name;
    EXPECT_TRUE(control(dialog, "cmdFRShowReplace")->isEnabled());
    EXPECT_TRUE(control<QPushButton>(dialog, "cmdFRFind")->isDefault());
    EXPECT_FALSE(control<QPushButton>(dialog, "cmdFRReplace")->isDefault());
    EXPECT_EQ(dialog->focusWidget(), control(dialog, "txtFRFind"));
    EXPECT_EQ(textOf(dialog, "txtFRFind"), "");
}

TEST_F(FindReplaceDialogTest, ReplaceMode)
{
    QPointer<frmFindReplace> dialog = engine::ShowReplaceDialog(*editor, &messages);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Replace");
    EXPECT_EQ(dialog->outerHeightTwips(), 2760);
    EXPECT_EQ(dialog->frameGeometry().height(), py(dialog, 2760));
    EXPECT_EQ(dialog->width(), px(dialog, 5550));
    EXPECT_EQ(control(dialog, "chkFRMatchWord")->pos(), topLeftTwips(dialog, 120, 1560));
    EXPECT_EQ(control(dialog, "chkFRMatchCase")->pos(), topLeftTwips(dialog, 120, 1920));
    for (const char *name : {"lblFRFind", "txtFRFind", "lblFRReplace", "txtFRReplace",
                             "cmdFRFind", "cmdFRCancel", "cmdFRReplace", "cmdFRReplaceAll",
                             "chkFRMatchWord", "chkFRMatchCase"})
        EXPECT_TRUE(shown(dialog, name)) << name;
    EXPECT_FALSE(shown(dialog, "cmdFRShowReplace"));
    EXPECT_TRUE(control<QPushButton>(dialog, "cmdFRReplace")->isDefault());
    EXPECT_FALSE(control<QPushButton>(dialog, "cmdFRFind")->isDefault());
    EXPECT_EQ(dialog->focusWidget(), control(dialog, "txtFRFind"));
}

TEST_F(FindReplaceDialogTest, TheDialogIsCentredOnTheMainWindow)
{
    QPointer<frmFindReplace> dialog = engine::ShowReplaceDialog(*editor, &messages);
    const QPoint mine = dialog->frameGeometry().center();
    const QPoint owner = window->frameGeometry().center();
    EXPECT_LE(std::abs(mine.x() - owner.x()), 1);
    EXPECT_LE(std::abs(mine.y() - owner.y()), 1);

    // Switching mode later does not move it.
    QPointer<frmFindReplace> second = engine::ShowFindDialog(*editor, &messages);
    const QPoint before = second->pos();
    click(second, "cmdFRShowReplace");
    EXPECT_EQ(second->pos(), before);
}

TEST_F(FindReplaceDialogTest, EnterRunsFindNextInFindMode)
{
    test::setTextOf(*editor, "CAT CAT");
    QPointer<frmFindReplace> dialog = engine::ShowFindDialog(*editor, &messages);
    type(dialog, "txtFRFind", "cat");
    pressKey(control(dialog, "txtFRFind"), Qt::Key_Return);
    EXPECT_EQ(editor->selStart(), 0);
    EXPECT_EQ(editor->selLength(), 3);
    pressKey(control(dialog, "txtFRFind"), Qt::Key_Return);
    EXPECT_EQ(editor->selStart(), 4);
    EXPECT_EQ(test::textOf(*editor), "CAT CAT");
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(FindReplaceDialogTest, EnterRunsReplaceInReplaceMode)
{
    test::setTextOf(*editor, "CAT CAT");
    QPointer<frmFindReplace> dialog = engine::ShowReplaceDialog(*editor, &messages);
    type(dialog, "txtFRFind", "cat");
    type(dialog, "txtFRReplace", "DOG");
    pressKey(control(dialog, "txtFRFind"), Qt::Key_Return); // selects the first
    pressKey(control(dialog, "txtFRFind"), Qt::Key_Return); // replaces it
    EXPECT_EQ(test::textOf(*editor), "DOG CAT");
    EXPECT_EQ(editor->selStart(), 4);
    EXPECT_EQ(editor->selLength(), 3);
    pressKey(control(dialog, "txtFRReplace"), Qt::Key_Enter);
    EXPECT_EQ(test::textOf(*editor), "DOG DOG");
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, "Search String Not Found.");
}

TEST_F(FindReplaceDialogTest, TheButtonsRunTheirCommands)
{
    test::setTextOf(*editor, "CAT HAT CAT");
    QPointer<frmFindReplace> dialog = engine::ShowReplaceDialog(*editor, &messages);
    type(dialog, "txtFRFind", "cat");
    type(dialog, "txtFRReplace", "dog");
    click(dialog, "cmdFRFind");
    EXPECT_EQ(editor->selText(), "CAT");
    click(dialog, "cmdFRReplace");
    EXPECT_EQ(test::textOf(*editor), "dog HAT CAT");
    click(dialog, "cmdFRReplaceAll");
    EXPECT_EQ(test::textOf(*editor), "dog HAT dog");
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].text, "Replaced 'cat' with 'dog' 1 time(s).");

    // The options are read from the check boxes.
    control<QCheckBox>(dialog, "chkFRMatchCase")->setChecked(true);
    type(dialog, "txtFRFind", "DOG");
    click(dialog, "cmdFRReplaceAll");
    EXPECT_EQ(messages.shown.last().text, "Replaced 'DOG' with 'dog' 0 time(s).");
    control<QCheckBox>(dialog, "chkFRMatchCase")->setChecked(false);
    control<QCheckBox>(dialog, "chkFRMatchWord")->setChecked(true);
    type(dialog, "txtFRFind", "do");
    click(dialog, "cmdFRReplaceAll");
    EXPECT_EQ(messages.shown.last().text, "Replaced 'do' with 'dog' 0 time(s).");
    EXPECT_EQ(test::textOf(*editor), "dog HAT dog");
}

TEST_F(FindReplaceDialogTest, ShowReplaceTurnsAFindDialogIntoAReplaceDialogKeepingItsValues)
{
    QPointer<frmFindReplace> dialog = engine::ShowFindDialog(*editor, &messages);
    type(dialog, "txtFRFind", "cat");
    control<QCheckBox>(dialog, "chkFRMatchCase")->setChecked(true);
    control<QCheckBox>(dialog, "chkFRMatchWord")->setChecked(true);
    control(dialog, "cmdFRFind")->setFocus();
    click(dialog, "cmdFRShowReplace");

    EXPECT_EQ(dialog->windowTitle(), "Replace");
    EXPECT_EQ(dialog->frameGeometry().height(), py(dialog, 2760));
    EXPECT_EQ(textOf(dialog, "txtFRFind"), "cat");
    EXPECT_TRUE(control<QCheckBox>(dialog, "chkFRMatchCase")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(dialog, "chkFRMatchWord")->isChecked());
    EXPECT_TRUE(shown(dialog, "txtFRReplace"));
    EXPECT_FALSE(shown(dialog, "cmdFRShowReplace"));
    EXPECT_TRUE(control<QPushButton>(dialog, "cmdFRReplace")->isDefault());
    EXPECT_EQ(dialog->focusWidget(), control(dialog, "txtFRFind"));
}

TEST_F(FindReplaceDialogTest, HideShowReplaceDisablesTheSwitchUntilShowFind)
{
    QPointer<frmFindReplace> dialog = engine::ShowFindDialog(*editor, &messages);
    dialog->HideShowReplace();
    EXPECT_FALSE(control(dialog, "cmdFRShowReplace")->isEnabled());
    EXPECT_TRUE(shown(dialog, "cmdFRShowReplace"));
    dialog->ShowReplace();
    EXPECT_FALSE(control(dialog, "cmdFRShowReplace")->isEnabled());
    dialog->ShowFind();
    EXPECT_TRUE(control(dialog, "cmdFRShowReplace")->isEnabled());
    EXPECT_TRUE(shown(dialog, "cmdFRShowReplace"));
}

TEST_F(FindReplaceDialogTest, EscapeDoesNothing)
{
    QPointer<frmFindReplace> dialog = engine::ShowFindDialog(*editor, &messages);
    type(dialog, "txtFRFind", "cat");
    pressKey(control(dialog, "txtFRFind"), Qt::Key_Escape);
    pressKey(dialog, Qt::Key_Escape);
    processDeferredDeletes();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(textOf(dialog, "txtFRFind"), "cat");
}

TEST_F(FindReplaceDialogTest, CancelAndTheCloseBoxUnloadTheDialog)
{
    QPointer<frmFindReplace> cancelled = engine::ShowFindDialog(*editor, &messages);
    click(cancelled, "cmdFRCancel");
    processDeferredDeletes();
    EXPECT_TRUE(cancelled.isNull());

    QPointer<frmFindReplace> closed = engine::ShowReplaceDialog(*editor, &messages);
    closed->close(); // what the close box does
    processDeferredDeletes();
    EXPECT_TRUE(closed.isNull());

    // A new command starts a fresh dialog; the target stays set.
    QPointer<frmFindReplace> fresh = engine::ShowFindDialog(*editor, &messages);
    EXPECT_EQ(textOf(fresh, "txtFRFind"), "");
    EXPECT_FALSE(control<QCheckBox>(fresh, "chkFRMatchCase")->isChecked());
    EXPECT_EQ(engine::Target(), editor);
}

TEST_F(FindReplaceDialogTest, TwoDialogsAtOnceWorkOnTheSameEditor)
{
    test::setTextOf(*editor, "CAT DOG CAT");
    QPointer<frmFindReplace> first = engine::ShowFindDialog(*editor, &messages);
    QPointer<frmFindReplace> second = engine::ShowFindDialog(*editor, &messages);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.data(), second.data());
    EXPECT_EQ(window->findChildren<frmFindReplace *>().size(), 2);

    type(first, "txtFRFind", "cat");
    type(second, "txtFRFind", "dog");
    click(first, "cmdFRFind");
    EXPECT_EQ(editor->selStart(), 0);
    click(second, "cmdFRFind");
    EXPECT_EQ(editor->selStart(), 4);
    // Each keeps its own text; both share the selection.
    click(first, "cmdFRFind");
    EXPECT_EQ(editor->selStart(), 8);

    click(first, "cmdFRCancel");
    processDeferredDeletes();
    EXPECT_TRUE(first.isNull());
    ASSERT_TRUE(second);
    editor->setSelStart(0);
    click(second, "cmdFRFind");
    EXPECT_EQ(editor->selStart(), 4);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(FindReplaceDialogTest, DialogsCloseWithTheMainWindowAndDoNotKeepTheProgramRunning)
{
    QPointer<frmFindReplace> first = engine::ShowFindDialog(*editor, &messages);
    QPointer<frmFindReplace> second = engine::ShowReplaceDialog(*editor, &messages);
    const bool quitOnLast = QGuiApplication::quitOnLastWindowClosed();
    // Closing the last window would quit this test process.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    window->close();
    processDeferredDeletes();
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLast);

    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
    // Nothing is left open that would keep the program running.
    for (QWindow *w : QGuiApplication::topLevelWindows())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

TEST_F(FindReplaceDialogTest, AMinimizedMainWindowKeepsItsDialogs)
{
    QPointer<frmFindReplace> dialog = engine::ShowFindDialog(*editor, &messages);
    window->showMinimized();
    processDeferredDeletes();
    EXPECT_TRUE(dialog);
    window->showNormal();
}

TEST_F(FindReplaceDialogTest, ADialogWhoseEditorIsGoneActsOnNothing)
{
    test::setTextOf(*editor, "CAT");
    QPointer<frmFindReplace> dialog = engine::ShowReplaceDialog(*editor, &messages);
    type(dialog, "txtFRFind", "cat");
    type(dialog, "txtFRReplace", "dog");
    delete editor;
    editor = nullptr;
    EXPECT_EQ(engine::Target(), nullptr);
    click(dialog, "cmdFRFind");
    click(dialog, "cmdFRReplace");
    click(dialog, "cmdFRReplaceAll");
    ASSERT_EQ(messages.shown.size(), 3);
    EXPECT_EQ(messages.shown[0].text, "Search String Not Found.");
    EXPECT_EQ(messages.shown[1].text, "Search String Not Found.");
    EXPECT_EQ(messages.shown[2].text, "Replaced 'cat' with 'dog' 0 time(s).");
}

TEST_F(FindReplaceDialogTest, WithoutAMessageBoxGivenTheDialogShowsItsOwn)
{
    test::setTextOf(*editor, "CAT");
    QPointer<frmFindReplace> dialog = engine::ShowFindDialog(*editor);
    type(dialog, "txtFRFind", "dog");
    bool sawBox = false;
    // Answer the modal box as soon as it shows.
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (w->objectName() == "zunoMessageBox" && w->isVisible()) {
                    sawBox = w->windowTitle() == "ZUNOPad"
                        && w->findChild<QLabel *>("qt_msgbox_label")
                        && w->findChild<QLabel *>("qt_msgbox_label")->text()
                            == "Search String Not Found."
                        && w->parentWidget() == dialog.data();
                    pressKey(w, Qt::Key_Return);
                }
            }
        },
        Qt::QueuedConnection);
    click(dialog, "cmdFRFind");
    EXPECT_TRUE(sawBox);
}

} // namespace
