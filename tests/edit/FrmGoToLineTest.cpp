// The Go To Line dialog on the offscreen platform: layout, keys, the three
// ways a use ends, and its life as one object per main window.
#include "support/DialogLook.h"
#include "support/ModalAnswers.h"

#include "edit/frmGoToLine.h"
#include "platform/qt/DialogLook.h"
#include "platform/Units.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace zuno {
namespace {

// A rectangle of the dialog's twip layout, at the scale the dialog grew to.
QRect expectedRect(const QWidget &dialog, double left, double top, double width, double height)
{
    const double dpiX = QGuiApplication::primaryScreen()->logicalDotsPerInchX() * dialogScale(dialog);
    const double dpiY = QGuiApplication::primaryScreen()->logicalDotsPerInchY() * dialogScale(dialog);
    auto px = [&](double twips) { return qRound(twips * dpiX / 1440.0); };
    auto py = [&](double twips) { return qRound(twips * dpiY / 1440.0); };
    return QRect(QPoint(px(left), py(top)), QPoint(px(left + width) - 1, py(top + height) - 1));
}

class FrmGoToLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner = std::make_unique<QWidget>();
        owner->setGeometry(200, 150, 640, 480);
        owner->show();
        dialog = &frmGoToLine::instance(holder, owner.get());
    }

    // Opens the dialog and plays `steps` while it is open; they must close it.
    GoToLineOutcome whileOpen(const std::function<void()> &steps)
    {
        test::ModalAnswers answers;
        answers.dialog(QStringLiteral("frmGoToLine"), [steps](QWidget &) { steps(); });
        return answers.run([this] { return dialog->showModal(); });
    }

    std::unique_ptr<QWidget> owner;
    QPointer<QDialog> holder;
    frmGoToLine *dialog = nullptr;
};

TEST_F(FrmGoToLineTest, HasItsCaptionControlsAndTwipLayout)
{
    EXPECT_EQ(dialog->objectName(), QStringLiteral("frmGoToLine"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Go To Line"));
    EXPECT_EQ(dialog->size(), expectedRect(*dialog, 0, 0, 2550, 960).size());
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()); // fixed size

    EXPECT_EQ(dialog->findChild<QLabel *>(QStringLiteral("lblGoToLine")), dialog->lblGoToLine);
    EXPECT_EQ(dialog->findChild<QLineEdit *>(QStringLiteral("txtGoToLine")), dialog->txtGoToLine);
    EXPECT_EQ(dialog->findChild<QPushButton *>(QStringLiteral("cmdGoToOK")), dialog->cmdGoToOK);
    EXPECT_EQ(dialog->findChild<QPushButton *>(QStringLiteral("cmdGoToCancel")), dialog->cmdGoToCancel);

    EXPECT_EQ(dialog->lblGoToLine->text(), QStringLiteral("Line Number:"));
    EXPECT_EQ(dialog->txtGoToLine->text(), QString());
    EXPECT_EQ(dialog->cmdGoToOK->text(), QStringLiteral("&OK"));
    EXPECT_EQ(dialog->cmdGoToCancel->text(), QStringLiteral("&Cancel"));

    // The label ends just before its box rather than at its designed 975.
    EXPECT_EQ(dialog->lblGoToLine->geometry().topLeft(), expectedRect(*dialog, 120, 120, 975, 255).topLeft());
    EXPECT_EQ(dialog->lblGoToLine->height(), expectedRect(*dialog, 120, 120, 975, 255).height());
    EXPECT_LT(dialog->lblGoToLine->geometry().right(), dialog->txtGoToLine->x());
    EXPECT_EQ(dialog->txtGoToLine->geometry(), expectedRect(*dialog, 1200, 120, 1215, 285));
    EXPECT_EQ(dialog->cmdGoToOK->geometry(), expectedRect(*dialog, 120, 480, 1095, 375));
    EXPECT_EQ(dialog->cmdGoToCancel->geometry(), expectedRect(*dialog, 1320, 480, 1095, 375));

    EXPECT_TRUE(dialog->cmdGoToOK->isDefault());
    EXPECT_FALSE(dialog->cmdGoToCancel->isDefault());
}

TEST_F(FrmGoToLineTest, OneFaceWholeCaptionsAndTheLabelClearOfItsBox)
{
    test::expectOneFaceAndWholeCaptions(*dialog);
}

TEST_F(FrmGoToLineTest, GrowsWithALargeDesktopFontAndNamesItsBox)
{
    test::DesktopFontSize large(14);
    frmGoToLine grown(owner.get());
    test::expectGrownWithTheDesktopFont(grown, 14, 2550);
    EXPECT_NEAR(double(grown.cmdGoToCancel->x()) / grown.txtGoToLine->x(), 1320.0 / 1200, 0.02);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(grown.txtGoToLine)->text(QAccessible::Name),
              QStringLiteral("Line Number"));
}

TEST_F(FrmGoToLineTest, IsAFixedDialogWithoutMinimiseOrMaximise)
{
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(dialog->isSizeGripEnabled());
}

TEST_F(FrmGoToLineTest, TheEntryHasNoLengthLimit)
{
    const QString longEntry(100000, QLatin1Char('7'));
    dialog->setEntry(longEntry);
    EXPECT_EQ(dialog->entry(), longEntry);
}

