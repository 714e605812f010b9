// The dialog answerer itself: a window that does not come, or the wrong one,
// fails the test in time and lets the command's loop end.
#include "support/ModalAnswers.h"

#include <QDialog>
#include <QMessageBox>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace zuno::test {
namespace {

using namespace std::chrono_literals;

TEST(ModalAnswers, AnswersMessageBoxesInTurnAndNotesThem)
{
    ModalAnswers answers;
    answers.messageBox(QMessageBox::No).messageBox(QMessageBox::Yes);
    const auto first = answers.run([] {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Title"), QStringLiteral("First"),
                        QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        const int answer = box.exec();
        QMessageBox::question(nullptr, QStringLiteral("Again"), QStringLiteral("Second"));
        return answer;
    });
    EXPECT_EQ(first, QMessageBox::No);
    ASSERT_EQ(answers.shown().size(), 2);
    EXPECT_EQ(answers.shown()[0].text, QStringLiteral("First"));
    EXPECT_EQ(answers.shown()[0].icon, QMessageBox::Warning);
    EXPECT_EQ(answers.shown()[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(answers.shown()[1].title, QStringLiteral("Again"));
}

TEST(ModalAnswers, AWindowThatNeverComesFailsAndNamesIt)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ModalAnswers answers(200ms);
            answers.dialog(QStringLiteral("frmGoToLine"), [](QWidget &) {});
            EXPECT_FALSE(answers.finish());
        },
        "'frmGoToLine' did not appear");
}

TEST(ModalAnswers, TheWrongWindowIsClosedSoTheCommandGoesOn)
{
    int result = -1;
    EXPECT_NONFATAL_FAILURE(
        {
            ModalAnswers answers(200ms);
            answers.dialog(QStringLiteral("frmGoToLine"), [](QWidget &w) { static_cast<QDialog &>(w).accept(); });
            result = answers.run([] {
                QDialog other;
                other.setObjectName(QStringLiteral("frmOther"));
                return other.exec();
            });
        },
        "waited for the window 'frmGoToLine', but QDialog 'frmOther' was open");
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST(ModalAnswers, AWindowThatStaysOpenAfterItsAnswerFails)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ModalAnswers answers(200ms);
            answers.dialog(QStringLiteral("QDialog"), [](QWidget &) { /* answers nothing */ });
            answers.run([] {
                QDialog dialog;
                return dialog.exec();
            });
        },
        "did not close after its answer");
}

} // namespace
} // namespace zuno::test
