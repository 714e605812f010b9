// Edit, Find and Edit, Replace in the real main window (offscreen): each
// opens a new dialog on the window's editor; the dialogs close with the
// window.
#include "editor/frmEditor.h"
#include "search/frmFindReplace.h"
#include "search/modFindReplaceRichText.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include "support/ModalAnswers.h"

using namespace zuno;
namespace engine = zuno::modFindReplaceRichText;

namespace {

void trigger(const frmEditor &window, const char *name)
{
    QAction *action = window.findChild<QAction *>(QLatin1String(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
}

QList<frmFindReplace *> openDialogs(const frmEditor &window)
{
    return window.findChildren<frmFindReplace *>();
}


class MainWindowSearchTest : public ::testing::Test {
protected:
    void TearDown() override { engine::ClearTarget(); }
};

TEST_F(MainWindowSearchTest, EveryCommandOpensANewDialogOnTheEditor)
{
    frmEditor window;
    window.show();
    trigger(window, "mnuEditFind");
    trigger(window, "mnuEditFind");
    trigger(window, "mnuEditReplace");
    const auto dialogs = openDialogs(window);
    ASSERT_EQ(dialogs.size(), 3);
    EXPECT_EQ(dialogs[0]->windowTitle(), "Find");
    EXPECT_EQ(dialogs[1]->windowTitle(), "Find");
    EXPECT_EQ(dialogs[2]->windowTitle(), "Replace");
    for (frmFindReplace *dialog : dialogs) {
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->FRType(), 1);
        EXPECT_EQ(dialog->parentWidget(), &window);
    }
    EXPECT_EQ(engine::Target(), static_cast<IEditControl *>(window.editor()));
}

TEST_F(MainWindowSearchTest, ReplaceAllThroughTheDialogThenOneUndo)
{
    frmEditor window;
    window.show();
    const QString original = QStringLiteral("AC:1001\r\nXX:CAT\r\nXX:CAT CAT");
    window.editor()->setText(original);
    window.editor()->setModified(false);

    trigger(window, "mnuEditReplace");
    ASSERT_EQ(openDialogs(window).size(), 1);
    QPointer<frmFindReplace> dialog = openDialogs(window).first();
    dialog->findChild<QLineEdit *>("txtFRFind")->setText("cat");
    dialog->findChild<QLineEdit *>("txtFRReplace")->setText("DOG");
    {
        test::ModalAnswers answers;
        answers.messageBox(QMessageBox::Ok);
        answers.run([&] { dialog->findChild<QPushButton *>("cmdFRReplaceAll")->click(); });
        ASSERT_EQ(answers.shown().size(), 1);
        EXPECT_EQ(answers.shown()[0].text, "Replaced 'cat' with 'DOG' 3 time(s).");
        EXPECT_EQ(answers.shown()[0].title, "ZUNOPad");
        EXPECT_EQ(answers.shown()[0].icon, QMessageBox::Information);
    }
    EXPECT_EQ(window.editor()->text(), "AC:1001\r\nXX:DOG\r\nXX:DOG DOG");
    EXPECT_TRUE(window.editor()->isModified());
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible()) << "the dialog stays open";

    trigger(window, "mnuEditUndo");
    EXPECT_EQ(window.editor()->text(), original);
    EXPECT_FALSE(window.editor()->SendScintilla(QsciScintillaBase::SCI_CANUNDO));
    window.editor()->setModified(false); // no save prompt on closing
}

TEST_F(MainWindowSearchTest, OpenDialogsCloseWithTheWindow)
{
    auto *window = new frmEditor;
    window->show();
    trigger(*window, "mnuEditFind");
    trigger(*window, "mnuEditReplace");
    QList<QPointer<frmFindReplace>> dialogs;
    for (frmFindReplace *dialog : openDialogs(*window))
        dialogs.append(dialog);
    ASSERT_EQ(dialogs.size(), 2);

    const bool quitOnLast = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false); // keep the test process
    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLast);

    for (const auto &dialog : dialogs)
        EXPECT_TRUE(dialog.isNull());
    for (QWindow *w : QGuiApplication::topLevelWindows())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();

    // The editor goes with the window; the engine does not reach for it.
    delete window;
    EXPECT_EQ(engine::Target(), nullptr);
    EXPECT_FALSE(engine::FindNext("x", false, false));
}

} // namespace
