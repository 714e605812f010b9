// Edit, Find and Edit, Replace in the real main window (offscreen): each
// opens a new dialog on the window's editor; the dialogs close with the
// window.
#include "window/frmEditor.h"
#include "support/EditText.h"
#include "search/frmFindReplace.h"
#include "search/modFindReplaceRichText.h"
#include "platform/qt/QtMatchMarks.h"

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
    test::setTextOf(*window.editor(), original);
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
    EXPECT_EQ(test::textOf(*window.editor()), "AC:1001\r\nXX:DOG\r\nXX:DOG DOG");
    EXPECT_TRUE(window.editor()->isModified());
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible()) << "the dialog stays open";

    trigger(window, "mnuEditUndo");
    EXPECT_EQ(test::textOf(*window.editor()), original);
    EXPECT_FALSE(window.editor()->SendScintilla(QsciScintillaBase::SCI_CANUNDO));
    window.editor()->setModified(false); // no save prompt on closing
}

TEST_F(MainWindowSearchTest, EachWindowsDialogSearchesItsOwnText)
{
    frmEditor first;
    frmEditor second;
    for (frmEditor *window : {&first, &second}) {
        window->show();
        test::setTextOf(*window->editor(), QStringLiteral("AB CAT CAT"));
        window->editor()->setSelStart(0);
        trigger(*window, "mnuEditReplace");
    }
    // The second window's dialog opened last; the first one's is used.
    frmFindReplace *dialog = openDialogs(first).first();
    dialog->findChild<QLineEdit *>("txtFRFind")->setText("CAT");
    dialog->findChild<QLineEdit *>("txtFRReplace")->setText("DOG");
    dialog->findChild<QPushButton *>("cmdFRReplace")->click();
    EXPECT_EQ(first.editor()->selStart(), 3);
    EXPECT_EQ(second.editor()->selStart(), 0);
    // Only the window searched marks the matches.
    EXPECT_EQ(first.matchMarks().markedRanges().size(), 2);
    EXPECT_TRUE(second.matchMarks().markedRanges().isEmpty());
    {
        test::ModalAnswers answers;
        answers.messageBox(QMessageBox::Ok);
        answers.run([&] { dialog->findChild<QPushButton *>("cmdFRReplaceAll")->click(); });
    }
    EXPECT_EQ(test::textOf(*first.editor()), "AB DOG DOG");
    EXPECT_EQ(test::textOf(*second.editor()), "AB CAT CAT");
    for (frmEditor *window : {&first, &second})
        window->editor()->setModified(false);
}

// Where the occurrence stands on the screen, one line high.
QRect occurrenceOnScreen(EditorWidget &editor)
{
    const long from = editor.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long to = editor.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND);
    const QPoint start(int(editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, from)),
                       int(editor.SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, from)));
    const int width = int(editor.SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, to)) - start.x();
    const int height = int(editor.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
    return QRect(editor.viewport()->mapToGlobal(start), QSize(width, height));
}

TEST_F(MainWindowSearchTest, AFoundOccurrenceIsScrolledIntoViewAndOutFromUnderTheDialog)
{
    frmEditor window;
    window.show();
    window.resize(600, 500);
    QString text;
    for (int line = 0; line < 400; ++line)
        text += QStringLiteral("XX:LINE %1\r\n").arg(line);
    test::setTextOf(*window.editor(), text + QStringLiteral("XX:NEEDLE"));
    window.editor()->setModified(false);
    QApplication::processEvents();

    EditorWidget &editor = *window.editor();
    const int lineHeight = int(editor.SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
    const int onScreen = int(editor.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
    struct Case {
        const char *command;
        const char *find;
        int line;  // where the occurrence is
        int first; // the first line shown before the search
    };
    for (const Case &c : {Case{"mnuEditFind", "line 200", 200, 200 - onScreen / 2},
                          Case{"mnuEditReplace", "needle", 400, 400 - onScreen + 1},
                          Case{"mnuEditFind", "line 5", 5, 0}, Case{"mnuEditFind", "line 300", 300, 0}}) {
        editor.setSelStart(0);
        editor.SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE, (unsigned long)c.first);
        trigger(window, c.command);
        frmFindReplace *dialog = openDialogs(window).last();
        // The dialog stands over the line of the occurrence, or over the
        // middle of the editor when that line is not shown yet.
        const int lineY = c.line - c.first < onScreen ? (c.line - c.first) * lineHeight : editor.height() / 2;
        dialog->move(editor.mapToGlobal(QPoint(10, lineY - 20)));
        QApplication::processEvents();
        dialog->findChild<QLineEdit *>("txtFRFind")->setText(c.find);
        dialog->findChild<QPushButton *>("cmdFRFind")->click();
        QApplication::processEvents();
        ASSERT_GT(editor.selLength(), 0) << c.find;
        const QRect found = occurrenceOnScreen(editor);
        const QRect shown(editor.viewport()->mapToGlobal(QPoint(0, 0)), editor.viewport()->size());
        EXPECT_TRUE(shown.contains(found)) << c.find << ": the occurrence is on the editor";
        EXPECT_FALSE(found.intersects(dialog->frameGeometry())) << c.find << ": and not under the dialog";
        dialog->close();
    }
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
