// The real message box for a Yes/No question: No is the default and the
// answer of Escape, so that a hasty Enter changes nothing.
#include "platform/qt/QtMessageBox.h"

#include "support/ModalAnswers.h"

#include <gtest/gtest.h>

namespace zuno {
namespace {

MessageResult askYesNo(QMessageBox::StandardButton answer, test::ModalAnswers &answers)
{
    answers.messageBox(answer);
    return answers.run([] {
        QtMessageBox box;
        return box.show(QStringLiteral("Switch anyway?"), MessageButtons::YesNo, MessageIcon::Warning,
                        QStringLiteral("Record View"));
    });
}

TEST(QtMessageBox, YesNoQuestionDefaultsToNo)
{
    test::ModalAnswers yes;
    EXPECT_EQ(askYesNo(QMessageBox::Yes, yes), MessageResult::Yes);
    ASSERT_EQ(yes.shown().size(), 1);
    EXPECT_EQ(yes.shown()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(yes.shown()[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(yes.shown()[0].icon, QMessageBox::Warning);
    EXPECT_EQ(yes.shown()[0].title, QStringLiteral("Record View"));

    test::ModalAnswers no;
    EXPECT_EQ(askYesNo(QMessageBox::No, no), MessageResult::No);
    // A box without Cancel is answered with Escape.
    test::ModalAnswers escape;
    EXPECT_EQ(askYesNo(QMessageBox::Cancel, escape), MessageResult::No);
}

} // namespace
} // namespace zuno