TEST_F(FrmGoToLineTest, OpensWithTheFocusInTheEntryAndTabsThroughTheButtons)
{
    QList<QWidget *> focusOrder;
    const GoToLineOutcome outcome = whileOpen(
        [&] {
            focusOrder << dialog->focusWidget();
            for (int i = 0; i < 3; ++i) {
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
                focusOrder << dialog->focusWidget();
            }
            dialog->cmdGoToCancel->click();
        });
    EXPECT_EQ(outcome, GoToLineOutcome::Cancel);
    EXPECT_EQ(focusOrder, (QList<QWidget *>{dialog->txtGoToLine, dialog->cmdGoToOK,
                                            dialog->cmdGoToCancel, dialog->txtGoToLine}));
}

TEST_F(FrmGoToLineTest, EnterInTheEntryPressesOk)
{
    const GoToLineOutcome outcome = whileOpen(
        [&] {
            QTest::keyClicks(dialog->txtGoToLine, QStringLiteral("12"));
            QTest::keyClick(dialog->txtGoToLine, Qt::Key_Return);
        });
    EXPECT_EQ(outcome, GoToLineOutcome::Ok);
    EXPECT_EQ(dialog->entry(), QStringLiteral("12"));
    EXPECT_TRUE(dialog->isHidden());
}

TEST_F(FrmGoToLineTest, EscapeDoesNothing)
{
    bool visibleAfterEscape = false;
    const GoToLineOutcome outcome = whileOpen(
        [&] {
            QTest::keyClicks(dialog->txtGoToLine, QStringLiteral("3"));
            QTest::keyClick(dialog->txtGoToLine, Qt::Key_Escape);
            QTest::keyClick(dialog->cmdGoToOK, Qt::Key_Escape);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QApplication::processEvents();
            visibleAfterEscape = dialog->isVisible();
            dialog->cmdGoToOK->click();
        });
    EXPECT_EQ(outcome, GoToLineOutcome::Ok);
    EXPECT_TRUE(visibleAfterEscape);
    EXPECT_EQ(dialog->entry(), QStringLiteral("3"));
}

TEST_F(FrmGoToLineTest, CancelEmptiesTheEntryAndHides)
{
    dialog->setEntry(QStringLiteral("abc"));
    const GoToLineOutcome outcome =
        whileOpen([&] { QTest::mouseClick(dialog->cmdGoToCancel, Qt::LeftButton); });
    EXPECT_EQ(outcome, GoToLineOutcome::Cancel);
    EXPECT_EQ(dialog->entry(), QString());
    EXPECT_TRUE(dialog->isHidden());
    EXPECT_FALSE(holder.isNull()); // hidden, not destroyed
}

TEST_F(FrmGoToLineTest, TheCloseBoxLosesTheEntry)
{
    const GoToLineOutcome outcome = whileOpen(
        [&] {
            QTest::keyClicks(dialog->txtGoToLine, QStringLiteral("4"));
            dialog->close();
        });
    EXPECT_EQ(outcome, GoToLineOutcome::Closed);
    EXPECT_EQ(dialog->entry(), QString());
    EXPECT_TRUE(dialog->isHidden());
    EXPECT_FALSE(holder.isNull());
}

TEST_F(FrmGoToLineTest, AnEntryLeftByOkIsShownAgain)
{
    dialog->setEntry(QStringLiteral("abc"));
    QString shown;
    const GoToLineOutcome outcome = whileOpen(
        [&] {
            shown = dialog->txtGoToLine->text();
            dialog->cmdGoToOK->click();
        });
    EXPECT_EQ(outcome, GoToLineOutcome::Ok);
    EXPECT_EQ(shown, QStringLiteral("abc"));
}

TEST_F(FrmGoToLineTest, IsCentredOnTheOwnerFirstAndThenReopensWhereItWasLeft)
{
    auto centreDistance = [&] {
        return (dialog->frameGeometry().center() - owner->frameGeometry().center()).manhattanLength();
    };
    whileOpen([&] { dialog->cmdGoToOK->click(); });
    const QPoint firstPlace = dialog->pos();
    EXPECT_LE(centreDistance(), 2);

    owner->move(20, 30);
    QPoint secondPlace;
    whileOpen(
        [&] {
            secondPlace = dialog->pos();
            dialog->cmdGoToOK->click();
        });
    EXPECT_EQ(secondPlace, firstPlace);

    // Closed with the close box it is as good as new: centred again.
    whileOpen([&] { dialog->close(); });
    int distanceWhenReopened = -1;
    whileOpen(
        [&] {
            distanceWhenReopened = centreDistance();
            dialog->cmdGoToOK->click();
        });
    EXPECT_LE(distanceWhenReopened, 2);
    EXPECT_GE(distanceWhenReopened, 0);
}

TEST_F(FrmGoToLineTest, IsOneDialogPerOwnerThatGoesWithIt)
{
    EXPECT_EQ(&frmGoToLine::instance(holder, owner.get()), dialog);
    EXPECT_EQ(dialog->parentWidget(), owner.get());
    EXPECT_TRUE(dialog->isWindow());
    owner.reset();
    EXPECT_TRUE(holder.isNull());
}

} // namespace
} // namespace zuno
