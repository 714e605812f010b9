// The real message box on the offscreen platform: the buttons, the default
// and the escape answer of each kind.
#include "platform/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zuno {
namespace {

// Shows a box and, once it is up, notes its buttons and presses `key`.
struct Shown {
    MessageResult result = MessageResult::Cancel;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
};

Shown showAndPress(MessageButtons buttons, Qt::Key key)
{
    Shown shown;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        shown.buttons = box->standardButtons();
        shown.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        shown.icon = box->icon();
        shown.title = box->windowTitle();
        QTest::keyClick(box, key);
    });
    poll.start();
    // Should the box never take the key, this closes it and fails.
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] {
        ADD_FAILURE() << "the message box was still open after 10 s";
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    safety.start(10000);
    QtMessageBox messages;
    shown.result = messages.show(QStringLiteral("Overwrite?"), buttons, MessageIcon::Warning,
                                 QStringLiteral("File Changed on Disk"));
    return shown;
}

TEST(QtMessageBox, YesNoQuestionHasNoAsItsDefaultAndEscapeAnswer)
{
    const Shown enter = showAndPress(MessageButtons::YesNo, Qt::Key_Return);
    EXPECT_EQ(enter.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(enter.defaultButton, QMessageBox::No);
    EXPECT_EQ(enter.icon, QMessageBox::Warning);
    EXPECT_EQ(enter.title, QStringLiteral("File Changed on Disk"));
    EXPECT_EQ(enter.result, MessageResult::No);
    EXPECT_EQ(showAndPress(MessageButtons::YesNo, Qt::Key_Escape).result, MessageResult::No);

    // The save prompt keeps Yes as its default and Cancel for Escape.
    const Shown prompt = showAndPress(MessageButtons::YesNoCancel, Qt::Key_Return);
    EXPECT_EQ(prompt.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(prompt.result, MessageResult::Yes);
    EXPECT_EQ(showAndPress(MessageButtons::YesNoCancel, Qt::Key_Escape).result, MessageResult::Cancel);
}

} // namespace
} // namespace zuno
